#include "list/stream_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "list/program_folder.h"
#include "tests/support/platform_doubles.h"

namespace {
using Fields = std::vector<std::string>;

struct SplitRow {
    const char* line;
    Fields fields;
};

TEST(SplitListLine, FollowsTheDelimiterAndQuoteRules) {
    const SplitRow rows[] = {
        {"Jazz;jazz.htm;note.bmp;1", {"Jazz", "jazz.htm", "note.bmp", "1"}},
        {"Vide;;;1", {"Vide", "", "", "1"}},
        {"a;b;c;", {"a", "b", "c", ""}},
        {";", {"", ""}},
        {"", {}},
        {"\t\x01 ", {}},
        {"  a ;  b", {"a", "b"}},              // controls and blanks around fields are skipped
        {"a\tb;c", {"a", "b", "c"}},           // a tab ends an unquoted field
        {"\"x;y\";z", {"x;y", "z"}},           // a quoted field keeps its ';'
        {"\"say \"\"hi\"\"\";2", {"say \"hi\"", "2"}},
        {"\"unclosed;rest", {"unclosed;rest"}},  // runs to the end of the line
        {"\"ab\"cd;e", {"\"ab\"cd", "e"}},   // a quote closed by text: the field reads as it stands
        {"\"ab\" cd;e", {"ab", "cd", "e"}},    // a blank closes it where blanks separate
        {"\"ab\"\t;e", {"ab", "e"}},         // a control character closes it
        {"\"ab\"", {"ab"}},                  // so does the end of the line
        {"a;b;c;d;e;f", {"a", "b", "c", "d", "e", "f"}},
        {"R\xE9seau\xB0n\xB0" "1;x", {"R\xE9seau\xB0n\xB0" "1", "x"}},  // bytes from 0x80 up are text
    };
    for (const SplitRow& row : rows) EXPECT_EQ(SplitListLine(row.line), row.fields) << "line: " << row.line;
}

TEST(SplitListLine, NulByteEndsTheLineText) {
    EXPECT_EQ(SplitListLine(std::string("ab\0cd;e", 7)), Fields{"ab"});
    EXPECT_EQ(SplitListLine(std::string("x;\0;y", 5)), (Fields{"x", ""}));
}

TEST(SplitTextLines, AcceptsEveryLineEnd) {
    const SplitRow rows[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"", {}},
        {"\r\n", {""}},
        {"solo", {"solo"}},
    };
    for (const SplitRow& row : rows) EXPECT_EQ(SplitTextLines(row.line), row.fields) << "text: " << row.line;
}

TEST(StreamList, StartsWithOneEmptyRowThatCannotBeRemoved) {
    StreamList list;
    ASSERT_EQ(list.RowCount(), 1);
    list.Row(0).title = "seul";
    list.RemoveStreamEntry(0);
    EXPECT_EQ(list.RowCount(), 1);
    EXPECT_EQ(list.Row(0).title, "seul");
}

TEST(StreamList, RemovingRowZeroMovesTheOthersUp) {
    StreamList list;
    list.Row(0).title = "a";
    list.AppendRow().title = "b";
    list.AppendRow().title = "c";
    list.RemoveStreamEntry(0);
    ASSERT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.Row(0).title, "b");
    EXPECT_EQ(list.Row(1).title, "c");
}

TEST(StreamList, EmptyOnlyWhenRowZeroIsTheExactPlaceholder) {
    StreamList list;
    EXPECT_FALSE(list.IsEmptyList());
    list.Row(0).title = "vide";
    EXPECT_FALSE(list.IsEmptyList());
    list.Row(0).title = "Vide";
    EXPECT_TRUE(list.IsEmptyList());
    list.Row(0).title = "A";
    list.AppendRow().title = "Vide";
    EXPECT_FALSE(list.IsEmptyList());
}

class ListFileTest : public ::testing::Test {
protected:
    const std::string path = "C:\\P\\Sonoraflux.ini";
    MemoryFileSystem files;
    AsciiCollation collation;
    RecordedNotices notices;
    StreamListFile listFile{path, files, collation, notices};
    StreamList list;

