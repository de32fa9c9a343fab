// The criteria pages' rules in the real main window, driven by clicks and choices as a person makes them: what
// each switch and choice enables and shows, what marks the criteria changed (and so arms Reset), the boxes that
// keep to digits, and the date rows' layout.
#include <windows.h>
#include <commctrl.h>

#include <set>

#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "engine/FilterFile.h"
#include "engine/SearchParams.h"
#include "kit/DeviceContexts.h"
#include "kit/Fonts.h"
#include "kit/Scope.h"
#include "kit/Strings.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ControlIds.h"
#include "ui/PageContainingText.h"

using namespace uitest;
namespace ids = ui::ids;

namespace {

class CriteriaRulesTest : public MainWindowTest {
protected:
    HWND Files(int id) const { return Control(ids::kPageFilesAndFolders, id); }
    HWND Text(int id) const { return Control(ids::kPageContainingText, id); }
    HWND Date(int id) const { return Control(ids::kPageDateAndSize, id); }
    HWND Row(int row, ids::DateRowField field) const { return Date(ids::DateRowId(row, field)); }
    HWND Attr(int id) const { return Control(ids::kPageAttributes, id); }
    HWND ResetButton() const { return GetDlgItem(Main(), ids::kResetButton); }
    bool ResetEnabled() const { return IsWindowEnabled(ResetButton()) != FALSE; }

    static void Choose(HWND combo, int index) {
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Notify(combo, CBN_SELCHANGE);
    }
    // Keys typed into an edit box, or into the edit of a combo box.
    static void TypeKeys(HWND box, const std::wstring& keys) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        const HWND edit = GetComboBoxInfo(box, &info) && info.hwndItem ? info.hwndItem : box;
        for (const wchar_t key : keys) SendMessageW(edit, WM_CHAR, key, 0);
    }
    static void Clear(HWND edit) { SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"")); }
    static void SetBox(HWND edit, const std::wstring& text) {
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
};

void ExpectState(HWND control, bool enabled, bool visible, std::set<HWND>& seen) {
    ASSERT_NE(control, nullptr);
    seen.insert(control);
    SCOPED_TRACE(testing::Message() << "control " << GetDlgCtrlID(control));
    EXPECT_EQ(IsWindowEnabled(control) != FALSE, enabled);
    EXPECT_EQ(IsWindowVisible(control) != FALSE, visible);
}

// Every control of the page was looked at.
void ExpectAllSeen(HWND page, const std::set<HWND>& seen) {
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        EXPECT_TRUE(seen.contains(child)) << "control " << GetDlgCtrlID(child) << " was not checked";
}

HWND pasteTarget = nullptr;

void CALLBACK TypePasteKey(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(pasteTarget, WM_CHAR, L'p', 0);
}

void PutOnClipboard(HWND owner, const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(owner));
    const kit::ScopeExit close([] { CloseClipboard(); });
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
    ASSERT_NE(data, nullptr);
    memcpy(GlobalLock(data), text.c_str(), bytes);
    GlobalUnlock(data);
    ASSERT_NE(SetClipboardData(CF_UNICODETEXT, data), nullptr);  // the clipboard owns it now
}

} // namespace

