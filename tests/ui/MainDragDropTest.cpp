// Real OLE drags through the main window, as a person makes them: a row of the result list dragged onto another
// window (which receives its file, or nothing when the drag is cancelled) and onto the search-path box, and
// folders dragged from another window onto that box.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <functional>

#include "dragdrop/DragDropFile.h"
#include "dragdrop/DragDropFormats.h"
#include "kit/DeviceContexts.h"
#include "kit/Handles.h"
#include "tests/dragdrop/DragDropFixture.h"
#include "tests/support/Keyboard.h"
#include "tests/support/RealDrag.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ControlIds.h"

using namespace uitest;
using namespace dragdrop;
namespace ids = ui::ids;
using testsupport::CentreOf;
using testsupport::DragScript;
using testsupport::SetDragKeys;
using Names = std::vector<std::wstring>;
using Steps = std::vector<DragScript::Step>;

namespace {

// Whether the image list's first picture leaves any mark on a plain background (a picture whose mask hides all
// of it shows nothing while dragged).
bool DrawsSomething(HIMAGELIST images) {
    int width = 0;
    int height = 0;
    if (!images || !ImageList_GetIconSize(images, &width, &height)) return false;
    const COLORREF background = RGB(255, 0, 255);
    const kit::WindowDc screen(nullptr);
    const kit::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    const kit::MemoryDc dc(screen.get(), bitmap.get());
    const kit::UniqueBrush brush(CreateSolidBrush(background));
    const RECT all{0, 0, width, height};
    FillRect(dc.get(), &all, brush.get());
    // Blended, as the drag draws it: the blend takes transparency from the mask alone.
    IMAGELISTDRAWPARAMS draw{};
    draw.cbSize = sizeof(draw);
    draw.himl = images;
    draw.hdcDst = dc.get();
    draw.rgbBk = draw.rgbFg = CLR_DEFAULT;
    draw.fState = ILS_ALPHA;
    draw.Frame = 255;
    ImageList_DrawIndirect(&draw);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (GetPixel(dc.get(), x, y) != background) return true;
    return false;
}

class MainDragDropTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        MakeFiles(tree_ / L"first", {L"inside.txt"});
        MakeFiles(tree_ / L"second", {});
        MakeFiles(tree_.Path(), {L"file.txt"});
        Open();
        TypeMask(L"*");
        TypePath(tree_.Path());
        ClickSearch();

