// A test program that dies in the middle of its run with code 0 and no
// summary: wine-run.sh must report it (the test passes on that report only).
#include <windows.h>

#include <gtest/gtest.h>

TEST(EarlyExit, TheProcessEndsHere) { ::ExitProcess(0); }
TEST(EarlyExit, NeverRuns) {}
