// The destination prompts of the result list, driven as a person would from a second thread: the folder typed or
// chosen, OK allowed or not, the browser (scripted, and once the system's own), and the owner they get in the
// program.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <optional>
#include <string>

#include "app/ShellNamespace.h"
#include "kit/Files.h"
#include "kit/Scope.h"
#include "kit/Strings.h"
#include "results/listview/ResultListView.h"
#include "tests/support/AccessKeys.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/FKvrSelectFolder.h"

using testsupport::FocusOf;
using testsupport::ShowWithPerson;
using testsupport::TextOf;
using testsupport::WaitUntil;
using ui::TfrmKvrSelectFolder;
using uitest::MainWindowTest;
using Page = TfrmKvrSelectFolder::TPage;

namespace {

struct Answer {
    int result = 0;
    std::wstring folder;
};

// Shows the prompt of `page` the way the result list asks it, starting at `folder`; `person` answers it.
Answer Prompt(Page page, const std::wstring& folder, const std::function<void(HWND dialog)>& person) {
    Answer answer{0, folder};
    ShowWithPerson(
        [&] {
            answer.result = page == Page::CutCopy
                                ? ui::SelectFolder(nullptr, L"Copy to Folder", L"Destination Folder", answer.folder)
                                : ui::SelectShortcutFolder(nullptr, L"Create Shortcut", L"On the Desktop",
                                                           L"In Source Folder", answer.folder, L"in Selected Folder");
        },
        person);
    return answer;
}

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(Item(dialog, id)) != FALSE; }
void SetFolderText(HWND dialog, const std::wstring& text) {
    SendMessageW(Item(dialog, TfrmKvrSelectFolder::kFolder), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
// OK as a person may try it even when the button is disabled (Enter on a sneaky default), then Cancel: the prompt
// ends with whichever it accepts first.
void TryOkThenCancel(HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

class SelectFolderTest : public testing::Test {
protected:
    SelectFolderTest() {
        kit::ForceDirectories(existing_);
        kit::ForceDirectories(root_ / L"Sub");
        testsupport::WriteBytes(file_, "x");
    }

    testsupport::TempFolder root_;
    const std::wstring existing_ = root_ / L"Target";
    const std::wstring file_ = root_ / L"file.txt";
};

} // namespace

TEST_F(SelectFolderTest, OkNeedsAnExistingFullyQualifiedFolderOrAPlaceThatNeedsNone) {
    // A relative name that exists under the current directory must not count.
    wchar_t previous[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(root_.Path().c_str());
    const kit::ScopeExit restore([&] { SetCurrentDirectoryW(previous); });
    const std::wstring desktop = app::GetSpecialFolderPath(CSIDL_DESKTOPDIRECTORY);
    ASSERT_FALSE(desktop.empty());

    struct Case {
        const char* name;
        Page page;
        int choice;  // the radio button clicked; 0: none
        std::optional<std::wstring> typed;
        bool ok;
        std::wstring folder;  // the answer after OK
    };
    const Case cases[] = {
        {"empty", Page::CutCopy, 0, L"", false, L""},
        {"missing", Page::CutCopy, 0, existing_ + L"\\missing", false, L""},
        {"relative", Page::CutCopy, 0, L"Sub", false, L""},
        {"drive-relative", Page::CutCopy, 0, root_.Path().substr(0, 2) + L"Sub", false, L""},
        {"a file", Page::CutCopy, 0, file_, false, L""},
        {"an existing folder", Page::CutCopy, 0, existing_, true, existing_},
        {"with its separator", Page::CutCopy, 0, existing_ + L"\\", true, existing_ + L"\\"},
        {"on the desktop", Page::CreateShortcut, 0, std::nullopt, true, desktop},
        {"in each source folder", Page::CreateShortcut, TfrmKvrSelectFolder::kInSourceFolder, std::nullopt, true,
         L""},
        {"selected, empty", Page::CreateShortcut, TfrmKvrSelectFolder::kInSelectedFolder, L"", false, L""},
        {"selected, missing", Page::CreateShortcut, TfrmKvrSelectFolder::kInSelectedFolder, existing_ + L"\\missing",
         false, L""},
        {"selected, relative", Page::CreateShortcut, TfrmKvrSelectFolder::kInSelectedFolder, L"Sub", false, L""},
        {"selected, a file", Page::CreateShortcut, TfrmKvrSelectFolder::kInSelectedFolder, file_, false, L""},
        {"selected, an existing folder", Page::CreateShortcut, TfrmKvrSelectFolder::kInSelectedFolder, existing_,
         true, existing_},
        {"typed, then the desktop", Page::CreateShortcut, TfrmKvrSelectFolder::kOnDesktop, existing_, true, desktop},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool okEnabled = !c.ok;
        const Answer answer = Prompt(c.page, L"start", [&](HWND dialog) {
            ASSERT_TRUE(dialog);
            // Typed first, so a click on another place afterwards shows that its choice wins.
            if (c.typed) {
                if (c.page == Page::CreateShortcut)
                    SendMessageW(Item(dialog, TfrmKvrSelectFolder::kInSelectedFolder), BM_CLICK, 0, 0);
                SetFolderText(dialog, *c.typed);
            }
            if (c.choice) SendMessageW(Item(dialog, c.choice), BM_CLICK, 0, 0);
            okEnabled = Enabled(dialog, IDOK);
            TryOkThenCancel(dialog);
        });
        EXPECT_EQ(okEnabled, c.ok);
        EXPECT_EQ(answer.result, c.ok ? IDOK : IDCANCEL);
        EXPECT_EQ(answer.folder, c.ok ? c.folder : L"start");
    }
}

TEST_F(SelectFolderTest, TheCopyPromptOpensOnItsFolderWithCancelForEnter) {
    std::wstring title, prompt, text;
    bool editFocused = false, okEnabled = false;
    int defaultId = 0;
    RECT window{};
    std::vector<std::wstring> clashes{L"not looked at"};
    const Answer answer = Prompt(Page::CutCopy, existing_, [&](HWND dialog) {
        ASSERT_TRUE(dialog);
        title = TextOf(dialog);
        prompt = TextOf(Item(dialog, TfrmKvrSelectFolder::kPrompt));
        text = TextOf(Item(dialog, TfrmKvrSelectFolder::kFolder));
        editFocused = FocusOf(dialog) == Item(dialog, TfrmKvrSelectFolder::kFolder);
        okEnabled = Enabled(dialog, IDOK);
        defaultId = LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0));
        GetWindowRect(dialog, &window);
        clashes = testsupport::AccessKeyClashes(dialog);
        testsupport::PostKeyToFocus(dialog, VK_RETURN);
    });
    EXPECT_EQ(title, L"Copy to Folder");
    EXPECT_EQ(prompt, L"Destination Folder");
    EXPECT_EQ(text, existing_);
    EXPECT_TRUE(editFocused);
    EXPECT_TRUE(okEnabled);
    EXPECT_EQ(defaultId, IDCANCEL);
    EXPECT_EQ(window.right - window.left, 490);
    EXPECT_EQ(window.bottom - window.top, 152);
    EXPECT_TRUE(clashes.empty());
    EXPECT_EQ(answer.result, IDCANCEL);  // Enter
    EXPECT_EQ(answer.folder, existing_);
}

TEST_F(SelectFolderTest, TheShortcutPromptOffersTheFolderEditOnlyForASelectedFolder) {
    struct State {
        bool editEnabled, browseEnabled, editFocused;
    };
    std::vector<State> states;
    std::vector<std::wstring> choices, clashes{L"not looked at"};
    bool desktopChecked = false;
    RECT window{};
    Prompt(Page::CreateShortcut, existing_, [&](HWND dialog) {
        ASSERT_TRUE(dialog);
        for (int id : {TfrmKvrSelectFolder::kOnDesktop, TfrmKvrSelectFolder::kInSourceFolder,
                       TfrmKvrSelectFolder::kInSelectedFolder})
            choices.push_back(TextOf(Item(dialog, id)));
        desktopChecked = SendMessageW(Item(dialog, TfrmKvrSelectFolder::kOnDesktop), BM_GETCHECK, 0, 0) == BST_CHECKED;
        GetWindowRect(dialog, &window);
        clashes = testsupport::AccessKeyClashes(dialog);
        const auto look = [&] {
            states.push_back({Enabled(dialog, TfrmKvrSelectFolder::kFolder), Enabled(dialog, TfrmKvrSelectFolder::kBrowse),
                              FocusOf(dialog) == Item(dialog, TfrmKvrSelectFolder::kFolder)});
        };
        look();
        for (int id : {TfrmKvrSelectFolder::kInSelectedFolder, TfrmKvrSelectFolder::kInSourceFolder}) {
            SendMessageW(Item(dialog, id), BM_CLICK, 0, 0);
            look();
        }
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(choices, (std::vector<std::wstring>{L"On the Desktop", L"In Source Folder", L"in Selected Folder"}));
    EXPECT_TRUE(desktopChecked);
    EXPECT_EQ(window.right - window.left, 490);
    EXPECT_EQ(window.bottom - window.top, 197);
    EXPECT_TRUE(clashes.empty());
    ASSERT_EQ(states.size(), 3u);
    const State expected[] = {{false, false, false}, {true, true, true}, {false, false, false}};
    for (size_t i = 0; i < states.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(states[i].editEnabled, expected[i].editEnabled);
        EXPECT_EQ(states[i].browseEnabled, expected[i].browseEnabled);
        EXPECT_EQ(states[i].editFocused, expected[i].editFocused);
    }
}

TEST_F(SelectFolderTest, ADesktopTheShellCannotNameRefusesOk) {
    TfrmKvrSelectFolder dialog(Page::CreateShortcut,
                               {.caption = L"Create Shortcut", .desktop = L"On the Desktop",
                                .sourceFolder = L"In Source Folder", .selectedFolder = L"in Selected Folder"},
                               L"", L"");
    bool okOnDesktop = true, okInSource = false;
    INT_PTR result = 0;
    ShowWithPerson([&] { result = dialog.ShowModal(nullptr); },
                   [&](HWND shown) {
                       ASSERT_TRUE(shown);
                       okOnDesktop = Enabled(shown, IDOK);
                       SendMessageW(Item(shown, TfrmKvrSelectFolder::kInSourceFolder), BM_CLICK, 0, 0);
                       okInSource = Enabled(shown, IDOK);
                       PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
                   });
    EXPECT_FALSE(okOnDesktop);
    EXPECT_TRUE(okInSource);
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(SelectFolderTest, BrowseStartsAtTheFolderTypedAndACancelEndsOnlyTheCopyPrompt) {
    struct Case {
        const char* name;
        Page page;
        std::wstring typed;
        std::optional<std::wstring> chosen;  // none: the browser was cancelled
        std::wstring start;                  // what the browser was asked to start at
        bool promptOpen;                     // after the browser closed
        std::wstring text;                   // in the edit then
        bool ok;                             // OK allowed then
    };
    const Case cases[] = {
        {"copy, chosen", Page::CutCopy, L"C:\\Data", existing_, L"C:\\Data\\", true, existing_, true},
        {"copy, cancelled", Page::CutCopy, L"C:\\Data\\", std::nullopt, L"C:\\Data\\", false, L"", false},
        {"copy, a place outside the file system", Page::CutCopy, L"", L"", L"", true, L"", false},
        {"shortcut, chosen", Page::CreateShortcut, L"C:\\Data", root_.Path(), L"C:\\Data\\", true, root_.Path(),
         true},
        {"shortcut, cancelled", Page::CreateShortcut, L"C:\\Data", std::nullopt, L"C:\\Data\\", true, L"C:\\Data",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::FakeInteraction browser;
        browser.folderAnswers.push_back(c.chosen);
        bool open = !c.promptOpen, okEnabled = false;
        std::wstring text;
        HWND shown = nullptr;
        const Answer answer = Prompt(c.page, L"", [&](HWND dialog) {
            ASSERT_TRUE(dialog);
            shown = dialog;
            if (c.page == Page::CreateShortcut)
                SendMessageW(Item(dialog, TfrmKvrSelectFolder::kInSelectedFolder), BM_CLICK, 0, 0);
            SetFolderText(dialog, c.typed);
            SendMessageW(Item(dialog, TfrmKvrSelectFolder::kBrowse), BM_CLICK, 0, 0);
            open = IsWindowVisible(dialog) != FALSE;
            if (!open) return;
            text = TextOf(Item(dialog, TfrmKvrSelectFolder::kFolder));
            okEnabled = Enabled(dialog, IDOK);
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        ASSERT_EQ(browser.folderBrowses.size(), 1u);
        EXPECT_EQ(browser.folderBrowses[0].owner, shown);
        EXPECT_EQ(browser.folderBrowses[0].request.caption, L"Browse Folder");
        EXPECT_EQ(browser.folderBrowses[0].request.startFolder, c.start);
        EXPECT_EQ(open, c.promptOpen);
        if (!c.promptOpen) {
            EXPECT_EQ(answer.result, IDCANCEL);
            continue;
        }
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(okEnabled, c.ok);
        EXPECT_EQ(answer.result, c.ok ? IDOK : IDCANCEL);
    }
}

TEST_F(SelectFolderTest, TheSystemsBrowserChoosesOrCancels) {
    // The system's folder browser, found by the caption the prompt gives it, answered as a person would.
    testsupport::ReadFoldersOnTheWayTo(existing_);
    const auto browse = [&](HWND prompt, const std::optional<std::wstring>& choose) {
        PostMessageW(Item(prompt, TfrmKvrSelectFolder::kBrowse), BM_CLICK, 0, 0);
        HWND browser = nullptr;
        if (!WaitUntil([&] { return (browser = FindWindowW(L"#32770", L"Browse Folder")) != nullptr; })) return false;
        if (choose) {
            SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(choose->c_str()));
            PostMessageW(browser, WM_COMMAND, IDOK, 0);
        } else {
            PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);
        }
        return WaitUntil([&] { return !IsWindow(browser); });
    };
    struct Case {
        const char* name;
        Page page;
        std::optional<std::wstring> choose;
        bool promptOpen;
    };
    const Case cases[] = {
        {"copy, chosen", Page::CutCopy, existing_, true},
        {"copy, cancelled", Page::CutCopy, std::nullopt, false},
        {"shortcut, cancelled", Page::CreateShortcut, std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool browsed = false, open = !c.promptOpen;
        std::wstring text;
        const Answer answer = Prompt(c.page, root_.Path(), [&](HWND dialog) {
            ASSERT_TRUE(dialog);
            if (c.page == Page::CreateShortcut)
                SendMessageW(Item(dialog, TfrmKvrSelectFolder::kInSelectedFolder), BM_CLICK, 0, 0);
            browsed = browse(dialog, c.choose);
            // Answered once the prompt's own loop runs again, after the browse has run its course.
            SendMessageW(dialog, WM_NULL, 0, 0);
            open = IsWindowVisible(dialog) != FALSE;
            text = TextOf(Item(dialog, TfrmKvrSelectFolder::kFolder));
            if (open) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_TRUE(browsed);
        EXPECT_EQ(open, c.promptOpen);
        EXPECT_EQ(answer.result, IDCANCEL);
        if (c.choose) {
            EXPECT_TRUE(kit::SameText(text, *c.choose)) << kit::WideToUtf8(text);
        }
    }
}

// The prompts the result list asks in the program: owned by the main window, which waits for them.
TEST_F(MainWindowTest, TheListsFolderPromptsAreOwnedByTheMainWindow) {
    Open();
    auto* list = dynamic_cast<results::TResultListView*>(kit::Control::FromHandle(List()));
    ASSERT_TRUE(list);
    ASSERT_TRUE(list->FolderPrompts.SelectFolder && list->FolderPrompts.SelectShortcutFolder);
    const std::function<void()> prompts[] = {
        [&] {
            std::wstring folder;
            list->FolderPrompts.SelectFolder(L"Move to Folder", L"Destination Folder", folder);
        },
        [&] {
            std::wstring folder;
            list->FolderPrompts.SelectShortcutFolder(L"Create Shortcut", L"On the Desktop", L"In Source Folder",
                                                     folder, L"in Selected Folder");
        },
    };
    for (const auto& prompt : prompts) {
        HWND owner = nullptr;
        bool mainEnabled = true;
        ShowWithPerson(prompt, [&](HWND dialog) {
            ASSERT_TRUE(dialog);
            owner = GetWindow(dialog, GW_OWNER);
            mainEnabled = IsWindowEnabled(Main()) != FALSE;
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(owner, Main());
        EXPECT_FALSE(mainEnabled);
    }
}
