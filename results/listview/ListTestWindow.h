#pragma once
// A plain top-level window that holds the result list, where the main window will.
#include "kit/Window.h"
#include "results/listview/ResultListView.h"

#include <memory>

namespace results {

class TListTestWindow : public kit::Window {
public:
    static constexpr int ListId = 1001;

    TListTestWindow(int width, int height);
    TResultListView& List() const { return *list_; }

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    std::unique_ptr<TResultListView> list_;
};

} // namespace results
