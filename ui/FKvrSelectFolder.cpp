#include "ui/FKvrSelectFolder.h"

#include <shlobj.h>

#include <optional>
#include <utility>

#include "app/OsVersion.h"
#include "app/ShellNamespace.h"
#include "app/UKvrVARGeneral.h"
#include "kit/Files.h"
#include "kit/Interaction.h"

namespace ui {
namespace {

// The window sizes of the two pages, frame included.
constexpr SIZE kCutCopySize{490, 152};
constexpr SIZE kCreateShortcutSize{490, 197};
constexpr int kMargin = 12;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 25;
constexpr int kEditHeight = 23;
constexpr int kLineHeight = 20;

RECT At(int x, int y, int width, int height) { return RECT{x, y, x + width, y + height}; }

// A fully qualified path of an existing folder. A relative one would be resolved against whatever the current
// directory happens to be.
bool NamesExistingFolder(const std::wstring& text) {
    return kit::IsFullyQualifiedPath(text) && kit::DirectoryExists(text);
}

} // namespace

TfrmKvrSelectFolder::TfrmKvrSelectFolder(TPage page, TTexts texts, std::wstring folder, std::wstring desktopFolder)
    : kit::Dialog({.title = texts.caption}),
      page_(page),
      texts_(std::move(texts)),
      folder_(std::move(folder)),
      desktopFolder_(std::move(desktopFolder)) {}

void TfrmKvrSelectFolder::OnCreate() {
    const SIZE size = page_ == TPage::CutCopy ? kCutCopySize : kCreateShortcutSize;
    SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (page_ == TPage::CutCopy) CreateCutCopyPage(client.right);
    else CreateShortcutPage(client.right);
    CreateButtons(client.right, client.bottom);

    edCUTCOPYFolder.OnChange = [this] { FolderChange(false); };
    edCREATESHORTCUTFolder.OnChange = [this] { FolderChange(false); };
    for (kit::RadioButton* choice :
         {&rbCREATESHORTCUTOnDesktop, &rbCREATESHORTCUTInSourceFolder, &rbCREATESHORTCUTInSelectedFolder})
        choice->OnClick = [this] { FolderChange(true); };
    bbtCUTCOPYBrowse.OnClick = [this] { BrowseClick(); };
    bbtCREATESHORTCUTBrowse.OnClick = [this] { BrowseClick(); };
    FolderChange(false);
    if (page_ == TPage::CutCopy) SetInitialFocus(edCUTCOPYFolder);
}

void TfrmKvrSelectFolder::CreateCutCopyPage(int width) {
    const int editWidth = width - 2 * kMargin - kButtonWidth - 8;
    lbCUTCOPYPrompt.Create(hwnd(), kPrompt, texts_.prompt, At(kMargin, 12, width - 2 * kMargin, 16));
    edCUTCOPYFolder.Create(hwnd(), kFolder, At(kMargin, 32, editWidth, kEditHeight), folder_);
    bbtCUTCOPYBrowse.Create(hwnd(), kBrowse, L"&Browse...", At(width - kMargin - kButtonWidth, 31, kButtonWidth,
                                                                  kButtonHeight));
}

void TfrmKvrSelectFolder::CreateShortcutPage(int width) {
    const int choiceWidth = width - 2 * kMargin;
    rbCREATESHORTCUTOnDesktop.Create(hwnd(), kOnDesktop, texts_.desktop, At(kMargin, 10, choiceWidth, kLineHeight),
                                     true, true);
    rbCREATESHORTCUTInSourceFolder.Create(hwnd(), kInSourceFolder, texts_.sourceFolder,
                                          At(kMargin, 32, choiceWidth, kLineHeight), false);
    rbCREATESHORTCUTInSelectedFolder.Create(hwnd(), kInSelectedFolder, texts_.selectedFolder,
                                            At(kMargin, 54, choiceWidth, kLineHeight), false);
    const int editWidth = width - 2 * kMargin - kButtonWidth - 8;
    // A group of its own, so the arrow keys stay among the choices.
    edCREATESHORTCUTFolder.Create(hwnd(), kFolder, At(kMargin + 17, 80, editWidth - 17, kEditHeight), folder_,
                                  {.startsGroup = true});
    bbtCREATESHORTCUTBrowse.Create(hwnd(), kBrowse, L"&Browse...",
                                   At(width - kMargin - kButtonWidth, 79, kButtonWidth, kButtonHeight));
}

void TfrmKvrSelectFolder::CreateButtons(int width, int height) {
    const int top = height - kMargin - kButtonHeight;
    const int cancelLeft = width - kMargin - kButtonWidth;
    bbtOK.Create(hwnd(), IDOK, L"&OK", At(cancelLeft - 8 - kButtonWidth, top, kButtonWidth, kButtonHeight),
                 {.startsGroup = true});
    // Enter cancels: a folder operation starts only from a deliberate OK.
    bbtCancel.Create(hwnd(), IDCANCEL, L"&Cancel", At(cancelLeft, top, kButtonWidth, kButtonHeight),
                     {.defaultButton = true});
}

void TfrmKvrSelectFolder::FolderChange(bool byChoice) {
    if (page_ == TPage::CreateShortcut) {
        const bool selected = rbCREATESHORTCUTInSelectedFolder.Checked();
        edCREATESHORTCUTFolder.SetEnabled(selected);
        bbtCREATESHORTCUTBrowse.SetEnabled(selected);
        if (byChoice && selected)
            SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edCREATESHORTCUTFolder.hwnd()), TRUE);
    }
    bbtOK.SetEnabled(OkAllowed());
}

