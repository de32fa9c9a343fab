#include "ui/FKvrFindInResults.h"

#include <shellapi.h>

#include <algorithm>
#include <array>

#include "app/OsVersion.h"
#include "app/UKvrVARGeneral.h"
#include "kit/Scope.h"
#include "kit/SystemImages.h"
#include "results/listview/HourglassCursor.h"

namespace ui {
namespace {

constexpr int kClientWidth = 343;
constexpr int kClientHeight = 331;
constexpr int kMargin = 8;
constexpr int kFieldLeft = 78;
constexpr int kNavigatorTop = 90;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 4;
constexpr int kNumberColumnWidth = 79;

constexpr std::array<const wchar_t*, results::TResultFindItem::ColumnCount> kColumnNames = {
    L"N\u00B0", L"Name", L"Folder", L"Size", L"Ext", L"Type", L"Attributes", L"Modified Date", L"Creation Date",
    L"Last Access Date"};

// The window keeps its width; its height may grow to the main window's.
SIZE TrackSize() {
    const bool preVista = app::IsWindowsPreVista(static_cast<app::TWindowsVersion>(app::GlobalWindowsVersion));
    return {preVista ? 351 : 358, 294};
}

void CopyText(const std::wstring& text, LVITEMW& item) {
    if (item.pszText && item.cchTextMax > 0) lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
}

} // namespace

TfrmKvrFindInResults::TfrmKvrFindInResults(results::TResultListView& list)
    : kit::Dialog({.title = kCaption, .clientSize = {kClientWidth, kClientHeight}, .resizable = true}),
      list_(list),
      item_(list.FindItem()),
      noMatchBrush_(CreateSolidBrush(kNoMatchColour)),
      matchBrush_(CreateSolidBrush(kMatchColour)) {
    item_.OnStale = [this] { OnMatchesStale(); };
}

TfrmKvrFindInResults::~TfrmKvrFindInResults() {
    item_.OnStale = nullptr;
    DestroyDialog();
}

void TfrmKvrFindInResults::CreateFor(HWND owner) {
    CreateModeless(owner);
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TfrmKvrFindInResults::OnCreate() {
    const int right = kClientWidth - kMargin;
    lblValue.Create(hwnd(), -1, L"Find &Value:", RECT{kMargin, 11, kFieldLeft - 4, 27});
    // Made empty before its handler is bound: making the window searches nothing.
    edSearchInResultsValue.Create(hwnd(), kValue, RECT{kFieldLeft, 8, right, 29});
    lblColumn.Create(hwnd(), -1, L"In &Column:", RECT{kMargin, 38, kFieldLeft - 4, 54});
    cbSearchInResultField.Create(hwnd(), kColumn, kit::ComboBox::Kind::DropDownList, RECT{kFieldLeft, 35, right, 56},
                                 10);
    cbSearchInResultField.SetItems(kColumnNames);
    cbSearchInResultField.Select(item_.Column());
    chbFindFirstPosition.Create(hwnd(), kFirstPosition, L"First &Position", RECT{kMargin, 62, 112, 80},
                                item_.FirstPosition());
    chbFindWholeWord.Create(hwnd(), kWholeWord, L"&Whole Word", RECT{116, 62, 212, 80}, item_.WholeWord());
    chbFindCaseSensitive.Create(hwnd(), kCaseSensitive, L"Case &Sensitive", RECT{216, 62, right, 80},
                                item_.CaseSensitive());

    const int buttonWidth = (right - kMargin - 3 * kButtonGap) / 4;
    const auto button = [&](int index) {
        const int left = kMargin + index * (buttonWidth + kButtonGap);
        return RECT{left, kNavigatorTop, left + buttonWidth, kNavigatorTop + kButtonHeight};
    };
    bbtSearchInResultsFirst.Create(hwnd(), kFirst, L"&First", button(0));
    bbtSearchInResultsPrior.Create(hwnd(), kPrior, L"P&rior", button(1));
    bbtSearchInResultsNext.Create(hwnd(), kNext, L"&Next", button(2), {.defaultButton = true});
    bbtSearchInResultsLast.Create(hwnd(), kLast, L"&Last", button(3));

    vleFindResults.Create(hwnd(), kResults,
                          RECT{kMargin, kNavigatorTop + kButtonHeight + 6, right, kClientHeight - kMargin},
                          {.singleSelect = true});
    SendMessageW(vleFindResults.hwnd(), LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(kit::SystemImageList(kit::IconSize::Small)));
    vleFindResults.SetColumn(L" Items Found: 0", KeyColumnWidth(), 0);
    vleFindResults.SetColumn(L" Row N\u00B0", kNumberColumnWidth, 1);

    Anchor(edSearchInResultsValue, kit::AnchorTopLeftRight);
    Anchor(cbSearchInResultField, kit::AnchorTopLeftRight);
    Anchor(vleFindResults, kit::AnchorAll);

    edSearchInResultsValue.OnChange = [this] { edSearchInResultsValueChange(); };
    cbSearchInResultField.OnSelChange = [this] { cbSearchInResultFieldChange(); };
    chbFindFirstPosition.OnClick = [this] {
        RefreshSequence([this] { item_.SetFirstPosition(chbFindFirstPosition.Checked()); });
    };
    chbFindWholeWord.OnClick = [this] {
        RefreshSequence([this] { item_.SetWholeWord(chbFindWholeWord.Checked()); });
    };
    chbFindCaseSensitive.OnClick = [this] {
        RefreshSequence([this] { item_.SetCaseSensitive(chbFindCaseSensitive.Checked()); });
    };
    bbtSearchInResultsFirst.OnClick = [this] { bbtSearchInResultsFirstClick(); };
    bbtSearchInResultsPrior.OnClick = [this] { bbtSearchInResultsPriorClick(); };
    bbtSearchInResultsNext.OnClick = [this] { bbtSearchInResultsNextClick(); };
    bbtSearchInResultsLast.OnClick = [this] { bbtSearchInResultsLastClick(); };
    vleFindResults.OnRowChosen = [this] { vleFindResultsClick(); };
    vleFindResults.OnData = [this](NMLVDISPINFOW& info) { vleFindResultsData(info); };
    SetInitialFocus(edSearchInResultsValue);
    UpdateNavigator();
}

bool TfrmKvrFindInResults::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) FormActivate();
        return false;  // the dialog manager puts the focus back where it was
    case WM_CTLCOLOREDIT:
        return reinterpret_cast<HWND>(lp) == edSearchInResultsValue.hwnd() &&
               OnEditColour(reinterpret_cast<HDC>(wp), result);
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) != vleFindResults.hwnd() || LOWORD(lp) != HTCLIENT || look_ != EditLook::Match)
            return false;
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        result = TRUE;
        return true;
    case WM_GETMINMAXINFO:
        OnMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lp));
        result = 0;
        return true;
    case WM_SIZE:
        if (vleFindResults.hwnd()) vleFindResults.SetColumnWidth(KeyColumnWidth(), 0);  // the layout placed it
        return false;
    case kRefreshMessage:
        refreshPosted_ = false;
        if (item_.Stale() && Visible() && enabled_) RefreshMatches();
        result = 0;
        return true;
    }
    return false;
}

