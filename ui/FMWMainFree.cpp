#include "ui/FMWMainFree.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "engine/FilterFile.h"
#include "engine/SearchParams.h"
#include "kit/Dialog.h"
#include "kit/Exception.h"
#include "kit/MessageLoop.h"
#include "kit/ModalWait.h"
#include "res/ResourceIds.h"
#include "ui/ControlIds.h"
#include "ui/FKvrFindInResults.h"
#include "ui/FKvrSelectFolder.h"
#include "ui/PageLayout.h"

namespace ui {
namespace {

constexpr int kClientWidth = 672;
constexpr int kClientHeight = 446;
constexpr int kGap = 4;
constexpr int kTabsHeight = layout::kPageHeight + 28;  // the pages and the tab row above them
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 25;

app::TApplicationInit& Settings() { return *app::GlobalApplicationInit; }

} // namespace

TfrmMerrowinMain::TfrmMerrowinMain() = default;

TfrmMerrowinMain::~TfrmMerrowinMain() {
    StopDispatch();  // the list, going with its member, would report its lost focus to the action table gone before it
    if (hwnd()) kit::RemoveDialogWindow(hwnd());
}

void TfrmMerrowinMain::Create(HINSTANCE instance, int showCommand, const std::vector<std::wstring>& parameters) {
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0);
    kit::Window::Create({.className = kClassName, .title = kCaption,
                         .style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                         .bounds = RECT{100, 100, 100 + frame.right - frame.left, 100 + frame.bottom - frame.top}});
    const auto icon = reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAINICON)));
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, icon);
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, icon);
    CreateActions();
    CreateControls();
    WidenForStatusTexts();
    CreateMenu();
    FormCreate(parameters);

    ShowWindow(hwnd(), startMaximized_ ? SW_SHOWMAXIMIZED : showCommand);
    FormShow();
    UpdateWindow(hwnd());
    // The window's keyboard as a dialog's (Tab, the access keys, Enter for Search), its shortcuts first.
    kit::AddDialogWindow(hwnd(), [this] { return actions_.Accelerators(); });
}

void TfrmMerrowinMain::CreateControls() {
    RECT client;
    GetClientRect(hwnd(), &client);
    pgcSELECTIONS.Create(hwnd(), ids::kSelections, RECT{kGap, kGap, client.right - kGap, kGap + kTabsHeight},
                         {.controlParent = true});
    tshSELECTFilesAndFolders.Create(pgcSELECTIONS.hwnd());
    tshSELECTContainingText.Create(pgcSELECTIONS.hwnd());
    tshSELECTDateAndSize.Create(pgcSELECTIONS.hwnd());
    tshSELECTAttributes.Create(pgcSELECTIONS.hwnd());
    pgcSELECTIONS.AddPage(tshSELECTFilesAndFolders.kCaption, tshSELECTFilesAndFolders.hwnd());
    pgcSELECTIONS.AddPage(tshSELECTContainingText.kCaption, tshSELECTContainingText.hwnd());
    pgcSELECTIONS.AddPage(tshSELECTDateAndSize.kCaption, tshSELECTDateAndSize.hwnd());
    pgcSELECTIONS.AddPage(tshSELECTAttributes.kCaption, tshSELECTAttributes.hwnd());

    const RECT button{0, 0, kButtonWidth, kButtonHeight};
    bbtSearchPause.Create(hwnd(), ids::kSearchPause, L"&Search", button, {.defaultButton = true});
    bbtnStop.Create(hwnd(), ids::kStopButton, L"S&top", button);
    bbtnReset.Create(hwnd(), ids::kResetButton, L"&Reset", button);
    BindSearchPauseTo(ids::actACTIONSearch);
    actions_.BindControl(ids::actACTIONStop, bbtnStop.hwnd());
    actions_.BindControl(ids::actACTIONReset, bbtnReset.hwnd());
    ConnectControls();
    ConnectCriteria();

    // One selected row: the file actions work on a single entry.
    ResultListView = std::make_unique<results::TResultListView>(hwnd(), ids::kResultList, RECT{0, 0, 10, 10},
                                                                kit::ControlOptions{.singleSelect = true});
    ResultListView->SetResults(&ResultTable);
    ResultListView->FolderPrompts = FolderPromptsOwnedBy(hwnd());
    ResultListView->Busy = [this] { return searching_ || exporting_; };
    SearchStatusBar = std::make_unique<results::TSearchStatusBar>(hwnd(), ids::kStatusBar);
    SearchStatusBar->SetMerrowinFile(&walkerState_);
    SearchStatusBar->SetResultTable(&ResultTable);
    SearchStatusBar->SetResultListView(ResultListView->hwnd());
    ResultListView->FitDefaultWidths();
    SearchStatusBar->FitPanelWidths();
    ConnectWalkerEvents();
    ConnectExportEvents();
    LayoutControls(client.right, client.bottom);
}

