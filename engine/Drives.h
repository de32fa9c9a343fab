#pragma once
// Questions about logical drives and paths asked before a search or before a folder is offered.
#include <string>
#include <vector>

namespace engine {

// The drive part of a path: "X:" for X:..., "\\server\share" for a UNC path, empty for anything else.
std::wstring ExtractFileDrive(const std::wstring& path);

// Clears the list, then adds "X:" for every logical drive, in letter order.
void GetDriveList(std::vector<std::wstring>& list);
// True when the drive answers a size query; never raises the system's "insert a disk" box.
// Pumps the message queue at once before and after (engine/MessagePump.h), so window events may run inside.
bool IsDriveReady(wchar_t letter);
// "X:" must be a listed, ready drive; a longer drive part (\\server\share) passes untested.
bool IsDriveValid(const std::wstring& drive);
// The path's drive part is valid and the path names an existing folder.
bool IsPathValid(const std::wstring& path);
// The volume label of letter's root, or empty when the letter is not A-Z/a-z or the query fails.
void GetVolumeLabel(wchar_t letter, std::wstring& label);

} // namespace engine
