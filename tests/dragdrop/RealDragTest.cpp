// Real OLE drags between two windows of the test, driven as a person drives them: the button goes down over
// the source, thread timers inside OLE's drag loop move the cursor onto the target and let the button go.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dragdrop/DragDropFile.h"
#include "dragdrop/DragDropFormats.h"
#include "kit/Exception.h"
#include "tests/dragdrop/DragDropFixture.h"
#include "tests/support/RealDrag.h"
#include "tests/support/TempFolder.h"

using namespace dragdrop;
using Names = std::vector<std::wstring>;
using testsupport::CentreOf;
using testsupport::DragScript;
using testsupport::PumpUntil;
using testsupport::SetDragKeys;

namespace {

class RealDragTest : public testing::Test {
protected:
    void SetUp() override {
        // List boxes: WindowFromPoint passes over STATIC windows.
        sourceWindow_.reset(CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | WS_VISIBLE, 100, 500, 200, 150, nullptr,
                                            nullptr, nullptr, nullptr));
        targetWindow_.reset(CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | WS_VISIBLE, 400, 500, 200, 150, nullptr,
                                            nullptr, nullptr, nullptr));
        file_ = temp_ / L"dragged.txt";
        testsupport::WriteBytes(file_, "x");
        source_ = std::make_unique<TDropFileSource>();
        source_->SetDragTypes({dtCopy, dtMove, dtLink});
        source_->Files().Add(file_);
        target_.SetDragTypes({dtCopy, dtMove, dtLink});
        target_.SetOptimizedMove(false);
        target_.SetTarget(targetWindow_.get());
        target_.OnDrop = [this](TCustomDropTarget&, TShiftState, POINT, DWORD& effect) {
            ++drops_;
            dropped_ = target_.Files().ToVector();
            dropEffect_ = effect;
        };
    }
    // The button goes down over the source with these keys; onto the target, then up.
    std::vector<DragScript::Step> PressOnSource(DWORD modifiers = 0) {
        const POINT from = CentreOf(sourceWindow_.get());
        SetCursorPos(from.x, from.y);
        SetDragKeys(true, modifiers);
        const POINT to = CentreOf(targetWindow_.get());
        return {{100, [to] { SetCursorPos(to.x, to.y); }}};
    }
    std::vector<DragScript::Step> DropOnTarget(DWORD modifiers = 0) {
        auto steps = PressOnSource(modifiers);
        steps.push_back({300, [modifiers] { SetDragKeys(false, modifiers); }});
        return steps;
    }

    testsupport::SavedDragKeys savedKeys_;
    testsupport::TempFolder temp_;
    std::wstring file_;
    kit::UniqueWindow sourceWindow_;
    kit::UniqueWindow targetWindow_;
    std::unique_ptr<TDropFileSource> source_;
    TDropFileTarget target_;
    int drops_ = 0;
    Names dropped_;
    DWORD dropEffect_ = DROPEFFECT_NONE;
};

} // namespace

TEST_F(RealDragTest, TheTargetReceivesTheFile) {
    std::wstring nested;
    source_->OnFeedback = [&](TCustomDropSource& source, DWORD, bool&) {
        if (!nested.empty()) return;
        try {
            source.Execute();
            nested = L"(nothing thrown)";
        } catch (const std::exception& e) {
            nested = kit::ExceptionMessage(e);
        }
    };
    DragScript script(DropOnTarget());
    EXPECT_EQ(source_->Execute(), drDropMove);
    EXPECT_EQ(drops_, 1);
    EXPECT_EQ(dropped_, Names{file_});
    EXPECT_EQ(nested, L"A drag and drop operation is already in progress");
    EXPECT_FALSE(source_->Dragging());
    EXPECT_EQ(source_->ReferenceCount(), 0u);
    EXPECT_EQ(target_.DataObject(), nullptr);
}

