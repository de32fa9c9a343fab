#pragma once
// A plain top-level window that holds the result list, where the main window will: for the list's tests and its
// benchmark.
#include "kit/Window.h"
#include "results/listview/ResultListView.h"

#include <memory>

namespace testsupport {

class ListTestWindow : public kit::Window {
public:
    static constexpr int ListId = 1001;

    ListTestWindow(int width, int height);
    results::TResultListView& List() const { return *list_; }

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    std::unique_ptr<results::TResultListView> list_;
};

} // namespace testsupport
