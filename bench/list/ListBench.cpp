// Fills a result table with 1,000,000 rows, shows it in the result list and times the first paint, page
// scrolling over new rows and over rows seen before, a repaint, and the sorts by name and by size, each with
// its paint. A bare owner-data list view with the same columns and font, answering fixed texts and no icons (the
// floor), is scrolled and repainted the same way in the same run; the list's figures are printed as ratios to
// it, with the targets, and to a second floor that also draws the list's icons.
#include "bench/list/FloorList.h"
#include "tests/support/ListTestWindow.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>

using namespace results;

namespace {

constexpr int RowCount = 1000000;
constexpr int WindowWidth = 1000, WindowHeight = 700;
constexpr int Pages = 50;     // page scrolls a pass
constexpr int Repaints = 20;
constexpr int Rounds = 6;     // best of, the floors and the list taking turns (the machine may be shared)

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Milliseconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return MillisecondsSince(start);
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
        if (table.RowAt(i)->TypeName() != L"X") ++asked;
    return asked;
}

// Paints the list now and waits for nothing else.
void Paint(HWND list) {
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The cells of the first row, by column index: the floor's fixed texts, as long as the list's own.
std::array<std::wstring, bench::FloorList::ColumnCount> FirstRowTexts(TResultTable& table) {
    std::array<std::wstring, bench::FloorList::ColumnCount> texts;
    for (size_t i = 0; i < texts.size(); ++i) texts[i] = table.ColumnAt(0, KindOrder[i]).CellText();
    return texts;
}

struct ScrollFigures {
    double down = 1e30;     // ms a page, over rows never shown
    double up = 1e30;       // ms a page, back over the same rows
    double repaint = 1e30;  // ms a repaint of a page

    void Keep(const ScrollFigures& round) {
        down = std::min(down, round.down);
        up = std::min(up, round.up);
        repaint = std::min(repaint, round.repaint);
    }
};

// From row `start` (brought into view first, untimed), pages down over new rows, back up, and repaints.
ScrollFigures Scroll(HWND list, int start) {
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(start), FALSE);
    Paint(list);
    const auto page = [list](WPARAM code) {
        for (int i = 0; i < Pages; ++i) {
            SendMessageW(list, WM_VSCROLL, code, 0);
            Paint(list);
        }
    };
    ScrollFigures figures;
    figures.down = Milliseconds([&] { page(SB_PAGEDOWN); }) / Pages;
    figures.up = Milliseconds([&] { page(SB_PAGEUP); }) / Pages;
    figures.repaint = Milliseconds([&] {
        for (int i = 0; i < Repaints; ++i) Paint(list);
    }) / Repaints;
    return figures;
}

void PrintRatio(const char* what, double ms, double floorMs, double target) {
    const double ratio = ms / floorMs;
    std::printf("%-36s %8.2f ms  floor %6.2f ms  %5.2fx  (target %.1fx: %s)\n", what, ms, floorMs, ratio, target,
                ratio <= target ? "met" : "MISSED");
}

void PrintLimit(const char* what, double ms, double limitMs) {
    std::printf("%-36s %8.1f ms  (target under %.0f ms: %s)\n", what, ms, limitMs,
                ms < limitMs ? "met" : "MISSED");
}

} // namespace

int wmain() {
    TResultTable table;
    std::printf("fill %d rows:                     %9.1f ms\n", RowCount, Milliseconds([&] { Fill(table); }));

    testsupport::ListTestWindow window(WindowWidth, WindowHeight);
    ShowWindow(window.hwnd(), SW_SHOW);
    Pump();
    TResultListView& list = window.List();
    std::printf("first paint:                        %9.1f ms\n", Milliseconds([&] {
                    list.SetResults(&table);
                    Paint(list.hwnd());
                }));

    bench::FloorList floor(WindowWidth, WindowHeight, list.hwnd(), FirstRowTexts(table));
    floor.SetItemCount(RowCount);
    // The same with the first row's icon where the list draws icons: the name's and the folder's.
    bench::FloorIcons icons;
    icons.columns[tcName] = icons.columns[tcFolder] = true;
    icons.index = table.RowAt(0)->SystemIconIndex;
    bench::FloorList iconFloor(WindowWidth, WindowHeight, list.hwnd(), FirstRowTexts(table), icons);
    iconFloor.SetItemCount(RowCount);

    // One window shown at a time, in the same place, so none paints behind another.
    const HWND windows[] = {window.hwnd(), floor.hwnd(), iconFloor.hwnd()};
    const auto measure = [&](HWND shown, HWND target, int start) {
        for (HWND other : windows)
            if (other != shown) ShowWindow(other, SW_HIDE);
        ShowWindow(shown, SW_SHOW);
        Pump();
        return Scroll(target, start);
    };
    ScrollFigures ours, bare, withIcons;
    for (int round = 0; round < Rounds; ++round) {
        const int start = 50000 + round * 150000;  // rows no earlier round showed
        bare.Keep(measure(floor.hwnd(), floor.List(), start));
        withIcons.Keep(measure(iconFloor.hwnd(), iconFloor.List(), start));
        ours.Keep(measure(window.hwnd(), list.hwnd(), start));
    }
    std::printf("best of %d rounds, %d page scrolls a pass, %d rows a page\n", Rounds, Pages,
                static_cast<int>(SendMessageW(list.hwnd(), LVM_GETCOUNTPERPAGE, 0, 0)));
    PrintRatio("page scroll over new rows:", ours.down, bare.down, 2.0);
    PrintRatio("page scroll over rows seen before:", ours.up, bare.up, 1.3);
    std::printf("%-36s %8.2f ms  floor %6.2f ms  %5.2fx\n", "repaint of a page:", ours.repaint, bare.repaint,
                ours.repaint / bare.repaint);
    std::printf("against the floor drawing the same icons:\n");
    const auto printIcons = [](const char* what, double ms, double floorMs) {
        std::printf("%-36s %8.2f ms  floor %6.2f ms  %5.2fx\n", what, ms, floorMs, ms / floorMs);
    };
    printIcons("  page scroll over new rows:", ours.down, withIcons.down);
    printIcons("  page scroll over rows seen before:", ours.up, withIcons.up);
    printIcons("  repaint of a page:", ours.repaint, withIcons.repaint);
    std::printf("jump to the last row:               %9.1f ms\n", Milliseconds([&] {
                    SendMessageW(list.hwnd(), LVM_ENSUREVISIBLE, RowCount - 1, FALSE);
                    Paint(list.hwnd());
                }));

    // A click on another column sorts it descending; name and size take turns, so each sort starts from the
    // other's order.
    double byName = 1e30, bySize = 1e30;
    for (int round = 0; round < 2; ++round) {
        for (TColumnsEnum kind : {tcName, tcSize}) {
            const double ms = Milliseconds([&] {
                list.OnColumnClick(kind);
                Paint(list.hwnd());
            });
            (kind == tcName ? byName : bySize) = std::min(kind == tcName ? byName : bySize, ms);
        }
    }
    PrintLimit("sort by name and paint (best of 2):", byName, 600);
    PrintLimit("sort by size and paint (best of 2):", bySize, 200);
    Pump();
    std::printf("rows asked of the shell: %lld of %d\n", AskedRows(table), RowCount);
    return 0;
}
