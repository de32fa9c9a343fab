#include "ui/FKvrManageItems.h"

#include <algorithm>

#include <shellapi.h>
#include <shlobj.h>

#include "app/ApplicationSetup.h"
#include "app/ShellNamespace.h"
#include "app/UKvrVARGeneral.h"
#include "kit/Scope.h"
#include "kit/Strings.h"
#include "kit/SystemImages.h"

namespace ui {
namespace {

constexpr int kMargin = 8;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 25;
constexpr int kColumnMargin = 24;  // room for the vertical scroll bar

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(hwnd, msg, wp, lp); }

int ItemIcon(TItemsKind kind, const std::wstring& item) {
    switch (kind) {
    case ikFileMasks: return GetFileTypeIconIndex(L"*.FON");
    case ikTexts: return GetFileTypeIconIndex(L"*.DOC");
    case ikSearchPaths: break;
    }
    std::wstring tag, value;
    SplitTaggedPath(item, tag, value);
    if (!tag.empty()) return app::GetSpecialFolderIconIndex(CSIDL_FAVORITES);
    return app::GetPathIconIndexDef(value, CSIDL_PROGRAM_FILES);
}

} // namespace

void TItemsListView::Create(HWND parent, int id, const RECT& bounds) {
    // The shell's image lists are shared by the whole process: the list must not destroy them.
    CreateControl(WC_LISTVIEWW, parent, id, L"",
                  WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER |
                      LVS_SHAREIMAGELISTS,
                  bounds, WS_EX_CLIENTEDGE);
    Send(hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    Send(hwnd(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(kit::SystemImageList(kit::IconSize::Small)));
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(L"Items");
    column.cx = 100;
    Send(hwnd(), LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    FitColumn();
}

int TItemsListView::Count() const { return static_cast<int>(Send(hwnd(), LVM_GETITEMCOUNT)); }

std::wstring TItemsListView::Caption(int index) const {
    std::wstring text(256, L'\0');
    for (;;) {
        LVITEMW item{};
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto length = static_cast<std::size_t>(
            Send(hwnd(), LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < text.size()) return text.substr(0, length);
        text.resize(text.size() * 2);
    }
}

int TItemsListView::ImageIndex(int index) const {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    Send(hwnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

int TItemsListView::SelectedIndex() const {
    return static_cast<int>(Send(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TItemsListView::Select(int index) { kit::SelectListItem(hwnd(), index); }

void TItemsListView::Add(const std::wstring& caption, int image) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = Count();
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    item.iImage = image;
    Send(hwnd(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TItemsListView::SetRow(int index, const std::wstring& caption, int image) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    item.iImage = image;
    Send(hwnd(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TItemsListView::Delete(int index) { Send(hwnd(), LVM_DELETEITEM, static_cast<WPARAM>(index)); }

void TItemsListView::Clear() { Send(hwnd(), LVM_DELETEALLITEMS); }

void TItemsListView::FitColumn() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    Send(hwnd(), LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(std::max(0L, client.right - kColumnMargin), 0));
}

bool TItemsListView::OnNotifyCode(NMHDR& header, LRESULT&) {
    if (header.code != LVN_ITEMCHANGED) return false;
    if (!(reinterpret_cast<const NMLISTVIEW&>(header).uChanged & LVIF_STATE)) return false;
    return Fire(OnItemStateChange);
}

int GetFileTypeIconIndex(const std::wstring& pattern) {
    // The index alone: SHGFI_ICON would hand back an icon to destroy at every call.
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(pattern.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                        SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON))
        return 0;
    return info.iIcon;
}

void SplitTaggedPath(const std::wstring& text, std::wstring& tag, std::wstring& value) {
    const std::wstring trimmed = kit::Trim(text);
    const std::size_t open = trimmed.find(L'<');
    const std::size_t close = open == std::wstring::npos ? open : trimmed.find(L'>', open + 1);
    if (close == std::wstring::npos) {
        tag.clear();
        value = trimmed;
        return;
    }
    tag = kit::Trim(std::wstring_view(trimmed).substr(open, close - open + 1));
    value = kit::Trim(std::wstring_view(trimmed).substr(close + 1));
}

void FillItemsListView(const app::TMRUItems& list, TItemsListView& view, TItemsKind kind) {
    const kit::RedrawOff quiet(view.hwnd());
    view.Clear();
    for (const std::wstring& item : list.Items) view.Add(item, ItemIcon(kind, item));
}

void ListViewToStrings(const TItemsListView& view, app::TMRUItems& list) {
    list.Items.clear();
    for (int i = 0; i < view.Count(); ++i) list.Items.push_back(view.Caption(i));
}

void SelectFirstIfNone(TItemsListView& view) {
    if (view.Count() > 0 && view.SelectedIndex() < 0) view.Select(0);
}

void UpdateItemButtons(const TItemsListView& view, kit::Button& deleteButton, kit::Button& moveUp,
                       kit::Button& deleteAll, kit::Button& moveDown) {
    const int selected = view.SelectedIndex();
    deleteButton.SetEnabled(selected >= 0);
    moveUp.SetEnabled(selected > 0);
    moveDown.SetEnabled(selected >= 0 && selected < view.Count() - 1);
    deleteAll.SetEnabled(view.Count() > 0);
}

void DeleteSelectedItem(TItemsListView& view) {
    const int selected = view.SelectedIndex();
    if (selected < 0) return;
    const int last = view.Count() - 1;
    view.Delete(selected);
    if (view.Count() > 0) view.Select(selected == last ? selected - 1 : selected);
}

void SwapItems(TItemsListView& view, int a, int b) {
    const std::wstring captionA = view.Caption(a);
    const int imageA = view.ImageIndex(a);
    view.SetRow(a, view.Caption(b), view.ImageIndex(b));
    view.SetRow(b, captionA, imageA);
}

void MoveItemUp(TItemsListView& view) {
    const int selected = view.SelectedIndex();
    if (selected <= 0) return;
    SwapItems(view, selected, selected - 1);
    view.Select(selected - 1);
}

void MoveItemDown(TItemsListView& view) {
    const int selected = view.SelectedIndex();
    if (selected < 0 || selected >= view.Count() - 1) return;
    SwapItems(view, selected, selected + 1);
    view.Select(selected + 1);
}

void TItemsPage::CreateControls(int firstId) {
    RECT area{};
    GetClientRect(hwnd(), &area);
    const int buttonsLeft = area.right - kMargin - kButtonWidth;
    lvItems.Create(hwnd(), firstId, RECT{kMargin, kMargin, buttonsLeft - kMargin, area.bottom - kMargin});
    struct ButtonInfo { kit::Button* button; const wchar_t* caption; std::function<void()> action; };
    const ButtonInfo buttons[] = {
        {&bbtDelete, L"Delete", [this] { DeleteSelectedItem(lvItems); }},
        {&bbtMoveUp, L"Move Up", [this] { MoveItemUp(lvItems); }},
        {&bbtMoveDown, L"Move Down", [this] { MoveItemDown(lvItems); }},
        {&bbtDeleteAll, L"Delete All", [this] { lvItems.Clear(); }},
    };
    int top = kMargin;
    int buttonId = firstId + 1;
    for (const ButtonInfo& info : buttons) {
        info.button->Create(hwnd(), buttonId++, info.caption, RECT{buttonsLeft, top, area.right - kMargin,
                                                                    top + kButtonHeight});
        info.button->OnClick = [this, action = info.action] {
            action();
            UpdateButtons();
        };
        Anchor(*info.button, kit::AnchorTopRight);
        top += kButtonHeight + 6;
    }
    Anchor(lvItems, kit::AnchorAll);
    lvItems.OnItemStateChange = [this] { UpdateButtons(); };
}

void TItemsPage::UpdateButtons() { UpdateItemButtons(lvItems, bbtDelete, bbtMoveUp, bbtDeleteAll, bbtMoveDown); }

TfrmKvrManageItems::TfrmKvrManageItems()
    : TSettingsDialog(L"Most Recent Used Items", 585, {.preVista = 330, .vistaFamily = 333, .other = 335}) {}

std::vector<TfrmKvrManageItems::PageSource> TfrmKvrManageItems::Sources() {
    app::TApplicationMRUItems& items = app::GlobalApplicationInit->MRUItems;
    return {
        {&tshFileMaskAsText, L"File Name as Text", &items.FileMask.List(engine::nmSimpleText), ikFileMasks},
        {&tshFileMaskAsWildcards, L"File Name as Wildcards", &items.FileMask.List(engine::nmManualWildcards),
         ikFileMasks},
        {&tshSearchPath, L"Search Path", &items.SearchFolders.FolderValue, ikSearchPaths},
        {&tshSearchTextAsWords, L"Search Text as Words", &items.SearchText.List(engine::tmWordsText), ikTexts},
        {&tshSearchTextAsPhrases, L"Search Text as Phrases", &items.SearchText.List(engine::tmPhrasesText),
         ikTexts},
    };
}

void TfrmKvrManageItems::OnCreate() {
    CreateFrame(idConfigMenu, 150, false);
    int index = 0;
    for (const PageSource& source : Sources()) {
        AddPage(*source.page, idPageFirst + index, source.caption);
        source.page->CreateControls(idControlsFirst + index * idControlsStride);
        FillItemsListView(*source.list, source.page->lvItems, source.kind);
        SelectFirstIfNone(source.page->lvItems);
        source.page->UpdateButtons();
        ++index;
    }
    tvConfigMenu.ExpandAll();
    ShowPage(pgFileMaskAsText);
}

void TfrmKvrManageItems::OnOk() {
    for (const PageSource& source : Sources()) ListViewToStrings(source.page->lvItems, *source.list);
    End(IDOK);
}

bool TfrmKvrManageItems::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    const bool handled = TSettingsDialog::OnMessage(msg, wp, lp, result);
    if (msg == WM_SIZE)
        for (const PageSource& source : Sources())
            if (source.page->lvItems.hwnd()) source.page->lvItems.FitColumn();
    return handled;
}

} // namespace ui
