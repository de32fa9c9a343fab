#pragma once
// The main window.
// STAND-IN: until the criteria pages, the result list and the search run are built, this is an empty
// top-level window that says so. It already ends the message loop when it closes, as the real one will.
#include "kit/Window.h"

namespace ui {

class TfrmMerrowinMain : public kit::Window {
public:
    static constexpr const wchar_t* kClassName = L"TfrmMerrowinMain";

    // Creates and shows the window; throws kit::Exception when it cannot be created.
    void Create(HINSTANCE instance, int showCommand);

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    HWND notice_ = nullptr;
};

} // namespace ui
