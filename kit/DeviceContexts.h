#pragma once
// Owners for device contexts and for an object selected into one; each undoes itself on every path.
#include <windows.h>

namespace kit {

// A window's device context (GetDC), released at the end.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() { if (dc_) ReleaseDC(hwnd_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }
private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a device context, the previous one put back at the end.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() { if (dc_ && previous_) SelectObject(dc_, previous_); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory device context (compatible with `compatible`, or the screen) with one object selected into it.
class MemoryDc {
public:
    MemoryDc(HDC compatible, HGDIOBJ object) : dc_(CreateCompatibleDC(compatible)), select_(dc_.get(), object) {}
    ~MemoryDc() = default;
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_.get(); }
private:
    struct Deleter {
        HDC dc;
        explicit Deleter(HDC d) : dc(d) {}
        ~Deleter() { if (dc) DeleteDC(dc); }
        HDC get() const { return dc; }
    };
    Deleter dc_;          // declared first: deleted last, after the selection is undone
    ScopedSelect select_;
};

} // namespace kit
