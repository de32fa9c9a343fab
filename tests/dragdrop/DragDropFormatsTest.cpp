#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "dragdrop/DragDropFormats.h"
#include "tests/dragdrop/DragDropFixture.h"

using namespace dragdrop;
using ddtest::Bytes;

namespace {

FORMATETC PreferredRequest(DWORD tymed) {
    return FORMATETC{TPreferredDropEffectClipboardFormat::Class.Format(), nullptr, DVASPECT_CONTENT, -1, tymed};
}

class TestStringList : public TCustomStringListClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TestStringList() : TCustomStringListClipboardFormat(Class) {}
};
const TClipboardFormatClass TestStringList::Class{L"TestStringList", L"Kolvaran Test List", 0,
                                                  &CreateClipboardFormat<TestStringList>};

// A stream whose Stat claims more bytes than it holds.
class ClaimingStream : public IStream {
public:
    ClaimingStream(const std::string& bytes, ULONGLONG claimed)
        : inner_(ddtest::StreamFromBytes(bytes)), claimed_(claimed) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Read(void* b, ULONG n, ULONG* r) override { return inner_->Read(b, n, r); }
    HRESULT STDMETHODCALLTYPE Write(const void* b, ULONG n, ULONG* w) override { return inner_->Write(b, n, w); }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER m, DWORD o, ULARGE_INTEGER* p) override {
        return inner_->Seek(m, o, p);
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
        *stat = STATSTG{};
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = claimed_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

private:
    kit::ComPtr<IStream> inner_;
    ULONGLONG claimed_;
};

} // namespace

