#pragma once
// Folder paths for the walk: made canonical first, then given the long-path prefix, under which Windows
// no longer normalises anything.
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// The folder absolute and normalised ("C:/A", "C:\A\..\B", doubled backslashes and "." resolved), ending in
// "\" and without any long-path prefix; "C:" alone is the root of C:. None when the text names neither a
// drive ("X:") nor a share ("\\server\share").
std::optional<std::wstring> CanonicalFolder(std::wstring_view folder);

// The path with the long-path prefix: "\\?\C:\..." or, for a share, "\\?\UNC\server\share\...".
std::wstring LongPath(std::wstring_view path);

// The form to open a listed file by: the long-path form of a drive or share path, as the walker listed
// it, so a name the plain form would alter (a trailing dot or blank) or a path past MAX_PATH opens the
// same file. A path already in long form, or one the long form would not normalise (relative, with "/"
// or "." and ".." parts), is returned as it is.
std::wstring OpenPath(std::wstring_view path);

// Longest listing pattern handed to the system; a folder whose pattern is longer is not listed.
inline constexpr std::size_t MaxPatternLength = 1023;

// The pattern that lists a canonical folder: its long path + "*.*"; empty when over MaxPatternLength.
std::wstring ListingPattern(std::wstring_view folder);

} // namespace engine
