// The main window's menus as a person meets them: every item's state in three situations, the zoom keys, the edit
// keys that act on files only while the result list has the focus, the view, settings and help commands, and the
// access keys of each menu.
#include <map>
#include <string>
#include <vector>

#include "kit/Actions.h"
#include "kit/MessageLoop.h"
#include "kit/Strings.h"
#include "results/ResultExports.h"
#include "tests/support/AccessKeys.h"
#include "tests/support/ClipboardText.h"
#include "tests/support/DialogWatch.h"
#include "tests/support/HeldKeys.h"
#include "tests/support/MenuItems.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ControlIds.h"

using namespace uitest;
namespace ids = ui::ids;
using testsupport::ClipboardText;
using testsupport::MenuItem;
using testsupport::MenuItemsOf;

namespace {

constexpr int kMenus[] = {ids::miFILE, ids::miEDIT, ids::miACTION, ids::miVIEW, ids::miVIEWZoom, ids::miTOOLS,
                          ids::miSETTINGS, ids::miHELP};

// One item as the person saw it: "on" or "off" (grayed), with ", checked"; "menu off" when its menu is grayed
// and does not open.
struct Seen {
    std::wstring caption;
    std::wstring shortcut;
    std::string state;
    bool radio = false;
};

// The key a person presses to type `character` with Ctrl held: Ctrl, Shift when the layout needs it, and the key.
struct CtrlKey {
    std::vector<BYTE> held;
    WORD key;
};
CtrlKey CtrlAndKeyOf(wchar_t character) {
    const SHORT found = VkKeyScanW(character);
    CtrlKey press{{VK_CONTROL}, LOBYTE(found)};
    if (HIBYTE(found) & 1) press.held.push_back(VK_SHIFT);
    return press;
}

class MainMenusTest : public MainWindowTest {
protected:
    static void SetUpTestSuite() {
        tree_ = new testsupport::TempFolder();
        MakeSlowSearchTree(*tree_ / L"slow");
        MakeFiles(*tree_ / L"small", {L"a.txt", L"b.txt", L"c.txt"});
    }
    static void TearDownTestSuite() {
        delete tree_;
        tree_ = nullptr;
    }

    // A search that is still running when the window is next looked at.
    void TypeSlowSearch() {
        TypeMask(L"*.txt");
        TypePath(*tree_ / L"slow");
        TypeText(kit::Utf8ToWide(kSlowTreeText));
    }
    // A search of three files, run to its end.
    void SearchSmallTree() {
        TypeMask(L"*.txt");
        TypePath(*tree_ / L"small");
        ClickSearch();
    }
    std::wstring SmallFile(const wchar_t* name) const { return *tree_ / L"small\\" + name; }
    // A click on the first row: it is selected and the list has the focus.
    void ClickFirstRow() {
        SelectFirstRow();
        SetFocus(List());
    }
    HWND MaskEdit() const { return FindWindowExW(MaskBox(), nullptr, L"Edit", nullptr); }

    // A menu of the window opened: its opening message, then what it shows.
    std::vector<MenuItem> OpenMenu(int menu) {
        const HMENU popup = window->Actions().Menu(menu);
        SendMessageW(Main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        return MenuItemsOf(popup);
    }
    // Every menu of the bar and each submenu, opened in turn as a person going through them; a grayed one does
    // not open, and its items count as "menu off".
    std::map<int, Seen> OpenEveryMenu() {
        std::map<int, Seen> seen;
        ReadItems(GetMenu(Main()), true, seen);
        return seen;
    }
    void ReadItems(HMENU menu, bool opened, std::map<int, Seen>& seen) {
        for (const MenuItem& item : MenuItemsOf(menu)) {
            if (item.separator) continue;
            const int id = item.submenu ? MenuIdOf(item.submenu) : static_cast<int>(item.id);
            const std::string state = !opened ? "menu off" : std::string(item.grayed ? "off" : "on") +
                                                                 (item.checked ? ", checked" : "");
            seen[id] = {item.Caption(), item.Shortcut(), state, item.radio};
            if (!item.submenu) continue;
            const bool opens = opened && !item.grayed;
            if (opens) SendMessageW(Main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(item.submenu), 0);
            ReadItems(item.submenu, opens, seen);
        }
    }
    int MenuIdOf(HMENU popup) const {
        for (const int id : kMenus)
            if (window->Actions().Menu(id) == popup) return id;
        return 0;
    }

    // A key pressed where the focus is, with `held` down, as the keyboard gives it to the program's loop.
    void Press(const std::vector<BYTE>& held, WORD key) {
        const testsupport::HeldKeys keys(held);
        const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
        PostMessageW(GetFocus(), WM_KEYDOWN, key, scanCode | 1);
        kit::ProcessMessagesNow();
    }
    // A menu item chosen: its command, as the menu sends it.
    void Choose(int action) { SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(action, 0), 0); }

