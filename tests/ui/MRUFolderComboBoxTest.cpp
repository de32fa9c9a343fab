#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"
#include "tests/ui/PagesHost.h"
#include "kit/DeviceContexts.h"
#include "kit/Strings.h"
#include "ui/ControlIds.h"

namespace {

using Lines = std::vector<std::wstring>;

class MRUFolderComboBoxTest : public testing::Test {
protected:
    void SetUp() override {
        host.Make();
        box().SetMaxItems(12);
    }
    ui::TMRUFolderComboBox& box() { return host.files.cbmfldFOLDERSSearchPath; }
    void Populate(Lines lines, const std::wstring& select = L"") {
        list.Items = std::move(lines);
        ASSERT_TRUE(box().Populate(&list, select));
    }
    // The entries below the built-in block, as "caption = value".
    Lines Recent() {
        Lines lines;
        for (int i = box().BuiltInCount(); i < box().Count(); ++i)
            lines.push_back(box().Caption(i) + L" = " + box().Info(i).Value);
        return lines;
    }
    Lines Tags() {
        Lines tags;
        for (int i = 0; i < box().BuiltInCount(); ++i) tags.push_back(box().Info(i).Tag);
        return tags;
    }
    int IndexOfTag(const std::wstring& tag) {
        for (int i = 0; i < box().Count(); ++i)
            if (box().Info(i).Tag == tag) return i;
        return -1;
    }
    std::wstring Edit() { return uitest::WindowText(box().EditHwnd()); }
    // The list dropped down and closed again by the user, with `during` done while it is open.
    template <typename F>
    void DropAndClose(F during) {
        SendMessageW(box().hwnd(), CB_SHOWDROPDOWN, TRUE, 0);
        during();
        SendMessageW(box().hwnd(), CB_SHOWDROPDOWN, FALSE, 0);
    }
    void DropAndClose() { DropAndClose([] {}); }