TEST_F(RealDragTest, WithoutTheShellsImageServiceTheImageListDragIsShown) {
    HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR24, 1, 0);
    ImageList_SetImageCount(images, 1);
    source_->SetImages(images);
    source_->SetImageIndex(0);
    source_->SetShowImage(true);
    bool askedForImage = false;
    source_->OnGetDragImage = [&](TCustomDropSource&, IDragSourceHelper* helper, bool&) { askedForImage = helper; };
    HIMAGELIST shown = nullptr;
    target_.OnDragOver = [&](TCustomDropTarget& target, TShiftState, POINT, DWORD&) {
        if (!shown) shown = target.DragImageList();
    };
    DragScript script(DropOnTarget());
    EXPECT_EQ(source_->Execute(), drDropMove);
    EXPECT_TRUE(askedForImage) << "the shell's image service is asked first";
    EXPECT_NE(shown, nullptr) << "the target shows the image list's drag";
    EXPECT_EQ(ImageList_GetDragImage(nullptr, nullptr), nullptr) << "the drag image ended with the drag";
    source_->SetImages(nullptr);
    ImageList_Destroy(images);
}

TEST_F(RealDragTest, TheKeysChooseTheEffect) {
    struct Case {
        const char* what;
        DWORD modifiers;
        TDragResult result;
    };
    const Case cases[] = {{"no key", 0, drDropMove}, {"Ctrl", MK_CONTROL, drDropCopy},
                          {"Ctrl+Shift", MK_CONTROL | MK_SHIFT, drDropLink}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DragScript script(DropOnTarget(c.modifiers));
        EXPECT_EQ(source_->Execute(), c.result);
        EXPECT_EQ(dropEffect_, DragTypesToDropEffect({c.result == drDropMove   ? dtMove
                                                      : c.result == drDropCopy ? dtCopy
                                                                               : dtLink}));
    }
    EXPECT_EQ(drops_, 3);
}

TEST_F(RealDragTest, EscapeCancels) {
    auto steps = PressOnSource();
    const HWND window = sourceWindow_.get();
    steps.push_back({250, [window] { PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0); }});
    DragScript script(steps);
    EXPECT_EQ(source_->Execute(), drCancel);
    EXPECT_EQ(drops_, 0);
    EXPECT_EQ(source_->ReferenceCount(), 0u);
}

TEST_F(RealDragTest, ASecondDragWithNoButtonDownEndsAtOnceCancelled) {
    {
        DragScript script(DropOnTarget());
        ASSERT_EQ(source_->Execute(), drDropMove);
    }
    ASSERT_EQ(source_->FeedbackEffect(), static_cast<DWORD>(DROPEFFECT_MOVE)) << "what the last drag left";
    // The cursor is still over the target; without the reset the stale move would drop there at once.
    SetDragKeys(false);
    EXPECT_EQ(source_->Execute(), drCancel);
    EXPECT_EQ(drops_, 1);
    EXPECT_EQ(source_->GetPerformedDropEffect(), 0u) << "no target answered";
}

// A target that moves the files itself tells the source so in "Logical Performed DropEffect" and answers no
// effect, so that the source deletes nothing: the drag is a move all the same. The value is the drag's own: the
// next drag, a copy, is a copy.
TEST_F(RealDragTest, AnOptimisedMoveIsAMoveAndTheNextDragStartsAfresh) {
    target_.OnDrop = [this](TCustomDropTarget& target, TShiftState, POINT, DWORD& effect) {
        ++drops_;
        TLogicalPerformedDropEffectClipboardFormat moved;
        moved.SetValue(DROPEFFECT_MOVE);
        FORMATETC asMemory = moved.FormatEtc();
        asMemory.tymed = TYMED_HGLOBAL;
        EXPECT_TRUE(moved.SetData(target.DataObject(), asMemory));
        effect = DROPEFFECT_NONE;
    };
    {
        DragScript script(DropOnTarget());
        EXPECT_EQ(source_->Execute(), drDropMove);
    }
    EXPECT_EQ(drops_, 1);
    EXPECT_EQ(source_->GetPerformedDropEffect(), 0u) << "the target performed nothing the source must finish";

    target_.OnDrop = [this](TCustomDropTarget&, TShiftState, POINT, DWORD&) { ++drops_; };
    DragScript script(DropOnTarget(MK_CONTROL));
    EXPECT_EQ(source_->Execute(), drDropCopy);
    EXPECT_EQ(drops_, 2);
}

