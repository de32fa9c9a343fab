// Files that exist only as data: descriptor byte tables, "FileContents" by index, the virtual-file data format
// from a source to a target, and the named stream and interface lists they fill.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <cstring>
#include <string>
#include <vector>

#include "dragdrop/DragDropFileVirtual.h"
#include "kit/Exception.h"
#include "tests/dragdrop/DragDropFixture.h"

using namespace dragdrop;
using Names = std::vector<std::wstring>;

namespace {

const CLIPFORMAT kContents = ddtest::Registered(L"FileContents");
const CLIPFORMAT kDescriptor = ddtest::Registered(L"FileGroupDescriptor");
const CLIPFORMAT kDescriptorW = ddtest::Registered(L"FileGroupDescriptorW");

// cItems, then one record a name, each name at byte 72 of its record.
std::string DescriptorBlock(DWORD count, bool wide, const Names& names) {
    const size_t record = wide ? 592 : 332;
    std::string block(4 + record * names.size(), '\0');
    std::memcpy(block.data(), &count, 4);
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string name = wide ? ddtest::WideBytes(names[i]) : WideToCodePage(names[i]);
        block.replace(4 + i * record + 72, name.size(), name);
    }
    return block;
}

Names DescriptorNames(const TFileGroupDescriptorCustomClipboardFormat& format) {
    Names names;
    for (int i = 0; i < format.Count(); ++i) names.push_back(format.GetFilename(i));
    return names;
}

std::string StreamBytes(const TStreamList& streams, int index) { return ddtest::BytesOfStream(streams.Items(index).get()); }

} // namespace

