#include "tray/list_menu.h"

#include <gtest/gtest.h>

#include "tests/support/platform_doubles.h"

namespace {
class ListMenuTest : public ::testing::Test {
protected:
    ProgramFolder folder{"C:\\P\\"};
    MemoryFileSystem files;
    AsciiCollation collation;
    RecordedNotices notices;
    StreamListFile listFile{folder.ListFile(), files, collation, notices};
    StreamList list;

    std::vector<ListMenuItem> Load(const std::string& text, int playing) {
        files.files[folder.ListFile()] = text;
        listFile.LoadStreamList(list);
        return BuildListMenuItems(list, folder, files, playing);
    }
};

TEST_F(ListMenuTest, OneItemPerRowInRowOrderWithHiddenOnesInvisible) {
    files.files["C:\\P\\Images\\note.bmp"] = "BM";
    auto items = Load("b;http://b;note.bmp;1\r\na;http://a\xB0x;;0\r\nc;c.htm;absent.bmp;yes\r\n", -1);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0], (ListMenuItem{"a", "http://a\xB0x", "", false, 0, false}));
    EXPECT_EQ(items[1], (ListMenuItem{"b", "http://b", "C:\\P\\Images\\note.bmp", true, 1, false}));
    EXPECT_EQ(items[2], (ListMenuItem{"c", "c.htm", "", false, 0, false}));
}

TEST_F(ListMenuTest, PlaceholderGivesOneVisibleItemVide) {
    auto items = Load("Vide;;;1\r\n", -1);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].caption, "Vide");
    EXPECT_TRUE(items[0].visible);
}

TEST_F(ListMenuTest, EmptyFileGivesOneInvisibleItemWithEmptyCaption) {
    auto items = Load("", -1);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].caption, "");
    EXPECT_FALSE(items[0].visible);
}

TEST_F(ListMenuTest, PlayingMarkStaysWithThePositionAcrossAReload) {
    auto items = Load("b;1;;1\r\nc;2;;1\r\n", -1);
    items[1].isDefault = true;  // "c" plays
    const int playing = DefaultItemPosition(items);
    ASSERT_EQ(playing, 1);
    items = Load("b;1;;1\r\nc;2;;1\r\na;0;;1\r\n", playing);  // "a" sorts before the playing one
    EXPECT_EQ(DefaultItemPosition(items), 1);
    EXPECT_EQ(items[1].caption, "b");
    EXPECT_FALSE(items[2].isDefault);
}

TEST(EntryCommandId, EveryIdFitsIn16BitsAndNoneMeetsAFixedCommand) {
    struct Case { int row; unsigned id; };
    const Case cases[] = {{0, 1000}, {1, 1001}, {64534, 65534}, {64535, 65535}, {64536, 0}, {64636, 0}, {2000000, 0}, {-1, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(EntryCommandId(c.row), c.id) << "row " << c.row;
        if (c.id != 0) EXPECT_EQ(EntryRowOfCommand(c.id), c.row);
    }
    // Commands of the fixed items and the wrapped IDs of rows past the limit are no entries.
    for (unsigned id : {0u, 100u, 106u, 107u, 999u, 65536u, 65636u})
        EXPECT_EQ(EntryRowOfCommand(id), -1) << "id " << id;
}

TEST(UnreadableIconReports, EachFileIsReportedOncePerRun) {
    UnreadableIconReports reports;
    struct Rebuild { std::vector<std::string> unreadable, reported; };
    const Rebuild rebuilds[] = {
        {{"a.bmp"}, {"a.bmp"}},
        {{"a.bmp"}, {}},                          // the next play rebuilds: no second box
        {{"a.bmp", "b.bmp"}, {"b.bmp"}},
        {{}, {}},
        {{"b.bmp", "c.bmp", "a.bmp"}, {"c.bmp"}},
    };
    for (const Rebuild& r : rebuilds) EXPECT_EQ(reports.NotYetReported(r.unreadable), r.reported);
    EXPECT_EQ(UnreadableIconMessage({"C:\\I\\a.bmp", "b.bmp"}),
              "Ooops ! L'ic\xF4ne \"C:\\I\\a.bmp\" n'est pas une image bitmap lisible\r\n"
              "Ooops ! L'ic\xF4ne \"b.bmp\" n'est pas une image bitmap lisible");
}

TEST(DefaultItemPosition, IsTheLastMarkedOrMinusOne) {
    std::vector<ListMenuItem> items(4);
    EXPECT_EQ(DefaultItemPosition(items), -1);
    items[0].isDefault = items[2].isDefault = true;
    EXPECT_EQ(DefaultItemPosition(items), 2);
    EXPECT_EQ(DefaultItemPosition({}), -1);
}
}  // namespace
