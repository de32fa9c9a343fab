#pragma once
#include "kit/Interaction.h"

namespace kit {

// A modal message dialog with an icon for its type and exactly the buttons of the set; blocks until answered.
// Closing it (Esc, the close box) gives the set's cancelling answer: Ok, Abort or No.
MessageAnswer ShowMessageDialog(HWND owner, const std::wstring& text, MessageType type, MessageButtons buttons);

} // namespace kit
