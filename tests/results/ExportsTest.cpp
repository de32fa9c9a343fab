#include <gtest/gtest.h>

#include "kit/Strings.h"
#include "results/ExportEscaping.h"
#include "results/ResultExports.h"
#include "results/ResultTable.h"
#include "tests/results/ResultsFixture.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <algorithm>
#include <cfenv>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

using namespace results;
using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

// The golden files live in the source tree, reached from Wine through the drive that maps the Linux root.
std::wstring GoldenPath(const wchar_t* name) {
    std::wstring path = L"Z:" + kit::Utf8ToWide(KVR_SOURCE_DIR) + L"/tests/results/golden/" + name;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

bool UpdatingGolden() { return std::getenv("KVR_UPDATE_GOLDEN") != nullptr; }

struct Entry { int index; const wchar_t* golden; };
const Entry entries[] = {{0, L"plain.txt"}, {1, L"tab.txt"},    {2, L"comma.csv"},
                         {3, L"page.html"}, {4, L"links.html"}, {5, L"packet.xml"}};

bool RunEntry(TResultTable& table, int index, const std::wstring& file, const TExportOptions& options = {}) {
    const TExportDef& def = table.Exports()[static_cast<size_t>(index)];
    return (table.*def.Writer)(file, def.Title, options);
}

void ExpectCrLfLinesWithoutBom(const std::string& bytes) {
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n') continue;
        ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare line feed at byte " << i;
    }
}

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

// Counts what a window gets while an export runs, to show the queue is pumped.
LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) ++*reinterpret_cast<int*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

TEST(Exports, EachEntryWritesItsGoldenFile) {
    ASSERT_TRUE(resultstest::UsEnglishLocale()) << resultstest::LocaleNote;
    const TempFolder temp;
    for (const Entry& entry : entries) {
        SCOPED_TRACE(testing::Message() << entry.golden);
        // A fresh table each time: the fixed-width and XML widths grow with every export of one table.
        TResultTable table;
        resultstest::FillFixture(table);
        const std::wstring file = temp / entry.golden;
        testsupport::WriteBytes(file, std::string(20000, 'x'));  // replaced, not appended to or left over
        ASSERT_TRUE(RunEntry(table, entry.index, file));
        const std::string actual = ReadBytes(file);
        ExpectCrLfLinesWithoutBom(actual);
        if (UpdatingGolden()) {
            testsupport::WriteBytes(GoldenPath(entry.golden), actual);
            continue;
        }
        ASSERT_TRUE(testsupport::FileExists(GoldenPath(entry.golden)));
        EXPECT_EQ(actual, ReadBytes(GoldenPath(entry.golden)));
    }
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
}

TEST(Exports, AnEmptyTableWritesNoFile) {
    const TempFolder temp;
    TResultTable table;
    for (const Entry& entry : entries) {
        SCOPED_TRACE(testing::Message() << entry.golden);
        EXPECT_FALSE(RunEntry(table, entry.index, temp / entry.golden));
        EXPECT_FALSE(testsupport::FileExists(temp / entry.golden));
    }
}

TEST(Exports, AFileThatCannotBeMadeFailsQuietly) {
    const TempFolder temp;
    CreateDirectoryW((temp / L"taken").c_str(), nullptr);  // a folder where the file should go
    TResultTable table;
    resultstest::FillFixture(table);
    int started = 0, done = 0;
    table.OnExportStartedEvent = [&](TExport&, std::int64_t) { ++started; };
    table.OnExportDoneEvent = [&](TExport&, std::int64_t) { ++done; };
    for (const Entry& entry : entries) {
        EXPECT_FALSE(RunEntry(table, entry.index, temp / L"taken"));
        // The reason names the file, for the window to show.
        EXPECT_NE(table.ExportError().find(temp / L"taken"), std::wstring::npos) << kit::WideToUtf8(table.ExportError());
    }
    EXPECT_EQ(started, 0);
    EXPECT_EQ(done, 0);
    EXPECT_FALSE(table.Exporting());
    EXPECT_TRUE(table.Clear());
}

