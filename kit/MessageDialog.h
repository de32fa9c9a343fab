#pragma once
#include <optional>
#include <string>

#include "kit/Interaction.h"

namespace kit {

// A modal message dialog with an icon for its type and exactly the buttons of the set; blocks until answered.
// Closing it (Esc, the close box) gives the set's cancelling answer: Ok, Abort or No. The caption is the type's
// ("Warning", ...) unless one is given; the default button (Enter, the focus at first) is the set's first unless
// another answer of the set is named.
MessageAnswer ShowMessageDialog(HWND owner, const std::wstring& text, MessageType type, MessageButtons buttons,
                                const std::wstring& caption = {},
                                std::optional<MessageAnswer> defaultAnswer = std::nullopt);

} // namespace kit