TEST_F(CriteriaRulesTest, EachSwitchAndChoiceEnablesAndShowsItsControls) {
    Open();
    SelectPage(2);
    // Per case, each date row is set the same way: the row's controls are enabled while Date and the row are
    // checked; the range shows its two ends, or the delay with its period (units) or its date and time.
    struct DateCase {
        bool date, rows;
        int range, delayType;
        bool enabled, ends, delay, period, delayDate;
    };
    const DateCase dateCases[] = {
        {false, false, engine::drBetween, engine::ddDate, false, true, false, false, false},
        {true, true, engine::drBetween, engine::ddDate, true, true, false, false, false},
        {true, true, engine::drNotBetween, engine::ddDays, true, true, false, false, false},
        {true, true, engine::drNewerThen, engine::ddDate, true, false, true, false, true},
        {true, true, engine::drNewerThen, engine::ddDays, true, false, true, true, false},
        {true, true, engine::drOlderThen, engine::ddYears, true, false, true, true, false},
        {true, true, engine::drOlderThen, engine::ddDate, true, false, true, false, true},
        {true, false, engine::drNewerThen, engine::ddSeconds, false, false, true, true, false},
        {false, true, engine::drOlderThen, engine::ddDate, false, false, true, false, true},
        {false, true, engine::drBetween, engine::ddHours, false, true, false, false, false},
    };
    std::set<HWND> seenDates;
    for (const DateCase& c : dateCases) {
        SCOPED_TRACE(testing::Message() << "date " << c.date << ", rows " << c.rows << ", range " << c.range
                                        << ", delay " << c.delayType);
        // The choices are made while they can be: Date and the rows on, the delay shown.
        SetChecked(ids::kPageDateAndSize, ids::kDateSelect, true);
        for (int row = 0; row < 3; ++row) {
            SetChecked(ids::kPageDateAndSize, ids::DateRowId(row, ids::kRowSelect), true);
            Choose(Row(row, ids::kRowRange), engine::drNewerThen);
            Choose(Row(row, ids::kRowDelay), c.delayType);
            Choose(Row(row, ids::kRowRange), c.range);
            SetChecked(ids::kPageDateAndSize, ids::DateRowId(row, ids::kRowSelect), c.rows);
        }
        SetChecked(ids::kPageDateAndSize, ids::kDateSelect, c.date);

        ExpectState(Date(ids::kDateSelect), true, true, seenDates);
        for (int row = 0; row < 3; ++row) {
            SCOPED_TRACE(testing::Message() << "row " << row);
            ExpectState(Row(row, ids::kRowSelect), c.date, true, seenDates);
            const std::pair<ids::DateRowField, bool> shown[] = {
                {ids::kRowRange, true},        {ids::kRowFromDate, c.ends},     {ids::kRowFromTime, c.ends},
                {ids::kRowAnd, c.ends},        {ids::kRowToDate, c.ends},       {ids::kRowToTime, c.ends},
                {ids::kRowDelay, c.delay},     {ids::kRowPeriodDelay, c.period}, {ids::kRowPeriodUpDown, c.period},
                {ids::kRowDelayDate, c.delayDate}, {ids::kRowDelayTime, c.delayDate},
            };
            for (const auto& [field, visible] : shown) ExpectState(Row(row, field), c.enabled, visible, seenDates);
        }
    }

    // "Larger than" and "Smaller than" take one value.
    struct SizeCase {
        bool size;
        int range;
        bool second;
    };
    const SizeCase sizeCases[] = {
        {false, engine::srBetween, true},      {true, engine::srBetween, true},
        {true, engine::srNotBetween, true},    {true, engine::srLargerThen, false},
        {true, engine::srSmallerThen, false},  {false, engine::srSmallerThen, false},
    };
    for (const SizeCase& c : sizeCases) {
        SCOPED_TRACE(testing::Message() << "size " << c.size << ", range " << c.range);
        SetChecked(ids::kPageDateAndSize, ids::kSizeSelect, true);
        Choose(Date(ids::kSizeRange), c.range);
        SetChecked(ids::kPageDateAndSize, ids::kSizeSelect, c.size);
        ExpectState(Date(ids::kSizeSelect), true, true, seenDates);
        for (const int id : {ids::kSizeRange, ids::kSizeLargerValue, ids::kSizeLargerUpDown, ids::kSizeLargerUnit})
            ExpectState(Date(id), c.size, true, seenDates);
        for (const int id : {ids::kSizeAnd, ids::kSizeSmallerValue, ids::kSizeSmallerUpDown, ids::kSizeSmallerUnit})
            ExpectState(Date(id), c.size, c.second, seenDates);
    }
    ExpectAllSeen(Page(ids::kPageDateAndSize), seenDates);

    // Attributes: everything follows the switch; the last two boxes stay hidden.
    SelectPage(3);
    std::set<HWND> seenAttributes;
    for (const bool on : {true, false, true}) {
        SCOPED_TRACE(testing::Message() << "attributes " << on);
        SetChecked(ids::kPageAttributes, ids::kAttrEnabled, on);
        ExpectState(Attr(ids::kAttrEnabled), true, true, seenAttributes);
        for (const int id : {ids::kAttrMatchAny, ids::kAttrMatchAll, ids::kAttrMatchOnly, ids::kAttrNtfsNote})
            ExpectState(Attr(id), on, true, seenAttributes);
        for (int a = 0; a < engine::ScanAttributeCount; ++a)
            ExpectState(Attr(ids::kAttrBoxFirst + a), on, a != engine::saVirtual && a != engine::saDevice,
                        seenAttributes);
    }
    ExpectAllSeen(Page(ids::kPageAttributes), seenAttributes);
}

