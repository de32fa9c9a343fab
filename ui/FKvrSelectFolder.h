#pragma once
// The destination prompts of the result list's file actions: a folder for Copy and Move to Folder, and a place
// for Create Shortcut (the desktop, each file's own folder, or a folder chosen).
#include <string>

#include "kit/Controls.h"
#include "kit/Dialog.h"
#include "results/listview/FolderPrompts.h"

namespace ui {

class TfrmKvrSelectFolder : public kit::Dialog {
public:
    enum class TPage { CutCopy, CreateShortcut };
    struct TTexts {
        std::wstring caption;
        std::wstring prompt;  // CutCopy
        std::wstring desktop, sourceFolder, selectedFolder;  // CreateShortcut: the three choices
    };
    static constexpr const wchar_t* kBrowseCaption = L"Browse Folder";
    // Control ids, for the tests.
    static constexpr int kPrompt = 100;
    static constexpr int kFolder = 101;
    static constexpr int kBrowse = 102;
    static constexpr int kOnDesktop = 103;
    static constexpr int kInSourceFolder = 104;
    static constexpr int kInSelectedFolder = 105;

    // `folder` starts the edit. `desktopFolder` is where "On the Desktop" puts shortcuts: empty when the shell
    // gives none, which refuses that choice.
    TfrmKvrSelectFolder(TPage page, TTexts texts, std::wstring folder, std::wstring desktopFolder = {});

    // After OK: the folder chosen; empty for "In Source Folder" (each file's own folder).
    const std::wstring& Folder() const { return folder_; }

protected:
    void OnCreate() override;
    void OnOk() override;

private:
    void CreateCutCopyPage(int width);
    void CreateShortcutPage(int width);
    void CreateButtons(int width, int height);
    kit::Edit& FolderEdit() { return page_ == TPage::CutCopy ? edCUTCOPYFolder : edCREATESHORTCUTFolder; }
    // The OK rule, run by every change of an edit or a choice.
    void FolderChange(bool byChoice);
    bool OkAllowed();
    void BrowseClick();

    TPage page_;
    TTexts texts_;
    std::wstring folder_;
    std::wstring desktopFolder_;

    kit::Label lbCUTCOPYPrompt;
    kit::Edit edCUTCOPYFolder;
    kit::Button bbtCUTCOPYBrowse;
    kit::RadioButton rbCREATESHORTCUTOnDesktop;
    kit::RadioButton rbCREATESHORTCUTInSourceFolder;
    kit::RadioButton rbCREATESHORTCUTInSelectedFolder;
    kit::Edit edCREATESHORTCUTFolder;
    kit::Button bbtCREATESHORTCUTBrowse;
    kit::Button bbtOK;
    kit::Button bbtCancel;
};

// The Copy/Move to Folder prompt, modal over `owner`: IDOK, `folder` then holding the folder chosen, or IDCANCEL.
int SelectFolder(HWND owner, const std::wstring& caption, const std::wstring& prompt, std::wstring& folder);
// The Create Shortcut prompt, modal over `owner`: IDOK, `folder` then holding the desktop folder, an empty text
// (each file's own folder) or the folder chosen; or IDCANCEL.
int SelectShortcutFolder(HWND owner, const std::wstring& caption, const std::wstring& desktopCaption,
                         const std::wstring& sourceFolderCaption, std::wstring& folder,
                         const std::wstring& selectedFolderCaption);

// Both prompts, owned by `owner`, as the result list asks them.
results::TFolderPrompts FolderPromptsOwnedBy(HWND owner);

} // namespace ui
