#include "ui/PageContainingText.h"

#include <span>

#include "engine/UKvrTYPEFile.h"
#include "ui/ControlIds.h"
#include "ui/PageLayout.h"

namespace ui {

using namespace layout;

void TPageContainingText::Create(HWND parent) {
    CreatePanel(parent, ids::kPageContainingText, At(0, 0, kPageWidth, kPageHeight));
    const HWND page = hwnd();
    const int sideX = kPageWidth - kSideColumn;

    lblTEXTSearchText.Create(page, ids::kSearchTextLabel, L"Search Te&xt", At(kMargin, 6, 200, kLabelHeight));
    cbmitTEXTSearchText.Create(page, ids::kSearchText, At(kMargin, 21, sideX - 2 * kMargin, kFieldHeight));
    lblTEXTTextMaskMode.Create(page, ids::kTextMaskModeLabel, L"Mode", At(sideX, 6, 120, kLabelHeight));
    cbmitTEXTTextMaskMode.Create(page, ids::kTextMaskMode, kit::ComboBox::Kind::DropDownList,
                                 At(sideX, 21, 120, kFieldHeight), 8);
    cbmitTEXTTextMaskMode.SetItems(std::span(engine::TextMaskTypeCaptions).first(engine::TextMaskTypeChoiceCount));
    cbmitTEXTTextMaskMode.Select(0);

    // Four columns under the text: how words match, then what the text search leaves out.
    const int top = 56;
    const auto line = [top](int n) { return top + n * kLineStep; };
    rbTEXTAnyWords.Create(page, ids::kAnyWords, L"Match Any", At(kMargin, line(0), 110, kBoxHeight), true, true);
    rbTEXTAllWords.Create(page, ids::kAllWords, L"Match All", At(kMargin, line(1), 110, kBoxHeight), false);
    constexpr int column2 = 130, column3 = 290, column4 = 450;
    chbTEXTWholeWords.Create(page, ids::kWholeWords, L"Whole Words", At(column2, line(0), 140, kBoxHeight));
    chbTEXTCaseSensitive.Create(page, ids::kCaseSensitive, L"Case Sensitive", At(column2, line(1), 140, kBoxHeight));
    chbTEXTWithout.Create(page, ids::kWithout, L"Without", At(column2, line(2), 140, kBoxHeight));
    chbTEXTSkipHiddenFiles.Create(page, ids::kSkipHiddenFiles, L"Skip Hidden Files",
                                  At(column3, line(0), 140, kBoxHeight), true);
    chbTEXTSkipSystemFiles.Create(page, ids::kSkipSystemFiles, L"Skip System Files",
                                  At(column3, line(1), 140, kBoxHeight), true);
    chbTEXTSkipImageFiles.Create(page, ids::kSkipImageFiles, L"Skip Image Files",
                                 At(column3, line(2), 140, kBoxHeight), true);
    chbTEXTSkipAudioFiles.Create(page, ids::kSkipAudioFiles, L"Skip Audio Files",
                                 At(column4, line(0), 140, kBoxHeight), true);
    chbTEXTSkipVideoFiles.Create(page, ids::kSkipVideoFiles, L"Skip Video Files",
                                 At(column4, line(1), 140, kBoxHeight), true);
    chbTEXTUseTextFilters.Create(page, ids::kUseTextFilters, L"Use Text Filters",
                                 At(column4, line(2), 140, kBoxHeight));
    chbTEXTUseTextFilters.SetVisible(false);

    Anchor(cbmitTEXTSearchText.hwnd(), kit::AnchorTopLeftRight);
    Anchor(lblTEXTTextMaskMode.hwnd(), kit::AnchorTopRight);
    Anchor(cbmitTEXTTextMaskMode.hwnd(), kit::AnchorTopRight);

    searchTextFilter_.Attach(SearchTextEdit(), [this](wchar_t key) { return cbmitTEXTSearchTextKeyPress(key); });
    const auto changed = [this] {
        if (OnSelectionsChanged) OnSelectionsChanged();
    };
    kit::CheckBox* const criteria[] = {&rbTEXTAnyWords,         &rbTEXTAllWords,        &chbTEXTWholeWords,
                                       &chbTEXTCaseSensitive,   &chbTEXTWithout,        &chbTEXTSkipHiddenFiles,
                                       &chbTEXTSkipSystemFiles, &chbTEXTSkipImageFiles, &chbTEXTSkipAudioFiles,
                                       &chbTEXTSkipVideoFiles,  &chbTEXTUseTextFilters};
    for (kit::CheckBox* box : criteria) box->OnClick = changed;
}

HWND TPageContainingText::SearchTextEdit() const {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    return GetComboBoxInfo(cbmitTEXTSearchText.hwnd(), &info) ? info.hwndItem : nullptr;
}

wchar_t TPageContainingText::cbmitTEXTSearchTextKeyPress(wchar_t key) const {
    return cbmitTEXTTextMaskMode.SelectedIndex() == engine::tmHexadecimalCode ? HexadecimalKeyPress(key) : key;
}

void TPageContainingText::SetSearchTextValid(bool valid) {
    if (searchTextValid_ == valid) return;
    searchTextValid_ = valid;
    InvalidateRect(SearchTextEdit(), nullptr, TRUE);
}

bool TPageContainingText::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    // The combo box passes its edit's colour question on to the page.
    if (msg == WM_CTLCOLOREDIT && !searchTextValid_ && reinterpret_cast<HWND>(lp) == SearchTextEdit()) {
        const auto dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(255, 0, 0));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        return true;
    }
    return kit::Panel::OnMessage(msg, wp, lp, result);
}

bool HexCodeToText(std::wstring_view code, std::wstring& text) {
    text.clear();
    int pending = -1;  // the first digit of a pair, while its partner is awaited
    for (const wchar_t c : code) {
        int digit = -1;
        if (c >= L'0' && c <= L'9') digit = c - L'0';
        else if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
        else if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
        if (c == L' ') {
            text += L' ';
        } else if (digit >= 0 && pending < 0) {
            pending = digit;
        } else if (digit >= 0) {
            text += static_cast<wchar_t>(pending * 16 + digit);
            pending = -1;
        }
    }
    return pending < 0;
}

wchar_t HexadecimalKeyPress(wchar_t key) {
    if ((key >= L'0' && key <= L'9') || (key >= L'A' && key <= L'F') || key == L' ' || key == L'\b') return key;
    if (key >= L'a' && key <= L'f') return static_cast<wchar_t>(key - L'a' + L'A');
    return 0;
}

} // namespace ui
