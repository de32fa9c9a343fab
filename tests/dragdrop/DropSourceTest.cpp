// The drop source through its COM interfaces, called directly as OLE and a target call them.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "dragdrop/DragDropFile.h"
#include "dragdrop/DropSource.h"
#include "tests/dragdrop/DragDropFixture.h"
#include "tests/support/TempFolder.h"

using namespace dragdrop;
using ddtest::Bytes;

namespace {

const CLIPFORMAT kPrivate = ddtest::Registered(L"Kolvaran test private");

HRESULT SetRaw(IDataObject* dataObject, CLIPFORMAT format, const std::string& bytes, BOOL release = TRUE) {
    FORMATETC formatEtc{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = ddtest::MediumFromBytes(bytes, TYMED_HGLOBAL);
    const HRESULT hr = dataObject->SetData(&formatEtc, &medium, release);
    if (hr != S_OK || !release) ReleaseStgMedium(&medium);
    return hr;
}

HRESULT SetFeedback(IDataObject* dataObject, const wchar_t* name, DWORD value) {
    return SetRaw(dataObject, ddtest::Registered(name), std::string(reinterpret_cast<const char*>(&value), 4));
}

} // namespace

TEST(DropSource, SetDataOwnsTheMediumOnlyWhenItAnswersSuccess) {
    struct Case {
        const char* what;
        bool failReads;
        BOOL release;
        HRESULT answer;
        ULONG referencesAfter;  // the spy's, while the test still holds its own
    };
    const Case cases[] = {
        {"taken and released", false, TRUE, S_OK, 1},
        {"taken, the caller keeps it", false, FALSE, S_OK, 2},
        {"refused: the caller still owns it", true, TRUE, E_NOTIMPL, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDropFileSource source;
        auto spy = ddtest::SpyStream::Create("content", c.failReads);
        FORMATETC formatEtc{kPrivate, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
        STGMEDIUM medium{};
        medium.tymed = TYMED_ISTREAM;
        medium.pstm = spy.get();
        spy->AddRef();
        EXPECT_EQ(source.SetData(&formatEtc, &medium, c.release), c.answer);
        EXPECT_EQ(spy->References(), c.referencesAfter);
        if (spy->References() == 2) ReleaseStgMedium(&medium);
        EXPECT_EQ(source.ReferenceCount(), 0u);
    }
}

TEST(DropSource, RawDataSetTwiceReplacesAndIsServedAgain) {
    TDropFileSource source;
    ASSERT_EQ(SetRaw(&source, kPrivate, "first"), S_OK);
    ASSERT_EQ(SetRaw(&source, kPrivate, "second"), S_OK);
    EXPECT_EQ(source.RawDataFormat().CompatibleFormats().Count(), 1) << "the store does not grow";
    EXPECT_EQ(ddtest::DataBytes(&source, kPrivate).substr(0, 6), "second");
    EXPECT_EQ(ddtest::DataBytes(&source, kPrivate).substr(0, 6), "second") << "served more than once";
    EXPECT_EQ(ddtest::EnumeratedFormats(&source), std::vector<CLIPFORMAT>{kPrivate});
}

TEST(DropSource, EnumeratorKeepsItsOwnCopiesAndCounts) {
    auto source = std::make_unique<TDropFileSource>();
    SetRaw(source.get(), kPrivate, "data");
    source->Files().Add(L"C:\\one.txt");
    kit::ComPtr<IEnumFORMATETC> enumerator;
    ASSERT_EQ(source->EnumFormatEtc(DATADIR_GET, enumerator.put()), S_OK);
    source.reset();  // the clipboard formats it was made from are gone

    FORMATETC formats[8]{};
    ULONG fetched = 0;
    ASSERT_EQ(enumerator->Next(2, formats, &fetched), S_OK);
    EXPECT_EQ(formats[0].cfFormat, kPrivate) << "the raw store comes before the file formats";
    EXPECT_EQ(formats[1].cfFormat, CF_HDROP) << "the file list in priority order";
    EXPECT_EQ(enumerator->Skip(100), S_FALSE);
    EXPECT_EQ(enumerator->Next(1, formats, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    ASSERT_EQ(enumerator->Reset(), S_OK);
    EXPECT_EQ(enumerator->Skip(1), S_OK);
    kit::ComPtr<IEnumFORMATETC> clone;
    ASSERT_EQ(enumerator->Clone(clone.put()), S_OK);
    ASSERT_EQ(clone->Next(1, formats, nullptr), S_OK);
    EXPECT_EQ(formats[0].cfFormat, CF_HDROP) << "the clone starts where it was";
    EXPECT_EQ(enumerator->Next(8, formats, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 4u);
    EXPECT_EQ(formats[3].cfFormat, ddtest::Registered(L"FileName"));
}

TEST(DropSource, QueryContinueDragDecidesByTheLastFeedback) {
    struct Case {
        const char* what;
        BOOL escape;
        DWORD keys;
        DWORD feedback;
        bool refuse;  // OnDrop says no
        HRESULT answer;
        bool onDropRaised;
    };
    const Case cases[] = {
        {"escape", TRUE, MK_LBUTTON, DROPEFFECT_MOVE, false, DRAGDROP_S_CANCEL, false},
        {"button still down", FALSE, MK_LBUTTON, DROPEFFECT_MOVE, false, S_OK, false},
        {"released over a move", FALSE, 0, DROPEFFECT_MOVE, false, DRAGDROP_S_DROP, true},
        {"a move with the scroll bit is a move", FALSE, 0, DROPEFFECT_MOVE | DROPEFFECT_SCROLL, false,
         DRAGDROP_S_DROP, true},
        {"released over nothing", FALSE, 0, DROPEFFECT_NONE, false, DRAGDROP_S_CANCEL, false},
        {"an effect not allowed", FALSE, 0, DROPEFFECT_LINK, false, DRAGDROP_S_CANCEL, false},
        {"OnDrop refuses", FALSE, 0, DROPEFFECT_COPY, true, DRAGDROP_S_CANCEL, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDropFileSource source;
        source.SetDragTypes({dtCopy, dtMove});
        bool raised = false;
        source.OnDrop = [&](TCustomDropSource&, TDragType, bool& continueDrop) {
            raised = true;
            if (c.refuse) continueDrop = false;
        };
        source.GiveFeedback(c.feedback);
        EXPECT_EQ(source.QueryContinueDrag(c.escape, c.keys), c.answer);
        EXPECT_EQ(raised, c.onDropRaised);
    }
}

TEST(DropSource, FeedbackFromTheTarget) {
    TDropFileSource source;
    source.SetDragTypes({dtCopy, dtMove});
    std::vector<std::pair<TDragResult, bool>> pastes;
    source.OnPaste = [&](TCustomDropSource&, TDragResult action, bool deleteOnPaste) {
        pastes.emplace_back(action, deleteOnPaste);
    };
    ASSERT_EQ(SetFeedback(&source, L"Performed DropEffect", DROPEFFECT_MOVE), S_OK);
    EXPECT_EQ(source.GetPerformedDropEffect(), static_cast<DWORD>(DROPEFFECT_MOVE));
    ASSERT_EQ(SetFeedback(&source, L"Paste Succeeded", DROPEFFECT_MOVE), S_OK);
    ASSERT_EQ(SetFeedback(&source, L"Paste Succeeded", DROPEFFECT_COPY), S_OK);
    EXPECT_EQ(pastes, (std::vector<std::pair<TDragResult, bool>>{{drDropMove, true}, {drDropCopy, false}}));
    EXPECT_EQ(source.RawDataFormat().CompatibleFormats().Count(), 0) << "feedback is no raw data";
}

TEST(DropSource, AsynchronousOperationAnswers) {
    TDropFileSource source;
    source.SetDragTypes({dtCopy, dtMove});
    BOOL flag = TRUE;
    EXPECT_EQ(source.SetAsyncMode(TRUE), E_NOTIMPL) << "not allowed";
    EXPECT_EQ(source.EndOperation(S_OK, nullptr, DROPEFFECT_COPY), E_FAIL) << "no operation started";
    EXPECT_EQ(source.StartOperation(nullptr), E_NOTIMPL) << "not in asynchronous mode";

    source.SetAllowAsyncTransfer(true);
    std::vector<std::pair<TDragResult, bool>> ends;
    source.OnAfterDrop = [&](TCustomDropSource&, TDragResult result, bool optimized) {
        ends.emplace_back(result, optimized);
    };
    ASSERT_EQ(source.SetAsyncMode(TRUE), S_OK);
    ASSERT_EQ(source.GetAsyncMode(&flag), S_OK);
    EXPECT_EQ(flag, -1);
    ASSERT_EQ(source.StartOperation(nullptr), S_OK);
    ASSERT_EQ(source.InOperation(&flag), S_OK);
    EXPECT_EQ(flag, -1);
    EXPECT_THROW(source.Execute(), std::exception) << "a drag during the transfer";
    // The target reports its performed effect: that ends the operation.
    ASSERT_EQ(SetFeedback(&source, L"Performed DropEffect", DROPEFFECT_MOVE), S_OK);
    EXPECT_FALSE(source.InOperation());
    EXPECT_EQ(ends, (std::vector<std::pair<TDragResult, bool>>{{drDropMove, false}}));

    ASSERT_EQ(source.StartOperation(nullptr), S_OK);
    ASSERT_EQ(source.EndOperation(E_FAIL, nullptr, DROPEFFECT_COPY), S_OK);
    EXPECT_EQ(ends.back(), (std::pair<TDragResult, bool>{drUnknown, true}));
}

TEST(DropSource, ImageIndexStaysInsideTheList) {
    TDropFileSource source;
    source.SetImageIndex(0);
    EXPECT_EQ(source.ImageIndex(), -1) << "no list";
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 2, 0);
    ImageList_SetImageCount(images, 2);
    source.SetImages(images);
    source.SetImageIndex(1);
    EXPECT_EQ(source.ImageIndex(), 1);
    source.SetImageIndex(2);
    EXPECT_EQ(source.ImageIndex(), -1);
    source.SetImageIndex(1);
    ImageList_SetImageCount(images, 1);
    source.SetImages(images);
    EXPECT_EQ(source.ImageIndex(), -1) << "outside the new list";
    source.SetImages(nullptr);
    ImageList_Destroy(images);
}

// A target that asks with the FORMATETC the source listed (HGLOBAL and IStream both allowed) and then reads
// hGlobal, as DragQueryFile does, must find the block there: a stream pointer read as one would be garbage.
TEST(DropSource, MemoryBlockFormatsAreHandedOutAsMemoryWheneverAllowed) {
    testsupport::TempFolder temp;
    const std::wstring file = temp / L"listed.txt";
    testsupport::WriteBytes(file, "x");
    TDropFileSource source;
    source.Files().Add(file);
    source.FileMapDataFormat().NameMappings().Add(L"renamed.txt");
    kit::ComPtr<IEnumFORMATETC> enumerator;
    ASSERT_EQ(source.EnumFormatEtc(DATADIR_GET, enumerator.put()), S_OK);
    FORMATETC listed{};
    int formats = 0;
    while (enumerator->Next(1, &listed, nullptr) == S_OK) {
        SCOPED_TRACE(ClipboardFormatName(listed.cfFormat));
        ++formats;
        EXPECT_TRUE(listed.tymed & TYMED_HGLOBAL);
        TStgMediumOwner medium;
        ASSERT_EQ(source.GetData(&listed, medium.put()), S_OK);
        EXPECT_EQ(medium.get().tymed, static_cast<DWORD>(TYMED_HGLOBAL));
        if (listed.cfFormat != CF_HDROP || medium.get().tymed != TYMED_HGLOBAL) continue;
        wchar_t name[MAX_PATH] = L"";
        EXPECT_EQ(DragQueryFileW(static_cast<HDROP>(medium.get().hGlobal), 0xFFFFFFFF, nullptr, 0), 1u);
        DragQueryFileW(static_cast<HDROP>(medium.get().hGlobal), 0, name, MAX_PATH);
        EXPECT_EQ(std::wstring(name), file);
    }
    EXPECT_EQ(formats, 6) << "the file list's four formats and the name map's two";

    // A caller that takes only a stream still gets one.
    FORMATETC streamOnly{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    TStgMediumOwner medium;
    ASSERT_EQ(source.GetData(&streamOnly, medium.put()), S_OK);
    EXPECT_EQ(medium.get().tymed, static_cast<DWORD>(TYMED_ISTREAM));
}
