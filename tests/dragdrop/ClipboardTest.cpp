// The formats through the system clipboard: OLE's and the window clipboard, read back through OLE.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "dragdrop/DragDropFile.h"
#include "dragdrop/DragDropFormats.h"
#include "tests/dragdrop/DragDropFixture.h"

using namespace dragdrop;
using ddtest::Bytes;
using Names = std::vector<std::wstring>;

namespace {

// Leaves the clipboard empty for whatever runs next in the session.
class ClipboardTest : public testing::Test {
protected:
    void TearDown() override {
        OleSetClipboard(nullptr);
        if (OpenClipboard(owner_.get())) {
            EmptyClipboard();
            CloseClipboard();
        }
    }
    HWND Owner() {
        if (!owner_)
            owner_.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
        return owner_.get();
    }

    struct Read {
        DWORD preferredEffect;
        Names files;
    };
    // What a drop target reads from the clipboard's data object.
    static Read ReadClipboard() {
        kit::ComPtr<IDataObject> clipboard;
        EXPECT_EQ(OleGetClipboard(clipboard.put()), S_OK);
        if (!clipboard) return {};
        TPreferredDropEffectClipboardFormat preferred;
        preferred.GetData(clipboard.get());
        TFileDataFormat files(nullptr);
        files.UseSide(TFormatSide::Target);
        files.GetData(clipboard.get());
        return Read{preferred.Value(), files.Files().ToVector()};
    }

private:
    kit::UniqueWindow owner_;
};

std::string DropFilesBlock(const TUnicodeStringList& files) {
    std::string block(DropFilesSize(files, true), '\0');
    WriteDropFiles(reinterpret_cast<BYTE*>(block.data()), block.size(), files, true);
    return block;
}

} // namespace

TEST_F(ClipboardTest, OleClipboardRoundTrip) {
    TPreferredDropEffectClipboardFormat preferred;
    preferred.SetValue(DROPEFFECT_MOVE);
    TStgMediumOwner medium;
    ASSERT_TRUE(preferred.RenderMedium(preferred.FormatEtc(), *medium.put()));

    auto source = ddtest::TestDataObject::Create();
    source->Offer(preferred.GetClipboardFormat(), ddtest::BytesOfMedium(medium.get()), TYMED_HGLOBAL);
    source->Offer(CF_HDROP, DropFilesBlock({L"C:\\one.txt", L"C:\\two.txt"}), TYMED_HGLOBAL);
    ASSERT_EQ(OleSetClipboard(source.get()), S_OK);
    ASSERT_EQ(OleFlushClipboard(), S_OK);  // the data now live on the clipboard, not in the source

    const Read read = ReadClipboard();
    EXPECT_EQ(read.preferredEffect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(read.files, (Names{L"C:\\one.txt", L"C:\\two.txt"}));
}

TEST_F(ClipboardTest, WindowClipboardFileListReadThroughOle) {
    ASSERT_TRUE(OpenClipboard(Owner()));
    EmptyClipboard();
    TGlobalOwner list(ddtest::GlobalFromBytes(DropFilesBlock({L"C:\\cut.txt"})));
    TGlobalOwner effect(ddtest::GlobalFromBytes(Bytes("\x02\0\0\0")));
    if (SetClipboardData(CF_HDROP, list.get())) list.release();  // the clipboard owns what it took
    if (SetClipboardData(TPreferredDropEffectClipboardFormat::Class.Format(), effect.get())) effect.release();
    CloseClipboard();
    ASSERT_FALSE(list);
    ASSERT_FALSE(effect);

    const Read read = ReadClipboard();
    EXPECT_EQ(read.files, Names{L"C:\\cut.txt"});
    EXPECT_EQ(read.preferredEffect, static_cast<DWORD>(DROPEFFECT_MOVE));
}

TEST_F(ClipboardTest, TheSourceCutsAndTheTargetPastes) {
    Owner();
    TDropFileSource source;
    source.SetDragTypes({dtCopy, dtMove});
    source.Files().Add(L"C:\\one.txt");
    ASSERT_TRUE(source.CutToClipboard());
    EXPECT_EQ(OleIsCurrentClipboard(&source), S_OK);

    TDropFileTarget target;
    target.SetDragTypes({dtCopy, dtMove});
    target.SetOptimizedMove(false);
    Names pasted;
    target.OnDrop = [&](TCustomDropTarget&, TShiftState, POINT, DWORD&) { pasted = target.Files().ToVector(); };
    EXPECT_TRUE(target.CanPasteFromClipboard());
    EXPECT_EQ(target.PasteFromClipboard(), static_cast<DWORD>(DROPEFFECT_MOVE)) << "the source's preferred effect";
    EXPECT_EQ(pasted, Names{L"C:\\one.txt"});
    EXPECT_EQ(target.DataObject(), nullptr);

    source.EmptyClipboard();
    EXPECT_NE(OleIsCurrentClipboard(&source), S_OK);
    EXPECT_FALSE(target.CanPasteFromClipboard());
}

TEST_F(ClipboardTest, TheClipboardKeepsACopyOfTheOldData) {
    Owner();
    {
        TDropFileSource source;
        source.Files().Add(L"C:\\old.txt");
        ASSERT_TRUE(source.CopyToClipboard());
        source.Files().Clear();  // a change leaves a copy of what was there on the clipboard first
        source.Files().Add(L"C:\\new.txt");
        EXPECT_NE(OleIsCurrentClipboard(&source), S_OK);
        EXPECT_EQ(ReadClipboard().files, Names{L"C:\\old.txt"});

        ASSERT_TRUE(source.CopyToClipboard());
    }  // a source that goes leaves its copy too
    const Read read = ReadClipboard();
    EXPECT_EQ(read.files, Names{L"C:\\new.txt"});
    EXPECT_EQ(read.preferredEffect, static_cast<DWORD>(DROPEFFECT_COPY));
}
