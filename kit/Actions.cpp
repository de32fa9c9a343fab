#include "kit/Actions.h"

#include <algorithm>
#include <set>
#include <utility>

#include "kit/DisabledControls.h"
#include "kit/Exception.h"
#include "kit/ModalWait.h"
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

// The position of a caption's access key: the character after its first single '&' ("&&" is an ampersand).
size_t AccessKeyAt(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] != L'&') return i + 1;
        ++i;
    }
    return std::wstring::npos;
}

wchar_t KeyOf(wchar_t c) {
    CharUpperBuffW(&c, 1);
    return c;
}

// Where a caption without a key can take one: a free letter or digit that starts a word, else any free one.
size_t FreeKeyAt(const std::wstring& caption, const std::set<wchar_t>& taken) {
    for (const bool wordStartsOnly : {true, false}) {
        for (size_t i = 0; i < caption.size(); ++i) {
            if (caption[i] == L'&') {
                ++i;  // a literal ampersand
                continue;
            }
            if (!IsCharAlphaNumericW(caption[i]) || taken.contains(KeyOf(caption[i]))) continue;
            if (wordStartsOnly && i > 0 && caption[i - 1] != L' ') continue;
            return i;
        }
    }
    return std::wstring::npos;
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

std::vector<std::wstring> WithAccessKeys(std::vector<std::wstring> captions) {
    std::set<wchar_t> taken;
    std::vector<size_t> keyless;
    for (size_t n = 0; n < captions.size(); ++n) {
        std::wstring& caption = captions[n];
        const size_t at = AccessKeyAt(caption);
        if (at != std::wstring::npos && taken.insert(KeyOf(caption[at])).second) continue;
        if (at != std::wstring::npos) caption.erase(at - 1, 1);  // an earlier caption answers that key
        keyless.push_back(n);
    }
    for (const size_t n : keyless) {
        std::wstring& caption = captions[n];
        const size_t at = FreeKeyAt(caption, taken);
        if (at == std::wstring::npos) continue;
        taken.insert(KeyOf(caption[at]));
        caption.insert(at, 1, L'&');
    }
    return captions;
}

ActionList::~ActionList() {
    for (const Action& action : actions_)
        if (action.popup && !action.held) DestroyMenu(action.popup);
}

void ActionList::Add(int id, std::wstring caption, Handler handler, Shortcut shortcut) {
    if (Contains(id)) throw Exception(Format(L"The action %d exists already.", id));
    Action action{id, std::move(caption), std::move(handler), {}};
    if (shortcut.key) action.shortcuts.push_back(shortcut);
    actions_.push_back(std::move(action));
    acceleratorsStale_ = true;
}

HMENU ActionList::AddMenu(int id, std::wstring caption, std::vector<int> entries, Handler onOpen) {
    if (Contains(id)) throw Exception(Format(L"The action %d exists already.", id));
    const HMENU popup = CreatePopupMenu();
    if (!popup) throw Exception(L"The menu could not be made.");
    Action menu{id, std::move(caption), std::move(onOpen), {}};
    menu.popup = popup;
    actions_.push_back(std::move(menu));
    // Filled now, so that the accelerators find their items in the window's menu before it ever opens.
    SetMenuEntries(id, std::move(entries));
    return popup;
}

void ActionList::SetMenuEntries(int id, std::vector<int> entries) {
    Action& menu = Get(id);
    menu.entries = std::move(entries);
    if (IsMenu(menu.popup)) FillMenu(menu.popup, menu.entries);
}

void ActionList::SetMenuBar(HWND window, std::vector<int> ids) {
    barWindow_ = window;
    barEntries_ = std::move(ids);
    bar_ = CreateMenu();
    if (!bar_) throw Exception(L"The menu bar could not be made.");
    FillMenu(bar_, barEntries_);
    SetMenu(window, bar_);
}

void ActionList::FillMenuBar() {
    // Once the window is gone, so is its bar.
    if (!bar_ || !IsWindow(barWindow_) || GetMenu(barWindow_) != bar_) return;
    FillMenu(bar_, barEntries_);
    DrawMenuBar(barWindow_);
}

bool ActionList::OnInitMenuPopup(HMENU popup) {
    const Action* menu = FindMenu(popup);
    if (!menu) return false;
    const int id = menu->id;
    if (menu->handler) {
        const Handler open = menu->handler;  // a copy: the handler changes the table it came from
        open();
    }
    FillMenu(popup, Get(id).entries);
    return true;
}

HMENU ActionList::Menu(int id) const { return Get(id).popup; }

const ActionList::Action* ActionList::Find(int id) const {
    const auto it = std::find_if(actions_.begin(), actions_.end(), [id](const Action& a) { return a.id == id; });
    return it == actions_.end() ? nullptr : &*it;
}

ActionList::Action* ActionList::Find(int id) { return const_cast<Action*>(std::as_const(*this).Find(id)); }

ActionList::Action* ActionList::FindMenu(HMENU popup) {
    if (!popup) return nullptr;
    const auto it = std::find_if(actions_.begin(), actions_.end(), [popup](const Action& a) { return a.popup == popup; });
    return it == actions_.end() ? nullptr : &*it;
}

const ActionList::Action& ActionList::Get(int id) const {
    const Action* action = Find(id);
    if (!action) throw Exception(Format(L"There is no action %d.", id));
    return *action;
}

ActionList::Action& ActionList::Get(int id) { return const_cast<Action&>(std::as_const(*this).Get(id)); }

std::vector<int> ActionList::MenusAround(int id) const {
    std::vector<int> menus;
    for (int inner = id;;) {
        const auto holder = std::find_if(actions_.begin(), actions_.end(), [inner](const Action& a) {
            return a.popup && std::find(a.entries.begin(), a.entries.end(), inner) != a.entries.end();
        });
        if (holder == actions_.end() || std::find(menus.begin(), menus.end(), holder->id) != menus.end()) break;
        menus.insert(menus.begin(), holder->id);
        inner = holder->id;
    }
    return menus;
}

const std::wstring& ActionList::Caption(int id) const { return Get(id).caption; }
bool ActionList::Enabled(int id) const { return Get(id).enabled; }
bool ActionList::Checked(int id) const { return Get(id).checked; }
bool ActionList::Visible(int id) const { return Get(id).visible; }

void ActionList::SetCaption(int id, std::wstring caption) {
    Action& action = Get(id);
    action.caption = std::move(caption);
    Changed(action);
}

void ActionList::SetEnabled(int id, bool enabled) {
    Action& action = Get(id);
    action.enabled = enabled;
    Changed(action);
}

void ActionList::SetChecked(int id, bool checked) {
    Action& action = Get(id);
    action.checked = checked;
    if (!checked || action.group == 0) return;
    for (Action& other : actions_)
        if (other.group == action.group && other.id != id) other.checked = false;
}

void ActionList::SetVisible(int id, bool visible) {
    Action& action = Get(id);
    action.visible = visible;
    acceleratorsStale_ = true;  // a hidden action has no shortcut
    Changed(action);
}

void ActionList::SetGroup(int id, int group) { Get(id).group = group; }

void ActionList::SetShortcuts(int id, std::vector<Shortcut> shortcuts) {
    std::erase_if(shortcuts, [](Shortcut s) { return s.key == 0; });
    Get(id).shortcuts = std::move(shortcuts);
    acceleratorsStale_ = true;
}

void ActionList::BindControl(int id, HWND control) {
    Action& action = Get(id);
    action.controls.push_back(control);
    Changed(action);
}

void ActionList::UnbindControl(int id, HWND control) { std::erase(Get(id).controls, control); }

void ActionList::Changed(const Action& action) {
    for (HWND control : action.controls) {
        if (!IsWindow(control)) continue;
        SetWindowTextW(control, action.caption.c_str());
        SetControlEnabled(control, action.enabled);
        ShowWindow(control, action.visible ? SW_SHOWNA : SW_HIDE);
    }
    if (action.popup && std::find(barEntries_.begin(), barEntries_.end(), action.id) != barEntries_.end())
        FillMenuBar();
}

void ActionList::FillMenu(HMENU menu, std::span<const int> ids) {
    // Submenus are taken out, not destroyed: they are appended again, here or elsewhere.
    while (GetMenuItemCount(menu) > 0) {
        if (Action* submenu = FindMenu(GetSubMenu(menu, 0))) submenu->held = false;
        RemoveMenu(menu, 0, MF_BYPOSITION);
    }
    std::vector<Action*> shown;  // null for a separator
    bool separatorPending = false;
    for (const int id : ids) {
        if (id == 0) {
            separatorPending = !shown.empty();
            continue;
        }
        Action* action = Find(id);
        if (!action || !action->visible) continue;
        if (separatorPending) shown.push_back(nullptr);
        separatorPending = false;
        shown.push_back(action);
    }
    std::vector<std::wstring> captions;
    for (const Action* action : shown)
        if (action) captions.push_back(action->caption);
    captions = WithAccessKeys(std::move(captions));

    auto caption = captions.begin();
    for (Action* action : shown) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        std::wstring text;
        if (!action) {
            item.fMask = MIIM_FTYPE;
            item.fType = MFT_SEPARATOR;
        } else {
            text = *caption++;
            if (!action->shortcuts.empty()) text += L"\t" + ShortcutText(action->shortcuts.front());
            item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
            item.fType = action->group != 0 ? MFT_RADIOCHECK : MFT_STRING;
            item.fState = (action->enabled ? MFS_ENABLED : MFS_GRAYED) | (action->checked ? MFS_CHECKED : 0u);
            item.dwTypeData = text.data();
            if (action->popup) {
                item.fMask |= MIIM_SUBMENU;
                item.hSubMenu = action->popup;
                action->held = true;
            } else {
                item.fMask |= MIIM_ID;
                item.wID = static_cast<UINT>(action->id);
            }
        }
        InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
    }
}

