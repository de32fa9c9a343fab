// Every box of the program keeps every key a person types, in order, with the caret where the person left it: the
// boxes of the main window and the find window as they show at a start, and those of the prompts and dialogs
// inside their own modal loops. Keys and clicks go through SendInput into the program's own loops.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "engine/UKvrTYPEFile.h"
#include "kit/Strings.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Person.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ControlIds.h"
#include "ui/FKvrFindInResults.h"
#include "ui/FKvrOptions.h"
#include "ui/FKvrSelectFolder.h"

using namespace uitest;
using testsupport::EndOfText;
using ui::TfrmKvrSelectFolder;
namespace ids = ui::ids;

namespace {

// The edit a person types into: a combo box's own edit, or the box itself.
HWND EditOf(HWND box) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    return GetComboBoxInfo(box, &info) && info.hwndItem ? info.hwndItem : box;
}

// The descendant of `window` with that id, at any depth (a dialog's controls sit on its pages).
HWND Descendant(HWND window, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM lp) CALLBACK -> BOOL {
            auto& s = *reinterpret_cast<Search*>(lp);
            if (GetDlgCtrlID(child) != s.id) return TRUE;
            s.found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring Caret(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return std::to_wstring(start) + L".." + std::to_wstring(end);
}

// What a person sees of the box after typing: its text, the caret (an empty selection at the end of what was
// typed), and that the keys still go to it.
void ExpectTyped(HWND edit, const std::wstring& text) {
    EXPECT_EQ(WindowText(edit), text);
    const std::wstring end = std::to_wstring(text.size());
    EXPECT_EQ(Caret(edit), end + L".." + end);
    EXPECT_EQ(GetFocus(), edit) << "the focus stays in the box";
}

// How a person types into a box that shows a text: once in it, over all of it (Ctrl+A), then on at its end after a
// click there; or on at the end of the text it shows, after a click there (in a window, coming from another
// control).
enum class Way { OverItsText, AfterItsText };
const Way kWays[] = {Way::OverItsText, Way::AfterItsText};
const char* NameOf(Way way) { return way == Way::OverItsText ? "over its text" : "after its text"; }

class TypingTest : public MainWindowTest {
protected:
    // Tabbed or clicked into.
    static HWND Focused(HWND edit) {
        testsupport::FocusAsPerson(edit);
        return edit;
    }
    HWND Date(int id) const { return Control(ids::kPageDateAndSize, id); }
    static void Choose(HWND combo, int index) {
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Notify(combo, CBN_SELCHANGE);
    }
    // The date row's period box, shown and enabled: Date and the row checked, a range of "Newer than" in days.
    HWND PeriodBox(int row) {
        SelectPage(2);
        SetChecked(ids::kPageDateAndSize, ids::kDateSelect, true);
        SetChecked(ids::kPageDateAndSize, ids::DateRowId(row, ids::kRowSelect), true);
        Choose(Date(ids::DateRowId(row, ids::kRowRange)), engine::drNewerThen);
        Choose(Date(ids::DateRowId(row, ids::kRowDelay)), engine::ddDays);
        return Date(ids::DateRowId(row, ids::kRowPeriodDelay));
    }
    HWND SizeBox(int id) {
        SelectPage(2);
        SetChecked(ids::kPageDateAndSize, ids::kSizeSelect, true);
        Choose(Date(ids::kSizeRange), engine::srBetween);
        return Date(id);
    }
    // Clicks on the search path's arrow and on an entry of the list it drops.
    HWND PickFromPathList(int entry) {
        const HWND box = Control(ids::kPageFilesAndFolders, ids::kSearchPath);
        RECT bounds{};
        GetClientRect(box, &bounds);
        testsupport::ClickAt(box, {bounds.right - GetSystemMetrics(SM_CXVSCROLL) / 2, bounds.top + 8});
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        GetComboBoxInfo(reinterpret_cast<HWND>(SendMessageW(box, CBEM_GETCOMBOCONTROL, 0, 0)), &info);
        RECT item{};
        SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(entry), reinterpret_cast<LPARAM>(&item));
        testsupport::ClickAt(info.hwndList, {item.left + 40, (item.top + item.bottom) / 2});
        EXPECT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), entry);
        return PathEdit();
    }
    HWND FindValueBox() {
        window->Actions().Execute(ids::actACTIONFindInResults);
        return GetDlgItem(window->FindInResults()->hwnd(), ui::TfrmKvrFindInResults::kValue);
    }

    // A search of a folder of its own with one row selected: what the file actions' prompts need.
    void ListOneFile() {
        MakeFiles(files_.Path(), {L"notes.txt"});
        TypeMask(L"*");
        TypePath(files_.Path());
        ClickSearch();
        ASSERT_EQ(Rows().size(), 1u);
        SelectFirstRow();
    }
    // The dialog the program waits on: a shown dialog of this thread other than the find window.
    HWND WaitingDialog() const {
        const HWND find = window->FindInResults() ? window->FindInResults()->hwnd() : nullptr;
        return testsupport::FindDialogOf(GetCurrentThreadId(), find);
    }

    testsupport::TempFolder files_;
};

} // namespace

