// The shell context menu of result files: building it, showing it through the interaction seam (a test picks
// from the built menu), and carrying out the choice.
#include "results/listview/ResultContextMenu.h"

#include <algorithm>
#include <vector>

#include "kit/Guard.h"
#include "kit/Handles.h"
#include "kit/Interaction.h"
#include "kit/ModalWait.h"
#include "kit/Strings.h"
#include "results/ShellFolder.h"
#include "results/listview/HourglassCursor.h"

namespace results {
namespace {

constexpr const wchar_t* kCallbackClass = L"ItemPropMenuCallbackHelper";
constexpr const wchar_t* kCallbackWindowName = L"ItemPropCallbackProcessor";

// What the callback window passes the menu's drawing messages to; the third version when the object has it.
struct TMenuMessageTarget {
    kit::ComPtr<IContextMenu2> menu2;
    kit::ComPtr<IContextMenu3> menu3;
};

template <class T>
kit::ComPtr<T> Query(IUnknown& object) {
    kit::ComPtr<T> answer;
    if (FAILED(object.QueryInterface(__uuidof(T), answer.put_void()))) answer.reset();
    return answer;
}

bool IsProgramVerb(const std::wstring& verb) {
    return std::find(ProgramVerbs.begin(), ProgramVerbs.end(), verb) != ProgramVerbs.end();
}

bool HasWildcard(const std::wstring& name) { return name.find_first_of(L"*?") != std::wstring::npos; }

// The entries of `folder` (ending in a separator) that `mask` matches.
std::vector<std::wstring> MatchingNames(const std::wstring& folder, const std::wstring& mask) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry{};
    const kit::UniqueFindHandle find(
        FindFirstFileExW((folder + mask).c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
    if (!find) return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find.get(), &entry));
    return names;
}

kit::UniqueWindow CreateCallbackWindow(TMenuMessageTarget& target) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_PARENTDC;
    windowClass.lpfnWndProc = ContextMenuCallbackWndProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kCallbackClass;
    RegisterClassExW(&windowClass);  // fails harmlessly once the class exists
    return kit::UniqueWindow(CreateWindowExW(0, kCallbackClass, kCallbackWindowName,
                                             WS_POPUP | WS_BORDER | WS_SYSMENU, 0, 0, 0, 0, nullptr, nullptr,
                                             GetModuleHandleW(nullptr), &target));
}

// A shell item's command offset, passed where the call takes a verb text.
LPCSTR CommandOffset(UINT id) { return MAKEINTRESOURCEA(id - FirstShellCommand); }

bool IsShellCommand(UINT id) { return id >= FirstShellCommand && id <= LastShellCommand; }

bool Invoke(IContextMenu& menu, HWND owner, LPCSTR verb) {
    // The shell's verb may ask or report in a window of its own.
    const kit::ModalWait wait(owner);
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof(info);  // a fixed 36 bytes fits the 32-bit layout only
    info.hwnd = owner;
    info.lpVerb = verb;
    info.nShow = SW_SHOWNORMAL;
    return SUCCEEDED(menu.InvokeCommand(&info));
}

// The shell item's verb in lower case; empty when the item has none.
std::wstring VerbOf(IContextMenu& menu, UINT id) {
    wchar_t verb[256] = L"";
    if (FAILED(menu.GetCommandString(id - FirstShellCommand, GCS_VERBW, nullptr, reinterpret_cast<LPSTR>(verb),
                                     255)))
        return {};
    verb[255] = L'\0';
    return kit::LowerCase(verb);
}

// Found by their verbs, whatever the shell calls them: chosen, they would do nothing.
void GrayProgramVerbs(IContextMenu& menu, HMENU popup) {
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        const UINT id = GetMenuItemID(popup, i);
        if (IsShellCommand(id) && IsProgramVerb(VerbOf(menu, id)))
            EnableMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | MF_GRAYED);
    }
}

