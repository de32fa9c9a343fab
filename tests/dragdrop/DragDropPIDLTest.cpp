#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "dragdrop/DragDropFile.h"
#include "dragdrop/DragDropPIDL.h"
#include "kit/Exception.h"
#include "tests/dragdrop/DragDropFixture.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/TempFolder.h"

using namespace dragdrop;
using ddtest::Bytes;
using Names = std::vector<std::wstring>;

namespace {

std::wstring WithoutTrailingBackslash(std::wstring path) {
    if (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

std::wstring PathOf(const TPIDLBytes& absolute) {
    wchar_t path[MAX_PATH + 1] = L"";
    SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(absolute.data()), path);
    return path;
}

int ItemCount(const TPIDLBytes& pidl) {
    int count = 0;
    for (size_t at = 0; pidl[at] | pidl[at + 1]; at += pidl[at] | (pidl[at + 1] << 8)) ++count;
    return count;
}

TPIDLBytes SpecialFolder(int csidl) {
    PIDLIST_ABSOLUTE pidl = nullptr;
    SHGetSpecialFolderLocation(nullptr, csidl, &pidl);
    const kit::UniquePidl owner(pidl);
    const BYTE* bytes = reinterpret_cast<const BYTE*>(pidl);
    return TPIDLBytes(bytes, bytes + PIDLSize(pidl));
}

// The CIDA block a "Shell IDList Array" format writes for these names.
std::string CidaOf(const Names& names) {
    TPIDLClipboardFormat format;
    TUnicodeStringList list;
    for (const std::wstring& name : names) list.Add(name);
    format.Filenames().Assign(list);
    std::string block(format.DataSize(), '\0');
    if (!block.empty()) {
        EXPECT_TRUE(format.WriteData(reinterpret_cast<BYTE*>(block.data()), block.size()));
    }
    return block;
}

// A block read back as a format: its ID lists (none when it is no data).
TPIDLList ReadBack(const std::string& block) {
    TPIDLList pidls;
    ReadCIDA(reinterpret_cast<const BYTE*>(block.data()), block.size(), pidls);
    return pidls;
}

Names NamesOf(TPIDLList& pidls) { return TPIDLsToFilenamesStrings(pidls).ToVector(); }

DWORD DwordAt(const std::string& block, size_t offset) {
    DWORD value;
    std::memcpy(&value, block.data() + offset, 4);
    return value;
}

std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

// A well-formed block of `children` children, all of them (and the parent) the one empty ID list at its end.
std::string CidaOfEmptyLists(DWORD children) {
    const DWORD lists = 4 * (children + 2);
    std::string block = Dword(children);
    block.reserve(lists + 2);
    for (DWORD i = 0; i <= children; ++i) block += Dword(lists);
    return block + Bytes("\0\0");
}

class PidlTest : public testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t* name : {L"a.txt", L"b.txt"}) testsupport::WriteBytes(temp_ / name, "x");
    }
    std::wstring File(const wchar_t* name) const { return temp_ / name; }
    std::wstring Folder() const { return WithoutTrailingBackslash(temp_.Path()); }

private:
    testsupport::TempFolder temp_;
};

} // namespace

TEST_F(PidlTest, TwoFilesInOneFolder) {
    const std::string block = CidaOf({File(L"a.txt"), File(L"b.txt")});
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(DwordAt(block, 0), 2u);
    EXPECT_EQ(DwordAt(block, 4), 16u) << "the parent right after the offset table";

    TPIDLList pidls = ReadBack(block);
    ASSERT_EQ(pidls.Count(), 3);
    EXPECT_EQ(PathOf(pidls.ItemBytes(0)), Folder());
    EXPECT_EQ(ItemCount(pidls.ItemBytes(1)), 1);
    EXPECT_EQ(ItemCount(pidls.ItemBytes(2)), 1);
    EXPECT_EQ(DwordAt(block, 12), DwordAt(block, 8) + pidls.ItemBytes(1).size());
    EXPECT_EQ(block.size(), 16 + pidls.ItemBytes(0).size() + pidls.ItemBytes(1).size() + pidls.ItemBytes(2).size());
    EXPECT_EQ(NamesOf(pidls), (Names{File(L"a.txt"), File(L"b.txt")}));
}

