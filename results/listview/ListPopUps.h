#pragma once
// The result list's two pop-up menus: the header's (the columns shown or hidden, their widths fitted, the default
// columns back) and the items' (the shell's menu of one file, the program's own menu of several). Both are shown
// through the interaction seam, so a test picks the item.
#include "results/listview/ResultListView.h"

#include <windows.h>

namespace results {

class TResultListViewColumnsPopUp {
public:
    explicit TResultListViewColumnsPopUp(TResultListView& owner) : owner_(owner) {}
    // Shows the menu at a screen point and carries out the choice.
    void Popup(POINT screen);

private:
    void OnItemClick(int index, bool nowChecked);
    TResultListView& owner_;
};

class TResultListViewItemsPopUp {
public:
    explicit TResultListViewItemsPopUp(TResultListView& owner) : owner_(owner) {}
    // Shows the shell's menu of the one selected row, or the program's menu of several selected rows, at a screen
    // point; nothing without a selection.
    void Popup(POINT screen);

private:
    void ShowShellMenu(int index, POINT screen);
    void ShowOwnMenu(POINT screen);
    void OnItemClick(int index);
    TResultListView& owner_;
};

} // namespace results
