#pragma once
// The main window: the four criteria pages, the Search, Stop and Reset buttons, the result list and the
// status bar, over one action table. Its work is split by concern: creation, settings and window messages
// (FMWMainFree.cpp), the copies between the controls and the criteria model (MainCriteria.cpp), the search
// run and the walker's events (MainSearch.cpp), the export (MainExport.cpp), the action table with its menu
// (MainActions.cpp), and drag and drop (MainDragDrop.cpp).
//
// Member names keep their component prefixes: `tsh` a criteria page, `pgc` the page strip, `lbl` a label,
// `cb` a combo box, `cbmit` a recent-items combo box, `cbmfld` the folder combo box, `chb` a check box,
// `rb` a radio button, `ed` an edit, `ud` an up-down, `dtp` a date-time picker, `bbt`/`bbtn` a button,
// `mi` a menu item, `tim` a timer. `actAREAName` is an action of the menu area AREA (FILE, EDIT, ACTION,
// VIEW, ...), run by `actAREANameExecute`; a handler named after a component and an event
// (`MerrowinFileFileFound`, `timShowTextTimerTimer`) is that component's event.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dragdrop/DragDropFile.h"
#include "dragdrop/DropTarget.h"
#include "engine/MerrowinFile.h"
#include "kit/Actions.h"
#include "kit/Controls.h"
#include "kit/DisabledControls.h"
#include "kit/Window.h"
#include "results/ResultTable.h"
#include "results/SearchStatusBar.h"
#include "results/listview/ResultListView.h"
#include "ui/PageAttributes.h"
#include "ui/PageContainingText.h"
#include "ui/PageDateAndSize.h"
#include "ui/PageFilesAndFolders.h"

namespace ui {

class TfrmKvrFindInResults;

// The status bar's view of the walker.
class TWalkerState : public results::TSearchState {
public:
    explicit TWalkerState(const engine::TMerrowinFile& walker) : walker_(walker) {}
    bool Running() const override { return walker_.Running(); }
    bool Suspended() const override { return walker_.Suspended(); }

private:
    const engine::TMerrowinFile& walker_;
};

class TfrmMerrowinMain : public kit::Window {
public:
    static constexpr const wchar_t* kClassName = L"TfrmMerrowinMain";
    static constexpr const wchar_t* kCaption = L"Kolvaran";
    static constexpr UINT_PTR kShowTextTimer = 1;
    static constexpr UINT kShowTextInterval = 50;  // ms between two refreshes of the status texts

    TfrmMerrowinMain();
    ~TfrmMerrowinMain() override;

    // Creates the window from the settings and shows it. `parameters` are the command-line parameters
    // without the program path; the first one may name the search path. Throws kit::Exception when the
    // window cannot be created.
    void Create(HINSTANCE instance, int showCommand, const std::vector<std::wstring>& parameters = {});

    // The criteria model into the controls, and back.
    void ParamsToControls();
    void ControlsToParams();

    // The run's actions, as the buttons and the menu run them.
    void actACTIONSearchExecute();
    void actACTIONPauseExecute();
    void actACTIONStopExecute();
    void actACTIONResetExecute();
    void actACTIONFindInResultsExecute();
    void UpdateActionStates();
    void actFILEExportResultsExecute();

    // True while the Search action runs, from its first step to its last.
    bool Searching() const { return searching_; }
    const std::vector<std::wstring>& SourceFolders() const { return SourceFolders_; }
    results::TResultTable& Results() { return ResultTable; }
    kit::ActionList& Actions() { return actions_; }
    // The find-in-results window once the action made it, else null.
    TfrmKvrFindInResults* FindInResults() const { return frmKvrFindInResults.get(); }

    TPageFilesAndFolders tshSELECTFilesAndFolders;
    TPageContainingText tshSELECTContainingText;
    TPageDateAndSize tshSELECTDateAndSize;
    TPageAttributes tshSELECTAttributes;

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnOutermostMessageDone() override;

private:
    // Creation and settings (FMWMainFree.cpp).
    void CreateControls();
    void WidenForStatusTexts();
    void FormCreate(const std::vector<std::wstring>& parameters);
    void FormShow();
    void ApplyCommandLine(const std::vector<std::wstring>& parameters);
    void SaveSettings();
    void LayoutControls(int width, int height);
    void OnCloseRequest();
    // Posts the close (or the quit) that came while a run or an export was on the stack.
    void PostDeferredClose();
    void OnEndSession();
    bool OnSysCommand(WPARAM command);

    // The recent lists of the current modes (MainCriteria.cpp).
    void LoadFileMaskItems();
    void SaveFileMaskItems();
    void LoadSearchTextItems();
    void SaveSearchTextItems();

    // The criteria pages' events and rules, and the change tracking that arms Reset (MainCriteria.cpp).
    void ConnectCriteria();
    void SelectionsChanged();
    void RefreshSelectionStates();
    void cbmitFILEFileMaskModeChange();
    void cbmitTEXTTextMaskModeChange();
    void cbmitTEXTSearchTextChange(const std::wstring& text);
    void AdjustDateTimePickers();
    void actFILEBrowseExecute();
    void ApplySearchPath(std::wstring& startFolder);
    // A run, an export or a drag on the stack: its flag is up, a close meanwhile waits, and comes when the scope ends
    // (the window, the walker and the table must outlive every frame of it). `shown` (if any) shows the flag's
    // state in the window each time it changes.
    class BusyScope {
    public:
        BusyScope(TfrmMerrowinMain& window, bool& flag, void (TfrmMerrowinMain::*shown)() = nullptr)
            : window_(window), flag_(flag), shown_(shown) {
            flag_ = true;
            if (shown_) (window_.*shown_)();
        }
        ~BusyScope() {
            flag_ = false;
            if (shown_) (window_.*shown_)();
            window_.PostDeferredClose();
        }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        TfrmMerrowinMain& window_;
        bool& flag_;
        void (TfrmMerrowinMain::*shown_)();
    };

