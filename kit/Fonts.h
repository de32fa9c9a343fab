#pragma once
#include "kit/Handles.h"

namespace kit {

// A new font of the system's message font (the font of dialogs and controls); empty when it cannot be read.
UniqueFont CreateMessageFont();

} // namespace kit
