// The bench itself: a display, a screenshot path, and a capture device.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"

TEST(Bench, HasADisplayAndWritesScreenshots) {
    ASSERT_FALSE(wine_support::Env("DISPLAY").empty());
    std::string path = wine_support::SaveScreenshot("bench-check.png");
    ASSERT_FALSE(path.empty());
    std::string bytes;
    ASSERT_TRUE(wine_support::ReadFileBytes(wine_support::WindowsPathOf(path), bytes));
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    ::DeleteFileA(wine_support::WindowsPathOf(path).c_str());
}

TEST(Bench, OffersACaptureDeviceAndAMixer) {
    EXPECT_GE(::waveInGetNumDevs(), 1u) << "the bench's sound server gives Wine a capture device";
    EXPECT_GE(::mixerGetNumDevs(), 1u);
}
