#include "tests/ui/MainWindowFixture.h"

#include <commctrl.h>
#include <shlobj.h>

#include <ostream>
#include <utility>

#include "app/ApplicationSetup.h"
#include "kit/MessageLoop.h"
#include "kit/Strings.h"
#include "ui/ControlIds.h"

namespace uitest {
namespace {

std::wstring MakerFolder() {
    std::wstring folder = app::TApplicationInit::GetSettingsFolder();  // ...\Harbelune\Kolvaran\ .
    folder.pop_back();
    return folder.substr(0, folder.find_last_of(L'\\'));
}

} // namespace

ProgramObjects::EmptySettings::EmptySettings() { testsupport::RemoveTree(MakerFolder()); }

ProgramObjects::EmptySettings::~EmptySettings() { testsupport::RemoveTree(MakerFolder()); }

ProgramObjects::ProgramObjects() {
    objects_.CreateSettingsHolder();
    objects_.CreateSearchObjects();
}

std::wstring ProgramObjects::SettingsFile(const wchar_t* name) {
    return app::TApplicationInit::GetSettingsFolder() + name;
}

std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << kit::WideToUtf8(row.number + L" " + row.folder + row.name);
}

void MainWindowTest::SetUp() { program = std::make_unique<ProgramObjects>(); }

std::function<bool()> MainWindowTest::step_;
UINT_PTR MainWindowTest::stepTimer_ = 0;

void MainWindowTest::TearDown() {
    if (stepTimer_) KillTimer(nullptr, stepTimer_);
    stepTimer_ = 0;
    step_ = nullptr;
    window.reset();
    // The window's quit message would end the next test's loop.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    program.reset();
}

void MainWindowTest::Open(const std::vector<std::wstring>& parameters) {
    Close();
    window = std::make_unique<ui::TfrmMerrowinMain>();
    window->Create(GetModuleHandleW(nullptr), SW_SHOWNORMAL, parameters);
}

void MainWindowTest::OpenFresh(const std::vector<std::wstring>& parameters) {
    Close();
    program.reset();
    program = std::make_unique<ProgramObjects>();
    Open(parameters);
}

void MainWindowTest::Close() {
    if (window && window->hwnd()) {
        SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
        // The window's quit message would end the next window's loops.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    window.reset();
}

HWND MainWindowTest::Main() const { return window->hwnd(); }

HWND MainWindowTest::Page(int pageId) const {
    return GetDlgItem(GetDlgItem(Main(), ui::ids::kSelections), pageId);
}

HWND MainWindowTest::Control(int pageId, int id) const { return GetDlgItem(Page(pageId), id); }

HWND MainWindowTest::MaskBox() const { return Control(ui::ids::kPageFilesAndFolders, ui::ids::kFileMask); }

HWND MainWindowTest::PathEdit() const {
    const HWND box = Control(ui::ids::kPageFilesAndFolders, ui::ids::kSearchPath);
    return reinterpret_cast<HWND>(SendMessageW(box, CBEM_GETEDITCONTROL, 0, 0));
}

HWND MainWindowTest::TextBox() const { return Control(ui::ids::kPageContainingText, ui::ids::kSearchText); }

HWND MainWindowTest::List() const { return GetDlgItem(Main(), ui::ids::kResultList); }

void MainWindowTest::Type(HWND box, const std::wstring& text) {
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void MainWindowTest::Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void MainWindowTest::ClickSearch() { Click(GetDlgItem(Main(), ui::ids::kSearchPause)); }

void MainWindowTest::TypeWatchableSearch(const std::wstring& folder) {
    MakeSlowSearchTree(folder);
    TypeMask(L"*.txt");
    TypePath(folder);
    TypeText(L"text");
}

void MainWindowTest::SelectPage(int index) {
    const HWND tabs = GetDlgItem(Main(), ui::ids::kSelections);
    SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    NMHDR change{tabs, static_cast<UINT_PTR>(ui::ids::kSelections), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(Main(), WM_NOTIFY, ui::ids::kSelections, reinterpret_cast<LPARAM>(&change));
}

bool MainWindowTest::Checked(int pageId, int id) const {
    return SendMessageW(Control(pageId, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindowTest::SetChecked(int pageId, int id, bool checked) {
    if (Checked(pageId, id) != checked) Click(Control(pageId, id));
}

std::wstring MainWindowTest::Caption() const { return WindowText(Main()); }

std::wstring MainWindowTest::StatusText(int panel) const {
    const HWND bar = GetDlgItem(Main(), ui::ids::kStatusBar);
    wchar_t text[512] = {};
    SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<Row> MainWindowTest::Rows() const {
    const auto cell = [this](int item, int column) {
        wchar_t text[MAX_PATH * 2] = {};
        LVITEMW lv{};
        lv.iSubItem = column;
        lv.pszText = text;
        lv.cchTextMax = static_cast<int>(std::size(text));
        SendMessageW(List(), LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
        return std::wstring(text);
    };
    std::vector<Row> rows;
    const int count = static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) rows.push_back({cell(i, 0), cell(i, 2), cell(i, 1)});
    return rows;
}

int MainWindowTest::RunUntilClosed() { return kit::RunMessageLoop(); }

void MainWindowTest::WhileRunning(std::function<bool()> step) {
    step_ = std::move(step);
    stepTimer_ = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, OnStepTimer);
}

void CALLBACK MainWindowTest::OnStepTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (!step_) return;
    // The step may pump messages (a click runs an action): it must not be entered twice.
    const std::function<bool()> step = std::exchange(step_, nullptr);
    if (!step()) {
        step_ = step;
        return;
    }
    KillTimer(nullptr, stepTimer_);
    stepTimer_ = 0;
}

bool MainWindowTest::StopEnabled() const { return IsWindowEnabled(GetDlgItem(Main(), ui::ids::kStopButton)) != FALSE; }

bool MainWindowTest::ActWhileSearchPaused(const std::function<void()>& act) {
    const HWND pause = GetDlgItem(Main(), ui::ids::kSearchPause);
    bool acted = false;
    WhileRunning([&] {
        if (!StopEnabled() || SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0) == 0) return false;
        Click(pause);
        act();
        acted = true;
        Click(pause);  // Continue
        Click(GetDlgItem(Main(), ui::ids::kStopButton));
        return true;
    });
    ClickSearch();
    return acted;
}

void MakeFiles(const std::wstring& folder, const std::vector<std::wstring>& names, const std::string& content) {
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    for (const auto& name : names) testsupport::WriteBytes(kit::IncludeTrailingPathDelimiter(folder) + name, content);
}

void MakeSlowSearchTree(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (int f = 0; f < 100; ++f) names.push_back(kit::Format(L"f%03d.txt", f));
    for (int d = 0; d < 30; ++d) MakeFiles(kit::IncludeTrailingPathDelimiter(folder) + kit::Format(L"d%02d", d), names,
                                           kSlowTreeText);
}

} // namespace uitest
