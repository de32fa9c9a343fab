#include <gtest/gtest.h>

#include <span>

#include "engine/UKvrTYPEFile.h"
#include "tests/ui/PagesHost.h"
#include "ui/ControlIds.h"

namespace {

using Lines = std::vector<std::wstring>;
using uitest::PagesHost;
using uitest::WindowText;

class CriteriaPagesTest : public testing::Test {
protected:
    void SetUp() override { host.Make(); }
    PagesHost host;
};

bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool Shown(HWND control) { return (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

Lines Choices(HWND combo) {
    Lines lines;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        lines.emplace_back(text);
    }
    return lines;
}

Lines Of(std::span<const wchar_t* const> captions) { return Lines(captions.begin(), captions.end()); }

struct Expected {
    int id;
    const wchar_t* caption;
    bool checked;
    bool shown;
};

void ExpectControls(const kit::Window& page, std::span<const Expected> expected) {
    for (const Expected& e : expected) {
        SCOPED_TRACE(testing::Message() << "control " << e.id);
        const HWND control = PagesHost::Item(page, e.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(WindowText(control), e.caption);
        EXPECT_EQ(Checked(control), e.checked);
        EXPECT_EQ(Shown(control), e.shown);
    }
}

TEST_F(CriteriaPagesTest, PagesAreTheFourTabsInOrder) {
    ASSERT_EQ(host.tabs.Count(), 4);
    const Lines expected = {L"Files and Folders", L"Containing Text", L"Date and Size", L"Attributes"};
    for (int i = 0; i < 4; ++i) {
        wchar_t text[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(host.tabs.hwnd(), TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(text, expected[static_cast<std::size_t>(i)]);
    }
    // Picking a tab shows its page alone.
    SendMessageW(host.tabs.hwnd(), TCM_SETCURSEL, 2, 0);
    NMHDR change{host.tabs.hwnd(), static_cast<UINT_PTR>(PagesHost::kTabsId), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(host.hwnd(), WM_NOTIFY, PagesHost::kTabsId, reinterpret_cast<LPARAM>(&change));
    EXPECT_TRUE(IsWindowVisible(host.dates.hwnd()));
    EXPECT_FALSE(IsWindowVisible(host.files.hwnd()));
}

TEST_F(CriteriaPagesTest, FilesAndFoldersPageHasItsControls) {
    namespace ids = ui::ids;
    const Expected expected[] = {
        {ids::kFileMaskLabel, L"File &Name", false, true},
        {ids::kFileMaskModeLabel, L"Mode", false, true},
        {ids::kSearchPathLabel, L"Search &Path", false, true},
        {ids::kActFILEBrowse, L"Browse...", false, true},
        {ids::kSearchInSubfolders, L"Search in Subfolders", true, true},
        {ids::kIncludeHiddenSubfolders, L"Include Hidden Subfolders", false, true},
        {ids::kShowFileNames, L"Show Filenames", true, true},
        {ids::kShowFolderNames, L"Show Foldernames", true, true},
        {ids::kAppendResults, L"Append Results", false, true},
    };
    ExpectControls(host.files, expected);
    EXPECT_EQ(Choices(PagesHost::Item(host.files, ids::kFileMaskMode)), (Lines{L"Simple", L"Wildcards"}));
    EXPECT_EQ(PagesHost::Item(host.files, ids::kFileMask), host.files.cbmitFILEFileMask.hwnd());
    EXPECT_EQ(PagesHost::Item(host.files, ids::kSearchPath), host.files.cbmfldFOLDERSSearchPath.hwnd());
    // A label's access key moves the focus to the control after it.
    EXPECT_EQ(GetWindow(host.files.lblFILEFileMask.hwnd(), GW_HWNDNEXT), host.files.cbmitFILEFileMask.hwnd());
    EXPECT_EQ(GetWindow(host.files.lblFOLDERSSearchPath.hwnd(), GW_HWNDNEXT),
              host.files.cbmfldFOLDERSSearchPath.hwnd());
}

TEST_F(CriteriaPagesTest, ContainingTextPageHasItsControls) {
    namespace ids = ui::ids;
    const Expected expected[] = {
        {ids::kSearchTextLabel, L"Search Te&xt", false, true},
        {ids::kTextMaskModeLabel, L"Mode", false, true},
        {ids::kAnyWords, L"Match Any", true, true},
        {ids::kAllWords, L"Match All", false, true},
        {ids::kWholeWords, L"Whole Words", false, true},
        {ids::kCaseSensitive, L"Case Sensitive", false, true},
        {ids::kWithout, L"Without", false, true},
        {ids::kSkipHiddenFiles, L"Skip Hidden Files", true, true},
        {ids::kSkipSystemFiles, L"Skip System Files", true, true},
        {ids::kSkipImageFiles, L"Skip Image Files", true, true},
        {ids::kSkipAudioFiles, L"Skip Audio Files", true, true},
        {ids::kSkipVideoFiles, L"Skip Video Files", true, true},
        {ids::kUseTextFilters, L"Use Text Filters", false, false},
    };
    ExpectControls(host.text, expected);
    EXPECT_EQ(Choices(PagesHost::Item(host.text, ids::kTextMaskMode)), (Lines{L"Words", L"Phrases"}));
    // The two radio buttons are one group: picking one clears the other.
    SendMessageW(host.text.rbTEXTAllWords.hwnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(Checked(host.text.rbTEXTAllWords.hwnd()));
    EXPECT_FALSE(Checked(host.text.rbTEXTAnyWords.hwnd()));
}

TEST_F(CriteriaPagesTest, DateAndSizePageHasThreeDateRowsAndTheSizeRow) {
    namespace ids = ui::ids;
    const Expected expected[] = {
        {ids::kDateSelect, L"Date", false, true},
        {ids::DateRowId(engine::dtModified, ids::kRowSelect), L"Date Modified", false, true},
        {ids::DateRowId(engine::dtCreation, ids::kRowSelect), L"Date Creation", false, true},
        {ids::DateRowId(engine::dtLastAccess, ids::kRowSelect), L"Date Last Access", false, true},
        {ids::DateRowId(engine::dtModified, ids::kRowAnd), L"and", false, true},
        {ids::kSizeSelect, L"Size", false, true},
        {ids::kSizeAnd, L"and", false, true},
    };
    ExpectControls(host.dates, expected);
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(testing::Message() << "row " << row);
        const auto item = [&](ids::DateRowField field) { return PagesHost::Item(host.dates, ids::DateRowId(row, field)); };
        EXPECT_EQ(Choices(item(ids::kRowRange)), Of(engine::DateRangeCaptions));
        EXPECT_EQ(Choices(item(ids::kRowDelay)), Of(engine::DateDelayCaptions));
        for (const auto field : {ids::kRowFromDate, ids::kRowFromTime, ids::kRowToDate, ids::kRowToTime,
                                 ids::kRowDelayDate, ids::kRowDelayTime})
            EXPECT_NE(item(field), nullptr);
        // The row starts as a "Between" range: its ends shown, the delay hidden in their place.
        EXPECT_TRUE(Shown(item(ids::kRowToDate)));
        EXPECT_FALSE(Shown(item(ids::kRowDelay)));
        EXPECT_FALSE(Shown(item(ids::kRowPeriodDelay)));
        int minimum = 0, maximum = 0;
        SendMessageW(item(ids::kRowPeriodUpDown), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&minimum),
                     reinterpret_cast<LPARAM>(&maximum));
        EXPECT_EQ(minimum, 1);
        EXPECT_EQ(WindowText(item(ids::kRowPeriodDelay)), L"1");
    }
    EXPECT_EQ(host.dates.cbDATECreationRange.hwnd(), PagesHost::Item(host.dates, ids::DateRowId(1, ids::kRowRange)));
    EXPECT_EQ(Choices(PagesHost::Item(host.dates, ids::kSizeRange)), Of(engine::SizeRangeCaptions));
    for (const int unit : {ids::kSizeLargerUnit, ids::kSizeSmallerUnit}) {
        const HWND combo = PagesHost::Item(host.dates, unit);
        EXPECT_EQ(Choices(combo), (Lines{L"GB", L"MB", L"KB", L"Bytes"}));
        EXPECT_EQ(WindowText(combo), L"KB");
    }
    // The values stop at 32767, as a person clicking the arrows finds.
    const HWND larger = PagesHost::Item(host.dates, ids::kSizeLargerValue);
    SendMessageW(PagesHost::Item(host.dates, ids::kSizeLargerUpDown), UDM_SETPOS32, 0, 40000);
    EXPECT_EQ(WindowText(larger), L"32767");
}

TEST_F(CriteriaPagesTest, AttributesPageHasABoxForEveryAttribute) {
    namespace ids = ui::ids;
    const Expected expected[] = {
        {ids::kAttrEnabled, L"Attributes", false, true},
        {ids::kAttrMatchAny, L"Match Any", true, true},
        {ids::kAttrMatchAll, L"Match All", false, true},
        {ids::kAttrMatchOnly, L"Match Only", false, true},
        {ids::kAttrBoxFirst + engine::saNormal, L"(N) Normal", false, true},
        {ids::kAttrBoxFirst + engine::saArchive, L"(A) Archive", false, true},
        {ids::kAttrBoxFirst + engine::saReadOnly, L"(R) Read Only", false, true},
        {ids::kAttrBoxFirst + engine::saSystem, L"(S) System", false, true},
        {ids::kAttrBoxFirst + engine::saHidden, L"(H) Hidden", false, true},
        {ids::kAttrBoxFirst + engine::saDirectory, L"(D) Directory", false, true},
        {ids::kAttrBoxFirst + engine::saCompressed, L"(C) Compressed", false, true},
        {ids::kAttrBoxFirst + engine::saEncrypted, L"(E) Encrypted", false, true},
        {ids::kAttrBoxFirst + engine::saTemporary, L"(T) Temporary", false, true},
        {ids::kAttrBoxFirst + engine::saNotIndexed, L"(I) Not Indexed", false, true},
        {ids::kAttrBoxFirst + engine::saReparsePoint, L"(P) Reparse Point", false, true},
        {ids::kAttrBoxFirst + engine::saSparseFile, L"(F) Sparse File", false, true},
        {ids::kAttrBoxFirst + engine::saOffLine, L"(O) Offline", false, true},
        {ids::kAttrBoxFirst + engine::saVirtual, L"(V) Virtual", false, false},
        {ids::kAttrBoxFirst + engine::saDevice, L"(W) Device", false, false},
        {ids::kAttrNtfsNote, L"Only in NTFS File System", false, true},
    };
    ExpectControls(host.attributes, expected);
    EXPECT_EQ(host.attributes.AttributeBox(engine::saHidden).hwnd(),
              PagesHost::Item(host.attributes, ids::kAttrBoxFirst + engine::saHidden));
}

TEST_F(CriteriaPagesTest, WhatThePersonDoesReachesTheOwnerWindow) {
    namespace ids = ui::ids;
    SendMessageW(host.files.chbVISUALIZEAppendResults.hwnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(host.files.chbVISUALIZEAppendResults.Checked());
    SendMessageW(host.attributes.AttributeBox(engine::saArchive).hwnd(), BM_CLICK, 0, 0);
    const HWND mode = host.text.cbmitTEXTTextMaskMode.hwnd();
    SendMessageW(mode, CB_SETCURSEL, 1, 0);
    uitest::Notify(mode, CBN_SELCHANGE);
    const std::vector<std::pair<int, int>> expected = {
        {ids::kAppendResults, BN_CLICKED},
        {ids::kAttrBoxFirst + engine::saArchive, BN_CLICKED},
        {ids::kTextMaskMode, CBN_SELCHANGE},
    };
    EXPECT_EQ(host.commands, expected);
    EXPECT_EQ(WindowText(mode), L"Phrases");
}

TEST_F(CriteriaPagesTest, ResizingStretchesTheTextBoxesAndKeepsTheSideColumnAtTheRightEdge) {
    const RECT mask = host.files.cbmitFILEFileMask.Bounds();
    const RECT path = host.files.cbmfldFOLDERSSearchPath.Bounds();
    const RECT modeBox = host.files.cbmitFILEFileMaskMode.Bounds();
    const RECT browse = host.files.btnFILEBrowse.Bounds();
    const RECT check = host.files.chbVISUALIZEAppendResults.Bounds();
    RECT dropped{};
    SendMessageW(host.files.cbmitFILEFileMask.hwnd(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));

    host.ResizeClient(880, 260);
    const RECT mask2 = host.files.cbmitFILEFileMask.Bounds();
    EXPECT_EQ(mask2.left, mask.left);
    EXPECT_EQ(mask2.right - mask.right, 200);
    EXPECT_EQ(host.files.cbmfldFOLDERSSearchPath.Bounds().right - path.right, 200);
    EXPECT_EQ(host.files.cbmitFILEFileMaskMode.Bounds().left - modeBox.left, 200);
    EXPECT_EQ(host.files.btnFILEBrowse.Bounds().left - browse.left, 200);
    EXPECT_EQ(host.files.btnFILEBrowse.Bounds().top, browse.top);
    const RECT check2 = host.files.chbVISUALIZEAppendResults.Bounds();
    EXPECT_EQ(check2.left, check.left);
    EXPECT_EQ(check2.top, check.top);
    // The box still drops down as far as before.
    RECT dropped2{};
    SendMessageW(host.files.cbmitFILEFileMask.hwnd(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped2));
    EXPECT_EQ(dropped2.bottom - dropped2.top, dropped.bottom - dropped.top);
    EXPECT_EQ(host.text.cbmitTEXTTextMaskMode.Bounds().left - modeBox.left, 200);
}

} // namespace
