// Another program's data object dragged over the program's file target with everything wrong in it that a
// buggy or hostile source can put there: an enumerator that never ends or lies about what it gave, blocks whose
// counts and offsets lie, lists without their terminators. The drag must end at once and read nothing wrong.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <cstring>
#include <string>
#include <vector>

#include "dragdrop/DragDropFile.h"
#include "kit/Clock.h"
#include "tests/dragdrop/DragDropFixture.h"

using namespace dragdrop;
using ddtest::Bytes;
using ddtest::WideBytes;
using Names = std::vector<std::wstring>;

namespace {

constexpr DWORD kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

std::string DropFiles(DWORD namesOffset, const std::string& names) {
    return Dword(namesOffset) + Dword(0) + Dword(0) + Dword(0) + Dword(1) + names;
}

// How the enumerator misbehaves once it has listed the offered formats (or at once).
enum class Listing {
    Honest,            // S_FALSE after the offered formats
    NeverEnds,         // then a made-up format for ever, each answered S_OK
    NeverEndsAtOnce,   // only made-up formats, for ever
    HandsNothing,      // S_OK with no format and a count of 0
    CountsTooMany,     // S_OK with one format and a count of 5
    LeavesCountAlone,  // S_OK with one format and the count as it was, then never a format again
};

// Another program's enumerator answers each call across the process boundary, about a tenth of a millisecond
// under Wine: a target that walked its formats without end would hold the window for as long as it walked.
void CrossProcessCall() {
    const double end = kit::Seconds() + 100e-6;
    while (kit::Seconds() < end) {
    }
}

// The most formats a target may walk through: 4,096 such calls hold its window under half a second.
constexpr int kMostFormatsWalked = 4096;
// Past twice that the enumerator ends the list itself: a walk without its bound is seen by its count, and ends.
constexpr int kCallsBeforeGivingUp = 2 * kMostFormatsWalked;

class HostileEnumerator : public IEnumFORMATETC {
public:
    HostileEnumerator(std::vector<FORMATETC> formats, Listing listing, int& calls)
        : formats_(std::move(formats)), listing_(listing), calls_(calls) {}
    virtual ~HostileEnumerator() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = iid == IID_IUnknown || iid == IID_IEnumFORMATETC ? static_cast<IEnumFORMATETC*>(this) : nullptr;
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG, FORMATETC* formats, ULONG* fetched) override {
        CrossProcessCall();
        if (++calls_ > kCallsBeforeGivingUp) {
            if (fetched) *fetched = 0;
            return S_FALSE;
        }
        const bool offered = listing_ != Listing::NeverEndsAtOnce && next_ < formats_.size();
        switch (listing_) {
        case Listing::HandsNothing:
            if (fetched) *fetched = 0;
            return S_OK;
        case Listing::CountsTooMany:
            formats[0] = MadeUp();
            if (fetched) *fetched = 5;
            return S_OK;
        case Listing::LeavesCountAlone:
            if (next_ == 0) {
                formats[0] = MadeUp();
                if (fetched) *fetched = 1;
            }
            ++next_;
            return S_OK;
        default:
            break;
        }
        if (offered) {
            formats[0] = formats_[next_++];
        } else if (listing_ == Listing::Honest) {
            if (fetched) *fetched = 0;
            return S_FALSE;
        } else {
            formats[0] = MadeUp();
        }
        if (fetched) *fetched = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC**) override { return E_NOTIMPL; }

private:
    // A format no data format of the program reads, numbered anew each time.
    FORMATETC MadeUp() {
        return FORMATETC{static_cast<CLIPFORMAT>(0xC000 + (madeUp_++ % 0x3000)), nullptr, DVASPECT_CONTENT, -1,
                         TYMED_HGLOBAL};
    }
    std::vector<FORMATETC> formats_;
    Listing listing_;
    int& calls_;
    size_t next_ = 0;
    unsigned madeUp_ = 0;
    ULONG references_ = 1;
};