// The size a first start keeps: as wide as the status bar needs for the texts of a large search, as far as the
// screen allows. A stored size replaces it.
void TfrmMerrowinMain::WidenForStatusTexts() {
    RECT frame{0, 0, SearchStatusBar->WidthForSearchTexts(), kClientHeight};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0);
    const RECT work = kit::WorkAreaNear(hwnd());
    const int width = std::min(frame.right - frame.left, work.right - work.left);
    RECT now{};
    GetWindowRect(hwnd(), &now);
    if (width > now.right - now.left)
        SetWindowPos(hwnd(), nullptr, 0, 0, width, now.bottom - now.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmMerrowinMain::FormCreate(const std::vector<std::wstring>& parameters) {
    SourceFolders_.clear();
    pgcSELECTIONS.Select(0);
    LayoutDone = 0;
    KillTimer(hwnd(), kShowTextTimer);

    app::TApplicationInit& settings = Settings();
    settings.Options.Load();
    // The window is still hidden: it takes the stored bounds now and the stored state when it is shown.
    app::TFormPlacement placement = app::GetFormPlacement(hwnd(), app::SystemDisplay());
    settings.Position.Load(placement);
    app::SetFormPlacement(hwnd(), placement, app::SystemDisplay());
    startMaximized_ = placement.WindowState == app::wsMaximized;
    settings.MRUItems.Load(settings.Options.SearchItems);
    app::GlobalSearchParams->Reset();
    app::GlobalSearchParams->LoadFromFile(settings.ParamsIniFileName, settings.Options.SearchParams,
                                          app::GlobalFileTypesIFilters);

    ParamsToControls();
    LoadFileMaskItems();
    TMRUFolderComboBox& path = tshSELECTFilesAndFolders.cbmfldFOLDERSSearchPath;
    path.DefaultIndex = app::GlobalSearchParams->Folders.VisualControlItemDefault();
    path.Populate(&settings.MRUItems.SearchFolders.FolderValue, app::GlobalSearchParams->Folders.FolderValue);
    LoadSearchTextItems();
    RefreshSelectionStates();
    ApplyCommandLine(parameters);
    actVIEWReportExecute();

    TrackSelections = 1;
    SelectionsDirty = 0;
    UpdateActionStates();

    app::GlobalSearchParams->OnCheckFolder = [this](const engine::SearchParams::TSearchFolders&,
                                                    const std::wstring& info) { SearchParamsCheckFolder(info); };
    app::GlobalFilterFile->Text.OnFilterText = [this](engine::TFilterText&, const std::wstring& info) {
        FilterFileFilterText(info);
    };
    ResultListView->SearchStatusBar = SearchStatusBar.get();
    CreateDragDrop();
}

void TfrmMerrowinMain::ApplyCommandLine(const std::vector<std::wstring>& parameters) {
    if (parameters.empty()) return;
    TMRUFolderComboBox& path = tshSELECTFilesAndFolders.cbmfldFOLDERSSearchPath;
    const std::wstring& first = parameters.front();
    if (first == L"<LOCALDRIVES>" || first == L"<NETWORKDRIVES>") {
        path.SelectByTag(first);
        return;
    }
    path.Add(first);  // shows it as the box's text and heads the recent list
}

void TfrmMerrowinMain::FormShow() {
    SetFocus(tshSELECTFilesAndFolders.cbmitFILEFileMask.hwnd());
    if (LayoutDone == 0) {
        AdjustDateTimePickers();
        LayoutDone = 1;
    }
    ResultListView->LoadLayout(Settings().LayoutIniFileName);
}

// Options, criteria, recent lists, column layout and position, in that order. Each part keeps its own
// file and handles its own failures.
void TfrmMerrowinMain::SaveSettings() {
    app::TApplicationInit& settings = Settings();
    settings.Options.Save();
    app::GlobalSearchParams->SaveToFile(settings.ParamsIniFileName, settings.Options.SearchParams,
                                        app::GlobalFileTypesIFilters);
    settings.MRUItems.Save(settings.Options.SearchItems);
    ResultListView->SaveLayout(settings.LayoutIniFileName);
    settings.Position.Save(hwnd());
}

void TfrmMerrowinMain::LayoutControls(int width, int height) {
    if (!SearchStatusBar) return;
    MoveWindow(pgcSELECTIONS.hwnd(), kGap, kGap, width - 2 * kGap, kTabsHeight, TRUE);
    pgcSELECTIONS.LayoutPages();
    const int buttonsTop = kGap + kTabsHeight + kGap;
    int x = width - kGap - kButtonWidth;
    for (kit::Button* button : {&bbtnReset, &bbtnStop, &bbtSearchPause}) {
        MoveWindow(button->hwnd(), x, buttonsTop, kButtonWidth, kButtonHeight, TRUE);
        x -= kButtonWidth + kGap;
    }
    RECT bar;
    GetWindowRect(SearchStatusBar->hwnd(), &bar);
    const int listTop = buttonsTop + kButtonHeight + kGap;
    const int listBottom = height - (bar.bottom - bar.top);
    MoveWindow(ResultListView->hwnd(), 0, listTop, width, std::max(0, listBottom - listTop), TRUE);
}

// A close during a run, an export, a drag or any other handler of the window that pumps waits for it to unwind:
// the window, the walker and the table must outlive every frame of it that is still on the stack below this
// message. One that comes while the person answers a modal wait (the taskbar's, another program's) comes again
// once the wait is over.
void TfrmMerrowinMain::OnCloseRequest() {
    if (kit::ModalWaiting()) {
        kit::PostAfterModalWaits(hwnd(), WM_CLOSE);
        return;
    }
    if (searching_ || exporting_ || dragging_ || InNestedMessage()) {
        closeRequested_ = true;
        if (searching_) actACTIONStopExecute();
        return;
    }
    SaveSettings();
    DestroyWindow(hwnd());
}

void TfrmMerrowinMain::OnOutermostMessageDone() {
    if (closeRequested_ && !searching_ && !exporting_ && !dragging_) PostDeferredClose();
}

void TfrmMerrowinMain::PostDeferredClose() {
    // The posted close comes before the quit, which a queue gives out last.
    if (!closeRequested_ && !kit::QuitRequested()) return;
    closeRequested_ = false;
    PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

// The session may end as soon as this message returns, whatever is still on the stack: save now.
void TfrmMerrowinMain::OnEndSession() {
    if (searching_) actACTIONStopExecute();
    SaveSettings();
}

bool TfrmMerrowinMain::OnSysCommand(WPARAM command) {
    switch (command & 0xFFF0) {
    case SC_MAXIMIZE:
        // The normal bounds go to the settings before the window covers the screen.
        Settings().Position.Save(hwnd());
        return false;
    case SC_MINIMIZE:
        ShowWindow(hwnd(), SW_MINIMIZE);
        return true;
    }
    return false;
}

bool TfrmMerrowinMain::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_SIZE:
        if (SearchStatusBar) SearchStatusBar->ParentResized();
        if (wp != SIZE_MINIMIZED) LayoutControls(LOWORD(lp), HIWORD(lp));
        ResultListView->UpdateItemCount();
        result = 0;
        return true;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        info->ptMinTrackSize = POINT{Settings().Position.MinWidth, Settings().Position.MinHeight};
        result = 0;
        return true;
    }
    case WM_SYSCOMMAND:
        if (!OnSysCommand(wp)) return false;
        result = 0;
        return true;
    case WM_QUERYENDSESSION:
        result = TRUE;
        return true;
    case WM_ENDSESSION:
        if (wp) OnEndSession();
        result = 0;
        return true;
    case WM_CLOSE:
        OnCloseRequest();
        result = 0;
        return true;
    case WM_TIMER:
        if (wp != kShowTextTimer) return false;
        timShowTextTimerTimer();
        result = 0;
        return true;
    case WM_COMMAND:
        // A control's command that its wrapper left unhandled is no action.
        if (lp) return false;
        OnCommand(LOWORD(wp), HIWORD(wp));
        result = 0;
        return true;
    case WM_INITMENUPOPUP:
        actions_.OnInitMenuPopup(reinterpret_cast<HMENU>(wp));
        return false;
    case WM_NOTIFY:
        OnChildNotify(*reinterpret_cast<const NMHDR*>(lp));
        return false;
    case DM_GETDEFID:
        result = MAKELRESULT(ids::kSearchPause, DC_HASDEFID);
        return true;
    case WM_DESTROY:
        Settings().Position.MinWidth -= std::exchange(minWidthGrowth_, 0);
        kit::RemoveDialogWindow(hwnd());
        KillTimer(hwnd(), kShowTextTimer);
        DragAcceptFiles(hwnd(), FALSE);
        PostQuitMessage(0);
        result = 0;
        return true;
    }
    return false;
}

} // namespace ui
