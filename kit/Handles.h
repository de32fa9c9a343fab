#pragma once
// Owners for Windows handles, registry keys, GDI objects, icons, image lists, shell allocations and COM pointers.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <utility>

namespace kit {

// One owner type, specialised by a traits struct that knows the invalid value and how to close.
template <typename Traits>
class UniqueResource {
public:
    using Value = typename Traits::Value;
    UniqueResource() = default;
    explicit UniqueResource(Value value) : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    Value get() const { return value_; }
    explicit operator bool() const { return Traits::IsValid(value_); }
    Value release() { return std::exchange(value_, Traits::Invalid()); }
    void reset(Value value = Traits::Invalid()) {
        if (Traits::IsValid(value_)) Traits::Close(value_);
        value_ = value;
    }
    // For out-parameters of API calls: closes what is held, then hands out the slot.
    Value* put() { reset(); return &value_; }

private:
    Value value_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using Value = HANDLE;
    static Value Invalid() { return INVALID_HANDLE_VALUE; }
    // CreateFileW fails with INVALID_HANDLE_VALUE, most other calls with null: both mean "nothing held".
    static bool IsValid(Value v) { return v != INVALID_HANDLE_VALUE && v != nullptr; }
    static void Close(Value v) { CloseHandle(v); }
};
struct FindHandleTraits {
    using Value = HANDLE;
    static Value Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Value v) { return v != INVALID_HANDLE_VALUE && v != nullptr; }
    static void Close(Value v) { FindClose(v); }
};
struct RegKeyTraits {
    using Value = HKEY;
    static Value Invalid() { return nullptr; }
    static bool IsValid(Value v) { return v != nullptr; }
    static void Close(Value v) { RegCloseKey(v); }
};
template <typename T>
struct GdiObjectTraits {
    using Value = T;
    static Value Invalid() { return nullptr; }
    static bool IsValid(Value v) { return v != nullptr; }
    static void Close(Value v) { DeleteObject(v); }
};
struct IconTraits {
    using Value = HICON;
    static Value Invalid() { return nullptr; }
    static bool IsValid(Value v) { return v != nullptr; }
    static void Close(Value v) { DestroyIcon(v); }
};
struct PidlTraits {
    using Value = PIDLIST_ABSOLUTE;
    static Value Invalid() { return nullptr; }
    static bool IsValid(Value v) { return v != nullptr; }
    static void Close(Value v) { CoTaskMemFree(v); }
};
struct WindowTraits {
    using Value = HWND;
    static Value Invalid() { return nullptr; }
    static bool IsValid(Value v) { return v != nullptr; }
    static void Close(Value v) { DestroyWindow(v); }
};
struct ImageListTraits {
    using Value = HIMAGELIST;
    static Value Invalid() { return nullptr; }
    static bool IsValid(Value v) { return v != nullptr; }
    static void Close(Value v) { ImageList_Destroy(v); }
};
struct AcceleratorTraits {
    using Value = HACCEL;
    static Value Invalid() { return nullptr; }
    static bool IsValid(Value v) { return v != nullptr; }
    static void Close(Value v) { DestroyAcceleratorTable(v); }
};
struct MenuTraits {
    using Value = HMENU;
    static Value Invalid() { return nullptr; }
    static bool IsValid(Value v) { return v != nullptr; }
    static void Close(Value v) { DestroyMenu(v); }
};

struct GlobalMemoryTraits {
    using Value = HGLOBAL;
    static Value Invalid() { return nullptr; }
    static bool IsValid(Value v) { return v != nullptr; }
    static void Close(Value v) { GlobalFree(v); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
using UniqueRegKey = UniqueResource<RegKeyTraits>;
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniquePen = UniqueResource<GdiObjectTraits<HPEN>>;
using UniqueIcon = UniqueResource<IconTraits>;
using UniquePidl = UniqueResource<PidlTraits>;
using UniqueWindow = UniqueResource<WindowTraits>;
using UniqueAccelerators = UniqueResource<AcceleratorTraits>;
// A menu no window holds (a pop-up); one in a window's menu bar is destroyed with the window.
using UniqueMenu = UniqueResource<MenuTraits>;
// An image list the program made; a control shown it must share it (LVS_SHAREIMAGELISTS) or it is freed twice.
using UniqueImageList = UniqueResource<ImageListTraits>;

// A global memory block until it is handed over (to the clipboard, a medium, a stream).
using UniqueGlobal = UniqueResource<GlobalMemoryTraits>;

// Locks an HGLOBAL for the life of the object; `data()` is null when the lock failed.
class GlobalMemoryLock {
public:
    explicit GlobalMemoryLock(HGLOBAL memory)
        : memory_(memory), data_(static_cast<BYTE*>(GlobalLock(memory))), size_(data_ ? GlobalSize(memory) : 0) {}
    ~GlobalMemoryLock() {
        if (data_) GlobalUnlock(memory_);
    }
    GlobalMemoryLock(const GlobalMemoryLock&) = delete;
    GlobalMemoryLock& operator=(const GlobalMemoryLock&) = delete;
    BYTE* data() const { return data_; }
    size_t size() const { return size_; }

private:
    HGLOBAL memory_;
    BYTE* data_;
    size_t size_;
};

// A COM interface pointer that releases what it holds.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes over a reference the caller already owns.
    static ComPtr Attach(T* p) { ComPtr c; c.p_ = p; return c; }
    ComPtr(const ComPtr& other) : p_(other.p_) { if (p_) p_->AddRef(); }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept { std::swap(p_, other.p_); return *this; }
    ~ComPtr() { if (p_) p_->Release(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() { if (p_) { p_->Release(); p_ = nullptr; } }
    T** put() { reset(); return &p_; }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    T* detach() { return std::exchange(p_, nullptr); }

    template <typename U>
    ComPtr<U> As() const {
        ComPtr<U> other;
        if (p_) p_->QueryInterface(__uuidof(U), other.put_void());
        return other;
    }

private:
    T* p_ = nullptr;
};

// Restores the process error mode on every path (drive queries must not raise "insert a disk" boxes).
class ScopedErrorMode {
public:
    explicit ScopedErrorMode(UINT mode) : previous_(SetErrorMode(mode)) {}
    ~ScopedErrorMode() { SetErrorMode(previous_); }
    ScopedErrorMode(const ScopedErrorMode&) = delete;
    ScopedErrorMode& operator=(const ScopedErrorMode&) = delete;
private:
    UINT previous_;
};

} // namespace kit
