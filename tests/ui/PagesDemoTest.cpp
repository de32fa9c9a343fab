// Not a test: tools/screenshot-pages runs this to show each page for a screenshot of the display.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "kit/MessageLoop.h"
#include "tests/ui/PagesHost.h"

namespace {

std::wstring EnvironmentValue(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? value : L"";
}

// Tells the script the display is ready, then waits (pumping) until it has taken the picture.
void HandOver(const std::filesystem::path& folder, int shot) {
    kit::ProcessMessagesNow();
    UpdateWindow(GetDesktopWindow());
    const auto name = std::to_wstring(shot);
    { FILE* ready = _wfopen((folder / (L"shot-" + name + L".ready")).c_str(), L"w"); if (ready) fclose(ready); }
    for (int waited = 0; waited < 600 && !std::filesystem::exists(folder / (L"shot-" + name + L".done")); ++waited) {
        kit::ProcessMessagesNow();
        Sleep(100);
    }
}

} // namespace

TEST(PagesDemo, DISABLED_ShowEachPage) {
    const std::wstring folder = EnvironmentValue(L"KVR_SHOT_DIR");
    ASSERT_FALSE(folder.empty()) << "KVR_SHOT_DIR names the folder of the handshake files";
    uitest::PagesHost host;
    host.Make(680, 196);
    app::TMRUItems masks(L"Masks");
    masks.Items = {L"*.txt", L"*.cpp;*.h"};
    host.files.cbmitFILEFileMask.LoadFrom(&masks);
    host.files.cbmitFILEFileMask.SetText(L"*.txt");
    app::TMRUItems folders(L"Folders");
    folders.Items = {L"C:\\windows", L"<Sources> C:\\src|+C:\\src\\lib|-C:\\src\\build"};
    host.files.cbmfldFOLDERSSearchPath.Populate(&folders, L"C:\\windows");
    host.text.cbmitTEXTSearchText.SetText(L"invoice total");

    for (int page = 0; page < host.tabs.Count(); ++page) {
        host.tabs.Select(page);
        HandOver(folder, page);
    }
    host.tabs.Select(0);
    SendMessageW(host.files.cbmfldFOLDERSSearchPath.hwnd(), CB_SHOWDROPDOWN, TRUE, 0);
    HandOver(folder, host.tabs.Count());
    SendMessageW(host.files.cbmfldFOLDERSSearchPath.hwnd(), CB_SHOWDROPDOWN, FALSE, 0);
}
