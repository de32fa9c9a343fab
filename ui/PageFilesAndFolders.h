#pragma once
// The "Files and Folders" criteria page: the file-name mask and its mode, the search path, and the folder and
// display switches.
#include "kit/Controls.h"
#include "kit/Panel.h"
#include "ui/MRUFolderComboBox.h"
#include "ui/MRUItemsComboBox.h"

namespace ui {

class TPageFilesAndFolders : public kit::Panel {
public:
    static constexpr const wchar_t* kCaption = L"Files and Folders";

    // `parent` is the page control the page sits in.
    void Create(HWND parent);

    kit::Label lblFILEFileMask;
    TMRUItemsComboBox cbmitFILEFileMask;
    kit::Label lblFILEFileMaskMode;
    kit::ComboBox cbmitFILEFileMaskMode;
    kit::Label lblFOLDERSSearchPath;
    TMRUFolderComboBox cbmfldFOLDERSSearchPath;
    kit::Button btnFILEBrowse;  // bound to the Browse action by the main window
    kit::CheckBox chbFOLDERSSearchInSubfolders;
    kit::CheckBox chbFOLDERSIncludeHiddenSubfolders;
    kit::CheckBox chbVISUALIZEShowFileNames;
    kit::CheckBox chbVISUALIZEShowFolderNames;
    kit::CheckBox chbVISUALIZEAppendResults;
};

} // namespace ui