    // The run (MainSearch.cpp). RunSearch answers the box to focus when the criteria refused the run.
    HWND RunSearch();
    // From Search pressed until the run's end-of-run work is done (`searching_`): the criteria pages and their
    // controls, the File, Edit, View, Tools and Settings menus, Search, Reset, Find in Results, the find window's
    // controls and the list's column sorts are off.
    void ShowRunState();
    void WalkStartFolders(bool& walked);
    void FinishRun(bool walked);
    void ClearResults();
    void EnableSelections(bool enabled);
    void ShowSearchTotals();
    void ShowSearchInfo();
    void SetRunCaptions();
    void BindSearchPauseTo(int action);
    void ConnectWalkerEvents();
    void MerrowinFileStarted();
    void MerrowinFileSuspended();
    void MerrowinFileScanFolder(const std::wstring& folder);
    void MerrowinFileFileFound(const engine::TFoundEntry& file);
    void MerrowinFileFolderFound(const engine::TFoundEntry& folder);
    void MerrowinFileScanDone();
    // Adds an entry the matcher accepted to the source folders, the count and the results; true when the
    // show-text timer asked for fresh totals (the objects text is then set).
    bool ListFound(const engine::TFoundEntry& entry);
    void StopForQuit();
    void timShowTextTimerTimer();
    void SearchParamsCheckFolder(const std::wstring& messageInfo);
    void FilterFileFilterText(const std::wstring& messageInfo);

    // The export (MainExport.cpp).
    std::wstring ExportFolder();
    bool WriteExport(const results::TExportDef& entry, const std::wstring& fileName);
    void OpenExport(const results::TExportDef& entry, const std::wstring& fileName);
    void ConnectExportEvents();

    // The action table and the menus (MainActions.cpp).
    void CreateActions();
    void CreateMenu();
    std::vector<int> ActionMenuEntries() const;
    void ConnectControls();
    void OnCommand(int id, int code);
    // The menus' opening handlers: they enable and check the actions.
    void miFILEClick();
    void miEDITClick();
    void miVIEWClick();
    void miVIEWZoomClick();
    // Ctrl+X, Ctrl+C and Del for Cut, Copy and Delete, or no shortcuts, so the keys reach the criteria boxes.
    void SetEditShortCuts(bool enabled);
    void ResultListViewEnter();
    void ResultListViewExit();
    void OnChildNotify(const NMHDR& header);
    void ShowViewStyle(int action, results::TZentaViewStyle style);
    void actVIEWReportExecute();
    void actVIEWShowGridLinesExecute();
    void OpenWebPage(const wchar_t* page);
    void actSETTINGSOptionsExecute();
    void actSETTINGSManageItemsExecute();

    // Drag and drop (MainDragDrop.cpp).
    void CreateDragDrop();
    bool StartFileDrag(const std::vector<std::wstring>& paths);
    void MakeDragImage();
    void DropFileSourceGetDragImage(IDragSourceHelper* dragSourceHelper, bool& handled);
    bool DropFileTargetDrop();  // whether the box took the dropped folders

    engine::TMerrowinFile MerrowinFile;
    TWalkerState walkerState_{MerrowinFile};
    results::TResultTable ResultTable;
    std::unique_ptr<results::TResultListView> ResultListView;
    std::unique_ptr<results::TSearchStatusBar> SearchStatusBar;
    std::unique_ptr<TfrmKvrFindInResults> frmKvrFindInResults;  // goes before the list it shows
    kit::TabControl pgcSELECTIONS;
    kit::Button bbtSearchPause;
    kit::Button bbtnStop;
    kit::Button bbtnReset;
    kit::ActionList actions_;
    std::optional<kit::DisabledControls> criteriaHeld_;  // the criteria controls, greyed during a run

    std::uint8_t LayoutDone = 0;
    int minWidthGrowth_ = 0;  // what the first show added to the settings' minimum width, taken back at the end
    // The folders that held listed entries in the last run, in the order met.
    std::vector<std::wstring> SourceFolders_;
    // The result list's files dragged out; the drag image over the whole window; folders dropped on the
    // search-path box.
    std::unique_ptr<dragdrop::TDropFileSource> DropFileSource;
    std::unique_ptr<dragdrop::TDropDummy> DropDummy;
    std::unique_ptr<dragdrop::TDropFileTarget> DropFileTarget;
    kit::UniqueImageList dragImage_;  // the dragged row's picture, for the drag in progress
    // The refresh flags the show-text timer raises and the first event after it consumes.
    std::uint8_t RefreshScanFolder = 0;
    std::uint8_t RefreshTotals = 0;
    std::uint8_t RefreshFilterText = 0;
    // Stop asked the start-path loop to end; criteria changes are tracked, and were made (Reset enabled).
    std::uint8_t SearchStopRequested = 0;
    std::uint8_t TrackSelections = 0;
    std::uint8_t SelectionsDirty = 0;

    int searchPauseAction_ = 0;  // the action bbtSearchPause and its menu item run now
    bool searching_ = false;
    bool exporting_ = false;
    bool dragging_ = false;  // a file drag is on the stack, from the messages pumped before it to its end
    bool closeRequested_ = false;  // a close came during a run, an export or a drag: it happens once that has unwound
    bool startMaximized_ = false;
};

} // namespace ui