    // The list's font: its size in points, and whether it is bold.
    LOGFONTW ListFont() const {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(List(), WM_GETFONT, 0, 0)), sizeof(font), &font);
        return font;
    }
    int ListFontPoints() const {
        const HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return MulDiv(-ListFont().lfHeight, 72, dpi);
    }
    bool ListFontBold() const { return ListFont().lfWeight >= FW_BOLD; }
    // The zoom level the Zoom menu shows checked.
    std::wstring CheckedZoom() {
        OpenMenu(ids::miVIEW);
        for (const MenuItem& item : OpenMenu(ids::miVIEWZoom))
            if (item.radio && item.checked) return item.Caption();
        return L"";
    }

    static testsupport::TempFolder* tree_;
};

testsupport::TempFolder* MainMenusTest::tree_ = nullptr;

} // namespace

TEST_F(MainMenusTest, EveryItemOfEveryMenuIdleWithoutRowsWithASelectedRowAndDuringASearch) {
    Open();  // the focus is in the file-name box
    const std::map<int, Seen> idle = OpenEveryMenu();
    TypeSlowSearch();
    std::map<int, Seen> searching;
    ASSERT_TRUE(ActWhileSearchPaused([&] { searching = OpenEveryMenu(); }));
    ClickFirstRow();
    const std::map<int, Seen> selected = OpenEveryMenu();

    // The find window's action, where the program has it.
    const bool find = window->Actions().Contains(ids::actACTIONFindInResults);
    const char* const off = "off";
    const char* const on = "on";
    const char* const hidden = "hidden";
    const char* const menuOff = "menu off";
    struct Item {
        int id;
        const wchar_t* caption;
        const char* idle;
        const char* selected;
        const char* searching;
    };
    const Item items[] = {
        // The bar.
        {ids::miFILE, L"&File", on, on, off},
        {ids::miEDIT, L"&Edit", on, on, off},
        {ids::miACTION, L"&Actions", on, on, on},
        {ids::miVIEW, L"&View", on, on, off},
        {ids::miTOOLS, L"", hidden, hidden, hidden},
        {ids::miSETTINGS, L"Sett&ings", on, on, off},
        {ids::miHELP, L"&Help", on, on, on},
        // File.
        {ids::actFILEBrowse, L"&Browse...", on, on, menuOff},
        {ids::actFILENewSearchPaths, L"", hidden, hidden, hidden},
        {ids::actFILEEditSearchPaths, L"", hidden, hidden, hidden},
        {ids::actFILESaveResults, L"", hidden, hidden, hidden},
        {ids::actFILELoadResultsFromFile, L"", hidden, hidden, hidden},
        {ids::actFILEExportResults, L"&Export Results...", off, on, menuOff},
        {ids::actFILEExit, L"E&xit", on, on, menuOff},
        // Edit.
        {ids::actEDITUndo, L"", hidden, hidden, hidden},
        {ids::actEDITRedo, L"", hidden, hidden, hidden},
        {ids::actEDITCut, L"&Cut", off, on, menuOff},
        {ids::actEDITCopy, L"C&opy", off, on, menuOff},
        {ids::actEDITCopyToFolder, L"Copy &to Folder...", off, on, menuOff},
        {ids::actEDITMoveToFolder, L"&Move to Folder...", off, on, menuOff},
        {ids::actEDITCreateShortcut, L"Create &Shortcut...", off, on, menuOff},
        {ids::actEDITDelete, L"&Delete", off, on, menuOff},
        {ids::actEDITRename, L"&Rename...", off, on, menuOff},
        {ids::actEDITRemoveFromList, L"Remove &from List", off, on, menuOff},
        {ids::actEDITSelectAll, L"", hidden, hidden, hidden},
        {ids::actEDITSelectBySourceFolders, L"", hidden, hidden, hidden},
        {ids::actEDITInvertSelection, L"", hidden, hidden, hidden},
        {ids::actEDITUnselectAll, L"", hidden, hidden, hidden},
        // Actions: the first item is Search, or Pause (here Continue, as the run is held) during a run.
        {ids::actACTIONSearch, L"&Search", on, on, hidden},
        {ids::actACTIONPause, L"&Continue", hidden, hidden, on},
        {ids::actACTIONStop, L"S&top", off, off, on},
        {ids::actACTIONReset, L"&Reset", off, on, off},
        {ids::actACTIONFilterResults, L"", hidden, hidden, hidden},
        {ids::actACTIONFindInResults, L"&Find In Results", find ? on : hidden, find ? on : hidden,
         find ? off : hidden},
        // View.
        {ids::actVIEWThumbnail, L"", hidden, hidden, hidden},
        {ids::actVIEWIcon, L"&Large Icon", on, on, menuOff},
        {ids::actVIEWSmallIcon, L"&Small Icon", on, on, menuOff},
        {ids::actVIEWList, L"L&ist", on, on, menuOff},
        {ids::actVIEWTile, L"&Tile", on, on, menuOff},
        {ids::actVIEWReport, L"&Details", "on, checked", "on, checked", menuOff},
        {ids::actVIEWShowGridLines, L"Show &Grid Lines", on, on, menuOff},
        {ids::miVIEWZoom, L"&Zoom", on, on, menuOff},
        {ids::actVIEWAutoResizes, L"&Automatically Resizes", on, on, menuOff},
        {ids::actVIEWSourceFolders, L"Source &Folders...", off, on, menuOff},
        // View, Zoom.
        {ids::actVIEWZoomIncrease, L"&Increase", on, on, menuOff},
        {ids::actVIEWZoomDecrease, L"&Decrease", on, on, menuOff},
        {ids::actVIEWZoomVeryLarge, L"&Very Large", on, on, menuOff},
        {ids::actVIEWZoomLarge, L"&Large", on, on, menuOff},
        {ids::actVIEWZoomMedium, L"&Medium", on, on, menuOff},
        {ids::actVIEWZoomNormal, L"&Normal", "on, checked", "on, checked", menuOff},
        {ids::actVIEWZoomSmall, L"&Small", on, on, menuOff},
        {ids::actVIEWZoomBoldText, L"&Bold Text", on, on, menuOff},
        {ids::actVIEWZoomAutoResizes, L"&Automatically Resizes", on, on, menuOff},
        // Settings.
        {ids::actINSTALLAddToContextMenu, L"", hidden, hidden, hidden},
        {ids::actINSTALLRemoveFromContextMenu, L"", hidden, hidden, hidden},
        {ids::actSETTINGSManageItems, L"&Most Recent Used Items...", on, on, menuOff},
        {ids::actSETTINGSManageIFilters, L"", hidden, hidden, hidden},
        {ids::actSETTINGSResetColumnsToDefault, L"&Reset Columns to Default", on, on, menuOff},
        {ids::actSETTINGSOptions, L"&Options...", on, on, menuOff},
        // Help.
        {ids::actHELPTopics, L"&Online Help...", on, on, on},
        {ids::actHELPWebSite, L"&Web Site...", on, on, on},
        {ids::actHELPAbout, L"&About...", on, on, on},
    };
    const std::pair<const char*, const std::map<int, Seen>*> situations[] = {
        {"idle without rows", &idle}, {"idle with a selected row", &selected}, {"during a search", &searching}};
    for (const Item& item : items) {
        SCOPED_TRACE(testing::Message() << item.id << " " << kit::WideToUtf8(item.caption));
        const char* const expected[] = {item.idle, item.selected, item.searching};
        for (size_t s = 0; s < std::size(situations); ++s) {
            const auto& [situation, seen] = situations[s];
            const auto it = seen->find(item.id);
            EXPECT_EQ(it == seen->end() ? hidden : it->second.state, expected[s]) << situation;
            if (it != seen->end()) {
                EXPECT_EQ(kit::WideToUtf8(it->second.caption), kit::WideToUtf8(item.caption)) << situation;
            }
        }
    }
    // The menus hold nothing the table leaves out.
    for (const auto& [situation, seen] : situations)
        for (const auto& [id, item] : *seen)
            EXPECT_TRUE(std::any_of(std::begin(items), std::end(items), [id](const Item& i) { return i.id == id; }))
                << situation << ": " << id << " " << kit::WideToUtf8(item.caption);

    // The view styles and the zoom levels are radio groups.
    for (const int id : {ids::actVIEWIcon, ids::actVIEWReport, ids::actVIEWZoomVeryLarge, ids::actVIEWZoomSmall})
        EXPECT_TRUE(idle.at(id).radio) << id;
    EXPECT_FALSE(idle.at(ids::actVIEWShowGridLines).radio);
    // Cut, Copy and Delete show their keys while the list has the focus, and have none in the file-name box.
    EXPECT_EQ(idle.at(ids::actEDITCut).shortcut, L"");
    EXPECT_EQ(idle.at(ids::actEDITDelete).shortcut, L"");
    EXPECT_EQ(selected.at(ids::actEDITCut).shortcut, L"Ctrl+X");
    EXPECT_EQ(selected.at(ids::actEDITCopy).shortcut, L"Ctrl+C");
    EXPECT_EQ(selected.at(ids::actEDITDelete).shortcut, L"Del");
    EXPECT_EQ(idle.at(ids::actVIEWZoomBoldText).shortcut, L"Ctrl+B");
    EXPECT_EQ(idle.at(ids::actVIEWAutoResizes).shortcut, L"Ctrl+W");
    // Of the keys that zoom in, the menu shows the one pressed without Shift.
    EXPECT_EQ(idle.at(ids::actVIEWZoomIncrease).shortcut, kit::ShortcutText({FCONTROL, CtrlAndKeyOf(L'+').key}));
}

