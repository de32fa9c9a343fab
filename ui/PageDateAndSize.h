#pragma once
// The "Date and Size" criteria page: three date rows (modified, creation, last access) under the Date switch,
// and the size row. The controls of a date row that share a place (the range ends, the delay) are told apart
// by which of them are shown.
#include <array>

#include "kit/Controls.h"
#include "kit/Panel.h"

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

    // `row` is the date type's ordinal; the row starts as a "Between" range, the delay controls hidden.
    void Create(HWND page, int row, const wchar_t* caption, int top);
};

class TPageDateAndSize : public kit::Panel {
public:
    static constexpr const wchar_t* kCaption = L"Date and Size";

    void Create(HWND parent);

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
};

} // namespace ui
