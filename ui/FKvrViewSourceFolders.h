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

namespace ui {

// A report list that holds no rows of its own (owner data): it asks for each row as it draws it.
class TVirtualList : public kit::Control {
public:
    void Create(HWND parent, int id, const RECT& bounds, const kit::ControlOptions& options = {});
    void SetColumn(const std::wstring& caption, int width);
    void SetColumnWidth(int width);
    void SetItemCount(int count);
    // The focused row, -1 for none.
    int FocusedItem() const;
    // Selects and focuses a row.
    void SelectItem(int index);

    std::function<void(NMLVDISPINFOW& item)> OnData;        // LVN_GETDISPINFO: the row's text and image
    std::function<void(const NMLVCACHEHINT& hint)> OnDataHint;  // LVN_ODCACHEHINT: rows about to be drawn
    std::function<void()> OnDblClick;

protected:
    bool OnNotifyCode(NMHDR& header, LRESULT& result) override;
};

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
