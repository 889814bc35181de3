#include "audio/wave_stream.h"

#include <gtest/gtest.h>

TEST(MemoryByteStream, WritesOverReadsBackAndFillsGapsWithZeros) {
    MemoryByteStream s;
    EXPECT_EQ(s.Write("abcdef", 6), 6);
    EXPECT_EQ(s.Seek(2, SeekOrigin::Begin), 2);
    EXPECT_EQ(s.Write("XY", 2), 2);
    EXPECT_EQ(s.Bytes(), "abXYef");
    EXPECT_EQ(s.Seek(2, SeekOrigin::End), 8);
    EXPECT_EQ(s.Write("!", 1), 1);
    EXPECT_EQ(s.Bytes(), std::string("abXYef\0\0!", 9));
    EXPECT_EQ(s.Seek(-3, SeekOrigin::Current), 6);
    char out[8] = {};
    EXPECT_EQ(s.Read(out, 8), 3) << "a read stops at the end";
    EXPECT_EQ(std::string(out, 3), std::string("\0\0!", 3));
    EXPECT_THROW(s.Seek(-1, SeekOrigin::Begin), EStreamError);
}

TEST(MemoryByteStream, SetSizeTruncatesAndKeepsThePositionInside) {
    MemoryByteStream s;
    s.Write("0123456789", 10);
    s.SetSize(4);
    EXPECT_EQ(s.Bytes(), "0123");
    EXPECT_EQ(s.Position(), 4);
    s.SetSize(0);
    EXPECT_EQ(s.Position(), 0);
    EXPECT_TRUE(s.Bytes().empty());
}