TEST_F(PidlTest, OneFileHasItsFolderAsParent) {
    TPIDLList pidls = ReadBack(CidaOf({File(L"a.txt")}));
    ASSERT_EQ(pidls.Count(), 2);
    EXPECT_EQ(PathOf(pidls.ItemBytes(0)), Folder());
    EXPECT_EQ(ItemCount(pidls.ItemBytes(1)), 1);
    EXPECT_EQ(NamesOf(pidls), Names{File(L"a.txt")});
}

TEST_F(PidlTest, TwoDrivesHaveTheComputerAsParent) {
    TPIDLList pidls = ReadBack(CidaOf({File(L"a.txt"), L"Z:\\tmp"}));
    ASSERT_EQ(pidls.Count(), 3);
    EXPECT_EQ(pidls.ItemBytes(0), SpecialFolder(CSIDL_DRIVES));
    EXPECT_EQ(NamesOf(pidls), (Names{File(L"a.txt"), L"Z:\\tmp"}));

    // Below the desktop itself (its parent is the bare terminator) each child is a whole absolute list.
    TPIDLList desktopChildren;
    desktopChildren.AddBytes(TPIDLBytes{0, 0});
    desktopChildren.AddBytes(JoinPIDLs(pidls.ItemBytes(0), pidls.ItemBytes(2)));
    EXPECT_EQ(NamesOf(desktopChildren), Names{L"Z:\\tmp"});
}

TEST_F(PidlTest, NamesTheShellCannotParseAreLeftOutOfTheIdListOnly) {
    const std::wstring unparsable[] = {L"\\\\?\\" + File(L"b.txt"), File(L"missing.txt"), L""};
    TFileDataFormat files(nullptr);
    files.Files().Add(File(L"a.txt"));
    for (const std::wstring& name : unparsable) files.Files().Add(name);

    TPIDLClipboardFormat pidl;
    ASSERT_TRUE(files.GiveToClipboardFormat(pidl));
    EXPECT_EQ(pidl.Filenames().ToVector(), Names{File(L"a.txt")});
    TFileClipboardFormat drop;
    ASSERT_TRUE(files.GiveToClipboardFormat(drop));
    EXPECT_EQ(drop.Files().Count(), 4) << "the drag keeps its CF_HDROP";

    files.Files().Delete(0);
    ASSERT_TRUE(files.GiveToClipboardFormat(pidl));
    EXPECT_FALSE(pidl.HasData());
    EXPECT_EQ(pidl.DataSize(), 0u) << "no ID list to offer";
}

TEST_F(PidlTest, AChildWithoutAPathIsSkipped) {
    const kit::UniquePidl file = PathToPIDL(File(L"a.txt"));
    ASSERT_TRUE(file);
    TPIDLList pidls;
    pidls.AddBytes(TPIDLBytes{0, 0});          // the desktop
    pidls.AddBytes(SpecialFolder(CSIDL_DRIVES));  // the computer has no file-system path
    pidls.Add(file.get());
    TPIDLsToFilenamesStrings names(pidls);
    EXPECT_EQ(names.ToVector(), Names{File(L"a.txt")});
    try {
        names.Get(1);
        ADD_FAILURE() << "no exception";
    } catch (const kit::Exception& e) {
        EXPECT_EQ(e.Message(), L"Filename index out of range");
    }
}

