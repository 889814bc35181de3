#include "tests/app/program_fixture.h"

#include <windows.h>

#include "tests/support/message_pump_win32.h"
#include "tests/support/scratch_files_win32.h"

namespace program_driver {

void ProgramFolderTest::SetUp() {
    folder = wine_support::CopyProgramFolder();
    ASSERT_FALSE(folder.empty()) << "program folder not staged";
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Sonoraflux");
    WaitForNoBalloon();
}

void ProgramFolderTest::TearDown() {
    program.reset();
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Sonoraflux");
}

void ProgramFolderTest::WaitForNoBalloon() {
    wine_support::PumpUntil([] { return VisibleBalloon() == nullptr; }, 15000);
}

bool ProgramFolderTest::WaitUntilReady(const RunningProgram& program) {
    return program.WaitForMainWindow(20000) && wine_support::PumpUntil([] { return VisibleBalloon() != nullptr; }, 20000);
}

void ProgramFolderTest::WriteListFile(const std::string& lines) {
    ASSERT_TRUE(wine_support::WriteFileBytes(folder + "Sonoraflux.ini", lines));
}

std::string ProgramFolderTest::ListFile() const {
    std::string bytes;
    wine_support::ReadFileBytes(folder + "Sonoraflux.ini", bytes);
    return bytes;
}

void ProgramFolderTest::Start(const std::string& list, const std::vector<std::string>& environment) {
    WriteListFile(list);
    program = std::make_unique<RunningProgram>(folder, environment);
    ASSERT_TRUE(program->WaitForMainWindow(20000));
    ASSERT_TRUE(wine_support::PumpUntil([] { return VisibleBalloon() != nullptr; }, 20000)) << "ready notice";
}

}  // namespace program_driver
