// The real seam's dialogs, driven from a second thread as a person would answer them.
#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>

#include "kit/Files.h"
#include "kit/Interaction.h"
#include "kit/Strings.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/TempFolder.h"

using kit::MessageAnswer;
using testsupport::FocusOf;
using testsupport::PostKeyToFocus;
using testsupport::ShowWithPerson;
using testsupport::TextOf;
using testsupport::WaitUntil;

namespace {

kit::Interaction& Real() { return kit::RealInteraction(); }

// The dialog's child of a class whose text is `text` (any text for null).
HWND ChildOf(HWND dialog, const wchar_t* className, const wchar_t* text = nullptr) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (CompareStringOrdinal(testsupport::ClassOf(child).c_str(), -1, className, -1, TRUE) == CSTR_EQUAL &&
            (!text || TextOf(child) == text))
            return child;
    return nullptr;
}

// The texts of the dialog's STATIC children, one after the other: what a message box says.
std::wstring StaticTexts(HWND dialog) {
    std::wstring texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (CompareStringOrdinal(testsupport::ClassOf(child).c_str(), -1, L"Static", -1, TRUE) == CSTR_EQUAL)
            texts += TextOf(child);
    return texts;
}

struct DialogSearch {
    HWND except;
    HWND found;
};

BOOL CALLBACK KeepOtherDialog(HWND hwnd, LPARAM data) {
    auto& search = *reinterpret_cast<DialogSearch*>(data);
    if (hwnd == search.except || testsupport::ClassOf(hwnd) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
    search.found = hwnd;
    return FALSE;
}

// A visible dialog of the thread other than `except`, or null.
HWND OtherDialogOf(DWORD thread, HWND except) {
    DialogSearch search{except, nullptr};
    EnumThreadWindows(thread, KeepOtherDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

TEST(Interaction, TextPromptGivesTheTypedTextOnOkAndKeepsTheValueOnCancel) {
    struct Case {
        const char* name;
        const wchar_t* typed;  // null: nothing typed
        WPARAM key;
        bool ok;
        const wchar_t* value;
    };
    const Case cases[] = {
        {"typed, Enter", L"new name.txt", VK_RETURN, true, L"new name.txt"},
        {"untouched, Enter", nullptr, VK_RETURN, true, L"old name.txt"},
        {"typed, Escape", L"new name.txt", VK_ESCAPE, false, L"old name.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring value = L"old name.txt";
        bool ok = !c.ok;
        std::wstring title, promptText, startText;
        bool editFocused = false;
        DWORD selection = 0;
        ShowWithPerson([&] { ok = Real().InputQuery(nullptr, L"Rename File", L"New Name", value); },
                       [&](HWND dialog) {
                           if (!dialog) return;
                           title = TextOf(dialog);
                           const HWND edit = ChildOf(dialog, L"Edit");
                           promptText = TextOf(ChildOf(dialog, L"Static"));
                           startText = TextOf(edit);
                           editFocused = FocusOf(dialog) == edit;
                           selection = static_cast<DWORD>(SendMessageW(edit, EM_GETSEL, 0, 0));
                           if (c.typed) SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.typed));
                           PostKeyToFocus(dialog, c.key);
                       });
        EXPECT_EQ(title, L"Rename File");
        EXPECT_EQ(promptText, L"New Name");
        EXPECT_EQ(startText, L"old name.txt");
        EXPECT_TRUE(editFocused);
        EXPECT_EQ(LOWORD(selection), 0);  // the old text selected, so typing replaces it
        EXPECT_EQ(HIWORD(selection), 12);
        EXPECT_EQ(ok, c.ok);
        EXPECT_EQ(value, c.value);
    }
}

TEST(Interaction, YesNoQuestionShowsItsCaptionAndAnswersNoToEnterWhenNoIsTheDefault) {
    struct Case {
        const char* name;
        MessageAnswer defaultAnswer;
        WPARAM key;  // 0: Yes clicked
        MessageAnswer answer;
    };
    const Case cases[] = {
        {"Enter, No the default", MessageAnswer::No, VK_RETURN, MessageAnswer::No},
        {"Enter, Yes the default", MessageAnswer::Yes, VK_RETURN, MessageAnswer::Yes},
        {"Escape", MessageAnswer::Yes, VK_ESCAPE, MessageAnswer::No},
        {"Yes clicked", MessageAnswer::No, 0, MessageAnswer::Yes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageAnswer answer{};
        std::wstring title;
        int defaultId = 0, focusedId = 0;
        ShowWithPerson([&] {
            answer = Real().AskYesNo(nullptr, L"C:\\x.csv already exists.\r\nOverwrite?", L"Export Results",
                                     kit::MessageType::Warning, c.defaultAnswer);
        },
                       [&](HWND dialog) {
                           if (!dialog) return;
                           title = TextOf(dialog);
                           defaultId = LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0));
                           focusedId = GetDlgCtrlID(FocusOf(dialog));
                           if (c.key) PostKeyToFocus(dialog, c.key);
                           else PostMessageW(GetDlgItem(dialog, IDYES), BM_CLICK, 0, 0);
                       });
        const int expectedDefault = c.defaultAnswer == MessageAnswer::No ? IDNO : IDYES;
        EXPECT_EQ(title, L"Export Results");
        EXPECT_EQ(defaultId, expectedDefault);
        EXPECT_EQ(focusedId, expectedDefault);
        EXPECT_EQ(answer, c.answer);
    }
}

TEST(Interaction, FolderBrowserOpensCaptionedAtTheStartFolder) {
    testsupport::TempFolder root;
    const std::wstring start = kit::IncludeTrailingPathDelimiter(root.Path()) + L"Start";
    ASSERT_TRUE(kit::ForceDirectories(start));
    testsupport::ReadFoldersOnTheWayTo(start);
    struct Case {
        const char* name;
        int command;
    };
    const Case cases[] = {{"OK", IDOK}, {"Cancel", IDCANCEL}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<std::wstring> chosen;
        std::wstring title;
        ShowWithPerson([&] { chosen = Real().BrowseForFolder(nullptr, {L"Browse Folder", start + L"\\"}); },
                       [&](HWND dialog) {
                           if (!dialog) return;
                           // The browser selects the start folder as it fills its tree; its edit then names it.
                           WaitUntil([&] { return TextOf(ChildOf(dialog, L"Edit")) == L"Start"; });
                           title = TextOf(dialog);
                           PostMessageW(dialog, WM_COMMAND, c.command, 0);
                       });
        EXPECT_EQ(title, L"Browse Folder");
        if (c.command == IDCANCEL) {
            EXPECT_FALSE(chosen.has_value());
        } else {
            ASSERT_TRUE(chosen.has_value());
            EXPECT_TRUE(kit::SameText(*chosen, start)) << kit::WideToUtf8(*chosen);
        }
    }
}

TEST(Interaction, SaveDialogGivesTheNameAndTheTypeChosen) {
    testsupport::TempFolder root;
    const kit::SaveFileRequest request{
        .title = L"Save Source Folders",
        .types = {{L"Text files (*.txt)", L"*.TXT"}, {L"All files (*.*)", L"*.*"}},
        .typeIndex = 1,
        .initialFolder = root.Path(),
    };
    const std::wstring typed = kit::IncludeTrailingPathDelimiter(root.Path()) + L"folders.lst";
    std::optional<kit::SaveFileAnswer> answer;
    std::wstring title;
    std::vector<std::wstring> types;
    ShowWithPerson([&] { answer = Real().SaveFile(nullptr, request); },
                   [&](HWND dialog) {
                       if (!dialog) return;
                       title = TextOf(dialog);
                       const HWND typeList = GetDlgItem(dialog, cmb1);
                       for (int i = 0; i < SendMessageW(typeList, CB_GETCOUNT, 0, 0); ++i) {
                           wchar_t text[100] = L"";
                           SendMessageW(typeList, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                           types.emplace_back(text);
                       }
                       SendMessageW(typeList, CB_SETCURSEL, 1, 0);
                       // A pick in the list: the selection changes, then it is confirmed as the list closes.
                       for (const WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
                           SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, code), reinterpret_cast<LPARAM>(typeList));
                       const HWND name = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
                       SetWindowTextW(name, typed.c_str());
                       PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                   });
    EXPECT_EQ(title, L"Save Source Folders");
    EXPECT_EQ(types, (std::vector<std::wstring>{L"Text files (*.txt)", L"All files (*.*)"}));
    ASSERT_TRUE(answer.has_value());
    EXPECT_TRUE(kit::SameText(answer->fileName, typed)) << kit::WideToUtf8(answer->fileName);
    EXPECT_EQ(answer->typeIndex, 2);
}

// A typed name of an existing file is the dialog's own question before it answers; No keeps the dialog open.
TEST(Interaction, SaveDialogAsksBeforeReplacingAnExistingFile) {
    testsupport::TempFolder root;
    const std::wstring existing = kit::IncludeTrailingPathDelimiter(root.Path()) + L"folders.txt";
    testsupport::WriteBytes(existing, "the person's list");
    const kit::SaveFileRequest request{
        .title = L"Save Source Folders",
        .types = {{L"Text files (*.txt)", L"*.TXT"}, {L"All files (*.*)", L"*.*"}},
        .initialFolder = root.Path(),
    };
    std::optional<kit::SaveFileAnswer> answer;
    std::wstring question;
    ShowWithPerson([&] { answer = Real().SaveFile(nullptr, request); },
                   [&](HWND dialog) {
                       if (!dialog) return;
                       const HWND name = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
                       SetWindowTextW(name, existing.c_str());
                       PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                       // The question is a second dialog of the thread, over the save dialog.
                       HWND asking = nullptr;
                       WaitUntil([&] {
                           asking = OtherDialogOf(GetWindowThreadProcessId(dialog, nullptr), dialog);
                           return asking != nullptr || !IsWindow(dialog);
                       });
                       if (asking) {
                           question = StaticTexts(asking);
                           PostMessageW(asking, WM_COMMAND, IDNO, 0);
                           WaitUntil([&] { return !IsWindow(asking); });
                       }
                       if (IsWindow(dialog)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                   });
    EXPECT_NE(question.find(L"already exists"), std::wstring::npos) << kit::WideToUtf8(question);
    EXPECT_FALSE(answer.has_value()) << "No, then Cancel: nothing chosen";
    EXPECT_EQ(testsupport::ReadBytes(existing), "the person's list");
}
