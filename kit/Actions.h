#pragma once
// The window's commands in one table: each action has an id (its WM_COMMAND id), a caption, shortcuts, an
// enabled/checked/visible state and a handler. The table alone decides an action's state; the buttons bound to
// it, the menus filled from it and the accelerator table built from it follow.
//
// Menus are entries of the table too: a menu has an id, a caption, an enabled and a visible state, its entries
// (actions, other menus as submenus, separators) and an opening handler, which sets the states of its actions
// before the menu shows them (and before one of them runs, whichever way the command comes).
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

// The captions of one menu with an access key each where one can be had: a caption's own key stays unless an
// earlier caption has it already; a caption without one (or whose key was taken) gets the first free letter or
// digit that starts one of its words, else the first free one anywhere in it. Keys compare regardless of case.
std::vector<std::wstring> WithAccessKeys(std::vector<std::wstring> captions);

class ActionList {
public:
    using Handler = std::function<void()>;

    ActionList() = default;
    ActionList(const ActionList&) = delete;
    ActionList& operator=(const ActionList&) = delete;
    // Destroys the pop-up menus that no menu holds; a menu held by another goes with it, and the menu bar with
    // its window.
    ~ActionList();

    void Add(int id, std::wstring caption, Handler handler, Shortcut shortcut = {});
    // A pop-up menu of `entries`: action ids, the ids of menus added before (shown as submenus) and 0 for a
    // separator; ids that are not in the table are left out. `onOpen` runs each time it opens.
    HMENU AddMenu(int id, std::wstring caption, std::vector<int> entries, Handler onOpen = nullptr);
    void SetMenuEntries(int id, std::vector<int> entries);
    // Makes the window's menu bar of the menus `ids`; the window owns it. It follows their captions and states.
    void SetMenuBar(HWND window, std::vector<int> ids);
    // For WM_INITMENUPOPUP: a menu of the table runs its opening handler and is filled anew; false for another.
    bool OnInitMenuPopup(HMENU menu);
    HMENU Menu(int id) const;

    bool Contains(int id) const { return Find(id) != nullptr; }

    const std::wstring& Caption(int id) const;
    bool Enabled(int id) const;
    bool Checked(int id) const;
    bool Visible(int id) const;
    void SetCaption(int id, std::wstring caption);
    void SetEnabled(int id, bool enabled);
    // Checking an action of a radio group unchecks the others of its group.
    void SetChecked(int id, bool checked);
    void SetVisible(int id, bool visible);
    // Actions of one group (not 0) are shown with a radio mark and are checked one at a time.
    void SetGroup(int id, int group);
    // The first shortcut is the one menus show; all of them trigger the action.
    void SetShortcuts(int id, std::vector<Shortcut> shortcuts);

    // The control takes the action's caption, enabled and visible state now and whenever they change.
    void BindControl(int id, HWND control);
    // The control no longer follows the action (a button that runs another action for a while).
    void UnbindControl(int id, HWND control);
    // Refills the menu with the visible actions and menus of `ids` in order, 0 standing for a separator (none at
    // the ends, none twice), with access keys (WithAccessKeys) and each action's first shortcut.
    void FillMenu(HMENU menu, std::span<const int> ids);

    // For WM_COMMAND: true when `id` is an action. Its handler runs only while the menu that holds it is enabled
    // and visible (and the menus around that one), and, after their opening handlers ran, the action too; never
    // while a modal wait lasts (ModalWait).
    bool Execute(int id);
    // The accelerator table of every visible action's shortcuts, rebuilt after a change; owned by the list.
    HACCEL Accelerators();

private:
    struct Action {
        int id;
        std::wstring caption;
        Handler handler;  // a menu's opening handler
        std::vector<Shortcut> shortcuts;
        bool enabled = true;
        bool checked = false;
        bool visible = true;
        int group = 0;
        std::vector<HWND> controls;
        // A menu's own part: its pop-up, its entries, and whether the last fill of another menu appended it.
        HMENU popup = nullptr;
        std::vector<int> entries;
        bool held = false;
    };
    const Action* Find(int id) const;
    Action* Find(int id);
    Action& Get(int id);
    const Action& Get(int id) const;
    Action* FindMenu(HMENU popup);
    // The menus around `id`, the outermost first: the menu holding it, the menu holding that one, and so on.
    std::vector<int> MenusAround(int id) const;
    void Changed(const Action& action);
    void FillMenuBar();

    std::vector<Action> actions_;
    UniqueAccelerators accelerators_;
    bool acceleratorsStale_ = true;
    HWND barWindow_ = nullptr;
    HMENU bar_ = nullptr;  // the window's
    std::vector<int> barEntries_;
};

} // namespace kit