        // Another program's window below the main window, with a target that takes files.
        RECT main{};
        GetWindowRect(Main(), &main);
        otherWindow_.reset(CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | WS_VISIBLE, main.left, main.bottom + 20, 200,
                                           120, nullptr, nullptr, nullptr, nullptr));
        other_.SetDragTypes({dtCopy, dtMove, dtLink});
        other_.SetOptimizedMove(false);
        other_.SetTarget(otherWindow_.get());
        other_.OnDragOver = [this](TCustomDropTarget& target, TShiftState, POINT, DWORD&) {
            imageShown_ = imageShown_ || DrawsSomething(target.DragImageList());
        };
        other_.OnDrop = [this](TCustomDropTarget&, TShiftState, POINT, DWORD& effect) {
            ++drops_;
            dropped_ = other_.Files().ToVector();
            dropEffect_ = effect;
            mainWindowAtDrop_ = IsWindow(Main()) != FALSE;
            if (moveOnDrop_)
                for (const std::wstring& file : dropped_) MoveFileW(file.c_str(), (elsewhere_ / L"moved").c_str());
        };
    }
    void TearDown() override {
        other_.UnregisterAll();
        MainWindowTest::TearDown();
    }

    std::wstring PathOf(const wchar_t* name) const { return tree_ / name; }
    int RowOf(const std::wstring& path) const {
        const std::vector<Row> rows = Rows();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].folder + rows[i].name == path) return static_cast<int>(i);
        return -1;
    }
    std::wstring PathText() const { return WindowText(PathEdit()); }

    // The button goes down on the row with these keys held: the point in the list, the cursor over it.
    POINT PressOnRow(int row, DWORD modifiers = 0) {
        RECT item{};
        item.left = LVIR_LABEL;
        SendMessageW(List(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        const POINT at{item.left + 8, (item.top + item.bottom) / 2};
        POINT screen = at;
        ClientToScreen(List(), &screen);
        SetCursorPos(screen.x, screen.y);
        SetDragKeys(true, modifiers);
        return at;
    }
    // The list sees the button go down and the mouse move away: it begins the drag, which runs in here.
    void MoveAwayFrom(POINT at) {
        SendMessageW(List(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        SendMessageW(List(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x + 20, at.y + 4));
        if (IsWindow(List())) SendMessageW(List(), WM_LBUTTONUP, 0, MAKELPARAM(at.x + 20, at.y + 4));
    }
    // The cursor onto `onto`, then the button up there; `during` runs between.
    Steps DropOn(HWND onto, DWORD modifiers = 0, std::function<void()> during = nullptr) {
        const POINT to = CentreOf(onto);
        Steps steps{{100, [to] { SetCursorPos(to.x, to.y); }}};
        if (during) steps.push_back({250, during});
        steps.push_back({300, [modifiers] { SetDragKeys(false, modifiers); }});
        return steps;
    }
    // These names dragged from another program's window onto the search-path box, with these keys held; what the
    // cursor showed over the box goes to offered_.
    TDragResult DropFromAnotherWindow(const Names& names, DWORD modifiers = 0) {
        // Shown without taking the focus, as another program's window is: the window's focus stays where it was.
        kit::UniqueWindow sourceWindow(CreateWindowExW(WS_EX_NOACTIVATE, L"LISTBOX", L"", WS_POPUP, 900, 700, 200, 120,
                                                       nullptr, nullptr, nullptr, nullptr));
        ShowWindow(sourceWindow.get(), SW_SHOWNOACTIVATE);
        TDropFileSource source;
        source.SetDragTypes({dtCopy, dtMove, dtLink});
        offered_ = DROPEFFECT_NONE;
        source.OnFeedback = [this](TCustomDropSource&, DWORD effect, bool&) { offered_ |= effect; };
        for (const std::wstring& name : names) source.Files().Add(name);
        const POINT from = CentreOf(sourceWindow.get());
        SetCursorPos(from.x, from.y);
        SetDragKeys(true, modifiers);
        DragScript script(DropOn(PathEdit(), modifiers));
        const TDragResult result = source.Execute();
        EXPECT_TRUE(script.Done()) << "the drag ran its steps";
        return result;
    }
    void DragRow(int row, const Steps& steps, DWORD modifiers = 0) {
        const POINT at = PressOnRow(row, modifiers);
        DragScript script(steps);
        MoveAwayFrom(at);
        EXPECT_TRUE(script.Done()) << "the drag ran its steps";
    }

    testsupport::SavedDragKeys savedKeys_;
    testsupport::TempFolder tree_;
    testsupport::TempFolder elsewhere_;
    kit::UniqueWindow otherWindow_;
    TDropFileTarget other_;
    bool moveOnDrop_ = false;  // the other window moves what it receives, as a file manager does on a move
    int drops_ = 0;
    Names dropped_;
    DWORD dropEffect_ = DROPEFFECT_NONE;
    DWORD offered_ = DROPEFFECT_NONE;  // the effects the cursor showed over the box in the last drop onto it
    bool imageShown_ = false;
    bool mainWindowAtDrop_ = false;
};

} // namespace

TEST_F(MainDragDropTest, TheDraggedRowsFileReachesAnotherWindow) {
    struct Case {
        const char* what;
        DWORD modifiers;
        DWORD effect;
        bool rowLeaves;  // the other window moved the file: its row leaves the list
    };
    const Case cases[] = {{"Ctrl copies", MK_CONTROL, DROPEFFECT_COPY, false},
                          {"Ctrl+Shift links", MK_CONTROL | MK_SHIFT, DROPEFFECT_LINK, false},
                          {"no key moves", 0, DROPEFFECT_MOVE, true}};
    const std::wstring file = PathOf(L"file.txt");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        drops_ = 0;
        imageShown_ = false;
        moveOnDrop_ = c.effect == DROPEFFECT_MOVE;
        ASSERT_GE(RowOf(file), 0);
        DragRow(RowOf(file), DropOn(otherWindow_.get(), c.modifiers), c.modifiers);
        EXPECT_EQ(drops_, 1);
        EXPECT_EQ(dropped_, Names{file});
        EXPECT_EQ(dropEffect_, c.effect);
        EXPECT_TRUE(imageShown_) << "the row's picture follows the cursor";
        EXPECT_EQ(RowOf(file) < 0, c.rowLeaves);
    }
    EXPECT_GE(RowOf(PathOf(L"first\\inside.txt")), 0) << "only the moved file's row left";
}

// A file manager that moves the file itself (an optimised move) answers no effect and says "moved" in the
// "Logical Performed DropEffect": the file left, so its row leaves the list.
TEST_F(MainDragDropTest, AnOptimisedMoveByAnotherWindowDropsTheMovedFilesRow) {
    other_.OnDrop = [this](TCustomDropTarget& target, TShiftState, POINT, DWORD& effect) {
        ++drops_;
        dropped_ = other_.Files().ToVector();
        for (const std::wstring& file : dropped_) MoveFileW(file.c_str(), (elsewhere_ / L"moved").c_str());
        TLogicalPerformedDropEffectClipboardFormat moved;
        moved.SetValue(DROPEFFECT_MOVE);
        FORMATETC asMemory = moved.FormatEtc();
        asMemory.tymed = TYMED_HGLOBAL;
        moved.SetData(target.DataObject(), asMemory);
        effect = DROPEFFECT_NONE;
    };
    const std::wstring file = PathOf(L"file.txt");
    DragRow(RowOf(file), DropOn(otherWindow_.get()));
    EXPECT_EQ(drops_, 1);
    EXPECT_EQ(dropped_, Names{file});
    EXPECT_TRUE(testsupport::FileExists(elsewhere_ / L"moved"));
    EXPECT_LT(RowOf(file), 0);
    EXPECT_GE(RowOf(PathOf(L"first\\inside.txt")), 0) << "only the moved file's row left";
}

TEST_F(MainDragDropTest, EscapeCancelsTheDrag) {
    const std::wstring file = PathOf(L"file.txt");
    const HWND list = List();
    Steps steps = DropOn(otherWindow_.get());
    steps.pop_back();  // the button stays down
    steps.push_back({250, [list] { PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0); }});
    DragRow(RowOf(file), steps);
    EXPECT_EQ(drops_, 0);
    EXPECT_GE(RowOf(file), 0);
}