bool TfrmKvrSelectFolder::OkAllowed() {
    if (page_ == TPage::CutCopy) return NamesExistingFolder(edCUTCOPYFolder.Text());
    // An empty answer means each file's own folder: a desktop the shell cannot name must not pass for that.
    if (rbCREATESHORTCUTOnDesktop.Checked()) return !desktopFolder_.empty();
    if (rbCREATESHORTCUTInSourceFolder.Checked()) return true;
    return rbCREATESHORTCUTInSelectedFolder.Checked() && NamesExistingFolder(edCREATESHORTCUTFolder.Text());
}

void TfrmKvrSelectFolder::OnOk() {
    if (!OkAllowed()) return;
    if (page_ == TPage::CutCopy) folder_ = edCUTCOPYFolder.Text();
    else if (rbCREATESHORTCUTOnDesktop.Checked()) folder_ = desktopFolder_;
    else if (rbCREATESHORTCUTInSourceFolder.Checked()) folder_.clear();
    else folder_ = edCREATESHORTCUTFolder.Text();
    End(IDOK);
}

void TfrmKvrSelectFolder::BrowseClick() {
    kit::Edit& edit = FolderEdit();
    std::wstring start = edit.Text();
    if (!start.empty() && start.back() != L'\\') start += L'\\';
    const std::optional<std::wstring> chosen =
        kit::UserInteraction().BrowseForFolder(hwnd(), {kBrowseCaption, start});
    if (!chosen) {
        // Copy and Move take a cancelled browser for a cancelled prompt; Create Shortcut still offers its other
        // places.
        if (page_ == TPage::CutCopy) End(IDCANCEL);
        return;
    }
    if (!chosen->empty()) edit.SetText(*chosen);
}

int SelectFolder(HWND owner, const std::wstring& caption, const std::wstring& prompt, std::wstring& folder) {
    app::GlobalWindowsVersion = app::GetWindowsVersion();
    TfrmKvrSelectFolder dialog(TfrmKvrSelectFolder::TPage::CutCopy, {.caption = caption, .prompt = prompt}, folder);
    const auto result = static_cast<int>(dialog.ShowModal(owner));
    if (result == IDOK) folder = dialog.Folder();
    return result;
}

int SelectShortcutFolder(HWND owner, const std::wstring& caption, const std::wstring& desktopCaption,
                         const std::wstring& sourceFolderCaption, std::wstring& folder,
                         const std::wstring& selectedFolderCaption) {
    app::GlobalWindowsVersion = app::GetWindowsVersion();
    TfrmKvrSelectFolder dialog(TfrmKvrSelectFolder::TPage::CreateShortcut,
                               {.caption = caption,
                                .desktop = desktopCaption,
                                .sourceFolder = sourceFolderCaption,
                                .selectedFolder = selectedFolderCaption},
                               folder, app::GetSpecialFolderPath(CSIDL_DESKTOPDIRECTORY));
    const auto result = static_cast<int>(dialog.ShowModal(owner));
    if (result == IDOK) folder = dialog.Folder();
    return result;
}

results::TFolderPrompts FolderPromptsOwnedBy(HWND owner) {
    return {
        .SelectFolder = [owner](const std::wstring& caption, const std::wstring& prompt,
                                std::wstring& folder) { return SelectFolder(owner, caption, prompt, folder); },
        .SelectShortcutFolder =
            [owner](const std::wstring& caption, const std::wstring& desktopCaption,
                    const std::wstring& sourceFolderCaption, std::wstring& folder,
                    const std::wstring& selectedFolderCaption) {
                return SelectShortcutFolder(owner, caption, desktopCaption, sourceFolderCaption, folder,
                                            selectedFolderCaption);
            },
    };
}

} // namespace ui