TEST_F(MainMenusTest, TheZoomKeysStepThroughTheLevelsAsFarAsTheZoomMenuAllows) {
    Open();  // in the file-name box: the zoom keys work wherever the focus is
    const CtrlKey plus = CtrlAndKeyOf(L'+'), minus = CtrlAndKeyOf(L'-'), zero = CtrlAndKeyOf(L'0');
    const std::vector<BYTE> ctrl{VK_CONTROL};
    struct Step {
        const char* keys;
        std::vector<BYTE> held;
        WORD key;
        const wchar_t* zoom;  // as the Zoom menu shows it checked
        int points;
        bool bold;
    };
    const Step steps[] = {
        {"Ctrl and +", plus.held, plus.key, L"&Medium", 9, false},
        {"Ctrl+F6", ctrl, VK_F6, L"&Large", 10, false},
        {"Ctrl and the keypad's +", ctrl, VK_ADD, L"&Very Large", 11, false},
        {"Ctrl and + at the largest", plus.held, plus.key, L"&Very Large", 11, false},
        {"Ctrl and -", minus.held, minus.key, L"&Large", 10, false},
        {"Ctrl and the keypad's -", ctrl, VK_SUBTRACT, L"&Medium", 9, false},
        {"Ctrl and 0", zero.held, zero.key, L"&Normal", 8, false},
        {"Ctrl and - to the smallest", minus.held, minus.key, L"&Small", 7, false},
        {"Ctrl and - at the smallest", minus.held, minus.key, L"&Small", 7, false},
        {"Ctrl and the keypad's 0", ctrl, VK_NUMPAD0, L"&Normal", 8, false},
        {"Ctrl+B", ctrl, 'B', L"&Normal", 8, true},
        {"Ctrl+B again", ctrl, 'B', L"&Normal", 8, false},
        // The + key with Ctrl alone, Shift not held: Ctrl and = on a US keyboard.
        {"Ctrl and the + key without Shift", ctrl, plus.key, L"&Medium", 9, false},
    };
    const HWND box = MaskEdit();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.keys);
        SetFocus(box);
        Press(step.held, step.key);
        EXPECT_EQ(kit::WideToUtf8(CheckedZoom()), kit::WideToUtf8(step.zoom));
        EXPECT_EQ(ListFontPoints(), step.points);
        EXPECT_EQ(ListFontBold(), step.bold);
    }
    EXPECT_EQ(WindowText(box), L"") << "no key reached the box";
}