TEST_F(RealDragTest, AnAsynchronousDragServesItsDataFromItsThread) {
    std::vector<TDragResult> ends;
    source_->OnAfterDrop = [&](TCustomDropSource&, TDragResult result, bool) { ends.push_back(result); };

    struct Case {
        const char* what;
        bool overTarget;
        bool asyncTransfer;  // the target reads in a transfer thread too
        TDragResult result;
    };
    const Case cases[] = {{"dropped", true, false, drDropMove},
                          {"dropped and read in the target's transfer thread", true, true, drDropMove},
                          {"released over nothing", false, false, drCancel}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ends.clear();
        drops_ = 0;
        source_->SetAllowAsyncTransfer(c.asyncTransfer);
        target_.SetAllowAsyncTransfer(c.asyncTransfer);
        bool transferEnded = false;
        target_.OnEndAsyncTransfer = [&](TCustomDropTarget&) { transferEnded = true; };
        auto steps = c.overTarget ? DropOnTarget() : std::vector<DragScript::Step>{};
        if (!c.overTarget) {
            const POINT from = CentreOf(sourceWindow_.get());
            SetCursorPos(from.x, from.y);
            SetDragKeys(true);
            steps.push_back({100, [] { SetCursorPos(900, 900); }});
            steps.push_back({300, [] { SetDragKeys(false); }});
        }
        DragScript script(steps);
        ASSERT_EQ(source_->Execute(true), drAsync);
        EXPECT_TRUE(source_->InAsyncThread());
        PumpUntil([&] { return !ends.empty() && !source_->Dragging(); });
        EXPECT_EQ(ends, std::vector<TDragResult>{c.result});
        EXPECT_EQ(drops_, c.result == drCancel ? 0 : 1);
        if (c.result != drCancel) {
            EXPECT_EQ(dropped_, Names{file_});
        }
        EXPECT_EQ(transferEnded, c.asyncTransfer);
        EXPECT_FALSE(source_->InAsyncThread());
        EXPECT_FALSE(source_->InOperation());
        EXPECT_EQ(source_->ReferenceCount(), 0u) << "every marshalled reference given back";
        EXPECT_EQ(target_.DataObject(), nullptr);
    }
}

// A target that takes the data on a thread of its own may end that transfer before the source has handled the end
// of its drag loop (the two ends reach the source's thread in either order): the source says once how it ended.
TEST_F(RealDragTest, ATransferThatEndsBeforeTheDragLoopEndsIsReportedOnce) {
    std::vector<TDragResult> ends;
    source_->OnAfterDrop = [&](TCustomDropSource&, TDragResult result, bool) { ends.push_back(result); };
    source_->SetAllowAsyncTransfer(true);
    target_.OnDrop = [&](TCustomDropTarget& target, TShiftState, POINT, DWORD&) {
        ++drops_;
        kit::ComPtr<IAsyncOperation> operation;
        ASSERT_EQ(target.DataObject()->QueryInterface(__uuidof(IAsyncOperation), operation.put_void()), S_OK);
        ASSERT_EQ(operation->StartOperation(nullptr), S_OK);
        EXPECT_EQ(operation->EndOperation(S_OK, nullptr, DROPEFFECT_COPY), S_OK);
    };
    DragScript script(DropOnTarget(MK_CONTROL));
    source_->Execute();
    EXPECT_EQ(drops_, 1);
    EXPECT_EQ(ends, std::vector<TDragResult>{drDropCopy});
}

TEST_F(RealDragTest, ASourceFreedDuringItsAsynchronousDragEndsIt) {
    const auto steps = PressOnSource();  // the button stays down
    DragScript script(steps);
    ASSERT_EQ(source_->Execute(true), drAsync);
    PumpUntil([&] { return script.Done(); });
    PumpUntil([] { return false; }, 200);
    source_.reset();  // the drag loop is told to cancel, and the worker ends
    EXPECT_EQ(drops_, 0);
    EXPECT_EQ(target_.DataObject(), nullptr) << "the loop left the target";
}
