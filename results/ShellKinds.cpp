#include "results/ShellKinds.h"

#include "kit/Registry.h"
#include "kit/Strings.h"
#include "results/ShellIcons.h"

#include <shlwapi.h>

#include <array>

namespace results {
namespace {

// Kinds whose icon is inside the file (or what it points to), whatever the registry of this machine says.
constexpr std::array<const wchar_t*, 12> OwnIconKinds = {L".EXE", L".LNK", L".ICO", L".CUR", L".ANI", L".URL",
                                                         L".SCR", L".CPL", L".PIF", L".MSC", L".DLL", L".ICL"};

// The extension as the shell reads it from a name (it stops at a blank: "a.b c" has none), upper-cased.
std::wstring ShellExtension(const std::wstring& name) { return kit::UpperCase(PathFindExtensionW(name.c_str())); }

std::optional<std::wstring> ClassesText(const std::wstring& path) {
    const kit::UniqueRegKey key = kit::OpenRegistryKeyReadOnly({HKEY_CLASSES_ROOT, path});
    if (!key) return std::nullopt;
    return kit::ReadRegistryText(key.get(), nullptr);
}

// The registry gives the kind a per-file icon: its default icon is the file itself ("%1") or an icon handler
// draws each file.
bool RegistryGivesOwnIcon(const std::wstring& extension) {
    for (const std::wstring& kind :
         {extension, ClassesText(extension).value_or(L""), L"SystemFileAssociations\\" + extension}) {
        if (kind.empty()) continue;
        if (ClassesText(kind + L"\\DefaultIcon").value_or(L"").find(L"%1") != std::wstring::npos) return true;
        if (kit::RegistryKeyExists({HKEY_CLASSES_ROOT, kind + L"\\shellex\\IconHandler"})) return true;
    }
    return false;
}

// A folder marked system or read-only may carry a desktop.ini icon; one named "name.{class id}" is a junction
// that shows its class's icon.
bool MayHaveOwnFolderIcon(const std::wstring& name, engine::TScanAttributes attributes) {
    return attributes.Contains(engine::saSystem) || attributes.Contains(engine::saReadOnly) ||
           kit::StartsWithText(PathFindExtensionW(name.c_str()), L".{");
}

class RealShell : public TShellAsk {
public:
    int FileIcon(const std::wstring& path, bool folder, UINT flags) override {
        return ShellIconIndex(path, folder, flags);
    }
    int KindIcon(const std::wstring& name, bool folder, UINT flags) override {
        SHFILEINFOW info{};
        const DWORD attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
        return SHGetFileInfoW(name.c_str(), attributes, &info, sizeof(info), flags | SHGFI_USEFILEATTRIBUTES)
                   ? info.iIcon : -1;
    }
    std::wstring TypeName(const std::wstring& path, bool folder) override { return ShellTypeName(path, folder); }
};

RealShell& TheRealShell() {
    static RealShell shell;
    return shell;
}

} // namespace

TShellKinds::TShellKinds(TShellAsk* shell) : shell_(shell ? *shell : TheRealShell()) {}

bool TShellKinds::HasOwnIcon(const std::wstring& extension) {
    const std::wstring upper = kit::UpperCase(extension);
    for (const wchar_t* kind : OwnIconKinds)
        if (upper == kind) return true;
    return !upper.empty() && RegistryGivesOwnIcon(upper);
}

int TShellKinds::Icon(const std::wstring& folder, const std::wstring& name, engine::TScanAttributes attributes,
                      UINT flags) {
    const bool isFolder = attributes.Contains(engine::saDirectory);
    const std::wstring extension = isFolder ? std::wstring() : ShellExtension(name);
    bool perFile = isFolder && MayHaveOwnFolderIcon(name, attributes);
    if (!isFolder) {
        auto known = ownIcons_.find(extension);
        if (known == ownIcons_.end()) known = ownIcons_.emplace(extension, HasOwnIcon(extension)).first;
        perFile = known->second;
    }
    if (perFile) return shell_.FileIcon(folder + name, isFolder, flags);
    const auto key = std::make_tuple(isFolder, extension, flags);
    if (const auto found = icons_.find(key); found != icons_.end()) return found->second;
    // Asked by name alone, so the file's own state (gone, unreadable) cannot give the kind a wrong icon.
    const int index = shell_.KindIcon(isFolder ? std::wstring(L"folder") : L"file" + extension, isFolder, flags);
    if (index != -1) icons_[key] = index;  // a failure is asked again next time
    return index;
}

int TShellKinds::FolderIcon(const std::wstring& folder) {
    if (const auto found = folderIcons_.find(folder); found != folderIcons_.end()) return found->second;
    const int index = shell_.FileIcon(folder, true, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    if (index != -1) folderIcons_[folder] = index;
    return index;
}

std::wstring TShellKinds::TypeName(const std::wstring& folder, const std::wstring& name, bool isFolder) {
    const auto key = std::make_pair(isFolder, ShellExtension(name));
    if (const auto found = typeNames_.find(key); found != typeNames_.end()) return found->second;
    std::wstring type = shell_.TypeName(folder + name, isFolder);
    typeNames_[key] = type;
    return type;
}

void TShellKinds::Forget() {
    icons_.clear();
    typeNames_.clear();
    ownIcons_.clear();
    folderIcons_.clear();
}

TShellKinds& ShellKinds() {
    static TShellKinds kinds;
    return kinds;
}

} // namespace results
