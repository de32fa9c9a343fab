// Fills a result table with 1,000,000 rows, shows it in the result list and prints how long the first paint,
// page scrolling and the sorts by name and by size take, and for how many rows the shell was asked.
#include "tests/support/ListTestWindow.h"

#include <windows.h>

#include <chrono>
#include <cstdio>

using namespace results;

namespace {

constexpr int RowCount = 1000000;

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Fill(TResultTable& table) {
    // A fixed sequence: names and sizes in no order, so both sorts do real work.
    unsigned state = 12345;
    for (int i = 0; i < RowCount; ++i) {
        state = state * 1103515245u + 12345u;
        wchar_t name[32];
        swprintf(name, 32, L"file%08u.dat", state % 100000000u);
        table.AddRow(i + 1, -1, {engine::saArchive}, 40000.0 + i, 40000.0, 40000.0, (state >> 8) % 50000000u, L"",
                     L"C:\\Bench\\Folder\\", -1, name, -1);
    }
}

// The rows the list asked the shell about: only those get a type name.
long long AskedRows(TResultTable& table) {
    long long asked = 0;
    for (std::int64_t i = 0; i < table.Count(); ++i)
        if (table.RowAt(i)->TypeName != L"X") ++asked;
    return asked;
}

// Paints the list now and waits for nothing else.
void Paint(HWND list) {
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

} // namespace

int wmain() {
    TResultTable table;
    auto start = std::chrono::steady_clock::now();
    Fill(table);
    std::printf("fill %d rows:          %9.1f ms\n", RowCount, MillisecondsSince(start));

    testsupport::ListTestWindow window(1000, 700);
    ShowWindow(window.hwnd(), SW_SHOW);
    Pump();
    TResultListView& list = window.List();

    start = std::chrono::steady_clock::now();
    list.SetResults(&table);
    Paint(list.hwnd());
    std::printf("first paint:            %9.1f ms\n", MillisecondsSince(start));

    start = std::chrono::steady_clock::now();
    for (int i = 0; i < 50; ++i) {
        SendMessageW(list.hwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
        Paint(list.hwnd());
    }
    std::printf("50 page scrolls down:   %9.1f ms  (new rows: icons and type names asked)\n",
                MillisecondsSince(start));
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < 50; ++i) {
        SendMessageW(list.hwnd(), WM_VSCROLL, SB_PAGEUP, 0);
        Paint(list.hwnd());
    }
    std::printf("50 page scrolls up:     %9.1f ms  (rows seen before: cached)\n", MillisecondsSince(start));
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i) Paint(list.hwnd());
    std::printf("one repaint of a page:  %9.1f ms  (the control drawing %d rows)\n", MillisecondsSince(start) / 20,
                static_cast<int>(SendMessageW(list.hwnd(), LVM_GETCOUNTPERPAGE, 0, 0)));
    start = std::chrono::steady_clock::now();
    SendMessageW(list.hwnd(), LVM_ENSUREVISIBLE, RowCount - 1, FALSE);
    Paint(list.hwnd());
    std::printf("jump to the last row:   %9.1f ms\n", MillisecondsSince(start));

    const TColumnsEnum kinds[] = {tcName, tcSize};
    for (TColumnsEnum kind : kinds) {
        start = std::chrono::steady_clock::now();
        list.OnColumnClick(kind);
        Paint(list.hwnd());
        std::printf("sort by %-4ls and paint:  %9.1f ms\n", kind == tcName ? L"name" : L"size",
                    MillisecondsSince(start));
    }
    Pump();
    std::printf("rows asked of the shell: %lld of %d\n", AskedRows(table), RowCount);
    return 0;
}
