#pragma once
// Shortens a path to a width by putting "..." in place of its middle folders, as people read a long path in a
// narrow panel: the root and the file name stay as long as they fit.
#include <functional>
#include <string>

namespace results {

// `measure` gives a text's width in the unit of `maxWidth` (pixels of the panel's font).
std::wstring MinimizePath(const std::wstring& path, int maxWidth, const std::function<int(const std::wstring&)>& measure);

} // namespace results