    void Load(const std::string& text) {
        files.files[path] = text;
        listFile.LoadStreamList(list);
    }
    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (int i = 0; i < list.RowCount(); ++i) titles.push_back(list.Row(i).title);
        return titles;
    }
};

TEST_F(ListFileTest, LoadSortsByTitleIgnoringCase) {
    Load("b;x;;1\r\nA;y;;1\r\nc;z;;0\r\n");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"A", "b", "c"}));
    EXPECT_EQ(list.Row(0).address, "y");
    EXPECT_EQ(list.Row(2).shownInMenu, "0");
    EXPECT_TRUE(listFile.LineBuffer().empty());
}

// The same collation, with sort keys: lower-cased text orders as the comparison does.
class KeyedAsciiCollation : public AsciiCollation {
public:
    std::optional<std::string> SortKey(const std::string& text) override {
        std::string key = text;
        for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return key;
    }
};

TEST_F(ListFileTest, SortKeysGiveTheOrderOfTheComparison) {
    const std::string text = "b;x;;1\r\nA;y;;1\r\nc;z;;0\r\nab;1;;1\r\nB;2;;1\r\n;empty;;1\r\nA;again;;1\r\n";
    Load(text);
    const std::vector<StreamEntry> compared(&list.Row(0), &list.Row(0) + list.RowCount());
    KeyedAsciiCollation keyed;
    StreamListFile keyedFile{path, files, keyed, notices};
    keyedFile.LoadStreamList(list);
    ASSERT_EQ(list.RowCount(), static_cast<int>(compared.size()));
    for (int i = 0; i < list.RowCount(); ++i) EXPECT_EQ(list.Row(i), compared[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(Titles(), (std::vector<std::string>{"", "A", "A", "ab", "B", "b", "c"}));  // whole lines: "B;2" before "b;x"
}

// Lines as a user or an older version wrote them, and the entry each reads as.
TEST_F(ListFileTest, LinesReadAsWritten) {
    const struct {
        const char* line;
        StreamEntry entry;
    } rows[] = {
        {"Jazz du soir;jazz.htm;note.bmp;1", {"Jazz du soir", "jazz.htm", "note.bmp", "1"}},
        {"Radio n\xB0" "1;http://r/a\xB0" "b;n\xB0.bmp;1", {"Radio n\xB0" "1", "http://r/a\xB0" "b", "n\xB0.bmp", "1"}},
        {" a b ;http://r/a b;;1", {" a b ", "http://r/a b", "", "1"}},
        {"\"Best\" Radio;http://example.net/;;1", {"\"Best\" Radio", "http://example.net/", "", "1"}},
        {"\"Best\";http://example.net/;;1", {"Best", "http://example.net/", "", "1"}},
        {"\"\"\"Le\"\" direct\";x;;1", {"\"Le\" direct", "x", "", "1"}},
        {"a\tb;c;;1", {"a", "b", "c", ""}},  // a tab still ends a field
    };
    for (const auto& row : rows) {
        Load(row.line + std::string("\r\n"));
        ASSERT_EQ(list.RowCount(), 1) << row.line;
        EXPECT_EQ(list.Row(0), row.entry) << row.line;
    }
}

// Quoting a field in the file never moves its entry: lines sort as they read.
TEST_F(ListFileTest, QuotedFieldsSortAsTheyRead) {
    Load("b;2;;1\r\n\"c;d\";3;;1\r\n\"\"\"a\"\" z\";1;;1\r\n\"a\";0;;1\r\n");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"\"a\" z", "a", "b", "c;d"}));
    KeyedAsciiCollation keyed;
    StreamListFile keyedFile{path, files, keyed, notices};
    keyedFile.LoadStreamList(list);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"\"a\" z", "a", "b", "c;d"}));
}

TEST_F(ListFileTest, PlaceholderLineLoadsAsTheEmptyList) {
    Load("Vide;;;1\r\n");
    ASSERT_EQ(list.RowCount(), 1);
    EXPECT_TRUE(list.IsEmptyList());
    EXPECT_EQ(list.Row(0), (StreamEntry{"Vide", "", "", "1"}));
}

