#pragma once
// The "Source Folders" dialog: the folders that held the last search's results, in the order met, with their
// icons; a folder opened in the shell; the list saved to a text file.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "kit/Controls.h"
#include "kit/Dialog.h"
#include "ui/VirtualList.h"

namespace ui {

class TfrmKvrViewSourceFolders : public kit::Dialog {
public:
    static constexpr const wchar_t* kCaption = L"Source Folders";
    static constexpr const wchar_t* kSaveTitle = L"Save Source Folders";
    static constexpr int kList = 100;
    static constexpr int kOpen = 101;
    static constexpr int kSaveToFile = 102;  // the Close button is IDCANCEL
    static constexpr UINT_PTR kFillTimer = 1;

    explicit TfrmKvrViewSourceFolders(const std::vector<std::wstring>& folders);

protected:
    void OnCreate() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void timTimerTimer();
    void lvSourceFoldersListData(NMLVDISPINFOW& item);
    void lvSourceFoldersListDataHint(const NMLVCACHEHINT& hint);
    void lvSourceFoldersListResize();
    void bbtSourceFoldersOpenClick();
    void bbtSourceFoldersOpenSaveToFileClick();
    // The folder's system icon, looked up the first time a row needs it.
    int IconOf(int index);
    // Writes the list, one folder a line, UTF-8 with a byte-order mark; throws kit::Exception when it cannot.
    void SaveList(const std::wstring& fileName) const;

    std::vector<std::wstring> folders_;
    std::vector<int> icons_;  // an index in the system image list per folder; kIconUnknown until looked up
    int count_ = 0;           // the rows shown, taken when the list is filled
    TVirtualList lvSourceFoldersList;
    kit::Button bbtSourceFoldersOpen;
    kit::Button bbtSourceFoldersOpenSaveToFile;
    kit::Button bbtnCancel;
};

// Shows the dialog modal over `owner` with a copy of the folders.
void ShowSourceFolders(HWND owner, const std::vector<std::wstring>& folders);

} // namespace ui