TEST_F(TypingTest, EveryBoxOfTheWindowsKeepsEachKeyTyped) {
    struct Box {
        const char* name;
        // The box's edit in a window as it starts, with the focus where the person's steps to it left it.
        std::function<HWND()> reach;
        std::wstring typed, appended;
    };
    // The number boxes take digits only.
    const Box boxes[] = {
        {"File Name", [this] { return Focused(EditOf(MaskBox())); }, L"*.t?t", L";a*"},
        {"Search Path showing Everywhere", [this] { return Focused(PathEdit()); }, L"Z:\\tmp", L"\\xyz"},
        {"Search Path showing the folder searched",
         [this] {
             TypePath(files_.Path());
             ClickSearch();
             return Focused(PathEdit());
         },
         L"C:\\", L"tmp"},
        {"Search Path showing an entry picked from its list", [this] { return PickFromPathList(1); }, L"N:\\",
         L"x"},
        {"Search Text", [this] { SelectPage(1); return Focused(EditOf(TextBox())); }, L"Some Words", L" more"},
        {"Size larger than", [this] { return Focused(SizeBox(ids::kSizeLargerValue)); }, L"42", L"7"},
        {"Size smaller than", [this] { return Focused(SizeBox(ids::kSizeSmallerValue)); }, L"512", L"0"},
        {"Date Modified's period", [this] { return Focused(PeriodBox(engine::dtModified)); }, L"30", L"5"},
        {"Date Creation's period", [this] { return Focused(PeriodBox(engine::dtCreation)); }, L"12", L"1"},
        {"Date Last Access's period", [this] { return Focused(PeriodBox(engine::dtLastAccess)); }, L"7", L"0"},
        {"Find Value", [this] { return Focused(FindValueBox()); }, L"alpha", L" 2"},
    };
    for (const Box& box : boxes) {
        for (const Way way : kWays) {
            SCOPED_TRACE(testing::Message() << box.name << ", " << NameOf(way));
            OpenFresh();
            const HWND edit = box.reach();
            ASSERT_TRUE(IsWindowVisible(edit) && IsWindowEnabled(edit));
            const std::wstring shown = WindowText(edit);
            if (way == Way::OverItsText) {
                testsupport::PressKeys({VK_CONTROL, 'A'});
                testsupport::TypeKeys(box.typed);
                ExpectTyped(edit, box.typed);
            } else {
                testsupport::FocusAsPerson(List());
            }
            const std::wstring before = way == Way::OverItsText ? box.typed : shown;
            testsupport::ClickAt(edit, EndOfText(edit));
            testsupport::TypeKeys(box.appended);
            ExpectTyped(edit, before + box.appended);
        }
    }
}