    // The picture beside the text as the screen shows it: the box's pixels left of its edit field.
    std::vector<COLORREF> PictureShown() {
        RedrawWindow(box().hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT edit{};
        GetWindowRect(box().EditHwnd(), &edit);
        MapWindowPoints(HWND_DESKTOP, box().hwnd(), reinterpret_cast<POINT*>(&edit), 2);
        std::vector<COLORREF> pixels;
        const kit::WindowDc dc(box().hwnd());
        for (int y = edit.top; y < edit.bottom; ++y)
            for (int x = 0; x < edit.left; ++x) pixels.push_back(GetPixel(dc.get(), x, y));
        return pixels;
    }

    uitest::PagesHost host;
    app::TMRUItems list{L"Folders"};
};

TEST_F(MRUFolderComboBoxTest, BuiltInEntriesListEverywhereTheSpecialFoldersAndTheDrivesByClass) {
    // The test prefix has C: and Z:, the network drive N:, and Q: without a medium (no root: in no class).
    ASSERT_EQ(GetDriveTypeW(L"N:\\"), static_cast<UINT>(DRIVE_REMOTE)) << "the test session's network drive";
    Populate({});
    EXPECT_EQ(Tags(), (Lines{L"<EVERYWHERE>", L"<PROFILE>", L"<PERSONAL>", L"<MYMUSIC>", L"<MYPICTURES>",
                             L"<MYVIDEO>", L"<FAVORITES>", L"<INTERNET_CACHE>", L"<LOCAL_APPDATA>",
                             L"<LOCALDRIVES>", L"<C:\\>", L"<Z:\\>", L"<NETWORKDRIVES>", L"<N:\\>"}));
    EXPECT_EQ(box().Drives, (Lines{L"C:", L"N:", L"Q:", L"Z:"}));
    EXPECT_EQ(box().Caption(0), L"Everywhere");
    EXPECT_EQ(box().Info(0).Value, L"C:\\|N:\\|Q:\\|Z:\\");
    struct DriveClass { const wchar_t* tag; const wchar_t* value; const wchar_t* firstDrive; };
    const DriveClass classes[] = {{L"<LOCALDRIVES>", L"C:\\|Z:\\", L"C:\\"}, {L"<NETWORKDRIVES>", L"N:\\", L"N:\\"}};
    for (const DriveClass& c : classes) {
        SCOPED_TRACE(kit::WideToUtf8(c.tag));
        const int header = IndexOfTag(c.tag);
        ASSERT_GE(header, 0);
        EXPECT_EQ(box().Info(header).Value, c.value);
        EXPECT_EQ(box().Indent(header), 1);
        EXPECT_EQ(box().Indent(header + 1), 2);
        EXPECT_EQ(box().Info(header + 1).Value, c.firstDrive);
        EXPECT_EQ(box().SelectByTag(c.tag), header);
        EXPECT_EQ(Edit(), box().Caption(header));
    }
    for (int i = 0; i < box().BuiltInCount(); ++i) {
        SCOPED_TRACE(box().Info(i).Tag);
        EXPECT_EQ(box().Info(i).Kind, ui::TItemInfo::kBuiltIn);
        EXPECT_FALSE(box().Caption(i).empty());
    }
    EXPECT_EQ(box().SelectByTag(L"<networkdrives>"), box().DefaultIndex) << "tags are case-sensitive";
}

TEST_F(MRUFolderComboBoxTest, PopulateParsesTheRecentLinesAndSelectsTheSavedText) {
    Populate({L"  C:\\a  ", L"", L"<Work>  C:\\w|+C:\\w\\in ", L"c:\\b"}, L"<work>");
    EXPECT_EQ(Recent(), (Lines{L"C:\\a = C:\\a", L"<Work> = C:\\w|+C:\\w\\in", L"c:\\b = c:\\b"}));
    EXPECT_EQ(box().Info(box().BuiltInCount() + 1).Kind, ui::TItemInfo::kNamed);
    EXPECT_EQ(box().SelectedIndex(), box().BuiltInCount() + 1);
    EXPECT_EQ(Edit(), L"<Work>");

    // Not a caption: a value matches too; nothing matches: the default entry.
    Populate({L"<Work> C:\\w"}, L"c:\\W");
    EXPECT_EQ(box().SelectedIndex(), box().BuiltInCount());
    box().DefaultIndex = 1;
    Populate({L"C:\\a"}, L"C:\\nowhere");
    EXPECT_EQ(box().SelectedIndex(), 1);
    EXPECT_EQ(Edit(), box().Caption(1));

    EXPECT_FALSE(box().Populate(nullptr, L""));
    EXPECT_EQ(box().Count(), box().BuiltInCount());
}

TEST_F(MRUFolderComboBoxTest, AddPlacesEachKindOfEntry) {
    struct Case { const char* name; Lines before; const wchar_t* added; Lines after; };
    const Case cases[] = {
        {"older entry moves to the top", {L"C:\\a", L"C:\\b", L"C:\\c"}, L"C:\\c",
         {L"C:\\c = C:\\c", L"C:\\a = C:\\a", L"C:\\b = C:\\b"}},
        {"top entry is only selected", {L"C:\\a", L"C:\\b"}, L"c:\\A", {L"C:\\a = C:\\a", L"C:\\b = C:\\b"}},
        {"named line replaces the plain entry of its value", {L"C:\\a", L"C:\\b"}, L"<B> C:\\b",
         {L"<B> = C:\\b", L"C:\\a = C:\\a"}},
        {"named line replaces the top plain entry too", {L"C:\\b", L"C:\\a"}, L"<B> C:\\b",
         {L"<B> = C:\\b", L"C:\\a = C:\\a"}},
        {"bare name moves its entry up with its value", {L"C:\\a", L"<N> C:\\n|-C:\\n\\x"}, L"<N>",
         {L"<N> = C:\\n|-C:\\n\\x", L"C:\\a = C:\\a"}},
        {"a named entry's new value replaces the old one", {L"<N> C:\\old", L"C:\\a"}, L"<N> C:\\new",
         {L"<N> = C:\\new", L"C:\\a = C:\\a"}},
        {"blank text adds nothing", {L"C:\\a"}, L"   ", {L"C:\\a = C:\\a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Populate(c.before);
        box().Add(c.added);
        EXPECT_EQ(Recent(), c.after);
        if (!kit::Trim(c.added).empty()) {
            EXPECT_EQ(box().SelectedIndex(), box().BuiltInCount());
            EXPECT_EQ(Edit(), box().Caption(box().BuiltInCount()));
        }
    }
}

TEST_F(MRUFolderComboBoxTest, AddOfAKnownTopOrBuiltInEntryOnlySelectsItWithoutAChange) {
    Populate({L"C:\\a"});
    int changes = 0;
    std::vector<std::wstring> selected;
    box().OnChange = [&](ui::TMRUFolderComboBox&) { ++changes; };
    box().OnSelected = [&](ui::TMRUFolderComboBox&, const std::wstring& item) { selected.push_back(item); };
    const std::wstring everywhere = box().Info(0).Value;
    box().Add(everywhere);  // the value of a built-in entry
    EXPECT_EQ(box().SelectedIndex(), 0);
    EXPECT_EQ(Edit(), L"Everywhere");
    box().Add(L"C:\\a");
    EXPECT_EQ(box().SelectedIndex(), box().BuiltInCount());
    EXPECT_EQ(Recent(), (Lines{L"C:\\a = C:\\a"}));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(selected, (Lines{everywhere, L"C:\\a"}));

    // What the user does is a change.
    SendMessageW(box().EditHwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\typed"));
    uitest::Notify(box().hwnd(), CBN_EDITCHANGE);
    EXPECT_GE(changes, 1);
}

TEST_F(MRUFolderComboBoxTest, TheLimitDropsTheOldestRecentEntries) {
    Populate({L"C:\\1", L"C:\\2", L"C:\\3"});
    box().SetMaxItems(3);
    box().Add(L"C:\\4");
    EXPECT_EQ(Recent(), (Lines{L"C:\\4 = C:\\4", L"C:\\1 = C:\\1", L"C:\\2 = C:\\2"}));
    box().SetMaxItems(1);
    EXPECT_EQ(Recent(), (Lines{L"C:\\4 = C:\\4"}));
    const int builtIn = box().BuiltInCount();
    box().SetMaxItems(0);
    for (int i = 0; i < 20; ++i) box().Add(L"C:\\n" + std::to_wstring(i));
    EXPECT_EQ(box().Count(), builtIn + 21);
}

TEST_F(MRUFolderComboBoxTest, BuiltInEntriesCannotBeDeletedByAdd) {
    // A named entry whose value is the caption of a built-in entry would take that entry's place.
    Populate({L"<X> C:\\x"});
    const Lines tags = Tags();
    box().Add(L"<X> Everywhere");
    EXPECT_EQ(Tags(), tags);
    EXPECT_EQ(box().Caption(0), L"Everywhere");
    EXPECT_EQ(Recent(), (Lines{L"<X> = Everywhere"}));
    const std::wstring documents = box().Caption(IndexOfTag(L"<PERSONAL>"));
    box().Add(L"<Y> " + documents);
    EXPECT_EQ(Tags(), tags);
    EXPECT_EQ(Recent(), (Lines{L"<Y> = " + documents, L"<X> = Everywhere"}));
}

TEST_F(MRUFolderComboBoxTest, CloseUpKeepsWhatWasPickedTypedOrBrowsedTo) {
    Populate({L"C:\\a", L"C:\\b"});
    // Browsed to (or dropped): in the list, though the recent list was not saved since.
    box().Add(L"C:\\browsed");
    DropAndClose();
    EXPECT_EQ(Recent(), (Lines{L"C:\\browsed = C:\\browsed", L"C:\\a = C:\\a", L"C:\\b = C:\\b"}));
    EXPECT_EQ(box().SelectedIndex(), box().BuiltInCount());
    EXPECT_EQ(Edit(), L"C:\\browsed");

    // Typed: the text stays as it is.
    SendMessageW(box().EditHwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\typed\\path"));
    DropAndClose();
    EXPECT_EQ(Edit(), L"C:\\typed\\path");

    // Picked: the entry stays selected and shows its caption.
    const int b = box().BuiltInCount() + 2;
    DropAndClose([&] {
        SendMessageW(box().hwnd(), CB_SETCURSEL, static_cast<WPARAM>(b), 0);
        uitest::Notify(box().hwnd(), CBN_SELCHANGE);
    });
    EXPECT_EQ(box().SelectedIndex(), b);
    EXPECT_EQ(Edit(), L"C:\\b");
    const int local = IndexOfTag(L"<LOCALDRIVES>");
    DropAndClose([&] { SendMessageW(box().hwnd(), CB_SETCURSEL, static_cast<WPARAM>(local), 0); });
    EXPECT_EQ(box().SelectedIndex(), local);
    EXPECT_EQ(Edit(), box().Caption(local));
}

TEST_F(MRUFolderComboBoxTest, PathGettersSplitTheSelectedValue) {
    struct Case { const wchar_t* line; const wchar_t* paths; const wchar_t* include; const wchar_t* exclude; };
    const Case cases[] = {
        {L"<S> C:\\a|+C:\\b|-C:\\c", L"C:\\a", L"C:\\b", L"C:\\c"},
        {L"<S> C:\\a|C:\\d|", L"C:\\a|C:\\d", L"", L""},
        {L"<S> C:\\a|+|-| - C:\\x ", L"C:\\a", L"", L" C:\\x"},
        {L"\"C:\\Program Files\"", L"C:\\Program Files", L"", L""},
        {L"<S> \"C:\\a b\"|\"+C:\\c d\"", L"C:\\a b", L"C:\\c d", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Populate({});
        box().Add(c.line);
        std::wstring paths, include, exclude;
        box().GetPaths(paths);
        box().GetIncludePaths(include);
        box().GetExcludePaths(exclude);
        EXPECT_EQ(paths, c.paths);
        EXPECT_EQ(include, c.include);
        EXPECT_EQ(exclude, c.exclude);
    }
}

TEST_F(MRUFolderComboBoxTest, SaveWritesNamedEntriesAsNameAndValueThatReadBackTheSame) {
    Populate({L"C:\\a"});
    box().Add(L"<Both>   C:\\x|-C:\\x\\tmp");
    app::TMRUItems saved(L"Saved");
    ASSERT_TRUE(box().SaveTo(&saved));
    EXPECT_EQ(saved.Items, (Lines{L"<Both>C:\\x|-C:\\x\\tmp", L"C:\\a"}));
    const Lines before = Recent();
    ASSERT_TRUE(box().Populate(&saved, L""));
    EXPECT_EQ(Recent(), before);
    EXPECT_FALSE(box().SaveTo(nullptr));
}

TEST_F(MRUFolderComboBoxTest, FolderTextIsAnExistingFolderOrNothing) {
    testsupport::TempFolder temp;
    const std::wstring folder = temp.Path();
    struct Case { std::wstring selected; std::wstring typed; std::wstring expected; };
    const Case cases[] = {
        {L"C:\\a", folder, folder},                                  // typed folder exists
        {L"<T> " + folder + L"|-x", L"C:\\missing", L""},            // value is no single folder
        {L"<Docs> " + folder, L"<Docs>", folder},                    // the selected entry's folder
        {folder, L"C:\\missing", L""},  // typed over the folder's entry: the box holds that entry no more
        {L"C:\\missing", L"C:\\missing too", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Populate({});
        box().Add(c.selected);
        SendMessageW(box().EditHwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.typed.c_str()));
        std::wstring text = L"stale";
        box().GetFolderText(text);
        EXPECT_EQ(text, c.expected);
    }
}

// The picture beside the text follows what the box holds: a folder typed over the selected "Everywhere" shows the
// folder's picture, as the folder's own entry does, and a typed entry's caption that entry's picture.
TEST_F(MRUFolderComboBoxTest, ThePictureBesideTheTextFollowsWhatTheBoxHolds) {
    testsupport::TempFolder temp;
    const std::wstring folder = temp.Path();
    Populate({folder});
    box().SelectByTag(L"<EVERYWHERE>");
    const std::vector<COLORREF> everywhere = PictureShown();
    box().Add(folder);  // selects the folder's own entry
    ASSERT_EQ(Edit(), folder);
    const std::vector<COLORREF> ofTheFolder = PictureShown();
    ASSERT_NE(ofTheFolder, everywhere);

    box().SelectByTag(L"<EVERYWHERE>");
    ASSERT_EQ(PictureShown(), everywhere);
    SendMessageW(box().EditHwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    EXPECT_EQ(Edit(), folder);
    EXPECT_TRUE(PictureShown() == ofTheFolder) << "typed over Everywhere";
    SendMessageW(box().EditHwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ui::TMRUFolderComboBox::kEverywhere));
    EXPECT_TRUE(PictureShown() == everywhere) << "Everywhere typed";
}

} // namespace
