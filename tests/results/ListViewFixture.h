#pragma once
// The result list in its test window over a table the test fills, with readers for what a person would see.
#include "results/ResultTable.h"
#include "tests/support/ListTestWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace resultstest {

struct ListRow {
    const wchar_t* name;
    engine::TScanAttributes attributes;
    long double size = 0;
};

class ListViewTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    results::TResultListView& List() const { return window_->List(); }
    HWND ListHwnd() const { return window_->List().hwnd(); }
    // Appends rows numbered on from the table's count, in the folder "C:\Fixture\", and shows them.
    void Fill(const std::vector<ListRow>& rows);
    // `count` plain files "row0001.dat" ... with sizes equal to their numbers.
    void FillPlain(int count);
    void RecreateWindow();

    std::wstring Cell(int row, results::TColumnsEnum kind) const;
    std::vector<std::wstring> Names() const;  // the Name cells of every item, top to bottom
    std::vector<std::wstring> HeaderTexts() const;  // in display order
    int HeaderFormat(results::TColumnsEnum kind) const;
    HBITMAP HeaderBitmap(results::TColumnsEnum kind) const;
    int TopIndex() const;
    int CountPerPage() const;
    void Pump() const;

    results::TResultTable table_;
    std::unique_ptr<testsupport::ListTestWindow> window_;
};

} // namespace resultstest
