#include <gtest/gtest.h>

#include "tests/support/AccessKeys.h"

#include <vector>

namespace {

// A top-level window holding one control for each caption; hidden controls are made hidden.
class CaptionsWindow {
public:
    struct Item {
        const wchar_t* className;
        const wchar_t* caption;
        bool visible = true;
    };
    explicit CaptionsWindow(const std::vector<Item>& items) {
        window_ = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300, nullptr,
                                  nullptr, nullptr, nullptr);
        int y = 0;
        for (const Item& item : items)
            CreateWindowExW(0, item.className, item.caption, WS_CHILD | (item.visible ? WS_VISIBLE : 0), 0,
                            y += 20, 200, 20, window_, nullptr, nullptr, nullptr);
    }
    ~CaptionsWindow() { DestroyWindow(window_); }
    CaptionsWindow(const CaptionsWindow&) = delete;
    CaptionsWindow& operator=(const CaptionsWindow&) = delete;
    HWND hwnd() const { return window_; }

private:
    HWND window_ = nullptr;
};

TEST(AccessKeys, ReadsTheKeyAfterTheFirstSingleAmpersand) {
    struct Case { const wchar_t* caption; wchar_t key; };
    const Case cases[] = {{L"S&top", L'T'}, {L"&Search", L'S'}, {L"Stop", 0}, {L"R&&D &Notes", L'N'},
                          {L"R&&D", 0}, {L"Trailing&", 0}};
    for (const Case& c : cases) EXPECT_EQ(testsupport::AccessKey(c.caption), c.key) << c.caption;
}

TEST(AccessKeys, FindsAClashAmongVisibleButtonsAndLabelsOnly) {
    struct Case {
        std::vector<CaptionsWindow::Item> items;
        size_t clashes;
    };
    const Case cases[] = {
        {{{L"Button", L"S&top"}, {L"Static", L"Search &Text"}}, 1},          // a label's key counts too
        {{{L"Button", L"&Apple"}, {L"Button", L"&avocado"}}, 1},             // case does not matter
        {{{L"Button", L"S&top"}, {L"Static", L"Search Te&xt"}}, 0},
        {{{L"Button", L"&Apple"}, {L"Button", L"&Avocado", false}}, 0},      // hidden: not reachable
        {{{L"Button", L"&Apple"}, {L"Edit", L"&Avocado"}}, 0},               // an edit holds the user's text
        {{{L"Button", L"R&&D"}, {L"Button", L"&D"}}, 0},
    };
    for (const Case& c : cases) {
        CaptionsWindow window(c.items);
        const auto clashes = testsupport::AccessKeyClashes(window.hwnd());
        EXPECT_EQ(clashes.size(), c.clashes) << testing::PrintToString(c.items.front().caption);
    }
}

TEST(AccessKeys, FindsAClashAmongTheItemsOfAMenuAndOfAWindowsMenuBar) {
    struct Case {
        std::vector<const wchar_t*> items;  // null for a separator
        size_t clashes;
    };
    const Case cases[] = {
        {{L"&Cut\tCtrl+X", nullptr, L"&Copy\tCtrl+C"}, 1},
        {{L"&Cut\tCtrl+X", L"C&opy\tCtrl+C", L"Paste\tCtrl+&V"}, 0},  // the shortcut's text is no key
    };
    for (const Case& c : cases) {
        const HMENU menu = CreatePopupMenu();
        for (const wchar_t* item : c.items) AppendMenuW(menu, item ? MF_STRING : MF_SEPARATOR, 1, item);
        EXPECT_EQ(testsupport::AccessKeyClashes(menu).size(), c.clashes) << testing::PrintToString(c.items);
        DestroyMenu(menu);
    }
    // Alt+S would reach the button and never the Settings menu of the bar.
    CaptionsWindow window(std::vector<CaptionsWindow::Item>{{L"Button", L"&Search"}});
    const HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 1, L"&Settings");
    SetMenu(window.hwnd(), bar);  // the window destroys it
    EXPECT_EQ(testsupport::AccessKeyClashes(window.hwnd()).size(), 1u);
}

} // namespace