TEST_F(TypingTest, EveryBoxOfThePromptsAndDialogsKeepsEachKeyTyped) {
    struct Box {
        const char* name;
        int command;                             // the action that opens it, with one file listed and selected
        std::function<HWND(HWND dialog)> reach;  // the box, as a person reaches it in the open dialog
        std::wstring typed, appended;
    };
    const auto folderBox = [](HWND dialog) { return GetDlgItem(dialog, TfrmKvrSelectFolder::kFolder); };
    const Box boxes[] = {
        {"Move to Folder's folder", ids::actEDITMoveToFolder, folderBox, L"C:\\moved", L"\\here"},
        {"Copy to Folder's folder", ids::actEDITCopyToFolder, folderBox, L"C:\\copies", L"\\2"},
        {"Create Shortcut's folder", ids::actEDITCreateShortcut,
         [folderBox](HWND dialog) {
             testsupport::ClickAsPerson(GetDlgItem(dialog, TfrmKvrSelectFolder::kInSelectedFolder));
             return folderBox(dialog);
         },
         L"C:\\links", L"\\new"},
        {"Rename's new name", ids::actEDITRename,
         [](HWND dialog) { return FindWindowExW(dialog, nullptr, WC_EDITW, nullptr); }, L"renamed.txt", L".bak"},
        {"Options' export folder", ids::actSETTINGSOptions,
         [](HWND dialog) { return Descendant(dialog, ui::TfrmKvrOptions::idEXPSelectedFolder); }, L"C:\\exports",
         L"\\csv"},
    };
    interaction.realPrompts = true;
    for (const Box& box : boxes) {
        for (const Way way : kWays) {
            SCOPED_TRACE(testing::Message() << box.name << ", " << NameOf(way));
            Open();
            ListOneFile();
            // The Options dialog opens on its export folder: one chosen shows in the box.
            app::GlobalApplicationInit->Options.Exports.OutputFolder = app::eofSelected;
            app::GlobalApplicationInit->Options.Exports.FolderSelected = L"C:\\reports";
            HWND edit = nullptr;
            std::wstring before;
            // The person's steps run inside the dialog's own loop; each step's keys and clicks are handled by
            // that loop before the next step.
            testsupport::PersonSteps person({
                [&] {
                    const HWND dialog = WaitingDialog();
                    if (!dialog) return false;
                    edit = box.reach(dialog);
                    before = way == Way::OverItsText ? box.typed : WindowText(edit);
                    if (way == Way::OverItsText) {
                        // Tabbed into: the dialog manager moves the focus.
                        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
                        testsupport::QueueChord({VK_CONTROL, 'A'});
                        testsupport::QueueKeys(box.typed);
                    } else {
                        testsupport::QueueClick(edit, EndOfText(edit));
                        testsupport::QueueKeys(box.appended);
                    }
                    return true;
                },
                [&] {
                    if (way == Way::OverItsText) {
                        ExpectTyped(edit, box.typed);
                        testsupport::QueueClick(edit, EndOfText(edit));
                        testsupport::QueueKeys(box.appended);
                    }
                    return true;
                },
                [&] {
                    ExpectTyped(edit, before + box.appended);
                    testsupport::QueueChord({VK_ESCAPE});
                    return true;
                },
            });
            SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(box.command, 0), 0);
            EXPECT_TRUE(person.Done());
            EXPECT_FALSE(WaitingDialog()) << "Escape closed it";
        }
    }
}

// The search-path box typed over its "Everywhere" at a first start: the search runs in the folder typed, and the
// recent list keeps that folder.
TEST_F(TypingTest, ASearchPathTypedOverEverywhereIsSearchedAndKept) {
    MakeFiles(files_.Path(), {L"a.txt", L"b.log"});
    OpenFresh();
    ASSERT_EQ(WindowText(PathEdit()), L"Everywhere");
    testsupport::FocusAsPerson(PathEdit());
    testsupport::PressKeys({VK_CONTROL, 'A'});
    testsupport::TypeKeys(files_.Path());
    ClickSearch();
    for (const testsupport::AskedMessage& asked : interaction.asked) ADD_FAILURE() << kit::WideToUtf8(asked.text);
    std::vector<std::wstring> names;
    for (const Row& row : Rows()) {
        EXPECT_EQ(row.folder, files_.Path());
        names.push_back(row.name);
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a.txt", L"b.log"}));
    EXPECT_EQ(app::GlobalApplicationInit->MRUItems.SearchFolders.FolderValue.Items,
              std::vector<std::wstring>{files_.Path()});
}
