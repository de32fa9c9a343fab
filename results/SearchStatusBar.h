#pragma once
// The main window's status bar: the search path or an information text, the object count, the total size, the
// state word (or the export's progress bar over it) and a picture of the search state.
#include "kit/Controls.h"
#include "kit/Handles.h"

#include <windows.h>

#include <array>
#include <string>

namespace results {

class TResultTable;

// What the bar reads of the folder walker; the walker answers it.
class TSearchState {
public:
    virtual ~TSearchState() = default;
    virtual bool Running() const = 0;
    virtual bool Suspended() const = 0;
};

class TSearchStatusBar : public kit::Control {
public:
    static constexpr int PanelCount = 5;
    static constexpr int ProgressPanel = 3;
    static constexpr int StatePanel = 4;

    // Creates the bar along the bottom of `parent`, a kit window or dialog: the owner-drawn panels' WM_DRAWITEM
    // reaches the bar by reflection.
    TSearchStatusBar(HWND parent, int id);
    ~TSearchStatusBar() override;

    HWND ProgressBar() const { return progress_; }
    // The parent calls it from its WM_SIZE: a status bar places itself along the parent's bottom edge when told.
    void ParentResized();

    // Panel 0 gets " " and the path, shortened with "..." to the panel's width.
    void SetTextSearchPath(const std::wstring& path);
    const std::wstring& TextSearchInfo() const { return panels_[0].text; }
    void SetTextSearchInfo(const std::wstring& text) { SetPanelText(0, text); }
    void SetTextTotalObiects(const std::wstring& text) { SetPanelText(1, text); }
    void SetTextTotalSize(const std::wstring& text) { SetPanelText(2, text); }
    // Showing the bar puts it over panel 3 in place of the state word.
    void SetProgressBarVisible(bool visible);
    void SetProgressBarPosition(int position);
    // Empties panels 0 to 2; the state word and picture stay.
    void Clear();

    // Until all three are set the bar shows "Ready". The list view is only checked for being there.
    void SetMerrowinFile(const TSearchState* walker) { walker_ = walker; }
    void SetResultTable(const TResultTable* table) { table_ = table; }
    void SetResultListView(HWND listView) { listView_ = listView; }

    // The summed width of panels 1 to 4; panel 0 takes what the bar has beyond it.
    int FixedPanelsWidth() const { return fixedWidth_; }
    // From now on panels 1 to 4 fit the bar's font instead of the design: panels 1 to 3 get their design widths
    // scaled to the font, and never less than their texts for a search of 100,000 files need; panel 4 gets its
    // width scaled to the display's DPI. On a bar too narrow for those and the summary of such a search, panels 3,
    // 2 and 1 in turn give up their room beyond what their texts need to panel 0. The main window asks for it once
    // it has made the bar.
    void FitPanelWidths();
    // The bar's width at which every panel shows its text for a search of 100,000 files whole, panel 0 its
    // summary on two lines.
    int WidthForSearchTexts() const;
    const std::wstring& PanelText(int index) const { return panels_[static_cast<size_t>(index)].text; }
    // What panel 0 shows of its text at its width: all of it when it fits its lines; else its leading " - " parts
    // that fit, and " ..."; a first part too long for the lines alone is shown cut with an ellipsis.
    std::wstring ShownInfoText() const;

protected:
    // The bar's own resize lays out the panels.
    bool OnOwnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    // WM_DRAWITEM of the owner-drawn panels.
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    struct Panel {
        int width;
        bool ownerDraw;
        std::wstring text;
        int leastWidth = width;  // what the panel keeps on a narrow bar
    };
    enum class State { Ready, Busy, Pause, Unchanged };

    void LayOutPanels();
    void SendPanel(int index) const;
    bool SetPanelText(int index, const std::wstring& text);
    // Panel 0 is drawn by the bar, so the control holds no text of it: its text is answered here.
    LRESULT AnswerInfoText(UINT msg, LPARAM lp) const;
    void DrawPanel(const DRAWITEMSTRUCT& item);
    void DrawInfo(HDC dc, const RECT& panel) const;
    // The narrowest width of panel 0 that shows `text` whole.
    int InfoWidthFor(const std::wstring& text) const;
    // Whether `text` wraps into panel 0's lines at a panel width, no word wider than a line.
    bool InfoFits(HDC dc, const std::wstring& text, int width) const;
    void PlaceProgressBar(const RECT& panel) const;
    void DrawState(HDC dc, const RECT& panel);
    State CurrentState() const;

    HWND progress_ = nullptr;  // a child of the bar, destroyed with it
    std::array<Panel, PanelCount> panels_;
    int fixedWidth_ = 0;
    int infoWidth_ = 0;  // the room panel 0 is given first, while panels 1 to 3 have room to spare
    kit::UniqueBitmap notRunning_, suspended_, running_;
    const TSearchState* walker_ = nullptr;
    const TResultTable* table_ = nullptr;
    HWND listView_ = nullptr;
};

} // namespace results
