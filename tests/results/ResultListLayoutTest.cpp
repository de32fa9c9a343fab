#include "tests/results/ListViewFixture.h"

#include "store/MemIniFileUnicode.h"
#include "tests/support/TempFolder.h"

#include <commctrl.h>

using namespace results;
using resultstest::ListViewTest;
using testsupport::FileExists;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

const std::wstring Columns = L"/Layout/MainForm/ResultListView/Columns";

std::vector<TColumnsEnum> Defaults() { return {DisplayOrder.begin(), DisplayOrder.end()}; }

} // namespace

class ListLayoutTest : public ListViewTest {
protected:
    TempFolder folder_;
    std::wstring file_ = folder_ / L"KolvaranLayout.ini";

    std::wstring Read(const std::wstring& section, const std::wstring& key) const {
        return store::TMemIniFileUnicode(file_).ReadString(section, key, L"<none>");
    }
};

TEST_F(ListLayoutTest, SaveWritesTheColumnsInDisplayOrderAndLoadBringsThemBack) {
    List().MoveColumn(tcSize, 0);
    SendMessageW(ListHwnd(), LVM_SETCOLUMNWIDTH, tcFolder, 300);
    List().ShowColumn(List().IndexOfKind(tcType), false);
    List().SetShowGridLines(true);
    List().SetTextZoom(tzLarge);
    List().SetTextBold(true);
    List().SaveLayout(file_);

    EXPECT_EQ(Read(L"FileIni", L"Name"), L"KolvaranLayout.ini");
    EXPECT_EQ(Read(Columns, L"List"), L"tcSize, tcNumber, tcName, tcFolder, tcExt, tcType, tcAttribute, "
                                      L"tcDateModified, tcDateCreated, tcDateAccessed");
    EXPECT_EQ(Read(Columns + L"/tcSize", L"Alignment"), L"taRightJustify");
    EXPECT_EQ(Read(Columns + L"/tcType", L"Visible"), L"False");
    EXPECT_EQ(Read(Columns + L"/tcType", L"WidthVisible"), L"105");
    EXPECT_EQ(Read(L"/Layout/MainForm/ResultListView/Zoom", L"Selected"), L"tzLarge");

    RecreateWindow();
    List().LoadLayout(file_);
    EXPECT_EQ(List().DisplayedKinds(),
              (std::vector<TColumnsEnum>{tcSize, tcNumber, tcName, tcFolder, tcExt, tcType, tcAttribute,
                                         tcDateModified, tcDateCreated, tcDateAccessed}));
    EXPECT_EQ(List().ColumnWidth(tcFolder), 300);
    EXPECT_EQ(List().ColumnWidth(tcType), 0);
    EXPECT_FALSE(List().ColumnInfo(tcType).visible);
    EXPECT_TRUE(List().ShowGridLines());
    EXPECT_EQ(List().TextZoom(), tzLarge);
    EXPECT_TRUE(List().TextBold());
    // Shown again, the hidden column gets the width it had.
    List().ShowColumn(List().IndexOfKind(tcType), true);
    EXPECT_EQ(List().ColumnWidth(tcType), 105);
}

TEST_F(ListLayoutTest, ALayoutSavedInIconViewKeepsTheReportWidths) {
    SendMessageW(ListHwnd(), LVM_SETCOLUMNWIDTH, tcName, 222);
    List().SetZentaViewStyle(zvsIcon);
    ASSERT_EQ(List().ZentaViewStyle(), zvsIcon);
    List().SaveLayout(file_);
    EXPECT_EQ(Read(Columns + L"/tcName", L"Width"), L"222");
    EXPECT_EQ(Read(Columns + L"/tcFolder", L"Width"), L"190");
}

