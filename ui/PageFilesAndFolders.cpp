#include "ui/PageFilesAndFolders.h"

#include <span>

#include "engine/UKvrTYPEFile.h"
#include "ui/CheckBoxClick.h"
#include "ui/ControlIds.h"
#include "ui/PageLayout.h"

namespace ui {

using namespace layout;

void TPageFilesAndFolders::Create(HWND parent) {
    CreatePanel(parent, ids::kPageFilesAndFolders, At(0, 0, kPageWidth, kPageHeight));
    const HWND page = hwnd();
    const int sideX = kPageWidth - kSideColumn;
    const int fieldWidth = sideX - 2 * kMargin;

    // Each label comes right before its box, so its access key moves the focus there.
    lblFILEFileMask.Create(page, ids::kFileMaskLabel, L"File &Name", At(kMargin, 6, 200, kLabelHeight));
    cbmitFILEFileMask.Create(page, ids::kFileMask, At(kMargin, 21, fieldWidth, kFieldHeight));
    lblFILEFileMaskMode.Create(page, ids::kFileMaskModeLabel, L"Mode", At(sideX, 6, 120, kLabelHeight));
    cbmitFILEFileMaskMode.Create(page, ids::kFileMaskMode, kit::ComboBox::Kind::DropDownList,
                                 At(sideX, 21, 120, kFieldHeight), 8);
    cbmitFILEFileMaskMode.SetItems(
        std::span(engine::NameMaskTypeCaptions).first(engine::NameMaskTypeChoiceCount));
    cbmitFILEFileMaskMode.Select(0);

    lblFOLDERSSearchPath.Create(page, ids::kSearchPathLabel, L"Search &Path", At(kMargin, 50, 200, kLabelHeight));
    cbmfldFOLDERSSearchPath.Create(page, ids::kSearchPath, At(kMargin, 65, fieldWidth, kFieldHeight + 1));
    btnFILEBrowse.Create(page, ids::kActFILEBrowse, L"Browse...", At(sideX, 64, 120, kButtonHeight));

    const int row1 = 100, row2 = row1 + kLineStep;
    chbFOLDERSSearchInSubfolders.Create(page, ids::kSearchInSubfolders, L"Search in Subfolders",
                                        At(kMargin, row1, 180, kBoxHeight), true);
    chbFOLDERSIncludeHiddenSubfolders.Create(page, ids::kIncludeHiddenSubfolders, L"Include Hidden Subfolders",
                                             At(kMargin, row2, 180, kBoxHeight));
    chbVISUALIZEShowFileNames.Create(page, ids::kShowFileNames, L"Show Filenames", At(210, row1, 150, kBoxHeight),
                                     true);
    chbVISUALIZEShowFolderNames.Create(page, ids::kShowFolderNames, L"Show Foldernames",
                                       At(210, row2, 150, kBoxHeight), true);
    chbVISUALIZEAppendResults.Create(page, ids::kAppendResults, L"Append Results", At(390, row1, 150, kBoxHeight));

    VHLinkedSpeedButton1.Create(page, ids::kBrowseSplitButton, At(sideX, 64, 120 - TVHLinkedMenuSpeedButton::kWidth,
                                                                   kButtonHeight), L"Browse...");
    VHLinkedMenuSpeedButton1.Create(page, ids::kBrowseSplitMenuButton);
    VHLinkedSpeedButton1.SetMenuButton(&VHLinkedMenuSpeedButton1);
    pmBrowseMenu.reset(CreatePopupMenu());
    AppendMenuW(pmBrowseMenu.get(), MF_STRING, ids::actFILENewSearchPaths, L"New Search Paths");
    AppendMenuW(pmBrowseMenu.get(), MF_STRING, ids::actFILEEditSearchPaths, L"Edit Search Paths");
    VHLinkedMenuSpeedButton1.SetActiveMenu(pmBrowseMenu.get());

    const auto changed = [this] { SelectionsChanged(); };
    cbmitFILEFileMask.OnSelChange = changed;
    cbmitFILEFileMask.OnEditChange = changed;
    cbmfldFOLDERSSearchPath.OnChange = [this](TMRUFolderComboBox&) { SelectionsChanged(); };
    for (kit::CheckBox* box : {&chbFOLDERSSearchInSubfolders, &chbFOLDERSIncludeHiddenSubfolders,
                               &chbVISUALIZEAppendResults})
        box->OnClick = changed;
    chbVISUALIZEShowFileNames.OnClick = [this] { chbVISUALIZEShowFileNamesClick(); };
    chbVISUALIZEShowFolderNames.OnClick = [this] { chbVISUALIZEShowFolderNamesClick(); };

    Anchor(cbmitFILEFileMask.hwnd(), kit::AnchorTopLeftRight);
    Anchor(cbmfldFOLDERSSearchPath.hwnd(), kit::AnchorTopLeftRight);
    for (const kit::Control* side : {static_cast<const kit::Control*>(&lblFILEFileMaskMode),
                                     static_cast<const kit::Control*>(&cbmitFILEFileMaskMode),
                                     static_cast<const kit::Control*>(&btnFILEBrowse)})
        Anchor(side->hwnd(), kit::AnchorTopRight);
    Anchor(VHLinkedSpeedButton1.hwnd(), kit::AnchorTopRight);  // the half follows its master
}

void TPageFilesAndFolders::SelectionsChanged() {
    if (OnSelectionsChanged) OnSelectionsChanged();
}

void TPageFilesAndFolders::chbVISUALIZEShowFileNamesClick() { KeepOneShown(chbVISUALIZEShowFolderNames); }

void TPageFilesAndFolders::chbVISUALIZEShowFolderNamesClick() { KeepOneShown(chbVISUALIZEShowFileNames); }

void TPageFilesAndFolders::KeepOneShown(kit::CheckBox& other) {
    SelectionsChanged();
    if (!chbVISUALIZEShowFileNames.Checked() && !chbVISUALIZEShowFolderNames.Checked()) SetCheckedAndClick(other, true);
}

} // namespace ui
