#pragma once
// The result list: an owner-data list-view control over a TResultTable. It holds no items, only their count,
// and asks the table for each cell, icon and colour as it paints.
#include "kit/Controls.h"
#include "kit/CostShare.h"
#include "kit/Handles.h"
#include "results/FileThumb.h"
#include "results/ResultTable.h"
#include "results/listview/FolderPrompts.h"
#include "results/listview/ListShortCuts.h"
#include "results/listview/ResultContextMenu.h"
#include "results/listview/ShellFileOperation.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace store { class TMemIniFileUnicode; }

namespace results {

class TSearchStatusBar;
class TResultFindItem;
class TResultListViewColumnsPopUp;
class TResultListViewItemsPopUp;

enum TTextZoom : std::uint8_t { tzSmall, tzNormal, tzMedium, tzLarge, tzVeryLarge };
enum TZentaViewStyle : std::uint8_t { zvsThumbnail, zvsIcon, zvsSmallIcon, zvsList, zvsTile, zvsReport };

// 7 to 11 points; a value outside the enumeration gives 8.
int ZoomPointSize(TTextZoom zoom);

// The text colour of a row by its attributes (hidden, system, compressed); none keeps the list's own colour.
std::optional<COLORREF> AttributeTextColour(engine::TScanAttributes attributes);
// The item data the fetch answers for a row the find item matches (0 for any other row); a marker, not a number.
inline constexpr LPARAM FindMatchItemData = 12345;
inline constexpr COLORREF FindMatchBackground = RGB(0xD9, 0xFF, 0xD9);
// The selected match, the row the find window goes to: a green as strong as a selection, whether the list has the
// focus or not, so it reads as both selected and a match.
inline constexpr COLORREF FindMatchSelectedBackground = RGB(0x2E, 0x8B, 0x57);
inline constexpr COLORREF FindMatchSelectedText = RGB(0xFF, 0xFF, 0xFF);

// Widths a layout file may hold, so a column read back is never lost off-screen or too thin to grab.
inline constexpr int MinColumnWidth = 16;
inline constexpr int MaxColumnWidth = 2000;
// A read width: 0 stays 0 (a hidden column), a negative one gives `defaultWidth`, the rest are kept in range.
int ClampLayoutWidth(int width, int defaultWidth);

// The state attached to each list column, by the column's control index (its creation order, the kind order).
struct TColumnExtraInfo {
    TColumnsEnum kind = tcName;
    bool visible = true;
    int widthVisible = 0;  // the width to restore when a hidden column is shown again
    int reportWidth = 0;   // the width the column had when the view last left report style
};

// What the list needs of the find item, which shows the rows matching a typed text.
class TResultFindMatch {
public:
    virtual ~TResultFindMatch() = default;
    virtual bool Active() const = 0;
    virtual bool Matches(TRow& row) = 0;
    // The rows moved under the find item (a sort): its matches are to be found again.
    virtual void MarkStale() = 0;
};

class TResultListView : public kit::Control {
public:
    // Creates the control as a child of `parent`, a kit window or dialog: its notifications reach the list by
    // reflection. Honours the option singleSelect.
    TResultListView(HWND parent, int id, const RECT& bounds, const kit::ControlOptions& options = {});
    ~TResultListView() override;

    HWND Header() const;

    TResultTable* Results() const { return results_; }
    void SetResults(TResultTable* table);
    // Tells the control the table's row count after rows were added or removed; every item is fetched anew.
    void UpdateItemCount();
    // The same while a search adds rows, held back while the control's work would take more than a fiftieth
    // of the run: under Wine with a visual style one update redraws the scroll bar for 10-25 ms, which at
    // every 50 ms refresh slows the search by a fifth to a half (then about once a second). On Windows an
    // update costs far less than the refresh interval and none is held back. Nothing is done when the list already shows every row. The
    // window asks at every refresh tick; the run's end sets the count with UpdateItemCount.
    void GrowItemCount();

    bool AppendResults = false;
    bool ShowFolderNames = true;
    bool ShowFileNames = true;
    int ItemsPerPage = 0;
    TSearchStatusBar* SearchStatusBar = nullptr;
    TFolderPrompts FolderPrompts;
    void SetFindMatch(TResultFindMatch* findMatch) { findMatch_ = findMatch; }
    // The list's own find item, which it paints by unless a test gave another.
    TResultFindItem& FindItem() const { return *findItem_; }

    // Columns, addressed by display position.
    TColumnsEnum KindAt(int displayIndex) const;
    std::vector<TColumnsEnum> DisplayedKinds() const;
    // The display position of the column of a kind, or -1.
    int IndexOfKind(TColumnsEnum kind) const;
    const TColumnExtraInfo& ColumnInfo(TColumnsEnum kind) const { return columns_[ColumnOf(kind)]; }
    int ColumnWidth(TColumnsEnum kind) const;
    void ShowColumn(int displayIndex, bool show);
    // A column dragged to zero width counts as hidden.
    void SyncColumnFlags();
    // The column pop-up's show or hide: when no column is left visible, all come back as built.
    void ToggleColumnFromPopUp(int displayIndex, bool show);
    void ResetColumnsToDefault();
    void MoveColumn(TColumnsEnum kind, int displayIndex);
    // From now on the default widths fit the control's font, and the columns take them: each design width scaled
    // to the font, and never less than the room its caption and usual cells need in it. The main window asks
    // for it once it has made the list; a stored layout's widths stay as stored.
    void FitDefaultWidths();
    // The width a column gets where nothing else is known: the design's, or the fitted one (above).
    int DefaultWidth(TColumnsEnum kind) const;

