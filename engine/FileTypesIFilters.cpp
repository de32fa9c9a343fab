#include "engine/FileTypesIFilters.h"

#include <windows.h>
#include <shellapi.h>

#include <iterator>

#include "engine/MaskText.h"
#include "engine/MessagePump.h"
#include "kit/Handles.h"
#include "kit/Registry.h"
#include "kit/Strings.h"
#include "kit/Window.h"

namespace engine {
namespace {

// Relative to HKEY_LOCAL_MACHINE: a leading backslash makes Wine refuse the path (ERROR_BAD_PATHNAME).
constexpr wchar_t ClassesKey[] = L"Software\\Classes";
constexpr wchar_t IFilterIid[] = L"{89BCB740-6119-101A-BCB7-00DD010655AF}";
constexpr UINT_PTR ScanTimerId = 1;
constexpr UINT ScanDelay = 100;

// A text value of "Software\Classes\<path>" (the default value unless named). A key that cannot be opened,
// a missing value and a value that is not text all read as empty: one odd entry written by some installer
// must not end the whole scan.
std::wstring ReadClassesText(const std::wstring& path, const wchar_t* valueName = nullptr) {
    kit::UniqueRegKey key;
    const std::wstring fullPath = std::wstring(ClassesKey) + L"\\" + path;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, fullPath.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return {};
    return kit::ReadRegistryText(key.get(), valueName).value_or(std::wstring());
}

std::vector<std::wstring> SubkeyNames(HKEY key) {
    std::vector<std::wstring> names;
    wchar_t name[256];  // the longest key name the registry allows, and its terminator
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(name));
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

// The filter class registered for the extension `ext`, by its own persistent handler or by its class's.
std::wstring FilterClassOf(const std::wstring& ext) {
    std::wstring handler = ReadClassesText(ext + L"\\PersistentHandler");
    if (handler.empty()) {
        const std::wstring progId = ReadClassesText(ext);
        const std::wstring clsid = progId.empty() ? std::wstring() : ReadClassesText(progId + L"\\CLSID");
        if (!clsid.empty()) handler = ReadClassesText(L"CLSID\\" + clsid + L"\\PersistentHandler");
    }
    if (handler.empty()) return {};
    return ReadClassesText(L"CLSID\\" + handler + L"\\PersistentAddinsRegistered\\" + IFilterIid);
}

// The catalogue entry of `ext`; null when its filter chain is incomplete.
std::unique_ptr<TIFilterInfo> LookUpFilter(const std::wstring& ext) {
    const std::wstring filter = FilterClassOf(ext);
    if (filter.empty()) return nullptr;
    const std::wstring dll = ReadClassesText(L"CLSID\\" + filter + L"\\InprocServer32");
    if (dll.empty()) return nullptr;

    auto info = std::make_unique<TIFilterInfo>();
    info->FilterDescription = ReadClassesText(L"CLSID\\" + filter);
    if (info->FilterDescription.empty()) info->FilterDescription = L"(Not Defined)";
    info->FilterDll = kit::ExpandEnvironmentText(dll);
    info->ProgID = ReadClassesText(ext);
    info->ContentType = ReadClassesText(ext, L"Content Type");
    info->PerceivedType = ReadClassesText(ext, L"PerceivedType");

    SHFILEINFOW shell{};
    const std::wstring pattern = L"*" + ext;
    // By attributes only: the shell looks at the extension, never at a file.
    if (SHGetFileInfoW(pattern.c_str(), FILE_ATTRIBUTE_NORMAL, &shell, sizeof(shell),
                       SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) {
        info->TypeName = shell.szTypeName;
        info->IconIndex = shell.iIcon;
    }
    info->Extension = AsciiUpperCase(ext);
    return info;
}

} // namespace

// A message-only window whose one-shot timer starts the scan once the message loop runs.
class TFileTypesIFilters::ScanTimer : public kit::Window {
public:
    explicit ScanTimer(TFileTypesIFilters& owner) : owner_(owner) {
        Create({.className = L"KolvaranIFilterScan", .style = 0, .parent = HWND_MESSAGE});
        // Without a timer there is only no catalogue, and no search consults it: not worth failing the start.
        SetTimer(hwnd(), ScanTimerId, ScanDelay, nullptr);
    }
    ~ScanTimer() override { Stop(); }
    void Stop() {
        if (hwnd()) KillTimer(hwnd(), ScanTimerId);  // a null window would name a thread timer of someone else
    }

protected:
    // The base's dispatch shows an error of the scan to the user and lets nothing escape.
    bool OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
        if (msg != WM_TIMER || wp != ScanTimerId) return false;
        owner_.OnTimer();
        result = 0;
        return true;
    }

private:
    TFileTypesIFilters& owner_;
};

int TFileTypeIFilter::IndexOf(std::wstring_view ext) const {
    for (std::size_t i = 0; i < infos_.size(); ++i)
        if (kit::SameText(infos_[i]->Extension, ext)) return static_cast<int>(i);
    return -1;
}

TFileTypesIFilters::TFileTypesIFilters(const TFileTypesGroups& groups)
    : groups_(groups), timer_(std::make_unique<ScanTimer>(*this)) {}

TFileTypesIFilters::~TFileTypesIFilters() = default;

void TFileTypesIFilters::OnTimer() {
    timer_->Stop();
    Scan();
    ApplySelection();
    scanned_ = true;
}

void TFileTypesIFilters::Scan() {
    kit::UniqueRegKey classes;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ClassesKey, 0, KEY_READ, classes.put()) != ERROR_SUCCESS) return;
    for (const std::wstring& name : SubkeyNames(classes.get())) {
        if (name.empty() || name[0] != L'.') continue;
        PumpMessages();  // the window stays responsive while the first second after start is spent here
        if (groups_.ExtensionsText.HasExtension(name) || groups_.ExtensionsDeveloper.HasExtension(name) ||
            groups_.ExtensionsInternet.HasExtension(name) || groups_.ExtensionsEmails.HasExtension(name))
            continue;
        if (!groups_.ExtensionsDocument.HasExtension(name)) continue;
        if (auto info = LookUpFilter(name)) Catalogue(std::move(info), DocumentFiles);
    }
}

