#pragma once
// The "Most Recent Used Items" dialog: the recent file names (as text, as wildcards), search paths and search
// texts (as words, as phrases), one list a page, whose entries can be deleted and reordered. OK writes the lists
// in memory (the main window stores them when it closes); Cancel changes nothing.
#include <functional>
#include <string>

#include "app/ApplicationItems.h"
#include "kit/Controls.h"
#include "ui/SettingsDialog.h"

namespace ui {

// A one-column report list of a recent list's entries, each row with an icon of the shell's image list.
class TItemsListView : public kit::Control {
public:
    void Create(HWND parent, int id, const RECT& bounds);
    int Count() const;
    std::wstring Caption(int index) const;
    int ImageIndex(int index) const;
    // -1 for none.
    int SelectedIndex() const;
    // Selects and focuses the row, and scrolls it into view.
    void Select(int index);
    void Add(const std::wstring& caption, int image);
    void SetRow(int index, const std::wstring& caption, int image);
    void Delete(int index);
    void Clear();
    // The column spans the list, leaving room for its scroll bar.
    void FitColumn();

    // A row's selection or focus changed, by the person or the program.
    std::function<void()> OnItemStateChange;

protected:
    bool OnNotifyCode(NMHDR& header, LRESULT& result) override;
};

// The small icon index of a file type ("*.DOC") in the shell's image list.
int GetFileTypeIconIndex(const std::wstring& pattern);
// A trimmed text holding "<" and a later ">" gives the tag from the one through the other and the trimmed rest
// after it; any other gives no tag and the trimmed text.
void SplitTaggedPath(const std::wstring& text, std::wstring& tag, std::wstring& value);

enum TItemsKind { ikFileMasks, ikSearchPaths, ikTexts };

void FillItemsListView(const app::TMRUItems& list, TItemsListView& view, TItemsKind kind);
void ListViewToStrings(const TItemsListView& view, app::TMRUItems& list);
void SelectFirstIfNone(TItemsListView& view);
void UpdateItemButtons(const TItemsListView& view, kit::Button& deleteButton, kit::Button& moveUp,
                       kit::Button& deleteAll, kit::Button& moveDown);
void DeleteSelectedItem(TItemsListView& view);
void SwapItems(TItemsListView& view, int a, int b);
void MoveItemUp(TItemsListView& view);
void MoveItemDown(TItemsListView& view);

// A page: the list of one recent list and its four buttons.
class TItemsPage : public TDialogPage {
public:
    // Makes the controls of a page already made: the list, then Delete, Move Up, Move Down, Delete All, with
    // the ids from `firstId`.
    void CreateControls(int firstId);
    void UpdateButtons();

    TItemsListView lvItems;
    kit::Button bbtDelete, bbtMoveUp, bbtMoveDown, bbtDeleteAll;
};

class TfrmKvrManageItems : public TSettingsDialog {
public:
    // The pages, in the tree's order.
    enum Page { pgFileMaskAsText, pgFileMaskAsWildcards, pgSearchPath, pgSearchTextAsWords, pgSearchTextAsPhrases };
    // The pages' ids follow the tree's; each page's controls have a block of ids.
    enum Id : int { idConfigMenu = 100, idPageFirst, idControlsFirst = 200, idControlsStride = 10 };

    // Edits app::GlobalApplicationInit's recent lists; sized by app::GlobalWindowsVersion.
    TfrmKvrManageItems();

    TItemsPage tshFileMaskAsText, tshFileMaskAsWildcards, tshSearchPath, tshSearchTextAsWords,
        tshSearchTextAsPhrases;

protected:
    void OnCreate() override;
    void OnOk() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    struct PageSource {
        TItemsPage* page;
        const wchar_t* caption;
        app::TMRUItems* list;
        TItemsKind kind;
    };
    // In the order of Page.
    std::vector<PageSource> Sources();
};

} // namespace ui