TEST(Exports, AFailingWriteEndsTheExportWithoutDone) {
    const TempFolder temp;
    TResultTable table;
    resultstest::FillFixture(table);
    int done = 0;
    table.OnExportExecuteEvent = [](TExport&, std::int64_t, int percent) {
        if (percent >= 50) throw std::runtime_error("disk full");
    };
    table.OnExportDoneEvent = [&](TExport&, std::int64_t) { ++done; };
    testsupport::WriteBytes(temp / L"part.txt", "an earlier export\r\n");
    EXPECT_FALSE(RunEntry(table, 1, temp / L"part.txt"));
    EXPECT_EQ(table.ExportError(), L"disk full");
    EXPECT_EQ(done, 0);
    EXPECT_FALSE(table.Exporting());
    // The file it would have replaced stays as it was, and no partial file is left beside it.
    EXPECT_EQ(ReadBytes(temp / L"part.txt"), "an earlier export\r\n");
    EXPECT_EQ(testsupport::FolderEntries(temp.Path()), std::vector<std::wstring>{L"part.txt"});
}

// The writer's partial file has a name of its own: a file of the person's beside the export, whatever its name,
// is never written, replaced or removed, whether the export succeeds or fails.
TEST(Exports, FilesBesideTheExportAreLeftAlone) {
    const TempFolder temp;
    TResultTable table;
    resultstest::FillFixture(table);
    const std::vector<std::wstring> theirs = {L"list.txt.new", L"list.txt.tmp", L"list.txt~"};
    for (const std::wstring& name : theirs) testsupport::WriteBytes(temp / name, "the person's own");
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "failing" : "succeeding");
        table.OnExportExecuteEvent = [fails](TExport&, std::int64_t, int percent) {
            if (fails && percent >= 50) throw std::runtime_error("disk full");
        };
        EXPECT_EQ(RunEntry(table, 1, temp / L"list.txt"), !fails);
        for (const std::wstring& name : theirs) EXPECT_EQ(ReadBytes(temp / name), "the person's own") << kit::WideToUtf8(name);
        std::vector<std::wstring> expected = theirs;
        expected.push_back(L"list.txt");  // from the first, successful export
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(testsupport::FolderEntries(temp.Path()), expected) << "no partial file left";
    }
}

// A name as long as the file system allows still exports: the partial file's own name must not be longer.
TEST(Exports, ANameAsLongAsAllowedExports) {
    const TempFolder temp;
    TResultTable table;
    resultstest::FillFixture(table);
    const std::wstring name = std::wstring(251, L'x') + L".txt";  // 255 characters, the most a name may have
    EXPECT_TRUE(RunEntry(table, 1, temp / name)) << kit::WideToUtf8(table.ExportError());
    EXPECT_EQ(testsupport::FolderEntries(temp.Path()), std::vector<std::wstring>{name});
}

// A target whose path is the longest a path may have (MAX_PATH with its NUL): the partial file beside it, seen
// while the rows are written, is no longer, so Windows takes it.
TEST(Exports, ThePartialFileOfATargetAtTheLongestPathIsNoLonger) {
    const TempFolder temp;
    TResultTable table;
    resultstest::FillFixture(table);
    const std::wstring folder = testsupport::FolderOfLength(temp.Path(), MAX_PATH - 1 - 8);
    const std::wstring target = folder + L"list.txt";
    std::vector<std::wstring> seen;
    table.OnExportExecuteEvent = [&](TExport&, std::int64_t, int) {
        for (const std::wstring& name : testsupport::FolderEntries(folder)) seen.push_back(folder + name);
    };
    EXPECT_TRUE(RunEntry(table, 1, target)) << kit::WideToUtf8(table.ExportError());
    ASSERT_FALSE(seen.empty());
    for (const std::wstring& path : seen) EXPECT_LE(path.size(), size_t{MAX_PATH - 1}) << kit::WideToUtf8(path);
    EXPECT_EQ(testsupport::FolderEntries(folder), std::vector<std::wstring>{L"list.txt"});
}

