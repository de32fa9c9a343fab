// The drop target through IDropTarget, called directly as OLE's drag loop calls it, and the file source read
// back by the file target.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "dragdrop/DragDropFile.h"
#include "dragdrop/DropTarget.h"
#include "tests/dragdrop/DragDropFixture.h"
#include "tests/support/TempFolder.h"

using namespace dragdrop;
using Names = std::vector<std::wstring>;

namespace {

constexpr DWORD kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

std::string DropFilesBlock(const Names& files) {
    TUnicodeStringList list;
    for (const std::wstring& file : files) list.Add(file);
    std::string block(DropFilesSize(list, true), '\0');
    WriteDropFiles(reinterpret_cast<BYTE*>(block.data()), block.size(), list, true);
    return block;
}

kit::ComPtr<ddtest::TestDataObject> FileObject(const Names& files) {
    auto object = ddtest::TestDataObject::Create();
    object->Offer(CF_HDROP, DropFilesBlock(files), TYMED_HGLOBAL);
    return object;
}

DWORD PerformedEffect(const ddtest::TestDataObject& object) {
    const std::string bytes = object.OfferedBytes(ddtest::Registered(L"Performed DropEffect"));
    DWORD value = 0;
    if (bytes.size() >= 4) memcpy(&value, bytes.data(), 4);
    return value;
}

// One drag as OLE runs it: DragEnter, then Drop at the same point.
struct Drag {
    DWORD enterEffect = DROPEFFECT_NONE;
    DWORD dropEffect = DROPEFFECT_NONE;
    Names files;
    bool dropped = false;
};

Drag DragOnto(TDropFileTarget& target, IDataObject* source, DWORD allowed, DWORD keys = 0, POINT at = {}) {
    Drag drag;
    target.OnDrop = [&](TCustomDropTarget&, TShiftState, POINT, DWORD&) {
        drag.dropped = true;
        drag.files = target.Files().ToVector();
    };
    DWORD effect = allowed;
    target.DragEnter(source, keys | MK_LBUTTON, POINTL{at.x, at.y}, &effect);
    drag.enterEffect = effect;
    effect = allowed;
    target.Drop(source, keys, POINTL{at.x, at.y}, &effect);
    drag.dropEffect = effect;
    target.OnDrop = nullptr;
    return drag;
}

kit::UniqueWindow MakeWindow(const wchar_t* className, DWORD style, RECT bounds, HWND parent = nullptr) {
    return kit::UniqueWindow(CreateWindowExW(0, className, L"", style | WS_VISIBLE, bounds.left, bounds.top,
                                             bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr,
                                             nullptr, nullptr));
}

POINT ScreenPointOf(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(5);
    }
}

} // namespace