TEST(DragDropFormats, PreferredDropEffectAsGlobalAndAsStream) {
    TPreferredDropEffectClipboardFormat preferred;
    preferred.SetValue(DROPEFFECT_MOVE);
    EXPECT_TRUE(preferred.HasData());

    TStgMediumOwner global;
    ASSERT_TRUE(preferred.RenderMedium(PreferredRequest(TYMED_HGLOBAL), *global.put()));
    EXPECT_EQ(global.get().tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    EXPECT_EQ(ddtest::BytesOfGlobal(global.get().hGlobal), Bytes("\x02\0\0\0"));

    // A reader that never seeks reads from the first byte.
    TStgMediumOwner stream;
    ASSERT_TRUE(preferred.RenderMedium(PreferredRequest(TYMED_ISTREAM), *stream.put()));
    ASSERT_EQ(stream.get().tymed, static_cast<DWORD>(TYMED_ISTREAM));
    char bytes[16] = {};
    ULONG read = 0;
    ASSERT_TRUE(SUCCEEDED(stream.get().pstm->Read(bytes, sizeof(bytes), &read)));
    EXPECT_EQ(std::string(bytes, read), Bytes("\x02\0\0\0"));
    STATSTG stat{};
    ASSERT_EQ(stream.get().pstm->Stat(&stat, STATFLAG_DEFAULT), S_OK);
    EXPECT_EQ(stat.pwcsName, nullptr);
    EXPECT_EQ(stat.cbSize.QuadPart, 4u);

    // Both media read back; all storage kinds at once give the block.
    for (const TStgMediumOwner* medium : {&global, &stream}) {
        TPreferredDropEffectClipboardFormat back;
        ASSERT_TRUE(back.GetDataFromMedium(nullptr, medium->get()));
        EXPECT_EQ(back.Value(), static_cast<DWORD>(DROPEFFECT_MOVE));
    }
    TStgMediumOwner any;
    ASSERT_TRUE(preferred.RenderMedium(PreferredRequest(static_cast<DWORD>(-1)), *any.put()));
    EXPECT_EQ(any.get().tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    EXPECT_FALSE(preferred.RenderMedium(PreferredRequest(TYMED_FILE), *any.put()));
}

TEST(DragDropFormats, ShortMediaAreNoData) {
    struct Case {
        std::string bytes;
        DWORD tymed;
        bool dword;
        bool clsid;
    };
    const std::string guid = Bytes("0123456789abcdef");
    const Case cases[] = {
        {"", TYMED_HGLOBAL, false, false},
        {Bytes("\x02"), TYMED_HGLOBAL, false, false},
        {Bytes("\x02\0\0"), TYMED_ISTREAM, false, false},
        {Bytes("\x02\0\0\0"), TYMED_ISTREAM, true, false},
        {Bytes("\x02\0\0\0\xFF\xFF"), TYMED_HGLOBAL, true, false},
        {guid.substr(0, 15), TYMED_HGLOBAL, true, false},
        {guid, TYMED_ISTREAM, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bytes.size() << " bytes, tymed " << c.tymed);
        TStgMediumOwner medium(ddtest::MediumFromBytes(c.bytes, c.tymed));
        TPerformedDropEffectClipboardFormat performed;
        EXPECT_EQ(performed.GetDataFromMedium(nullptr, medium.get()), c.dword);
        if (c.dword) {
            EXPECT_EQ(performed.Value() & 0xFF, static_cast<DWORD>(c.bytes[0] & 0xFF));
        }
        TTargetCLSIDClipboardFormat target;
        EXPECT_EQ(target.GetDataFromMedium(nullptr, medium.get()), c.clsid);
        EXPECT_EQ(target.HasData(), c.clsid);
    }

    // A stream that claims more than it holds is no data, not a block with uninitialised bytes.
    ClaimingStream claiming(Bytes("\x01\0"), 4);
    STGMEDIUM medium{};
    medium.tymed = TYMED_ISTREAM;
    medium.pstm = &claiming;
    TPasteSucceededClipboardFormat paste;
    EXPECT_FALSE(paste.GetDataFromMedium(nullptr, medium));
    ClaimingStream huge(Bytes("\x01\0\0\0"), 1ull << 40);
    medium.pstm = &huge;
    EXPECT_FALSE(paste.GetDataFromMedium(nullptr, medium)) << "sizes are capped";
}

TEST(DragDropFormats, FeedbackDataFormatReadsAndKeepsValues) {
    auto source = ddtest::TestDataObject::Create();
    source->Offer(ddtest::Registered(L"Preferred DropEffect"), Bytes("\x02\0\0\0"));
    source->Offer(ddtest::Registered(L"Paste Succeeded"), Bytes("\x01\0\0\0"), TYMED_ISTREAM);
    source->Offer(ddtest::Registered(L"InShellDragLoop"), Bytes("\0\0\0\0"));
    const GUID target = {0x12345678, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
    source->Offer(ddtest::Registered(L"TargetCLSID"), std::string(reinterpret_cast<const char*>(&target), 16));

    TFeedbackDataFormat feedback(nullptr);
    feedback.UseSide(TFormatSide::Target);
    ASSERT_TRUE(feedback.GetData(source.get()));
    EXPECT_EQ(feedback.PreferredDropEffect(), static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(feedback.PasteSucceeded(), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_FALSE(feedback.InShellDragLoop());
    EXPECT_EQ(feedback.TargetCLSID(), target);
    EXPECT_EQ(feedback.PerformedDropEffect(), 0u) << "not offered";

    int changes = 0;
    feedback.OnChanging = [&](TCustomDataFormat&) { ++changes; };
    feedback.Clear();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(feedback.PreferredDropEffect(), 0u);
    EXPECT_EQ(feedback.PasteSucceeded(), static_cast<DWORD>(DROPEFFECT_COPY)) << "a paste's outcome is kept";
    EXPECT_EQ(feedback.TargetCLSID(), target);
    EXPECT_TRUE(feedback.HasData());

    // Only "InShellDragLoop", with 0, is data too.
    TFeedbackDataFormat loopOnly(nullptr);
    loopOnly.UseSide(TFormatSide::Target);
    auto loopSource = ddtest::TestDataObject::Create();
    loopSource->Offer(ddtest::Registered(L"InShellDragLoop"), Bytes("\0\0\0\0"));
    EXPECT_FALSE(loopOnly.HasData());
    ASSERT_TRUE(loopOnly.GetData(loopSource.get()));
    EXPECT_TRUE(loopOnly.HasData());
}

TEST(DragDropFormats, FeedbackWrittenIntoADataObject) {
    TFeedbackDataFormat feedback(nullptr);
    feedback.UseSide(TFormatSide::Source);
    feedback.SetPerformedDropEffect(DROPEFFECT_LINK);
    auto& performed = feedback.CompatibleFormats().Get<TPerformedDropEffectClipboardFormat>();
    ASSERT_TRUE(feedback.GiveToClipboardFormat(performed));

    auto target = ddtest::TestDataObject::Create();
    ASSERT_TRUE(performed.SetData(target.get(), performed.FormatEtc()));
    EXPECT_EQ(target->OfferedBytes(ddtest::Registered(L"Performed DropEffect")), Bytes("\x04\0\0\0"));
    EXPECT_FALSE(performed.SetData(target.get(), PreferredRequest(TYMED_HGLOBAL))) << "another format's request";
}

TEST(DragDropFormats, StringListAndAnsiString) {
    TestStringList list;
    list.Lines() = {"one", "two"};
    EXPECT_EQ(list.DataSize(), 11u);
    std::string block(11, '\xFF');
    ASSERT_TRUE(list.WriteData(reinterpret_cast<BYTE*>(block.data()), block.size()));
    EXPECT_EQ(block, Bytes("one\r\ntwo\r\n\0"));
    EXPECT_FALSE(list.WriteData(reinterpret_cast<BYTE*>(block.data()), 10)) << "only the exact size";

    const std::string mixed = Bytes("a\nb\r\nc\rd\0ignored");
    ASSERT_TRUE(list.ReadData(reinterpret_cast<const BYTE*>(mixed.data()), mixed.size()));
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"a", "b", "c", "d"}));
    const std::string unterminated = "x\ny";  // the last byte gives way to the null
    ASSERT_TRUE(list.ReadData(reinterpret_cast<const BYTE*>(unterminated.data()), unterminated.size()));
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"x"}));
}