// The bytes a format is offered with, as HGLOBAL, enumerated as the listing says.
class HostileDataObject : public IDataObject {
public:
    struct Block {
        CLIPFORMAT format;
        std::string bytes;
    };
    HostileDataObject(std::vector<Block> blocks, Listing listing) : blocks_(std::move(blocks)), listing_(listing) {}
    virtual ~HostileDataObject() = default;
    int nextCalls = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = iid == IID_IUnknown || iid == IID_IDataObject ? static_cast<IDataObject*>(this) : nullptr;
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }  // lives on the test's stack
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        const Block* block = Find(*format);
        if (!block) return DV_E_FORMATETC;
        *medium = ddtest::MediumFromBytes(block->bytes, TYMED_HGLOBAL);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return Find(*format) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** enumerator) override {
        std::vector<FORMATETC> formats;
        for (const Block& block : blocks_)
            formats.push_back(FORMATETC{block.format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
        *enumerator = new HostileEnumerator(std::move(formats), listing_, nextCalls);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    const Block* Find(const FORMATETC& format) const {
        for (const Block& block : blocks_)
            if (block.format == format.cfFormat && (format.tymed & TYMED_HGLOBAL)) return &block;
        return nullptr;
    }
    std::vector<Block> blocks_;
    Listing listing_;
    ULONG references_ = 1;
};

// A CIDA of `children` children, each the same empty ID list as the parent: they name the desktop.
std::string CidaOfEmptyLists(DWORD children) {
    const DWORD lists = 4 * (children + 2);
    std::string block = Dword(children);
    block.reserve(lists + 2);
    for (DWORD i = 0; i <= children; ++i) block += Dword(lists);
    return block + Bytes("\0\0");
}

} // namespace

TEST(HostileDrop, ADragThatLiesEndsAtOnceAndReadsNothingWrong) {
    const CLIPFORMAT idList = ddtest::Registered(L"Shell IDList Array");
    const CLIPFORMAT nameW = ddtest::Registered(L"FileNameW");
    const std::string names = WideBytes(L"C:\\a.txt") + Bytes("\0\0") + WideBytes(L"C:\\b.txt") + Bytes("\0\0\0\0");
    const std::string goodDrop = DropFiles(20, names);
    struct Case {
        const char* what;
        std::vector<HostileDataObject::Block> blocks;
        Listing listing;
        Names read;  // empty: refused on entering
    };
    const Case cases[] = {
        {"an enumerator that never ends, over nothing readable", {}, Listing::NeverEndsAtOnce, {}},
        {"an enumerator that never ends after the drop list", {{CF_HDROP, goodDrop}}, Listing::NeverEnds,
         {L"C:\\a.txt", L"C:\\b.txt"}},
        {"an enumerator that says S_OK and hands nothing", {{CF_HDROP, goodDrop}}, Listing::HandsNothing, {}},
        {"an enumerator that counts more than it hands", {{CF_HDROP, goodDrop}}, Listing::CountsTooMany, {}},
        {"an enumerator that leaves the count as it was", {{CF_HDROP, goodDrop}}, Listing::LeavesCountAlone, {}},
        {"a drop list whose names start past the block", {{CF_HDROP, DropFiles(4000, names)}}, Listing::Honest, {}},
        {"a drop list whose names start inside the header", {{CF_HDROP, DropFiles(8, names)}}, Listing::Honest, {}},
        {"a drop list without its terminators", {{CF_HDROP, DropFiles(20, WideBytes(L"C:\\a.txt"))}},
         Listing::Honest, {}},
        {"a drop list whose last name runs off the block",
         {{CF_HDROP, DropFiles(20, WideBytes(L"C:\\a.txt") + Bytes("\0\0") + WideBytes(L"C:\\b"))}}, Listing::Honest,
         {}},
        {"an ID list array claiming a million children", {{idList, Dword(1000000) + Dword(12) + Dword(12) + Bytes("\0\0")}},
         Listing::Honest, {}},
        {"an ID list array holding 200,000 children", {{idList, CidaOfEmptyLists(200000)}}, Listing::Honest, {}},
        {"an ID list without its terminator",
         {{idList, Dword(1) + Dword(12) + Dword(14) + Bytes("\0\0") + Bytes("\x05\0abc")}}, Listing::Honest, {}},
        {"a bad drop list does not hide a good name after it",
         {{CF_HDROP, DropFiles(4000, names)}, {nameW, WideBytes(L"C:\\c.txt") + Bytes("\0\0")}}, Listing::Honest,
         {L"C:\\c.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HostileDataObject source(c.blocks, c.listing);
        TDropFileTarget target;
        target.SetDragTypes({dtCopy, dtMove, dtLink});
        Names dropped;
        int drops = 0;
        target.OnDrop = [&](TCustomDropTarget&, TShiftState, POINT, DWORD&) {
            ++drops;
            dropped = target.Files().ToVector();
        };
        DWORD effect = kAll;
        target.DragEnter(&source, MK_LBUTTON, POINTL{}, &effect);
        effect = kAll;
        target.Drop(&source, 0, POINTL{}, &effect);
        EXPECT_LE(source.nextCalls, kMostFormatsWalked) << "the walk of its formats is bounded";
        // What the drop answers the source: nothing done, unless it read the names.
        EXPECT_EQ(effect != DROPEFFECT_NONE, !c.read.empty());
        EXPECT_EQ(drops, c.read.empty() ? 0 : 1);
        EXPECT_EQ(dropped, c.read);
        EXPECT_EQ(target.DataObject(), nullptr);
    }
}
