// While the program waits on a person (a prompt, a message, the shell's question or error, the save dialog, the
// folder browser, a pop-up menu, the menu bar, a dialog of its own), the other inputs a person or the program may
// give (the find window's buttons and list, the cut-refresh tick, Reset, Search, the Del key, a second command, a
// drag, a close) change nothing; once the wait is over the action has worked on the file chosen when it started,
// and the close comes. After each wait the keys go to the control that had them, and with the find window open the
// wait's window stands above it. And from Search pressed to the end of its run, Reset and Find in Results are
// refused.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <ostream>

#include "kit/Files.h"
#include "kit/MessageLoop.h"
#include "kit/Strings.h"
#include "results/listview/ResultListView.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/Keyboard.h"
#include "tests/support/MenuPick.h"
#include "tests/support/Person.h"
#include "tests/support/RealDrag.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ControlIds.h"
#include "ui/FKvrFindInResults.h"
#include "ui/FKvrSelectFolder.h"

using namespace uitest;
using testsupport::ClickAsPerson;
using testsupport::PersonSteps;
using testsupport::Reachable;
using ui::TfrmKvrFindInResults;
using ui::TfrmKvrSelectFolder;
namespace ids = ui::ids;
using Paths = std::vector<std::wstring>;

namespace {

// What the person sees, and what a waiting action would work on.
struct Look {
    Paths rows;
    std::wstring selected;
    std::wstring mask, path;
    int match = -1;  // the find window's current line
    Paths tree, pasted;  // the files on disk
    friend bool operator==(const Look&, const Look&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Look& look) {
        const auto list = [&](const char* what, const Paths& paths) {
            out << what << ":";
            for (const std::wstring& path : paths) out << " " << kit::WideToUtf8(path);
            out << "\n";
        };
        list("rows", look.rows);
        out << "selected: " << kit::WideToUtf8(look.selected) << "\nmask: " << kit::WideToUtf8(look.mask)
            << "\npath: " << kit::WideToUtf8(look.path) << "\nmatch: " << look.match << "\n";
        list("tree", look.tree);
        list("pasted", look.pasted);
        return out;
    }
};

class ModalWaitsTest : public MainWindowTest {
protected:
    // In a folder of its own: alpha.txt, alpha2.log, beta.txt and gamma.txt listed; beta.txt cut and then moved
    // away, as a paste elsewhere does (its row waits for the cut refresh, whose ticks the test gives); the find
    // window open on "alpha", the list on its first match: the file the person chooses.
    void Scene(const std::wstring& name) {
        tree_ = root_ / (name + L"\\");
        pasted_ = root_ / (name + L" pasted\\");
        MakeFiles(tree_, {L"alpha.txt", L"alpha2.log", L"beta.txt", L"gamma.txt"});
        kit::ForceDirectories(pasted_);
        Open();
        TypeMask(L"*");
        TypePath(tree_);
        ClickSearch();
        ASSERT_EQ(Rows().size(), 4u);

        SelectPath(Beta());
        ASSERT_TRUE(window->Actions().Execute(ids::actEDITCut));
        KillTimer(List(), results::TResultListView::CutRefreshTimer);
        ASSERT_TRUE(MoveFileW(Beta().c_str(), (pasted_ + L"beta.txt").c_str()));

        window->Actions().Execute(ids::actACTIONFindInResults);
        SendMessageW(FindControl(TfrmKvrFindInResults::kValue), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"alpha"));
        chosen_ = SelectedPath();
        ASSERT_TRUE(kit::StartsWithText(kit::ExtractFileName(chosen_), L"alpha"));
        other_ = kit::ExtractFileName(chosen_) == L"alpha.txt" ? tree_ + L"alpha2.log" : tree_ + L"alpha.txt";
    }
    std::wstring Beta() const { return tree_ + L"beta.txt"; }

    HWND Find() const { return window->FindInResults() ? window->FindInResults()->hwnd() : nullptr; }
    HWND FindControl(int id) const { return GetDlgItem(Find(), id); }
    // The dialog the program waits on: a shown dialog of this thread other than the find window.
    HWND WaitingDialog() const { return testsupport::FindDialogOf(GetCurrentThreadId(), Find()); }
    static bool MenuShown() {
        const HWND menu = FindWindowW(L"#32768", nullptr);
        return menu && IsWindowVisible(menu);
    }