// A shortcut pressed while its menu is disabled runs nothing, however the action stood when the menu last opened.
TEST_F(MainMenusTest, AShortcutRunsNothingItsMenuWouldShowDisabled) {
    Open();
    OpenMenu(ids::miVIEW);  // offered once: Bold Text is enabled in the table
    TypeSlowSearch();
    testsupport::PutTextOnClipboard(L"earlier");
    ASSERT_TRUE(ActWhileSearchPaused([&] {
        ClickFirstRow();
        Press({VK_CONTROL}, 'B');  // the View menu is disabled during a run
        Press({VK_CONTROL}, 'C');  // and the Edit menu
        EXPECT_FALSE(ListFontBold());
        EXPECT_EQ(ClipboardText(), L"earlier");
    }));
    SetFocus(MaskEdit());  // Stop, clicked last, is disabled now and holds the focus no longer
    Press({VK_CONTROL}, 'B');
    EXPECT_TRUE(ListFontBold()) << "once the run is over";
}

// Opening the Edit menu from the file-name box offers Delete for the selected row, but Del and Ctrl+C in the box
// still edit the box's text: the file keys belong to the list.
TEST_F(MainMenusTest, TheEditKeysActOnFilesOnlyWhileTheListHasTheFocus) {
    Open();
    SearchSmallTree();
    ASSERT_EQ(Rows().size(), 3u);
    ClickFirstRow();
    testsupport::PutTextOnClipboard(L"earlier");
    Press({VK_CONTROL}, 'C');
    EXPECT_EQ(ClipboardText(), std::nullopt) << "the list copied its file, not a text";

    const HWND box = MaskEdit();
    SetFocus(box);
    Type(MaskBox(), L"abc.txt");
    SendMessageW(box, EM_SETSEL, 0, 0);
    const std::vector<MenuItem> edit = OpenMenu(ids::miEDIT);
    ASSERT_TRUE(std::any_of(edit.begin(), edit.end(),
                            [](const MenuItem& i) { return i.id == ids::actEDITDelete && !i.grayed; }));
    {
        testsupport::DialogWatch watch;
        Press({}, VK_DELETE);
        EXPECT_EQ(watch.Seen(), 0) << "no question of the shell about a deletion";
    }
    EXPECT_EQ(WindowText(box), L"bc.txt");
    EXPECT_EQ(Rows().size(), 3u);
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) EXPECT_TRUE(testsupport::FileExists(SmallFile(name)));

    SendMessageW(box, EM_SETSEL, 0, -1);
    Press({VK_CONTROL}, 'C');
    EXPECT_EQ(ClipboardText(), L"bc.txt");
}

