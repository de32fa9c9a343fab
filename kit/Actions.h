#pragma once
// The window's commands in one table: each action has an id (its WM_COMMAND id), a caption, shortcuts, an
// enabled/checked/visible state and a handler. The table alone decides an action's state; the buttons bound to
// it, the menus filled from it and the accelerator table built from it follow.
#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "kit/Handles.h"

namespace kit {

struct Shortcut {
    BYTE modifiers = 0;  // FCONTROL, FSHIFT, FALT
    WORD key = 0;        // a virtual key; 0 for none
    friend bool operator==(const Shortcut&, const Shortcut&) = default;
};

// "Ctrl+Shift+F", "Del", "F3"; empty for no shortcut.
std::wstring ShortcutText(Shortcut shortcut);

class ActionList {
public:
    using Handler = std::function<void()>;

    void Add(int id, std::wstring caption, Handler handler, Shortcut shortcut = {});
    bool Contains(int id) const { return Find(id) != nullptr; }

    const std::wstring& Caption(int id) const;
    bool Enabled(int id) const;
    bool Checked(int id) const;
    bool Visible(int id) const;
    void SetCaption(int id, std::wstring caption);
    void SetEnabled(int id, bool enabled);
    void SetChecked(int id, bool checked);
    void SetVisible(int id, bool visible);
    // The first shortcut is the one menus show; all of them trigger the action.
    void SetShortcuts(int id, std::vector<Shortcut> shortcuts);

    // The control takes the action's caption, enabled and visible state now and whenever they change.
    void BindControl(int id, HWND control);
    // The control no longer follows the action (a button that runs another action for a while).
    void UnbindControl(int id, HWND control);
    // Refills the menu with the visible actions of `ids` in order, 0 standing for a separator (none at the
    // ends, none twice); a menu filled this way is current whenever it is refilled on WM_INITMENUPOPUP.
    void FillMenu(HMENU menu, std::span<const int> ids) const;

    // For WM_COMMAND: true when `id` is an action; its handler runs only while it is enabled.
    bool Execute(int id) const;
    // The accelerator table of every shortcut, rebuilt after a change; owned by the list.
    HACCEL Accelerators();

private:
    struct Action {
        int id;
        std::wstring caption;
        Handler handler;
        std::vector<Shortcut> shortcuts;
        bool enabled = true;
        bool checked = false;
        bool visible = true;
        std::vector<HWND> controls;
    };
    const Action* Find(int id) const;
    Action& Get(int id);
    const Action& Get(int id) const;
    static void UpdateControls(const Action& action);

    std::vector<Action> actions_;
    UniqueAccelerators accelerators_;
    bool acceleratorsStale_ = true;
};

} // namespace kit
