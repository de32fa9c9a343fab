// The main window's Export action: the export folder, the save dialog over the result table's export list, the
// writer with the status bar's progress, and the file opened once written.
#include <algorithm>
#include <cwctype>

#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "engine/SearchStatistics.h"
#include "kit/Files.h"
#include "kit/Interaction.h"
#include "kit/MessageLoop.h"
#include "kit/Scope.h"
#include "kit/Strings.h"
#include "results/ResultExports.h"
#include "results/listview/HourglassCursor.h"
#include "ui/ControlIds.h"
#include "ui/FMWMainFree.h"

namespace ui {
namespace {

constexpr const wchar_t* kExportTitle = L"SearchResults";  // the title the writers put in their files
constexpr DWORD kDoneTextMilliseconds = 2000;               // the export time stays readable this long

engine::TSearchStatistics& Statistics() { return *app::GlobalSearchStatistics; }

void Repaint(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
}

// The save dialog's types from the entries' filters ("Caption|*.ext|" each).
std::vector<kit::FileType> ExportFileTypes(const results::TExportsDefsArray& exports) {
    std::vector<kit::FileType> types;
    for (const results::TExportDef& entry : exports) {
        const size_t bar = entry.Filter.find(L'|');
        const size_t end = entry.Filter.find(L'|', bar + 1);
        types.push_back({entry.Filter.substr(0, bar), entry.Filter.substr(bar + 1, end - bar - 1)});
    }
    return types;
}

// Whether the name already ends in an extension of the entry's type, in any letter case: every "*.ext" its
// filter names counts, so a web page may end in .htm as well as .html.
bool HasExtensionOf(const std::wstring& fileName, const results::TExportDef& entry) {
    const std::wstring extension = kit::ExtractFileExt(fileName);
    if (extension.size() < 2) return false;
    const std::wstring& filter = entry.Filter;
    for (size_t star = filter.find(L"*."); star != std::wstring::npos; star = filter.find(L"*.", star + 1)) {
        size_t end = star + 2;
        while (end < filter.size() && std::iswalnum(filter[end])) ++end;
        if (kit::SameText(extension, std::wstring_view(filter).substr(star + 1, end - star - 1))) return true;
    }
    return false;
}

// The action's caption without its dots: "Export Results..." titles the dialog "Export Results".
std::wstring DialogTitle(std::wstring caption) {
    caption.erase(std::remove(caption.begin(), caption.end(), L'.'), caption.end());
    return caption;
}

// Disables the window while the writer runs, so nothing a person does can change the table under it, and gives
// the focus back afterwards (a disabled window loses it).
class WindowDisabled {
public:
    explicit WindowDisabled(HWND window) : window_(window), focus_(GetFocus()) { EnableWindow(window_, FALSE); }
    ~WindowDisabled() {
        EnableWindow(window_, TRUE);
        if (focus_ && IsWindow(focus_)) SetFocus(focus_);
    }
    WindowDisabled(const WindowDisabled&) = delete;
    WindowDisabled& operator=(const WindowDisabled&) = delete;

private:
    HWND window_;
    HWND focus_;
};

} // namespace

void TfrmMerrowinMain::actFILEExportResultsExecute() {
    if (exporting_ || ResultTable.Count() == 0) return;
    // From here to the end, commands are dropped and a close waits.
    const BusyScope scope(*this, exporting_);
    const results::TExportsDefsArray& exports = ResultTable.Exports();
    const std::wstring title = DialogTitle(actions_.Caption(ids::actFILEExportResults));
    const std::optional<kit::SaveFileAnswer> answer = kit::UserInteraction().SaveFile(
        hwnd(), {.title = title, .types = ExportFileTypes(exports), .typeIndex = 1, .initialFolder = ExportFolder()});
    if (!answer || answer->typeIndex < 1 || answer->typeIndex > static_cast<int>(exports.size())) return;
    const results::TExportDef& entry = exports[static_cast<size_t>(answer->typeIndex - 1)];
    if (!entry.Writer) return;

    std::wstring fileName = answer->fileName;
    if (!HasExtensionOf(fileName, entry) && !kit::AddExtensionAskingOverwrite(hwnd(), fileName, entry.DefaultExt, title))
        return;
    if (!WriteExport(entry, fileName)) {
        kit::UserInteraction().ShowMessage(hwnd(), L"Error: " + ResultTable.ExportError(), kit::MessageType::Error,
                                           kit::MessageButtons::Ok);
        return;
    }
    OpenExport(entry, fileName);
}

// The default folder is made when missing; a folder that is not there (now) gives way to C:\.
std::wstring TfrmMerrowinMain::ExportFolder() {
    const app::TApplicationInit& settings = *app::GlobalApplicationInit;
    const app::TOptionsExports& options = settings.Options.Exports;
    kit::Interaction& interaction = kit::UserInteraction();
    std::wstring folder = options.OutputFolder == app::eofSelected ? options.FolderSelected : settings.ExportsFolder;
    if (options.OutputFolder == app::eofDefault && !kit::ForceDirectories(folder))
        interaction.ShowMessage(hwnd(), L"Unable to Create Export Directory.", kit::MessageType::Error,
                                kit::MessageButtons::Ok);
    if (!kit::DirectoryExists(folder)) {
        interaction.ShowMessage(hwnd(), L"The Export Folder: " + kit::QuotedString(folder) + L" does not exist .",
                                kit::MessageType::Warning, kit::MessageButtons::Ok);
        folder = L"C:\\";
    }
    return folder;
}

// Runs the entry's writer with the window disabled. A written file leaves the export time in the status bar for
// a while; a failed one leaves the summary at once (the caller reports why).
bool TfrmMerrowinMain::WriteExport(const results::TExportDef& entry, const std::wstring& fileName) {
    const WindowDisabled disabled(hwnd());
    const results::HourglassCursor wait;
    Statistics().StartExport();
    SearchStatusBar->SetTextSearchInfo(entry.Title);
    bool written = false;
    {
        const kit::ScopeExit hideProgress([this] {
            SearchStatusBar->SetProgressBarPosition(0);
            SearchStatusBar->SetProgressBarVisible(false);
        });
        results::TExportOptions options;
        options.CsvDelimiterChar = app::GlobalApplicationInit->Options.Exports.CSV.DelimiterChar;
        written = (ResultTable.*entry.Writer)(fileName, kExportTitle, options);
        Statistics().EndExport();
        if (written) {
            SearchStatusBar->SetTextSearchInfo(SearchStatusBar->TextSearchInfo() + Statistics().GetExportTimeText());
            kit::ProcessMessagesNow();
            kit::UserInteraction().Sleep(kDoneTextMilliseconds);
        }
    }
    SearchStatusBar->SetTextSearchInfo(Statistics().GetSummaryText());
    Repaint(SearchStatusBar->hwnd());
    kit::ProcessMessagesNow();
    return written;
}

void TfrmMerrowinMain::OpenExport(const results::TExportDef& entry, const std::wstring& fileName) {
    kit::Interaction& interaction = kit::UserInteraction();
    if (entry.OpenMode == results::TExportDef::OpenFile)
        interaction.ShellExecuteVerb(hwnd(), {.verb = L"open", .file = fileName, .showCommand = entry.ShowCommand});
    else if (entry.OpenMode == results::TExportDef::OpenProgram && !entry.Program.empty())
        interaction.ShellExecuteVerb(hwnd(), {.verb = L"open", .file = entry.Program,
                                              .parameters = kit::QuotedString(fileName),
                                              .showCommand = entry.ShowCommand});
}

// The writers' progress in the status bar; the action hides the bar when it ends.
void TfrmMerrowinMain::ConnectExportEvents() {
    ResultTable.OnExportStartedEvent = [this](results::TExport&, std::int64_t) {
        SearchStatusBar->SetProgressBarVisible(true);
        Repaint(SearchStatusBar->hwnd());
    };
    ResultTable.OnExportExecuteEvent = [this](results::TExport&, std::int64_t, int percent) {
        SearchStatusBar->SetProgressBarPosition(percent);
    };
    ResultTable.OnExportDoneEvent = [this](results::TExport&, std::int64_t) {
        SearchStatusBar->SetProgressBarPosition(100);
        Repaint(SearchStatusBar->hwnd());
        kit::ProcessMessagesNow();
    };
}

} // namespace ui
