// The main window's search run: the Search action, the walk over the start folders on this thread, the
// walker's events, Pause, Stop and Reset, the show-text timer and the enabling of the run's actions.
#include "app/ApplicationSetup.h"
#include "app/OsVersion.h"
#include "app/UKvrVARGeneral.h"
#include "engine/FilterFile.h"
#include "engine/SearchParams.h"
#include "engine/SearchStatistics.h"
#include "kit/Exception.h"
#include "kit/Interaction.h"
#include "kit/MessageLoop.h"
#include "kit/Strings.h"
#include "results/ShellKinds.h"
#include "results/listview/ResultFindItem.h"
#include "ui/CheckBoxClick.h"
#include "ui/ControlIds.h"
#include "ui/FKvrFindInResults.h"
#include "ui/FMWMainFree.h"

namespace ui {
namespace {

engine::SearchParams::TSearchParams& Params() { return *app::GlobalSearchParams; }
engine::TSearchStatistics& Statistics() { return *app::GlobalSearchStatistics; }
engine::TFilterFile& Matcher() { return *app::GlobalFilterFile; }

void Repaint(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
}

} // namespace

void TfrmMerrowinMain::actACTIONSearchExecute() {
    // A second run inside the first (the menu between two start folders) would walk with a busy walker; one
    // inside an export would clear the table under the writer.
    if (searching_ || exporting_) return;
    // The run pumps messages long before its walk (the start-folder check) and after it; a close or a quit
    // that arrives at any of those points waits until the run is off the stack, and what would change the
    // criteria or the rows under it is off until its end-of-run work is done.
    HWND refusedAt = nullptr;
    {
        const BusyScope run(*this, searching_, &TfrmMerrowinMain::ShowRunState);
        refusedAt = RunSearch();
    }
    // Once the pages are on again: a box on a disabled page takes no focus.
    if (refusedAt) SetFocus(refusedAt);
}

void TfrmMerrowinMain::ShowRunState() {
    EnableSelections(!searching_);
    ResultListView->RefuseSorts(searching_);
    if (frmKvrFindInResults) {
        if (searching_) frmKvrFindInResults->DisableControls();
        else frmKvrFindInResults->EnableControls();
    }
    UpdateActionStates();
}

HWND TfrmMerrowinMain::RunSearch() {
    TPageFilesAndFolders& files = tshSELECTFilesAndFolders;
    TPageDateAndSize& dates = tshSELECTDateAndSize;
    if (dates.chbDATESelect.Checked() && !dates.chbDATEModifiedSelect.Checked() &&
        !dates.chbDATECreationSelect.Checked() && !dates.chbDATELastAccessSelect.Checked())
        SetCheckedAndClick(dates.chbDATESelect, false);  // its rows are disabled with it

    app::TApplicationInit& settings = *app::GlobalApplicationInit;
    files.cbmitFILEFileMask.Add(files.cbmitFILEFileMask.Text());
    SaveFileMaskItems();
    files.cbmfldFOLDERSSearchPath.Add(files.cbmfldFOLDERSSearchPath.EditText());
    files.cbmfldFOLDERSSearchPath.SaveTo(&settings.MRUItems.SearchFolders.FolderValue);
    TMRUItemsComboBox& searchText = tshSELECTContainingText.cbmitTEXTSearchText;
    searchText.Add(searchText.Text());
    SaveSearchTextItems();

    ControlsToParams();
    SetRunCaptions();

    if (!Params().Files.FileMask.IsValid()) {
        ShowSearchInfo();
        return files.cbmitFILEFileMask.hwnd();
    }
    if (!Params().Folders.CheckPaths()) {
        ShowSearchInfo();
        return files.cbmfldFOLDERSSearchPath.hwnd();
    }
    // A content or size search lists files only; include and exclude folders are found below the start.
    if (Params().Text.TextMask.Value() != Params().Text.MaskDefault() || Params().Files.Size.Enabled) {
        Params().ShowFileNames = true;
        files.chbVISUALIZEShowFileNames.SetChecked(true);
    }
    if (!Params().Folders.PathsIncludeList().empty() || !Params().Folders.PathsExcludeList().empty()) {
        Params().Folders.SearchInSubfolders = true;
        files.chbFOLDERSSearchInSubfolders.SetChecked(true);
    }
    MerrowinFile.SearchInSubfolders = Params().Folders.SearchInSubfolders;
    MerrowinFile.IncludeHiddenSubfolders = Params().Folders.IncludeHiddenSubfolders;
    Matcher().Prime(Params());

    ResultListView->AppendResults = Params().AppendResults;
    ResultListView->ShowFolderNames = Params().ShowFoldernames;
    ResultListView->ShowFileNames = Params().ShowFileNames;
    ResultListView->ItemsPerPage = static_cast<int>(SendMessageW(ResultListView->hwnd(), LVM_GETCOUNTPERPAGE, 0, 0)) + 1;
    ClearResults();
    SearchStatusBar->Clear();
    SourceFolders_.clear();
    actVIEWReportExecute();
    ResultListView->FindItem().MarkStale();

    BindSearchPauseTo(ids::actACTIONPause);
    kit::ProcessMessagesNow();
    SetTimer(hwnd(), kShowTextTimer, kShowTextInterval, nullptr);

    bool walked = false;
    try {
        WalkStartFolders(walked);
    } catch (...) {
        FinishRun(walked);
        throw;
    }
    FinishRun(walked);
    return nullptr;
}

void TfrmMerrowinMain::WalkStartFolders(bool& walked) {
    bool firstPath = true;
    SearchStopRequested = 0;
    const engine::SearchParams::TSearchFolders& folders = Params().Folders;
    if (!folders.PathsStartList().empty()) {
        MerrowinFile.SetIncludeFolders(folders.PathsIncludeNormalList());
        MerrowinFile.SetIncludeWildcards(folders.PathsIncludeWildcardsList());
        MerrowinFile.SetExcludeFolders(folders.PathsExcludeNormalList());
        MerrowinFile.SetExcludeWildcards(folders.PathsExcludeWildcardsList());
    }
    // A copy: the list must not change under the loop while the walk pumps messages.
    const std::vector<engine::SearchParams::TSearchFoldersLine> lines = folders.PathsStartList();
    for (const auto& line : lines) {
        if (SearchStopRequested == 1 || closeRequested_ || kit::QuitRequested()) break;
        if (line.Info.Kind != engine::SearchParams::TSearchFoldersInfo::KindWalk) continue;
        if (firstPath) {
            Statistics().Reset();
            SearchStatusBar->SetTextTotalObiects(Statistics().GetObjectsFoundText());
            SearchStatusBar->SetTextTotalSize(Statistics().GetTotalSizeText());
            Repaint(SearchStatusBar->hwnd());
            firstPath = false;
            walked = true;
        }
        try {
            MerrowinFile.StartFolder = kit::IncludeTrailingPathDelimiter(line.Folder);
            MerrowinFile.SetPathMask(line.Info.Path);
            MerrowinFile.SetPathLevelMasks(line.Info.Wildcards);
            MerrowinFile.Execute();
        } catch (const std::exception& e) {
            // One report, then the whole run ends quietly; what was found so far stays.
            kit::UserInteraction().ShowMessage(hwnd(), L"Error: " + kit::ExceptionMessage(e),
                                               kit::MessageType::Error, kit::MessageButtons::Ok);
            return;
        }
    }
}

void TfrmMerrowinMain::FinishRun(bool walked) {
    if (walked) {
        Statistics().EndSearch();
        ShowSearchTotals();
        ResultListView->UpdateItemCount();
    }
    KillTimer(hwnd(), kShowTextTimer);
    BindSearchPauseTo(ids::actACTIONSearch);
    SelectionsDirty = 1;
    kit::ProcessMessagesNow();
}

void TfrmMerrowinMain::ClearResults() {
    results::ShellKinds().Forget();  // each search asks the shell anew for the kinds it meets
    if (!Params().AppendResults) ResultTable.Clear();
    ResultListView->UpdateItemCount();
    ResultListView->ShowFoundOrder();  // the new rows come in the order found, after any kept
}

void TfrmMerrowinMain::EnableSelections(bool enabled) {
    // The Actions and Help menus and the Attributes page stay usable during a run.
    for (const int menu : {ids::miFILE, ids::miEDIT, ids::miVIEW, ids::miTOOLS, ids::miSETTINGS})
        actions_.SetEnabled(menu, enabled);
    const HWND pages[] = {tshSELECTFilesAndFolders.hwnd(), tshSELECTContainingText.hwnd(),
                          tshSELECTDateAndSize.hwnd()};
    for (const HWND page : pages) EnableWindow(page, enabled);
    // A disabled page takes no input, but its controls would still look live: they are greyed themselves, and
    // afterwards each has what the pages' rules gave it last (the run may change a criterion, a page shown runs
    // its rules).
    if (enabled) {
        criteriaHeld_.reset();
        return;
    }
    std::vector<HWND> controls;
    for (const HWND page : pages)
        for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            controls.push_back(child);
    criteriaHeld_.emplace(controls);
}

void TfrmMerrowinMain::ShowSearchTotals() {
    SearchStatusBar->SetTextSearchInfo(Statistics().GetSummaryText());
    SearchStatusBar->SetTextTotalObiects(Statistics().GetObjectsFoundText());
    SearchStatusBar->SetTextTotalSize(Statistics().GetTotalSizeText());
    Repaint(SearchStatusBar->hwnd());
}

void TfrmMerrowinMain::ShowSearchInfo() { SearchStatusBar->SetTextSearchInfo(Statistics().GetSummaryText()); }

void TfrmMerrowinMain::SetRunCaptions() {
    const std::wstring mask = tshSELECTFilesAndFolders.cbmitFILEFileMask.Text();
    const std::wstring path = tshSELECTFilesAndFolders.cbmfldFOLDERSSearchPath.EditText();
    const std::wstring text = tshSELECTContainingText.cbmitTEXTSearchText.Text();
    std::wstring caption = kCaption;
    if (!mask.empty()) caption += L" - File Name: " + kit::QuotedString(mask);
    caption += L" - Search Path: " + kit::QuotedString(path);
    if (!text.empty()) caption += L" - Search Text: " + kit::QuotedString(text);
    SetWindowTextW(hwnd(), caption.c_str());
}

// Search, Reset and Find in Results follow the run, from Search pressed to its end (not only the walks, between
// which the walker rests); Stop follows the walker.
void TfrmMerrowinMain::UpdateActionStates() {
    actions_.SetEnabled(ids::actACTIONSearch, !searching_);
    actions_.SetCaption(ids::actACTIONPause, MerrowinFile.Suspended() ? L"&Continue" : L"&Pause");
    actions_.SetEnabled(ids::actACTIONStop, MerrowinFile.Running());
    actions_.SetEnabled(ids::actACTIONReset, !searching_ && SelectionsDirty == 1);
    actions_.SetEnabled(ids::actACTIONFindInResults, !searching_);
}

void TfrmMerrowinMain::actACTIONPauseExecute() {
    MerrowinFile.SetSuspended(!MerrowinFile.Suspended());
    actions_.SetCaption(ids::actACTIONPause, MerrowinFile.Suspended() ? L"&Continue" : L"&Pause");
    SearchStatusBar->SetTextTotalObiects(Statistics().GetObjectsFoundText());
    SearchStatusBar->SetTextTotalSize(Statistics().GetTotalSizeText());
    kit::ProcessMessagesNow();
}

void TfrmMerrowinMain::actACTIONStopExecute() {
    MerrowinFile.Stop();
    SearchStopRequested = 1;
}

void TfrmMerrowinMain::actACTIONResetExecute() {
    if (searching_ || exporting_) return;  // the criteria are the run's, the table the writer's, until they end
    Params().Reset();
    ParamsToControls();
    LoadFileMaskItems();
    LoadSearchTextItems();
    ResultTable.Clear();
    ResultListView->UpdateItemCount();
    SearchStatusBar->Clear();
    RefreshSelectionStates();
    SelectionsDirty = 0;
    UpdateActionStates();
    SetWindowTextW(hwnd(), kCaption);
    kit::ProcessMessagesNow();
}

void TfrmMerrowinMain::actACTIONFindInResultsExecute() {
    app::GlobalWindowsVersion = app::GetWindowsVersion();  // the window's size limits follow it
    const bool show = !actions_.Checked(ids::actACTIONFindInResults);
    if (show && !frmKvrFindInResults) {
        auto window = std::make_unique<TfrmKvrFindInResults>(*ResultListView);
        window->CreateFor(hwnd());  // a window that cannot be made leaves the action unchecked
        window->OnClosed = [this] { actions_.SetChecked(ids::actACTIONFindInResults, false); };
        frmKvrFindInResults = std::move(window);
    }
    actions_.SetChecked(ids::actACTIONFindInResults, show);
    if (!frmKvrFindInResults) return;
    if (show) frmKvrFindInResults->Open();
    else frmKvrFindInResults->Close();
}

void TfrmMerrowinMain::ConnectWalkerEvents() {
    MerrowinFile.StartFolder = L"C:\\";
    MerrowinFile.OnStarted = [this](engine::TMerrowinFile&) { MerrowinFileStarted(); };
    MerrowinFile.OnSuspended = [this](engine::TMerrowinFile&) { MerrowinFileSuspended(); };
    MerrowinFile.OnScanFolder = [this](engine::TMerrowinFile&, const std::wstring& folder) {
        MerrowinFileScanFolder(folder);
    };
    MerrowinFile.OnFileFound = [this](engine::TMerrowinFile&, const engine::TFoundEntry& file) {
        MerrowinFileFileFound(file);
    };
    MerrowinFile.OnFolderFound = [this](engine::TMerrowinFile&, const engine::TFoundEntry& folder) {
        MerrowinFileFolderFound(folder);
    };
    MerrowinFile.OnScanDone = [this](engine::TMerrowinFile&) { MerrowinFileScanDone(); };
}

void TfrmMerrowinMain::MerrowinFileStarted() {
    UpdateActionStates();
    Repaint(SearchStatusBar->hwnd());
}

void TfrmMerrowinMain::MerrowinFileSuspended() {
    actions_.SetCaption(ids::actACTIONPause, MerrowinFile.Suspended() ? L"&Continue" : L"&Pause");
    Repaint(SearchStatusBar->hwnd());
}

// A quit seen while the walk pumped ends the walk: the outer loop cannot end while the run is on the stack.
void TfrmMerrowinMain::StopForQuit() {
    if (kit::QuitRequested() && SearchStopRequested == 0) actACTIONStopExecute();
}

void TfrmMerrowinMain::MerrowinFileScanFolder(const std::wstring& folder) {
    StopForQuit();
    if (RefreshScanFolder != 1) return;
    RefreshScanFolder = 0;
    SearchStatusBar->SetTextSearchPath(folder);
}

void TfrmMerrowinMain::MerrowinFileFileFound(const engine::TFoundEntry& file) {
    StopForQuit();
    if (!Matcher().FileMatches(file)) return;
    Statistics().IncFilesFound();
    Statistics().AddSize(file.FileSize);
    if (ListFound(file)) SearchStatusBar->SetTextTotalSize(Statistics().GetTotalSizeText());
}

void TfrmMerrowinMain::MerrowinFileFolderFound(const engine::TFoundEntry& folder) {
    StopForQuit();
    if (!Matcher().FolderMatches(folder)) return;
    Statistics().IncFoldersFound();
    ListFound(folder);
}

bool TfrmMerrowinMain::ListFound(const engine::TFoundEntry& entry) {
    // A folder is listed again only when another came between: entries of one folder arrive in one stretch.
    if (SourceFolders_.empty() || SourceFolders_.back() != entry.Folder) SourceFolders_.push_back(entry.Folder);
    Statistics().IncObjectsFound();
    ResultTable.AddRow(ResultTable.Count() + 1, -1, entry.FileAttributes, entry.LastWriteTime, entry.LastAccessTime,
                       entry.CreationTime, entry.FileSize, L"", entry.Folder, -1, entry.FileName, -1);
    if (RefreshTotals != 1) return false;
    RefreshTotals = 0;
    SearchStatusBar->SetTextTotalObiects(Statistics().GetObjectsFoundText());
    return true;
}

void TfrmMerrowinMain::MerrowinFileScanDone() {
    Statistics().AddScannedFiles(MerrowinFile.ScannedFiles());
    Statistics().AddScannedFolders(MerrowinFile.ScannedFolders());
    Statistics().AddControlledObjects(MerrowinFile.ScannedObjects());
}

void TfrmMerrowinMain::timShowTextTimerTimer() {
    RefreshScanFolder = 1;
    RefreshTotals = 1;
    RefreshFilterText = 1;
    // The list grows here rather than at each find: once a tick, and also while paused or while no entry
    // qualifies.
    ResultListView->GrowItemCount();
}

void TfrmMerrowinMain::SearchParamsCheckFolder(const std::wstring& messageInfo) {
    SearchStatusBar->SetTextSearchPath(messageInfo);
    kit::ProcessMessages();
}

void TfrmMerrowinMain::FilterFileFilterText(const std::wstring& messageInfo) {
    if (RefreshFilterText != 1) return;
    RefreshFilterText = 0;
    SearchStatusBar->SetTextSearchPath(messageInfo);
    kit::ProcessMessages();
}

} // namespace ui
