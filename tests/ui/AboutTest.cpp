// The About box: the system it runs on, the machine's memory, and its web site opened.
#include <windows.h>

#include <regex>

#include "kit/Strings.h"
#include "results/ResultExports.h"
#include "tests/support/AccessKeys.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/FakeInteraction.h"
#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/Screenshots.h"
#include "ui/ControlIds.h"
#include "ui/FMWAbout.h"

using testsupport::ShowWithPerson;
using ui::TfrmMWAbout;

namespace {

// The two kilobyte figures of a memory line, digits grouped with ",".
bool ParseMemoryLine(const std::wstring& line, const std::wstring& caption, unsigned long long& total,
                     unsigned long long& available) {
    const std::wregex pattern(caption + L"([0-9,]+) KB Available: ([0-9,]+) KB");
    std::wsmatch match;
    if (!std::regex_match(line, match, pattern)) return false;
    const auto number = [](std::wstring text) {
        std::erase(text, L',');
        return std::stoull(text);
    };
    total = number(match[1].str());
    available = number(match[2].str());
    return true;
}

MEMORYSTATUSEX MemoryNow() {
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof(memory);
    GlobalMemoryStatusEx(&memory);
    return memory;
}

} // namespace

TEST(About, MemoryLinesGroupTheKilobytesAndGoPastFourGigabytes) {
    struct Case { unsigned long long total, available; const wchar_t* line; };
    const Case cases[] = {
        {2147483648ULL, 1073741824ULL, L"Physical Memory: 2,097,152 KB Available: 1,048,576 KB"},
        {17179869184ULL, 5368709120ULL, L"Physical Memory: 16,777,216 KB Available: 5,242,880 KB"},
        {1023, 0, L"Physical Memory: 0 KB Available: 0 KB"},
    };
    for (const Case& c : cases) EXPECT_EQ(ui::MemoryLine(L"Physical Memory: ", c.total, c.available), c.line);
}

class AboutAction : public uitest::MainWindowTest {};

// Shown from the Help action of the main window, as a person opens it.
TEST_F(AboutAction, ShowsTheSystemAndTheMemoryOfThisMachine) {
    Open();
    std::wstring caption, product, system, physical, paged, clashes = L"none";
    const MEMORYSTATUSEX before = MemoryNow();
    MEMORYSTATUSEX after{};
    HWND shown = nullptr;
    ShowWithPerson([&] { window->Actions().Execute(ui::ids::actHELPAbout); },
                   [&](HWND dialog) {
                       if (!dialog) return;
                       shown = dialog;
                       const auto text = [&](int id) { return testsupport::TextOf(GetDlgItem(dialog, id)); };
                       caption = testsupport::TextOf(dialog);
                       product = text(TfrmMWAbout::kProductName);
                       system = text(TfrmMWAbout::kOSVersionInfoValue);
                       physical = text(TfrmMWAbout::kPhysicalMemoryValues);
                       paged = text(TfrmMWAbout::kPagedMemoryValues);
                       after = MemoryNow();
                       const auto found = testsupport::AccessKeyClashes(dialog);
                       clashes = found.empty() ? L"none" : found.front();
                       if (const std::wstring shots = uitest::ScreenshotFolder(); !shots.empty()) {
                           RECT area;
                           GetWindowRect(dialog, &area);
                           uitest::HandOver(shots, 0, area);
                       }
                       const HWND site = GetDlgItem(dialog, TfrmMWAbout::kWebSiteValue);
                       SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(TfrmMWAbout::kWebSiteValue, STN_CLICKED),
                                    reinterpret_cast<LPARAM>(site));
                       testsupport::PostKeyToFocus(dialog, VK_RETURN);
                   });
    EXPECT_EQ(caption, L"About");
    EXPECT_EQ(product, L"Kolvaran");
    EXPECT_EQ(clashes, L"none");
    // The test prefix reports a Windows 7 workstation.
    EXPECT_TRUE(kit::StartsWithText(system, L"Running on Windows 7")) << kit::WideToUtf8(system);

    // Totals as the system gives them; what is available moves, so it lies between two readings.
    struct Line { const std::wstring& text; const wchar_t* caption; DWORDLONG total, availableBefore, availableAfter; };
    const Line lines[] = {
        {physical, L"Physical Memory: ", before.ullTotalPhys, before.ullAvailPhys, after.ullAvailPhys},
        {paged, L"Paged Memory: ", before.ullTotalPageFile, before.ullAvailPageFile, after.ullAvailPageFile},
    };
    for (const Line& line : lines) {
        SCOPED_TRACE(kit::WideToUtf8(line.text));
        unsigned long long total = 0, available = 0;
        ASSERT_TRUE(ParseMemoryLine(line.text, line.caption, total, available));
        EXPECT_EQ(total, line.total >> 10);
        const unsigned long long slack = 16 * 1024;  // KB the machine may give or take meanwhile
        EXPECT_GE(available + slack, std::min(line.availableBefore, line.availableAfter) >> 10);
        EXPECT_LE(available, (std::max(line.availableBefore, line.availableAfter) >> 10) + slack);
    }

    // The web address opens in the browser.
    ASSERT_EQ(interaction.shellRequests.size(), 1u);
    const kit::ShellRequest& open = interaction.shellRequests[0].request;
    EXPECT_EQ(interaction.shellRequests[0].owner, Main());
    EXPECT_EQ(open.verb, L"open");
    EXPECT_EQ(open.file, results::ProductWebAddress);
    EXPECT_EQ(open.showCommand, SW_SHOWNORMAL);
    EXPECT_FALSE(IsWindow(shown));
}
