#pragma once
// Character references for the HTML and XML exports, and the file URL of the links variant.
#include <string>
#include <string_view>

namespace results {

// "&", the double quote, "<", ">" and U+00C0 as numeric references; every other character unchanged (the file is
// UTF-8 and says so). Safe inside element text and double-quoted attribute values.
std::wstring HtmlEscape(std::wstring_view text);

// The five XML specials and every character U+00A0 to U+00FF as numeric references.
std::wstring XmlEscape(std::wstring_view text);

// A file: URL of a Windows path that a browser resolves to that very file: backslashes become slashes and
// "#", "%", blanks, characters outside printable ASCII (as UTF-8 bytes) and the other characters a URL path cannot
// hold literally are percent-escaped. "\\server\share\x" becomes file://server/share/x.
std::wstring FileUrl(std::wstring_view path);

} // namespace results
