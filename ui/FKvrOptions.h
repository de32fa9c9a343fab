#pragma once
// The "Options" dialog: which criteria groups and recent lists are kept between runs, where exports go, the
// CSV delimiter, and the program's verb in Explorer's context menu. OK writes the options in memory (the main
// window stores them when it closes) and the verbs in the registry; Cancel changes nothing.
#include <cstdint>
#include <vector>

#include "kit/Controls.h"
#include "ui/SettingsDialog.h"

namespace ui {

// A check box that switches a column of others: they are enabled while it is checked, checking it checks the
// first of them when none is, and unchecking the last of them unchecks it.
class TMasterBoxes {
public:
    TMasterBoxes(kit::CheckBox& master, std::vector<kit::CheckBox*> slaves)
        : master_(master), slaves_(std::move(slaves)) {}
    // Binds the boxes' clicks to the rule.
    void Connect();
    void MasterClick();
    void SlaveClick();

private:
    bool AnySlaveChecked() const;

    kit::CheckBox& master_;
    std::vector<kit::CheckBox*> slaves_;
};

class TfrmKvrOptions : public TSettingsDialog {
public:
    // The pages, in the tree's order.
    enum Page { pgSearchParams, pgSearchItems, pgExports, pgExportAsCSV, pgContextMenuIntegration };
    // The controls' ids.
    enum Id : int {
        idConfigMenu = 100, idSearchParamsPage, idSearchItemsPage, idExportsPage, idExportAsCSVPage,
        idContextMenuIntegrationPage,
        idSAVESearchParams = 200, idLOADSearchParams, idSAVEFilesAndFoldersParams, idSAVEContainingTextParams,
        idSAVEDateAndSizeParams, idSAVEAttributesParams, idLOADFilesAndFoldersParams, idLOADContainingTextParams,
        idLOADDateAndSizeParams, idLOADAttributesParams,
        idSAVESearchItems = 300, idLOADSearchItems, idSAVEFileNameItems, idSAVESearchPathItems,
        idSAVESearchTextItems, idLOADFileNameItems, idLOADSearchPathItems, idLOADSearchTextItems,
        idExportFolderLabel = 400, idEXPUseDefaultFolder, idEXPUseSelectedFolder, idEXPSelectedFolder,
        idEXPBrowseFolder, idDelimiterLabel, idEXPAsCSVDelimiterChar,
        idCMIAddItemToMyComputer = 500, idCMIAddItemToMyDocuments, idCMIAddItemToDrives, idCMIAddtemToFolders,
    };

    // Edits app::GlobalApplicationInit's options; sized by app::GlobalWindowsVersion.
    TfrmKvrOptions();

    // The four verb boxes from the registry.
    void LoadContextMenuOptions();
    // The verbs as the boxes say, then the boxes from what really holds; a warning when some could not change.
    void ApplyContextMenuOptions();

    TDialogPage tshSearchParams, tshSearchItems, tshExports, tshExportAsCSV, tshContextMenuIntegration;

    kit::CheckBox chbSAVESearchParams, chbLOADSearchParams;
    kit::CheckBox chbSAVEFilesAndFoldersParams, chbSAVEContainingTextParams, chbSAVEDateAndSizeParams,
        chbSAVEAttributesParams;
    kit::CheckBox chbLOADFilesAndFoldersParams, chbLOADContainingTextParams, chbLOADDateAndSizeParams,
        chbLOADAttributesParams;

    kit::CheckBox chbSAVESearchItems, chbLOADSearchItems;
    kit::CheckBox chbSAVEFileNameItems, chbSAVESearchPathItems, chbSAVESearchTextItems;
    kit::CheckBox chbLOADFileNameItems, chbLOADSearchPathItems, chbLOADSearchTextItems;

    kit::Label lblExportFolder;
    kit::RadioButton rbEXPUseDefaultFolder, rbEXPUseSelectedFolder;
    kit::Edit edEXPSelectedFolder;
    kit::Button bbtEXPBrowseFolder;

    kit::Label lblDelimiterChar;
    kit::ComboBox cbEXPAsCSVDelimiterChar;

    kit::CheckBox chbCMIAddItemToMyComputer, chbCMIAddItemToMyDocuments, chbCMIAddItemToDrives,
        chbCMIAddtemToFolders;

protected:
    void OnCreate() override;
    // bbtnOK: checks the export folder first, so a refused OK has stored nothing.
    void OnOk() override;

private:
    void CreatePages();
    void CreateSearchParamsPage();
    void CreateSearchItemsPage();
    void CreateExportsPage();
    void CreateExportAsCSVPage();
    void CreateContextMenuPage();
    void FormCreate();
    // Each Save and Load box of the two criteria pages with the option it shows: what loads and stores them.
    struct BoxOption {
        kit::CheckBox& box;
        bool& option;
    };
    std::vector<BoxOption> BoxOptions();
    void LoadBoxes();
    void StoreBoxes();
    void LoadExports();
    void StoreExports() const;
    // Refuses a selected export folder that does not exist: shows it on its page and says so.
    bool ExportFolderAccepted();
    void rbEXPUseDefaultFolderClick();
    void bbtEXPBrowseFolderClick();
    std::uint8_t CheckedContextMenuPlaces() const;
    void ShowContextMenuPlaces(std::uint8_t mask);

    TMasterBoxes saveParams_{chbSAVESearchParams,
                             {&chbSAVEFilesAndFoldersParams, &chbSAVEContainingTextParams, &chbSAVEDateAndSizeParams,
                              &chbSAVEAttributesParams}};
    TMasterBoxes loadParams_{chbLOADSearchParams,
                             {&chbLOADFilesAndFoldersParams, &chbLOADContainingTextParams, &chbLOADDateAndSizeParams,
                              &chbLOADAttributesParams}};
    TMasterBoxes saveItems_{chbSAVESearchItems,
                            {&chbSAVEFileNameItems, &chbSAVESearchPathItems, &chbSAVESearchTextItems}};
    TMasterBoxes loadItems_{chbLOADSearchItems,
                            {&chbLOADFileNameItems, &chbLOADSearchPathItems, &chbLOADSearchTextItems}};
    bool contextMenuChanged_ = false;
};

} // namespace ui
