// The main window's search run: the Search action, the walk over the start folders on this thread, the
// walker's events, Pause, Stop and Reset, the show-text timer and the enabling of the run's actions.
#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "engine/FilterFile.h"
#include "engine/SearchParams.h"
#include "engine/SearchStatistics.h"
#include "kit/Exception.h"
#include "kit/Interaction.h"
#include "kit/MessageLoop.h"
#include "kit/Strings.h"
#include "ui/ControlIds.h"
#include "ui/FMWMainFree.h"

namespace ui {
namespace {

engine::SearchParams::TSearchParams& Params() { return *app::GlobalSearchParams; }
engine::TSearchStatistics& Statistics() { return *app::GlobalSearchStatistics; }

void PrimeDate(engine::TFilterDateBase& filter, const engine::SearchParams::TSearchDateBase& criterion) {
    filter.Enabled = criterion.Enabled;
    filter.DateType = criterion.DateType();
    filter.RangeType = criterion.RangeType;
    filter.DateFrom = criterion.DateTimeFrom();
    filter.DateTo = criterion.DateTimeTo();
    // Measured from now, so "three days back" counts from the moment the run starts.
    filter.DateBound = criterion.GetDelayDateTime();
}

void Repaint(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
}

} // namespace

// The run pumps messages long before its walk (the start-folder check) and after it; a close or a quit
// that arrives at any of those points waits until the run is off the stack.
class TfrmMerrowinMain::RunScope {
public:
    explicit RunScope(TfrmMerrowinMain& window) : window_(window) { window_.searching_ = true; }
    ~RunScope() {
        window_.searching_ = false;
        // The posted close comes before the quit, which a queue gives out last.
        if (window_.closeRequested_ || kit::QuitRequested()) {
            window_.closeRequested_ = false;
            PostMessageW(window_.hwnd(), WM_CLOSE, 0, 0);
        }
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    TfrmMerrowinMain& window_;
};

void TfrmMerrowinMain::actACTIONSearchExecute() {
    // A second run inside the first (the menu between two start folders) would walk with a busy walker.
    if (searching_) return;
    RunScope run(*this);
    RunSearch();
}

void TfrmMerrowinMain::RunSearch() {
    TPageFilesAndFolders& files = tshSELECTFilesAndFolders;
    TPageDateAndSize& dates = tshSELECTDateAndSize;
    if (dates.chbDATESelect.Checked() && !dates.chbDATEModifiedSelect.Checked() &&
        !dates.chbDATECreationSelect.Checked() && !dates.chbDATELastAccessSelect.Checked())
        dates.chbDATESelect.SetChecked(false);

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
        SetFocus(files.cbmitFILEFileMask.hwnd());
        return;
    }
    if (!Params().Folders.CheckPaths()) {
        ShowSearchInfo();
        SetFocus(files.cbmfldFOLDERSSearchPath.hwnd());
        return;
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
    PrimeMatcher();

    ResultListView->AppendResults = Params().AppendResults;
    ResultListView->ShowFolderNames = Params().ShowFoldernames;
    ResultListView->ShowFileNames = Params().ShowFileNames;
    ResultListView->ItemsPerPage = static_cast<int>(SendMessageW(ResultListView->hwnd(), LVM_GETCOUNTPERPAGE, 0, 0)) + 1;
    ClearResults();
    SearchStatusBar->Clear();
    SourceFolders_.assign(1, std::wstring());  // the first comparison needs a last entry
    actVIEWDetailsExecute();

    BindSearchPauseTo(ids::actACTIONPause);
    kit::ProcessMessagesNow();
    EnableSelections(false);
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
}

void TfrmMerrowinMain::PrimeMatcher() {
    engine::TFilterFile& filter = *app::GlobalFilterFile;
    const engine::SearchParams::TSearchParams& params = Params();
    filter.ShowFileNames = params.ShowFileNames;
    filter.ShowFolderNames = params.ShowFoldernames;
    filter.Files.FileMask.MaskType = params.Files.FileMask.MaskType();
    filter.Files.FileMask.SetValue(params.Files.FileMask.Value());

    filter.Files.Date.Enabled = params.Files.Date.Enabled;
    PrimeDate(filter.Files.Date.DateModified, params.Files.Date.DateModified);
    PrimeDate(filter.Files.Date.DateCreation, params.Files.Date.DateCreation);
    PrimeDate(filter.Files.Date.DateLastAccess, params.Files.Date.DateLastAccess);

    filter.Files.Size.Enabled = params.Files.Size.Enabled;
    filter.Files.Size.RangeType = params.Files.Size.RangeType;
    filter.Files.Size.SizeMin = params.Files.Size.BytesFrom();
    filter.Files.Size.SizeMax = params.Files.Size.BytesTo();

    engine::TFilterText& text = filter.Text;
    text.TextMask.Value = params.Text.TextMask.Value();
    text.TextMask.MaskType = params.Text.TextMask.MaskType();
    text.MaskDefault = params.Text.MaskDefault();
    text.MatchText = params.Text.MatchText;
    text.WholeWords = params.Text.WholeWords;
    text.CaseSensitive = params.Text.CaseSensitive;
    text.Without = params.Text.Without;
    text.TextSource = params.Text.TextSource;
    text.SkipHiddenFiles = params.Text.SkipHiddenFiles;
    text.SkipSystemFiles = params.Text.SkipSystemFiles;
    text.SkipImageFiles = params.Text.SkipImageFiles;
    text.SkipAudioFiles = params.Text.SkipAudioFiles;
    text.SkipVideoFiles = params.Text.SkipVideoFiles;

    filter.Files.Attributes.Enabled = params.Files.Attributes.Enabled;
    filter.Files.Attributes.MatchAttributes = params.Files.Attributes.MatchAttributes;
    filter.Files.Attributes.SetValues(params.Files.Attributes.Values());
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
        if (!SourceFolders_.empty()) SourceFolders_.erase(SourceFolders_.begin());
    }
    KillTimer(hwnd(), kShowTextTimer);
    EnableSelections(true);
    BindSearchPauseTo(ids::actACTIONSearch);
    SelectionsDirty = 1;
    UpdateActionStates();
    kit::ProcessMessagesNow();
}

void TfrmMerrowinMain::ClearResults() {
    if (!Params().AppendResults) ResultTable.Clear();
    ResultListView->UpdateItemCount();
}

void TfrmMerrowinMain::EnableSelections(bool enabled) {
    // The Actions menu and the Attributes page stay usable during a run.
    for (kit::Panel* page : {static_cast<kit::Panel*>(&tshSELECTFilesAndFolders),
                             static_cast<kit::Panel*>(&tshSELECTContainingText),
                             static_cast<kit::Panel*>(&tshSELECTDateAndSize)})
        EnableWindow(page->hwnd(), enabled);
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

void TfrmMerrowinMain::UpdateActionStates() {
    const bool running = MerrowinFile.Running();
    actions_.SetEnabled(ids::actACTIONSearch, !running);
    actions_.SetCaption(ids::actACTIONPause, MerrowinFile.Suspended() ? L"&Continue" : L"&Pause");
    actions_.SetEnabled(ids::actACTIONStop, running);
    actions_.SetEnabled(ids::actACTIONReset, !running && SelectionsDirty == 1);
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
    Params().Reset();
    ParamsToControls();
    LoadFileMaskItems();
    LoadSearchTextItems();
    ResultTable.Clear();
    ResultListView->UpdateItemCount();
    SearchStatusBar->Clear();
    SelectionsDirty = 0;
    UpdateActionStates();
    SetWindowTextW(hwnd(), kCaption);
    kit::ProcessMessagesNow();
}

void TfrmMerrowinMain::ConnectWalkerEvents() {
    MerrowinFile.ThreadPriority = engine::tpLower;
    MerrowinFile.StartFolder = L"C:\\";
    MerrowinFile.OnStarted = [this](engine::TMerrowinFile&) { MerrowinFileStarted(); };
    MerrowinFile.OnSuspended = [this](engine::TMerrowinFile&) { MerrowinFileSuspended(); };
    MerrowinFile.OnScanFolder = [this](engine::TMerrowinFile&, const std::wstring& folder) {
        MerrowinFileScanFolder(folder);
    };
    MerrowinFile.OnFileFound = [this](engine::TMerrowinFile&, const std::wstring& name, const std::wstring&,
                                      const std::wstring& folder, engine::TScanAttributes attributes, double created,
                                      double accessed, double written, long double size) {
        MerrowinFileFileFound(name, folder, attributes, created, accessed, written, size);
    };
    MerrowinFile.OnFolderFound = [this](engine::TMerrowinFile&, const std::wstring& name, const std::wstring&,
                                        const std::wstring& folder, engine::TScanAttributes attributes,
                                        double created, double accessed, double written, long double size) {
        MerrowinFileFolderFound(name, folder, attributes, created, accessed, written, size);
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

void TfrmMerrowinMain::MerrowinFileFileFound(const std::wstring& fileName, const std::wstring& folder,
                                             engine::TScanAttributes attributes, double creationTime,
                                             double lastAccessTime, double lastWriteTime, long double fileSize) {
    StopForQuit();
    engine::TFilterFile& filter = *app::GlobalFilterFile;
    if (!filter.ShowFileNames) return;
    if (!filter.Files.FileMask.Matches(fileName)) return;
    if (filter.Files.Date.Enabled && !filter.Files.Date.Matches(lastWriteTime, creationTime, lastAccessTime)) return;
    if (!filter.Files.Size.Matches(fileSize)) return;
    if (!filter.Files.Attributes.Matches(attributes)) return;
    if (!filter.Text.Matches(folder, fileName, attributes)) return;

    AddSourceFolder(folder);
    Statistics().IncFilesFound();
    Statistics().IncObjectsFound();
    Statistics().AddSize(fileSize);
    AddResultRow(fileName, folder, attributes, creationTime, lastAccessTime, lastWriteTime, fileSize);
    if (RefreshTotals != 1) return;
    RefreshTotals = 0;
    SearchStatusBar->SetTextTotalObiects(Statistics().GetObjectsFoundText());
    SearchStatusBar->SetTextTotalSize(Statistics().GetTotalSizeText());
}

void TfrmMerrowinMain::MerrowinFileFolderFound(const std::wstring& fileName, const std::wstring& folder,
                                               engine::TScanAttributes attributes, double creationTime,
                                               double lastAccessTime, double lastWriteTime, long double fileSize) {
    StopForQuit();
    engine::TFilterFile& filter = *app::GlobalFilterFile;
    if (!filter.ShowFolderNames) return;
    if (!filter.Files.FileMask.Matches(fileName)) return;
    if (filter.Files.Date.Enabled && !filter.Files.Date.Matches(lastWriteTime, creationTime, lastAccessTime)) return;
    // A size or contained-text criterion lists files only.
    if (filter.Files.Size.Enabled) return;
    if (!filter.Files.Attributes.Matches(attributes)) return;
    if (filter.Text.TextMask.Value != filter.Text.MaskDefault) return;

    AddSourceFolder(folder);
    Statistics().IncFoldersFound();
    Statistics().IncObjectsFound();
    AddResultRow(fileName, folder, attributes, creationTime, lastAccessTime, lastWriteTime, fileSize);
    if (RefreshTotals != 1) return;
    RefreshTotals = 0;
    SearchStatusBar->SetTextTotalObiects(Statistics().GetObjectsFoundText());
}

void TfrmMerrowinMain::AddSourceFolder(const std::wstring& folder) {
    if (SourceFolders_.empty() || SourceFolders_.back() != folder) SourceFolders_.push_back(folder);
}

void TfrmMerrowinMain::AddResultRow(const std::wstring& fileName, const std::wstring& folder,
                                    engine::TScanAttributes attributes, double creationTime, double lastAccessTime,
                                    double lastWriteTime, long double fileSize) {
    ResultTable.AddRow(ResultTable.Count() + 1, -1, attributes, lastWriteTime, lastAccessTime, creationTime, fileSize,
                       L"", folder, -1, fileName, -1);
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
