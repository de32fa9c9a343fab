#pragma once
// The "Containing Text" criteria page: the text to look for, its mode, how words match, and the kinds of files
// the text search skips.
#include <functional>
#include <string>
#include <string_view>

#include "kit/Controls.h"
#include "kit/Panel.h"
#include "ui/InputFilters.h"
#include "ui/MRUItemsComboBox.h"

namespace ui {

// A hexadecimal code as text: each pair of hexadecimal digits is the character of that code (0 to 255), a
// blank is kept as a blank (also between the two digits of a pair), anything else is skipped. False when a
// digit is left without its partner; `text` then holds what was converted.
bool HexCodeToText(std::wstring_view code, std::wstring& text);
// The keys a hexadecimal code takes: digits, A-F (letters upper-cased), blank and backspace; 0 drops others.
wchar_t HexadecimalKeyPress(wchar_t key);

class TPageContainingText : public kit::Panel {
public:
    static constexpr const wchar_t* kCaption = L"Containing Text";

    void Create(HWND parent);

    // Raised when a criterion changed here (not for the search text: the main window follows its changes).
    std::function<void()> OnSelectionsChanged;
    // The search text takes every key, but in the hexadecimal mode only the keys of a hexadecimal code.
    wchar_t cbmitTEXTSearchTextKeyPress(wchar_t key) const;
    // The search text in red while it is not a valid code.
    void SetSearchTextValid(bool valid);

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

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    HWND SearchTextEdit() const;

    TKeyFilter searchTextFilter_;
    bool searchTextValid_ = true;
};

} // namespace ui
