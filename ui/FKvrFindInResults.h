#pragma once
// The "Find in Results" window: a small modeless tool window over the result list's find item. It searches one
// column for a text, lists the matching rows with their icons, and moves the list's selection to the match
// chosen. Closing hides it; the main window keeps it for the next time.
#include <windows.h>

#include <functional>
#include <vector>

#include "kit/Controls.h"
#include "kit/Dialog.h"
#include "kit/Handles.h"
#include "results/listview/ResultFindItem.h"
#include "ui/VirtualList.h"

namespace ui {

class TfrmKvrFindInResults : public kit::Dialog {
public:
    static constexpr const wchar_t* kCaption = L"Find in Results";
    static constexpr int kValue = 100;
    static constexpr int kColumn = 101;
    static constexpr int kFirstPosition = 102;
    static constexpr int kWholeWord = 103;
    static constexpr int kCaseSensitive = 104;
    static constexpr int kFirst = 110;
    static constexpr int kPrior = 111;
    static constexpr int kNext = 112;
    static constexpr int kLast = 113;
    static constexpr int kResults = 120;
    static constexpr COLORREF kNoMatchColour = RGB(255, 204, 204);
    static constexpr COLORREF kMatchColour = RGB(217, 255, 217);

    explicit TfrmKvrFindInResults(results::TResultListView& list);
    ~TfrmKvrFindInResults() override;

    // Made once, hidden, owned by the main window and above it.
    void CreateFor(HWND owner);
    // Shows and activates it with the typed text ready to be replaced.
    void Open();
    // Hides it, ends the highlight in the list and tells OnClosed; Escape and the close box come here too.
    void Close();
    std::function<void()> OnClosed;
    // While a search runs the matches cannot be looked at: the controls are off.
    void DisableControls();
    void EnableControls();

protected:
    void OnCreate() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnOk() override {}  // Enter with "Next" disabled: nothing to go to
    void OnCancel() override { Close(); }

private:
    enum class EditLook { Plain, NoMatch, Match };
    static constexpr UINT kRefreshMessage = WM_APP + 1;

    void FormActivate();
    void edSearchInResultsValueChange();
    void cbSearchInResultFieldChange();
    void bbtSearchInResultsFirstClick();
    void bbtSearchInResultsPriorClick();
    void bbtSearchInResultsNextClick();
    void bbtSearchInResultsLastClick();
    void vleFindResultsClick();
    void vleFindResultsData(NMLVDISPINFOW& info);
    void OnMinMaxInfo(MINMAXINFO& info) const;
    bool OnEditColour(HDC dc, LRESULT& result) const;

    // A setting changed: the find item searches again when it differs, and the window shows the matches.
    void RefreshSequence(const std::function<void()>& setter);
    // The rows changed under the matches while the window shows: they are found again once the change is done.
    void OnMatchesStale();
    void RefreshMatches();
    void FillResults();
    void UpdateNavigator();
    void GoToSelectedMatch();
    void SelectRow(int row);
    int CurrentRow() const { return vleFindResults.FocusedItem(); }
    int IconOf(results::TFindMatchLine& line) const;
    void SetControlsEnabled(bool enabled);
    int KeyColumnWidth() const;

    results::TResultListView& list_;
    results::TResultFindItem& item_;
    std::vector<results::TFindMatchLine> lines_;
    EditLook look_ = EditLook::Plain;
    kit::UniqueBrush noMatchBrush_;
    kit::UniqueBrush matchBrush_;
    int filling_ = 0;
    bool enabled_ = true;
    bool refreshPosted_ = false;

    kit::Label lblValue;
    kit::Edit edSearchInResultsValue;
    kit::Label lblColumn;
    kit::ComboBox cbSearchInResultField;
    kit::CheckBox chbFindFirstPosition;
    kit::CheckBox chbFindWholeWord;
    kit::CheckBox chbFindCaseSensitive;
    kit::Button bbtSearchInResultsFirst;
    kit::Button bbtSearchInResultsPrior;
    kit::Button bbtSearchInResultsNext;
    kit::Button bbtSearchInResultsLast;
    TVirtualList vleFindResults;
};

} // namespace ui
