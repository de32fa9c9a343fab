#pragma once
// The "Files and Folders" criteria page: the file-name mask and its mode, the search path, and the folder and
// display switches.
#include <functional>

#include "kit/Controls.h"
#include "kit/Handles.h"
#include "kit/Panel.h"
#include "ui/MRUFolderComboBox.h"
#include "ui/MRUItemsComboBox.h"
#include "ui/VHMenuSpeedButtons.h"

namespace ui {

class TPageFilesAndFolders : public kit::Panel {
public:
    static constexpr const wchar_t* kCaption = L"Files and Folders";

    // `parent` is the page control the page sits in.
    void Create(HWND parent);

    // Raised when a criterion changed here; the main window tracks it.
    std::function<void()> OnSelectionsChanged;
    // At least one of Show Filenames and Show Foldernames stays checked: unchecking the last checks the other.
    void chbVISUALIZEShowFileNamesClick();
    void chbVISUALIZEShowFolderNamesClick();

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
    // A split Browse button with the browse menu, made, linked and kept hidden in the Browse button's place.
    TVHLinkedSpeedButton VHLinkedSpeedButton1;
    TVHLinkedMenuSpeedButton VHLinkedMenuSpeedButton1;
    kit::UniqueMenu pmBrowseMenu;

private:
    void SelectionsChanged();
    void KeepOneShown(kit::CheckBox& other);
};

} // namespace ui
