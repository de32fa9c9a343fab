#pragma once
// The "Attributes" criteria page: the Attributes switch, how the attributes match, and one box per attribute.
#include <array>
#include <functional>

#include "engine/UKvrTYPEFile.h"
#include "kit/Controls.h"
#include "kit/Panel.h"

namespace ui {

class TPageAttributes : public kit::Panel {
public:
    static constexpr const wchar_t* kCaption = L"Attributes";

    void Create(HWND parent);

    // Raised when a criterion changed here; the main window tracks it.
    std::function<void()> OnSelectionsChanged;
    // The match choice, every attribute box (the hidden two too) and the note follow the Attributes switch.
    void chbATTREnabledClick();

    // The box of one attribute; its control id is ids::kAttrBoxFirst plus the attribute's ordinal.
    kit::CheckBox& AttributeBox(engine::TScanAttribute attribute);

    kit::CheckBox chbATTREnabled;
    kit::RadioButton rbATTRMatchAny;
    kit::RadioButton rbATTRMatchAll;
    kit::RadioButton rbATTRMatchOnly;
    kit::Label lblATTRNtfsNote;

private:
    std::array<kit::CheckBox, engine::ScanAttributeCount> boxes_;  // by the attribute's ordinal
};

} // namespace ui
