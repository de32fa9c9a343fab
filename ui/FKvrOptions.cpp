#include "ui/FKvrOptions.h"

#include <span>

#include "app/ApplicationSetup.h"
#include "app/ContextMenuRegistration.h"
#include "app/UKvrVARGeneral.h"
#include "kit/Files.h"
#include "kit/Interaction.h"
#include "kit/Strings.h"

namespace ui {
namespace {

constexpr int kButtonHeight = 25;
constexpr int kBoxHeight = 17;
constexpr int kRowStep = 24;
constexpr int kSaveColumn = 12;   // the Save boxes; the Load boxes stand right of them
constexpr int kLoadColumn = 92;
constexpr int kSlaveIndent = 16;  // the boxes a master switches stand below it, indented

constexpr RECT At(int x, int y, int width, int height) { return RECT{x, y, x + width, y + height}; }

// From `x` to the page's right margin.
RECT ToRight(HWND page, int x, int y, int height) {
    RECT area{};
    GetClientRect(page, &area);
    return RECT{x, y, area.right - 12, y + height};
}

// One row of a page's Save and Load columns: the boxes of one criteria group or one recent list.
struct BoxRow {
    kit::CheckBox* save;
    kit::CheckBox* load;
    int saveId;
    int loadId;
    const wchar_t* name;
};

// The two master boxes on top, the rows below them; the Load boxes say what the row is.
void CreateBoxColumns(TDialogPage& page, kit::CheckBox& saveMaster, kit::CheckBox& loadMaster, int saveMasterId,
                      const wchar_t* loadMasterCaption, std::span<const BoxRow> rows, const wchar_t* kind) {
    const HWND parent = page.hwnd();
    saveMaster.Create(parent, saveMasterId, L"Save ", At(kSaveColumn, 12, 60, kBoxHeight));
    loadMaster.Create(parent, saveMasterId + 1, loadMasterCaption, ToRight(parent, kLoadColumn, 12, kBoxHeight));
    int y = 12 + kRowStep;
    for (const BoxRow& row : rows) {
        row.save->Create(parent, row.saveId, L"Save", At(kSaveColumn + kSlaveIndent, y, 60, kBoxHeight));
        row.load->Create(parent, row.loadId, std::wstring(L"Load   \"") + row.name + L"\" " + kind,
                         ToRight(parent, kLoadColumn + kSlaveIndent, y, kBoxHeight));
        y += kRowStep;
    }
}

app::TApplicationOptions& Options() { return app::GlobalApplicationInit->Options; }

} // namespace

void TMasterBoxes::Connect() {
    master_.OnClick = [this] { MasterClick(); };
    for (kit::CheckBox* slave : slaves_) slave->OnClick = [this] { SlaveClick(); };
}

void TMasterBoxes::MasterClick() {
    const bool on = master_.Checked();
    for (kit::CheckBox* slave : slaves_) slave->SetEnabled(on);
    if (on && !AnySlaveChecked()) slaves_.front()->SetChecked(true);
}

void TMasterBoxes::SlaveClick() {
    if (AnySlaveChecked()) return;
    master_.SetChecked(false);
    MasterClick();
}

bool TMasterBoxes::AnySlaveChecked() const {
    for (const kit::CheckBox* slave : slaves_)
        if (slave->Checked()) return true;
    return false;
}

TfrmKvrOptions::TfrmKvrOptions() : TSettingsDialog(L"Options", 508, {.preVista = 271, .vistaFamily = 271, .other = 273}) {}

void TfrmKvrOptions::OnCreate() {
    CreateFrame(idConfigMenu, 150, true);
    CreatePages();
    FormCreate();
}

void TfrmKvrOptions::CreatePages() {
    // In the order of Page.
    AddPage(tshSearchParams, idSearchParamsPage, L"Search Params");
    AddPage(tshSearchItems, idSearchItemsPage, L"Search Items");
    const HTREEITEM exports = AddPage(tshExports, idExportsPage, L"Exports");
    AddPage(tshExportAsCSV, idExportAsCSVPage, L"Export as CSV", exports);
    AddPage(tshContextMenuIntegration, idContextMenuIntegrationPage, L"Context Menu Integration");
    CreateSearchParamsPage();
    CreateSearchItemsPage();
    CreateExportsPage();
    CreateExportAsCSVPage();
    CreateContextMenuPage();
}

void TfrmKvrOptions::CreateSearchParamsPage() {
    const BoxRow rows[] = {
        {&chbSAVEFilesAndFoldersParams, &chbLOADFilesAndFoldersParams, idSAVEFilesAndFoldersParams,
         idLOADFilesAndFoldersParams, L"Files and Foldes"},
        {&chbSAVEContainingTextParams, &chbLOADContainingTextParams, idSAVEContainingTextParams,
         idLOADContainingTextParams, L"Containing Text"},
        {&chbSAVEDateAndSizeParams, &chbLOADDateAndSizeParams, idSAVEDateAndSizeParams, idLOADDateAndSizeParams,
         L"Date and Size"},
        {&chbSAVEAttributesParams, &chbLOADAttributesParams, idSAVEAttributesParams, idLOADAttributesParams,
         L"Attributes"},
    };
    CreateBoxColumns(tshSearchParams, chbSAVESearchParams, chbLOADSearchParams, idSAVESearchParams,
                     L"Load   Search Params", rows, L"Params");
    saveParams_.Connect();
    loadParams_.Connect();
}

void TfrmKvrOptions::CreateSearchItemsPage() {
    const BoxRow rows[] = {
        {&chbSAVEFileNameItems, &chbLOADFileNameItems, idSAVEFileNameItems, idLOADFileNameItems, L"File Name"},
        {&chbSAVESearchPathItems, &chbLOADSearchPathItems, idSAVESearchPathItems, idLOADSearchPathItems,
         L"Search Path"},
        {&chbSAVESearchTextItems, &chbLOADSearchTextItems, idSAVESearchTextItems, idLOADSearchTextItems,
         L"Search Text"},
    };
    CreateBoxColumns(tshSearchItems, chbSAVESearchItems, chbLOADSearchItems, idSAVESearchItems,
                     L"Load   Search Items", rows, L"Items");
    saveItems_.Connect();
    loadItems_.Connect();
}

void TfrmKvrOptions::CreateExportsPage() {
    TDialogPage& page = tshExports;
    RECT area;
    GetClientRect(page.hwnd(), &area);
    const int browseLeft = area.right - 12 - 82;
    lblExportFolder.Create(page.hwnd(), idExportFolderLabel, L"Export Folder", At(12, 12, 200, 14));
    rbEXPUseDefaultFolder.Create(page.hwnd(), idEXPUseDefaultFolder, L"Use Default", At(24, 34, 150, kBoxHeight),
                                 true, true);
    rbEXPUseSelectedFolder.Create(page.hwnd(), idEXPUseSelectedFolder, L"Use Selected", At(24, 58, 150, kBoxHeight),
                                  false);
    edEXPSelectedFolder.Create(page.hwnd(), idEXPSelectedFolder, RECT{40, 82, browseLeft - 8, 103}, L"",
                               {.startsGroup = true});
    bbtEXPBrowseFolder.Create(page.hwnd(), idEXPBrowseFolder, L"&Browse...", At(browseLeft, 80, 82, kButtonHeight));
    page.Anchor(edEXPSelectedFolder, kit::AnchorTopLeftRight);
    page.Anchor(bbtEXPBrowseFolder, kit::AnchorTopRight);
    rbEXPUseDefaultFolder.OnClick = [this] { rbEXPUseDefaultFolderClick(); };
    rbEXPUseSelectedFolder.OnClick = [this] { rbEXPUseDefaultFolderClick(); };
    bbtEXPBrowseFolder.OnClick = [this] { bbtEXPBrowseFolderClick(); };
}

void TfrmKvrOptions::CreateExportAsCSVPage() {
    const HWND page = tshExportAsCSV.hwnd();
    lblDelimiterChar.Create(page, idDelimiterLabel, L"Delimiter Char:", At(12, 16, 90, 14));
    cbEXPAsCSVDelimiterChar.Create(page, idEXPAsCSVDelimiterChar, kit::ComboBox::Kind::DropDownList,
                                   At(104, 12, 60, 21), 2);
    const wchar_t* const delimiters[] = {L",", L";"};
    cbEXPAsCSVDelimiterChar.SetItems(delimiters);
}

void TfrmKvrOptions::CreateContextMenuPage() {
    const HWND page = tshContextMenuIntegration.hwnd();
    struct Box { kit::CheckBox* box; int id; const wchar_t* place; };
    const Box boxes[] = {
        {&chbCMIAddItemToMyComputer, idCMIAddItemToMyComputer, L"Computer"},
        {&chbCMIAddItemToMyDocuments, idCMIAddItemToMyDocuments, L"Documents"},
        {&chbCMIAddItemToDrives, idCMIAddItemToDrives, L"Drives"},
        {&chbCMIAddtemToFolders, idCMIAddtemToFolders, L"Folders"},
    };
    int y = 12;
    for (const Box& b : boxes) {
        b.box->Create(page, b.id, std::wstring(L"Add \"Search with Kolvaran...\" Item to ") + b.place,
                      ToRight(page, 12, y, kBoxHeight));
        b.box->OnClick = [this] { contextMenuChanged_ = true; };
        y += kRowStep;
    }
}

void TfrmKvrOptions::FormCreate() {
    LoadBoxes();
    LoadExports();
    LoadContextMenuOptions();
    contextMenuChanged_ = false;
    rbEXPUseDefaultFolderClick();
    tvConfigMenu.ExpandAll();
    ShowPage(pgExports);
}

std::vector<TfrmKvrOptions::BoxOption> TfrmKvrOptions::BoxOptions() {
    app::TOptionsSearchParams& params = Options().SearchParams;
    app::TOptionsSearchItems& items = Options().SearchItems;
    return {
        {chbSAVESearchParams, params.Save},
        {chbLOADSearchParams, params.Load},
        {chbSAVEFilesAndFoldersParams, params.FilesAndFolders.Save},
        {chbSAVEContainingTextParams, params.ContainingText.Save},
        {chbSAVEDateAndSizeParams, params.DateAndSize.Save},
        {chbSAVEAttributesParams, params.Attributes.Save},
        {chbLOADFilesAndFoldersParams, params.FilesAndFolders.Load},
        {chbLOADContainingTextParams, params.ContainingText.Load},
        {chbLOADDateAndSizeParams, params.DateAndSize.Load},
        {chbLOADAttributesParams, params.Attributes.Load},
        {chbSAVESearchItems, items.Save},
        {chbLOADSearchItems, items.Load},
        {chbSAVEFileNameItems, items.FileNameSave},
        {chbSAVESearchPathItems, items.SearchPathSave},
        {chbSAVESearchTextItems, items.SearchTextSave},
        {chbLOADFileNameItems, items.FileNameLoad},
        {chbLOADSearchPathItems, items.SearchPathLoad},
        {chbLOADSearchTextItems, items.SearchTextLoad},
    };
}

void TfrmKvrOptions::LoadBoxes() {
    for (const BoxOption& each : BoxOptions()) each.box.SetChecked(each.option);
    for (TMasterBoxes* masters : {&saveParams_, &loadParams_, &saveItems_, &loadItems_}) masters->MasterClick();
}

void TfrmKvrOptions::StoreBoxes() {
    for (const BoxOption& each : BoxOptions()) each.option = each.box.Checked();
}

void TfrmKvrOptions::LoadExports() {
    const app::TOptionsExports& exports = Options().Exports;
    rbEXPUseDefaultFolder.SetChecked(exports.OutputFolder == app::eofDefault);
    rbEXPUseSelectedFolder.SetChecked(exports.OutputFolder == app::eofSelected);
    edEXPSelectedFolder.SetText(exports.FolderSelected);
    cbEXPAsCSVDelimiterChar.Select(exports.CSV.DelimiterChar == L";" ? 1 : 0);
}

void TfrmKvrOptions::StoreExports() const {
    app::TOptionsExports& exports = Options().Exports;
    if (rbEXPUseSelectedFolder.Checked()) exports.OutputFolder = app::eofSelected;
    if (rbEXPUseDefaultFolder.Checked()) exports.OutputFolder = app::eofDefault;
    exports.FolderSelected = edEXPSelectedFolder.Text();
    const int delimiter = cbEXPAsCSVDelimiterChar.SelectedIndex();
    if (delimiter >= 0) exports.CSV.DelimiterChar = cbEXPAsCSVDelimiterChar.ItemText(delimiter);
}

void TfrmKvrOptions::OnOk() {
    // Everything is checked before anything is stored: a refused OK followed by Cancel must leave the options
    // as they were.
    if (!ExportFolderAccepted()) return;
    StoreBoxes();
    StoreExports();
    if (contextMenuChanged_) ApplyContextMenuOptions();
    End(IDOK);
}

bool TfrmKvrOptions::ExportFolderAccepted() {
    const std::wstring folder = edEXPSelectedFolder.Text();
    // A relative folder would name wherever the current directory is at the time of an export.
    const bool full = kit::IsFullyQualifiedPath(folder);
    if (!rbEXPUseSelectedFolder.Checked() || (full && kit::DirectoryExists(folder))) return true;
    ShowPage(pgExports);
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edEXPSelectedFolder.hwnd()), TRUE);
    const wchar_t* why = full || folder.empty()
                             ? L"' does not exist ."
                             : L"' must be a full path, such as C:\\Exports or \\\\server\\share\\Exports.";
    kit::UserInteraction().ShowMessage(hwnd(), L"The Export Selected Folder: '" + folder + why,
                                       kit::MessageType::Warning, kit::MessageButtons::Ok);
    return false;
}