TEST_F(MainMenusTest, TheViewCommandsFollowTheListAndTheSettingsAndHelpCommandsDoTheirWork) {
    Open();
    SearchSmallTree();
    const auto checked = [this](int action) {
        for (const MenuItem& item : OpenMenu(ids::miVIEW))
            if (item.id == static_cast<UINT>(action)) return item.checked;
        return false;
    };
    const auto enabled = [this](int action) {
        for (const MenuItem& item : OpenMenu(ids::miVIEW))
            if (item.id == static_cast<UINT>(action)) return !item.grayed;
        return false;
    };
    const auto view = [this] { return SendMessageW(List(), LVM_GETVIEW, 0, 0); };

    Choose(ids::actVIEWIcon);
    EXPECT_EQ(view(), LV_VIEW_ICON);
    EXPECT_TRUE(checked(ids::actVIEWIcon));
    EXPECT_FALSE(checked(ids::actVIEWReport));
    EXPECT_FALSE(enabled(ids::actVIEWAutoResizes)) << "only the details view sizes its columns";
    Choose(ids::actVIEWList);
    EXPECT_EQ(view(), LV_VIEW_LIST);
    EXPECT_TRUE(checked(ids::actVIEWList));
    EXPECT_FALSE(checked(ids::actVIEWIcon));
    // The check follows what the control shows: it may refuse tiles.
    Choose(ids::actVIEWTile);
    const bool tiles = view() == LV_VIEW_TILE;
    EXPECT_EQ(checked(ids::actVIEWTile), tiles);
    EXPECT_EQ(checked(ids::actVIEWList), !tiles);
    Choose(ids::actVIEWReport);
    EXPECT_EQ(view(), LV_VIEW_DETAILS);
    EXPECT_TRUE(checked(ids::actVIEWReport));
    EXPECT_TRUE(enabled(ids::actVIEWAutoResizes));

    const auto gridLines = [this] {
        return (SendMessageW(List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES) != 0;
    };
    Choose(ids::actVIEWShowGridLines);
    EXPECT_TRUE(gridLines());
    EXPECT_TRUE(checked(ids::actVIEWShowGridLines));
    Choose(ids::actVIEWShowGridLines);
    EXPECT_FALSE(gridLines());
    EXPECT_FALSE(checked(ids::actVIEWShowGridLines));

    const HWND header = reinterpret_cast<HWND>(SendMessageW(List(), LVM_GETHEADER, 0, 0));
    const auto order = [this, header] {
        std::vector<int> columns(static_cast<size_t>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)));
        SendMessageW(List(), LVM_GETCOLUMNORDERARRAY, columns.size(), reinterpret_cast<LPARAM>(columns.data()));
        return columns;
    };
    const std::vector<int> initial = order();
    std::vector<int> reversed(initial.rbegin(), initial.rend());
    SendMessageW(List(), LVM_SETCOLUMNORDERARRAY, reversed.size(), reinterpret_cast<LPARAM>(reversed.data()));
    ASSERT_NE(order(), initial);
    Choose(ids::actSETTINGSResetColumnsToDefault);
    EXPECT_EQ(order(), initial);

    // The help pages of the site the About box names, opened by the shell.
    Choose(ids::actHELPTopics);
    Choose(ids::actHELPWebSite);
    ASSERT_EQ(interaction.shellRequests.size(), 2u);
    const std::wstring site = results::ProductWebAddress;
    const std::wstring pages[] = {site + L"help.html", site + L"index.html"};
    for (size_t i = 0; i < 2; ++i) {
        const auto& [owner, request] = interaction.shellRequests[i];
        EXPECT_EQ(owner, Main());
        EXPECT_EQ(request.verb, L"open");
        EXPECT_EQ(request.file, pages[i]);
        EXPECT_EQ(request.showCommand, SW_SHOWNORMAL);
    }
}

// Alt and a letter in an open menu reaches one item, and every item has a letter. (The bar's keys beside the
// window's own are the main window's access-key test.)
TEST_F(MainMenusTest, EveryItemOfEachMenuHasAnAccessKeyOfItsOwn) {
    Open();
    SearchSmallTree();
    ClickFirstRow();
    const std::map<int, Seen> seen = OpenEveryMenu();  // every menu as it shows with the most items enabled
    for (const int menu : kMenus) {
        SCOPED_TRACE(menu);
        const HMENU popup = window->Actions().Menu(menu);
        for (const std::wstring& clash : testsupport::AccessKeyClashes(popup)) ADD_FAILURE() << kit::WideToUtf8(clash);
        for (const MenuItem& item : MenuItemsOf(popup)) {
            if (item.separator) continue;
            EXPECT_NE(testsupport::AccessKey(item.Caption()), 0) << kit::WideToUtf8(item.text);
        }
    }
    for (const MenuItem& item : MenuItemsOf(GetMenu(Main())))
        EXPECT_NE(testsupport::AccessKey(item.Caption()), 0) << kit::WideToUtf8(item.text);
    EXPECT_FALSE(seen.empty());
}
