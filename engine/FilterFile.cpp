#include "engine/FilterFile.h"

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

} // namespace engine
