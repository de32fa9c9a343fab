#include "engine/SearchParamsFolders.h"

#include <algorithm>
#include <optional>

#include "engine/Drives.h"
#include "engine/SearchParams.h"
#include "kit/Files.h"
#include "kit/Interaction.h"
#include "kit/Strings.h"
#include "store/MemIniFileUnicode.h"

namespace engine::SearchParams {
namespace {

bool HasWildcards(std::wstring_view text) { return text.find_first_of(L"*?") != std::wstring_view::npos; }

void ReplaceAll(std::wstring& text, std::wstring_view from, std::wstring_view to) {
    for (std::size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// Every line followed by CR LF.
std::wstring LinesText(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines) text += line + L"\r\n";
    return text;
}

std::wstring JoinLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? L"|" : L"") + lines[i];
    return text;
}

std::vector<std::wstring> Folders(const std::vector<TSearchFoldersLine>& lines) {
    std::vector<std::wstring> folders;
    for (const TSearchFoldersLine& line : lines) folders.push_back(line.Folder);
    return folders;
}

// Lines end at CR, LF or CR LF; a final line break starts no further line.
std::vector<std::wstring> TextLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of(L"\r\n", at), text.size());
        lines.emplace_back(text.substr(at, end - at));
        at = end;
        if (at < text.size() && text[at] == L'\r') ++at;
        if (at < text.size() && text[at] == L'\n') ++at;
    }
    return lines;
}

void TrimLines(std::vector<std::wstring>& lines) {
    for (std::wstring& line : lines) line = kit::Trim(line);
}

// The entries of a search-path text as trimmed lines, with environment references expanded and ";" lists
// split when the text holds a "%". None when the text is already the lines' text.
std::optional<std::vector<std::wstring>> PathLines(const std::wstring& text, const std::wstring& currentText) {
    std::wstring broken;
    for (wchar_t c : text) broken += (c == L'|' || c == L'"') ? std::wstring(L"\r\n") : std::wstring(1, c);
    if (broken == currentText) return std::nullopt;
    std::vector<std::wstring> lines = TextLines(broken);
    TrimLines(lines);
    if (LinesText(lines).find(L'%') != std::wstring::npos) {
        for (std::wstring& line : lines) line = kit::ExpandEnvironmentText(line);
        std::wstring all = LinesText(lines);
        ReplaceAll(all, L";", L"\r\n");
        lines = TextLines(all);
        TrimLines(lines);
        std::erase_if(lines, [](const std::wstring& line) { return line.empty(); });
    }
    return lines;
}

// A start path that names a file, with a trailing backslash or without, exists but is no folder to walk.
bool NamesAFile(const std::wstring& path) {
    return kit::FileExists(path.substr(0, path.find_last_not_of(L'\\') + 1));
}

bool IsUncPath(const std::wstring& path) {
    const std::wstring drive = ExtractFileDrive(path);
    return drive.size() > 2 && drive.find(L'\\', 2) != std::wstring::npos;
}

} // namespace

void SplitWildcardPath(const std::wstring& path, std::wstring& folder, std::wstring& wildcards) {
    std::wstring text = path;
    while (!text.empty() && text.back() == L'\\') text.pop_back();
    ReplaceAll(text, L"\\\\", L"||");
    folder.clear();
    wildcards.clear();
    bool inWildcards = false;
    std::size_t at = 0;
    for (;;) {
        const std::size_t end = std::min(text.find(L'\\', at), text.size());
        const std::wstring component = text.substr(at, end - at);
        inWildcards = inWildcards || HasWildcards(component);
        std::wstring& part = inWildcards ? wildcards : folder;
        if (!part.empty()) part += L'\\';
        part += component;
        if (end == text.size()) break;
        at = end + 1;
    }
    ReplaceAll(folder, L"||", L"\\\\");
    ReplaceAll(wildcards, L"||", L"\\\\");
}

bool HasDriveLetter(const std::wstring& path) { return ExtractFileDrive(path).size() == 2; }

std::wstring TSearchFoldersPatterns::Text() const {
    return JoinLines(list_);
}

void TSearchFoldersPatterns::SetText(const std::wstring& text) {
    auto lines = PathLines(text, LinesText(list_));
    if (!lines) return;
    list_ = std::move(*lines);
    normalList_.clear();
    wildcardsList_.clear();
    for (const std::wstring& entry : list_) {
        const std::wstring line = kit::Trim(entry);
        if (!HasDriveLetter(line) && !IsUncPath(line)) wildcardsList_.push_back(L"*" + line + L"*");
        else if (HasWildcards(line)) wildcardsList_.push_back(line);
        else normalList_.push_back(line);
    }
}

void TSearchFoldersPatterns::SetList(const std::vector<std::wstring>& lines) {
    if (LinesText(lines) != LinesText(list_)) list_ = lines;
}

TSearchFolders::TSearchFolders(const std::wstring& ownerSection, const TSearchParams* params)
    : section_(ownerSection + L"/Folders"),
      DirMask(section_),
      DirMaskExclude(section_),
      Attributes(section_),
      AttributesExclude(section_),
      params_(params) {
    Reset();
}

std::wstring TSearchFolders::PathsStartText() const {
    return JoinLines(Folders(pathsStartList_));
}

