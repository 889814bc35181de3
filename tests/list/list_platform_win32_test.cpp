// The list's Windows side with real files and the real collation.
#include "win/platform_win32.h"

#include <gtest/gtest.h>

#include "list/stream_list.h"
#include "tests/support/platform_doubles.h"
#include "tests/support/scratch_files_win32.h"
#include "win/handles_win32.h"

namespace {
class Win32ListFiles : public ::testing::Test {
protected:
    std::string folder = wine_support::MakeTempFolder("list_");
    std::string path = folder + "Sonoraflux.ini";
    Win32FileSystem files;
};

TEST_F(Win32ListFiles, FoldersAreNotFiles) {
    ASSERT_FALSE(folder.empty());
    EXPECT_FALSE(files.FileExists(folder));
    EXPECT_FALSE(files.FileExists(folder + "Images\\"));
    ASSERT_TRUE(wine_support::WriteFileBytes(path, "x"));
    EXPECT_TRUE(files.FileExists(path));
}

// Only "not found" (or a folder) counts as missing: a check that fails
// otherwise says nothing of the file, which a save must then not replace.
TEST_F(Win32ListFiles, OnlyWhatIsNotThereIsMissing) {
    ASSERT_TRUE(wine_support::WriteFileBytes(path, "x"));
    UniqueFileHandle held(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    const struct {
        std::string path;
        bool missing;
    } rows[] = {
        {folder + "absent.ini", true},
        {folder + "no\\such\\Sonoraflux.ini", true},
        {folder, true},
        {path, false},  // held open with no sharing by this test
        {folder + "bad|name.ini", false},
    };
    for (const auto& row : rows) EXPECT_EQ(files.FileMissing(row.path), row.missing) << row.path;
}

TEST_F(Win32ListFiles, ReplaceWritesTheExactBytes) {
    const std::string content = "Radio n 1;http://r;;1\r\nVide;;;1\r\n\xE9\xB0\r\n";
    files.ReplaceFile(path, content);
    std::string bytes;
    ASSERT_TRUE(wine_support::ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, content);
    EXPECT_FALSE(files.FileExists(path + ".new"));
}

TEST_F(Win32ListFiles, LeftoversOfAnInterruptedSaveDoNotBlockTheNext) {
    // A read-only leftover file is replaced; a leftover folder that cannot be
    // removed sends the save to the rewrite in place.
    const std::string fresh = path + ".new";
    ASSERT_TRUE(wine_support::WriteFileBytes(path, "old;1;;1\r\n"));
    ASSERT_TRUE(wine_support::WriteFileBytes(fresh, "half"));
    ASSERT_TRUE(::SetFileAttributesA(fresh.c_str(), FILE_ATTRIBUTE_READONLY));
    files.ReplaceFile(path, "first;;;1\r\n");
    std::string bytes;
    ASSERT_TRUE(wine_support::ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "first;;;1\r\n");
    EXPECT_EQ(::GetFileAttributesA(fresh.c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_TRUE(::CreateDirectoryA(fresh.c_str(), nullptr));
    ASSERT_TRUE(wine_support::WriteFileBytes(fresh + "\\inside.txt", "x"));
    files.ReplaceFile(path, "second;;;1\r\n");
    ASSERT_TRUE(wine_support::ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "second;;;1\r\n");
}

TEST_F(Win32ListFiles, AFailedSaveNamesTheFileAndLeavesItByteIdentical) {
    const std::string old = "old;1;;1\r\nkept;2;;0\r\n";
    ASSERT_TRUE(wine_support::WriteFileBytes(path, old));
    // Held open without sharing by another program: it cannot be replaced.
    UniqueFileHandle holder(
        ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    try {
        files.ReplaceFile(path, "new;;;1\r\n");
        FAIL() << "no error raised";
    } catch (const EStreamError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + path + "\". ", 0), 0u) << e.what();
    }
    holder.reset();
    std::string bytes;
    ASSERT_TRUE(wine_support::ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, old);
    EXPECT_FALSE(files.FileExists(path + ".new"));
}

TEST_F(Win32ListFiles, AFailingReadRaisesTheOpenError) {
    // A file that opens but cannot be read: the memory of the Unix process
    // behind this one fails every read at its start (Z: is the Unix root).
    const std::string unreadable = "Z:\\proc\\self\\mem";
    ASSERT_TRUE(files.FileExists(unreadable));
    try {
        const std::string content = files.ReadFile(unreadable);
        FAIL() << "read " << content.size() << " bytes without an error";
    } catch (const EStreamError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + unreadable + "\". ", 0), 0u) << e.what();
    }
}

TEST_F(Win32ListFiles, ReadingAMissingFileGivesTheOpenMessage) {
    try {
        files.ReadFile(folder + "absent.ini");
        FAIL() << "no error raised";
    } catch (const EStreamError& e) {
        const std::string expected = "Cannot open file \"" + folder + "absent.ini\". ";
        EXPECT_EQ(std::string(e.what()).rfind(expected, 0), 0u) << e.what();
        EXPECT_GT(std::string(e.what()).size(), expected.size()) << "the system's reason follows";
    }
}

TEST(UserLocaleCollation, IgnoresCaseAndFollowsTheLocale) {
    UserLocaleCollation collation;
    EXPECT_LT(collation.CompareIgnoringCase("A;x", "b;y"), 0);
    EXPECT_GT(collation.CompareIgnoringCase("b", "A"), 0);
    EXPECT_EQ(collation.CompareIgnoringCase("Radio", "rADIO"), 0);
    // Accented letters sort with their base letter, not after 'z'.
    EXPECT_LT(collation.CompareIgnoringCase("\xE9" "cole", "zebre"), 0);
    // The sort keys put every pair in the comparison's order.
    const std::string texts[] = {"", "a", "A;x", "b;y", "Radio", "rADIO", "\xE9" "cole", "ecole", "zebre",
                                 "Radio n 1", "Radio-1", "radio 2", "\xC9t\xE9", "10", "9", ";", "\xB0"};
    for (const std::string& a : texts) {
        for (const std::string& b : texts) {
            const std::optional<std::string> ka = collation.SortKey(a), kb = collation.SortKey(b);
            ASSERT_TRUE(ka && kb);
            const int byKeys = *ka < *kb ? -1 : *kb < *ka ? 1 : 0;
            const int compared = collation.CompareIgnoringCase(a, b);
            EXPECT_EQ(byKeys, compared < 0 ? -1 : compared > 0 ? 1 : 0) << "\"" << a << "\" vs \"" << b << "\"";
        }
    }
}

TEST_F(Win32ListFiles, LoadAndSaveThroughTheRealFiles) {
    ASSERT_TRUE(wine_support::WriteFileBytes(path, "b;2;;1\nA;1;;1\r\n\xC9t\xE9;3;;0"));
    UserLocaleCollation collation;
    RecordedNotices notices;
    StreamListFile listFile(path, files, collation, notices);
    StreamList list;
    listFile.LoadStreamList(list);
    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.Row(0).title, "A");
    EXPECT_EQ(list.Row(1).title, "b");
    EXPECT_EQ(list.Row(2).title, "\xC9t\xE9");
    listFile.SaveStreamList(list);
    std::string bytes;
    ASSERT_TRUE(wine_support::ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "A;1;;1\r\nb;2;;1\r\n\xC9t\xE9;3;;0\r\n");
}
}  // namespace