TEST_F(MainDragDropTest, ASecondDragWithTheButtonUpDropsNothing) {
    const std::wstring file = PathOf(L"file.txt");
    DragRow(RowOf(file), DropOn(otherWindow_.get()));
    ASSERT_EQ(drops_, 1);
    ASSERT_EQ(dropEffect_, static_cast<DWORD>(DROPEFFECT_MOVE)) << "a move the other window did not make";
    ASSERT_GE(RowOf(file), 0);

    // The cursor rests over the other window and the button is up: the move of the last drag must not repeat.
    const POINT at = PressOnRow(RowOf(file));
    const POINT over = CentreOf(otherWindow_.get());
    SetCursorPos(over.x, over.y);
    SetDragKeys(false);
    MoveAwayFrom(at);
    EXPECT_EQ(drops_, 1);
    EXPECT_GE(RowOf(file), 0);
}

TEST_F(MainDragDropTest, AFolderRowDroppedOnTheSearchPathBoxBecomesThePath) {
    const std::wstring folder = PathOf(L"first");
    TypePath(L"C:\\");
    DragRow(RowOf(folder), DropOn(PathEdit()));
    EXPECT_EQ(PathText(), folder);
    EXPECT_EQ(GetFocus(), PathEdit());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Main(), ids::kResetButton))) << "a changed criterion";
    EXPECT_TRUE(testsupport::FolderExists(folder));
    EXPECT_GE(RowOf(folder), 0);
}

