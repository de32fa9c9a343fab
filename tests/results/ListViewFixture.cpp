#include "tests/results/ListViewFixture.h"

#include <commctrl.h>

using namespace results;

namespace resultstest {

void ListViewTest::SetUp() { RecreateWindow(); }

void ListViewTest::TearDown() {
    window_.reset();
    Pump();
}

void ListViewTest::RecreateWindow() {
    window_.reset();
    window_ = std::make_unique<testsupport::ListTestWindow>(900, 420);
    ShowWindow(window_->hwnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(window_->hwnd());
    List().SetResults(&table_);
    Pump();
}

void ListViewTest::Fill(const std::vector<ListRow>& rows) {
    for (const ListRow& r : rows)
        table_.AddRow(table_.Count() + 1, -1, r.attributes, 40000, 40000, 40000, r.size, L"", L"C:\\Fixture\\", -1,
                      r.name, -1);
    List().UpdateItemCount();
    Pump();
}

void ListViewTest::FillPlain(int count) {
    for (int i = 1; i <= count; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"row%04d.dat", i);
        table_.AddRow(table_.Count() + 1, -1, {engine::saArchive}, 40000, 40000, 40000, i, L"", L"C:\\Fixture\\", -1,
                      name, -1);
    }
    List().UpdateItemCount();
    Pump();
}

std::wstring ListViewTest::Cell(int row, TColumnsEnum kind) const {
    wchar_t text[260] = L"";
    LVITEMW item{};
    item.iSubItem = kind;  // the columns are created in kind order
    item.pszText = text;
    item.cchTextMax = 260;
    SendMessageW(ListHwnd(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::wstring> ListViewTest::Names() const {
    std::vector<std::wstring> names;
    const auto count = static_cast<int>(SendMessageW(ListHwnd(), LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) names.push_back(Cell(i, tcName));
    return names;
}

std::vector<std::wstring> ListViewTest::HeaderTexts() const {
    const HWND header = List().Header();
    const auto count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    std::vector<int> order(static_cast<size_t>(count));
    SendMessageW(header, HDM_GETORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
    std::vector<std::wstring> texts;
    for (int index : order) {
        wchar_t text[100] = L"";
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 100;
        SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

int ListViewTest::HeaderFormat(TColumnsEnum kind) const {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    SendMessageW(List().Header(), HDM_GETITEMW, kind, reinterpret_cast<LPARAM>(&item));
    return item.fmt;
}

HBITMAP ListViewTest::HeaderBitmap(TColumnsEnum kind) const {
    HDITEMW item{};
    item.mask = HDI_BITMAP | HDI_FORMAT;
    SendMessageW(List().Header(), HDM_GETITEMW, kind, reinterpret_cast<LPARAM>(&item));
    return (item.fmt & HDF_BITMAP) ? item.hbm : nullptr;
}

int ListViewTest::TopIndex() const { return static_cast<int>(SendMessageW(ListHwnd(), LVM_GETTOPINDEX, 0, 0)); }

int ListViewTest::CountPerPage() const {
    return static_cast<int>(SendMessageW(ListHwnd(), LVM_GETCOUNTPERPAGE, 0, 0));
}

void ListViewTest::Pump() const {
    MSG msg;
    for (int i = 0; i < 5000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace resultstest