TEST_F(ListFileTest, LastLineWithoutLineEndIsRead) {
    Load("a;1;;1\r\nb;2;;1");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(list.Row(1).address, "2");
}

TEST_F(ListFileTest, ShortLinesClearTheColumnsTheyDoNotGive) {
    Load("a;addr-a;a.bmp;1\r\nb;addr-b;b.bmp;1\r\nc;addr-c;c.bmp;1\r\n");
    Load("z\r\nb;x\r\n");
    ASSERT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.Row(0), (StreamEntry{"b", "x", "", ""}));
    EXPECT_EQ(list.Row(1), (StreamEntry{"z", "", "", ""}));
}

TEST_F(ListFileTest, ExtraFieldsAreDropped) {
    Load("a;b;c;1;extra;more\r\n");
    EXPECT_EQ(list.Row(0), (StreamEntry{"a", "b", "c", "1"}));
}

TEST_F(ListFileTest, MissingFileShowsTheMessageAndLeavesOneEmptyRow) {
    Load("a;1;;1\r\nb;2;;1\r\n");
    files.files.clear();
    listFile.LoadStreamList(list);
    EXPECT_EQ(notices.shown, std::vector<std::string>{"Impossible de trouver la liste des flumens !"});
    ASSERT_EQ(list.RowCount(), 1);
    EXPECT_EQ(list.Row(0), StreamEntry{});
}

TEST_F(ListFileTest, EmptyFileGivesOneEmptyRowWithoutMessage) {
    Load("");
    EXPECT_TRUE(notices.shown.empty());
    ASSERT_EQ(list.RowCount(), 1);
    EXPECT_EQ(list.Row(0), StreamEntry{});
}

TEST_F(ListFileTest, UnreadableFileRaisesTheOpenErrorAndKeepsTheListInMemory) {
    Load("b;2;;1\r\na;1;;1\r\n");
    const StreamList before = list;
    files.failRead = true;
    try {
        listFile.LoadStreamList(list);
        FAIL() << "no error raised";
    } catch (const EStreamError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"C:\\P\\Sonoraflux.ini\". Access is denied.");
    }
    EXPECT_TRUE(listFile.LineBuffer().empty());
    ASSERT_EQ(list.RowCount(), before.RowCount());
    for (int i = 0; i < list.RowCount(); ++i) EXPECT_EQ(list.Row(i), before.Row(i));
}

// After a failed read the list in memory is not the file's: no save may
// write it over the file until a load succeeds.
TEST_F(ListFileTest, AfterAFailedReadNoSaveWritesUntilALoadSucceeds) {
    const std::string good = "b;2;;1\r\na;1;;1\r\n";
    files.files[path] = good;
    files.failRead = true;
    EXPECT_THROW(listFile.LoadStreamList(list), EStreamError);
    EXPECT_FALSE(listFile.MatchesFile());
    list.Row(0) = {"", "", "", ""};
    try {
        listFile.SaveStreamList(list);
        FAIL() << "the save was not refused";
    } catch (const EStreamError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"C:\\P\\Sonoraflux.ini\". Access is denied.");
    }
    EXPECT_EQ(files.replaceCalls, 0);
    EXPECT_EQ(files.files[path], good);

    files.failRead = false;
    listFile.LoadStreamList(list);
    EXPECT_TRUE(listFile.MatchesFile());
    listFile.SaveStreamList(list);
    EXPECT_EQ(files.files[path], "a;1;;1\r\nb;2;;1\r\n");
}

TEST_F(ListFileTest, HostileBytesLoadWithoutHarm) {
    std::string manyLines;
    for (int i = 0; i < 10000; ++i) manyLines += "t" + std::to_string(9999 - i) + ";a;;1\r\n";
    const std::string longLine = std::string(100000, 'x') + ";" + std::string(50, '"');
    const std::string cases[] = {
        std::string("\0\0\0;\0", 5), "\r", "\r\r\r", "\n\n", "\"\"\"", ";;;;;;;;;;", "\"a;b\r\nc\"d;e", longLine,
        manyLines, std::string("\xFF\xFE\x80\x81;\x9F", 6),
    };
    for (const std::string& text : cases) {
        Load(text);
        EXPECT_GE(list.RowCount(), 1);
    }
    Load(manyLines);
    ASSERT_EQ(list.RowCount(), 10000);
    EXPECT_EQ(list.Row(0).title, "t0");
    Load(longLine);
    EXPECT_EQ(list.Row(0).title.size(), 100000u);
}