TEST_F(MainDragDropTest, OnlyFoldersDroppedOnTheSearchPathBoxMakeThePath) {
    const std::wstring first = PathOf(L"first");
    const std::wstring second = PathOf(L"second");
    const std::wstring file = PathOf(L"file.txt");
    struct Case {
        const char* what;
        Names dropped;
        DWORD modifiers;
        std::wstring path;
    };
    // Shift asks for a move, which the box never offers nor takes: the folders stay where they are. A drop with no
    // folder in it changes nothing, and tells the source so.
    const Case cases[] = {{"two folders and a file", {first, file, second}, 0, first + L"|" + second},
                          {"with Shift", {second}, MK_SHIFT, second},
                          {"a file and a missing folder", {file, PathOf(L"gone")}, 0, L"C:\\"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TypePath(L"C:\\");
        const bool taken = c.path != L"C:\\";
        EXPECT_EQ(DropFromAnotherWindow(c.dropped, c.modifiers), taken ? drDropCopy : drCancel);
        EXPECT_EQ(offered_ & DROPEFFECT_MOVE, 0u);
        EXPECT_EQ(PathText(), c.path);
    }
    EXPECT_TRUE(testsupport::FolderExists(first));
    EXPECT_TRUE(testsupport::FolderExists(second));
    EXPECT_TRUE(testsupport::FileExists(file));
}

// Another program's drop holds the window until it ends, and the box looks every name up on disk, which under Wine
// costs a read of the whole folder for a name missing from it (6 ms in one of 20,000 entries). Names not all
// looked up within half a second, or of more than 1,048,576 characters, are refused whole: the box keeps its text
// and the focus stays, and the source learns that nothing was done. The clock moves on at each reading by what
// looking one name up costs in such a folder.
TEST_F(MainDragDropTest, ADropTheBoxCannotTakeInTimeChangesNothing) {
    const std::wstring first = PathOf(L"first");
    const std::wstring file = PathOf(L"file.txt");
    // The folder, then a missing name long enough for all of them to hold `characters` characters.
    const auto withMissingNameOf = [&](size_t characters) {
        const std::wstring stem = PathOf(L"gone-");
        return Names{first, stem + std::wstring(characters - first.size() - stem.size(), L'x')};
    };
    // The folder among `files` files.
    const auto amongFiles = [&](size_t files) {
        Names names(files, file);
        names.insert(names.begin() + static_cast<std::ptrdiff_t>(files / 2), first);
        return names;
    };
    struct Case {
        const char* what;
        Names dropped;
        DWORD millisecondsAName;
        bool taken;
    };
    const Case cases[] = {
        {"names of 1,048,576 characters", withMissingNameOf(1048576), 0, true},
        {"names of one character more", withMissingNameOf(1048577), 0, false},
        {"50 names looked up in 500 ms", amongFiles(49), 10, true},
        {"51 names looked up in 510 ms", amongFiles(50), 10, false},
        {"the same at no cost", amongFiles(50), 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TypePath(L"C:\\");
        testsupport::FocusAsPerson(List());
        interaction.tickStep = c.millisecondsAName;
        EXPECT_EQ(DropFromAnotherWindow(c.dropped), c.taken ? drDropCopy : drCancel);
        interaction.tickStep = 0;
        EXPECT_EQ(PathText(), c.taken ? first : L"C:\\");
        EXPECT_EQ(GetFocus(), c.taken ? PathEdit() : List());
    }
}

TEST_F(MainDragDropTest, DragsAreRefusedWhileASearchRuns) {
    MakeSlowSearchTree(tree_.Path());
    TypeText(L"text");
    ASSERT_TRUE(ActWhileSearchPaused([&] {
        EXPECT_TRUE(window->Searching());
        const POINT at = PressOnRow(0);
        // Were a drag to start, this would end it on the other window.
        DragScript script(DropOn(otherWindow_.get()));
        MoveAwayFrom(at);
        EXPECT_FALSE(script.Done()) << "no drag loop ran";
        SetDragKeys(false);
    }));
    EXPECT_EQ(drops_, 0);
}

TEST_F(MainDragDropTest, ACloseDuringADragWaitsForItsEnd) {
    const std::wstring file = PathOf(L"file.txt");
    const HWND main = Main();
    DragRow(RowOf(file), DropOn(otherWindow_.get(), 0, [main] { PostMessageW(main, WM_CLOSE, 0, 0); }));
    EXPECT_EQ(drops_, 1);
    EXPECT_TRUE(mainWindowAtDrop_);
    EXPECT_EQ(RunUntilClosed(), 0);
    EXPECT_FALSE(IsWindow(main)) << "the close came once the drag had ended";
}