TEST(FileGroupDescriptor, ByteTables) {
    struct Case {
        const char* what;
        bool wide;
        DWORD count;
        Names records;  // the records the block holds
        bool reads;
    };
    const Case cases[] = {
        {"one ANSI item", false, 1, {L"a.txt"}, true},
        {"two ANSI items", false, 2, {L"first.txt", L"second.txt"}, true},
        {"one Unicode item", true, 1, {L"\u00E9t\u00E9.txt"}, true},
        {"many Unicode items", true, 5, {L"1", L"2", L"3", L"4", L"5"}, true},
        {"no item", true, 0, {}, true},
        {"a count that claims more than the block holds", true, 3, {L"a", L"b"}, false},
        {"a huge count: 2^28 records of 592 bytes and 4 are 4 bytes in 32 bits", true, 0x10000000, {L"a"}, false},
        {"the same with 2^30 ANSI records", false, 0x40000000, {L"a"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string block = DescriptorBlock(c.count, c.wide, c.records);
        TAnsiFileGroupDescriptorClipboardFormat ansi;
        TUnicodeFileGroupDescriptorClipboardFormat unicode;
        TFileGroupDescriptorCustomClipboardFormat& format = c.wide ? static_cast<TFileGroupDescriptorCustomClipboardFormat&>(unicode) : ansi;
        ASSERT_EQ(format.ReadData(reinterpret_cast<const BYTE*>(block.data()), block.size()), c.reads);
        if (!c.reads) {
            EXPECT_EQ(format.Count(), 0);
            EXPECT_EQ(format.DataSize(), 0u) << "no data, not part of it";
            continue;
        }
        EXPECT_EQ(DescriptorNames(format), c.records);
        EXPECT_EQ(format.HasData(), c.count > 0);
        ASSERT_EQ(format.DataSize(), block.size());
        std::string written(block.size(), 'x');
        ASSERT_TRUE(format.WriteData(reinterpret_cast<BYTE*>(written.data()), written.size()));
        EXPECT_EQ(written, block);
    }
    TUnicodeFileGroupDescriptorClipboardFormat tooShort;
    EXPECT_FALSE(tooShort.ReadData(reinterpret_cast<const BYTE*>("\1\0\0"), 3));
}

TEST(FileGroupDescriptor, NamesAreCheckedAndCut) {
    TAnsiFileGroupDescriptorClipboardFormat ansi;
    TUnicodeFileGroupDescriptorClipboardFormat unicode;
    for (TFileGroupDescriptorCustomClipboardFormat* format :
         std::initializer_list<TFileGroupDescriptorCustomClipboardFormat*>{&ansi, &unicode}) {
        SCOPED_TRACE(format->ClassType().Name());
        format->MakeBlock(2);
        format->SetFilename(1, std::wstring(300, L'n'));
        EXPECT_EQ(format->GetFilename(1), std::wstring(259, L'n')) << "the null still fits";
        try {
            format->GetFilename(2);
            ADD_FAILURE() << "no exception";
        } catch (const kit::Exception& e) {
            EXPECT_EQ(e.Message(), L"Filename index out of bounds (2)");
        }
    }
    unicode.SetFilename(0, std::wstring(258, L'n') + L"\U0001F600");
    EXPECT_EQ(unicode.GetFilename(0), std::wstring(258, L'n')) << "never half a character";
}

namespace {

// A source of two virtual files whose contents it gives when a target asks for them.
class VirtualFileTest : public testing::Test {
protected:
    void SetUp() override {
        files_.FileNames().Add(L"first.txt");
        files_.FileNames().Add(L"second.txt");
        const DWORD sizeFlag = FD_FILESIZE;
        for (int i = 0; i < 2; ++i) {
            std::vector<BYTE>& record = files_.FileDescriptors()[i];
            std::memcpy(record.data(), &sizeFlag, 4);
            const DWORD size = static_cast<DWORD>(contents_[i].size());
            std::memcpy(record.data() + 68, &size, 4);
        }
        files_.FileContentsClipboardFormat().OnGetStream = [this](TFileContentsStreamOnDemandClipboardFormat&,
                                                                  int index, kit::ComPtr<IStream>& stream) {
            if (index < 2) stream = streams_[index] ? streams_[index] : ddtest::StreamFromBytes(contents_[index]);
        };
    }

    std::string contents_[2] = {"one", "second content"};
    kit::ComPtr<IStream> streams_[2];  // when set, served instead of the contents
    TDropFileSource source_;
    TVirtualFileStreamDataFormat files_{&source_};
};

} // namespace

TEST_F(VirtualFileTest, TheSourceOffersDescriptorsAndContents) {
    // The map's order: priority 0 newest first, then 1.
    EXPECT_EQ(ddtest::EnumeratedFormats(&source_), (std::vector<CLIPFORMAT>{kDescriptorW, kContents, kDescriptor}));
    const std::string ansi = ddtest::DataBytes(&source_, kDescriptor);
    ASSERT_GE(ansi.size(), 668u) << "two records of 332 bytes and the count";
    EXPECT_EQ(ansi.substr(0, 4), ddtest::Bytes("\2\0\0\0"));
    EXPECT_EQ(ansi.substr(408, 11), ddtest::Bytes("second.txt\0")) << "the second name's place";
    EXPECT_EQ(ansi.substr(4 + 332 + 68, 4), ddtest::Bytes("\x0e\0\0\0")) << "the fields before the name come along";
    EXPECT_GE(ddtest::DataBytes(&source_, kDescriptorW).size(), 4u + 2 * 592);

    // The contents of an item by its index, as memory or as the item's stream; -1 is the first.
    FORMATETC request{kContents, nullptr, DVASPECT_CONTENT, 1, TYMED_HGLOBAL};
    TStgMediumOwner medium;
    ASSERT_EQ(source_.GetData(&request, medium.put()), S_OK);
    EXPECT_EQ(ddtest::BytesOfMedium(medium.get()).substr(0, 14), "second content");
    request = FORMATETC{kContents, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    ASSERT_EQ(source_.GetData(&request, medium.put()), S_OK);
    EXPECT_EQ(ddtest::BytesOfMedium(medium.get()), "one");
    request.lindex = 5;
    EXPECT_EQ(source_.GetData(&request, medium.put()), DV_E_FORMATETC) << "no such item";
}

TEST_F(VirtualFileTest, ATargetReadsTheNamesAndTheContentsByIndex) {
    TDropFileTarget target;
    TVirtualFileStreamDataFormat read(&target);
    DWORD effect = DROPEFFECT_COPY;
    target.DragEnter(&source_, MK_LBUTTON, POINTL{}, &effect);
    Names names;
    bool hasContents = false;
    target.OnDrop = [&](TCustomDropTarget&, TShiftState, POINT, DWORD&) {
        names = read.FileNames().ToVector();
        hasContents = read.HasContents();
    };
    effect = DROPEFFECT_COPY;
    target.Drop(&source_, 0, POINTL{}, &effect);
    EXPECT_EQ(names, (Names{L"first.txt", L"second.txt"}));
    EXPECT_TRUE(hasContents);

    // The contents item by item, named by the descriptor: as the stream format, and as the data format of
    // named streams it serves.
    TFileContentsStreamClipboardFormat contents;
    ASSERT_TRUE(contents.GetData(&source_));
    ASSERT_EQ(contents.Streams().Count(), 2);
    EXPECT_EQ(contents.Streams().Names(1), L"second.txt");
    EXPECT_EQ(StreamBytes(contents.Streams(), 0), "one");
    EXPECT_EQ(StreamBytes(contents.Streams(), 1), "second content");
    TDataStreamDataFormat streams(nullptr);
    streams.UseSide(TFormatSide::Target);
    ASSERT_TRUE(streams.GetData(&source_));
    EXPECT_EQ(StreamBytes(streams.Streams(), 1), "second content");
}

TEST_F(VirtualFileTest, AnAnsiDescriptorIsWidened) {
    auto ansiOnly = ddtest::TestDataObject::Create();
    ansiOnly->Offer(kDescriptor, ddtest::DataBytes(&source_, kDescriptor), TYMED_HGLOBAL);
    TVirtualFileStreamDataFormat read(nullptr);
    read.UseSide(TFormatSide::Target);
    read.GetData(ansiOnly.get());
    EXPECT_EQ(read.FileNames().ToVector(), (Names{L"first.txt", L"second.txt"}));
    EXPECT_FALSE(read.HasContents()) << "no contents offered";
    EXPECT_EQ(std::memcmp(read.FileDescriptors()[1].data(), files_.FileDescriptors()[1].data(), 72), 0);
}

TEST_F(VirtualFileTest, AnItemThatIsNotWholeEndsTheReading) {
    struct Case {
        const char* what;
        kit::ComPtr<IStream> second;
    };
    const Case cases[] = {
        {"shorter than it claims", ddtest::SpyStream::Create("short", false, 100).As<IStream>()},
        {"claims more than the library reads", ddtest::SpyStream::Create("big", false, 1ull << 40).As<IStream>()},
        {"unreadable", ddtest::SpyStream::Create("secret", true).As<IStream>()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        streams_[1] = c.second;
        TFileContentsStreamClipboardFormat contents;
        EXPECT_TRUE(contents.GetData(&source_));
        ASSERT_EQ(contents.Streams().Count(), 1) << "the items read so far stay";
        EXPECT_EQ(StreamBytes(contents.Streams(), 0), "one");
    }
}

// Each item is copied into memory: however many items the descriptor lists, all of them together stop at the
// limit, the item that would pass it ending the reading as one that is not whole does.
TEST_F(VirtualFileTest, TheItemsTogetherStopAtTheLimit) {
    const auto streamOf = [](unsigned long long size) {
        kit::ComPtr<IStream> stream;
        CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
        ULARGE_INTEGER bytes;
        bytes.QuadPart = size;
        stream->SetSize(bytes);
        return stream;
    };
    const unsigned long long first = kMaxFileContentsTotal / 2 + 1;
    streams_[0] = streamOf(first);
    streams_[1] = streamOf(kMaxFileContentsTotal / 2);  // one byte too many with the first
    TFileContentsStreamClipboardFormat contents;
    EXPECT_TRUE(contents.GetData(&source_));
    ASSERT_EQ(contents.Streams().Count(), 1) << "the items read so far stay";
    STATSTG stat{};
    contents.Streams().Items(0)->Stat(&stat, STATFLAG_NONAME);
    EXPECT_EQ(stat.cbSize.QuadPart, first);

    streams_[1] = streamOf(kMaxFileContentsTotal / 2 - 1);  // exactly the limit with the first
    EXPECT_TRUE(contents.GetData(&source_));
    EXPECT_EQ(contents.Streams().Count(), 2);
}

namespace {

// Another program's virtual files, each item's contents in the medium it chose: a stream or a storage.
class ItemsSource : public IDataObject {
public:
    struct Item {
        kit::ComPtr<IStream> stream;  // or
        kit::ComPtr<IStorage> storage;
    };
    explicit ItemsSource(std::vector<Item> items) : items_(std::move(items)) {}
    virtual ~ItemsSource() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = iid == IID_IUnknown || iid == IID_IDataObject ? static_cast<IDataObject*>(this) : nullptr;
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }  // lives on the test's stack
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        *medium = STGMEDIUM{};
        if (format->cfFormat == kDescriptorW) {
            medium->tymed = TYMED_HGLOBAL;
            medium->hGlobal = ddtest::GlobalFromBytes(DescriptorBlock(static_cast<DWORD>(items_.size()), true,
                                                                      Names(items_.size(), L"item")));
            return S_OK;
        }
        const Item& item = items_[static_cast<size_t>(format->lindex)];
        if (item.stream) {
            medium->tymed = TYMED_ISTREAM;
            medium->pstm = kit::ComPtr<IStream>(item.stream).detach();
        } else {
            medium->tymed = TYMED_ISTORAGE;
            medium->pstg = kit::ComPtr<IStorage>(item.storage).detach();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (format->cfFormat == kDescriptorW && (format->tymed & TYMED_HGLOBAL)) return S_OK;
        if (format->cfFormat != kContents || format->lindex < 0 || static_cast<size_t>(format->lindex) >= items_.size())
            return DV_E_FORMATETC;
        const Item& item = items_[static_cast<size_t>(format->lindex)];
        return format->tymed & (item.stream ? TYMED_ISTREAM : TYMED_ISTORAGE) ? S_OK : DV_E_TYMED;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::vector<Item> items_;
    ULONG references_ = 1;
};

// A memory stream of `size` zero bytes.
kit::ComPtr<IStream> StreamOfSize(unsigned long long size) {
    kit::ComPtr<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
    ULARGE_INTEGER bytes;
    bytes.QuadPart = size;
    stream->SetSize(bytes);
    return stream;
}

// A storage in memory holding one short stream.
kit::ComPtr<IStorage> SmallStorage() {
    kit::ComPtr<ILockBytes> bytes;
    kit::ComPtr<IStorage> storage;
    CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put());
    StgCreateDocfileOnILockBytes(bytes.get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, storage.put());
    kit::ComPtr<IStream> inside;
    storage->CreateStream(L"inside", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, inside.put());
    inside->Write("stored", 6, nullptr);
    inside.reset();
    storage->Commit(STGC_DEFAULT);
    return storage;
}

unsigned long long StreamSize(IStream* stream) {
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    return stat.cbSize.QuadPart;
}

} // namespace

// A storage is copied into memory as its compound file: it counts toward the items' 64 MiB as a stream of that
// size does, wherever it comes among them.
TEST(FileContents, AStorageCountsTowardTheLimitAsAStreamDoes) {
    constexpr unsigned long long kLimit = 64ull * 1024 * 1024;
    const kit::ComPtr<IStorage> storage = SmallStorage();
    TFileContentsStreamClipboardFormat alone;
    ItemsSource storageAlone({{nullptr, storage}});
    ASSERT_TRUE(alone.GetData(&storageAlone));
    // Its compound file. Wine's grows by a sector once the storage has been read (2,560 bytes, then 3,072): the
    // cases hold whichever they meet.
    const unsigned long long stored = StreamSize(alone.Streams().Items(0).get());
    ASSERT_GT(stored, 0u);

    // Each item a stream of that many bytes, or the storage.
    constexpr unsigned long long kTheStorage = 0;
    struct Case {
        const char* what;
        std::vector<unsigned long long> items;
        int read;
    };
    const Case cases[] = {
        {"a storage after a stream that leaves it a byte short", {kLimit - stored + 1, kTheStorage}, 1},
        {"a stream after a storage, the two within the limit", {kTheStorage, kLimit - 2 * stored}, 2},
        {"a stream after a storage, a byte past the limit", {kTheStorage, kLimit - stored + 1}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ItemsSource::Item> items;
        for (const unsigned long long size : c.items)
            items.push_back(size == kTheStorage ? ItemsSource::Item{nullptr, storage} : ItemsSource::Item{StreamOfSize(size)});
        ItemsSource source(std::move(items));
        TFileContentsStreamClipboardFormat contents;
        EXPECT_TRUE(contents.GetData(&source));
        EXPECT_EQ(contents.Streams().Count(), c.read) << "the items read before the limit stay";
    }
}

TEST(FileContents, WithoutADescriptorOneUnnamedItem) {
    auto object = ddtest::TestDataObject::Create();
    object->Offer(kContents, "all of it", TYMED_ISTREAM);
    TFileContentsStreamClipboardFormat contents;
    ASSERT_TRUE(contents.GetData(object.get()));
    ASSERT_EQ(contents.Streams().Count(), 1);
    EXPECT_EQ(contents.Streams().Names(0), L"");
    EXPECT_EQ(StreamBytes(contents.Streams(), 0), "all of it");

    TFileContentsClipboardFormat first;
    EXPECT_EQ(first.FormatEtc().lindex, 0);
}

TEST(FileContents, AStorageIsKeptOrReadAsItsCompoundFile) {
    kit::ComPtr<ILockBytes> bytes;
    kit::ComPtr<IStorage> storage;
    ASSERT_EQ(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put()), S_OK);
    ASSERT_EQ(StgCreateDocfileOnILockBytes(bytes.get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                           storage.put()),
              S_OK);
    kit::ComPtr<IStream> inside;
    ASSERT_EQ(storage->CreateStream(L"inside", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, inside.put()),
              S_OK);
    inside->Write("stored", 6, nullptr);
    inside.reset();
    storage->Commit(STGC_DEFAULT);

    // A source keeps what a target sets; it serves the storage back to whoever asks for "FileContents".
    TDropFileSource source;
    FORMATETC formatEtc{kContents, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTORAGE};
    STGMEDIUM medium{};
    medium.tymed = TYMED_ISTORAGE;
    medium.pstg = storage.get();
    ASSERT_EQ(source.SetData(&formatEtc, &medium, FALSE), S_OK);

    TFileContentsStreamClipboardFormat asStream;
    ASSERT_TRUE(asStream.GetData(&source));
    EXPECT_EQ(StreamBytes(asStream.Streams(), 0).substr(0, 4), "\xD0\xCF\x11\xE0") << "a compound file";

    TFileContentsStorageClipboardFormat asStorage;
    ASSERT_TRUE(asStorage.GetData(&source));
    ASSERT_EQ(asStorage.Storages().Count(), 1);
    TStgMediumOwner served;
    ASSERT_TRUE(asStorage.RenderMedium(FORMATETC{kContents, nullptr, DVASPECT_CONTENT, 0, TYMED_ISTORAGE}, *served.put()));
    kit::ComPtr<IStream> back;
    ASSERT_EQ(served.get().pstg->OpenStream(L"inside", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, back.put()), S_OK);
    EXPECT_EQ(ddtest::BytesOfStream(back.get()), "stored");
    EXPECT_FALSE(asStorage.RenderMedium(FORMATETC{kContents, nullptr, DVASPECT_CONTENT, 1, TYMED_ISTORAGE}, *served.put()))
        << "no second item";
}

TEST(FileContents, DescriptorNamesAsAStringList) {
    TMemoryList descriptors;
    TFileDescriptorToFilenameStrings names(descriptors);
    names.Add(L"a");
    names.Add(L"b");
    names.Insert(0, L"nowhere");
    EXPECT_EQ(names.ToVector(), (Names{L"a", L"b"})) << "added at the end only";
    EXPECT_EQ(descriptors[0].size(), 592u);
    names.Put(0, L"c");
    names.Delete(1);
    EXPECT_EQ(names.ToVector(), Names{L"c"});
    names.Clear();
    EXPECT_EQ(descriptors.Count(), 0);
}

TEST(FileContents, NamedStreamListsHoldReferencesOfTheirOwn) {
    auto spy = ddtest::SpyStream::Create("x");
    {
        TStreamList first;
        first.Add(L"one", spy.get());
        EXPECT_EQ(spy->References(), 2u);
        {
            const kit::ComPtr<IStream> item = first.Items(0);
            EXPECT_EQ(spy->References(), 3u) << "an item comes with a reference of the caller's";
        }
        TStreamList second;
        second.Assign(first);
        EXPECT_EQ(second.Names(0), L"one");
        EXPECT_EQ(spy->References(), 3u) << "shared, each list holding its own";
        first.Clear();
        EXPECT_EQ(spy->References(), 2u);
    }
    EXPECT_EQ(spy->References(), 1u);
}
