#pragma once
// The base of every window of the program: one message switch per class, bound to its object.
#include <windows.h>
#include <optional>
#include <string>

#include "kit/ModalWait.h"

namespace kit {

struct WindowParams {
    const wchar_t* className = nullptr;
    std::wstring title;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    HWND parent = nullptr;        // the owner of a top-level window (may be null), the parent of a WS_CHILD one
    int childId = 0;              // the control id of a child window
    std::optional<RECT> bounds;   // in the parent's client coordinates; none: the system's default place
};

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    // Destroys the window if it still exists; its last messages then go to the default procedure,
    // since the derived part of the object is already gone.
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

protected:
    // Registers the class with this base's procedure on its first use and creates the window bound to this
    // object. Throws kit::Exception when the window cannot be made.
    void Create(const WindowParams& params);

    // Returns true when the message was handled; `result` is then what the window procedure returns. A child
    // control's notifications go to its wrapper first (Control::Reflect); OnMessage sees what the wrapper left,
    // and the commands of menus and accelerators.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) = 0;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    // True while the window handles a message inside its own handling of another (a handler that pumps, a modal
    // loop it opened): what would destroy the window waits for the outer one (OnOutermostMessageDone). The default
    // procedure's loops (moving the window, the menu bar) do not count: nothing of the window's is on the stack.
    bool InNestedMessage() const { return depth_ > 1; }
    // After each message that no other message of the window was being handled below.
    virtual void OnOutermostMessageDone() {}

    // From now on the window's messages go to the default procedure. A derived class whose members answer
    // messages calls it first in its destructor: a member's control that goes sends messages (a list losing the
    // focus tells its parent) that would otherwise reach members already gone.
    void StopDispatch();

private:
    // Reflects a child's notification to its wrapper, else runs OnMessage; an exception is reported to the user
    // here (traced only for a drawing message) and the message is left unhandled, because Wine cannot unwind
    // through a window procedure.
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) noexcept;
    // WM_ACTIVATE of a top-level window that the derived window left to the default procedure: remembers the
    // focused control when the window is deactivated and gives it the focus back when it is activated; true when it
    // did, and the default procedure's focus on the frame is not wanted.
    bool RefocusOnActivate(WPARAM wp);

    HWND hwnd_ = nullptr;
    int depth_ = 0;  // messages of the window being handled, one inside another
    // While the person is in the window's menu bar or window menu.
    MenuLoopWait menuWait_;
    // The control that had the focus when the window was last deactivated: a top-level window gets it back when it
    // is activated again, as a dialog does, instead of the frame that takes the keys to nowhere.
    HWND focusedChild_ = nullptr;
};

} // namespace kit