TEST_F(CriteriaRulesTest, CheckingDateWithNoRowChecksDateModified) {
    Open();
    SelectPage(2);
    SetChecked(ids::kPageDateAndSize, ids::kDateSelect, true);
    EXPECT_TRUE(Checked(ids::kPageDateAndSize, ids::DateRowId(engine::dtModified, ids::kRowSelect)));
    EXPECT_TRUE(IsWindowEnabled(Row(engine::dtModified, ids::kRowRange)));
    // With another row left checked, Date leaves the rows as they are.
    SetChecked(ids::kPageDateAndSize, ids::DateRowId(engine::dtCreation, ids::kRowSelect), true);
    SetChecked(ids::kPageDateAndSize, ids::DateRowId(engine::dtModified, ids::kRowSelect), false);
    SetChecked(ids::kPageDateAndSize, ids::kDateSelect, false);
    SetChecked(ids::kPageDateAndSize, ids::kDateSelect, true);
    EXPECT_FALSE(Checked(ids::kPageDateAndSize, ids::DateRowId(engine::dtModified, ids::kRowSelect)));
    EXPECT_TRUE(IsWindowEnabled(Row(engine::dtCreation, ids::kRowRange)));
}

// Date left checked with every row unchecked: the search unchecks Date, and the rows go off with it as a click
// on Date would turn them off.
TEST_F(CriteriaRulesTest, ASearchThatUnchecksDateDisablesItsRows) {
    testsupport::TempFolder tree;
    MakeFiles(tree.Path(), {L"a.txt"});
    Open();
    TypePath(tree.Path());
    SelectPage(2);
    SetChecked(ids::kPageDateAndSize, ids::kDateSelect, true);
    SetChecked(ids::kPageDateAndSize, ids::DateRowId(engine::dtModified, ids::kRowSelect), false);
    ASSERT_TRUE(Checked(ids::kPageDateAndSize, ids::kDateSelect));
    ClickSearch();
    EXPECT_FALSE(Checked(ids::kPageDateAndSize, ids::kDateSelect));
    EXPECT_EQ(Rows().size(), 1u) << "no date criterion held the file back";
    for (const int row : {engine::dtModified, engine::dtCreation, engine::dtLastAccess}) {
        SCOPED_TRACE(row);
        EXPECT_FALSE(IsWindowEnabled(Row(row, ids::kRowSelect)));
        EXPECT_FALSE(IsWindowEnabled(Row(row, ids::kRowRange)));
    }
}

TEST_F(CriteriaRulesTest, ShowFilenamesAndShowFoldernamesCannotBothBeOff) {
    Open();
    struct Step {
        int clicked;
        bool files, folders;
    };
    const Step steps[] = {
        {ids::kShowFileNames, false, true},
        {ids::kShowFolderNames, true, false},   // the last one off: Show Filenames comes back
        {ids::kShowFileNames, false, true},     // and conversely
        {ids::kShowFolderNames, true, false},
        {ids::kShowFolderNames, true, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "click " << step.clicked);
        Click(Files(step.clicked));
        EXPECT_EQ(Checked(ids::kPageFilesAndFolders, ids::kShowFileNames), step.files);
        EXPECT_EQ(Checked(ids::kPageFilesAndFolders, ids::kShowFolderNames), step.folders);
    }
}

