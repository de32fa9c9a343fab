// The main window's action table, its menu and the routing of commands to the actions.
#include "app/ApplicationSetup.h"
#include "app/OsVersion.h"
#include "app/UKvrVARGeneral.h"
#include "ui/ControlIds.h"
#include "ui/FKvrManageItems.h"
#include "ui/FKvrOptions.h"
#include "ui/FKvrViewSourceFolders.h"
#include "ui/FMWAbout.h"
#include "ui/FMWMainFree.h"

namespace ui {
namespace {

constexpr int kFileMenu[] = {ids::actFILEExit};
constexpr int kViewMenu[] = {ids::actVIEWReport};

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
}

void TfrmMerrowinMain::CreateMenu() {
    HMENU bar = ::CreateMenu();
    HMENU file = CreatePopupMenu();
    HMENU view = CreatePopupMenu();
    miACTION = CreatePopupMenu();
    actions_.FillMenu(file, kFileMenu);
    actions_.FillMenu(view, kViewMenu);
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(miACTION), L"&Actions");
    FillActionMenu();
    SetMenu(hwnd(), bar);  // the window destroys its menu
}

// The Actions menu; the first item shares the Search button's binding (Search, or Pause during a run).
void TfrmMerrowinMain::FillActionMenu() {
    const int items[] = {searchPauseAction_, ids::actACTIONStop, 0, ids::actACTIONReset};
    actions_.FillMenu(miACTION, items);
}

void TfrmMerrowinMain::BindSearchPauseTo(int action) {
    if (searchPauseAction_ != 0) actions_.UnbindControl(searchPauseAction_, bbtSearchPause.hwnd());
    searchPauseAction_ = action;
    actions_.BindControl(action, bbtSearchPause.hwnd());
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

void TfrmMerrowinMain::actVIEWReportExecute() {
    ResultListView->SetZentaViewStyle(results::zvsReport);
    actions_.SetChecked(ids::actVIEWReport, true);
}

void TfrmMerrowinMain::actSETTINGSOptionsExecute() {
    app::GlobalWindowsVersion = app::GetWindowsVersion();
    TfrmKvrOptions dialog;
    dialog.ShowModal(hwnd());
}

// After the lists were edited, each recent-items box shows its list again, and keeps the text it showed only
// while that text is still one of the list's.
void TfrmMerrowinMain::actSETTINGSManageItemsExecute() {
    app::GlobalWindowsVersion = app::GetWindowsVersion();
    TfrmKvrManageItems dialog;
    if (dialog.ShowModal(hwnd()) != IDOK) return;
    TMRUItemsComboBox& fileMask = tshSELECTFilesAndFolders.cbmitFILEFileMask;
    TMRUFolderComboBox& searchPath = tshSELECTFilesAndFolders.cbmfldFOLDERSSearchPath;
    TMRUItemsComboBox& searchText = tshSELECTContainingText.cbmitTEXTSearchText;
    const std::wstring fileMaskText = fileMask.Text();
    const std::wstring searchPathText = searchPath.EditText();
    const std::wstring searchTextText = searchText.Text();

    LoadFileMaskItems();
    fileMask.SetText(fileMask.IndexOfItem(fileMaskText) > 0 ? fileMaskText : L"");
    searchPath.Populate(&app::GlobalApplicationInit->MRUItems.SearchFolders.FolderValue, searchPathText);
    const int textMode = tshSELECTContainingText.cbmitTEXTTextMaskMode.SelectedIndex();
    if (textMode == engine::tmWordsText || textMode == engine::tmPhrasesText) {
        LoadSearchTextItems();
        searchText.SetText(searchText.IndexOfItem(searchTextText) > 0 ? searchTextText : L"");
    }
}

} // namespace ui