void TSearchFolders::SetPathsStartText(const std::wstring& text) {
    auto lines = PathLines(text, LinesText(Folders(pathsStartList_)));
    if (!lines) return;
    pathsStartList_.clear();
    for (const std::wstring& entry : *lines) {
        TSearchFoldersLine line{kit::Trim(entry), {}};
        if (HasWildcards(line.Folder)) {
            line.Info.Path = line.Folder;
            SplitWildcardPath(line.Info.Path, line.Folder, line.Info.Wildcards);
        }
        pathsStartList_.push_back(std::move(line));
    }
}

void TSearchFolders::SetPathsStartList(const std::vector<TSearchFoldersLine>& lines) {
    if (LinesText(Folders(lines)) != LinesText(Folders(pathsStartList_))) pathsStartList_ = lines;
}

void TSearchFolders::NotifyCheck(const std::wstring& text) const {
    if (params_ && params_->OnCheckFolder) params_->OnCheckFolder(*this, text);
}

bool TSearchFolders::CheckPaths() {
    kit::Interaction& user = kit::UserInteraction();
    if (pathsStartList_.empty()) {
        user.ShowMessage(nullptr, L"There is no Starting Path.", kit::MessageType::Warning, kit::MessageButtons::Ok);
        return false;
    }
    std::vector<std::wstring> drives;
    GetDriveList(drives);
    const bool several = pathsStartList_.size() > 1;
    // True when the user chose Ignore; Abort and a closed dialog both end the check.
    auto ignored = [&](const std::wstring& text) {
        const auto buttons = several ? kit::MessageButtons::AbortIgnore : kit::MessageButtons::Abort;
        return user.ShowMessage(nullptr, text, kit::MessageType::Warning, buttons) == kit::MessageAnswer::Ignore &&
               several;
    };

    // The dialogs and the drive query pump messages, and a handler may set new start paths meanwhile:
    // the check runs over a copy, and its verdicts go back only to the lines it checked.
    std::vector<TSearchFoldersLine> lines = pathsStartList_;
    auto keepVerdicts = [&](bool result) {
        const bool unchanged = lines.size() == pathsStartList_.size() &&
                               std::equal(lines.begin(), lines.end(), pathsStartList_.begin(),
                                          [](const auto& a, const auto& b) { return a.Folder == b.Folder; });
        if (unchanged)
            for (size_t i = 0; i < lines.size(); ++i) pathsStartList_[i].Info.Kind = lines[i].Info.Kind;
        return result;
    };
    for (TSearchFoldersLine& line : lines) {
        line.Info.Kind = TSearchFoldersInfo::KindWalk;
        const std::wstring& path = line.Folder;
        std::wstring fault;
        if (path.empty()) {
            fault = L"No Drive or Path specified.";
        } else {
            const std::wstring drive = ExtractFileDrive(path[0] == L'-' ? path.substr(1) : path);
            NotifyCheck(L"Check Drive: " + drive);
            const bool listed = std::any_of(drives.begin(), drives.end(),
                                            [&](const std::wstring& d) { return kit::SameText(d, drive); });
            if (drive.size() < 2) {
                fault = L"The Drive or Path: " + kit::QuotedString(path) + L" is not valid.";
            } else if (drive.size() == 2 && !listed) {
                fault = L"The Drive: " + kit::QuotedString(drive) + L" does not exist.";
            } else if (drive.size() == 2 && !IsDriveReady(drive[0])) {
                if (several) {
                    line.Info.Kind = TSearchFoldersInfo::KindIgnored;
                    continue;
                }
                do {
                    if (user.ShowMessage(nullptr, L"No disk in Drive: " + kit::QuotedString(drive),
                                         kit::MessageType::Warning,
                                         kit::MessageButtons::AbortRetry) != kit::MessageAnswer::Retry)
                        return keepVerdicts(false);
                } while (!IsDriveReady(drive[0]));
            }
            if (fault.empty()) {
                NotifyCheck(L"Check Path: " + path);
                if (kit::DirectoryExists(path)) continue;
                const wchar_t* why = NamesAFile(path) ? L" is a file, not a folder." : L" does not exist.";
                fault = L"The Path " + kit::QuotedString(path) + why;
            }
        }
        if (!ignored(fault)) return keepVerdicts(false);
        line.Info.Kind = TSearchFoldersInfo::KindIgnored;
    }
    return keepVerdicts(true);
}

void TSearchFolders::Reset() {
    visualControlItemDefault_ = 0;
    SearchInSubfolders = true;
    IncludeHiddenSubfolders = false;
}

void TSearchFolders::Load(const store::TMemIniFileUnicode& ini, const TCriteriaGroups& groups) {
    if (!groups.Loads(cgFilesAndFolders)) return;
    SearchInSubfolders = store::ReadIniBoolean(ini, section_, L"SearchInSubfolders", true);
    IncludeHiddenSubfolders = store::ReadIniBoolean(ini, section_, L"IncludeHiddenSubfolders", false);
    FolderValue = ini.ReadString(section_ + L"/FolderValue", L"Selected", L"");
}

void TSearchFolders::Save(store::TMemIniFileUnicode& ini, const TCriteriaGroups& groups) const {
    if (!groups.Saves(cgFilesAndFolders)) return;
    ini.EraseSection(section_);
    store::WriteIniBoolean(ini, section_, L"SearchInSubfolders", SearchInSubfolders);
    store::WriteIniBoolean(ini, section_, L"IncludeHiddenSubfolders", IncludeHiddenSubfolders);
    const std::wstring valueSection = section_ + L"/FolderValue";
    ini.EraseSection(valueSection);
    ini.WriteString(valueSection, L"Selected", FolderValue);
}

} // namespace engine::SearchParams
