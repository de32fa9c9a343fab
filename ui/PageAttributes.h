#pragma once
// The "Attributes" criteria page: the Attributes switch, how the attributes match, and one box per attribute.
#include <array>

#include "engine/UKvrTYPEFile.h"
#include "kit/Controls.h"
#include "kit/Panel.h"

namespace ui {

class TPageAttributes : public kit::Panel {
public:
    static constexpr const wchar_t* kCaption = L"Attributes";

    void Create(HWND parent);

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