    // The sort of a column click: the kind of the sorted column (none before the first click) and 0 (by number),
    // 1 (ascending) or 2 (descending).
    std::optional<TColumnsEnum> SortedKind() const { return sortedKind_; }
    std::uint8_t SortDirection() const { return sortDirection_; }
    void OnColumnClick(TColumnsEnum kind);
    // While a search adds rows, a sort would order only those found so far, and the header would show an order the
    // rows found later do not keep: column clicks are refused, and the header's items stop being buttons.
    void RefuseSorts(bool refused);
    // The rows stand in the order they were found (a search cleared them or adds to them): no sort mark shows.
    void ShowFoundOrder();

    TZentaViewStyle ZentaViewStyle() const { return viewStyle_; }
    void SetZentaViewStyle(TZentaViewStyle style);
    bool ShowGridLines() const { return gridLines_; }
    void SetShowGridLines(bool show);
    void ReapplyGridLines(bool show);
    TTextZoom TextZoom() const { return zoom_; }
    void SetTextZoom(TTextZoom zoom);
    bool TextBold() const { return bold_; }
    void SetTextBold(bool bold);
    void ZoomIncrease();
    void ZoomDecrease();
    bool ZoomAutoResizes() const { return zoomAutoResizes_; }
    void SetZoomAutoResizes(bool autoResizes);
    void AutoResizeColumns();
    // The height of one report row in pixels, which the font (the zoom) decides.
    int RowHeight() const;

    // "KolvaranLayout.ini": columns, grid lines and zoom. Neither ever reports a failure: a file that cannot be
    // read as a layout is deleted and the current layout kept; a failed save keeps the old file.
    void SaveLayout(const std::wstring& fileName) const;
    void LoadLayout(const std::wstring& fileName);

    // File actions, over the selected rows. All but open and play are refused while Busy answers true (a search
    // runs or an export writes: rows would vanish under the walk or the writer), while another one runs and while a
    // modal wait lasts (kit::ModalWait: a menu's or a dialog's loop). Each decides its files when it starts, before
    // its first prompt or question, and later finds the rows it drops by their paths.
    std::function<bool()> Busy;
    // The drag of the selected files, which the window plugs in: given the selected paths, true when the drag
    // ended in a move (the rows whose files left then leave the list).
    std::function<bool(const std::vector<std::wstring>& paths)> OnDragRequest;
    TResultListViewShortCuts ShortCuts;
    // The shell's file operation unless a test gives another (null: the shell's again).
    void SetFileOperation(TFileOperation* operation);
    // The shell's context menu of one row's file, as ShowResultContextMenu shows it, unless a test gives another:
    // true when shown, `verb` then the chosen item's verb (those the list carries out itself run here). The items of
    // those verbs show greyed when `programVerbsRefused` (FileActionsRefused).
    std::function<bool(const std::wstring& fileName, HWND owner, POINT screen, bool programVerbsRefused,
                       std::wstring& verb)>
        ShellContextMenu = ShowResultContextMenu;

    // True while a file action would be refused (see Busy): the menus show theirs greyed.
    bool FileActionsRefused() const;

    // The selected rows' full paths in item order, without those inside a selected folder.
    std::vector<std::wstring> SelectedPaths() const;
    std::vector<int> SelectedIndexes() const;
    int FocusedIndex() const;
    // Selects and focuses the row alone and scrolls it into view; nothing for an index past the rows.
    void GoToRow(int index);
    void CutSelected();
    void CopySelected();
    void CopySelectedToFolder();
    void MoveSelectedToFolder();
    void CreateShortcutsOfSelected();
    void DeleteSelected();
    void RenameSelected();
    void RemoveSelectedFromList();
    void SelectAll();
    void InvertSelection();
    void UnselectAll();
    void ShowPropertiesOfSelected();
    // The focused row through the shell: Open, or Play when Open fails; PlayFile the other way round.
    void OpenFile();
    void PlayFile();
    static constexpr UINT_PTR CutRefreshTimer = 0x4B56;  // an id the control's own timers do not use
    static constexpr UINT CutRefreshInterval = 2000;

protected:
    // The control's own messages: keys, scrolling and the header's notifications.
    bool OnOwnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    // Its notifications, reflected from the parent.
    bool OnNotifyCode(NMHDR& header, LRESULT& result) override;

private:

