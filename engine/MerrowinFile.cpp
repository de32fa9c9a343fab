#include "engine/MerrowinFile.h"

#include "engine/DateTimes.h"
#include "engine/LongPaths.h"
#include "engine/MessagePump.h"
#include "kit/Handles.h"
#include "kit/Interaction.h"
#include "kit/MessageLoop.h"

#include <algorithm>
#include <cwchar>
#include <string_view>

namespace engine {
namespace {

constexpr DWORD PauseStep = 100;  // milliseconds

bool IsDirectory(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Ordinal: a linguistic comparison calls names such as ".\u00AD" equal to "." and would skip a real folder.
bool IsDotEntry(const WIN32_FIND_DATAW& entry) {
    return IsDirectory(entry) &&
           (std::wcscmp(entry.cFileName, L".") == 0 || std::wcscmp(entry.cFileName, L"..") == 0);
}

std::wstring_view FixedText(const wchar_t* text, std::size_t capacity) { return {text, wcsnlen(text, capacity)}; }

std::wstring CurrentDirectory() {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(needed, L'\0');
    folder.resize(GetCurrentDirectoryW(needed, folder.data()));
    return folder;
}

} // namespace

// Clears the run state on every way out of Execute.
class TMerrowinFile::RunScope {
public:
    explicit RunScope(TMerrowinFile& walker) : walker_(walker) {}
    ~RunScope() {
        walker_.running_ = walker_.suspended_ = walker_.stopRequested_ = false;
        walker_.ancestors_.Clear();
    }
private:
    TMerrowinFile& walker_;
};

// One open level: records it among the ancestors and, on every way out, cuts the path back to its length
// before the level was appended.
class TMerrowinFile::LevelScope {
public:
    LevelScope(TMerrowinFile& walker, std::size_t parentLength) : walker_(walker), parentLength_(parentLength) {
        walker_.ancestors_.Push(walker_.path_.size());
    }
    ~LevelScope() {
        walker_.ancestors_.Pop();
        walker_.path_.resize(parentLength_);
    }
private:
    TMerrowinFile& walker_;
    std::size_t parentLength_;
};

bool TMerrowinFile::Execute() {
    const auto start = CanonicalFolder(StartFolder.empty() ? CurrentDirectory() : StartFolder);
    if (running_ || !start) return false;
    {
        running_ = true;
        suspended_ = stopRequested_ = false;
        scannedFiles_ = scannedFolders_ = scannedObjects_ = folderDepth_ = 0;
        RunScope run(*this);
        Notify(OnStarted);
        path_ = *start;
        LevelScope level(*this, 0);
        ScanFolder();
    }
    Notify(OnScanDone);
    return true;
}

void TMerrowinFile::SetSuspended(bool value) {
    if (value == suspended_) return;
    suspended_ = value;
    if (!value) Notify(OnSuspended);
}

void TMerrowinFile::ScanFolder() {
    const std::wstring pattern = ListingPattern(path_);
    if (pattern.empty()) return;  // too long to list: skipped like any folder that cannot be read
    std::vector<Subfolder> subfolders;
    if (ListEntries(pattern, subfolders) == Listing::Complete && SearchInSubfolders) EnterSubfolders(subfolders);
}

TMerrowinFile::Listing TMerrowinFile::ListEntries(const std::wstring& pattern, std::vector<Subfolder>& subfolders) {
    WIN32_FIND_DATAW entry;
    kit::UniqueFindHandle listing{FindFirstFileW(pattern.c_str(), &entry)};
    if (!listing) return Listing::Failed;  // no access, vanished or bad path: skipped without a word
    if (OnScanFolder) OnScanFolder(*this, path_);
    const bool reported = ReportsEntriesHere();  // the test is on the listed folder, not on the entry
    if (reported) entry_.Folder.assign(path_);    // the same for every entry of this listing
    const TFileTimeConverter times;                // as is the offset of local time
    bool lastIsSubfolder = false;
    do {
        if (!KeepWalking()) return Listing::Stopped;
        lastIsSubfolder = false;
        if (IsDotEntry(entry)) continue;
        ++scannedObjects_;
        if (reported) Report(entry, times);
        if (SearchInSubfolders && IsDirectory(entry)) {
            subfolders.push_back({std::wstring(FixedText(entry.cFileName, MAX_PATH)), entry.dwFileAttributes, false});
            lastIsSubfolder = true;
        }
    } while (FindNextFileW(listing.get(), &entry));
    if (lastIsSubfolder) subfolders.back().last = true;
    return Listing::Complete;
}

// The subfolders come from the first pass rather than a second listing, which under Wine would double the
// cost of the walk. Nothing but message pumping runs between two entries that are not entered, so one
// stop-and-pause check stands for each such run of entries: at the start, and after each subfolder that is
// followed by more entries.
void TMerrowinFile::EnterSubfolders(const std::vector<Subfolder>& subfolders) {
    if (!KeepWalking()) return;
    for (const Subfolder& subfolder : subfolders) {
        if ((subfolder.attributes & FILE_ATTRIBUTE_HIDDEN) && !IncludeHiddenSubfolders) continue;
        EnterSubfolder(subfolder);
        if (!subfolder.last && !KeepWalking()) return;
    }
}

void TMerrowinFile::EnterSubfolder(const Subfolder& subfolder) {
    // A link back to a folder that is open above would make the walk endless; any other link is walked.
    if ((subfolder.attributes & FILE_ATTRIBUTE_REPARSE_POINT) && ancestors_.Contains(path_, path_ + subfolder.name))
        return;
    const std::size_t parentLength = path_.size();
    path_ += subfolder.name;
    path_ += L'\\';
    LevelScope level(*this, parentLength);
    if (OnScanFolder) OnScanFolder(*this, path_);
    ++folderDepth_;
    struct DepthBack {
        int& depth;
        ~DepthBack() { --depth; }
    } depthBack{folderDepth_};
    ScanFolder();
}

bool TMerrowinFile::StopSeen() const {
    // A quit seen by a pump means the window is gone: nothing could ever stop or resume the walk.
    return stopRequested_ || kit::QuitRequested();
}

bool TMerrowinFile::KeepWalking() {
    PumpMessages();
    if (StopSeen()) {
        Notify(OnStopped);
        return false;
    }
    if (!suspended_) return true;
    Notify(OnSuspended);
    while (suspended_) {
        if (StopSeen()) {
            Notify(OnStopped);
            return false;
        }
        PumpMessages();
        kit::UserInteraction().Sleep(PauseStep);
    }
    return true;
}

bool TMerrowinFile::ReportsEntriesHere() const {
    if (includeFolders_.Empty() && includeWildcards_.Empty()) return true;
    return includeFolders_.Contains(path_) || includeWildcards_.Matches(path_);
}

void TMerrowinFile::Report(const WIN32_FIND_DATAW& entry, const TFileTimeConverter& times) {
    const bool directory = IsDirectory(entry);
    if (directory) ++scannedFolders_;
    else {
        ++scannedFiles_;
        lastFileSize_ = static_cast<long double>(entry.nFileSizeHigh) * 4294967296.0L + entry.nFileSizeLow;
    }
    const auto& handler = directory ? OnFolderFound : OnFileFound;
    if (!handler) return;  // the conversions below are most of the per-entry cost
    entry_.FileName.assign(FixedText(entry.cFileName, MAX_PATH));
    entry_.AlternateFileName.assign(FixedText(entry.cAlternateFileName, 14));
    entry_.FileAttributes = Win32ToScanAttributes(entry.dwFileAttributes);
    entry_.CreationTime = times.ToDateTime(entry.ftCreationTime);
    entry_.LastAccessTime = times.ToDateTime(entry.ftLastAccessTime);
    entry_.LastWriteTime = times.ToDateTime(entry.ftLastWriteTime);
    entry_.FileSize = directory ? 0.0L : lastFileSize_;
    handler(*this, entry_);
}

void TMerrowinFile::SetPathMask(const std::wstring& text) {
    if (text == pathMask_) return;
    // Compiled first: a mask that does not compile leaves the old state, so the same text is tried again.
    std::unique_ptr<TWildcardMask> compiled;
    if (!text.empty()) {
        std::wstring mask = text;
        if (mask.back() == L'\\') mask += L'*';
        else if (mask.back() != L'*') mask += L"\\*";
        compiled = std::make_unique<TWildcardMask>(mask);
    }
    pathMask_ = text;
    compiledPathMask_ = std::move(compiled);
}

void TMerrowinFile::SetPathLevelMasks(const std::wstring& text) {
    if (text == pathLevelMasks_) return;
    // Compiled first, as the path mask: a level that does not compile leaves the old state.
    // One line per "\"-separated part; a trailing "\" ends the last line rather than starting an empty one.
    std::vector<TWildcardMask> compiled;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t slash = std::min(text.find(L'\\', start), text.size());
        compiled.emplace_back(std::wstring_view(text).substr(start, slash - start));
        start = slash + 1;
    }
    pathLevelMasks_ = text;
    levelMasks_ = std::move(compiled);
    levelCount_ = text.empty() ? -1 : static_cast<int>(levelMasks_.size());
}

} // namespace engine
