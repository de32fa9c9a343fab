// What the owner-data control asks of the list as it paints: cells, icons, typed finds, prefetch and colours.
#include "results/listview/ResultListView.h"

#include "kit/Strings.h"
#include "results/ShellKinds.h"
#include "results/listview/HourglassCursor.h"

#include <shellapi.h>

#include <cwchar>

namespace results {
namespace {

using engine::saCompressed;
using engine::saHidden;
using engine::saSystem;

void CopyText(const std::wstring& text, NMLVDISPINFOW& info) {
    if (!info.item.pszText || info.item.cchTextMax <= 0) return;
    const size_t room = static_cast<size_t>(info.item.cchTextMax) - 1;
    const size_t length = text.size() < room ? text.size() : room;
    wmemcpy(info.item.pszText, text.data(), length);
    info.item.pszText[length] = L'\0';
}

} // namespace

std::optional<COLORREF> AttributeTextColour(engine::TScanAttributes attributes) {
    const bool h = attributes.Contains(saHidden), s = attributes.Contains(saSystem),
               c = attributes.Contains(saCompressed);
    if (h && s && c) return RGB(0x80, 0x00, 0x80);
    if (h && s) return RGB(0xFF, 0x00, 0xFF);
    if (c && h) return RGB(0x00, 0x80, 0x80);
    if (c) return RGB(0x00, 0x00, 0xFF);
    if (h) return RGB(0x80, 0x80, 0x80);
    if (s) return RGB(0xFF, 0x00, 0x00);
    return std::nullopt;
}

bool TResultListView::RowShown(TRow& row) const {
    return row.IsDirectory() ? ShowFolderNames : ShowFileNames;
}

bool TResultListView::OnPage(int index) const {
    if (viewStyle_ != zvsReport) return true;  // the other styles show no page worth a separate limit
    const auto top = static_cast<int>(SendMessageW(hwnd(), LVM_GETTOPINDEX, 0, 0));
    const auto perPage = static_cast<int>(SendMessageW(hwnd(), LVM_GETCOUNTPERPAGE, 0, 0));
    return index >= top && index <= top + perPage;
}

void TResultListView::OnGetDispInfo(NMLVDISPINFOW& info) {
    // Text is answered for any row, on the page or not: finds, tests and screen readers read rows that are
    // not painted. Only the shell's icon lookup is kept to the rows in view.
    LVITEMW& item = info.item;
    if (!results_ || item.iItem < 0 || item.iItem >= results_->Count()) return;
    TRow* row = results_->RowAt(item.iItem);
    if (!row || !RowShown(*row)) return;
    const bool thumbnails = viewStyle_ == zvsThumbnail;

    if (item.mask & LVIF_PARAM)
        item.lParam = findMatch_ && findMatch_->Matches(*row) ? FindMatchItemData : 0;
    const bool validColumn = item.iSubItem >= 0 && item.iSubItem < results::ColumnCount;
    const TColumnsEnum kind = validColumn ? columns_[static_cast<size_t>(item.iSubItem)].kind : tcName;
    if ((item.mask & LVIF_TEXT) && validColumn) CopyText(results_->ColumnAt(item.iItem, kind).CellText(), info);
    if (item.mask & LVIF_IMAGE) {
        if (!thumbnails && !row->DetailsFetched && OnPage(item.iItem)) FetchDetails(*row);
        if (kind == tcName) item.iImage = thumbnails ? row->ThumbnailIndex : row->SystemIconIndex;
        else if (kind == tcFolder) item.iImage = row->TypeIconIndex();
        // Any other answer for a sub-item, I_IMAGENONE included, keeps an icon's room in front of its text.
        else item.iImage = I_IMAGECALLBACK;
    }
    if ((item.mask & LVIF_STATE) && item.iSubItem == 0) {
        item.stateMask = LVIS_CUT | LVIS_OVERLAYMASK;
        item.state = 0;
        if (!thumbnails && (row->Attributes.Contains(saHidden) || row->Cut)) item.state |= LVIS_CUT;
        if (!row->IsDirectory() && row->IsShortcut()) item.state |= INDEXTOOVERLAYMASK(1);
    }
}

int TResultListView::OnFindItem(const NMLVFINDITEMW& find) const {
    if (!results_ || !(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
    const std::int64_t count = results_->Count();
    if (count == 0) return -1;
    const std::wstring_view typed = find.lvfi.psz;
    const bool wrap = (find.lvfi.flags & LVFI_WRAP) != 0;
    const std::int64_t start = find.iStart >= 0 && find.iStart < count ? find.iStart : 0;
    std::int64_t i = start;
    do {
        TRow* row = results_->RowAt(i);
        // Compared in place: a keystroke over a million rows must not copy every name.
        if (row && kit::StartsWithText(row->Name(), typed)) return static_cast<int>(i);
        if (++i >= count) {
            if (!wrap) return -1;
            i = 0;
        }
    } while (i != start);
    return -1;
}

void TResultListView::OnCacheHint(const NMLVCACHEHINT& hint) {
    if (!results_) return;
    const std::int64_t count = results_->Count();
    if (hint.iFrom < 0 || hint.iTo < hint.iFrom || hint.iTo >= count) return;
    HourglassCursor wait;
    for (int i = hint.iFrom; i <= hint.iTo; ++i) {
        TRow* row = results_->RowAt(i);
        if (!row) continue;
        if (viewStyle_ == zvsThumbnail) FetchThumbnail(*row);
        else if (!row->DetailsFetched) FetchDetails(*row);
    }
}

void TResultListView::FetchThumbnail(TRow& row) {
    if (row.ThumbnailIndex != -1) return;
    fileThumb_.SetFileName(row.FullPath());
    fileThumb_.DrawThumbnail();
    row.ThumbnailIndex = ImageList_Add(thumbnails_.get(), fileThumb_.Bitmap(), nullptr);
}

void TResultListView::FetchDetails(TRow& row) {
    if (row.SystemIconIndex == -1) {
        const bool link = kit::UpperCase(row.ExtText()) == L".LNK";
        row.SystemIconIndex = ShellKinds().Icon(row.Folder(), std::wstring(row.Name()), row.Attributes,
                                                SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (link ? SHGFI_LINKOVERLAY : 0));
    }
    if (viewStyle_ == zvsReport && row.TypeIconIndex() == -1)
        row.SetTypeIconIndex(ShellKinds().FolderIcon(row.Folder()));
    row.TypeNameText();
    if (row.TypeName() != TRow::TypeNameUnknown && row.SystemIconIndex != -1 && row.TypeIconIndex() != -1)
        row.DetailsFetched = true;
}

LRESULT TResultListView::OnCustomDraw(NMLVCUSTOMDRAW& draw) {
    if (viewStyle_ != zvsReport) return CDRF_DODEFAULT;
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT || !results_) return CDRF_DODEFAULT;
    TRow* row = results_->RowAt(static_cast<std::int64_t>(draw.nmcd.dwItemSpec));
    if (!row) return CDRF_DODEFAULT;
    LRESULT answer = CDRF_DODEFAULT;
    if (const auto colour = AttributeTextColour(row->Attributes)) {
        draw.clrText = *colour;
        answer = CDRF_NEWFONT;
    }
    // An owner-data control hands no item data to custom draw, so the match is asked here.
    if (findMatch_ && findMatch_->Active() && findMatch_->Matches(*row)) {
        draw.clrTextBk = FindMatchBackground;
        answer = CDRF_NEWFONT;
        if (draw.nmcd.uItemState & CDIS_SELECTED) {
            // The control would paint a selected row in its selection colours over these: it is told the row is
            // not selected and gets the selected match's colours instead.
            draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
            draw.clrTextBk = FindMatchSelectedBackground;
            draw.clrText = FindMatchSelectedText;
        }
    }
    return answer;
}

} // namespace results