    // Columns (ListColumns.cpp).
    void BuildColumns();
    int ColumnOf(TColumnsEnum kind) const;
    std::vector<int> ColumnOrder() const;
    void SetColumnWidth(int column, int width);
    int ColumnWidthAt(int column) const;
    void SaveReportWidths();

    // Fetch, find, prefetch and colours (ListFetch.cpp).
    void OnGetDispInfo(NMLVDISPINFOW& info);
    int OnFindItem(const NMLVFINDITEMW& find) const;
    void OnCacheHint(const NMLVCACHEHINT& hint);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);
    bool RowShown(TRow& row) const;
    bool OnPage(int index) const;
    void FetchDetails(TRow& row);
    void FetchThumbnail(TRow& row);

    // Sort marks (ListSort.cpp).
    void UpdateHeaderMarks();

    // View, zoom and scrolling (ListViewStyles.cpp).
    void ApplyFont();
    void AfterZoomChange();
    // Arranges the icons again in the Large Icon, Small Icon and Thumbnail views; the others need it not.
    void ArrangeIcons() const;
    void SetDoubleBuffered(bool on);
    bool OnVerticalScroll(WORD code);

    // What a file action works on, decided when the person chooses it: the selected-path list (a selected folder
    // stands for what it holds) and the full path of each selected row in item order (the rows it may drop).
    struct TFileTargets {
        std::vector<std::wstring> paths;
        std::vector<std::wstring> rows;
    };

    // File actions (ListFileActions.cpp, ListRename.cpp) and selection (ListSelection.cpp).
    void RunFileAction(const std::function<void()>& action);
    // While a file action runs or a modal wait lasts, nothing may change the rows or the selection it works on.
    bool SelectionHeld() const;
    TFileTargets ChosenTargets() const;
    bool AskDestination(const wchar_t* caption, std::wstring& folder) const;
    bool RunFileOperation(UINT function, const std::wstring& from, const std::wstring& to, FILEOP_FLAGS flags);
    void OpenRow(int index, bool playFirst);
    void OnDoubleClick(int index);
    void OnCutRefreshTimer();
    void OnDragBegin();
    bool AskNewName(const std::wstring& folder, const std::wstring& oldName, std::wstring& name) const;
    std::wstring RenameRowOf(const std::wstring& path);  // the new path once renamed, else empty
    void SetItemState(int index, UINT state, UINT mask);
    void MarkSelection(bool TRow::*mark);  // exactly the selected rows marked
    void MarkRows(const std::vector<std::wstring>& paths, bool TRow::*mark);  // exactly the rows of these paths
    int RowOfPath(const std::wstring& path) const;  // the first row of that full path, or -1
    // Drops the rows of `rows` (full paths) whose files are gone, and the rows inside a folder of theirs that is gone;
    // the rest of them are selected again. True when one of their files still exists.
    bool RefreshAfterMove(const std::vector<std::wstring>& rows);
    // The rows of a mark (the selection snapshot, or the cut) whose files are gone leave; the rest of them are
    // selected again. True when a file of the mark still exists.
    bool DropGoneRows(bool TRow::*mark);
    void SelectMarked(bool TRow::*mark);
    void FocusRow(int index);
    void DeleteGoneRows(const std::vector<std::wstring>& goneFolders);
    void OnShortcutKey(WORD key);

    // The pop-up menus (ListPopUps.cpp): the header's or the items', by where the request came from.
    void OnContextMenu(HWND source, LPARAM screenPoint);
    POINT KeyboardMenuPoint() const;

    // Layout (ListLayout.cpp).
    void SaveColumns(store::TMemIniFileUnicode& ini) const;
    void LoadColumns(const store::TMemIniFileUnicode& ini);
    void LoadZoom(const store::TMemIniFileUnicode& ini);

    std::array<TColumnExtraInfo, results::ColumnCount> columns_{};
    bool fitDefaultWidths_ = false;
    TZentaViewStyle viewStyle_ = zvsReport;
    bool gridLines_ = false;
    TTextZoom zoom_ = tzNormal;
    bool bold_ = false;
    bool zoomAutoResizes_ = false;
    kit::UniqueFont font_;
    kit::UniqueBitmap arrowUp_, arrowDown_;
    std::optional<TColumnsEnum> sortedKind_;
    std::uint8_t sortDirection_ = 0;
    bool sortsRefused_ = false;
    TResultTable* results_ = nullptr;
    TResultFindMatch* findMatch_ = nullptr;
    std::unique_ptr<TResultFindItem> findItem_;
    std::unique_ptr<TResultListViewColumnsPopUp> columnsPopUp_;
    std::unique_ptr<TResultListViewItemsPopUp> itemsPopUp_;
    HIMAGELIST systemSmall_ = nullptr;
    HIMAGELIST systemLarge_ = nullptr;
    kit::UniqueImageList thumbnails_;  // 165 x 130; the control only shares it
    TFileThumb fileThumb_;
    kit::CostShare growth_{0.02};
    TFileOperation* fileOperation_ = &ShellFileOperation();
    int fileActionsRunning_ = 0;
};

} // namespace results
