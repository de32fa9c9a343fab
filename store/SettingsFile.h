#pragma once
// The load and save rule shared by the options, recent-lists and position files: one store per operation,
// a "FileIni" header on every save, and failures that never reach the user.
#include <functional>
#include <string>

#include "store/MemIniFileUnicode.h"

namespace store {

// Reads the file (a missing one reads as empty) and hands the store to `read`. Any failure deletes the file,
// so the next start begins from defaults, and is swallowed; values already read stay in memory.
void LoadSettingsFile(const std::wstring& fileName, const std::function<void(const TMemIniFileUnicode&)>& read);

// Opens the file's current content, writes the header, lets `write` change the store and writes it back.
// Any failure is swallowed and the file is kept: the store replaces it only after a complete write, so it
// still holds the last good settings. A store that `write` left half-done is never written.
void SaveSettingsFile(const std::wstring& fileName, const std::function<void(TMemIniFileUnicode&)>& write);

} // namespace store