// A drop holds the window until it ends, and under Wine the shell reads the whole folder of each child it names
// (1.5 ms for one in a folder of 4,000 entries): the time depends on the folders, not on how many children there
// are. Children not all named within half a second are none, and the files read nothing from the array. The clock
// moves on at each reading by what naming one child costs in a large folder.
TEST_F(PidlTest, ChildrenNotAllNamedWithinHalfASecondAreNone) {
    const std::wstring folder = File(L"folder");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const TPIDLList named = ReadBack(CidaOf({folder}));
    ASSERT_EQ(named.Count(), 2) << "the parent and the folder";
    testsupport::FakeInteraction clock;
    struct Case {
        const char* what;
        DWORD millisecondsAChild;
        int children;
        bool read;
    };
    const Case cases[] = {
        {"50 children named in 500 ms", 10, 50, true},
        {"51 children named in 510 ms", 10, 51, false},
        {"1,000 children at the cost they have here", 0, 1000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TPIDLList pidls;
        pidls.AddBytes(named.ItemBytes(0));
        for (int i = 0; i < c.children; ++i) pidls.AddBytes(named.ItemBytes(1));
        std::string block(CIDASize(pidls), '\0');
        ASSERT_TRUE(WriteCIDA(reinterpret_cast<BYTE*>(block.data()), block.size(), pidls));
        auto object = ddtest::TestDataObject::Create();
        object->Offer(TPIDLClipboardFormat::Class.Format(), block, TYMED_HGLOBAL);

        clock.tickStep = c.millisecondsAChild;
        TFileDataFormat files(nullptr);
        files.UseSide(TFormatSide::Target);
        EXPECT_EQ(files.GetData(object.get()), c.read);
        EXPECT_EQ(files.Files().ToVector(), c.read ? Names(static_cast<size_t>(c.children), folder) : Names{});
    }
}

TEST(DragDropPIDL, MalformedBlocksAreNoData) {
    // Parent: the desktop; children: one made-up item each. Reading needs no shell.
    const std::string parent = Bytes("\0\0");
    const std::string child = Bytes("\x05\0abc\0\0");
    const std::string table = Dword(2) + Dword(16) + Dword(18) + Dword(25);
    const std::string good = table + parent + child + child;
    constexpr auto kLimit = static_cast<DWORD>(kMaxIDListChildren);
    struct Case {
        const char* what;
        std::string block;
        int count;
    };
    const Case cases[] = {
        {"well formed", good, 3},
        {"no child", Dword(0) + Dword(8) + parent, 0},
        {"a count of 2^32 - 1", Dword(0xFFFFFFFF) + good.substr(4), 0},
        {"more children than offsets", Dword(40) + good.substr(4), 0},
        {"an offset past the end", Dword(2) + Dword(16) + Dword(18) + Dword(400) + parent + child + child, 0},
        {"an offset into the table", Dword(2) + Dword(16) + Dword(8) + Dword(25) + parent + child + child, 0},
        {"the last item cut", good.substr(0, good.size() - 3), 0},
        {"the last terminator missing", good.substr(0, good.size() - 2), 0},
        {"an item shorter than its count", table + parent + Bytes("\x01\0abc\0\0") + child, 0},
        {"an item running past the end", table + parent + child + Bytes("\x40\0abc\0\0"), 0},
        {"shorter than a count", Bytes("\x02\0"), 0},
        // Every child costs a call of the shell when it is named: past the limit the block is refused whole.
        {"children up to the limit", CidaOfEmptyLists(kLimit), static_cast<int>(kLimit) + 1},
        {"a child past the limit", CidaOfEmptyLists(kLimit + 1), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TPIDLClipboardFormat format;
        TStgMediumOwner medium(ddtest::MediumFromBytes(c.block, TYMED_HGLOBAL));
        EXPECT_EQ(format.GetDataFromMedium(nullptr, medium.get()), c.count > 0);
        EXPECT_EQ(format.Pidls().Count(), c.count);
    }
}

TEST_F(PidlTest, ThePidlDataFormatReadsIdListsAndFileLists) {
    const Names files = {File(L"a.txt"), File(L"b.txt")};
    TUnicodeStringList list;
    for (const std::wstring& file : files) list.Add(file);
    std::string dropFiles(DropFilesSize(list, true), '\0');
    WriteDropFiles(reinterpret_cast<BYTE*>(dropFiles.data()), dropFiles.size(), list, true);

    const CLIPFORMAT idList = TPIDLClipboardFormat::Class.Format();
    struct Case {
        const char* what;
        CLIPFORMAT format;
        std::string block;
    };
    const Case cases[] = {{"ID lists as they are", idList, CidaOf(files)},
                          {"file names made into ID lists", CF_HDROP, dropFiles}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto object = ddtest::TestDataObject::Create();
        object->Offer(c.format, c.block, TYMED_HGLOBAL);
        TPIDLDataFormat pidls(nullptr);
        pidls.UseSide(TFormatSide::Target);
        ASSERT_TRUE(pidls.GetData(object.get()));
        EXPECT_EQ(pidls.Pidls().Count(), 3) << "the folder and two files";
        EXPECT_EQ(pidls.Filenames().ToVector(), files);
    }

    // Given back to both formats.
    TPIDLDataFormat source(nullptr);
    source.UseSide(TFormatSide::Source);
    source.Filenames().Assign(list);
    TFileClipboardFormat drop;
    ASSERT_TRUE(source.GiveToClipboardFormat(drop));
    EXPECT_EQ(drop.Files().ToVector(), files);
    TPIDLClipboardFormat ids;
    ASSERT_TRUE(source.GiveToClipboardFormat(ids));
    EXPECT_EQ(NamesOf(ids.Pidls()), files);
}
