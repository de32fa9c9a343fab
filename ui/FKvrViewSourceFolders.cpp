#include "ui/FKvrViewSourceFolders.h"

#include <shellapi.h>

#include <algorithm>

#include "app/OsVersion.h"
#include "app/UKvrVARGeneral.h"
#include "kit/Files.h"
#include "kit/Guard.h"
#include "kit/Interaction.h"
#include "kit/Strings.h"
#include "kit/SystemImages.h"
#include "results/TextFileWriter.h"
#include "results/listview/HourglassCursor.h"

namespace ui {
namespace {

constexpr int kClientWidth = 632;
constexpr int kClientHeight = 281;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 25;
constexpr int kIconUnknown = -1;
constexpr DWORD kFillDelay = 10;  // ms: the dialog paints before the list is filled

// The smallest window a person can drag the dialog to: the frame grew with the Vista family and again after it.
SIZE MinTrackSize(app::TWindowsVersion version) {
    if (app::IsWindowsPreVista(version)) return {640, 315};
    if (app::IsWindowsVistaFamily(version)) return {640, 317};
    return {640, 319};
}

// The strip between the list and the Close button: thinner from Vista on, whose list draws its own border.
int BorderStrip(app::TWindowsVersion version) { return app::IsWindowsPreVista(version) ? 5 : 3; }

app::TWindowsVersion StoredVersion() { return static_cast<app::TWindowsVersion>(app::GlobalWindowsVersion); }

} // namespace

TfrmKvrViewSourceFolders::TfrmKvrViewSourceFolders(const std::vector<std::wstring>& folders)
    : kit::Dialog({.title = kCaption,
                   .clientSize = {kClientWidth, kClientHeight},
                   .resizable = true,
                   .minTrackSize = MinTrackSize(StoredVersion()),
                   .maxTrackSize = {1280, 1024}}),
      folders_(folders) {}

void TfrmKvrViewSourceFolders::OnCreate() {
    const int buttonsLeft = kClientWidth - kMargin - kButtonWidth;
    const int closeTop = kClientHeight - kMargin - kButtonHeight;
    const int listBottom = closeTop - kMargin - BorderStrip(StoredVersion());
    lvSourceFoldersList.Create(hwnd(), kList, RECT{kMargin, kMargin, buttonsLeft - kMargin, listBottom});
    lvSourceFoldersList.SetColumn(kCaption, 500);
    SendMessageW(lvSourceFoldersList.hwnd(), LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(kit::SystemImageList(kit::IconSize::Small)));
    const auto buttonAt = [&](int top) { return RECT{buttonsLeft, top, buttonsLeft + kButtonWidth, top + kButtonHeight}; };
    bbtSourceFoldersOpen.Create(hwnd(), kOpen, L"Open", buttonAt(kMargin));
    bbtSourceFoldersOpenSaveToFile.Create(hwnd(), kSaveToFile, L"Save to file",
                                          buttonAt(kMargin + kButtonHeight + kMargin));
    bbtnCancel.Create(hwnd(), IDCANCEL, L"&Close", buttonAt(closeTop), {.defaultButton = true});
    Anchor(lvSourceFoldersList, kit::AnchorAll);
    Anchor(bbtSourceFoldersOpen, kit::AnchorTopRight);
    Anchor(bbtSourceFoldersOpenSaveToFile, kit::AnchorTopRight);
    Anchor(bbtnCancel, kit::AnchorRight | kit::AnchorBottom);
    lvSourceFoldersListResize();

    lvSourceFoldersList.OnData = [this](NMLVDISPINFOW& item) { lvSourceFoldersListData(item); };
    lvSourceFoldersList.OnDataHint = [this](const NMLVCACHEHINT& hint) { lvSourceFoldersListDataHint(hint); };
    lvSourceFoldersList.OnDblClick = [this] { bbtSourceFoldersOpenClick(); };
    bbtSourceFoldersOpen.OnClick = [this] { bbtSourceFoldersOpenClick(); };
    bbtSourceFoldersOpenSaveToFile.OnClick = [this] { bbtSourceFoldersOpenSaveToFileClick(); };
    bbtSourceFoldersOpen.SetEnabled(false);
    bbtSourceFoldersOpenSaveToFile.SetEnabled(false);
    SetInitialFocus(lvSourceFoldersList);
    SetTimer(hwnd(), kFillTimer, kFillDelay, nullptr);
}

bool TfrmKvrViewSourceFolders::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_TIMER:
        if (wp != kFillTimer) return false;
        timTimerTimer();
        result = 0;
        return true;
    case WM_SIZE:
        lvSourceFoldersListResize();  // the layout has placed the list
        return false;
    }
    return false;
}

