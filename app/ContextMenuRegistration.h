#pragma once
// The program's verb in Explorer's context menu of the Computer item, the Documents item, drives and folders,
// and the removal of the maker's earlier shell extensions. The verbs are plain keys below the classes root.
#include <windows.h>

#include <cstdint>
#include <string>

namespace app {

inline constexpr const wchar_t* kContextMenuVerbName = L"Kolvaran";
inline constexpr const wchar_t* kContextMenuCaption = L"Search with Kolvaran...";

// The places of the verb, one bit each.
enum TContextMenuPlace : std::uint8_t {
    cmpMyComputer = 1,
    cmpMyDocuments = 2,
    cmpDrives = 4,
    cmpFolders = 8,
};

// The places whose verb key exists (a key that cannot be read counts as missing).
std::uint8_t GetContextMenuOptions(const std::wstring& verbName);

// Adds the verb where `mask` has the place's bit and its key is missing, and removes it where the bit is clear.
// A verb already there stays as it is. A key whose creation is refused is left out quietly (the caller reads
// back what holds); a failed write shows an error with its step, removes the half-made verb, skips the
// remaining places and answers false.
bool SetContextMenuOptions(std::uint8_t mask, const std::wstring& exe, const std::wstring& verbName,
                           const std::wstring& caption, HWND owner = nullptr);

// A text value of a key below HKEY_LOCAL_MACHINE, in the program's own view unless another is given; empty when
// the key or the value is missing.
std::wstring ReadHKLMString(const std::wstring& key, const std::wstring& valueName, REGSAM view = 0);
// True unless the maker's machine-wide key, in the 64-bit or the 32-bit view, names an installed program.
bool IsInstalledEditionAbsent();
// A key below HKEY_LOCAL_MACHINE, only when it has no subkeys; failures are ignored.
void DeleteHKLMKey(const std::wstring& key);
// Removes the registration of the earlier context-menu and search handlers from both registry views, then the
// maker's key, which brings this clean-up back at every start: it stays when any of those keys is left. Every
// step runs whatever the one before did; failures are not reported.
void RemoveLegacyShellExtension();

} // namespace app