bool BuildShellContextMenu(IContextMenu& menu, HMENU popup, bool programVerbsRefused) {
    if (FAILED(menu.QueryContextMenu(popup, 0, FirstShellCommand, LastShellCommand, CMF_EXPLORE | CMF_CANRENAME)))
        return false;
    if (programVerbsRefused) GrayProgramVerbs(menu, popup);
    // Each goes to the top, so they come out in the reverse order.
    InsertMenuW(popup, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuW(popup, 0, MF_BYPOSITION | MF_STRING, OpenContainingFolderCommand, L"Open Containing Folder");
    InsertMenuW(popup, 0, MF_BYPOSITION | MF_STRING, OpenFolderCommand, L"Open Folder");
    return true;
}

bool InvokeDefault(IContextMenu& menu, HWND owner) {
    const kit::UniqueMenu popup(CreatePopupMenu());
    if (!popup || FAILED(menu.QueryContextMenu(popup.get(), 0, FirstShellCommand, LastShellCommand,
                                               CMF_DEFAULTONLY)))
        return false;
    const UINT id = GetMenuDefaultItem(popup.get(), FALSE, 0);
    return IsShellCommand(id) && Invoke(menu, owner, CommandOffset(id));
}

bool CarryOut(IContextMenu& menu, UINT chosen, const TContextMenuCall& call, std::wstring& verb) {
    kit::Interaction& interaction = kit::UserInteraction();
    if (chosen == OpenFolderCommand) {
        interaction.ShellExecuteVerb(call.owner, {L"Explore", kit::ExtractFilePath(call.fileName)});
        return true;
    }
    if (chosen == OpenContainingFolderCommand) {
        interaction.ShellExecuteVerb(call.owner, {L"Open", L"explorer.exe", L"/select, \"" + call.fileName + L"\""});
        return true;
    }
    if (!IsShellCommand(chosen)) return true;  // closed without a choice
    verb = VerbOf(menu, chosen);
    if (IsProgramVerb(verb)) return true;
    return Invoke(menu, call.owner, CommandOffset(chosen));
}

bool ShowMenuForItems(IShellFolder& folder, const std::vector<kit::UniquePidl>& items, const TContextMenuCall& call,
                      std::wstring& verb) {
    std::vector<PCUITEMID_CHILD> ids;
    for (const kit::UniquePidl& item : items) ids.push_back(reinterpret_cast<PCUITEMID_CHILD>(item.get()));
    const auto count = static_cast<UINT>(ids.size());
    kit::ComPtr<IContextMenu> menu;
    if (FAILED(folder.GetUIObjectOf(call.owner, count, ids.data(), IID_IContextMenu, nullptr, menu.put_void())) ||
        !menu)
        return false;
    SFGAOF attributes = SFGAO_HASPROPSHEET;
    if (FAILED(folder.GetAttributesOf(count, ids.data(), &attributes))) attributes = 0;
    const auto menu2 = Query<IContextMenu2>(*menu.get());
    const auto menu3 = Query<IContextMenu3>(*menu.get());
    IContextMenu& strongest = menu3 ? *menu3.get() : menu2 ? *menu2.get() : *menu.get();
    return TrackShellContextMenu(strongest, attributes, menu2 || menu3, call, verb);
}

} // namespace

bool ShowResultContextMenu(const std::wstring& fileName, HWND owner, POINT point, bool programVerbsRefused,
                           std::wstring& verb) {
    return ShowContextMenuForFiles(
        {.fileName = fileName, .owner = owner, .point = point, .programVerbsRefused = programVerbsRefused}, verb);
}

bool ShowContextMenuForFiles(const TContextMenuCall& call, std::wstring& verb) {
    verb.clear();
    const HourglassCursor hourglass;
    const std::wstring folderPath = kit::ExtractFilePath(call.fileName);
    const std::wstring name = kit::ExtractFileName(call.fileName);
    const kit::ComPtr<IShellFolder> folder = BindShellFolder(folderPath);
    if (!folder) return false;
    const std::vector<std::wstring> names =
        HasWildcard(name) ? MatchingNames(folderPath, name) : std::vector<std::wstring>{name};
    std::vector<kit::UniquePidl> items;
    for (const std::wstring& each : names) {
        kit::UniquePidl item = ParseChildName(*folder.get(), each);
        if (item) items.push_back(std::move(item));  // a matched entry the shell cannot parse is left out
    }
    if (items.empty()) return false;
    return ShowMenuForItems(*folder.get(), items, call, verb);
}

bool TrackShellContextMenu(IContextMenu& menu, SFGAOF attributes, bool useCallbackWindow,
                           const TContextMenuCall& call, std::wstring& verb) {
    verb.clear();
    switch (call.mode) {
    case TContextMenuMode::cmmProperties:
        return (attributes & SFGAO_HASPROPSHEET) && Invoke(menu, call.owner, "properties");
    case TContextMenuMode::cmmDefault:
        return InvokeDefault(menu, call.owner);
    case TContextMenuMode::cmmCommand:
        return IsShellCommand(call.commandId) && Invoke(menu, call.owner, CommandOffset(call.commandId));
    case TContextMenuMode::cmmShow:
        break;
    }
    const kit::UniqueMenu popup(CreatePopupMenu());
    if (!popup || !BuildShellContextMenu(menu, popup.get(), call.programVerbsRefused)) return false;
    // Declared before the window that points to it, so it outlives the window.
    TMenuMessageTarget target;
    kit::UniqueWindow callback;
    if (useCallbackWindow) {
        target = {Query<IContextMenu2>(menu), Query<IContextMenu3>(menu)};
        callback = CreateCallbackWindow(target);
    }
    const UINT chosen =
        kit::UserInteraction().TrackMenu(callback ? callback.get() : call.owner, popup.get(), call.point);
    return CarryOut(menu, chosen, call, verb);
}

LRESULT CALLBACK ContextMenuCallbackWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    bool handled = false;
    kit::GuardedMessage(hwnd, msg, lp, L"context menu callback", [&] {
        if (msg == WM_CREATE) {
            const auto& create = *reinterpret_cast<const CREATESTRUCTW*>(lp);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create.lpCreateParams));
            return;
        }
        if (msg != WM_INITMENUPOPUP && msg != WM_DRAWITEM && msg != WM_MEASUREITEM) return;
        handled = true;
        result = msg == WM_INITMENUPOPUP ? 0 : TRUE;
        const auto* target = reinterpret_cast<const TMenuMessageTarget*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!target) return;
        if (target->menu3) target->menu3->HandleMenuMsg2(msg, wp, lp, nullptr);
        else if (target->menu2) target->menu2->HandleMenuMsg(msg, wp, lp);
    });
    return handled ? result : DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace results
