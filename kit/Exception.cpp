#include "kit/Exception.h"

#include "kit/Strings.h"

namespace kit {

std::wstring ExceptionMessage(const std::exception& e) {
    if (const auto* own = dynamic_cast<const Exception*>(&e)) return own->Message();
    return Utf8ToWide(e.what());
}

} // namespace kit
