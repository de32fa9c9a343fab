#include "kit/MessageDialog.h"

namespace kit {

MessageAnswer ShowMessageDialog(HWND owner, const std::wstring& text, MessageType, MessageButtons) {
    MessageBoxW(owner, text.c_str(), L"Kolvaran", MB_OK);
    return MessageAnswer::Ok;
}

} // namespace kit
