// The common ground of the tests that run the real Sonoraflux.exe: a private
// copy of the staged program folder for each test, its list file, and what
// a test leaves in the shell's state cleaned up before and after it (the
// autostart Run value, a balloon of an earlier program still shown).
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/app/program_driver.h"

namespace program_driver {

class ProgramFolderTest : public ::testing::Test {
protected:
    static constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

    void SetUp() override;
    void TearDown() override;

    // A balloon of an earlier program must be gone before the next one starts,
    // or it would be taken for the new one's ready notice.
    static void WaitForNoBalloon();
    // The program shows its main window, then its ready notice.
    static bool WaitUntilReady(const RunningProgram& program);

    void WriteListFile(const std::string& lines);
    std::string ListFile() const;
    // Writes the list, starts the program into `program` and waits until it is ready.
    void Start(const std::string& list, const std::vector<std::string>& environment = {});

    std::string folder;
    std::unique_ptr<RunningProgram> program;
};

}  // namespace program_driver