void TfrmKvrFindInResults::OnMinMaxInfo(MINMAXINFO& info) const {
    const SIZE track = TrackSize();
    info.ptMinTrackSize = {track.cx, track.cy};
    info.ptMaxTrackSize.x = track.cx;
    RECT owner{};
    if (GetWindowRect(GetWindow(hwnd(), GW_OWNER), &owner))
        info.ptMaxTrackSize.y = std::max<LONG>(track.cy, owner.bottom - owner.top);
}

bool TfrmKvrFindInResults::OnEditColour(HDC dc, LRESULT& result) const {
    switch (look_) {
    case EditLook::Plain: return false;
    case EditLook::NoMatch:
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, kNoMatchColour);
        result = reinterpret_cast<LRESULT>(noMatchBrush_.get());
        return true;
    case EditLook::Match:
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, kMatchColour);
        result = reinterpret_cast<LRESULT>(matchBrush_.get());
        return true;
    }
    return false;
}

void TfrmKvrFindInResults::Open() {
    Show();
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edSearchInResultsValue.hwnd()), TRUE);
}

void TfrmKvrFindInResults::Close() {
    End(IDCANCEL);
    item_.SetActive(false);
    InvalidateRect(list_.hwnd(), nullptr, TRUE);
    if (OnClosed) OnClosed();
}

void TfrmKvrFindInResults::FormActivate() {
    // While a search runs the rows are still coming: the matches are found once it has ended.
    if (item_.Stale() && enabled_) {
        RefreshMatches();
        GoToSelectedMatch();
    }
    item_.SetActive(true);
    InvalidateRect(list_.hwnd(), nullptr, TRUE);
}

void TfrmKvrFindInResults::DisableControls() { SetControlsEnabled(false); }

void TfrmKvrFindInResults::EnableControls() {
    SetControlsEnabled(true);
    // A hidden window finds its matches when it is shown again.
    if (!item_.Stale() || !Visible()) return;
    RefreshMatches();
    GoToSelectedMatch();
}

void TfrmKvrFindInResults::SetControlsEnabled(bool enabled) {
    enabled_ = enabled;
    for (kit::Control* control : std::initializer_list<kit::Control*>{
             &edSearchInResultsValue, &cbSearchInResultField, &chbFindFirstPosition, &chbFindWholeWord,
             &chbFindCaseSensitive, &bbtSearchInResultsFirst, &bbtSearchInResultsPrior, &bbtSearchInResultsNext,
             &bbtSearchInResultsLast, &vleFindResults})
        control->SetEnabled(enabled);
    if (enabled) UpdateNavigator();
}

void TfrmKvrFindInResults::edSearchInResultsValueChange() {
    RefreshSequence([this] { item_.SetValue(edSearchInResultsValue.Text()); });
}