TEST(DragDropFormats, StreamAdapterCopiesEverythingFromTheEnd) {
    const kit::ComPtr<IStream> adapter = TFixedStreamAdapter::Create(ddtest::StreamFromBytes("whole stream"));
    adapter->Seek(LARGE_INTEGER{}, STREAM_SEEK_END, nullptr);
    const kit::ComPtr<IStream> copy = ddtest::StreamFromBytes("");
    ULARGE_INTEGER all, read{}, written{};
    all.QuadPart = ~0ull;
    ASSERT_EQ(adapter->CopyTo(copy.get(), all, &read, &written), S_OK);
    EXPECT_EQ(read.QuadPart, 12u);
    EXPECT_EQ(written.QuadPart, 12u);
    EXPECT_EQ(ddtest::BytesOfStream(copy.get()), "whole stream");

    ULARGE_INTEGER some;
    some.QuadPart = 5;
    adapter->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    const kit::ComPtr<IStream> part = ddtest::StreamFromBytes("");
    ASSERT_EQ(adapter->CopyTo(part.get(), some, nullptr, nullptr), S_OK);
    EXPECT_EQ(ddtest::BytesOfStream(part.get()), "whole");
}

namespace {

// A destination that takes at most a few bytes of each write, and says so.
class ShortWritingStream : public ClaimingStream {
public:
    explicit ShortWritingStream(ULONG takes) : ClaimingStream("", 0), takes_(takes) {}
    HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG size, ULONG* written) override {
        ++writes;
        return ClaimingStream::Write(buffer, std::min(size, takes_), written);
    }
    int writes = 0;

private:
    ULONG takes_;
};

} // namespace

// Told that less was taken than given, the copy stops there: a destination that takes less would be asked on
// and on, and a caller must not take a cut copy for a whole one.
TEST(DragDropFormats, StreamAdapterStopsAtADestinationThatTakesLess) {
    const std::string bytes(3 * 1024 * 1024, 'x');  // three of the copy's blocks
    const kit::ComPtr<IStream> adapter = TFixedStreamAdapter::Create(ddtest::StreamFromBytes(bytes));
    ShortWritingStream destination(1);
    ULARGE_INTEGER all, read{}, written{};
    all.QuadPart = ~0ull;
    EXPECT_EQ(adapter->CopyTo(&destination, all, &read, &written), E_FAIL);
    EXPECT_EQ(destination.writes, 1);
    EXPECT_EQ(read.QuadPart, 1024u * 1024u) << "one block read";
    EXPECT_EQ(written.QuadPart, 1u);
}
