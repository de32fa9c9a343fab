#pragma once
// The floor the result list is measured against: a bare owner-data list view in a window of its own, with the
// result list's columns (captions, alignment, widths, order) and font, answering one fixed text per column and no
// icons, no colours and no prefetch. Whatever the result list costs beyond it is the list's own work. A second
// floor draws one fixed icon in the columns where the list draws icons, to tell the cost of drawing icons from
// the list's other work.
#include "kit/Window.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>

namespace bench {

constexpr int FloorColumnCount = 10;

// Columns (by index) drawn with an icon, and the icon: an index into the model's small image list.
struct FloorIcons {
    std::array<bool, FloorColumnCount> columns{};
    int index = -1;
};

class FloorList : public kit::Window {
public:
    static constexpr int ColumnCount = FloorColumnCount;

    // A window of the given outer size; the list copies the columns, order and font of `model`, a report-style
    // list view, and answers `texts` (one a column, by the column's index) for every row; with `icons`, it also
    // shows the model's small image list and answers the icon in the columns named.
    FloorList(int width, int height, HWND model, const std::array<std::wstring, ColumnCount>& texts,
              const FloorIcons& icons = FloorIcons());
    HWND List() const { return list_; }
    void SetItemCount(int count);

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void CopyColumns(HWND model);
    void Answer(NMLVDISPINFOW& info) const;

    HWND list_ = nullptr;
    std::array<std::wstring, ColumnCount> texts_;
    FloorIcons icons_;
};

} // namespace bench
