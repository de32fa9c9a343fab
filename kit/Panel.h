#pragma once
// A plain child window that holds controls and lays them out by their anchors when it is resized. Its controls'
// notifications reach their wrappers (reflected by the kit's window procedure); the window that owns the panel
// binds to the wrappers' events.
#include "kit/AnchorLayout.h"
#include "kit/Window.h"

namespace kit {

class Panel : public Window {
protected:
    // Creates the panel hidden, at `bounds` in the parent's client coordinates.
    void CreatePanel(HWND parent, int id, const RECT& bounds);
    // Anchors a control to the panel's edges, measured from where it stands now.
    void Anchor(HWND control, unsigned anchors) { layout_.Add(control, anchors); }

    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    AnchorLayout layout_;
};

} // namespace kit