// Each criterion a person changes arms Reset; Reset puts the criteria back and is disarmed.
TEST_F(CriteriaRulesTest, ChangingACriterionArmsResetAndResetDisarmsIt) {
    Open();
    for (const int page : {2, 3, 1, 0}) SelectPage(page);  // the pages' rules run, marking nothing
    EXPECT_FALSE(ResetEnabled());
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"file name", [&] { TypeKeys(Files(ids::kFileMask), L"*.txt"); }},
        {"file name mode", [&] { Choose(Files(ids::kFileMaskMode), 1); }},
        {"search path", [&] {
             SetBox(PathEdit(), L"C:\\");
             Notify(Files(ids::kSearchPath), CBN_EDITCHANGE);
         }},
        {"subfolders", [&] { Click(Files(ids::kSearchInSubfolders)); }},
        {"hidden subfolders", [&] { Click(Files(ids::kIncludeHiddenSubfolders)); }},
        {"show filenames", [&] { Click(Files(ids::kShowFileNames)); }},
        {"show foldernames", [&] { Click(Files(ids::kShowFolderNames)); }},
        {"append", [&] { Click(Files(ids::kAppendResults)); }},
        {"search text", [&] { TypeKeys(TextBox(), L"invoice"); }},
        {"text mode", [&] { Choose(Text(ids::kTextMaskMode), 1); }},
        {"match all", [&] { Click(Text(ids::kAllWords)); }},
        {"whole words", [&] { Click(Text(ids::kWholeWords)); }},
        {"case", [&] { Click(Text(ids::kCaseSensitive)); }},
        {"without", [&] { Click(Text(ids::kWithout)); }},
        {"skip hidden", [&] { Click(Text(ids::kSkipHiddenFiles)); }},
        {"skip system", [&] { Click(Text(ids::kSkipSystemFiles)); }},
        {"skip images", [&] { Click(Text(ids::kSkipImageFiles)); }},
        {"skip audio", [&] { Click(Text(ids::kSkipAudioFiles)); }},
        {"skip video", [&] { Click(Text(ids::kSkipVideoFiles)); }},
        {"date", [&] { Click(Date(ids::kDateSelect)); }},
        {"size", [&] { Click(Date(ids::kSizeSelect)); }},
        {"attributes", [&] { Click(Attr(ids::kAttrEnabled)); }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        change();
        EXPECT_TRUE(ResetEnabled());
        Click(ResetButton());
        EXPECT_FALSE(ResetEnabled());
    }
    // Reset put the criteria back: the file-name mode, the rules' states.
    EXPECT_EQ(SendMessageW(Files(ids::kFileMaskMode), CB_GETCURSEL, 0, 0), 0);
    EXPECT_FALSE(IsWindowEnabled(Attr(ids::kAttrMatchAny)));
}

// With the switches stored on, values, ranges and delays are changed without arming Reset; the row and
// attribute switches and the attribute boxes arm it.
TEST_F(CriteriaRulesTest, ValuesRangesAndDelaysDoNotArmReset) {
    Open();
    SelectPage(2);
    Click(Date(ids::kDateSelect));
    Click(Date(ids::kSizeSelect));
    Click(Attr(ids::kAttrEnabled));
    window->ControlsToParams();  // as a search does; closing stores the criteria, these groups too
    app::TOptionsSearchParams& kept = app::GlobalApplicationInit->Options.SearchParams;
    for (app::TOptionsParam* group : {static_cast<app::TOptionsParam*>(&kept.DateAndSize),
                                      static_cast<app::TOptionsParam*>(&kept.Attributes)})
        group->Save = group->Load = true;
    Open();
    ASSERT_TRUE(Checked(ids::kPageDateAndSize, ids::kSizeSelect));
    EXPECT_FALSE(ResetEnabled());

    SelectPage(2);
    const HWND picker = Row(engine::dtModified, ids::kRowFromDate);
    SYSTEMTIME day{2021, 5, 0, 4, 12, 0, 0, 0};
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&day));
    const NMHDR header{picker, static_cast<UINT_PTR>(GetDlgCtrlID(picker)), static_cast<UINT>(DTN_DATETIMECHANGE)};
    NMDATETIMECHANGE change{header, GDT_VALID, day};
    SendMessageW(Page(ids::kPageDateAndSize), WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
    Choose(Row(engine::dtModified, ids::kRowRange), engine::drNewerThen);
    Choose(Row(engine::dtModified, ids::kRowDelay), engine::ddWeeks);
    TypeKeys(Row(engine::dtModified, ids::kRowPeriodDelay), L"2");
    Choose(Date(ids::kSizeRange), engine::srLargerThen);
    TypeKeys(Date(ids::kSizeLargerValue), L"5");
    Choose(Date(ids::kSizeLargerUnit), engine::suMB);
    EXPECT_FALSE(ResetEnabled());

    const std::pair<int, int> switches[] = {
        {ids::kPageDateAndSize, ids::DateRowId(engine::dtCreation, ids::kRowSelect)},
        {ids::kPageAttributes, ids::kAttrMatchAll},
        {ids::kPageAttributes, ids::kAttrBoxFirst + engine::saArchive},
    };
    for (const auto& [page, id] : switches) {
        SCOPED_TRACE(testing::Message() << "control " << id);
        ASSERT_TRUE(IsWindowEnabled(Control(page, id)));
        Click(Control(page, id));
        EXPECT_TRUE(ResetEnabled());
        Open();  // back to the stored criteria, Reset disarmed
        SelectPage(2);
    }
}

