// The program root built in this process, made to fail after each step of its
// construction: what was built goes down cleanly and the first error stands.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "app/program_win32.h"
#include "tests/app/program_driver.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/modal_boxes_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "win/ole_session_win32.h"

namespace {
bool ProgramWindowsLeft() {
    for (const char* windowClass : {kMainWindowClass, kRotationWindowClass, kRecorderWindowClass})
        if (::FindWindowA(windowClass, nullptr)) return true;
    return false;
}

TEST(ProgramConstruction, AStepThatFailsLeavesNothingBehindAndItsErrorStands) {
    OleSession ole;
    wine_support::ScratchFolder root{"program_build"};
    ASSERT_TRUE(wine_support::WriteFileBytes(root.Path() + "Sonoraflux.ini", "Alpha;a.htm;;1\r\n"));
    wine_support::BoxScript errorBoxes{wine_support::BoxOwner::ThisThread(), "Sonoraflux"};
    const int iconsBefore = program_driver::CountTrayIcons();
    for (const char* failing : {"editor", "autostart", "tray", "editor contents", "choosers", "creation", "rotation", "recorder"}) {
        SCOPED_TRACE(failing);
        std::string error;
        try {
            Program program(::GetModuleHandleA(nullptr), root.Path(), [&](std::string_view step) {
                if (step == failing) throw std::runtime_error(std::string("failed at ") + failing);
            });
        } catch (const std::runtime_error& e) {
            error = e.what();
        }
        EXPECT_EQ(error, std::string("failed at ") + failing);
        MSG quit;
        EXPECT_FALSE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            << "a quit left in the queue would close the error box at once";
        EXPECT_FALSE(ProgramWindowsLeft());
        EXPECT_TRUE(wine_support::PumpUntil([&] { return program_driver::CountTrayIcons() == iconsBefore; }, 5000))
            << "tray icons: " << program_driver::CountTrayIcons() << ", before: " << iconsBefore;
    }
    EXPECT_TRUE(errorBoxes.Texts().empty()) << errorBoxes.Texts().front();
}
}  // namespace