void TFileTypesIFilters::Catalogue(std::unique_ptr<TIFilterInfo> info, TFileTypeIFilter& category) {
    info->Category = &category;
    category.infos_.push_back(info.get());
    AllFiles.infos_.push_back(info.get());
    owned_.push_back(std::move(info));
}

void TFileTypesIFilters::ApplySelection() {
    TFileTypeIFilter& category = DocumentFiles;
    const bool all = category.Selected == L"Default";
    for (TIFilterInfo* info : category.infos_) info->Selected = info->SelectedDefault = all;
    if (all || category.Selected.empty()) return;
    std::wstring_view rest = category.Selected;
    for (;;) {
        const std::size_t bar = rest.find(L'|');
        const int index = category.IndexOf(rest.substr(0, bar));
        if (index >= 0) category.infos_[index]->Selected = category.infos_[index]->SelectedDefault = true;
        if (bar == std::wstring_view::npos) break;
        rest.remove_prefix(bar + 1);
    }
}

void TFileTypesIFilters::LoadSelection(const store::TMemIniFileUnicode& ini, const std::wstring& path) {
    const std::wstring section = path + L"/" + DocumentFiles.Name();
    DocumentFiles.SelectedAll = store::ReadIniBoolean(ini, section, L"SelectedAll", false);
    DocumentFiles.SelectedAllLoaded = DocumentFiles.SelectedAll;
    DocumentFiles.Selected = ini.ReadString(section, L"Selected", L"Default");
    // Normally read before the scan, which applies it; a later load takes effect at once.
    if (scanned_) ApplySelection();
}

void TFileTypesIFilters::SaveSelection(store::TMemIniFileUnicode& ini, const std::wstring& path) const {
    const std::wstring section = path + L"/" + DocumentFiles.Name();
    ini.EraseSection(section);
    store::WriteIniBoolean(ini, section, L"SelectedAll", DocumentFiles.SelectedAll);
    // Before the scan there are no flags to write: the selection as loaded is kept, not lost.
    ini.WriteString(section, L"Selected", scanned_ ? SelectedExtensions() : DocumentFiles.Selected);
}

std::wstring TFileTypesIFilters::SelectedExtensions() const {
    std::wstring joined;
    for (const TIFilterInfo* info : DocumentFiles.infos_) {
        if (!info->Selected) continue;
        if (!joined.empty()) joined += L'|';
        joined += info->Extension;
    }
    return joined;
}

} // namespace engine
