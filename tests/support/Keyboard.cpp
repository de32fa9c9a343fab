#include "tests/support/Keyboard.h"

#include <vector>

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

void Send(std::vector<INPUT>& inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    RunPendingInput();
}

void ClickWith(HWND window, POINT client, DWORD down, DWORD up) {
    ClientToScreen(window, &client);
    SetCursorPos(client.x, client.y);
    std::vector<INPUT> inputs(2);
    for (INPUT& input : inputs) input.type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = down;
    inputs[1].mi.dwFlags = up;
    Send(inputs);
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
        std::vector<INPUT> inputs;
        const SHORT scan = VkKeyScanW(ch);
        if (scan == -1) {
            inputs = {UnicodeKey(ch, false), UnicodeKey(ch, true)};
        } else {
            const WORD vk = LOBYTE(scan);
            const bool shift = (HIBYTE(scan) & 1) != 0;
            if (shift) inputs.push_back(Key(VK_SHIFT, false));
            inputs.push_back(Key(vk, false));
            inputs.push_back(Key(vk, true));
            if (shift) inputs.push_back(Key(VK_SHIFT, true));
        }
        Send(inputs);
    }
}

void PressKeys(std::initializer_list<WORD> chord) {
    std::vector<INPUT> inputs;
    for (const WORD vk : chord) inputs.push_back(Key(vk, false));
    for (auto vk = std::rbegin(chord); vk != std::rend(chord); ++vk) inputs.push_back(Key(*vk, true));
    Send(inputs);
}

void ClickAt(HWND window, POINT client) { ClickWith(window, client, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }

void RightClickAt(HWND window, POINT client) {
    ClickWith(window, client, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
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

} // namespace testsupport