void TfrmKvrViewSourceFolders::timTimerTimer() {
    KillTimer(hwnd(), kFillTimer);
    const results::HourglassCursor wait;
    icons_.assign(folders_.size(), kIconUnknown);
    count_ = static_cast<int>(std::min<size_t>(folders_.size(), INT_MAX));
    lvSourceFoldersList.SetItemCount(count_);
    lvSourceFoldersList.SetColumn(std::wstring(kCaption) + L": " + std::to_wstring(count_), 500);
    lvSourceFoldersListResize();
    if (count_ > 0) lvSourceFoldersList.SelectItem(0);
    bbtSourceFoldersOpen.SetEnabled(true);
    bbtSourceFoldersOpenSaveToFile.SetEnabled(true);
}

void TfrmKvrViewSourceFolders::lvSourceFoldersListData(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    if (item.iItem < 0 || item.iItem >= count_) return;
    const std::wstring& folder = folders_[static_cast<size_t>(item.iItem)];
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        lstrcpynW(item.pszText, folder.c_str(), item.cchTextMax);
    if (item.mask & LVIF_IMAGE) item.iImage = IconOf(item.iItem);
}

void TfrmKvrViewSourceFolders::lvSourceFoldersListDataHint(const NMLVCACHEHINT& hint) {
    for (int index = std::max(hint.iFrom, 0); index <= hint.iTo && index < count_; ++index) IconOf(index);
}

void TfrmKvrViewSourceFolders::lvSourceFoldersListResize() {
    if (!lvSourceFoldersList.hwnd()) return;
    const RECT bounds = lvSourceFoldersList.Bounds();
    lvSourceFoldersList.SetColumnWidth(bounds.right - bounds.left - 24);
}

int TfrmKvrViewSourceFolders::IconOf(int index) {
    int& icon = icons_[static_cast<size_t>(index)];
    // A folder without an icon is not asked again.
    if (icon == kIconUnknown) icon = kit::SmallSystemIconIndex(folders_[static_cast<size_t>(index)]);
    return icon;
}

void TfrmKvrViewSourceFolders::bbtSourceFoldersOpenClick() {
    const int focused = lvSourceFoldersList.FocusedItem();
    if (focused < 0 || focused >= count_) return;
    // What the shell answers is not reported: it shows its own message when it has one.
    kit::UserInteraction().ShellExecuteVerb(
        hwnd(), {.verb = L"Open", .file = folders_[static_cast<size_t>(focused)], .showCommand = SW_SHOWNORMAL});
}

void TfrmKvrViewSourceFolders::bbtSourceFoldersOpenSaveToFileClick() {
    kit::Interaction& interaction = kit::UserInteraction();
    const std::optional<kit::SaveFileAnswer> answer = interaction.SaveFile(
        hwnd(), {.title = kSaveTitle,
                 .types = {{L"Text files (*.txt)", L"*.TXT"}, {L"All files (*.*)", L"*.*"}},
                 .typeIndex = 1});
    if (!answer || answer->fileName.empty()) return;
    std::wstring fileName = answer->fileName;
    if (answer->typeIndex == 1 && kit::UpperCase(kit::ExtractFileExt(fileName)) != L".TXT" &&
        !kit::AddExtensionAskingOverwrite(hwnd(), fileName, L".txt", kSaveTitle))
        return;
    try {
        SaveList(fileName);
    } catch (...) {
        interaction.ShowMessage(hwnd(), L"Error: " + kit::CurrentExceptionMessage(), kit::MessageType::Error,
                                kit::MessageButtons::Ok);
    }
}

void TfrmKvrViewSourceFolders::SaveList(const std::wstring& fileName) const {
    results::TTextFileWriter file(fileName);
    file.Write(L"\xFEFF");
    for (const std::wstring& folder : folders_) file.WriteLine(folder);
    file.Commit();
}

void ShowSourceFolders(HWND owner, const std::vector<std::wstring>& folders) {
    app::GlobalWindowsVersion = app::GetWindowsVersion();  // the dialog sizes its frame by it
    TfrmKvrViewSourceFolders dialog(folders);
    dialog.ShowModal(owner);
}

} // namespace ui
