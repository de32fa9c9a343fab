#include "kit/Guard.h"

#include <commctrl.h>

#include "kit/Exception.h"
#include "kit/Interaction.h"

namespace kit {
namespace {

bool g_reporting = false;
void (*g_traceListener)(const std::wstring&) = nullptr;

// The report goes over the window's top-level window when one is on screen, else it stands alone.
HWND ReportOwner(HWND hwnd) {
    HWND root = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
    return root && IsWindowVisible(root) ? root : nullptr;
}

} // namespace

void Trace(const wchar_t* where, const std::wstring& message) {
    try {
        const std::wstring line = L"Kolvaran: " + std::wstring(where ? where : L"?") + L": " + message + L"\n";
        OutputDebugStringW(line.c_str());
        if (g_traceListener) g_traceListener(line);
    } catch (...) {
        OutputDebugStringW(L"Kolvaran: an error could not be traced (out of memory)\n");
    }
}

void SetTraceListener(void (*listener)(const std::wstring& line)) { g_traceListener = listener; }

void ReportError(HWND hwnd, const std::wstring& message) noexcept {
    if (g_reporting) {
        Trace(L"ReportError (another report is open)", message);
        return;
    }
    g_reporting = true;
    try {
        UserInteraction().ShowMessage(ReportOwner(hwnd), message, MessageType::Error, MessageButtons::Ok);
    } catch (...) {
        Trace(L"ReportError (the report failed)", message);
    }
    g_reporting = false;
}

bool IsDrawingMessage(UINT msg, LPARAM lp) {
    if (msg == WM_NOTIFY && lp) {
        const UINT code = reinterpret_cast<const NMHDR*>(lp)->code;
        return code == NM_CUSTOMDRAW || code == LVN_GETDISPINFOW || code == LVN_ODCACHEHINT;
    }
    return msg == WM_PAINT || msg == WM_ERASEBKGND || msg == WM_DRAWITEM || msg == WM_MEASUREITEM ||
           IsColourMessage(msg);
}

std::wstring CurrentExceptionMessage() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return L"Out of memory.";
    } catch (const std::exception& e) {
        try {
            return ExceptionMessage(e);
        } catch (...) {
            return L"Out of memory.";
        }
    } catch (...) {
        return L"Unknown error.";
    }
}

} // namespace kit