TEST_F(CriteriaRulesTest, TheSearchTextFollowsIntoTheMatcherByMode) {
    Open();
    const engine::FilterFile::TTextMask& mask = app::GlobalFilterFile->Text.TextMask;
    TypeKeys(TextBox(), L"alpha beta");
    EXPECT_EQ(mask.Value, L"alpha beta");
    EXPECT_EQ(mask.MaskType, engine::tmWordsText);
    Choose(Text(ids::kTextMaskMode), engine::tmPhrasesText);
    EXPECT_EQ(WindowText(Text(ids::kWholeWords)), L"Whole Phrases");
    SetBox(TextBox(), L"");
    TypeKeys(TextBox(), L"x|y");
    EXPECT_EQ(mask.Value, L"x|y");
    EXPECT_EQ(mask.MaskType, engine::tmWordsText);  // both modes are handed on as words; a search primes the mode
}

// A hexadecimal code with a digit left over shows in red (the mode is not offered in the window).
TEST_F(CriteriaRulesTest, AnInvalidSearchTextShowsInRed) {
    Open();
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(TextBox(), &info));
    const kit::WindowDc dc(info.hwndItem);
    const auto colourAsked = [&] {
        SetTextColor(dc.get(), RGB(1, 2, 3));
        SendMessageW(TextBox(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()),
                     reinterpret_cast<LPARAM>(info.hwndItem));
        return GetTextColor(dc.get());
    };
    window->tshSELECTContainingText.SetSearchTextValid(false);
    EXPECT_EQ(colourAsked(), RGB(255, 0, 0));
    window->tshSELECTContainingText.SetSearchTextValid(true);
    EXPECT_EQ(colourAsked(), GetSysColor(COLOR_WINDOWTEXT));
}

// Typing, Ctrl+V, WM_PASTE and the context menu's Paste all keep a number box to digits.
TEST_F(CriteriaRulesTest, NumberBoxesTakeDigitsOnlyHoweverTheTextComes) {
    Open();
    SelectPage(2);
    Click(Date(ids::kDateSelect));
    Click(Date(ids::kSizeSelect));
    for (const int id : {ids::kSizeLargerValue, ids::kSizeSmallerValue, ids::DateRowId(0, ids::kRowPeriodDelay),
                         ids::DateRowId(1, ids::kRowPeriodDelay), ids::DateRowId(2, ids::kRowPeriodDelay)}) {
        SCOPED_TRACE(testing::Message() << "box " << id);
        const HWND box = Date(id);
        Clear(box);
        TypeKeys(box, L"1a2-3 ");
        EXPECT_EQ(WindowText(box), L"123");
        TypeKeys(box, L"\b");
        EXPECT_EQ(WindowText(box), L"12");

        PutOnClipboard(Main(), L"12a3\r\n");
        Clear(box);
        SendMessageW(box, WM_PASTE, 0, 0);
        EXPECT_EQ(WindowText(box), L"123");
        Clear(box);
        SendMessageW(box, WM_CHAR, 0x16, 0);  // Ctrl+V
        EXPECT_EQ(WindowText(box), L"123");
        PutOnClipboard(Main(), L"abc");
        SendMessageW(box, WM_PASTE, 0, 0);
        EXPECT_EQ(WindowText(box), L"123") << "nothing to paste: refused";
    }
}

