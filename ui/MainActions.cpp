// The main window's action table, its menus with their opening handlers, the edit shortcuts that follow the
// result list's focus, and the routing of commands to the actions.
#include <functional>
#include <string>
#include <vector>

#include "app/ApplicationSetup.h"
#include "app/OsVersion.h"
#include "app/UKvrVARGeneral.h"
#include "kit/Interaction.h"
#include "results/ResultExports.h"
#include "ui/ControlIds.h"
#include "ui/FKvrManageItems.h"
#include "ui/FKvrOptions.h"
#include "ui/FKvrViewSourceFolders.h"
#include "ui/FMWAbout.h"
#include "ui/FMWMainFree.h"

namespace ui {
namespace {

constexpr int kViewStyleGroup = 10;
constexpr int kZoomGroup = 1;

// Commands the window has but does not offer (yet): hidden, with no handler.
constexpr int kNotOffered[] = {
    ids::actFILENewSearchPaths, ids::actFILEEditSearchPaths, ids::actFILESaveResults,
    ids::actFILELoadResultsFromFile, ids::actEDITUndo, ids::actEDITRedo, ids::actEDITSelectAll,
    ids::actEDITSelectBySourceFolders, ids::actEDITInvertSelection, ids::actEDITUnselectAll,
    ids::actACTIONFilterResults, ids::actVIEWThumbnail, ids::actINSTALLAddToContextMenu,
    ids::actINSTALLRemoveFromContextMenu, ids::actSETTINGSManageIFilters,
};

// The Edit commands that act on the selected rows, and those that are never enabled.
constexpr int kSelectionActions[] = {
    ids::actEDITCut, ids::actEDITCopy, ids::actEDITCopyToFolder, ids::actEDITMoveToFolder,
    ids::actEDITCreateShortcut, ids::actEDITDelete, ids::actEDITRename, ids::actEDITRemoveFromList,
};
constexpr int kNeverEnabledEditActions[] = {
    ids::actEDITUndo, ids::actEDITRedo, ids::actEDITSelectAll, ids::actEDITSelectBySourceFolders,
    ids::actEDITInvertSelection, ids::actEDITUnselectAll,
};

struct ViewStyle {
    int action;
    const wchar_t* caption;
    results::TZentaViewStyle style;
};
const ViewStyle kViewStyles[] = {
    {ids::actVIEWThumbnail, L"Thumbnail", results::zvsThumbnail}, {ids::actVIEWIcon, L"Large Icon", results::zvsIcon},
    {ids::actVIEWSmallIcon, L"Small Icon", results::zvsSmallIcon}, {ids::actVIEWList, L"List", results::zvsList},
    {ids::actVIEWTile, L"Tile", results::zvsTile},
};

struct ZoomLevel {
    int action;
    const wchar_t* caption;
    results::TTextZoom zoom;
};
const ZoomLevel kZoomLevels[] = {
    {ids::actVIEWZoomVeryLarge, L"Very Large", results::tzVeryLarge}, {ids::actVIEWZoomLarge, L"Large", results::tzLarge},
    {ids::actVIEWZoomMedium, L"Medium", results::tzMedium}, {ids::actVIEWZoomNormal, L"Normal", results::tzNormal},
    {ids::actVIEWZoomSmall, L"Small", results::tzSmall},
};

// Ctrl and the key that types `character` in the keyboard layout of the moment; when the layout needs Shift for
// the character (a "+" is Shift and "=" on a US keyboard), Ctrl and Shift and the key too, so the key works
// whether Shift is held or not. None when the layout has no such key, or needs more than Shift.
std::vector<kit::Shortcut> CtrlKeysOf(wchar_t character) {
    const SHORT found = VkKeyScanW(character);
    if (found == -1 || (HIBYTE(found) & ~1) != 0) return {};
    const WORD key = LOBYTE(found);
    if (!(HIBYTE(found) & 1)) return {{FCONTROL, key}};
    return {{FCONTROL, key}, {FCONTROL | FSHIFT, key}};
}

// The keys of `character` (the first of them is the one the menu shows), then `more`.
std::vector<kit::Shortcut> ZoomKeys(wchar_t character, std::initializer_list<kit::Shortcut> more) {
    std::vector<kit::Shortcut> keys = CtrlKeysOf(character);
    keys.insert(keys.end(), more);
    return keys;
}

} // namespace

void TfrmMerrowinMain::CreateActions() {
    actions_.Add(ids::actACTIONSearch, L"&Search", [this] { actACTIONSearchExecute(); });
    actions_.Add(ids::actACTIONPause, L"&Pause", [this] { actACTIONPauseExecute(); });
    actions_.Add(ids::actACTIONStop, L"S&top", [this] { actACTIONStopExecute(); });
    actions_.Add(ids::actACTIONReset, L"&Reset", [this] { actACTIONResetExecute(); });
    actions_.Add(ids::actACTIONFindInResults, L"Find In Results", [this] { actACTIONFindInResultsExecute(); },
                 {FCONTROL, 'F'});
    actions_.Add(ids::actVIEWReport, L"&Details", [this] { actVIEWReportExecute(); });
    actions_.Add(ids::actFILEExit, L"E&xit", [this] { PostMessageW(hwnd(), WM_CLOSE, 0, 0); });
    actions_.Add(ids::actFILEBrowse, L"Browse...", [this] { actFILEBrowseExecute(); });
    actions_.Add(ids::actFILEExportResults, L"Export Results...", [this] { actFILEExportResultsExecute(); });
    actions_.Add(ids::actVIEWSourceFolders, L"Source Folders...",
                 [this] { ShowSourceFolders(hwnd(), SourceFolders_); });
    actions_.Add(ids::actHELPAbout, L"About...", [this] { ShowAbout(hwnd()); });
    // The shortcuts of Cut, Copy and Delete live while the result list has the focus (SetEditShortCuts).
    actions_.Add(ids::actEDITCut, L"&Cut", [this] { ResultListView->CutSelected(); });
    actions_.Add(ids::actEDITCopy, L"&Copy", [this] { ResultListView->CopySelected(); });
    actions_.Add(ids::actEDITCopyToFolder, L"Copy to Folder...", [this] { ResultListView->CopySelectedToFolder(); });
    actions_.Add(ids::actEDITMoveToFolder, L"Move to Folder...", [this] { ResultListView->MoveSelectedToFolder(); });
    actions_.Add(ids::actEDITCreateShortcut, L"Create Shortcut...",
                 [this] { ResultListView->CreateShortcutsOfSelected(); });
    actions_.Add(ids::actEDITDelete, L"&Delete", [this] { ResultListView->DeleteSelected(); });
    actions_.Add(ids::actEDITRename, L"Rename...", [this] { ResultListView->RenameSelected(); });
    actions_.Add(ids::actEDITRemoveFromList, L"Remove from List", [this] { ResultListView->RemoveSelectedFromList(); });
    actions_.Add(ids::actSETTINGSOptions, L"Options...", [this] { actSETTINGSOptionsExecute(); });
    actions_.Add(ids::actSETTINGSManageItems, L"Most Recent Used Items...", [this] { actSETTINGSManageItemsExecute(); });

    actions_.Add(ids::actFILENewSearchPaths, L"New Search Paths", nullptr);
    actions_.Add(ids::actFILEEditSearchPaths, L"Edit Search Paths", nullptr);
    actions_.Add(ids::actFILESaveResults, L"Save Results...", nullptr);
    actions_.Add(ids::actFILELoadResultsFromFile, L"Load Results from File...", nullptr);
    actions_.Add(ids::actEDITUndo, L"&Undo", nullptr);
    actions_.Add(ids::actEDITRedo, L"Redo", nullptr);
    actions_.Add(ids::actEDITSelectAll, L"Select &All", nullptr, {FCONTROL, 'A'});
    actions_.Add(ids::actEDITSelectBySourceFolders, L"Select by Source Folders...", nullptr);
    actions_.Add(ids::actEDITInvertSelection, L"Invert Selection", nullptr);
    actions_.Add(ids::actEDITUnselectAll, L"Unselect All", nullptr);
    actions_.Add(ids::actACTIONFilterResults, L"Filter Results", nullptr, {FCONTROL, 'Q'});
    actions_.Add(ids::actINSTALLAddToContextMenu, L"Add to Context Menu", nullptr);
    actions_.Add(ids::actINSTALLRemoveFromContextMenu, L"Remove from Context Menu", nullptr);
    actions_.Add(ids::actSETTINGSManageIFilters, L"Select Text Filters...", nullptr);

    for (const ViewStyle& view : kViewStyles) {
        actions_.Add(view.action, view.caption, [this, view] { ShowViewStyle(view.action, view.style); });
        actions_.SetGroup(view.action, kViewStyleGroup);
    }
    actions_.SetGroup(ids::actVIEWReport, kViewStyleGroup);
    actions_.Add(ids::actVIEWShowGridLines, L"Show Grid Lines", [this] { actVIEWShowGridLinesExecute(); });
    actions_.Add(ids::actVIEWZoomIncrease, L"Increase", [this] { ResultListView->ZoomIncrease(); });
    actions_.Add(ids::actVIEWZoomDecrease, L"Decrease", [this] { ResultListView->ZoomDecrease(); });
    for (const ZoomLevel& level : kZoomLevels) {
        actions_.Add(level.action, level.caption, [this, level] { ResultListView->SetTextZoom(level.zoom); });
        actions_.SetGroup(level.action, kZoomGroup);
    }
    actions_.SetShortcuts(ids::actVIEWZoomIncrease, ZoomKeys(L'+', {{FCONTROL, VK_F6}, {FCONTROL, VK_ADD}}));
    actions_.SetShortcuts(ids::actVIEWZoomDecrease, ZoomKeys(L'-', {{FCONTROL, VK_SUBTRACT}}));
    actions_.SetShortcuts(ids::actVIEWZoomNormal, ZoomKeys(L'0', {{FCONTROL, VK_NUMPAD0}}));
    actions_.Add(ids::actVIEWZoomBoldText, L"Bold Text",
                 [this] { ResultListView->SetTextBold(!ResultListView->TextBold()); }, {FCONTROL, 'B'});
    actions_.Add(ids::actVIEWZoomAutoResizes, L"Automatically Resizes",
                 [this] { ResultListView->SetZoomAutoResizes(!ResultListView->ZoomAutoResizes()); });
    actions_.Add(ids::actVIEWAutoResizes, L"Automatically Resizes", [this] { ResultListView->AutoResizeColumns(); },
                 {FCONTROL, 'W'});

    actions_.Add(ids::actSETTINGSResetColumnsToDefault, L"Reset Columns to Default",
                 [this] { ResultListView->ResetColumnsToDefault(); });
    actions_.Add(ids::actHELPTopics, L"Online Help...", [this] { OpenWebPage(L"help.html"); });
    actions_.Add(ids::actHELPWebSite, L"Web Site...", [this] { OpenWebPage(L"index.html"); });

    for (const int id : kNotOffered) actions_.SetVisible(id, false);
}

void TfrmMerrowinMain::CreateMenu() {
    using namespace ids;
    actions_.AddMenu(miFILE, L"&File",
                     {actFILEBrowse, actFILENewSearchPaths, actFILEEditSearchPaths, 0, actFILESaveResults,
                      actFILELoadResultsFromFile, 0, actFILEExportResults, 0, actFILEExit},
                     [this] { miFILEClick(); });
    actions_.AddMenu(miEDIT, L"&Edit",
                     {actEDITUndo, actEDITRedo, 0, actEDITCut, actEDITCopy, 0, actEDITCopyToFolder, actEDITMoveToFolder,
                      0, actEDITCreateShortcut, actEDITDelete, actEDITRename, 0, actEDITRemoveFromList, 0,
                      actEDITSelectAll, actEDITSelectBySourceFolders, actEDITInvertSelection, actEDITUnselectAll},
                     [this] { miEDITClick(); });
    actions_.AddMenu(miACTION, L"&Actions", ActionMenuEntries());
    actions_.AddMenu(miVIEWZoom, L"Zoom",
                     {actVIEWZoomIncrease, actVIEWZoomDecrease, 0, actVIEWZoomVeryLarge, actVIEWZoomLarge,
                      actVIEWZoomMedium, actVIEWZoomNormal, actVIEWZoomSmall, 0, actVIEWZoomBoldText,
                      actVIEWZoomAutoResizes},
                     [this] { miVIEWZoomClick(); });
    actions_.AddMenu(miVIEW, L"&View",
                     {actVIEWThumbnail, actVIEWIcon, actVIEWSmallIcon, actVIEWList, actVIEWTile, actVIEWReport, 0,
                      actVIEWShowGridLines, 0, miVIEWZoom, actVIEWAutoResizes, 0, actVIEWSourceFolders},
                     [this] { miVIEWClick(); });
    actions_.AddMenu(miTOOLS, L"Tools", {});
    actions_.SetVisible(miTOOLS, false);
    actions_.AddMenu(miSETTINGS, L"Sett&ings",
                     {actINSTALLAddToContextMenu, actINSTALLRemoveFromContextMenu, 0, actSETTINGSManageItems, 0,
                      actSETTINGSManageIFilters, 0, actSETTINGSResetColumnsToDefault, 0, actSETTINGSOptions});
    actions_.AddMenu(miHELP, L"&Help", {actHELPTopics, 0, actHELPWebSite, 0, actHELPAbout});
    // The bar's access keys are chosen beside the window's own: Alt+S is the Search button's.
    actions_.SetMenuBar(hwnd(), {miFILE, miEDIT, miACTION, miVIEW, miTOOLS, miSETTINGS, miHELP});
}

// The Actions menu; the first item shares the Search button's binding (Search, or Pause during a run).
std::vector<int> TfrmMerrowinMain::ActionMenuEntries() const {
    return {searchPauseAction_, ids::actACTIONStop, ids::actACTIONReset, 0, ids::actACTIONFilterResults,
            ids::actACTIONFindInResults};
}

void TfrmMerrowinMain::BindSearchPauseTo(int action) {
    if (searchPauseAction_ != 0) actions_.UnbindControl(searchPauseAction_, bbtSearchPause.hwnd());
    searchPauseAction_ = action;
    actions_.BindControl(action, bbtSearchPause.hwnd());
    if (actions_.Contains(ids::miACTION)) actions_.SetMenuEntries(ids::miACTION, ActionMenuEntries());
}

void TfrmMerrowinMain::miFILEClick() {
    const bool rows = ResultTable.Count() > 0;
    actions_.SetEnabled(ids::actFILESaveResults, rows);
    actions_.SetEnabled(ids::actFILEExportResults, rows);
}

// The edit shortcuts are left as the list's focus set them: switched on here, Del in a criteria box would
// delete the selected result file instead of a character.
void TfrmMerrowinMain::miEDITClick() {
    const bool selected = !searching_ && ResultTable.Count() > 0 &&
                          SendMessageW(ResultListView->hwnd(), LVM_GETSELECTEDCOUNT, 0, 0) > 0;
    for (const int id : kSelectionActions) actions_.SetEnabled(id, selected);
    for (const int id : kNeverEnabledEditActions) actions_.SetEnabled(id, false);
}

void TfrmMerrowinMain::miVIEWClick() {
    actions_.SetChecked(ids::actVIEWShowGridLines, ResultListView->ShowGridLines());
    actions_.SetEnabled(ids::actVIEWAutoResizes, ResultListView->ZentaViewStyle() == results::zvsReport);
    actions_.SetEnabled(ids::actVIEWSourceFolders, SendMessageW(ResultListView->hwnd(), LVM_GETITEMCOUNT, 0, 0) > 0);
}

void TfrmMerrowinMain::miVIEWZoomClick() {
    const results::TTextZoom zoom = ResultListView->TextZoom();
    actions_.SetEnabled(ids::actVIEWZoomIncrease, zoom < results::tzVeryLarge);
    actions_.SetEnabled(ids::actVIEWZoomDecrease, zoom > results::tzSmall);
    for (const ZoomLevel& level : kZoomLevels) actions_.SetChecked(level.action, zoom == level.zoom);
    actions_.SetChecked(ids::actVIEWZoomBoldText, ResultListView->TextBold());
    actions_.SetChecked(ids::actVIEWZoomAutoResizes, ResultListView->ZoomAutoResizes());
}

void TfrmMerrowinMain::SetEditShortCuts(bool enabled) {
    const auto keys = [enabled](kit::Shortcut shortcut) {
        return enabled ? std::vector<kit::Shortcut>{shortcut} : std::vector<kit::Shortcut>{};
    };
    actions_.SetShortcuts(ids::actEDITCut, keys({FCONTROL, 'X'}));
    actions_.SetShortcuts(ids::actEDITCopy, keys({FCONTROL, 'C'}));
    actions_.SetShortcuts(ids::actEDITDelete, keys({0, VK_DELETE}));
}

void TfrmMerrowinMain::ResultListViewEnter() { SetEditShortCuts(true); }

void TfrmMerrowinMain::ResultListViewExit() { SetEditShortCuts(false); }

void TfrmMerrowinMain::OnChildNotify(const NMHDR& header) {
    if (header.idFrom != static_cast<UINT_PTR>(ids::kResultList)) return;
    if (header.code == static_cast<UINT>(NM_SETFOCUS)) ResultListViewEnter();
    if (header.code == static_cast<UINT>(NM_KILLFOCUS)) ResultListViewExit();
}

void TfrmMerrowinMain::ConnectControls() {
    bbtSearchPause.OnClick = [this] { actions_.Execute(searchPauseAction_); };
    bbtnStop.OnClick = [this] { actions_.Execute(ids::actACTIONStop); };
    bbtnReset.OnClick = [this] { actions_.Execute(ids::actACTIONReset); };
    tshSELECTFilesAndFolders.cbmitFILEFileMaskMode.OnSelChange = [this] { cbmitFILEFileMaskModeChange(); };
    tshSELECTContainingText.cbmitTEXTTextMaskMode.OnSelChange = [this] { cbmitTEXTTextMaskModeChange(); };
}

void TfrmMerrowinMain::OnCommand(int id, int code) {
    // During an export the window is disabled; a command that still comes (posted) is dropped.
    if (exporting_) return;
    if (code == 0 || code == 1) actions_.Execute(id);  // a menu item or an accelerator
}

void TfrmMerrowinMain::ShowViewStyle(int action, results::TZentaViewStyle style) {
    ResultListView->SetZentaViewStyle(style);
    // The control may refuse a style (tiles, on systems without them): the check follows what it shows.
    actions_.SetChecked(action, ResultListView->ZentaViewStyle() == style);
}

void TfrmMerrowinMain::actVIEWReportExecute() {
    ShowViewStyle(ids::actVIEWReport, results::zvsReport);
    ResultListView->ReapplyGridLines(actions_.Checked(ids::actVIEWShowGridLines));
    actions_.SetChecked(ids::actVIEWShowGridLines, ResultListView->ShowGridLines());
}

void TfrmMerrowinMain::actVIEWShowGridLinesExecute() {
    ResultListView->SetShowGridLines(!ResultListView->ShowGridLines());
    actions_.SetChecked(ids::actVIEWShowGridLines, ResultListView->ShowGridLines());
}

void TfrmMerrowinMain::OpenWebPage(const wchar_t* page) {
    kit::UserInteraction().ShellExecuteVerb(
        hwnd(), {.verb = L"open", .file = std::wstring(results::ProductWebAddress) + page, .showCommand = SW_SHOWNORMAL});
}

void TfrmMerrowinMain::actSETTINGSOptionsExecute() {
    app::GlobalWindowsVersion = app::GetWindowsVersion();
    TfrmKvrOptions dialog;
    dialog.ShowModal(hwnd());
}

// After the lists were edited, each recent-items box shows its list again. A text the box's list held and no
// longer holds was deleted there, and goes; any other text (one typed and never searched for) stays.
void TfrmMerrowinMain::actSETTINGSManageItemsExecute() {
    app::GlobalWindowsVersion = app::GetWindowsVersion();
    TfrmKvrManageItems dialog;
    if (dialog.ShowModal(hwnd()) != IDOK) return;
    const auto reload = [](TMRUItemsComboBox& box, const std::function<void()>& load) {
        const std::wstring text = box.Text();
        const auto listed = [&] { return box.IndexOfItem(text) >= box.FixedCount(); };
        const bool wasListed = listed();
        load();
        box.SetText(wasListed && !listed() ? L"" : text);
    };
    reload(tshSELECTFilesAndFolders.cbmitFILEFileMask, [this] { LoadFileMaskItems(); });
    tshSELECTFilesAndFolders.cbmfldFOLDERSSearchPath.Repopulate(
        &app::GlobalApplicationInit->MRUItems.SearchFolders.FolderValue);
    const int textMode = tshSELECTContainingText.cbmitTEXTTextMaskMode.SelectedIndex();
    if (textMode == engine::tmWordsText || textMode == engine::tmPhrasesText)
        reload(tshSELECTContainingText.cbmitTEXTSearchText, [this] { LoadSearchTextItems(); });
}

} // namespace ui
