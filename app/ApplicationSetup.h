#pragma once
// The settings holder: the settings and exports folders, the names of the settings files, and the
// bringing of older settings into the current layout at every start.
#include <string>

#include "app/ApplicationItems.h"
#include "app/ApplicationOptions.h"
#include "app/ApplicationPosition.h"
#include "kit/Exception.h"

namespace app {

// Raised when the settings folder cannot be made; the program shows it and ends.
class InitializationError : public kit::Exception {
public:
    using kit::Exception::Exception;
};

// <application data>\Harbelune\Kolvaran\ and <documents>\Kolvaran\Exports\, each ending in a backslash.
std::wstring GetAppDataProductFolder();
std::wstring GetDocumentsProductFolder();

// Moves every line of OldSection into NewSection (replacing keys it has) and removes OldSection.
// Nothing is written when OldSection is missing. Throws when the file cannot be written.
void RenameIniSection(const std::wstring& fileName, const std::wstring& oldSection, const std::wstring& newSection);

class TApplicationInit {
public:
    explicit TApplicationInit(std::wstring exeFileName);
    TApplicationInit(const TApplicationInit&) = delete;
    TApplicationInit& operator=(const TApplicationInit&) = delete;

    static std::wstring GetSettingsFolder();
    static std::wstring GetExportsFolder();

    const std::wstring SectionPrefix;
    const std::wstring ExeFileName;
    const std::wstring SettingsFolder;
    const std::wstring ExportsFolder;
    const std::wstring LegacyIniFileName;
    const std::wstring PositionIniFileName;
    const std::wstring LayoutIniFileName;
    const std::wstring ParamsIniFileName;
    const std::wstring ItemsIniFileName;
    const std::wstring OptionsIniFileName;

    // Made with their defaults; the main window loads them. Freed in the reverse order.
    TApplicationPosition Position;
    TApplicationMRUItems MRUItems;
    TApplicationOptions Options;

private:
    void MigrateLegacySettings();
    void RenamePlainTextSections();
    void RenameSimpleTextSections();
    // A failed rename leaves the old section for the next start; it must not stop this one.
    void RenameSectionIfPossible(const std::wstring& fileName, const std::wstring& oldSection,
                                 const std::wstring& newSection);
};

} // namespace app