TEST_F(ListFileTest, SaveWritesEveryRowInOrderWithCrLf) {
    list.Row(0) = {"b", "http://b", "b.bmp", "1"};
    list.AppendRow() = {"A", "a.htm", "", "0"};
    list.AppendRow() = {"Radio n 1", "x", "", "1"};
    listFile.SaveStreamList(list);
    EXPECT_EQ(files.files[path], "b;http://b;b.bmp;1\r\nA;a.htm;;0\r\nRadio n 1;x;;1\r\n");
    EXPECT_TRUE(listFile.LineBuffer().empty());
}

TEST_F(ListFileTest, SaveThenLoadRoundTripsAndSortsTheNewEntry) {
    Load("b;2;;1\r\nc;3;;1\r\n");
    list.AppendRow() = {"a", "1", "", "1"};
    listFile.SaveStreamList(list);
    EXPECT_EQ(files.files[path], "b;2;;1\r\nc;3;;1\r\na;1;;1\r\n");  // the new entry is last in the file
    listFile.LoadStreamList(list);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(ListFileTest, FieldsThatWouldNotReadBackAreSavedQuoted) {
    struct Row {
        const char* field;
        const char* written;
    };
    const Row rows[] = {
        {"Radio; n 1", "\"Radio; n 1\""},
        {"\"Le\" direct", "\"\"\"Le\"\" direct\""},
        {"a\tb", "\"a\tb\""},
        {"\x01x", "\"\x01x\""},
        {"dit \"oui\"", "dit \"oui\""},  // a quote inside a plain field reads back as it is
        {" espace ", " espace "},
    };
    for (const Row& row : rows) {
        list.Reset();
        list.Row(0) = {row.field, row.field, "", row.field};
        listFile.SaveStreamList(list);
        EXPECT_EQ(files.files[path], row.written + std::string(";") + row.written + ";;" + row.written + "\r\n")
            << "field: " << row.field;
        listFile.LoadStreamList(list);
        ASSERT_EQ(list.RowCount(), 1) << "field: " << row.field;
        EXPECT_EQ(list.Row(0), (StreamEntry{row.field, row.field, "", row.field})) << "field: " << row.field;
    }
}

TEST_F(ListFileTest, FailedSaveLeavesTheOldFileAndTheNextSaveWritesEachEntryOnce) {
    const std::string old = "old;1;;1\r\n";
    files.files[path] = old;
    list.Row(0) = {"a", "1", "", "1"};
    list.AppendRow() = {"b", "2", "", "1"};
    files.failReplace = true;
    EXPECT_THROW(listFile.SaveStreamList(list), EStreamError);
    EXPECT_EQ(files.files[path], old);
    EXPECT_TRUE(listFile.LineBuffer().empty());
    files.failReplace = false;
    listFile.SaveStreamList(list);
    EXPECT_EQ(files.files[path], "a;1;;1\r\nb;2;;1\r\n");
}

TEST(ProgramFolder, JoinsPathsByPlainConcatenation) {
    ProgramFolder folder("C:\\Programme\\");
    EXPECT_EQ(folder.ListFile(), "C:\\Programme\\Sonoraflux.ini");
    EXPECT_EQ(folder.Page("jazz.htm"), "C:\\Programme\\Pages\\jazz.htm");
    EXPECT_EQ(folder.Image(""), "C:\\Programme\\Images\\");
    EXPECT_EQ(folder.Page("..\\x"), "C:\\Programme\\Pages\\..\\x");
    EXPECT_EQ(FolderOf("C:\\A\\B\\Sonoraflux.exe"), "C:\\A\\B\\");
}
}  // namespace
