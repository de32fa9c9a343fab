#include "ui/PageDateAndSize.h"

#include "engine/UKvrTYPEFile.h"
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
constexpr int kTimeWidth = 96;    // "10:55:55 AM" and the arrows
constexpr int kSecondX = kFirstX + kDateWidth + 2;  // the first end's time, or the delay's amount
constexpr int kAndWidth = 22;
constexpr int kAndX = kSecondX + kTimeWidth + 2;
constexpr int kToX = kAndX + kAndWidth + 2;
constexpr int kPeriodWidth = 64;
constexpr int kDateRowTop = 28;
constexpr int kDateRowStep = 26;
constexpr int kSizeTop = kDateRowTop + 3 * kDateRowStep + 8;
constexpr int kValueWidth = 72;
constexpr int kUnitWidth = 64;
constexpr int kUnitKB = 2;

constexpr int kDateRows = 3;
constexpr const wchar_t* kDateRowCaptions[kDateRows] = {L"Date Modified", L"Date Creation", L"Date Last Access"};

} // namespace

void TDateRow::Create(HWND page, int row, const wchar_t* caption, int top) {
    using kit::DateTimePicker;
    const auto id = [row](ids::DateRowField field) { return ids::DateRowId(row, field); };
    chbSelect.Create(page, id(ids::kRowSelect), caption, At(kRowBoxX, top + 2, kRangeX - kRowBoxX - 4, kBoxHeight));
    cbRange.Create(page, id(ids::kRowRange), kit::ComboBox::Kind::DropDownList,
                   At(kRangeX, top, kRangeWidth, kFieldHeight), 8);
    cbRange.SetItems(engine::DateRangeCaptions);
    cbRange.Select(engine::drBetween);
    dtpFromDate.Create(page, id(ids::kRowFromDate), DateTimePicker::Kind::Date, At(kFirstX, top, kDateWidth, kFieldHeight));
    dtpFromTime.Create(page, id(ids::kRowFromTime), DateTimePicker::Kind::Time,
                       At(kSecondX, top, kTimeWidth, kFieldHeight));
    lblAnd.Create(page, id(ids::kRowAnd), L"and", At(kAndX, top + 4, kAndWidth, kLabelHeight));
    dtpToDate.Create(page, id(ids::kRowToDate), DateTimePicker::Kind::Date, At(kToX, top, kDateWidth, kFieldHeight));
    dtpToTime.Create(page, id(ids::kRowToTime), DateTimePicker::Kind::Time,
                     At(kToX + kDateWidth + 2, top, kTimeWidth, kFieldHeight));

    // The delay controls share the place of the range ends; a "Newer than" or "Older than" range shows them.
    cbDelay.Create(page, id(ids::kRowDelay), kit::ComboBox::Kind::DropDownList,
                   At(kFirstX, top, kDateWidth, kFieldHeight), 8);
    cbDelay.SetItems(engine::DateDelayCaptions);
    cbDelay.Select(engine::ddDate);
    dtpDelayDate.Create(page, id(ids::kRowDelayDate), DateTimePicker::Kind::Date,
                        At(kSecondX, top, kDateWidth, kFieldHeight));
    dtpDelayTime.Create(page, id(ids::kRowDelayTime), DateTimePicker::Kind::Time,
                        At(kSecondX + kDateWidth - 1, top, kTimeWidth, kFieldHeight));
    edPeriodDelay.Create(page, id(ids::kRowPeriodDelay), At(kSecondX, top, kPeriodWidth, kFieldHeight));
    udPeriodDelay.Create(page, id(ids::kRowPeriodUpDown), edPeriodDelay, 1, 32767, 1);
    for (kit::Control* delay : {static_cast<kit::Control*>(&cbDelay), static_cast<kit::Control*>(&dtpDelayDate),
                                static_cast<kit::Control*>(&dtpDelayTime), static_cast<kit::Control*>(&edPeriodDelay),
                                static_cast<kit::Control*>(&udPeriodDelay)})
        delay->SetVisible(false);
}

void TPageDateAndSize::Create(HWND parent) {
    CreatePanel(parent, ids::kPageDateAndSize, At(0, 0, kPageWidth, kPageHeight));
    const HWND page = hwnd();
    chbDATESelect.Create(page, ids::kDateSelect, L"Date", At(kMargin, 6, 100, kBoxHeight));
    for (int row = 0; row < kDateRows; ++row)
        DateRows[static_cast<std::size_t>(row)].Create(page, row, kDateRowCaptions[row],
                                                       kDateRowTop + row * kDateRowStep);

    chbSIZESelect.Create(page, ids::kSizeSelect, L"Size", At(kMargin, kSizeTop + 2, kRangeX - kMargin - 4, kBoxHeight));
    cbSIZERange.Create(page, ids::kSizeRange, kit::ComboBox::Kind::DropDownList,
                       At(kRangeX, kSizeTop, kRangeWidth, kFieldHeight), 8);
    cbSIZERange.SetItems(engine::SizeRangeCaptions);
    cbSIZERange.Select(engine::srBetween);
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
        unit->Select(kUnitKB);
    }
}

} // namespace ui