TEST(DropFile, TheFileSourceIsReadBackByTheFileTargetInEveryFormat) {
    testsupport::TempFolder temp;
    const Names files = {temp / L"first.txt", temp / L"second.txt"};
    for (const std::wstring& file : files) testsupport::WriteBytes(file, "x");
    TDropFileSource source;
    source.SetDragTypes({dtCopy, dtMove, dtLink});
    for (const std::wstring& file : files) source.Files().Add(file);

    const CLIPFORMAT idList = ddtest::Registered(L"Shell IDList Array");
    const CLIPFORMAT nameW = ddtest::Registered(L"FileNameW");
    const CLIPFORMAT name = ddtest::Registered(L"FileName");
    EXPECT_EQ(ddtest::EnumeratedFormats(&source), (std::vector<CLIPFORMAT>{CF_HDROP, idList, nameW, name}));

    struct Case {
        CLIPFORMAT format;
        Names read;
    };
    const Case cases[] = {
        {CF_HDROP, files}, {idList, files}, {nameW, {files[0]}}, {name, {files[0]}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(ClipboardFormatName(c.format));
        HRESULT hr = E_FAIL;
        const std::string bytes = ddtest::DataBytes(&source, c.format, &hr);
        ASSERT_EQ(hr, S_OK);
        auto alone = ddtest::TestDataObject::Create();
        alone->Offer(c.format, bytes, TYMED_HGLOBAL);
        TDropFileTarget target;
        EXPECT_EQ(DragOnto(target, alone.get(), DROPEFFECT_COPY).files, c.read);
    }

    // All at once, as a drag hands them over: CF_HDROP is read, the move is reported as a copy (the
    // target does an optimised move), and the source learns it.
    TDropFileTarget target;
    target.SetDragTypes({dtCopy, dtMove, dtLink});
    const Drag drag = DragOnto(target, &source, kAll);
    EXPECT_EQ(drag.files, files);
    EXPECT_EQ(drag.enterEffect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(drag.dropEffect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(source.GetPerformedDropEffect(), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(target.DataObject(), nullptr);
    EXPECT_EQ(source.ReferenceCount(), 0u) << "the target gave every reference back";
}

TEST(DropFile, TheIdListsAreMadeOncePerFileList) {
    testsupport::TempFolder temp;
    const std::wstring file = temp / L"file.txt";
    testsupport::WriteBytes(file, "x");
    TDropFileSource source;
    source.Files().Add(file);
    const CLIPFORMAT idList = ddtest::Registered(L"Shell IDList Array");
    HRESULT hr = E_FAIL;
    const std::string first = ddtest::DataBytes(&source, idList, &hr);
    ASSERT_EQ(hr, S_OK);

    // The shell parses only existing files: with the file gone, a second parse would fail.
    testsupport::RemoveTree(file);
    EXPECT_EQ(ddtest::DataBytes(&source, idList, &hr), first);
    EXPECT_EQ(hr, S_OK) << "not parsed again";

    source.Files().Clear();
    source.Files().Add(file);
    ddtest::DataBytes(&source, idList, &hr);
    EXPECT_NE(hr, S_OK) << "a new list is parsed anew";
    EXPECT_EQ(ddtest::DataBytes(&source, CF_HDROP, &hr).empty(), false) << "without losing CF_HDROP";
}

TEST(DropTarget, TheEffectComesFromTheKeysAndBothSidesAllowedEffects) {
    struct Case {
        const char* what;
        DWORD keys;
        TDragTypes accepted;
        DWORD allowed;
        bool refuseMove;
        DWORD effect;
    };
    const Case cases[] = {
        {"no key moves", 0, {dtCopy, dtMove, dtLink}, kAll, false, DROPEFFECT_MOVE},
        {"Ctrl copies", MK_CONTROL, {dtCopy, dtMove, dtLink}, kAll, false, DROPEFFECT_COPY},
        {"Ctrl+Shift links", MK_CONTROL | MK_SHIFT, {dtCopy, dtMove, dtLink}, kAll, false, DROPEFFECT_LINK},
        {"no move accepted: the first allowed", 0, {dtCopy, dtLink}, kAll, false, DROPEFFECT_COPY},
        {"Ctrl, but the source only links", MK_CONTROL, {dtCopy, dtMove, dtLink}, DROPEFFECT_LINK, false,
         DROPEFFECT_LINK},
        {"refused move: copy instead", 0, {dtCopy, dtMove, dtLink}, kAll, true, DROPEFFECT_COPY},
        {"refused move: link instead", MK_SHIFT, {dtCopy, dtMove, dtLink},
         DROPEFFECT_MOVE | DROPEFFECT_LINK, true, DROPEFFECT_LINK},
        {"refused move: nothing else allowed", 0, {dtCopy, dtMove, dtLink}, DROPEFFECT_MOVE, true,
         DROPEFFECT_NONE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDropFileTarget target;
        target.SetDragTypes(c.accepted);
        target.SetRefuseMove(c.refuseMove);
        auto source = FileObject({L"C:\\a.txt"});
        const Drag drag = DragOnto(target, source.get(), c.allowed, c.keys);
        EXPECT_EQ(drag.enterEffect, c.effect);
        EXPECT_EQ(drag.dropped, c.effect != DROPEFFECT_NONE);
    }
}

TEST(DropTarget, TheDropsAnswerAndWhatItReportsToTheSource) {
    struct Case {
        const char* what;
        bool optimizedMove;
        bool refuseMove;
        bool sourceRefusesFeedback;
        DWORD handlerEffect;  // what OnDrop sets; 0 keeps it
        DWORD answer;
        DWORD reported;
    };
    const Case cases[] = {
        {"an optimised move answers copy", true, false, false, 0, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {"even when the source refuses the report", true, false, true, 0, DROPEFFECT_COPY, 0},
        {"a plain move", false, false, false, 0, DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {"a move forced by the handler is refused", false, true, false, DROPEFFECT_MOVE | DROPEFFECT_SCROLL,
         DROPEFFECT_NONE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDropFileTarget target;
        target.SetDragTypes({dtCopy, dtMove});
        target.SetOptimizedMove(c.optimizedMove);
        target.SetRefuseMove(c.refuseMove);
        auto source = FileObject({L"C:\\a.txt"});
        if (c.sourceRefusesFeedback) source->RefuseSetData();
        DWORD effect = DROPEFFECT_MOVE | DROPEFFECT_COPY;
        target.DragEnter(source.get(), MK_LBUTTON, POINTL{}, &effect);
        target.OnDrop = [&](TCustomDropTarget&, TShiftState, POINT, DWORD& dropEffect) {
            if (c.handlerEffect) dropEffect = c.handlerEffect;
        };
        effect = c.refuseMove ? static_cast<DWORD>(DROPEFFECT_COPY) : static_cast<DWORD>(DROPEFFECT_MOVE);
        ASSERT_EQ(target.Drop(source.get(), 0, POINTL{}, &effect), S_OK);
        EXPECT_EQ(effect, c.answer);
        EXPECT_EQ(PerformedEffect(*source.get()), c.reported);
    }
}

TEST(DropTarget, TheDataObjectIsGivenBackOnEveryPath) {
    TDropFileTarget target;
    bool entered = false;
    target.OnEnter = [&](TCustomDropTarget&, TShiftState, POINT, DWORD&) { entered = true; };

    auto text = ddtest::TestDataObject::Create();
    text->Offer(CF_TEXT, "no files");
    const Drag refused = DragOnto(target, text.get(), kAll);
    EXPECT_EQ(refused.enterEffect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_FALSE(entered) << "nothing it could read";
    EXPECT_EQ(text->References(), 1u);

    auto files = FileObject({L"C:\\a.txt"});
    DWORD effect = kAll;
    target.DragEnter(files.get(), MK_LBUTTON, POINTL{}, &effect);
    EXPECT_TRUE(entered);
    EXPECT_EQ(files->References(), 2u) << "held during the drag";
    target.DragLeave();
    EXPECT_EQ(files->References(), 1u);
    DragOnto(target, files.get(), kAll);
    EXPECT_EQ(files->References(), 1u);
    EXPECT_EQ(target.ReferenceCount(), 0u);
}

namespace {

// A file target on a list box of 100 lines with a vertical scroll bar, as a person sees one.
class ScrollingListTest : public testing::Test {
protected:
    void SetUp() override {
        list_ = MakeWindow(L"LISTBOX", WS_POPUP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, RECT{600, 100, 800, 300});
        for (int i = 0; i < 100; ++i) SendMessageW(list_.get(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"line"));
        target_.SetTarget(list_.get());
        RECT client{};
        GetClientRect(list_.get(), &client);
        edge_ = ScreenPointOf(list_.get(), POINT{client.right / 2, client.bottom - 2});
        middle_ = ScreenPointOf(list_.get(), POINT{client.right / 2, client.bottom / 2});
    }

    kit::UniqueWindow list_;
    TDropFileTarget target_;
    POINT edge_{};    // inside the scroll margin at the bottom
    POINT middle_{};
    kit::ComPtr<ddtest::TestDataObject> source_ = FileObject({L"C:\\a.txt"});
};

} // namespace

TEST_F(ScrollingListTest, ScrollBitNearTheEdgeButNeverInTheDropsAnswer) {
    // A drag that met no registered control switches nothing off for the next one.
    DWORD effect = DROPEFFECT_COPY;
    target_.DragEnter(source_.get(), MK_LBUTTON, POINTL{5, 1000}, &effect);
    target_.DragLeave();
    EXPECT_TRUE(target_.AutoScroll());
    EXPECT_TRUE(target_.ShowImage());

    effect = DROPEFFECT_COPY;
    target_.DragEnter(source_.get(), MK_LBUTTON, POINTL{middle_.x, middle_.y}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(target_.Target(), list_.get());
    effect = DROPEFFECT_COPY;
    target_.DragOver(MK_LBUTTON, POINTL{edge_.x, edge_.y}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY | DROPEFFECT_SCROLL));
    effect = DROPEFFECT_COPY;
    target_.Drop(source_.get(), 0, POINTL{edge_.x, edge_.y}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
}

// A drag it refused on entering stays refused while it moves over the control: the cursor promises no drop,
// though the list may still scroll under it.
TEST_F(ScrollingListTest, AfterARefusedEnterMovingOffersNoDrop) {
    auto text = ddtest::TestDataObject::Create();
    text->Offer(CF_TEXT, "no files");
    DWORD effect = kAll;
    target_.DragEnter(text.get(), MK_LBUTTON, POINTL{middle_.x, middle_.y}, &effect);
    ASSERT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    for (const POINT at : {middle_, edge_}) {
        effect = kAll;
        target_.DragOver(MK_LBUTTON, POINTL{at.x, at.y}, &effect);
        EXPECT_EQ(effect & ~DROPEFFECT_SCROLL, static_cast<DWORD>(DROPEFFECT_NONE));
    }
    target_.DragLeave();
    EXPECT_EQ(text->References(), 1u);
}

TEST_F(ScrollingListTest, ARestingCursorScrollsAQuickOneDoesNot) {
    int scrolls = 0;
    target_.OnScroll = [&](TCustomDropTarget&, POINT, TScrollDirections& scroll, int&) {
        EXPECT_EQ(scroll, TScrollDirections{sdDown});
        ++scrolls;
    };

    struct Case {
        const char* what;
        POINT cursor;
        bool scrolls;
    };
    const Case cases[] = {{"resting at the edge", edge_, true}, {"racing away", POINT{edge_.x - 500, edge_.y}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SendMessageW(list_.get(), LB_SETTOPINDEX, 0, 0);
        scrolls = 0;
        SetCursorPos(edge_.x, edge_.y);
        DWORD effect = DROPEFFECT_COPY;
        target_.DragEnter(source_.get(), MK_LBUTTON, POINTL{edge_.x, edge_.y}, &effect);
        effect = DROPEFFECT_COPY;
        target_.DragOver(MK_LBUTTON, POINTL{edge_.x, edge_.y}, &effect);
        SetCursorPos(c.cursor.x, c.cursor.y);
        PumpFor(250);
        target_.DragLeave();
        EXPECT_EQ(scrolls > 0, c.scrolls);
        EXPECT_EQ(SendMessageW(list_.get(), LB_GETTOPINDEX, 0, 0) > 0, c.scrolls);
    }
}

TEST(DropTarget, HoverSpeedIsComputedWithoutOverflow) {
    struct Case {
        POINT to;
        DWORD after;
        bool hovers;
    };
    const Case cases[] = {
        {{100, 0}, 5, true},         // too soon to tell
        {{10, 0}, 1000, true},       // 10 pixels a second
        {{100, 0}, 1000, false},     // 100 pixels a second
        {{65536, 0}, 1000, false},   // its square times a million is 0 in 32 bits
        {{-50000, 50000}, 20, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.to.x << "," << c.to.y << " after " << c.after);
        THoverTracker hover;
        hover.Reset(POINT{0, 0}, 1000);
        EXPECT_EQ(hover.Hovers(c.to, 1000 + c.after), c.hovers);
    }
    THoverTracker hover;
    hover.Reset(POINT{0, 0}, 0);
    hover.Sample(POINT{1000, 0}, 50);   // the newer sample
    hover.Sample(POINT{2000, 0}, 100);  // the reference moves up to it
    EXPECT_TRUE(hover.Hovers(POINT{1000, 0}, 1000)) << "measured from the newer reference";
}

TEST(DropTarget, FindTargetWalksUpToTheRegisteredControl) {
    // As on the main window: a combo box with an edit, inside a window.
    kit::UniqueWindow host = MakeWindow(L"LISTBOX", WS_POPUP, RECT{600, 400, 900, 600});
    kit::UniqueWindow combo = MakeWindow(WC_COMBOBOXEXW, WS_CHILD | CBS_DROPDOWN, RECT{10, 10, 250, 150}, host.get());
    TDropFileTarget target;
    target.SetTarget(combo.get());
    const HWND edit = reinterpret_cast<HWND>(SendMessageW(combo.get(), CBEM_GETEDITCONTROL, 0, 0));
    ASSERT_TRUE(edit);
    RECT bounds{};
    GetWindowRect(edit, &bounds);
    const POINT inside{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    ASSERT_NE(WindowFromPoint(inside), combo.get()) << "the window under the cursor is a child";

    auto source = FileObject({L"C:\\folder"});
    DWORD effect = DROPEFFECT_COPY;
    target.DragEnter(source.get(), MK_LBUTTON, POINTL{inside.x, inside.y}, &effect);
    EXPECT_EQ(target.Target(), combo.get());
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    target.DragLeave();
}

TEST(DropTarget, RegistrationFollowsTheControls) {
    kit::UniqueWindow parent = MakeWindow(L"STATIC", WS_POPUP, RECT{600, 100, 800, 300});
    kit::UniqueWindow child = MakeWindow(L"STATIC", WS_CHILD, RECT{10, 10, 50, 50}, parent.get());
    kit::UniqueWindow other = MakeWindow(L"STATIC", WS_POPUP, RECT{850, 100, 900, 150});
    TDropFileTarget target;

    target.SetTarget(parent.get());
    target.SetTarget(other.get());
    EXPECT_EQ(target.Controls(), std::vector<HWND>{other.get()}) << "a new target replaces the old";
    EXPECT_EQ(RegisterDragDrop(parent.get(), &target), S_OK) << "the old one was revoked";
    RevokeDragDrop(parent.get());

    target.SetTarget(parent.get());
    target.SetMultiTarget(true);
    target.Register(other.get());
    target.Register(child.get());
    target.Register(child.get());
    EXPECT_EQ(target.Controls(), (std::vector<HWND>{parent.get(), child.get(), other.get()}))
        << "once each, a contained control after its container";
    EXPECT_EQ(RegisterDragDrop(child.get(), &target), DRAGDROP_E_ALREADYREGISTERED);

    other.reset();  // the window goes: its registration goes with it
    EXPECT_EQ(target.Controls(), (std::vector<HWND>{parent.get(), child.get()}));
    target.UnregisterAll();
    EXPECT_TRUE(target.Controls().empty());
    EXPECT_EQ(target.ReferenceCount(), 0u) << "OLE gave back every registration's reference";
}

TEST(DropTarget, TheDummyAcceptsNothingButShowsAnImageListDrag) {
    kit::UniqueWindow window = MakeWindow(L"LISTBOX", WS_POPUP, RECT{600, 100, 800, 300});  // not a STATIC:
    TDropDummy dummy;                                                                         // the cursor misses those
    dummy.SetDragTypes({});
    dummy.SetTarget(window.get());
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 1, 0);
    ImageList_SetImageCount(images, 1);
    ASSERT_TRUE(ImageList_BeginDrag(images, 0, 0, 0));  // as a source without the shell's image service does

    auto source = FileObject({L"C:\\a.txt"});
    const POINT inside = ScreenPointOf(window.get(), POINT{50, 50});
    DWORD effect = kAll;
    ASSERT_EQ(dummy.DragEnter(source.get(), MK_LBUTTON, POINTL{inside.x, inside.y}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_NE(dummy.DragImageList(), nullptr) << "the image follows the cursor over the window";
    dummy.DragLeave();
    EXPECT_EQ(dummy.DragImageList(), nullptr);
    ImageList_EndDrag();
    ImageList_Destroy(images);
    EXPECT_EQ(source->References(), 1u);
}