TEST(Exports, ProgressIsReportedOncePerPercentStep) {
    const TempFolder temp;
    struct Case { int index; std::vector<int> percents; };
    // The fixed-width and XML writers measure the slow Type column first and report that pass too.
    const Case cases[] = {
        {0, {25, 50, 75, 100, 25, 50, 75, 100}}, {1, {25, 50, 75, 100}}, {2, {25, 50, 75, 100}},
        {3, {25, 50, 75, 100}}, {4, {25, 50, 75, 100}}, {5, {25, 50, 75, 100, 25, 50, 75, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "entry " << c.index);
        TResultTable table;
        resultstest::FillFixture(table);
        std::vector<int> percents;
        std::vector<std::string> events;
        table.OnExportStartedEvent = [&](TExport&, std::int64_t total) { events.push_back("start " + std::to_string(total)); };
        table.OnExportExecuteEvent = [&](TExport&, std::int64_t total, int percent) {
            EXPECT_EQ(total, 4);
            percents.push_back(percent);
        };
        table.OnExportDoneEvent = [&](TExport&, std::int64_t total) { events.push_back("done " + std::to_string(total)); };
        ASSERT_TRUE(RunEntry(table, c.index, temp / L"progress"));
        EXPECT_EQ(percents, c.percents);
        EXPECT_EQ(events, (std::vector<std::string>{"start 4", "done 4"}));
    }
}

TEST(Exports, TheTableRefusesChangesWhileAnExportHoldsIt) {
    const TempFolder temp;
    TResultTable table;
    resultstest::FillFixture(table);
    bool checked = false;
    table.OnExportExecuteEvent = [&](TExport&, std::int64_t, int percent) {
        if (percent != 50) return;
        checked = true;
        EXPECT_TRUE(table.Exporting());
        EXPECT_FALSE(table.Clear());
        EXPECT_FALSE(table.DeleteRow(0));
        EXPECT_FALSE(table.Sort(tcName, 2, table.Count() - 1, 0));
        EXPECT_FALSE(table.ExportToXML(temp / L"nested.xml", L"nested", {}));
        // A row the search still finds is kept, but the running export writes only the rows it started with.
        table.AddRow(5, -1, {}, 0, 0, 0, 1, L"", L"C:\\", -1, L"late.txt", -1);
    };
    ASSERT_TRUE(table.ExportToTXTTab(temp / L"held.txt", L"held", {}));
    EXPECT_TRUE(checked);
    EXPECT_FALSE(testsupport::FileExists(temp / L"nested.xml"));
    EXPECT_EQ(Lines(ReadBytes(temp / L"held.txt")).size(), 5u);
    EXPECT_EQ(table.Count(), 5);
    EXPECT_FALSE(table.Exporting());
    EXPECT_EQ(table.RowAt(0)->Name(), L"R&D");
    EXPECT_TRUE(table.Sort(tcName, 2, table.Count() - 1, 0));
    EXPECT_TRUE(table.Clear());
}

TEST(Exports, MessagesArePumpedWhileWriting) {
    const TempFolder temp;
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KvrExportPumpProbe";
    RegisterClassW(&wc);
    int received = 0;
    HWND probe = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(probe, nullptr);
    SetWindowLongPtrW(probe, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&received));
    TResultTable table;
    resultstest::FillFixture(table);
    int receivedWhenDone = -1;
    table.OnExportDoneEvent = [&](TExport&, std::int64_t) { receivedWhenDone = received; };
    Sleep(30);  // past the pump's interval, so the first row's pump does real work
    PostMessageW(probe, WM_APP, 0, 0);
    ASSERT_TRUE(table.ExportToCSV(temp / L"pumped.csv", L"", {}));
    EXPECT_EQ(receivedWhenDone, 1);
    DestroyWindow(probe);
}

TEST(Exports, FixedWidthColumnsGrowAndStayGrown) {
    const TempFolder temp;
    TResultTable table;
    const std::wstring longName(40, L'n');
    table.AddRow(1, -1, {}, 0, 0, 0, 12, L"", L"C:\\", -1, longName, -1);
    ASSERT_TRUE(table.ExportToTXTPlain(temp / L"long.txt", L"", {}));
    EXPECT_EQ(table.Column(tcName).TextWidth, 40);
    EXPECT_EQ(table.Column(tcName).FormatText, L"%-40s");
    EXPECT_EQ(table.Column(tcSize).FormatText, L"%8s");
    ASSERT_TRUE(table.Clear());
    table.AddRow(1, -1, {}, 0, 0, 0, 7, L"", L"C:\\", -1, L"short", -1);
    ASSERT_TRUE(table.ExportToTXTPlain(temp / L"short.txt", L"", {}));
    const auto lines = Lines(ReadBytes(temp / L"short.txt"));
    ASSERT_EQ(lines.size(), 2u);
    // Number is right-aligned in its two characters; the name keeps the 40 the earlier export needed.
    EXPECT_EQ(lines[1].substr(0, 3 + 40 + 1), " 1 short" + std::string(35, ' ') + " ");
    ASSERT_TRUE(table.ExportToXML(temp / L"short.xml", L"", {}));
    EXPECT_NE(ReadBytes(temp / L"short.xml").find("attrname=\"Name\" fieldtype=\"String\" WIDTH=\"40\""),
              std::string::npos);
}

