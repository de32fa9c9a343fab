#include "ui/PageDateAndSize.h"

#include "engine/UKvrTYPEFile.h"
#include "kit/Fonts.h"
#include "ui/CheckBoxClick.h"
#include "ui/ControlIds.h"
#include "ui/PageLayout.h"

namespace ui {

using namespace layout;

namespace {

// Columns shared by the date rows and the size row.
constexpr int kRowBoxX = 24;      // the row switches sit under the Date switch
constexpr int kRangeX = 144;
constexpr int kRangeWidth = 100;
constexpr int kFirstX = 246;      // the range's first end, or the delay combo
constexpr int kDateWidth = 90;
constexpr int kSecondX = kFirstX + kDateWidth + 2;  // the first end's time, or the delay's date or period
// The time pickers are designed for a time 44 pixels wide plus their arrows and frame; a wider time format
// widens them once the window is shown.
constexpr int kTimeTextWidth = 44;
constexpr int kTimeFrameWidth = 25;
constexpr int kTimeWidth = kTimeTextWidth + kTimeFrameWidth;
constexpr int kAndWidth = 22;
constexpr int kAndX = kSecondX + kTimeWidth + 2;
constexpr int kToX = kAndX + kAndWidth + 2;
constexpr int kPeriodWidth = 64;
constexpr int kDateRowTop = 28;
constexpr int kDateRowStep = 26;
constexpr int kSizeTop = kDateRowTop + 3 * kDateRowStep + 8;
constexpr int kValueWidth = 72;
constexpr int kUnitWidth = 64;

constexpr int kDateRows = 3;
constexpr const wchar_t* kDateRowCaptions[kDateRows] = {L"Date Modified", L"Date Creation", L"Date Last Access"};

void MoveTo(const kit::Control& control, int left, int top) {
    SetWindowPos(control.hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetWidth(const kit::Control& control, int width) {
    const RECT r = control.Bounds();
    SetWindowPos(control.hwnd(), nullptr, 0, 0, width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Width(const kit::Control& control) {
    const RECT r = control.Bounds();
    return r.right - r.left;
}

// The wider of two sample times, morning and evening, as the time pickers show them with their font.
int TimeTextWidth(HWND picker) {
    int widest = 0;
    for (const WORD hour : {10, 22}) {
        const SYSTEMTIME sample{2010, 12, 4, 30, hour, 55, 55, 995};
        wchar_t text[64] = {};
        const int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &sample, nullptr, text, 64);
        if (length > 1) widest = std::max(widest, kit::TextWidth(picker, std::wstring_view(text, length - 1)));
    }
    return widest;
}

} // namespace

void TDateRow::Create(HWND page, int row, const wchar_t* caption, int top) {
    using kit::DateTimePicker;
    const auto id = [row](ids::DateRowField field) { return ids::DateRowId(row, field); };
    chbSelect.Create(page, id(ids::kRowSelect), caption, At(kRowBoxX, top + 2, kRangeX - kRowBoxX - 4, kBoxHeight));
    cbRange.Create(page, id(ids::kRowRange), kit::ComboBox::Kind::DropDownList,
                   At(kRangeX, top, kRangeWidth, kFieldHeight), 8);
    cbRange.SetItems(engine::DateRangeCaptions);
    cbRange.Select(engine::drBetween);
    // Arrange puts everything after the range combo on its line.
    dtpFromDate.Create(page, id(ids::kRowFromDate), DateTimePicker::Kind::Date,
                       At(kFirstX, 0, kDateWidth, kFieldHeight));
    dtpFromTime.Create(page, id(ids::kRowFromTime), DateTimePicker::Kind::Time,
                       At(kSecondX, 0, kTimeWidth, kFieldHeight));
    lblAnd.Create(page, id(ids::kRowAnd), L"and", At(kAndX, 0, kAndWidth, kLabelHeight));
    dtpToDate.Create(page, id(ids::kRowToDate), DateTimePicker::Kind::Date, At(kToX, 0, kDateWidth, kFieldHeight));
    dtpToTime.Create(page, id(ids::kRowToTime), DateTimePicker::Kind::Time,
                     At(kToX + kDateWidth + 2, 0, kTimeWidth, kFieldHeight));

    // The delay controls share the place of the range ends; a "Newer than" or "Older than" range shows them.
    cbDelay.Create(page, id(ids::kRowDelay), kit::ComboBox::Kind::DropDownList,
                   At(kFirstX, 0, kDateWidth, kFieldHeight), 8);
    cbDelay.SetItems(engine::DateDelayCaptions);
    cbDelay.Select(engine::ddDate);
    dtpDelayDate.Create(page, id(ids::kRowDelayDate), DateTimePicker::Kind::Date, At(0, 0, kDateWidth, kFieldHeight));
    dtpDelayTime.Create(page, id(ids::kRowDelayTime), DateTimePicker::Kind::Time, At(0, 0, kTimeWidth, kFieldHeight));
    edPeriodDelay.Create(page, id(ids::kRowPeriodDelay), At(0, 0, kPeriodWidth, kFieldHeight));
    udPeriodDelay.Create(page, id(ids::kRowPeriodUpDown), edPeriodDelay, 1, 32767, 1);
    periodFilter.Attach(edPeriodDelay.hwnd(), DigitKeyPress);
    ShowRangeControls();
}

std::array<kit::Control*, 11> TDateRow::Controls() {
    return {&cbRange,  &cbDelay,      &dtpFromDate,  &dtpFromTime,   &lblAnd,       &dtpToDate,
            &dtpToTime, &dtpDelayDate, &dtpDelayTime, &edPeriodDelay, &udPeriodDelay};
}

void TDateRow::Arrange() {
    const int top = cbRange.Bounds().top;
    for (kit::Control* control : Controls())
        if (control != &cbRange) MoveTo(*control, control->Bounds().left, top);
    MoveTo(lblAnd, lblAnd.Bounds().left, top + 4);
    MoveTo(dtpDelayDate, kSecondX, top);
    MoveTo(edPeriodDelay, kSecondX, top);
    MoveTo(dtpDelayTime, kSecondX + Width(dtpDelayDate) - 1, top);
    MoveTo(udPeriodDelay, kSecondX + Width(edPeriodDelay), top);
}

void TDateRow::ShowRangeControls() {
    const int range = cbRange.SelectedIndex();
    const bool ends = range < 0 || range == engine::drBetween || range == engine::drNotBetween;
    kit::Control* const endControls[] = {&dtpFromDate, &dtpFromTime, &lblAnd, &dtpToDate, &dtpToTime};
    for (kit::Control* end : endControls) end->SetVisible(ends);
    cbDelay.SetVisible(range == engine::drNewerThen || range == engine::drOlderThen);
    ShowDelayControls();
}

void TDateRow::ShowDelayControls() {
    const bool delay = cbDelay.Visible();
    const bool date = cbDelay.SelectedIndex() == engine::ddDate;
    edPeriodDelay.SetVisible(delay && !date);
    udPeriodDelay.SetVisible(delay && !date);
    dtpDelayDate.SetVisible(delay && date);
    dtpDelayTime.SetVisible(delay && date);
}

void TDateRow::WidenTimePickers(int timeWidth, int shift) {
    for (const kit::Control* time : {&dtpFromTime, &dtpToTime, &dtpDelayTime}) SetWidth(*time, timeWidth);
    const kit::Control* const following[] = {&lblAnd, &dtpToDate, &dtpToTime};
    for (const kit::Control* after : following) {
        const RECT r = after->Bounds();
        MoveTo(*after, r.left + shift, r.top);
    }
}

void TPageDateAndSize::Create(HWND parent) {
    CreatePanel(parent, ids::kPageDateAndSize, At(0, 0, kPageWidth, kPageHeight));
    const HWND page = hwnd();
    chbDATESelect.Create(page, ids::kDateSelect, L"Date", At(kMargin, 6, 100, kBoxHeight));
    chbDATESelect.OnClick = [this] { chbDATESelectClick(); };
    for (int row = 0; row < kDateRows; ++row) {
        TDateRow& dateRow = Row(row);
        dateRow.Create(page, row, kDateRowCaptions[row], kDateRowTop + row * kDateRowStep);
        dateRow.chbSelect.OnClick = [this, row] { chbDATERowSelectClick(row); };
        dateRow.cbRange.OnSelChange = [this, row] { cbDATERangeChange(row); };
        dateRow.cbDelay.OnSelChange = [this, row] { cbDATEDelayChange(row); };
    }
    ArrangeDatePage();

    chbSIZESelect.Create(page, ids::kSizeSelect, L"Size", At(kMargin, kSizeTop + 2, kRangeX - kMargin - 4, kBoxHeight));
    chbSIZESelect.OnClick = [this] { chbSIZESelectClick(); };
    cbSIZERange.Create(page, ids::kSizeRange, kit::ComboBox::Kind::DropDownList,
                       At(kRangeX, kSizeTop, kRangeWidth, kFieldHeight), 8);
    cbSIZERange.SetItems(engine::SizeRangeCaptions);
    cbSIZERange.Select(engine::srBetween);
    cbSIZERange.OnSelChange = [this] { cbSIZERangeChange(); };
    edSIZELargerThenValue.Create(page, ids::kSizeLargerValue, At(kFirstX, kSizeTop, kValueWidth, kFieldHeight), L"0");
    udSIZELargerThenValue.Create(page, ids::kSizeLargerUpDown, edSIZELargerThenValue, 0, 32767, 0);
    const int unitX = kFirstX + kValueWidth + 4;
    cbSIZELargerThenUnit.Create(page, ids::kSizeLargerUnit, kit::ComboBox::Kind::DropDownList,
                                At(unitX, kSizeTop, kUnitWidth, kFieldHeight), 8);
    const int andX = unitX + kUnitWidth + 6;
    lblSIZEAnd.Create(page, ids::kSizeAnd, L"and", At(andX, kSizeTop + 4, kAndWidth, kLabelHeight));
    const int secondX = andX + kAndWidth + 4;
    edSIZESmallerThenValue.Create(page, ids::kSizeSmallerValue, At(secondX, kSizeTop, kValueWidth, kFieldHeight),
                                  L"0");
    udSIZESmallerThenValue.Create(page, ids::kSizeSmallerUpDown, edSIZESmallerThenValue, 0, 32767, 0);
    cbSIZESmallerThenUnit.Create(page, ids::kSizeSmallerUnit, kit::ComboBox::Kind::DropDownList,
                                 At(secondX + kValueWidth + 4, kSizeTop, kUnitWidth, kFieldHeight), 8);
    for (kit::ComboBox* unit : {&cbSIZELargerThenUnit, &cbSIZESmallerThenUnit}) {
        unit->SetItems(engine::SizeUnitCaptions);
        unit->Select(engine::suKB);
    }
    sizeLargerFilter_.Attach(edSIZELargerThenValue.hwnd(), DigitKeyPress);
    sizeSmallerFilter_.Attach(edSIZESmallerThenValue.hwnd(), DigitKeyPress);
}

void TPageDateAndSize::SelectionsChanged() {
    if (OnSelectionsChanged) OnSelectionsChanged();
}

void TPageDateAndSize::chbDATESelectClick() {
    const bool date = chbDATESelect.Checked();
    if (date && !chbDATEModifiedSelect.Checked() && !chbDATECreationSelect.Checked() &&
        !chbDATELastAccessSelect.Checked())
        SetCheckedAndClick(chbDATEModifiedSelect, true);
    for (TDateRow& row : DateRows) row.chbSelect.SetEnabled(date);
    for (int row = 0; row < kDateRows; ++row) chbDATERowSelectClick(row);
}

void TPageDateAndSize::chbDATERowSelectClick(int row) {
    SelectionsChanged();
    TDateRow& dateRow = Row(row);
    const bool enabled = chbDATESelect.Checked() && dateRow.chbSelect.Checked();
    for (kit::Control* control : dateRow.Controls()) control->SetEnabled(enabled);
}

void TPageDateAndSize::cbDATERangeChange(int row) { Row(row).ShowRangeControls(); }

void TPageDateAndSize::cbDATEDelayChange(int row) { Row(row).ShowDelayControls(); }

void TPageDateAndSize::chbSIZESelectClick() {
    SelectionsChanged();
    const bool size = chbSIZESelect.Checked();
    kit::Control* const controls[] = {&cbSIZERange,           &edSIZELargerThenValue,  &udSIZELargerThenValue,
                                      &cbSIZELargerThenUnit,  &lblSIZEAnd,             &edSIZESmallerThenValue,
                                      &udSIZESmallerThenValue, &cbSIZESmallerThenUnit};
    for (kit::Control* control : controls) control->SetEnabled(size);
}

// "Larger than" and "Smaller than" take the first value alone.
void TPageDateAndSize::cbSIZERangeChange() {
    const int range = cbSIZERange.SelectedIndex();
    const bool both = range == engine::srBetween || range == engine::srNotBetween;
    kit::Control* const second[] = {&lblSIZEAnd, &edSIZESmallerThenValue, &udSIZESmallerThenValue,
                                    &cbSIZESmallerThenUnit};
    for (kit::Control* control : second) control->SetVisible(both);
}

void TPageDateAndSize::ArrangeDatePage() {
    for (TDateRow& row : DateRows) row.Arrange();
}

int TPageDateAndSize::AdjustDateTimePickers() {
    const int timeText = TimeTextWidth(DateRows[0].dtpFromTime.hwnd());
    const int shift = timeText - kTimeTextWidth;
    if (shift <= 0) return 0;
    for (TDateRow& row : DateRows) row.WidenTimePickers(timeText + kTimeFrameWidth, shift);
    return shift;
}

} // namespace ui
