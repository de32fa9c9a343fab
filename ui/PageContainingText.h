#pragma once
// The "Containing Text" criteria page: the text to look for, its mode, how words match, and the kinds of files
// the text search skips.
#include "kit/Controls.h"
#include "kit/Panel.h"
#include "ui/MRUItemsComboBox.h"

namespace ui {

class TPageContainingText : public kit::Panel {
public:
    static constexpr const wchar_t* kCaption = L"Containing Text";

    void Create(HWND parent);

    kit::Label lblTEXTSearchText;
    TMRUItemsComboBox cbmitTEXTSearchText;
    kit::Label lblTEXTTextMaskMode;
    kit::ComboBox cbmitTEXTTextMaskMode;
    kit::RadioButton rbTEXTAnyWords;
    kit::RadioButton rbTEXTAllWords;
    kit::CheckBox chbTEXTWholeWords;
    kit::CheckBox chbTEXTCaseSensitive;
    kit::CheckBox chbTEXTWithout;
    kit::CheckBox chbTEXTSkipHiddenFiles;
    kit::CheckBox chbTEXTSkipSystemFiles;
    kit::CheckBox chbTEXTSkipImageFiles;
    kit::CheckBox chbTEXTSkipAudioFiles;
    kit::CheckBox chbTEXTSkipVideoFiles;
    kit::CheckBox chbTEXTUseTextFilters;  // kept hidden
};

} // namespace ui