TEST_F(CriteriaRulesTest, TheContextMenusPasteIsFilteredToo) {
    Open();
    SelectPage(2);
    Click(Date(ids::kSizeSelect));
    const HWND box = Date(ids::kSizeLargerValue);
    PutOnClipboard(Main(), L"4x5");
    Clear(box);
    // The menu runs its own loop: its access key P is typed once it is open.
    pasteTarget = box;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, TypePasteKey);
    SendMessageW(box, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box), MAKELPARAM(10, 10));
    KillTimer(nullptr, timer);
    EXPECT_EQ(WindowText(box), L"45");
}

// A box left empty reads as its minimum; a number past the up-down's range as its end, never wrapped.
TEST_F(CriteriaRulesTest, NumberBoxesReadWithinTheirRange) {
    Open();
    SelectPage(2);
    Click(Date(ids::kDateSelect));
    Click(Date(ids::kSizeSelect));
    struct Case {
        int id;
        const wchar_t* typed;
        int expected;
    };
    const Case cases[] = {
        {ids::kSizeLargerValue, L"99999", 32767},  {ids::kSizeLargerValue, L"", 0},
        {ids::kSizeSmallerValue, L"123456789012345", 32767}, {ids::kSizeSmallerValue, L"0042", 42},
        {ids::DateRowId(0, ids::kRowPeriodDelay), L"", 1}, {ids::DateRowId(0, ids::kRowPeriodDelay), L"0", 1},
        {ids::DateRowId(0, ids::kRowPeriodDelay), L"70000", 32767},
    };
    const engine::SearchParams::TSearchParams& params = *app::GlobalSearchParams;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "box " << c.id << " typed " << kit::WideToUtf8(c.typed));
        Clear(Date(c.id));
        TypeKeys(Date(c.id), c.typed);
        window->ControlsToParams();
        const int read = c.id == ids::kSizeLargerValue    ? params.Files.Size.ValueFrom()
                         : c.id == ids::kSizeSmallerValue ? params.Files.Size.ValueTo()
                                                          : params.Files.Date.DateModified.ValuePeriodDelayPos;
        EXPECT_EQ(read, c.expected);
    }
}

TEST(HexCodeToText, PairsOfDigitsBecomeCharactersAndBlanksStay) {
    struct Case {
        const wchar_t* code;
        const wchar_t* text;
        bool valid;
    };
    const Case cases[] = {
        {L"41 42", L"A B", true},
        {L"414", L"A", false},     // the last digit waits for a partner
        {L"4 1", L" A", true},     // a blank inside a pair is kept, before the pair's character
        {L"", L"", true},
        {L"6a-6B!ff", L"jk\u00ff", true},  // either case; other characters are skipped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kit::WideToUtf8(c.code));
        std::wstring text = L"left over";
        EXPECT_EQ(ui::HexCodeToText(c.code, text), c.valid);
        EXPECT_EQ(text, c.text);
    }
}

TEST(HexadecimalKeyPress, LetsHexadecimalDigitsBlanksAndBackspaceThrough) {
    const std::pair<wchar_t, wchar_t> keys[] = {
        {L'0', L'0'}, {L'9', L'9'}, {L'A', L'A'}, {L'f', L'F'}, {L' ', L' '}, {L'\b', L'\b'},
        {L'g', 0},    {L'G', 0},    {L'-', 0},    {L'\r', 0},
    };
    for (const auto& [key, passed] : keys) EXPECT_EQ(ui::HexadecimalKeyPress(key), passed) << int{key};
}

namespace {

// The wider of a morning and an evening time in the test locale's format, measured with the picker's font.
int SampleTimeWidth(HWND picker) {
    int widest = 0;
    for (const WORD hour : {10, 22}) {
        const SYSTEMTIME time{2001, 2, 0, 3, hour, 55, 55, 0};
        wchar_t text[64] = {};
        const int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, 64);
        EXPECT_GT(length, 1);
        widest = std::max(widest, kit::TextWidth(picker, text));
    }
    return widest;
}