bool ActionList::Execute(int id) {
    const Action* action = Find(id);
    if (!action || action->popup) return false;
    // While the person answers a modal wait every window a command could come from is off: one that arrives all
    // the same (posted, sent) is not the person's, and would change what the waiting action works on.
    if (ModalWaiting()) return true;
    // The enabling rules live in the opening handlers of the menus around the action: they run now, as if the
    // person had opened those menus to choose it, so a shortcut runs nothing the menu would show disabled.
    for (const int menuId : MenusAround(id)) {
        const Action& menu = Get(menuId);
        if (!menu.enabled || !menu.visible) return true;
        if (menu.handler) {
            const Handler open = menu.handler;
            open();
        }
    }
    // A hidden or disabled action is not there for the user, whichever way the command arrived.
    // The handler gets a copy: it may change the table it came from.
    action = Find(id);
    if (action->enabled && action->visible && action->handler) {
        const Handler handler = action->handler;
        handler();
    }
    return true;
}

HACCEL ActionList::Accelerators() {
    if (!acceleratorsStale_) return accelerators_.get();
    std::vector<ACCEL> table;
    // A hidden action's keys are left to the controls (a hidden Select All would take Ctrl+A from the boxes).
    for (const Action& action : actions_) {
        if (!action.visible) continue;
        for (const Shortcut& s : action.shortcuts)
            table.push_back({static_cast<BYTE>(FVIRTKEY | s.modifiers), s.key, static_cast<WORD>(action.id)});
    }
    accelerators_.reset(table.empty() ? nullptr
                                      : CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
    acceleratorsStale_ = false;
    return accelerators_.get();
}

} // namespace kit
