#pragma once
// A plain child window that holds controls: it lays them out by their anchors when it is resized and passes
// their commands and notifications on to the window that owns it, so that window handles every control in
// its one message switch.
#include "kit/AnchorLayout.h"
#include "kit/Window.h"

namespace kit {

class Panel : public Window {
public:
    // `target` receives the WM_COMMAND and WM_NOTIFY messages of the panel's controls; null keeps them here.
    void SetCommandTarget(HWND target) { target_ = target; }

protected:
    // Creates the panel hidden, at `bounds` in the parent's client coordinates.
    void CreatePanel(HWND parent, int id, const RECT& bounds);
    // Anchors a control to the panel's edges, measured from where it stands now.
    void Anchor(HWND control, unsigned anchors) { layout_.Add(control, anchors); }

    // A control's command seen by the panel before the target gets it (a control that reacts to its own
    // notifications hooks in here).
    virtual void OnControlCommand(int /*id*/, int /*code*/, HWND /*control*/) {}

    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    AnchorLayout layout_;
    HWND target_ = nullptr;
};

} // namespace kit
