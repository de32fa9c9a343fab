// The result list's layout file: the columns' order, widths and visibility, the grid lines and the zoom.
#include "results/listview/ResultListView.h"

#include "engine/UKvrTYPEFile.h"
#include "kit/Exception.h"
#include "kit/Strings.h"
#include "store/SettingsFile.h"

#include <algorithm>
#include <array>

namespace results {
namespace {

const std::wstring ListSection = L"/Layout/MainForm/ResultListView";
const std::wstring ColumnsSection = ListSection + L"/Columns";
const std::wstring ZoomSection = ListSection + L"/Zoom";

constexpr std::array<const wchar_t*, ColumnCount> ColumnNames = {
    L"tcName", L"tcNumber", L"tcFolder", L"tcSize", L"tcExt", L"tcType", L"tcAttribute", L"tcDateModified",
    L"tcDateCreated", L"tcDateAccessed"};
constexpr std::array<const wchar_t*, 5> ZoomNames = {L"tzSmall", L"tzNormal", L"tzMedium", L"tzLarge",
                                                     L"tzVeryLarge"};
// The control's column formats by the names the file keeps them under.
struct AlignmentName { int format; const wchar_t* name; };
constexpr std::array<AlignmentName, 3> AlignmentNames = {
    {{LVCFMT_LEFT, L"taLeftJustify"}, {LVCFMT_RIGHT, L"taRightJustify"}, {LVCFMT_CENTER, L"taCenter"}}};

std::wstring ColumnSection(TColumnsEnum kind) { return ColumnsSection + L"/" + ColumnNames[kind]; }

std::vector<std::wstring> ListEntries(const std::wstring& list) {
    std::vector<std::wstring> entries;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(L',', start);
        if (end == std::wstring::npos) end = list.size();
        entries.push_back(kit::Trim(std::wstring_view(list).substr(start, end - start)));
        start = end + 1;
    }
    return entries;
}

// Any other file in the layout's place (a broken write, something binary) is not read as one.
void RequireLayoutFile(const store::TMemIniFileUnicode& ini) {
    if (GetFileAttributesW(ini.FileName().c_str()) == INVALID_FILE_ATTRIBUTES) return;
    for (const std::wstring& section : ini.ReadSections())
        if (kit::SameText(section, L"FileIni") || kit::SameText(section.substr(0, ListSection.size()), ListSection))
            return;
    throw kit::Exception(L"Not a layout file.");
}

} // namespace

int ClampLayoutWidth(int width, int defaultWidth) {
    if (width < 0) return defaultWidth;
    if (width == 0) return 0;
    return std::clamp(width, MinColumnWidth, MaxColumnWidth);
}

void TResultListView::SaveLayout(const std::wstring& fileName) const {
    store::SaveSettingsFile(fileName, [this](store::TMemIniFileUnicode& ini) {
        ini.EraseSection(ListSection);
        store::WriteIniBoolean(ini, ListSection, L"ShowGridLines", gridLines_);
        SaveColumns(ini);
        ini.EraseSection(ZoomSection);
        ini.WriteString(ZoomSection, L"Selected", ZoomNames[zoom_]);
        store::WriteIniBoolean(ini, ZoomSection, L"TextBold", bold_);
        store::WriteIniBoolean(ini, ZoomSection, L"AutoResizes", zoomAutoResizes_);
    });
}

void TResultListView::SaveColumns(store::TMemIniFileUnicode& ini) const {
    const std::vector<int> order = ColumnOrder();
    std::wstring list;
    for (int column : order) {
        if (!list.empty()) list += L", ";
        list += ColumnNames[columns_[static_cast<size_t>(column)].kind];
    }
    ini.EraseSection(ColumnsSection);
    ini.WriteString(ColumnsSection, L"List", list);
    for (int column : order) {
        const TColumnExtraInfo& info = columns_[static_cast<size_t>(column)];
        const std::wstring section = ColumnSection(info.kind);
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_FMT;
        SendMessageW(hwnd(), LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc));
        const int format = lvc.fmt & LVCFMT_JUSTIFYMASK;
        const auto alignment = std::find_if(AlignmentNames.begin(), AlignmentNames.end(),
                                            [format](const AlignmentName& a) { return a.format == format; });
        ini.EraseSection(section);
        ini.WriteString(section, L"Alignment", alignment != AlignmentNames.end() ? alignment->name : L"taLeftJustify");
        // Away from the report style the columns' widths are not the ones people set: keep those.
        ini.WriteInteger(section, L"Width", viewStyle_ == zvsReport ? ColumnWidthAt(column) : info.reportWidth);
        store::WriteIniBoolean(ini, section, L"Visible", info.visible);
        ini.WriteInteger(section, L"WidthVisible", info.widthVisible);
    }
}

void TResultListView::LoadLayout(const std::wstring& fileName) {
    store::LoadSettingsFile(fileName, [this](const store::TMemIniFileUnicode& ini) {
        RequireLayoutFile(ini);
        SetShowGridLines(store::ReadIniBoolean(ini, ListSection, L"ShowGridLines", false));
        LoadColumns(ini);
        LoadZoom(ini);
    });
}

void TResultListView::LoadColumns(const store::TMemIniFileUnicode& ini) {
    const std::wstring list = ini.ReadString(ColumnsSection, L"List", L"");
    if (list.empty()) return;
    int position = 0;
    for (const std::wstring& entry : ListEntries(list)) {
        const auto kindIndex = engine::IdentifierIndex(ColumnNames, entry);
        if (!kindIndex) continue;
        const auto kind = static_cast<TColumnsEnum>(*kindIndex);
        const std::wstring section = ColumnSection(kind);
        if (!ini.SectionExists(section)) continue;
        const TColumnDef& def = DefaultColumns()[kind];
        const int column = ColumnOf(kind);

        LVCOLUMNW lvc{};
        lvc.mask = LVCF_FMT;
        lvc.fmt = def.Alignment == taRightJustify ? LVCFMT_RIGHT : LVCFMT_LEFT;
        const std::wstring alignment = ini.ReadString(section, L"Alignment", L"");
        for (const AlignmentName& a : AlignmentNames)
            if (kit::SameText(a.name, alignment)) lvc.fmt = a.format;
        SendMessageW(hwnd(), LVM_SETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc));

        const int defaultWidth = DefaultWidth(kind);
        SetColumnWidth(column, ClampLayoutWidth(ini.ReadInteger(section, L"Width", defaultWidth), defaultWidth));
        TColumnExtraInfo& info = columns_[static_cast<size_t>(column)];
        info.visible = store::ReadIniBoolean(ini, section, L"Visible", false);
        // The width a hidden column comes back with must show it.
        const int widthVisible =
            ClampLayoutWidth(ini.ReadInteger(section, L"WidthVisible", defaultWidth), defaultWidth);
        info.widthVisible = widthVisible == 0 ? defaultWidth : widthVisible;
        MoveColumn(kind, position++);
    }
}

void TResultListView::LoadZoom(const store::TMemIniFileUnicode& ini) {
    zoomAutoResizes_ = false;  // the zoom read below must not resize the columns just read
    const auto zoom = engine::IdentifierIndex(ZoomNames, ini.ReadString(ZoomSection, L"Selected", L""));
    SetTextZoom(zoom ? static_cast<TTextZoom>(*zoom) : tzNormal);
    SetTextBold(store::ReadIniBoolean(ini, ZoomSection, L"TextBold", false));
    zoomAutoResizes_ = store::ReadIniBoolean(ini, ZoomSection, L"AutoResizes", false);
}

} // namespace results
