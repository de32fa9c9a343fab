#pragma once
// The "Date and Size" criteria page: three date rows (modified, creation, last access) under the Date switch,
// and the size row. The controls of a date row that share a place (the range ends, the delay) are told apart
// by which of them are shown.
#include <array>
#include <functional>

#include "kit/Controls.h"
#include "kit/Panel.h"
#include "ui/InputFilters.h"

namespace ui {

struct TDateRow {
    kit::CheckBox chbSelect;
    kit::ComboBox cbRange;
    kit::DateTimePicker dtpFromDate;
    kit::DateTimePicker dtpFromTime;
    kit::Label lblAnd;
    kit::DateTimePicker dtpToDate;
    kit::DateTimePicker dtpToTime;
    kit::ComboBox cbDelay;
    kit::DateTimePicker dtpDelayDate;
    kit::DateTimePicker dtpDelayTime;
    kit::Edit edPeriodDelay;
    kit::UpDown udPeriodDelay;
    TKeyFilter periodFilter;

    // `row` is the date type's ordinal; the row starts as a "Between" range, the delay controls hidden.
    void Create(HWND page, int row, const wchar_t* caption, int top);
    // Every control of the row but its switch, its range combo first.
    std::array<kit::Control*, 11> Controls();
    // The controls that share the row's places, put on the range combo's line.
    void Arrange();
    // The range's two ends for "Between" and "Not Between" (or no range); the delay for the other two.
    void ShowRangeControls();
    // The delay's period for a number of units, its date and time pickers for a date.
    void ShowDelayControls();
    // The time pickers get `timeWidth`; what follows them in the row moves right by `shift`.
    void WidenTimePickers(int timeWidth, int shift);
};

class TPageDateAndSize : public kit::Panel {
public:
    static constexpr const wchar_t* kCaption = L"Date and Size";

    void Create(HWND parent);

    // Raised when a criterion changed here (a date row or Size switched); the main window tracks it.
    std::function<void()> OnSelectionsChanged;

    // The enabling and visibility rules, run by the clicks and choices that change them.
    void chbDATESelectClick();
    void chbDATERowSelectClick(int row);  // the Modified, Creation and Last Access switches
    void cbDATERangeChange(int row);
    void cbDATEDelayChange(int row);
    void chbSIZESelectClick();
    void cbSIZERangeChange();

    void ArrangeDatePage();
    // Widens the time pickers to a time in their own format, once the window's fonts are known. Returns D, the
    // amount the pickers' row parts moved right by (each row grows by 2 x D), 0 when the design width holds.
    int AdjustDateTimePickers();

    kit::CheckBox chbDATESelect;
    std::array<TDateRow, 3> DateRows;  // by the date type's ordinal

    kit::CheckBox& chbDATEModifiedSelect = DateRows[0].chbSelect;
    kit::CheckBox& chbDATECreationSelect = DateRows[1].chbSelect;
    kit::CheckBox& chbDATELastAccessSelect = DateRows[2].chbSelect;
    kit::ComboBox& cbDATEModifiedRange = DateRows[0].cbRange;
    kit::ComboBox& cbDATECreationRange = DateRows[1].cbRange;
    kit::ComboBox& cbDATELastAccessRange = DateRows[2].cbRange;
    kit::ComboBox& cbDATEModifiedDelay = DateRows[0].cbDelay;
    kit::ComboBox& cbDATECreationDelay = DateRows[1].cbDelay;
    kit::ComboBox& cbDATELastAccessDelay = DateRows[2].cbDelay;
    kit::Edit& edDATEModifiedPeriodDelay = DateRows[0].edPeriodDelay;
    kit::Edit& edDATECreationPeriodDelay = DateRows[1].edPeriodDelay;
    kit::Edit& edDATELastAccessPeriodDelay = DateRows[2].edPeriodDelay;
    kit::UpDown& udDATEModifiedPeriodDelay = DateRows[0].udPeriodDelay;
    kit::UpDown& udDATECreationPeriodDelay = DateRows[1].udPeriodDelay;
    kit::UpDown& udDATELastAccessPeriodDelay = DateRows[2].udPeriodDelay;

    kit::CheckBox chbSIZESelect;
    kit::ComboBox cbSIZERange;
    kit::Edit edSIZELargerThenValue;
    kit::UpDown udSIZELargerThenValue;
    kit::ComboBox cbSIZELargerThenUnit;
    kit::Label lblSIZEAnd;
    kit::Edit edSIZESmallerThenValue;
    kit::UpDown udSIZESmallerThenValue;
    kit::ComboBox cbSIZESmallerThenUnit;

private:
    void SelectionsChanged();
    TDateRow& Row(int row) { return DateRows.at(static_cast<std::size_t>(row)); }

    TKeyFilter sizeLargerFilter_;
    TKeyFilter sizeSmallerFilter_;
};

} // namespace ui