void TfrmKvrFindInResults::cbSearchInResultFieldChange() {
    RefreshSequence([this] { item_.SetColumn(static_cast<std::uint8_t>(cbSearchInResultField.SelectedIndex())); });
}

void TfrmKvrFindInResults::RefreshSequence(const std::function<void()>& setter) {
    const results::HourglassCursor wait;
    setter();
    FillResults();
    UpdateNavigator();
    GoToSelectedMatch();
    InvalidateRect(list_.hwnd(), nullptr, TRUE);
}

void TfrmKvrFindInResults::OnMatchesStale() {
    // Found again once, after the change that made them stale has finished (a sort marks them twice).
    if (!hwnd() || !Visible() || !enabled_ || refreshPosted_) return;
    refreshPosted_ = PostMessageW(hwnd(), kRefreshMessage, 0, 0) != FALSE;
}

// The rows moved or went: the matches are found again and shown; the list's selection stays where the person
// left it.
void TfrmKvrFindInResults::RefreshMatches() {
    const results::HourglassCursor wait;
    item_.Refresh();
    FillResults();
    UpdateNavigator();
    InvalidateRect(list_.hwnd(), nullptr, TRUE);
}

void TfrmKvrFindInResults::FillResults() {
    const kit::ScopedIncrement filling(filling_);
    lines_ = item_.MatchList();
    const int count = static_cast<int>(lines_.size());
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(vleFindResults.hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    vleFindResults.SetItemCount(count);
    InvalidateRect(vleFindResults.hwnd(), nullptr, TRUE);
    if (count > 0) vleFindResults.SelectItem(0);
    vleFindResults.SetColumn(L" Items Found: " + std::to_wstring(count), KeyColumnWidth(), 0);
    look_ = item_.Value().empty() ? EditLook::Plain : count == 0 ? EditLook::NoMatch : EditLook::Match;
    InvalidateRect(edSearchInResultsValue.hwnd(), nullptr, TRUE);
}

void TfrmKvrFindInResults::UpdateNavigator() {
    const int row = CurrentRow();
    const int last = static_cast<int>(lines_.size()) - 1;
    const bool any = enabled_ && last >= 0;
    bbtSearchInResultsFirst.SetEnabled(any && row != 0);
    bbtSearchInResultsPrior.SetEnabled(any && row != 0);
    bbtSearchInResultsNext.SetEnabled(any && row != last);
    bbtSearchInResultsLast.SetEnabled(any && row != last);
}

void TfrmKvrFindInResults::GoToSelectedMatch() {
    // Rows changed since the matches were found: their indexes may name other rows, or none.
    if (item_.Stale()) RefreshMatches();
    const int row = CurrentRow();
    if (row < 0 || row >= static_cast<int>(lines_.size())) return;
    list_.GoToRow(lines_[static_cast<size_t>(row)].Row.RowIndex);
}

void TfrmKvrFindInResults::SelectRow(int row) {
    if (row < 0 || row >= static_cast<int>(lines_.size())) return;
    vleFindResults.SelectItem(row);  // chooses the row: the navigator follows and the list goes to the match
}

void TfrmKvrFindInResults::bbtSearchInResultsFirstClick() { SelectRow(0); }

void TfrmKvrFindInResults::bbtSearchInResultsPriorClick() {
    if (CurrentRow() > 0) SelectRow(CurrentRow() - 1);
}

void TfrmKvrFindInResults::bbtSearchInResultsNextClick() {
    if (CurrentRow() < static_cast<int>(lines_.size()) - 1) SelectRow(CurrentRow() + 1);
}

void TfrmKvrFindInResults::bbtSearchInResultsLastClick() { SelectRow(static_cast<int>(lines_.size()) - 1); }

void TfrmKvrFindInResults::vleFindResultsClick() {
    if (filling_ > 0) return;  // the fill chooses its first row itself
    UpdateNavigator();
    GoToSelectedMatch();
}

void TfrmKvrFindInResults::vleFindResultsData(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    if (item.iItem < 0 || item.iItem >= static_cast<int>(lines_.size())) return;
    results::TFindMatchLine& line = lines_[static_cast<size_t>(item.iItem)];
    // The cell found, with its file's icon, under the count; its row's number beside it.
    if (item.mask & LVIF_TEXT) CopyText(item.iSubItem == 0 ? line.Text : line.Number, item);
    if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0) item.iImage = IconOf(line);
}

int TfrmKvrFindInResults::IconOf(results::TFindMatchLine& line) const {
    int& icon = line.Row.IconIndex;
    if (icon == -1) icon = kit::SmallSystemIconIndex(line.Row.FullPath);  // a file without one is not asked again
    return icon;
}

// The found texts take what the row numbers and a scroll bar leave.
int TfrmKvrFindInResults::KeyColumnWidth() const {
    const RECT bounds = vleFindResults.Bounds();
    const int room = bounds.right - bounds.left - kNumberColumnWidth - GetSystemMetrics(SM_CXVSCROLL) - 4;
    return std::max(room, 60);
}

} // namespace ui
