#include "tests/support/Keyboard.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "kit/DeviceContexts.h"
#include "kit/MessageLoop.h"

namespace testsupport {
namespace {

INPUT Key(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT UnicodeKey(wchar_t ch, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = ch;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

void Queue(std::vector<INPUT> inputs) { SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)); }

std::vector<INPUT> KeysOf(wchar_t ch) {
    const SHORT scan = VkKeyScanW(ch);
    if (scan == -1) return {UnicodeKey(ch, false), UnicodeKey(ch, true)};
    std::vector<INPUT> inputs;
    const WORD vk = LOBYTE(scan);
    const bool shift = (HIBYTE(scan) & 1) != 0;
    if (shift) inputs.push_back(Key(VK_SHIFT, false));
    inputs.push_back(Key(vk, false));
    inputs.push_back(Key(vk, true));
    if (shift) inputs.push_back(Key(VK_SHIFT, true));
    return inputs;
}

std::vector<INPUT> ChordOf(std::initializer_list<WORD> chord) {
    std::vector<INPUT> inputs;
    for (const WORD vk : chord) inputs.push_back(Key(vk, false));
    for (auto vk = std::rbegin(chord); vk != std::rend(chord); ++vk) inputs.push_back(Key(*vk, true));
    return inputs;
}

std::vector<INPUT> ClickOf(HWND window, POINT client, DWORD down = MOUSEEVENTF_LEFTDOWN,
                           DWORD up = MOUSEEVENTF_LEFTUP) {
    ClientToScreen(window, &client);
    SetCursorPos(client.x, client.y);
    std::vector<INPUT> inputs(2);
    for (INPUT& input : inputs) input.type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = down;
    inputs[1].mi.dwFlags = up;
    return inputs;
}

} // namespace

void BringToFront(HWND window) {
    const HWND top = GetAncestor(window, GA_ROOT);
    SetForegroundWindow(top);
    SetActiveWindow(top);
    RunPendingInput();
}

void FocusAsPerson(HWND control) {
    BringToFront(control);
    SetFocus(control);
    RunPendingInput();
}

void TypeKeys(const std::wstring& text) {
    for (const wchar_t ch : text) {
        Queue(KeysOf(ch));
        RunPendingInput();
    }
}

void PressKeys(std::initializer_list<WORD> chord) {
    QueueChord(chord);
    RunPendingInput();
}

void ClickAt(HWND window, POINT client) {
    QueueClick(window, client);
    RunPendingInput();
}

void RightClickAt(HWND window, POINT client) {
    Queue(ClickOf(window, client, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP));
    RunPendingInput();
}

POINT EndOfText(HWND edit) {
    RECT client{};
    GetClientRect(edit, &client);
    const int middle = (client.top + client.bottom) / 2;
    const int length = GetWindowTextLengthW(edit);
    if (length == 0) return {LOWORD(SendMessageW(edit, EM_GETMARGINS, 0, 0)) + 1, middle};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(edit, text.data(), length + 1);
    const LRESULT last = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(length - 1), 0);
    const kit::WindowDc dc(edit);
    const kit::ScopedSelect font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), &text[static_cast<size_t>(length - 1)], 1, &size);
    const int x = static_cast<short>(LOWORD(last)) + size.cx + 1;
    return {x < client.right ? x : client.right - 1, middle};
}

void RunPendingInput() {
    // The server queues the input at once; a message handled may post more (the list's notifications).
    for (int quiet = 0; quiet < 3;) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            quiet = 0;
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            kit::DispatchOne(msg);
        } else {
            ++quiet;
            Sleep(1);
        }
    }
}

void QueueKeys(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (const wchar_t ch : text) std::ranges::copy(KeysOf(ch), std::back_inserter(inputs));
    Queue(inputs);
}

void QueueChord(std::initializer_list<WORD> chord) { Queue(ChordOf(chord)); }

void QueueClick(HWND window, POINT client) { Queue(ClickOf(window, client)); }

} // namespace testsupport
