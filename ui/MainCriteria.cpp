// The main window's copies between the criteria controls and the criteria model, the recent lists of the
// current modes, the criteria pages' events and the change tracking that arms Reset.
#include <cmath>

#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "engine/DateTimes.h"
#include "engine/FilterFile.h"
#include "engine/SearchParams.h"
#include "kit/Interaction.h"
#include "kit/MessageLoop.h"
#include "kit/Scope.h"
#include "ui/CheckBoxClick.h"
#include "ui/ControlIds.h"
#include "ui/FMWMainFree.h"

namespace ui {
namespace {

using engine::SearchParams::TSearchDateBase;

// Day 0 of the date-times (30 December 1899) in days since 1 January 1601, the file-time epoch.
constexpr double kDaysFrom1601 = 109205.0;
constexpr double kMsPerDay = 86400000.0;

// The pickers cannot show a time before 1601; such a value shows as the earliest one.
SYSTEMTIME DateTimeToSystemTime(double dateTime) {
    const double ms = std::max(0.0, std::round((dateTime + kDaysFrom1601) * kMsPerDay));
    const ULONGLONG ticks = static_cast<ULONGLONG>(ms) * 10000ULL;
    const FILETIME fileTime{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME time{};
    FileTimeToSystemTime(&fileTime, &time);
    return time;
}

double PickerValue(const kit::DateTimePicker& picker) { return engine::SystemTimeToDateTime(picker.Value()); }

void FillChoices(kit::ComboBox& combo, const std::vector<std::wstring>& captions, int index) {
    combo.Clear();
    for (const std::wstring& caption : captions) combo.AddItem(caption);
    combo.Select(index < combo.Count() ? index : -1);
}

void SetUpDown(kit::UpDown& upDown, kit::Edit& edit, int minimum, int maximum, int position) {
    edit.SetText(std::to_wstring(position));
    upDown.SetRange(minimum, maximum);
    upDown.SetPosition(position);
}

TSearchDateBase& DateCriterion(int row) {
    engine::SearchParams::TSearchDate& date = app::GlobalSearchParams->Files.Date;
    if (row == 0) return date.DateModified;
    if (row == 1) return date.DateCreation;
    return date.DateLastAccess;
}

void DateRowFromParams(TDateRow& row, const TSearchDateBase& criterion) {
    SetCheckedAndClick(row.chbSelect, criterion.Enabled);
    FillChoices(row.cbRange, criterion.RangeTypeList(), criterion.RangeType);
    FillChoices(row.cbDelay, criterion.DelayTypeList(), criterion.DelayType);
    row.dtpFromDate.SetValue(DateTimeToSystemTime(criterion.ValueDateFrom()));
    row.dtpFromTime.SetValue(DateTimeToSystemTime(criterion.ValueTimeFrom()));
    row.dtpToDate.SetValue(DateTimeToSystemTime(criterion.ValueDateTo()));
    row.dtpToTime.SetValue(DateTimeToSystemTime(criterion.ValueTimeTo()));
    row.dtpDelayDate.SetValue(DateTimeToSystemTime(criterion.ValueDateDelay()));
    row.dtpDelayTime.SetValue(DateTimeToSystemTime(criterion.ValueTimeDelay()));
    SetUpDown(row.udPeriodDelay, row.edPeriodDelay, criterion.ValuePeriodDelayMin, criterion.ValuePeriodDelayMax,
              criterion.ValuePeriodDelayPos);
}

void DateRowToParams(const TDateRow& row, TSearchDateBase& criterion) {
    criterion.Enabled = row.chbSelect.Checked();
    if (const int range = row.cbRange.SelectedIndex(); range >= 0)
        criterion.RangeType = static_cast<engine::TDateRangeType>(range);
    if (const int delay = row.cbDelay.SelectedIndex(); delay >= 0)
        criterion.DelayType = static_cast<engine::TDateDelayType>(delay);
    criterion.SetValueDateFrom(PickerValue(row.dtpFromDate));
    criterion.SetValueTimeFrom(PickerValue(row.dtpFromTime));
    criterion.SetValueDateTo(PickerValue(row.dtpToDate));
    criterion.SetValueTimeTo(PickerValue(row.dtpToTime));
    criterion.SetValueDateDelay(PickerValue(row.dtpDelayDate));
    criterion.SetValueTimeDelay(PickerValue(row.dtpDelayTime));
    criterion.ValuePeriodDelayPos = UpDownValue(row.udPeriodDelay);
}

} // namespace

void TfrmMerrowinMain::ParamsToControls() {
    engine::SearchParams::TSearchParams& params = *app::GlobalSearchParams;
    TPageFilesAndFolders& files = tshSELECTFilesAndFolders;
    SetCheckedAndClick(files.chbVISUALIZEShowFolderNames, params.ShowFoldernames);
    SetCheckedAndClick(files.chbVISUALIZEShowFileNames, params.ShowFileNames);
    SetCheckedAndClick(files.chbVISUALIZEAppendResults, params.AppendResults);
    FillChoices(files.cbmitFILEFileMaskMode, params.Files.FileMask.MaskTypeList(), params.Files.FileMask.MaskType());
    files.cbmitFILEFileMask.SetText(params.Files.FileMask.Value());
    TMRUFolderComboBox& path = files.cbmfldFOLDERSSearchPath;
    path.DefaultIndex = params.Folders.VisualControlItemDefault();
    if (path.DefaultIndex >= 0 && path.DefaultIndex < path.Count()) path.SelectByTag(path.Info(path.DefaultIndex).Tag);
    SetCheckedAndClick(files.chbFOLDERSSearchInSubfolders, params.Folders.SearchInSubfolders);
    SetCheckedAndClick(files.chbFOLDERSIncludeHiddenSubfolders, params.Folders.IncludeHiddenSubfolders);

    const engine::SearchParams::TSearchText& text = params.Text;
    TPageContainingText& textPage = tshSELECTContainingText;
    FillChoices(textPage.cbmitTEXTTextMaskMode, text.TextMask.MaskTypeList(), text.TextMask.MaskType());
    textPage.cbmitTEXTSearchText.SetText(text.TextMask.Value());
    if (text.MatchText <= engine::mtMatchAll) {
        SetCheckedAndClick(textPage.rbTEXTAnyWords, text.MatchText == engine::mtMatchAny);
        SetCheckedAndClick(textPage.rbTEXTAllWords, text.MatchText == engine::mtMatchAll);
    }
    SetCheckedAndClick(textPage.chbTEXTWholeWords, text.WholeWords);
    SetCheckedAndClick(textPage.chbTEXTCaseSensitive, text.CaseSensitive);
    SetCheckedAndClick(textPage.chbTEXTWithout, text.Without);
    SetCheckedAndClick(textPage.chbTEXTUseTextFilters, text.TextSource == engine::tsTextFilter);
    SetCheckedAndClick(textPage.chbTEXTSkipHiddenFiles, text.SkipHiddenFiles);
    SetCheckedAndClick(textPage.chbTEXTSkipSystemFiles, text.SkipSystemFiles);
    SetCheckedAndClick(textPage.chbTEXTSkipImageFiles, text.SkipImageFiles);
    SetCheckedAndClick(textPage.chbTEXTSkipAudioFiles, text.SkipAudioFiles);
    SetCheckedAndClick(textPage.chbTEXTSkipVideoFiles, text.SkipVideoFiles);

    TPageDateAndSize& dates = tshSELECTDateAndSize;
    SetCheckedAndClick(dates.chbDATESelect, params.Files.Date.Enabled);
    for (int row = 0; row < 3; ++row) DateRowFromParams(dates.DateRows[static_cast<std::size_t>(row)], DateCriterion(row));
    const engine::SearchParams::TSearchSize& size = params.Files.Size;
    SetCheckedAndClick(dates.chbSIZESelect, size.Enabled);
    FillChoices(dates.cbSIZERange, size.RangeTypeList(), size.RangeType);
    FillChoices(dates.cbSIZELargerThenUnit, size.UnitTypeList(), size.UnitTypeFrom());
    FillChoices(dates.cbSIZESmallerThenUnit, size.UnitTypeList(), size.UnitTypeTo());
    SetUpDown(dates.udSIZELargerThenValue, dates.edSIZELargerThenValue, size.ValueMin, size.ValueMax, size.ValueFrom());
    SetUpDown(dates.udSIZESmallerThenValue, dates.edSIZESmallerThenValue, size.ValueMin, size.ValueMax, size.ValueTo());

    const engine::SearchParams::TSearchAttributes& attributes = params.Files.Attributes;
    TPageAttributes& attributesPage = tshSELECTAttributes;
    SetCheckedAndClick(attributesPage.chbATTREnabled, attributes.Enabled);
    kit::RadioButton* const match[] = {&attributesPage.rbATTRMatchAny, &attributesPage.rbATTRMatchOnly,
                                       &attributesPage.rbATTRMatchAll};
    if (attributes.MatchAttributes <= engine::maMatchAll)
        for (int i = 0; i < 3; ++i) SetCheckedAndClick(*match[i], i == attributes.MatchAttributes);
    for (int a = 0; a < engine::ScanAttributeCount; ++a) {
        const auto attribute = static_cast<engine::TScanAttribute>(a);
        SetCheckedAndClick(attributesPage.AttributeBox(attribute), attributes.Values().Contains(attribute));
    }
}

void TfrmMerrowinMain::ControlsToParams() {
    engine::SearchParams::TSearchParams& params = *app::GlobalSearchParams;
    TPageFilesAndFolders& files = tshSELECTFilesAndFolders;
    params.ShowFoldernames = files.chbVISUALIZEShowFolderNames.Checked();
    params.ShowFileNames = files.chbVISUALIZEShowFileNames.Checked();
    params.AppendResults = files.chbVISUALIZEAppendResults.Checked();
    const std::wstring mask = files.cbmitFILEFileMask.Text();
    switch (files.cbmitFILEFileMaskMode.SelectedIndex()) {
    case engine::nmSimpleText: params.Files.FileMask.SetSimpleText(mask); break;
    case engine::nmManualWildcards: params.Files.FileMask.SetManualWildcards(mask); break;
    case engine::nmRegularExpression: params.Files.FileMask.SetRegularExpression(mask); break;
    default: params.Files.FileMask.SetValue(mask); break;  // no mode chosen: the current one
    }
    TMRUFolderComboBox& path = files.cbmfldFOLDERSSearchPath;
    params.Folders.FolderValue = path.EditText();
    std::wstring paths, include, exclude;
    path.GetPaths(paths);
    path.GetIncludePaths(include);
    path.GetExcludePaths(exclude);
    params.Folders.SetPathsStartText(paths);
    params.Folders.SetPathsIncludeText(include);
    params.Folders.SetPathsExcludeText(exclude);
    params.Folders.SearchInSubfolders = files.chbFOLDERSSearchInSubfolders.Checked();
    params.Folders.IncludeHiddenSubfolders = files.chbFOLDERSIncludeHiddenSubfolders.Checked();

    engine::SearchParams::TSearchText& text = params.Text;
    TPageContainingText& textPage = tshSELECTContainingText;
    const std::wstring searchText = textPage.cbmitTEXTSearchText.Text();
    switch (textPage.cbmitTEXTTextMaskMode.SelectedIndex()) {
    case engine::tmWordsText: text.TextMask.SetWordsText(searchText); break;
    case engine::tmPhrasesText: text.TextMask.SetPhrasesText(searchText); break;
    case engine::tmHexadecimalCode: text.TextMask.SetHexadecimalCode(searchText); break;
    case engine::tmBinaryCode: text.TextMask.SetBinaryCode(searchText); break;
    case engine::tmRegularExpression: text.TextMask.SetRegularExpression(searchText); break;
    default: text.TextMask.SetValue(searchText); break;
    }
    if (textPage.rbTEXTAnyWords.Checked()) text.MatchText = engine::mtMatchAny;
    if (textPage.rbTEXTAllWords.Checked()) text.MatchText = engine::mtMatchAll;
    text.WholeWords = textPage.chbTEXTWholeWords.Checked();
    text.CaseSensitive = textPage.chbTEXTCaseSensitive.Checked();
    text.Without = textPage.chbTEXTWithout.Checked();
    text.TextSource = textPage.chbTEXTUseTextFilters.Checked() ? engine::tsTextFilter : engine::tsRawFile;
    text.SkipHiddenFiles = textPage.chbTEXTSkipHiddenFiles.Checked();
    text.SkipSystemFiles = textPage.chbTEXTSkipSystemFiles.Checked();
    text.SkipImageFiles = textPage.chbTEXTSkipImageFiles.Checked();
    text.SkipAudioFiles = textPage.chbTEXTSkipAudioFiles.Checked();
    text.SkipVideoFiles = textPage.chbTEXTSkipVideoFiles.Checked();

    TPageDateAndSize& dates = tshSELECTDateAndSize;
    params.Files.Date.Enabled = dates.chbDATESelect.Checked();
    for (int row = 0; row < 3; ++row) DateRowToParams(dates.DateRows[static_cast<std::size_t>(row)], DateCriterion(row));
    engine::SearchParams::TSearchSize& size = params.Files.Size;
    size.Enabled = dates.chbSIZESelect.Checked();
    if (const int range = dates.cbSIZERange.SelectedIndex(); range >= 0)
        size.RangeType = static_cast<engine::TSizeRangeType>(range);
    if (const int unit = dates.cbSIZELargerThenUnit.SelectedIndex(); unit >= 0)
        size.SetUnitTypeFrom(static_cast<engine::TSizeUnitType>(unit));
    if (const int unit = dates.cbSIZESmallerThenUnit.SelectedIndex(); unit >= 0)
        size.SetUnitTypeTo(static_cast<engine::TSizeUnitType>(unit));
    size.SetValueFrom(UpDownValue(dates.udSIZELargerThenValue));
    size.SetValueTo(UpDownValue(dates.udSIZESmallerThenValue));

    engine::SearchParams::TSearchAttributes& attributes = params.Files.Attributes;
    TPageAttributes& attributesPage = tshSELECTAttributes;
    attributes.Enabled = attributesPage.chbATTREnabled.Checked();
    if (attributesPage.rbATTRMatchAny.Checked()) attributes.MatchAttributes = engine::maMatchAny;
    if (attributesPage.rbATTRMatchAll.Checked()) attributes.MatchAttributes = engine::maMatchAll;
    if (attributesPage.rbATTRMatchOnly.Checked()) attributes.MatchAttributes = engine::maMatchOnly;
    engine::TScanAttributes values;
    for (int a = 0; a < engine::ScanAttributeCount; ++a) {
        const auto attribute = static_cast<engine::TScanAttribute>(a);
        if (attributesPage.AttributeBox(attribute).Checked()) values.Include(attribute);
    }
    attributes.SetValues(values);
}

void TfrmMerrowinMain::LoadFileMaskItems() {
    const int mode = tshSELECTFilesAndFolders.cbmitFILEFileMaskMode.SelectedIndex();
    if (mode < engine::nmSimpleText || mode > engine::nmRegularExpression) return;
    tshSELECTFilesAndFolders.cbmitFILEFileMask.LoadFrom(
        &app::GlobalApplicationInit->MRUItems.FileMask.List(static_cast<engine::TNameMaskType>(mode)));
}

void TfrmMerrowinMain::SaveFileMaskItems() {
    const int mode = tshSELECTFilesAndFolders.cbmitFILEFileMaskMode.SelectedIndex();
    if (mode < engine::nmSimpleText || mode > engine::nmRegularExpression) return;
    tshSELECTFilesAndFolders.cbmitFILEFileMask.SaveTo(
        &app::GlobalApplicationInit->MRUItems.FileMask.List(static_cast<engine::TNameMaskType>(mode)));
}

void TfrmMerrowinMain::LoadSearchTextItems() {
    TPageContainingText& page = tshSELECTContainingText;
    const int mode = page.cbmitTEXTTextMaskMode.SelectedIndex();
    if (mode < engine::tmWordsText || mode > engine::tmRegularExpression) return;
    page.cbmitTEXTSearchText.LoadFrom(
        &app::GlobalApplicationInit->MRUItems.SearchText.List(static_cast<engine::TTextMaskType>(mode)));
    if (mode == engine::tmWordsText) page.chbTEXTWholeWords.SetText(L"Whole Words");
    if (mode == engine::tmPhrasesText) page.chbTEXTWholeWords.SetText(L"Whole Phrases");
}

void TfrmMerrowinMain::SaveSearchTextItems() {
    const int mode = tshSELECTContainingText.cbmitTEXTTextMaskMode.SelectedIndex();
    if (mode < engine::tmWordsText || mode > engine::tmRegularExpression) return;
    tshSELECTContainingText.cbmitTEXTSearchText.SaveTo(
        &app::GlobalApplicationInit->MRUItems.SearchText.List(static_cast<engine::TTextMaskType>(mode)));
}

void TfrmMerrowinMain::ConnectCriteria() {
    const auto changed = [this] { SelectionsChanged(); };
    tshSELECTFilesAndFolders.OnSelectionsChanged = changed;
    tshSELECTContainingText.OnSelectionsChanged = changed;
    tshSELECTDateAndSize.OnSelectionsChanged = changed;
    tshSELECTAttributes.OnSelectionsChanged = changed;
    TMRUItemsComboBox& text = tshSELECTContainingText.cbmitTEXTSearchText;
    text.OnEditChange = [this, &text] { cbmitTEXTSearchTextChange(text.Text()); };
    text.OnSelChange = [this, &text] { cbmitTEXTSearchTextChange(text.ItemText(text.SelectedIndex())); };
    pgcSELECTIONS.OnNotify = [this](NMHDR& header, LRESULT&) {
        if (header.code == TCN_SELCHANGE) RefreshSelectionStates();
        return false;
    };

    TPageFilesAndFolders& files = tshSELECTFilesAndFolders;
    actions_.BindControl(ids::actFILEBrowse, files.btnFILEBrowse.hwnd());
    files.btnFILEBrowse.OnClick = [this] { actions_.Execute(ids::actFILEBrowse); };
    // The split button stays hidden: it runs Browse but does not show with the action.
    files.VHLinkedSpeedButton1.OnClick = [this] { actions_.Execute(ids::actFILEBrowse); };
}

void TfrmMerrowinMain::SelectionsChanged() {
    if (TrackSelections != 1) return;
    SelectionsDirty = 1;
    UpdateActionStates();
}

// The pages' rules once over, without marking the criteria changed.
void TfrmMerrowinMain::RefreshSelectionStates() {
    TrackSelections = 0;
    const kit::ScopeExit track([this] { TrackSelections = 1; });
    TPageDateAndSize& dates = tshSELECTDateAndSize;
    dates.chbDATESelectClick();
    for (int row = 0; row < 3; ++row) dates.chbDATERowSelectClick(row);
    for (int row = 0; row < 3; ++row) dates.cbDATERangeChange(row);
    dates.chbSIZESelectClick();
    dates.cbSIZERangeChange();
    tshSELECTAttributes.chbATTREnabledClick();
}

// A mode change shows that mode's recent entries; the previous mode's are stored only by a search.
void TfrmMerrowinMain::cbmitFILEFileMaskModeChange() {
    LoadFileMaskItems();
    SelectionsChanged();
}

void TfrmMerrowinMain::cbmitTEXTTextMaskModeChange() {
    LoadSearchTextItems();
    SelectionsChanged();
}

// The matcher's text follows the box; a search primes it from the criteria again.
void TfrmMerrowinMain::cbmitTEXTSearchTextChange(const std::wstring& text) {
    engine::FilterFile::TTextMask& mask = app::GlobalFilterFile->Text.TextMask;
    switch (tshSELECTContainingText.cbmitTEXTTextMaskMode.SelectedIndex()) {
    case engine::tmWordsText:
    case engine::tmPhrasesText:
        mask = {text, engine::tmWordsText};
        break;
    case engine::tmHexadecimalCode: {
        std::wstring decoded;
        const bool valid = HexCodeToText(text, decoded);
        mask = {decoded, engine::tmHexadecimalCode};
        tshSELECTContainingText.SetSearchTextValid(valid);
        break;
    }
    default:
        break;
    }
    SelectionsChanged();
}

// The time pickers fit the user's time format; the window keeps room for the wider rows.
void TfrmMerrowinMain::AdjustDateTimePickers() {
    const int shift = tshSELECTDateAndSize.AdjustDateTimePickers();
    if (shift <= 0) return;
    app::TApplicationPosition& position = app::GlobalApplicationInit->Position;
    minWidthGrowth_ = 2 * shift;
    position.MinWidth += minWidthGrowth_;
    RECT bounds;
    GetWindowRect(hwnd(), &bounds);
    if (bounds.right - bounds.left < position.MinWidth)
        SetWindowPos(hwnd(), nullptr, 0, 0, position.MinWidth, bounds.bottom - bounds.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmMerrowinMain::actFILEBrowseExecute() {
    TMRUFolderComboBox& path = tshSELECTFilesAndFolders.cbmfldFOLDERSSearchPath;
    std::wstring start;
    path.GetFolderText(start);
    if (start.empty()) ApplySearchPath(start);
    kit::ProcessMessagesNow();
    const std::optional<std::wstring> folder =
        kit::UserInteraction().BrowseForFolder(hwnd(), {.caption = L"Browse Folder", .startFolder = start});
    kit::ProcessMessagesNow();
    if (!folder || folder->empty()) return;
    path.Add(*folder);  // the box's text, on top of the recent entries
    kit::ProcessMessagesNow();
}

// The start folders of the default entry, read without selecting it: the box's text and selection stay.
void TfrmMerrowinMain::ApplySearchPath(std::wstring& startFolder) {
    const TMRUFolderComboBox& path = tshSELECTFilesAndFolders.cbmfldFOLDERSSearchPath;
    const int index = app::GlobalSearchParams->Folders.VisualControlItemDefault();
    if (index >= 0 && index < path.Count()) startFolder = FilterPathPieces(path.Info(index).Value, 0);
    kit::ProcessMessagesNow();
}

} // namespace ui