TEST_F(ListLayoutTest, AListNamingSomeColumnsMovesOnlyThoseAndKeepsWidthsVisible) {
    WriteBytes(file_, "[/Layout/MainForm/ResultListView/Columns]\r\n"
                      "List= tcSize ,\t, bogus,tcName\t, tcExt\r\n"
                      "[/Layout/MainForm/ResultListView/Columns/tcSize]\r\nWidth=99999\r\nVisible=True\r\n"
                      "[/Layout/MainForm/ResultListView/Columns/tcName]\r\nWidth=3\r\nVisible=True\r\n"
                      "WidthVisible=-4\r\nAlignment=taCenter\r\n"
                      "[/Layout/MainForm/ResultListView/Columns/bogus]\r\nWidth=50\r\n");
    List().LoadLayout(file_);
    // tcExt has no section of its own: it stays where it was.
    EXPECT_EQ(List().DisplayedKinds(),
              (std::vector<TColumnsEnum>{tcSize, tcName, tcNumber, tcFolder, tcExt, tcType, tcAttribute,
                                         tcDateModified, tcDateCreated, tcDateAccessed}));
    EXPECT_EQ(List().ColumnWidth(tcSize), MaxColumnWidth);
    EXPECT_EQ(List().ColumnWidth(tcName), MinColumnWidth);
    EXPECT_EQ(List().ColumnInfo(tcName).widthVisible, 105);
    EXPECT_EQ(List().ColumnWidth(tcExt), 39);
    EXPECT_TRUE(FileExists(file_));
}

TEST(ListLayoutWidths, ReadWidthsAreKeptVisible) {
    struct Case { int read; int kept; };
    const Case cases[] = {{0, 0}, {-1, 105}, {1, MinColumnWidth}, {MinColumnWidth, MinColumnWidth}, {300, 300},
                          {MaxColumnWidth + 1, MaxColumnWidth}, {2147483647, MaxColumnWidth}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.read);
        EXPECT_EQ(ClampLayoutWidth(c.read, 105), c.kept);
    }
}

TEST_F(ListLayoutTest, AFileThatIsNoLayoutIsDeletedAndTheDefaultsStay) {
    const std::string garbage[] = {std::string("\x00\x01\xFF\xFE garbage \x13\x37", 14), "just some text\r\n", ""};
    for (const std::string& bytes : garbage) {
        SCOPED_TRACE(bytes.size());
        WriteBytes(file_, bytes);
        List().LoadLayout(file_);
        EXPECT_FALSE(FileExists(file_));
        EXPECT_EQ(List().DisplayedKinds(), Defaults());
        EXPECT_EQ(List().TextZoom(), tzNormal);
        EXPECT_FALSE(List().ShowGridLines());
    }
    List().LoadLayout(file_);  // missing: nothing happens
    EXPECT_EQ(List().DisplayedKinds(), Defaults());
}

TEST_F(ListLayoutTest, UnknownNamesGiveTheDefaults) {
    WriteBytes(file_, "[/Layout/MainForm/ResultListView]\r\nShowGridLines=yes\r\n"
                      "[/Layout/MainForm/ResultListView/Zoom]\r\nSelected=tzHuge\r\nTextBold=True\r\n"
                      "AutoResizes=True\r\n");
    List().SetTextZoom(tzLarge);
    List().LoadLayout(file_);
    EXPECT_FALSE(List().ShowGridLines());
    EXPECT_EQ(List().TextZoom(), tzNormal);
    EXPECT_TRUE(List().TextBold());
    EXPECT_TRUE(List().ZoomAutoResizes());
    EXPECT_EQ(List().DisplayedKinds(), Defaults());
}

TEST_F(ListLayoutTest, AFailedSaveKeepsTheOldFile) {
    const std::string good = "[/Layout/MainForm/ResultListView]\r\nShowGridLines=True\r\n";
    WriteBytes(file_, good);
    // A folder where the save's temporary file goes makes the write fail.
    CreateDirectoryW((file_ + L".new").c_str(), nullptr);
    List().SaveLayout(file_);
    RemoveDirectoryW((file_ + L".new").c_str());
    EXPECT_EQ(ReadBytes(file_), good);
}
