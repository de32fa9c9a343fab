#pragma once
// A plain test window holding the four criteria pages in a page control, as the main window will.
#include <utility>
#include <vector>

#include "kit/Controls.h"
#include "kit/Window.h"
#include "ui/PageAttributes.h"
#include "ui/PageContainingText.h"
#include "ui/PageDateAndSize.h"
#include "ui/PageFilesAndFolders.h"

namespace uitest {

class PagesHost : public kit::Window {
public:
    static constexpr int kTabsId = 800;
    // Creates the window shown, with a client area of `width` x `height`.
    void Make(int width = 680, int height = 200);
    void ResizeClient(int width, int height);
    // A control of a page by its id.
    static HWND Item(const kit::Window& page, int id) { return GetDlgItem(page.hwnd(), id); }

    kit::TabControl tabs;
    ui::TPageFilesAndFolders files;
    ui::TPageContainingText text;
    ui::TPageDateAndSize dates;
    ui::TPageAttributes attributes;
    std::vector<std::pair<int, int>> commands;  // (control id, notification code) of the pages' controls

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

// Sends a control's notification to its parent, as the control does when a person uses it.
void Notify(HWND control, int code);
std::wstring WindowText(HWND hwnd);

} // namespace uitest
