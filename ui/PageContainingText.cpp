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
}

} // namespace ui
