#pragma once
// What the settings dialogs (options, recent items) share: a tree of page names on the left that shows one page
// at a time beside it, and a window sized by the Windows version the main window stored before opening them.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "kit/Controls.h"
#include "kit/Dialog.h"
#include "kit/Panel.h"

namespace ui {

// The page selector: each node stands for a page; the tree is fully expanded and never collapses.
class TPageTree : public kit::Control {
public:
    void Create(HWND parent, int id, const RECT& bounds);
    // A node for `page`, at the top level or below `parent`.
    HTREEITEM Add(const std::wstring& caption, int page, HTREEITEM parent = TVI_ROOT);
    void ExpandAll();
    void SelectPage(int page);
    // -1 for none.
    int SelectedPage() const;
    std::wstring Caption(int page) const;

    // The person or the program selected the node of another page.
    std::function<void(int page)> OnPageChange;

protected:
    bool OnNotifyCode(NMHDR& header, LRESULT& result) override;

private:
    HTREEITEM NodeOf(int page) const;
    LRESULT OnCustomDraw(NMTVCUSTOMDRAW& draw) const;
    std::vector<HTREEITEM> nodes_;  // by page
};

// A page of a settings dialog, filled by the dialog with its own controls.
class TDialogPage : public kit::Panel {
public:
    void Create(HWND dialog, int id, const RECT& bounds);
    // Keeps a control of the page at its distances to the page's anchored edges.
    void Anchor(const kit::Control& control, unsigned anchors) { kit::Panel::Anchor(control.hwnd(), anchors); }
};

// The smallest window height on each family of Windows versions (their frames differ by a few pixels).
struct TVersionHeights {
    int preVista;
    int vistaFamily;
    int other;  // Windows 7 and the versions the program does not know
};

// A settings dialog: the page tree, the pages, and OK and Cancel at the bottom right. It opens at its smallest
// size (by app::GlobalWindowsVersion), widens up to the main window's narrowest width, and keeps its height.
class TSettingsDialog : public kit::Dialog {
public:
    TPageTree tvConfigMenu;
    kit::Button bbtnOK, bbtnCancel;

    // Selects the page's node, which shows the page.
    void ShowPage(int page) { tvConfigMenu.SelectPage(page); }
    // -1 before the first page is shown.
    int ShownPage() const { return shownPage_; }

protected:
    static constexpr int kMargin = 8;
    static constexpr int kButtonHeight = 25;

    TSettingsDialog(std::wstring title, int minWidth, TVersionHeights heights);
    // Call first in OnCreate: the window takes its smallest size, and the tree, the buttons (Cancel the default
    // one when `cancelIsDefault`, else OK) and the page area are laid out for it.
    void CreateFrame(int treeId, int treeWidth, bool cancelIsDefault);
    // A page of the page area, hidden, with its node in the tree; its index is the order of the calls.
    HTREEITEM AddPage(TDialogPage& page, int id, const std::wstring& caption, HTREEITEM parent = TVI_ROOT);
    // The pages' area in the dialog's client coordinates.
    RECT PageArea() const;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void OnPageChange(int page);

    SIZE minimum_;
    int treeWidth_ = 0;
    std::vector<TDialogPage*> pages_;
    int shownPage_ = -1;
};

} // namespace ui