TEST(Exports, CsvUsesTheConfiguredDelimiter) {
    const TempFolder temp;
    TResultTable table;
    table.AddRow(1, -1, {}, 0, 0, 0, 2048, L"", L"C:\\a;b\\", -1, L"x,y.txt", -1).SetTypeName(L"");
    TExportOptions options;
    options.CsvDelimiterChar = L";";
    ASSERT_TRUE(table.ExportToCSV(temp / L"semi.csv", L"", options));
    const auto lines = Lines(ReadBytes(temp / L"semi.csv"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].starts_with("\" N\xC2\xB0\";\" Name\";\" Folder\";")) << lines[0];
    EXPECT_TRUE(lines[1].starts_with("1;x,y.txt;\"C:\\a;b\\\";\"2 KB\";.txt;;;12/30/1899;")) << lines[1];
}

TEST(Exports, CsvLines) {
    struct Case { std::vector<std::wstring> fields; wchar_t delimiter; const wchar_t* line; };
    const Case cases[] = {
        {{L""}, L',', L"\"\""},
        {{L"a", L"", L"b"}, L',', L"a,,b"},
        {{L"", L""}, L',', L","},
        {{L"say \"hi\"", L"x"}, L',', L"\"say \"\"hi\"\"\",x"},
        {{L"a,b", L"a;b"}, L',', L"\"a,b\",a;b"},
        {{L"a,b", L"a;b"}, L';', L"a,b;\"a;b\""},
        {{L"tab\there", L"caf\u00E9"}, L',', L"\"tab\there\",caf\u00E9"},
        {{L"\u00A0nbsp"}, L',', L"\u00A0nbsp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.line);
        EXPECT_EQ(CsvLine(c.fields, c.delimiter, L'"'), c.line);
    }
}

TEST(Exports, EscapesAndFileUrls) {
    struct Case { const wchar_t* text; const wchar_t* html; const wchar_t* xml; };
    const Case cases[] = {
        {L"R&D", L"R&#38;D", L"R&#38;D"},
        {L"it's", L"it's", L"it&#39;s"},
        {L"\u00C0\u00E9", L"&#192;\u00E9", L"&#192;&#233;"},
        {L"<\"a\">", L"&#60;&#34;a&#34;&#62;", L"&#60;&#34;a&#34;&#62;"},
        {L"&#38;", L"&#38;#38;", L"&#38;#38;"},
        {L"\u00A0\u00D7\u00FF\u0100", L"\u00A0\u00D7\u00FF\u0100", L"&#160;&#215;&#255;\u0100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text);
        EXPECT_EQ(HtmlEscape(c.text), c.html);
        EXPECT_EQ(XmlEscape(c.text), c.xml);
    }
    struct UrlCase { const wchar_t* path; const wchar_t* url; };
    const UrlCase urls[] = {
        {L"C:\\Data\\R&D\\it's here.txt", L"file:///C:/Data/R&D/it's%20here.txt"},
        {L"C:\\caf\u00E9\\100% #1.log", L"file:///C:/caf%C3%A9/100%25%20%231.log"},
        {L"\\\\server\\share\\a b", L"file://server/share/a%20b"},
        {L"C:\\[x]{y}^`.txt", L"file:///C:/%5Bx%5D%7By%7D%5E%60.txt"},
        {L"C:\\\U0001F600", L"file:///C:/%F0%9F%98%80"},
    };
    for (const UrlCase& c : urls) {
        SCOPED_TRACE(testing::Message() << c.path);
        EXPECT_EQ(FileUrl(c.path), c.url);
    }
}
