#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "dragdrop/DragDropFile.h"
#include "tests/dragdrop/DragDropFixture.h"

using namespace dragdrop;
using ddtest::Bytes;
using ddtest::WideBytes;
using Names = std::vector<std::wstring>;

namespace {

std::string DropFilesHeader(DWORD namesOffset, DWORD wide) {
    std::string header(kDropFilesHeaderSize, '\0');
    std::memcpy(&header[0], &namesOffset, 4);
    std::memcpy(&header[16], &wide, 4);
    return header;
}

// What the system's own reader finds in the block.
Names DragQueryFiles(const std::string& block) {
    HGLOBAL memory = ddtest::GlobalFromBytes(block);
    const auto drop = static_cast<HDROP>(memory);
    Names names;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring name(DragQueryFileW(drop, i, nullptr, 0), L'\0');
        DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size() + 1));
        names.push_back(name);
    }
    GlobalFree(memory);
    return names;
}

// What CF_HDROP reads from the block as an HGLOBAL medium; none when it is no data.
std::optional<Names> ReadAsMedium(const std::string& block) {
    TStgMediumOwner medium(ddtest::MediumFromBytes(block, TYMED_HGLOBAL));
    TFileClipboardFormat drop;
    if (!drop.GetDataFromMedium(nullptr, medium.get())) return std::nullopt;
    return drop.Files().ToVector();
}

std::string WrittenBlock(TCustomSimpleClipboardFormat& format) {
    std::string block(format.DataSize(), '\0');  // the codec writes into zero-filled memory
    EXPECT_TRUE(format.WriteData(reinterpret_cast<BYTE*>(block.data()), block.size()));
    return block;
}

// A target-side file data format, as a drop target holds one.
std::vector<std::wstring> FilesRead(IDataObject* source) {
    TFileDataFormat files(nullptr);
    files.UseSide(TFormatSide::Target);
    files.GetData(source);
    return files.Files().ToVector();
}

const std::string kTwoNames = WideBytes(L"C:\\a") + Bytes("\0\0") + WideBytes(L"C:\\bc") + Bytes("\0\0");
const std::string kBlock44 = DropFilesHeader(20, 1) + kTwoNames + Bytes("\0\0");

} // namespace

TEST(DragDropFile, WritesTheDropFilesLayout) {
    TFileClipboardFormat drop;
    drop.Files().Add(L"C:\\a");
    drop.Files().Add(L"C:\\bc");
    EXPECT_EQ(drop.DataSize(), 44u);
    EXPECT_EQ(WrittenBlock(drop), kBlock44);

    drop.Files().Clear();
    EXPECT_EQ(drop.DataSize(), 22u);
    EXPECT_EQ(WrittenBlock(drop), DropFilesHeader(20, 1) + Bytes("\0\0"));
    EXPECT_EQ(ReadAsMedium(WrittenBlock(drop)), std::nullopt) << "an empty list reads as no data";
}

