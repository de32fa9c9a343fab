#pragma once
// A replacement for the interaction seam: records everything asked and gives scripted answers. Nothing is shown
// and nothing is started.
#include "kit/Interaction.h"
#include "tests/support/MenuItems.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

struct AskedMessage {
    std::wstring text;
    kit::MessageType type;
    kit::MessageButtons buttons;
    std::wstring caption;                             // AskYesNo only
    kit::MessageAnswer defaultAnswer = kit::MessageAnswer::Ok;  // AskYesNo only
};

struct AskedPrompt {
    std::wstring caption;
    std::wstring prompt;
    std::wstring value;  // the value the prompt started with
};

// A menu item as the menu held it when it opened.
struct MenuItemSeen {
    UINT id = 0;
    std::wstring text;  // as given, access-key ampersands included
    bool separator = false;
    friend bool operator==(const MenuItemSeen&, const MenuItemSeen&) = default;
};

struct AskedMenu {
    HWND owner;
    POINT point;
    std::vector<MenuItemSeen> items;
};

template <class Request>
struct Asked {
    HWND owner;
    Request request;
};

class FakeInteraction : public kit::Interaction {
public:
    FakeInteraction() { kit::SetUserInteraction(this); }
    ~FakeInteraction() override { kit::SetUserInteraction(nullptr); }

    // Messages and Yes/No questions, in the order asked.
    std::vector<AskedMessage> asked;
    std::deque<kit::MessageAnswer> answers;  // given in order; Ok when none is left (No for a Yes/No question)
    std::vector<AskedPrompt> prompts;
    std::deque<std::optional<std::wstring>> promptAnswers;  // the text typed, none for Cancel; Cancel when none left
    bool realPrompts = false;  // the kit's text prompt is shown (and recorded), for a test that types into it
    std::vector<Asked<kit::FolderBrowseRequest>> folderBrowses;
    std::deque<std::optional<std::wstring>> folderAnswers;  // none for Cancel; Cancel when none is left
    std::vector<Asked<kit::SaveFileRequest>> saves;
    std::deque<std::optional<kit::SaveFileAnswer>> saveAnswers;  // none for Cancel; Cancel when none is left
    bool realSaveDialog = false;  // the system's save dialog is shown (and recorded), for a test that drives it
    std::vector<Asked<kit::ShellRequest>> shellRequests;
    INT_PTR shellResult = 42;  // a verb that ran
    std::vector<Asked<std::vector<std::wstring>>> propertySheets;  // the paths of each sheet asked for
    std::vector<AskedMenu> menus;
    // The person's pick while the menu is open (the owner still exists); none: it closes without a choice.
    std::function<UINT(HWND owner, HMENU menu)> chooseFromMenu;
    bool realMenus = false;  // the system's pop-up menu is shown (and recorded), for a test that drives it
    // Runs while each message, question, prompt, browser, save dialog, shell verb or property sheet is open (before
    // its answer; the owner's window disabled meanwhile, as a modal window's): what the test does meanwhile.
    std::function<void()> whileAsked;
    double now = 45000.5;      // 15 March 2023, noon
    DWORD ticks = 1000;
    DWORD tickStep = 0;  // added to the clock at every reading: what each step of work that reads it costs
    std::vector<DWORD> sleeps;
    std::function<void(DWORD milliseconds)> onSleep;  // runs at each wait: the test looks at the window meanwhile

    kit::MessageAnswer ShowMessage(HWND owner, const std::wstring& text, kit::MessageType type,
                                   kit::MessageButtons buttons) override {
        asked.push_back({text, type, buttons});
        WhileAsked(owner);
        return Next(answers, kit::MessageAnswer::Ok);
    }
    kit::MessageAnswer AskYesNo(HWND owner, const std::wstring& text, const std::wstring& caption,
                                kit::MessageType type, kit::MessageAnswer defaultAnswer) override {
        asked.push_back({text, type, kit::MessageButtons::YesNo, caption, defaultAnswer});
        WhileAsked(owner);
        return Next(answers, kit::MessageAnswer::No);
    }
    bool InputQuery(HWND owner, const std::wstring& caption, const std::wstring& prompt,
                    std::wstring& value) override {
        prompts.push_back({caption, prompt, value});
        if (realPrompts) return kit::RealInteraction().InputQuery(owner, caption, prompt, value);
        WhileAsked(owner);
        const std::optional<std::wstring> typed = Next(promptAnswers, std::optional<std::wstring>());
        if (typed) value = *typed;
        return typed.has_value();
    }
    std::optional<std::wstring> BrowseForFolder(HWND owner, const kit::FolderBrowseRequest& request) override {
        folderBrowses.push_back({owner, request});
        WhileAsked(owner);
        return Next(folderAnswers, std::optional<std::wstring>());
    }
    std::optional<kit::SaveFileAnswer> SaveFile(HWND owner, const kit::SaveFileRequest& request) override {
        saves.push_back({owner, request});
        if (realSaveDialog) return kit::RealInteraction().SaveFile(owner, request);
        WhileAsked(owner);
        return Next(saveAnswers, std::optional<kit::SaveFileAnswer>());
    }
    INT_PTR ShellExecuteVerb(HWND owner, const kit::ShellRequest& request) override {
        shellRequests.push_back({owner, request});
        WhileAsked(owner);
        return shellResult;
    }
    void ShowFileProperties(HWND owner, const std::vector<std::wstring>& paths) override {
        propertySheets.push_back({owner, paths});
        WhileAsked(owner);
    }
    UINT TrackMenu(HWND owner, HMENU menu, POINT screenPoint) override {
        menus.push_back({owner, screenPoint, ItemsOf(menu)});
        if (realMenus) return kit::RealInteraction().TrackMenu(owner, menu, screenPoint);
        return chooseFromMenu ? chooseFromMenu(owner, menu) : 0;
    }
    double Now() override { return now; }
    DWORD TickCount() override { return ticks += tickStep; }
    void Sleep(DWORD milliseconds) override {
        sleeps.push_back(milliseconds);
        if (onSleep) onSleep(milliseconds);
        ticks += milliseconds;
    }

    static std::vector<MenuItemSeen> ItemsOf(HMENU menu) {
        std::vector<MenuItemSeen> items;
        for (const MenuItem& item : MenuItemsOf(menu)) items.push_back({item.id, item.text, item.separator});
        return items;
    }

private:
    // As a modal window would, the question disables its owner's window while it is open.
    void WhileAsked(HWND owner) {
        if (!whileAsked) return;
        const HWND window = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
        const bool disable = window && IsWindowEnabled(window);
        if (disable) EnableWindow(window, FALSE);
        whileAsked();
        if (disable) EnableWindow(window, TRUE);
    }
    template <class T>
    static T Next(std::deque<T>& queue, T whenEmpty) {
        if (queue.empty()) return whenEmpty;
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
};

} // namespace testsupport