RECT BoundsIn(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

// The time pickers are widened to the time format's width W (plus 25 for their arrows); what follows them in a
// row moves right, and the window's minimum width grows by twice that, once.
TEST_F(CriteriaRulesTest, TheTimePickersFitTheTimeFormatAndTheWindowMakesRoom) {
    Open();
    const int width = SampleTimeWidth(Row(0, ids::kRowFromTime));
    const int grown = width - 44;
    ASSERT_GT(grown, 0) << "the test locale's times are wider than the design's";
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(testing::Message() << "row " << row);
        for (const auto field : {ids::kRowFromTime, ids::kRowToTime, ids::kRowDelayTime}) {
            const RECT r = BoundsIn(Row(row, field));
            EXPECT_EQ(r.right - r.left, width + 25);
        }
        // Left to right without overlap: from date, from time, "and", to date, to time.
        int right = 0;
        for (const auto field :
             {ids::kRowFromDate, ids::kRowFromTime, ids::kRowAnd, ids::kRowToDate, ids::kRowToTime}) {
            const RECT r = BoundsIn(Row(row, field));
            EXPECT_GE(r.left, right) << "field " << field;
            right = r.right;
        }
        EXPECT_EQ(BoundsIn(Row(row, ids::kRowAnd)).left, BoundsIn(Row(row, ids::kRowFromTime)).right + 2);
    }
    const auto minimumWidth = [this] {
        MINMAXINFO info{};
        SendMessageW(Main(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        return info.ptMinTrackSize.x;
    };
    EXPECT_EQ(minimumWidth(), 680 + 2 * grown);
    RECT bounds;
    GetWindowRect(Main(), &bounds);
    EXPECT_GE(bounds.right - bounds.left, 680 + 2 * grown);
    Open();  // a second window of the same program grows it no further
    EXPECT_EQ(minimumWidth(), 680 + 2 * grown);
}

TEST_F(CriteriaRulesTest, BrowsePutsTheChosenFolderIntoTheSearchPath) {
    testsupport::TempFolder start, chosen;
    Open();
    TypePath(start.Path());
    interaction.folderAnswers = {chosen.Path(), std::nullopt};
    Click(Files(ids::kActFILEBrowse));
    ASSERT_EQ(interaction.folderBrowses.size(), 1u);
    EXPECT_EQ(interaction.folderBrowses[0].owner, Main());
    EXPECT_EQ(interaction.folderBrowses[0].request.caption, L"Browse Folder");
    EXPECT_EQ(interaction.folderBrowses[0].request.startFolder, start.Path());
    EXPECT_EQ(WindowText(PathEdit()), chosen.Path());

    // A search path that names no one folder: the browser starts at the default entry's folders; Cancel
    // changes nothing.
    ui::TMRUFolderComboBox& path = window->tshSELECTFilesAndFolders.cbmfldFOLDERSSearchPath;
    path.SelectByTag(L"<EVERYWHERE>");
    const std::wstring everywhere = WindowText(PathEdit());
    Click(Files(ids::kActFILEBrowse));
    ASSERT_EQ(interaction.folderBrowses.size(), 2u);
    const int defaultIndex = app::GlobalSearchParams->Folders.VisualControlItemDefault();
    ASSERT_LT(defaultIndex, path.Count());
    EXPECT_EQ(interaction.folderBrowses[1].request.startFolder, ui::FilterPathPieces(path.Info(defaultIndex).Value, 0));
    EXPECT_FALSE(interaction.folderBrowses[1].request.startFolder.empty());
    EXPECT_EQ(WindowText(PathEdit()), everywhere);
}

// The split Browse button is made and linked but never shown; it runs Browse and drops the browse menu.
TEST_F(CriteriaRulesTest, TheHiddenSplitBrowseButtonRunsBrowse) {
    Open();
    ui::TPageFilesAndFolders& files = window->tshSELECTFilesAndFolders;
    EXPECT_FALSE(files.VHLinkedSpeedButton1.Visible());
    EXPECT_FALSE(files.VHLinkedMenuSpeedButton1.Visible());
    EXPECT_EQ(files.VHLinkedMenuSpeedButton1.MasterButton(), &files.VHLinkedSpeedButton1);
    EXPECT_EQ(files.VHLinkedMenuSpeedButton1.Bounds().left, files.VHLinkedSpeedButton1.Bounds().right);
    const HMENU menu = files.VHLinkedMenuSpeedButton1.ActiveMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(ids::actFILENewSearchPaths));
    EXPECT_EQ(GetMenuItemID(menu, 1), static_cast<UINT>(ids::actFILEEditSearchPaths));
    SendMessageW(files.VHLinkedSpeedButton1.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(interaction.folderBrowses.size(), 1u);
}