void TfrmKvrOptions::rbEXPUseDefaultFolderClick() {
    const bool selected = rbEXPUseSelectedFolder.Checked();
    edEXPSelectedFolder.SetEnabled(selected);
    bbtEXPBrowseFolder.SetEnabled(selected);
}

void TfrmKvrOptions::bbtEXPBrowseFolderClick() {
    std::wstring start = edEXPSelectedFolder.Text();
    if (!start.empty()) start = kit::IncludeTrailingPathDelimiter(start);
    const std::optional<std::wstring> folder =
        kit::UserInteraction().BrowseForFolder(hwnd(), {.caption = L"Browse Folder", .startFolder = start});
    if (folder) edEXPSelectedFolder.SetText(*folder);
}

std::uint8_t TfrmKvrOptions::CheckedContextMenuPlaces() const {
    std::uint8_t mask = 0;
    if (chbCMIAddItemToMyComputer.Checked()) mask |= app::cmpMyComputer;
    if (chbCMIAddItemToMyDocuments.Checked()) mask |= app::cmpMyDocuments;
    if (chbCMIAddItemToDrives.Checked()) mask |= app::cmpDrives;
    if (chbCMIAddtemToFolders.Checked()) mask |= app::cmpFolders;
    return mask;
}

void TfrmKvrOptions::ShowContextMenuPlaces(std::uint8_t mask) {
    chbCMIAddItemToMyComputer.SetChecked(mask & app::cmpMyComputer);
    chbCMIAddItemToMyDocuments.SetChecked(mask & app::cmpMyDocuments);
    chbCMIAddItemToDrives.SetChecked(mask & app::cmpDrives);
    chbCMIAddtemToFolders.SetChecked(mask & app::cmpFolders);
}

void TfrmKvrOptions::LoadContextMenuOptions() {
    ShowContextMenuPlaces(app::GetContextMenuOptions(app::kContextMenuVerbName));
}

void TfrmKvrOptions::ApplyContextMenuOptions() {
    const std::uint8_t mask = CheckedContextMenuPlaces();
    const bool ok = app::SetContextMenuOptions(mask, app::GlobalApplicationInit->ExeFileName,
                                               app::kContextMenuVerbName, app::kContextMenuCaption, hwnd());
    const std::uint8_t actual = app::GetContextMenuOptions(app::kContextMenuVerbName);
    ShowContextMenuPlaces(actual);
    if (ok && actual != mask)
        kit::UserInteraction().ShowMessage(
            hwnd(),
            L"It was not possible to change all Options for the context menu Integration.\r\n"
            L"In order to save these Options you must run Kolvaran as Administrator.",
            kit::MessageType::Warning, kit::MessageButtons::Ok);
}

} // namespace ui
