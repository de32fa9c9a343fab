#pragma once
// Keeps child windows at their distances to the parent's edges they are anchored to, so a window resizes well:
// anchored left and right, a control stretches with the parent; anchored right only, it moves with that edge.
#include <windows.h>

#include <vector>

namespace kit {

enum Anchors : unsigned {
    AnchorLeft = 1,
    AnchorTop = 2,
    AnchorRight = 4,
    AnchorBottom = 8,
    AnchorTopLeft = AnchorLeft | AnchorTop,
    AnchorTopRight = AnchorTop | AnchorRight,
    AnchorTopLeftRight = AnchorLeft | AnchorTop | AnchorRight,
    AnchorAll = AnchorLeft | AnchorTop | AnchorRight | AnchorBottom,
};

class AnchorLayout {
public:
    // The distances are taken from the control's place and the parent's client size now.
    void Add(HWND control, unsigned anchors);
    // Places every control for the parent's new client size.
    void Resize(int width, int height) const;

private:
    struct Item {
        HWND control;
        unsigned anchors;
        RECT bounds;      // at Add, in the parent's client coordinates
        SIZE parentSize;  // the parent's client size at Add
    };
    std::vector<Item> items_;
};

} // namespace kit