    Paths RowPaths() const {
        Paths paths;
        for (const Row& row : Rows()) paths.push_back(row.folder + row.name);
        return paths;
    }
    int RowOf(const std::wstring& path) const {
        const Paths paths = RowPaths();
        const auto found = std::find(paths.begin(), paths.end(), path);
        return found == paths.end() ? -1 : static_cast<int>(found - paths.begin());
    }
    void SelectPath(const std::wstring& path) { kit::SelectListItem(List(), RowOf(path)); }
    std::wstring SelectedPath() const {
        const auto item =
            static_cast<int>(SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        return item < 0 ? std::wstring() : RowPaths()[static_cast<size_t>(item)];
    }
    RECT RowBounds(int row) const {
        RECT item{};
        item.left = LVIR_LABEL;
        SendMessageW(List(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return item;
    }
    Look Seen() const {
        const HWND matches = FindControl(TfrmKvrFindInResults::kResults);
        return {RowPaths(), SelectedPath(), WindowText(MaskBox()), WindowText(PathEdit()),
                static_cast<int>(SendMessageW(matches, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)),
                testsupport::FolderEntries(tree_), testsupport::FolderEntries(pasted_)};
    }

    // The cut refresh's tick, as its timer gives it.
    void Tick() const { SendMessageW(List(), WM_TIMER, results::TResultListView::CutRefreshTimer, 0); }
    void Command(int id) const { SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void DoubleClickRow(int row) const {
        const RECT item = RowBounds(row);
        SendMessageW(List(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(item.left + 8, (item.top + item.bottom) / 2));
    }
    void RightClickRow(int row) const {
        const RECT item = RowBounds(row);
        POINT at{item.left + 8, (item.top + item.bottom) / 2};
        ClientToScreen(List(), &at);
        SendMessageW(List(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List()), MAKELPARAM(at.x, at.y));
    }
    // The list begins a drag of the chosen row, as it does when the button goes down on it and the mouse moves
    // away (a person's mouse cannot reach it meanwhile: the drag's start is what the test checks); a drag that ran
    // would end at once.
    void TryDrag() const {
        const RECT item = RowBounds(RowOf(chosen_));
        POINT at{item.left + 8, (item.top + item.bottom) / 2};
        ClientToScreen(List(), &at);
        SetCursorPos(at.x, at.y);
        testsupport::SetDragKeys(true);
        {
            testsupport::DragScript release({{100, [] { testsupport::SetDragKeys(false); }}});
            NMLISTVIEW begin{};
            begin.hdr = {List(), static_cast<UINT_PTR>(ids::kResultList), static_cast<UINT>(LVN_BEGINDRAG)};
            begin.iItem = RowOf(chosen_);
            SendMessageW(Main(), WM_NOTIFY, ids::kResultList, reinterpret_cast<LPARAM>(&begin));
            EXPECT_FALSE(release.Done()) << "no drag loop ran";
        }
        testsupport::SetDragKeys(false);
    }

    // While a wait is open: every other input, each as it would come, and then (its posted part dispatched by the
    // wait's loop) nothing has changed. The find window is off meanwhile.
    void SendOtherInputs() {
        const Look before = Seen();
        EXPECT_FALSE(IsWindowEnabled(Find())) << "the find window is off";
        ClickAsPerson(FindControl(TfrmKvrFindInResults::kNext));
        ClickAsPerson(FindControl(TfrmKvrFindInResults::kPrior));
        if (Reachable(FindControl(TfrmKvrFindInResults::kResults)))
            SendMessageW(FindControl(TfrmKvrFindInResults::kResults), LVM_SETITEMSTATE, 1,
                         reinterpret_cast<LPARAM>(&kSelectedItem));
        Tick();
        ClickAsPerson(GetDlgItem(Main(), ids::kResetButton));
        ClickAsPerson(GetDlgItem(Main(), ids::kSearchPause));
        SendMessageW(List(), WM_KEYDOWN, VK_DELETE, 0);
        PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(ids::actEDITRemoveFromList, 0), 0);
        PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(ids::actACTIONReset, 0), 0);
        PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(ids::actACTIONSearch, 0), 0);
        TryDrag();
        PostMessageW(Main(), WM_CLOSE, 0, 0);
        kit::ProcessMessagesNow();
        EXPECT_TRUE(IsWindow(Main())) << "the close waits";
        EXPECT_EQ(Seen(), before);
        ++inputsSent_;
    }
    // A person's step: once a dialog waits, the other inputs, then `answer` on it.
    std::function<bool()> AtDialog(std::function<void(HWND)> answer) {
        return [this, answer] {
            const HWND dialog = WaitingDialog();
            if (!dialog) return false;
            SendOtherInputs();
            answer(dialog);
            return true;
        };
    }
    // Runs the person's steps while `start` runs the action, and sends the other inputs at every question the
    // seam is asked; then the wait has ended: the find window is on again, and the close comes.
    void Run(const std::function<void()>& start, std::vector<std::function<bool()>> steps) {
        interaction.whileAsked = [this] { SendOtherInputs(); };
        PersonSteps person(std::move(steps));
        start();
        // One message at a time: the close that waited comes next, after the checks.
        const DWORD began = GetTickCount();
        while (!person.Done() && GetTickCount() - began < 5000) {
            MSG msg;
            if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            else MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        interaction.whileAsked = nullptr;
        EXPECT_TRUE(person.Done());
        EXPECT_GT(inputsSent_, 0) << "a wait was open";
        EXPECT_TRUE(IsWindowEnabled(Find())) << "on again";
    }
    void ExpectClosedNow() {
        const HWND main = Main();
        testsupport::PumpUntil([&] { return !IsWindow(main); });
        EXPECT_FALSE(IsWindow(main)) << "the close came once the wait was over";
    }

    // What the cases before asked and were answered is forgotten.
    void ForgetAnswers() {
        interaction.asked.clear();
        interaction.promptAnswers.clear();
        interaction.folderAnswers.clear();
        interaction.shellRequests.clear();
        interaction.shellResult = 42;
        interaction.menus.clear();
        interaction.realMenus = false;
        interaction.realPrompts = false;
        interaction.realSaveDialog = false;
        inputsSent_ = 0;
    }

    static inline const LVITEMW kSelectedItem{.state = LVIS_SELECTED | LVIS_FOCUSED,
                                              .stateMask = LVIS_SELECTED | LVIS_FOCUSED};
    testsupport::SavedDragKeys savedKeys_;
    testsupport::TempFolder root_;
    std::wstring tree_, pasted_;
    std::wstring chosen_, other_;
    int inputsSent_ = 0;
};

void PressOk(HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); }


void SetFolderText(HWND prompt, const std::wstring& folder) {
    SendMessageW(GetDlgItem(prompt, TfrmKvrSelectFolder::kFolder), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(folder.c_str()));
}

} // namespace

TEST_F(ModalWaitsTest, NothingChangesUnderAWaitAndTheActionWorksOnTheFileChosen) {
    struct Case {
        const char* name;
        std::function<void()> run;    // the person's choice and answers, with the other inputs meanwhile
        std::function<void()> check;  // once the wait is over
    };
    const auto chosenLeft = [this] {
        EXPECT_FALSE(testsupport::FileExists(chosen_));
        EXPECT_EQ(RowOf(chosen_), -1) << "its row left";
        EXPECT_TRUE(testsupport::FileExists(other_));
        EXPECT_NE(RowOf(other_), -1);
    };
    const auto renamed = [this] {
        EXPECT_TRUE(testsupport::FileExists(tree_ + L"renamed.txt"));
        EXPECT_FALSE(testsupport::FileExists(chosen_));
        EXPECT_TRUE(testsupport::FileExists(other_));
        EXPECT_NE(RowOf(tree_ + L"renamed.txt"), -1);
    };
    const auto unchanged = [this] {
        EXPECT_TRUE(testsupport::FileExists(chosen_));
        EXPECT_EQ(SelectedPath(), chosen_);
    };
    const Case cases[] = {
        // The find window's Next moved the selection under the prompt, and Move took the file it then named.
        {"Move to Folder's prompt",
         [this] {
             Run([this] { Command(ids::actEDITMoveToFolder); }, {AtDialog([&](HWND prompt) {
                       SetFolderText(prompt, pasted_);
                       PressOk(prompt);
                   })});
         },
         [this] {
             EXPECT_TRUE(testsupport::FileExists(pasted_ + kit::ExtractFileName(chosen_)));
             EXPECT_FALSE(testsupport::FileExists(chosen_));
             EXPECT_TRUE(testsupport::FileExists(other_));
         }},
        {"Copy to Folder's prompt",
         [this] {
             Run([this] { Command(ids::actEDITCopyToFolder); }, {AtDialog([&](HWND prompt) {
                       SetFolderText(prompt, pasted_);
                       PressOk(prompt);
                   })});
         },
         [this] {
             EXPECT_EQ(testsupport::FolderEntries(pasted_), (Paths{kit::ExtractFileName(chosen_), L"beta.txt"}));
         }},
        {"Create Shortcut's prompt",
         [this] {
             Run([this] { Command(ids::actEDITCreateShortcut); }, {AtDialog([](HWND prompt) {
                       SendMessageW(GetDlgItem(prompt, TfrmKvrSelectFolder::kInSourceFolder), BM_CLICK, 0, 0);
                       PressOk(prompt);
                   })});
         },
         [this] {
             EXPECT_TRUE(testsupport::FileExists(tree_ + L"Shortcut to " + kit::ExtractFileName(chosen_) + L".lnk"));
             EXPECT_FALSE(testsupport::FileExists(tree_ + L"Shortcut to " + kit::ExtractFileName(other_) + L".lnk"));
         }},
        // The selection moved under the shell's question, and Delete dropped the row the selection then named.
        {"Delete's question of the shell",
         [this] {
             Run([this] { Command(ids::actEDITDelete); },
                   {AtDialog([](HWND question) { PostMessageW(question, WM_COMMAND, IDYES, 0); })});
         },
         chosenLeft},
        // The cut tick inside the menu dropped the gone row, cleared the selection and selected the rows still cut:
        // the menu's Delete then deleted another file, or nothing.
        {"the shell's context menu, then Delete's question",
         [this] {
             interaction.realMenus = true;
             Run([this] { RightClickRow(RowOf(chosen_)); },
                   {[&] {
                        if (!MenuShown()) return false;
                        SendOtherInputs();
                        const testsupport::AskedMenu& menu = interaction.menus.back();
                        for (const auto& item : menu.items) {
                            if (item.separator) continue;
                            PostMessageW(menu.owner, WM_KEYDOWN, VK_DOWN, 0);
                            if (testsupport::Plain(item.text) == L"Delete") break;
                        }
                        PostMessageW(menu.owner, WM_KEYDOWN, VK_RETURN, 0);
                        return true;
                    },
                    AtDialog([](HWND question) { PostMessageW(question, WM_COMMAND, IDYES, 0); })});
         },
         chosenLeft},
        {"the menu bar's Edit menu, then Delete's question",
         [this] {
             Run([this] { PostMessageW(Main(), WM_SYSCOMMAND, SC_KEYMENU, 'e'); },
                   {[&] {
                        if (!MenuShown()) return false;
                        SendOtherInputs();
                        // Undo and Redo are hidden: Cut, Copy, Copy to Folder, Move to Folder, Create Shortcut, Delete.
                        for (int i = 0; i < 5; ++i) PostMessageW(Main(), WM_KEYDOWN, VK_DOWN, 0);
                        PostMessageW(Main(), WM_KEYDOWN, VK_RETURN, 0);
                        return true;
                    },
                    AtDialog([](HWND question) { PostMessageW(question, WM_COMMAND, IDYES, 0); })});
         },
         chosenLeft},
        // The shell's error box after a failed Open let the cut tick free the row that Play then read.
        {"Open's error of the shell, on the cut row",
         [this] {
             chosen_ = Beta();
             interaction.shellResult = SE_ERR_FNF;
             Run([this] { DoubleClickRow(RowOf(Beta())); }, {});
         },
         [this] {
             ASSERT_EQ(interaction.shellRequests.size(), 2u);
             for (const auto& asked : interaction.shellRequests)
                 EXPECT_EQ(asked.request.directory + asked.request.file, Beta());
         }},
        {"Rename's prompt",
         [this] {
             interaction.promptAnswers = {L"renamed.txt"};
             Run([this] { Command(ids::actEDITRename); }, {});
         },
         renamed},
        {"Rename's warning, then its prompt again",
         [this] {
             interaction.promptAnswers = {kit::ExtractFileName(other_), L"renamed.txt"};
             Run([this] { Command(ids::actEDITRename); }, {});
             EXPECT_EQ(interaction.asked.size(), 1u);
         },
         renamed},
        {"the save dialog of Export",
         [this] { Run([this] { Command(ids::actFILEExportResults); }, {}); },
         unchanged},
        {"the folder browser of Browse",
         [this] {
             interaction.folderAnswers = {pasted_};
             Run([this] { Command(ids::actFILEBrowse); }, {});
         },
         [this] { EXPECT_EQ(WindowText(PathEdit()), pasted_); }},
        {"the Options dialog",
         [this] {
             Run([this] { Command(ids::actSETTINGSOptions); },
                   {AtDialog([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); })});
         },
         unchanged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scene(std::to_wstring(&c - cases));
        ForgetAnswers();
        c.run();
        c.check();
        // The cut refresh that waited: beta's row leaves now.
        Tick();
        EXPECT_EQ(RowOf(Beta()), -1);
        ExpectClosedNow();
    }
}

TEST_F(ModalWaitsTest, AfterEachWaitTheKeysGoToTheListAgainAndNoWaitOpensUnderTheFindWindow) {
    struct Case {
        const char* name;
        std::function<void()> start;
        std::function<void()> close;  // the person's answer once the wait's window is open: nothing chosen
    };
    const auto escape = [] { testsupport::QueueChord({VK_ESCAPE}); };
    const Case cases[] = {
        {"Move to Folder's prompt", [this] { Command(ids::actEDITMoveToFolder); }, escape},
        {"Rename's prompt", [this] {
             interaction.realPrompts = true;
             Command(ids::actEDITRename);
         }, escape},
        {"Delete's question of the shell", [this] { Command(ids::actEDITDelete); }, escape},
        {"the save dialog of Export", [this] {
             interaction.realSaveDialog = true;
             Command(ids::actFILEExportResults);
         }, escape},
        {"the Options dialog", [this] { Command(ids::actSETTINGSOptions); }, escape},
        {"the shell's context menu", [this] {
             interaction.realMenus = true;
             RightClickRow(RowOf(chosen_));
         }, escape},
        {"the menu bar's Edit menu", [this] { PostMessageW(Main(), WM_SYSCOMMAND, SC_KEYMENU, 'e'); },
         [] {
             testsupport::QueueChord({VK_ESCAPE});  // the Edit menu closes
             testsupport::QueueChord({VK_ESCAPE});  // and the menu bar
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scene(L"focus " + std::to_wstring(&c - cases));
        ForgetAnswers();
        testsupport::FocusAsPerson(List());
        const int row = RowOf(chosen_);
        ASSERT_EQ(GetFocus(), List());
        bool above = false;
        PersonSteps person({[&] {
            const HWND waiting = MenuShown() ? FindWindowW(L"#32768", nullptr) : WaitingDialog();
            if (!waiting) return false;
            above = testsupport::StandsAbove(waiting, Find());
            c.close();
            return true;
        }});
        c.start();
        testsupport::PumpUntil([&] { return person.Done(); });
        testsupport::RunPendingInput();
        EXPECT_TRUE(person.Done()) << "the wait's window opened";
        EXPECT_TRUE(above) << "above the find window";
        EXPECT_TRUE(testsupport::FileExists(chosen_)) << "answered with nothing chosen";
        EXPECT_TRUE(GetWindowLongPtrW(Find(), GWL_EXSTYLE) & WS_EX_TOPMOST) << "which is on top again";
        EXPECT_EQ(GetFocus(), List());
        testsupport::PressKeys({VK_DOWN});
        EXPECT_EQ(SelectedPath(), RowPaths()[static_cast<size_t>(row + 1)]) << "the Down key moved the selection";
    }
}

// The window menu opened by a right click on the caption waits on the person as the menu bar does: the find window
// is off and the cut refresh waits until it closes.
TEST_F(ModalWaitsTest, TheCaptionsWindowMenuIsAWait) {
    Scene(L"caption");
    RECT frame{};
    GetWindowRect(Main(), &frame);
    const POINT caption{(frame.left + frame.right) / 2,
                        frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
    ASSERT_EQ(SendMessageW(Main(), WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
    bool findOff = false;
    int betaRow = -1;
    PersonSteps person({[&] {
        if (!MenuShown()) return false;
        findOff = !IsWindowEnabled(Find());
        Tick();
        betaRow = RowOf(Beta());
        testsupport::QueueChord({VK_ESCAPE});
        return true;
    }});
    POINT client = caption;
    ScreenToClient(Main(), &client);  // above the client area: the click lands on the caption
    testsupport::RightClickAt(Main(), client);
    testsupport::PumpUntil([&] { return person.Done() && !MenuShown(); });
    EXPECT_TRUE(person.Done()) << "the window menu opened";
    EXPECT_TRUE(findOff);
    EXPECT_NE(betaRow, -1) << "no row dropped under the menu";
    EXPECT_TRUE(IsWindowEnabled(Find()));
    Tick();
    EXPECT_EQ(RowOf(Beta()), -1);
}

TEST_F(ModalWaitsTest, FromSearchPressedToTheEndOfItsRunResetAndFindInResultsAreRefused) {
    MakeFiles(root_.Path(), {L"a.txt", L"b.log"});
    Open();
    TypeMask(L"*");
    TypePath(root_.Path());
    ClickSearch();
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(Main(), ids::kResetButton)));
    // A click and a command that come in the run's first moment, before its walk.
    TypeMask(L"*.log");
    PostMessageW(GetDlgItem(Main(), ids::kResetButton), BM_CLICK, 0, 0);
    PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(ids::actACTIONFindInResults, 1), 0);
    ClickSearch();
    EXPECT_EQ(WindowText(MaskBox()), L"*.log");
    const std::vector<Row> rows = Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, L"b.log");
    EXPECT_FALSE(Find() && IsWindowVisible(Find())) << "no find window opened during the run";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Main(), ids::kResetButton))) << "on again after the run";
}
