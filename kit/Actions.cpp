#include "kit/Actions.h"

#include <algorithm>
#include <utility>

#include "kit/Exception.h"
#include "kit/Strings.h"

namespace kit {
namespace {

std::wstring KeyName(WORD key) {
    if ((key >= L'A' && key <= L'Z') || (key >= L'0' && key <= L'9')) return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F24) return Format(L"F%d", key - VK_F1 + 1);
    switch (key) {
    case VK_DELETE: return L"Del";
    case VK_INSERT: return L"Ins";
    case VK_RETURN: return L"Enter";
    case VK_ESCAPE: return L"Esc";
    case VK_BACK: return L"BkSp";
    case VK_ADD: return L"Num +";
    case VK_SUBTRACT: return L"Num -";
    case VK_NUMPAD0: return L"Num 0";
    }
    // Other keys (the "+" and "-" of the layout) are named by the keyboard layout.
    const UINT scanCode = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    wchar_t name[64] = {};
    if (scanCode && GetKeyNameTextW(static_cast<LONG>(scanCode << 16), name, 64) > 0) return name;
    return Format(L"#%u", key);
}

} // namespace

std::wstring ShortcutText(Shortcut shortcut) {
    if (!shortcut.key) return {};
    std::wstring text;
    if (shortcut.modifiers & FCONTROL) text += L"Ctrl+";
    if (shortcut.modifiers & FSHIFT) text += L"Shift+";
    if (shortcut.modifiers & FALT) text += L"Alt+";
    return text + KeyName(shortcut.key);
}

void ActionList::Add(int id, std::wstring caption, Handler handler, Shortcut shortcut) {
    if (Contains(id)) throw Exception(Format(L"The action %d exists already.", id));
    Action action{id, std::move(caption), std::move(handler), {}};
    if (shortcut.key) action.shortcuts.push_back(shortcut);
    actions_.push_back(std::move(action));
    acceleratorsStale_ = true;
}

const ActionList::Action* ActionList::Find(int id) const {
    const auto it = std::find_if(actions_.begin(), actions_.end(), [id](const Action& a) { return a.id == id; });
    return it == actions_.end() ? nullptr : &*it;
}

const ActionList::Action& ActionList::Get(int id) const {
    const Action* action = Find(id);
    if (!action) throw Exception(Format(L"There is no action %d.", id));
    return *action;
}

ActionList::Action& ActionList::Get(int id) { return const_cast<Action&>(std::as_const(*this).Get(id)); }

const std::wstring& ActionList::Caption(int id) const { return Get(id).caption; }
bool ActionList::Enabled(int id) const { return Get(id).enabled; }
bool ActionList::Checked(int id) const { return Get(id).checked; }
bool ActionList::Visible(int id) const { return Get(id).visible; }

void ActionList::SetCaption(int id, std::wstring caption) {
    Action& action = Get(id);
    action.caption = std::move(caption);
    UpdateControls(action);
}

void ActionList::SetEnabled(int id, bool enabled) {
    Action& action = Get(id);
    action.enabled = enabled;
    UpdateControls(action);
}

void ActionList::SetChecked(int id, bool checked) { Get(id).checked = checked; }

void ActionList::SetVisible(int id, bool visible) {
    Action& action = Get(id);
    action.visible = visible;
    UpdateControls(action);
}

void ActionList::SetShortcuts(int id, std::vector<Shortcut> shortcuts) {
    std::erase_if(shortcuts, [](Shortcut s) { return s.key == 0; });
    Get(id).shortcuts = std::move(shortcuts);
    acceleratorsStale_ = true;
}

void ActionList::BindControl(int id, HWND control) {
    Action& action = Get(id);
    action.controls.push_back(control);
    UpdateControls(action);
}

void ActionList::UnbindControl(int id, HWND control) { std::erase(Get(id).controls, control); }

void ActionList::UpdateControls(const Action& action) {
    for (HWND control : action.controls) {
        if (!IsWindow(control)) continue;
        SetWindowTextW(control, action.caption.c_str());
        EnableWindow(control, action.enabled);
        ShowWindow(control, action.visible ? SW_SHOWNA : SW_HIDE);
    }
}

void ActionList::FillMenu(HMENU menu, std::span<const int> ids) const {
    while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
    bool separatorPending = false;
    for (const int id : ids) {
        if (id == 0) {
            separatorPending = GetMenuItemCount(menu) > 0;
            continue;
        }
        const Action& action = Get(id);
        if (!action.visible) continue;
        if (separatorPending) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        separatorPending = false;
        std::wstring text = action.caption;
        if (!action.shortcuts.empty()) text += L"\t" + ShortcutText(action.shortcuts.front());
        const UINT flags = MF_STRING | (action.enabled ? MF_ENABLED : MF_GRAYED) |
                           (action.checked ? MF_CHECKED : MF_UNCHECKED);
        AppendMenuW(menu, flags, static_cast<UINT_PTR>(id), text.c_str());
    }
}

bool ActionList::Execute(int id) const {
    const Action* action = Find(id);
    if (!action) return false;
    // A hidden or disabled action is not there for the user, whichever way the command arrived.
    // The handler gets a copy: it may change the table it came from.
    if (action->enabled && action->visible && action->handler) {
        const Handler handler = action->handler;
        handler();
    }
    return true;
}

HACCEL ActionList::Accelerators() {
    if (!acceleratorsStale_) return accelerators_.get();
    std::vector<ACCEL> table;
    for (const Action& action : actions_)
        for (const Shortcut& s : action.shortcuts)
            table.push_back({static_cast<BYTE>(FVIRTKEY | s.modifiers), s.key, static_cast<WORD>(action.id)});
    accelerators_.reset(table.empty() ? nullptr
                                      : CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
    acceleratorsStale_ = false;
    return accelerators_.get();
}

} // namespace kit
