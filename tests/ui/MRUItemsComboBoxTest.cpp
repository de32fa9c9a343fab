#include <gtest/gtest.h>

#include "tests/ui/PagesHost.h"
#include "ui/ControlIds.h"

namespace {

class MRUItemsComboBoxTest : public testing::Test {
protected:
    void SetUp() override { host.Make(); }

    // The items as a person sees them in the drop-down list.
    std::vector<std::wstring> Shown() const {
        std::vector<std::wstring> lines;
        const HWND combo = box().hwnd();
        const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[256] = {};
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            lines.emplace_back(text);
        }
        return lines;
    }
    ui::TMRUItemsComboBox& box() const { return const_cast<uitest::PagesHost&>(host).files.cbmitFILEFileMask; }
    void Load(std::vector<std::wstring> items) {
        list.Items = std::move(items);
        ASSERT_TRUE(box().LoadFrom(&list));
    }

    uitest::PagesHost host;
    app::TMRUItems list{L"Test"};
};

using Lines = std::vector<std::wstring>;

TEST_F(MRUItemsComboBoxTest, LoadPutsTheListUnderOneBlankLineAndKeepsTheTypedText) {
    SetWindowTextW(box().hwnd(), L"typed *.log");
    Load({L"*.txt", L"", L"*.doc"});
    EXPECT_EQ(Shown(), (Lines{L"", L"*.txt", L"*.doc"}));
    EXPECT_EQ(uitest::WindowText(box().hwnd()), L"typed *.log");

    EXPECT_FALSE(box().LoadFrom(nullptr));
    EXPECT_EQ(box().Count(), 0);
}

TEST_F(MRUItemsComboBoxTest, AddPutsNewTextsOnTopAndMovesKnownOnesThere) {
    struct Case { const wchar_t* added; Lines after; int selected; };
    const Case cases[] = {
        {L"b", {L"", L"b", L"c", L"d"}, 1},          // already on top: only selected
        {L"d", {L"", L"d", L"b", L"c"}, 1},          // lower down: moved up
        {L"", {L"", L"b", L"c", L"d"}, -1},          // nothing to record
        {L"B", {L"", L"B", L"b", L"c", L"d"}, 1},    // letter case makes another entry
        {L"new", {L"", L"new", L"b", L"c", L"d"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "added " << testing::PrintToString(std::wstring(c.added)));
        Load({L"b", L"c", L"d"});
        box().Select(-1);
        box().Add(c.added);
        EXPECT_EQ(Shown(), c.after);
        EXPECT_EQ(box().SelectedIndex(), c.selected);
        if (c.selected >= 0) {
            EXPECT_EQ(uitest::WindowText(box().hwnd()), c.added);
        }
    }
}

TEST_F(MRUItemsComboBoxTest, TheLimitDropsTheOldestButNeverTheBlankLine) {
    Load({L"a", L"b"});
    box().SetMaxItems(2);
    box().Add(L"c");
    EXPECT_EQ(Shown(), (Lines{L"", L"c", L"a"}));
    box().SetMaxItems(1);  // a smaller limit applies at once
    EXPECT_EQ(Shown(), (Lines{L"", L"c"}));
    box().SetMaxItems(0);  // no limit
    for (const wchar_t* text : {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10", L"11", L"12", L"13"})
        box().Add(text);
    EXPECT_EQ(box().Count(), 15);
}

TEST_F(MRUItemsComboBoxTest, AnAddHandlerCanRefuseOrChangeTheText) {
    Load({L"a"});
    std::vector<std::wstring> selected, added;
    box().OnSelected = [&](ui::TMRUItemsComboBox&, const std::wstring& item) { selected.push_back(item); };
    box().OnAdded = [&](ui::TMRUItemsComboBox&, const std::wstring& item) { added.push_back(item); };

    box().OnAdd = [](ui::TMRUItemsComboBox&, std::wstring&, bool& add) { add = false; };
    box().Add(L"refused");
    box().OnAdd = [](ui::TMRUItemsComboBox&, std::wstring& item, bool&) { item.clear(); };
    box().Add(L"emptied");
    EXPECT_EQ(Shown(), (Lines{L"", L"a"}));
    EXPECT_TRUE(selected.empty());

    box().OnAdd = [](ui::TMRUItemsComboBox&, std::wstring& item, bool&) { item = L"*." + item; };
    box().Add(L"txt");
    box().Add(L"a");  // "*.a" is new as well
    EXPECT_EQ(Shown(), (Lines{L"", L"*.a", L"*.txt", L"a"}));
    EXPECT_EQ(added, (Lines{L"*.txt", L"*.a"}));
    EXPECT_EQ(selected, (Lines{L"*.txt", L"*.a"}));
}

TEST_F(MRUItemsComboBoxTest, SaveWritesTheEntriesWithoutBlankLines) {
    Load({L"x", L"y"});
    box().Add(L"z");
    app::TMRUItems saved(L"Saved");
    saved.Items = {L"stale"};
    ASSERT_TRUE(box().SaveTo(&saved));
    EXPECT_EQ(saved.Items, (Lines{L"z", L"x", L"y"}));
    EXPECT_FALSE(box().SaveTo(nullptr));
}

} // namespace
