#include <gtest/gtest.h>

#include "results/ShellKinds.h"

#include <shellapi.h>

#include <map>
#include <string>
#include <vector>

using namespace results;
using engine::saArchive;
using engine::saDirectory;
using engine::saReadOnly;
using engine::saSystem;

namespace {

// A shell where every file and every kind has an icon of its own, and that records what it was asked.
class RecordingShell : public TShellAsk {
public:
    std::vector<std::wstring> asked;

    int FileIcon(const std::wstring& path, bool, UINT) override { return IconOf(L"file " + path); }
    int KindIcon(const std::wstring& name, bool folder, UINT flags) override {
        return IconOf((folder ? L"folder kind " : L"kind ") + name + std::to_wstring(flags));
    }
    std::wstring TypeName(const std::wstring& path, bool) override {
        asked.push_back(L"type " + path);
        return L"type of " + path;
    }

private:
    int IconOf(const std::wstring& what) {
        asked.push_back(what);
        return icons_.emplace(what, static_cast<int>(icons_.size())).first->second;
    }
    std::map<std::wstring, int> icons_;
};

constexpr UINT SmallIcon = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;

} // namespace

// Kinds whose icon lives in the file are asked file by file; the others once per extension, whatever the case of
// the name and whichever file came first.
TEST(ShellKinds, FilesWithIconsOfTheirOwnAreNeverAnsweredFromTheCache) {
    struct Case { const wchar_t* first; const wchar_t* second; engine::TScanAttributes attributes; bool shared; };
    const Case cases[] = {
        {L"setup.exe", L"other.EXE", {saArchive}, false},  {L"a.lnk", L"b.lnk", {saArchive}, false},
        {L"a.ico", L"b.ico", {saArchive}, false},          {L"a.cur", L"b.cur", {saArchive}, false},
        {L"a.ani", L"b.ani", {saArchive}, false},          {L"a.url", L"b.url", {saArchive}, false},
        {L"notes.txt", L"MORE.TXT", {saArchive}, true},    {L"a.b c", L"README", {saArchive}, true},
        {L"plain", L"other", {saDirectory}, true},         {L"custom", L"other", {saDirectory, saSystem}, false},
        {L"marked", L"other", {saDirectory, saReadOnly}, false},
        {L"Tools.{ED7BA470-8E54-465E-825C-99712043E01C}", L"other", {saDirectory}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.first)));
        RecordingShell shell;
        TShellKinds kinds(&shell);
        const int first = kinds.Icon(L"C:\\One\\", c.first, c.attributes, SmallIcon);
        const int second = kinds.Icon(L"C:\\Two\\", c.second, c.attributes, SmallIcon);
        EXPECT_EQ(first == second, c.shared);
        EXPECT_EQ(kinds.Icon(L"C:\\One\\", c.first, c.attributes, SmallIcon), first);
    }
}

TEST(ShellKinds, TypeNamesAndFolderIconsAreAskedOnceAndAskedAnewAfterForget) {
    RecordingShell shell;
    TShellKinds kinds(&shell);
    EXPECT_EQ(kinds.TypeName(L"C:\\One\\", L"a.txt", false), L"type of C:\\One\\a.txt");
    EXPECT_EQ(kinds.TypeName(L"C:\\Two\\", L"B.TXT", false), L"type of C:\\One\\a.txt");
    EXPECT_EQ(kinds.TypeName(L"C:\\One\\", L"a.txt", true), L"type of C:\\One\\a.txt");  // a folder is its own kind
    EXPECT_EQ(shell.asked.size(), 2u);
    const int one = kinds.FolderIcon(L"C:\\One\\");
    EXPECT_NE(kinds.FolderIcon(L"C:\\Two\\"), one);
    EXPECT_EQ(kinds.FolderIcon(L"C:\\One\\"), one);
    EXPECT_EQ(shell.asked.size(), 4u);
    // Small and large icons are kinds apart.
    EXPECT_NE(kinds.Icon(L"C:\\One\\", L"a.txt", {saArchive}, SmallIcon),
              kinds.Icon(L"C:\\One\\", L"a.txt", {saArchive}, SHGFI_SYSICONINDEX));
    kinds.Forget();
    shell.asked.clear();
    kinds.TypeName(L"C:\\Two\\", L"b.txt", false);
    EXPECT_EQ(shell.asked, std::vector<std::wstring>{L"type C:\\Two\\b.txt"});
}
