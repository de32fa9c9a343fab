#include "engine/FilterFile.h"

#include "engine/SearchParams.h"

namespace engine {
namespace {

std::wstring ListText(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines) text += line + L"\"";
    return text;
}

void SetListText(std::vector<std::wstring>& lines, std::wstring_view text) {
    std::vector<std::wstring> parts;
    std::wstring part;
    for (wchar_t c : text) {
        if (c != L'|' && c != L'"') {
            part += c;
        } else if (!part.empty()) {
            parts.push_back(std::move(part));
            part.clear();
        }
    }
    if (!part.empty()) parts.push_back(std::move(part));
    if (parts != lines) lines = std::move(parts);
}

void PrimeDate(TFilterDateBase& filter, const SearchParams::TSearchDateBase& criterion) {
    filter.Enabled = criterion.Enabled;
    filter.DateType = criterion.DateType();
    filter.RangeType = criterion.RangeType;
    filter.DateFrom = criterion.DateTimeFrom();
    filter.DateTo = criterion.DateTimeTo();
    // Measured from now, so "three days back" counts from the moment the run starts.
    filter.DateBound = criterion.GetDelayDateTime();
}

} // namespace

void TFilterFiles::Reset() {
    for (FilterFile::TNameMask* mask : {&FileMask, &FileMaskExclude}) {
        mask->MaskType = nmSimpleText;
        mask->SetValue(FileMaskDefault);
    }
    AllAttributes = true;
}

std::wstring TFilterFolders::PathBaseText() const { return ListText(PathBaseList); }
void TFilterFolders::SetPathBaseText(std::wstring_view text) { SetListText(PathBaseList, text); }
std::wstring TFilterFolders::PathBaseTextExclude() const { return ListText(PathBaseListExclude); }
void TFilterFolders::SetPathBaseTextExclude(std::wstring_view text) { SetListText(PathBaseListExclude, text); }

void TFilterFolders::Reset() {
    VisualControlItemDefault = 10;
    AllAttributes = true;
    FilterInSubfolders = true;
    FilterInHiddenSubfolders = false;
}

TFilterFile::TFilterFile(const TFileTypesGroups& groups) : Folders(*this), Text(groups) { Reset(); }

void TFilterFile::Reset() {
    ShowFolderNames = true;
    ShowFileNames = true;
    AppendResults = false;
    Files.Reset();
    Folders.Reset();
    Text.Reset();
    Files.Date.Reset();
    Files.Size.Reset();
    Files.Attributes.Reset();
}

void TFilterFile::Prime(const SearchParams::TSearchParams& params) {
    ShowFileNames = params.ShowFileNames;
    ShowFolderNames = params.ShowFoldernames;
    Files.FileMask.MaskType = params.Files.FileMask.MaskType();
    Files.FileMask.SetValue(params.Files.FileMask.Value());

    Files.Date.Enabled = params.Files.Date.Enabled;
    PrimeDate(Files.Date.DateModified, params.Files.Date.DateModified);
    PrimeDate(Files.Date.DateCreation, params.Files.Date.DateCreation);
    PrimeDate(Files.Date.DateLastAccess, params.Files.Date.DateLastAccess);

    Files.Size.Enabled = params.Files.Size.Enabled;
    Files.Size.RangeType = params.Files.Size.RangeType;
    Files.Size.SizeMin = params.Files.Size.BytesFrom();
    Files.Size.SizeMax = params.Files.Size.BytesTo();

    const SearchParams::TSearchText& text = params.Text;
    Text.TextMask.Value = text.TextMask.Value();
    Text.TextMask.MaskType = text.TextMask.MaskType();
    Text.MaskDefault = text.MaskDefault();
    Text.MatchText = text.MatchText;
    Text.WholeWords = text.WholeWords;
    Text.CaseSensitive = text.CaseSensitive;
    Text.Without = text.Without;
    Text.TextSource = text.TextSource;
    Text.SkipHiddenFiles = text.SkipHiddenFiles;
    Text.SkipSystemFiles = text.SkipSystemFiles;
    Text.SkipImageFiles = text.SkipImageFiles;
    Text.SkipAudioFiles = text.SkipAudioFiles;
    Text.SkipVideoFiles = text.SkipVideoFiles;

    Files.Attributes.Enabled = params.Files.Attributes.Enabled;
    Files.Attributes.MatchAttributes = params.Files.Attributes.MatchAttributes;
    Files.Attributes.SetValues(params.Files.Attributes.Values());
}

bool TFilterFile::FileMatches(const TFoundEntry& file) {
    return ShowFileNames && Files.FileMask.Matches(file.FileName) &&
           (!Files.Date.Enabled || Files.Date.Matches(file.LastWriteTime, file.CreationTime, file.LastAccessTime)) &&
           Files.Size.Matches(file.FileSize) && Files.Attributes.Matches(file.FileAttributes) &&
           Text.Matches(file.Folder, file.FileName, file.FileAttributes);
}

bool TFilterFile::FolderMatches(const TFoundEntry& folder) const {
    return ShowFolderNames && Files.FileMask.Matches(folder.FileName) &&
           (!Files.Date.Enabled ||
            Files.Date.Matches(folder.LastWriteTime, folder.CreationTime, folder.LastAccessTime)) &&
           !Files.Size.Enabled && Files.Attributes.Matches(folder.FileAttributes) &&
           Text.TextMask.Value == Text.MaskDefault;
}

} // namespace engine
