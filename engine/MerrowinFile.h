#pragma once
// The folder walker: lists one folder tree and reports every entry through events. It runs on the caller's
// thread and pumps messages once per entry (engine/MessagePump.h), so the window stays alive and can pause or
// stop it.
#include "engine/FolderIdentity.h"
#include "engine/FolderLists.h"
#include "engine/FoundEntry.h"
#include "engine/UKvrTYPEFile.h"
#include "engine/WildcardMask.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace engine {

class TFileTimeConverter;
class TMerrowinFile;

// The entry is the walker's own and holds only for the call.
using TmwFileFoundEvent = std::function<void(TMerrowinFile& sender, const TFoundEntry& file)>;
using TmwFolderFoundEvent = std::function<void(TMerrowinFile& sender, const TFoundEntry& folder)>;
using TmwScanFolderEvent = std::function<void(TMerrowinFile& sender, const std::wstring& folder)>;
using TNotifyEvent = std::function<void(TMerrowinFile& sender)>;

class TMerrowinFile {
public:
    TMerrowinFile() = default;
    TMerrowinFile(const TMerrowinFile&) = delete;
    TMerrowinFile& operator=(const TMerrowinFile&) = delete;

    // The walk's settings. Empty StartFolder: the current directory.
    std::wstring StartFolder;
    bool IncludeHiddenSubfolders = false;
    bool SearchInSubfolders = true;

    // Unassigned events are skipped.
    TmwFileFoundEvent OnFileFound;
    TmwFolderFoundEvent OnFolderFound;
    TmwScanFolderEvent OnScanFolder;
    TNotifyEvent OnScanDone;
    TNotifyEvent OnStarted;
    TNotifyEvent OnSuspended;
    TNotifyEvent OnStopped;

    // Walks the whole tree; false at once while a walk is running, or when the start folder names no drive
    // or share. An exception from an event handler ends the walk and passes on, without OnScanDone.
    bool Execute();
    // Noticed at the next entry; every open level then fires OnStopped, deepest first.
    void Stop() { stopRequested_ = true; }

    bool Running() const { return running_; }
    bool Suspended() const { return suspended_; }
    // Pausing takes effect at the next entry, which fires OnSuspended; resuming fires it at once.
    void SetSuspended(bool value);

    int ScannedFiles() const { return scannedFiles_; }
    int ScannedFolders() const { return scannedFolders_; }
    int ScannedObjects() const { return scannedObjects_; }
    long double LastFileSize() const { return lastFileSize_; }
    int FolderDepth() const { return folderDepth_; }

    // Only entries directly inside these folders are reported (all when both are empty); the walk still
    // goes everywhere.
    void SetIncludeFolders(const std::vector<std::wstring>& folders) { includeFolders_.Assign(folders); }
    void SetIncludeWildcards(const std::vector<std::wstring>& folders) { includeWildcards_.Assign(folders); }
    const TFolderList& IncludeFolders() const { return includeFolders_; }
    const TFolderWildcards& IncludeWildcards() const { return includeWildcards_; }

    // Held for the window, with no effect on the walk.
    void SetExcludeFolders(const std::vector<std::wstring>& folders) { excludeFolders_.Assign(folders); }
    void SetExcludeWildcards(const std::vector<std::wstring>& folders) { excludeWildcards_.Assign(folders); }
    const TFolderList& ExcludeFolders() const { return excludeFolders_; }
    const TFolderWildcards& ExcludeWildcards() const { return excludeWildcards_; }
    void SetPathMask(const std::wstring& text);
    const std::wstring& PathMask() const { return pathMask_; }
    bool HasPathMask() const { return compiledPathMask_ != nullptr; }
    void SetPathLevelMasks(const std::wstring& text);
    const std::wstring& PathLevelMasks() const { return pathLevelMasks_; }
    int LevelCount() const { return levelCount_; }

private:
    class RunScope;
    class LevelScope;

    struct Subfolder {
        std::wstring name;
        DWORD attributes;
        bool last;  // the last entry of its folder's listing
    };
    enum class Listing { Failed, Stopped, Complete };

    void ScanFolder();
    // The first pass: reports the entries and collects the subfolders to walk.
    Listing ListEntries(const std::wstring& pattern, std::vector<Subfolder>& subfolders);
    void EnterSubfolders(const std::vector<Subfolder>& subfolders);
    void EnterSubfolder(const Subfolder& subfolder);
    // A stop was asked for, or a quit seen: the walk must end.
    bool StopSeen() const;
    // Pumps messages and handles stop and pause; false when the level must end.
    bool KeepWalking();
    bool ReportsEntriesHere() const;
    void Report(const WIN32_FIND_DATAW& entry, const TFileTimeConverter& times);
    void Notify(const TNotifyEvent& event) {
        if (event) event(*this);
    }

    bool running_ = false;
    bool suspended_ = false;
    bool stopRequested_ = false;
    int folderDepth_ = 0;
    int scannedFiles_ = 0, scannedFolders_ = 0, scannedObjects_ = 0;
    long double lastFileSize_ = 0;
    TFoundEntry entry_;  // the reported entry, refilled in place so that its strings keep their buffers

    std::wstring path_;  // one string for all levels: grown before descending, cut back after
    TAncestorFolders ancestors_;

    TFolderList includeFolders_, excludeFolders_;
    TFolderWildcards includeWildcards_, excludeWildcards_;
    std::wstring pathMask_;
    std::unique_ptr<TWildcardMask> compiledPathMask_;
    std::wstring pathLevelMasks_;
    std::vector<TWildcardMask> levelMasks_;
    int levelCount_ = -1;
};

} // namespace engine
