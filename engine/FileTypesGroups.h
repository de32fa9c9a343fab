#pragma once
// The ten built-in groups of file-name extensions that classify files by kind (text, images, audio ...).
// They are fixed: no setting adds to them or removes from them.
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class TFileTypeGroup {
public:
    // `extensionsText` holds the extensions separated by blanks, each with its leading ".".
    TFileTypeGroup(std::wstring name, std::wstring extensionsText);

    const std::wstring& Name() const { return name_; }
    const std::wstring& ExtensionsText() const { return extensionsText_; }
    // Upper-cased (ASCII letters only), without empty entries, sorted.
    const std::vector<std::wstring>& Extensions() const { return extensions_; }

    // True when `ext` (with its leading ".") is in the group, whatever its letter case.
    bool HasExtension(std::wstring_view ext) const;

private:
    std::wstring name_;
    std::wstring extensionsText_;
    std::vector<std::wstring> extensions_;
};

class TFileTypesGroups {
public:
    TFileTypesGroups();

    // Members in this order: they are made first to last and freed last to first.
    const TFileTypeGroup ExtensionsText;
    const TFileTypeGroup ExtensionsDeveloper;
    const TFileTypeGroup ExtensionsInternet;
    const TFileTypeGroup ExtensionsEmails;
    const TFileTypeGroup ExtensionsDocument;
    const TFileTypeGroup ExtensionsImage;
    const TFileTypeGroup ExtensionsAudio;
    const TFileTypeGroup ExtensionsVideo;
    const TFileTypeGroup ExtensionsCompressed;
    const TFileTypeGroup ExtensionsSystem;
};

} // namespace engine