TEST(DragDropFile, ReadsDropFilesAsTheSystemDoesAndRefusesMalformedBlocks) {
    struct Case {
        const char* what;
        std::string block;
        std::optional<Names> names;
    };
    const Names two = {L"C:\\a", L"C:\\bc"};
    const Case cases[] = {
        {"the 44-byte block", kBlock44, two},
        {"one trailing byte (odd length)", kBlock44 + "\x7F", two},
        {"names after padding", DropFilesHeader(24, 1) + "\xAA\xAA\xAA\xAA" + kTwoNames + Bytes("\0\0"), two},
        {"ANSI names", DropFilesHeader(20, 0) + Bytes("C:\\a\0C:\\bc\0\0"), two},
        {"a first character with a zero low byte", DropFilesHeader(20, 1) + WideBytes(L"\u0100x") + Bytes("\0\0\0\0"),
         Names{L"\u0100x"}},
        {"an empty list", DropFilesHeader(20, 1) + Bytes("\0\0"), std::nullopt},
        {"pFiles 44 (at the end)", DropFilesHeader(44, 1) + kTwoNames + Bytes("\0\0"), std::nullopt},
        {"pFiles 200", DropFilesHeader(200, 1) + kTwoNames + Bytes("\0\0"), std::nullopt},
        {"pFiles 65536", DropFilesHeader(65536, 1) + kTwoNames + Bytes("\0\0"), std::nullopt},
        {"pFiles inside the header", DropFilesHeader(12, 1) + kTwoNames + Bytes("\0\0"), std::nullopt},
        {"terminator cut in half (odd length)", kBlock44.substr(0, 43), std::nullopt},
        {"no final terminator", kBlock44.substr(0, 42), std::nullopt},
        {"a name without its null", DropFilesHeader(20, 1) + WideBytes(L"C:\\a"), std::nullopt},
        {"ANSI list without its final null", DropFilesHeader(20, 0) + Bytes("C:\\a\0C:\\bc\0"), std::nullopt},
        {"the header alone", DropFilesHeader(20, 1), std::nullopt},
        {"shorter than the header", std::string(12, '\0'), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<Names> read = ReadAsMedium(c.block);
        EXPECT_EQ(read, c.names);
        // Where the block is well formed the system's reader is the reference; it reads past a bad one.
        if (c.names) {
            EXPECT_EQ(DragQueryFiles(c.block), *c.names);
        }
    }
}

// A medium of one-character names holds millions of them, which would take seconds to read: a list of more names
// than any source drops is no data.
TEST(DragDropFile, AListOfMoreThanAMillionNamesIsNoData) {
    constexpr size_t kMostNames = 1048576;
    struct Case {
        size_t names;
        bool read;
    };
    for (const Case c : {Case{kMostNames, true}, Case{kMostNames + 1, false}}) {
        SCOPED_TRACE(c.names);
        std::string block = DropFilesHeader(20, 1);
        block.reserve(block.size() + c.names * 4 + 2);
        for (size_t i = 0; i < c.names; ++i) block += WideBytes(L"a") + Bytes("\0\0");
        block += Bytes("\0\0");
        const std::optional<Names> read = ReadAsMedium(block);
        ASSERT_EQ(read.has_value(), c.read);
        if (read) {
            EXPECT_EQ(read->size(), c.names);
        }
    }
}

TEST(DragDropFile, AnsiNamesAdvanceByTheirBytes) {
    ASSERT_TRUE(IsValidCodePage(932));
    const TUnicodeStringList files{L"C:\\\u65E5\u672C\\a.txt", L"C:\\b.txt"};
    const size_t size = DropFilesSize(files, false, 932);
    EXPECT_EQ(size, 20u + (13 + 1) + (8 + 1) + 1) << "two double-byte characters count four bytes";
    std::string block(size, '\0');
    ASSERT_TRUE(WriteDropFiles(reinterpret_cast<BYTE*>(block.data()), block.size(), files, false, 932));
    EXPECT_EQ(block.substr(20 + 14, 9), Bytes("C:\\b.txt\0")) << "the second name follows the first's bytes";
    TUnicodeStringList back;
    ASSERT_TRUE(ReadDropFiles(reinterpret_cast<const BYTE*>(block.data()), block.size(), back, 932));
    EXPECT_EQ(back.ToVector(), files.ToVector());
    EXPECT_FALSE(WriteDropFiles(reinterpret_cast<BYTE*>(block.data()), block.size() - 1, files, false, 932))
        << "a list that does not fit is not written cut";
}

TEST(DragDropFile, SingleNameFormats) {
    const CLIPFORMAT fileNameW = ddtest::Registered(L"FileNameW");
    const CLIPFORMAT fileName = ddtest::Registered(L"FileName");

    auto wideOnly = ddtest::TestDataObject::Create();
    wideOnly->Offer(fileNameW, WideBytes(L"C:\\a.txt") + Bytes("\0\0g\0a\0r\0b\0\0\0"));
    EXPECT_EQ(FilesRead(wideOnly.get()), Names{L"C:\\a.txt"}) << "cut at the first null";

    auto ansiOnly = ddtest::TestDataObject::Create();
    ansiOnly->Offer(fileName, Bytes("C:\\caf\xE9.txt\0junk\0"));
    EXPECT_EQ(FilesRead(ansiOnly.get()), Names{L"C:\\caf\u00E9.txt"});

    // Written from a list: its first name, with the terminating null.
    TFileDataFormat files(nullptr);
    files.Files().Assign(TUnicodeStringList{L"C:\\x.txt", L"C:\\y.txt"});
    TUnicodeFilenameClipboardFormat wide;
    ASSERT_TRUE(files.GiveToClipboardFormat(wide));
    EXPECT_EQ(WrittenBlock(wide), WideBytes(L"C:\\x.txt") + Bytes("\0\0"));
    TAnsiFilenameClipboardFormat ansi;
    ASSERT_TRUE(files.GiveToClipboardFormat(ansi));
    EXPECT_EQ(WrittenBlock(ansi), Bytes("C:\\x.txt\0"));
    files.Files().Clear();
    EXPECT_FALSE(files.GiveToClipboardFormat(ansi)) << "no name to give";
}

TEST(DragDropFile, FileListsAreTriedInPriorityOrder) {
    const CLIPFORMAT fileNameW = ddtest::Registered(L"FileNameW");
    auto both = ddtest::TestDataObject::Create();
    both->Offer(CF_HDROP, kBlock44, TYMED_ISTREAM);
    both->Offer(fileNameW, WideBytes(L"C:\\other.txt") + Bytes("\0\0"));
    EXPECT_EQ(FilesRead(both.get()), (Names{L"C:\\a", L"C:\\bc"})) << "CF_HDROP only";

    // A malformed CF_HDROP is no data: the next format in order fills the list.
    auto malformed = ddtest::TestDataObject::Create();
    malformed->Offer(CF_HDROP, kBlock44.substr(0, 42));
    malformed->Offer(fileNameW, WideBytes(L"C:\\other.txt") + Bytes("\0\0"));
    EXPECT_EQ(FilesRead(malformed.get()), Names{L"C:\\other.txt"});
}

TEST(DragDropFile, NameMaps) {
    auto source = ddtest::TestDataObject::Create();
    source->Offer(ddtest::Registered(L"FileNameMapW"), WideBytes(L"x.txt") + Bytes("\0\0") + WideBytes(L"y.txt") +
                                                           Bytes("\0\0\0\0"));
    source->Offer(ddtest::Registered(L"FileNameMap"), Bytes("p.txt\0q.txt\0\0"));
    TFileMapDataFormat maps(nullptr);
    maps.UseSide(TFormatSide::Target);
    ASSERT_TRUE(maps.GetData(source.get()));
    EXPECT_EQ(maps.NameMappings().ToVector(), (Names{L"x.txt", L"y.txt"})) << "the wide map first";

    auto ansiOnly = ddtest::TestDataObject::Create();
    ansiOnly->Offer(ddtest::Registered(L"FileNameMap"), Bytes("p\xE9.txt\0q.txt\0\0"));
    maps.Clear();
    ASSERT_TRUE(maps.GetData(ansiOnly.get()));
    EXPECT_EQ(maps.NameMappings().ToVector(), (Names{L"p\u00E9.txt", L"q.txt"}));

    TAnsiFilenameMapClipboardFormat ansi;
    ASSERT_TRUE(maps.GiveToClipboardFormat(ansi));
    EXPECT_EQ(ansi.DataSize(), 14u);
    EXPECT_EQ(WrittenBlock(ansi), Bytes("p\xE9.txt\0q.txt\0\0"));
    TUnicodeFilenameMapClipboardFormat wide;
    ASSERT_TRUE(maps.GiveToClipboardFormat(wide));
    EXPECT_EQ(WrittenBlock(wide), WideBytes(L"p\u00E9.txt") + Bytes("\0\0") + WideBytes(L"q.txt") + Bytes("\0\0\0\0"));
}

// The n-th name is the n-th file's: a list that left out an empty name would give every later file the name of
// the one after it. Such a map is offered in neither form, and neither form writes it.
TEST(DragDropFile, AMapHoldingAnEmptyNameIsRefusedWhole) {
    TDropFileSource source;
    for (const wchar_t* file : {L"C:\\a.txt", L"C:\\b.txt", L"C:\\c.txt"}) source.Files().Add(file);
    for (const wchar_t* name : {L"x.txt", L"", L"z.txt"}) source.FileMapDataFormat().NameMappings().Add(name);
    const CLIPFORMAT wideMap = ddtest::Registered(L"FileNameMapW");
    const CLIPFORMAT ansiMap = ddtest::Registered(L"FileNameMap");
    const std::vector<CLIPFORMAT> offered = ddtest::EnumeratedFormats(&source);
    EXPECT_EQ(std::count(offered.begin(), offered.end(), wideMap), 0);
    EXPECT_EQ(std::count(offered.begin(), offered.end(), ansiMap), 0);
    for (const CLIPFORMAT map : {wideMap, ansiMap}) {
        SCOPED_TRACE(ClipboardFormatName(map));
        HRESULT hr = S_OK;
        EXPECT_EQ(ddtest::DataBytes(&source, map, &hr), "");
        EXPECT_NE(hr, S_OK);
    }

    TUnicodeFilenameMapClipboardFormat wide;
    for (const wchar_t* name : {L"x.txt", L"", L"z.txt"}) wide.FileMaps().Add(name);
    TAnsiFilenameMapClipboardFormat ansi;
    ansi.FileMaps() = {"x.txt", "", "z.txt"};
    for (TCustomSimpleClipboardFormat* format : {static_cast<TCustomSimpleClipboardFormat*>(&wide),
                                                 static_cast<TCustomSimpleClipboardFormat*>(&ansi)}) {
        EXPECT_FALSE(format->HasData());
        std::string block(64, '\0');
        EXPECT_FALSE(format->WriteData(reinterpret_cast<BYTE*>(block.data()), block.size()));
    }
}

TEST(DragDropFile, ChangesOfTheListTellTheDataFormat) {
    TFileDataFormat files(nullptr);
    int changes = 0;
    files.OnChanging = [&](TCustomDataFormat&) { ++changes; };
    files.Files().Add(L"C:\\a");
    files.Files().Assign(TUnicodeStringList{L"C:\\b", L"C:\\c", L"C:\\d"});
    files.Clear();
    EXPECT_EQ(changes, 3);
    EXPECT_FALSE(files.HasData());
}
