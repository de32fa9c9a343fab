#include "ui/SettingsDialog.h"

#include <algorithm>

#include "app/ApplicationSetup.h"
#include "app/OsVersion.h"
#include "app/UKvrVARGeneral.h"

namespace ui {
namespace {

constexpr int kButtonWidth = 75;
constexpr int kGap = 6;

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(hwnd, msg, wp, lp); }

int MinimumHeight(TVersionHeights heights) {
    const auto version = static_cast<app::TWindowsVersion>(app::GlobalWindowsVersion);
    if (app::IsWindowsPreVista(version)) return heights.preVista;
    if (app::IsWindowsVistaFamily(version)) return heights.vistaFamily;
    return heights.other;
}

kit::DialogParams ParamsOf(std::wstring title, int minWidth, TVersionHeights heights) {
    const int height = MinimumHeight(heights);
    const int maxWidth = std::max(minWidth, app::GlobalApplicationInit->Position.MinWidth);
    return {.title = std::move(title), .resizable = true, .minTrackSize = {minWidth, height},
            .maxTrackSize = {maxWidth, height}};
}

} // namespace

void TPageTree::Create(HWND parent, int id, const RECT& bounds) {
    // No lines, no buttons: the tree is a list of pages with their sub-pages indented.
    CreateControl(WC_TREEVIEWW, parent, id, L"",
                  WS_VISIBLE | WS_TABSTOP | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP, bounds, WS_EX_CLIENTEDGE);
}

HTREEITEM TPageTree::Add(const std::wstring& caption, int page, HTREEITEM parent) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(caption.c_str());
    insert.item.lParam = page;
    const auto node = reinterpret_cast<HTREEITEM>(Send(hwnd(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (nodes_.size() <= static_cast<std::size_t>(page)) nodes_.resize(static_cast<std::size_t>(page) + 1);
    nodes_[static_cast<std::size_t>(page)] = node;
    return node;
}

void TPageTree::ExpandAll() {
    for (HTREEITEM node : nodes_) Send(hwnd(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
}

// The chosen page's node keeps the selection's colours while the focus is on the page: the tree is the dialog's
// only sign of which page is shown, and a tree without the focus paints its selection nearly as its background.
LRESULT TPageTree::OnCustomDraw(NMTVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT || !(draw.nmcd.uItemState & CDIS_SELECTED) ||
        GetFocus() == hwnd())
        return CDRF_DODEFAULT;
    draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
    draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
    draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    return CDRF_NEWFONT;
}

HTREEITEM TPageTree::NodeOf(int page) const {
    return page >= 0 && static_cast<std::size_t>(page) < nodes_.size() ? nodes_[static_cast<std::size_t>(page)]
                                                                       : nullptr;
}

void TPageTree::SelectPage(int page) {
    if (HTREEITEM node = NodeOf(page)) Send(hwnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
}

int TPageTree::SelectedPage() const {
    const auto node = reinterpret_cast<HTREEITEM>(Send(hwnd(), TVM_GETNEXTITEM, TVGN_CARET));
    const auto found = std::find(nodes_.begin(), nodes_.end(), node);
    return node && found != nodes_.end() ? static_cast<int>(found - nodes_.begin()) : -1;
}

std::wstring TPageTree::Caption(int page) const {
    wchar_t text[128] = L"";
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = NodeOf(page);
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    if (!item.hItem || !Send(hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
    return text;
}

bool TPageTree::OnNotifyCode(NMHDR& header, LRESULT& result) {
    switch (header.code) {
    case TVN_ITEMEXPANDINGW: {
        // The pages below a node stay in sight: the tree never collapses.
        const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
        result = (change.action & TVE_COLLAPSE) ? TRUE : FALSE;
        return true;
    }
    case TVN_ITEMEXPANDEDW: {
        // Wine collapses the node whatever the answer above: it is expanded again once the collapse is done.
        const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
        if (change.action & TVE_COLLAPSE)
            PostMessageW(hwnd(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(change.itemNew.hItem));
        result = 0;
        return true;
    }
    case NM_CUSTOMDRAW:
        result = OnCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW&>(header));
        return true;
    case TVN_SELCHANGEDW: {
        const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
        if (OnPageChange) OnPageChange(static_cast<int>(change.itemNew.lParam));
        result = 0;
        return true;
    }
    }
    return false;
}

void TDialogPage::Create(HWND dialog, int id, const RECT& bounds) {
    CreatePanel(dialog, id, bounds);
    // A thin edge sets the page apart from the tree and the buttons.
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) | WS_EX_STATICEDGE);
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TSettingsDialog::TSettingsDialog(std::wstring title, int minWidth, TVersionHeights heights)
    : kit::Dialog(ParamsOf(std::move(title), minWidth, heights)), minimum_{minWidth, MinimumHeight(heights)} {}

void TSettingsDialog::CreateFrame(int treeId, int treeWidth, bool cancelIsDefault) {
    SetWindowPos(hwnd(), nullptr, 0, 0, minimum_.cx, minimum_.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    treeWidth_ = treeWidth;
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int buttonTop = client.bottom - kMargin - kButtonHeight;
    tvConfigMenu.Create(hwnd(), treeId, RECT{kMargin, kMargin, kMargin + treeWidth, buttonTop - kMargin});
    Anchor(tvConfigMenu, kit::AnchorLeft | kit::AnchorTop | kit::AnchorBottom);
    tvConfigMenu.OnPageChange = [this](int page) { OnPageChange(page); };

    const int cancelLeft = client.right - kMargin - kButtonWidth;
    const int okLeft = cancelLeft - kGap - kButtonWidth;
    bbtnOK.Create(hwnd(), IDOK, L"OK", RECT{okLeft, buttonTop, okLeft + kButtonWidth, buttonTop + kButtonHeight},
                  {.startsGroup = true, .defaultButton = !cancelIsDefault});
    bbtnCancel.Create(hwnd(), IDCANCEL, L"Cancel",
                      RECT{cancelLeft, buttonTop, cancelLeft + kButtonWidth, buttonTop + kButtonHeight},
                      {.defaultButton = cancelIsDefault});
    Anchor(bbtnOK, kit::AnchorRight | kit::AnchorBottom);
    Anchor(bbtnCancel, kit::AnchorRight | kit::AnchorBottom);
    SetInitialFocus(tvConfigMenu);
}

RECT TSettingsDialog::PageArea() const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    return RECT{2 * kMargin + treeWidth_, kMargin, client.right - kMargin, client.bottom - 2 * kMargin - kButtonHeight};
}

HTREEITEM TSettingsDialog::AddPage(TDialogPage& page, int id, const std::wstring& caption, HTREEITEM parent) {
    page.Create(hwnd(), id, PageArea());
    // Between the tree and the buttons in the Tab order: from the tree, Tab goes through the shown page.
    SetWindowPos(page.hwnd(), pages_.empty() ? tvConfigMenu.hwnd() : pages_.back()->hwnd(), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    pages_.push_back(&page);
    return tvConfigMenu.Add(caption, static_cast<int>(pages_.size()) - 1, parent);
}

void TSettingsDialog::OnPageChange(int page) {
    shownPage_ = page;
    for (std::size_t i = 0; i < pages_.size(); ++i)
        ShowWindow(pages_[i]->hwnd(), static_cast<int>(i) == page ? SW_SHOW : SW_HIDE);
}

bool TSettingsDialog::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg != WM_SIZE) return false;
    const RECT area = PageArea();
    for (TDialogPage* page : pages_)
        MoveWindow(page->hwnd(), area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    return false;
}

} // namespace ui
