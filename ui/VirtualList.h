#pragma once
// A report list that holds no rows of its own (owner data): it asks for each row as it draws it. A list given the
// shell's system image list shares it (the control never frees it).
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "kit/Controls.h"

namespace ui {

class TVirtualList : public kit::Control {
public:
    // Honours the option singleSelect.
    void Create(HWND parent, int id, const RECT& bounds, const kit::ControlOptions& options = {});
    // Sets the caption and width of a column, adding it when the list has none at that index yet.
    void SetColumn(const std::wstring& caption, int width, int column = 0);
    void SetColumnWidth(int width, int column = 0);
    void SetItemCount(int count);
    int ItemCount() const;
    // The focused row, -1 for none.
    int FocusedItem() const;
    // Selects and focuses a row, scrolled into view.
    void SelectItem(int index);

    std::function<void(NMLVDISPINFOW& item)> OnData;        // LVN_GETDISPINFO: the row's text and image
    std::function<void(const NMLVCACHEHINT& hint)> OnDataHint;  // LVN_ODCACHEHINT: rows about to be drawn
    std::function<void()> OnDblClick;
    // A row became selected (a click, a key, SelectItem) or was clicked again.
    std::function<void()> OnRowChosen;

protected:
    bool OnNotifyCode(NMHDR& header, LRESULT& result) override;
};

} // namespace ui
