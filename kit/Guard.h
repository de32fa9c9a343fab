#pragma once
// The one error edge of the program. Everything Windows calls back (window, subclass and dialog procedures,
// timer callbacks, paint, COM methods, thread procedures) runs its body through one of these: an exception
// never unwinds into Windows (Wine cannot unwind through its frames), and none is dropped without a trace.
#include <windows.h>

#include <exception>
#include <string>

namespace kit {

// Writes "Kolvaran: <where>: <message>" to the debugger output (visible under Wine with WINEDEBUG=+debugstr).
void Trace(const wchar_t* where, const std::wstring& message);
// Tests read the traces: the listener gets each line too (null: none). It must not throw.
void SetTraceListener(void (*listener)(const std::wstring& line));

// Shows `message` in an error box over `hwnd`'s top-level window, one report at a time: a handler of WM_PAINT
// or WM_TIMER that throws would otherwise throw again inside the report's own loop and stack dialogs.
// A report that cannot be shown (one already open, out of memory) is traced instead.
void ReportError(HWND hwnd, const std::wstring& message) noexcept;

// The message of the exception being handled; call inside a catch block.
std::wstring CurrentExceptionMessage() noexcept;

// For user-facing callbacks: runs `body`; an exception is reported to the user once and traced. Returns false
// when the body threw.
template <class Body>
bool Guarded(HWND owner, const wchar_t* where, Body&& body) noexcept {
    try {
        body();
        return true;
    } catch (...) {
        const std::wstring message = CurrentExceptionMessage();
        Trace(where, message);
        ReportError(owner, message);
    }
    return false;
}

// For callbacks no person should be asked about (paint, COM methods, thread procedures): an exception is only
// traced. Returns false when the body threw.
template <class Body>
bool GuardedQuiet(const wchar_t* where, Body&& body) noexcept {
    try {
        body();
        return true;
    } catch (...) {
        Trace(where, CurrentExceptionMessage());
    }
    return false;
}

// WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC: a control asks its parent for its colours.
constexpr bool IsColourMessage(UINT msg) { return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC; }
// The messages that draw (WM_PAINT, WM_ERASEBKGND, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*, and the
// notifications a list sends while it paints: custom draw, display info, cache hints).
bool IsDrawingMessage(UINT msg, LPARAM lp);

// For window, dialog and subclass procedures: a drawing message is guarded quietly (a report would repaint the
// window under it and throw again), any other is reported once.
template <class Body>
bool GuardedMessage(HWND hwnd, UINT msg, LPARAM lp, const wchar_t* where, Body&& body) noexcept {
    return IsDrawingMessage(msg, lp) ? GuardedQuiet(where, body) : Guarded(hwnd, where, body);
}

// For COM methods: the body's HRESULT, or E_OUTOFMEMORY / E_UNEXPECTED when it threw (traced).
template <class Body>
HRESULT GuardedCom(const wchar_t* where, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        Trace(where, L"Out of memory.");
        return E_OUTOFMEMORY;
    } catch (...) {
        Trace(where, CurrentExceptionMessage());
        return E_UNEXPECTED;
    }
}

} // namespace kit
