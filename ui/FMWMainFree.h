#pragma once
// The main window.
// STAND-IN: until the criteria pages, the result list and the search run are built, this is an empty
// top-level window that says so. It already closes the message loop as the real one will.
#include <windows.h>

namespace ui {

class TfrmMerrowinMain {
public:
    static constexpr const wchar_t* kClassName = L"TfrmMerrowinMain";

    TfrmMerrowinMain() = default;
    ~TfrmMerrowinMain();
    TfrmMerrowinMain(const TfrmMerrowinMain&) = delete;
    TfrmMerrowinMain& operator=(const TfrmMerrowinMain&) = delete;

    // Creates and shows the window; throws kit::Exception when it cannot be created.
    void Create(HINSTANCE instance, int showCommand);
    HWND Handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
    HWND notice_ = nullptr;
};

} // namespace ui
