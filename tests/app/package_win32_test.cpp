// The portable zip as a Windows user gets it: unpacked into a fresh folder,
// the program starts from there, announces itself and lists the sample stations.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/app/program_driver.h"
#include "tests/support/ocr_lines.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"

using namespace program_driver;

namespace {
bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(PortableZip, UnpacksAndRunsFromAFreshFolder) {
    const std::string zip = wine_support::Env("SONORAFLUX_PACKAGE_ZIP");
    ASSERT_FALSE(zip.empty());
    // The program goes without its debug information (which alone is some 15 MB).
    WIN32_FILE_ATTRIBUTE_DATA zipFile{};
    ASSERT_TRUE(::GetFileAttributesExA(("Z:" + zip).c_str(), GetFileExInfoStandard, &zipFile)) << zip;
    EXPECT_LT(zipFile.nFileSizeLow, 2u << 20) << "bytes in the zip";
    wine_support::ScratchFolder unpacked("unzipped_");
    ASSERT_FALSE(unpacked.Path().empty());
    ASSERT_EQ(wine_support::RunUnixShell("python3 -m zipfile -e '" + zip + "' '" +
                                         wine_support::UnixPathOf(unpacked.Path()) + "'"),
              0);
    const std::string folder = unpacked.Path() + "Sonoraflux\\";
    for (const char* member : {"Sonoraflux.exe", "LAME_ENC.DLL", "LAME_ENC-LICENCE.txt", "Sonoraflux.ini",
                               "Tutoriel.htm", "Pages\\tonalite.htm", "Pages\\tonalite.mp3", "Transition\\jingle.htm",
                               "Images\\note.bmp", "Enregistrements"})
        EXPECT_TRUE(Exists(folder + member)) << member;
    std::string readme;
    ASSERT_TRUE(wine_support::ReadFileBytes(folder + "LISEZMOI.txt", readme));
    EXPECT_NE(readme.find("« Mixage stéréo »"), std::string::npos) << "French, in the ANSI code page";
    EXPECT_NE(readme.find("\r\n"), std::string::npos);

    wine_support::PumpUntil([] { return VisibleBalloon() == nullptr; }, 15000);
    RunningProgram program(folder);
    ASSERT_TRUE(program.WaitForMainWindow(20000));
    ASSERT_TRUE(wine_support::PumpUntil([] { return VisibleBalloon() != nullptr; }, 20000)) << "the ready notice";
    ASSERT_TRUE(ChooseTrayMenuItem(program, {"Ma liste"}));
    std::vector<HWND> menus;
    ASSERT_TRUE(wine_support::PumpUntil([&] { return (menus = VisibleMenus(program.Pid())).size() == 2; }, 5000))
        << "the submenu opens";
    HWND list = menus.front();
    wine_support::PumpFor(400);
    std::vector<ocr::Line> read;
    std::string texts;
    for (const std::string& caption : ReadMenuCaptions(list)) {
        read.push_back({caption, {}});
        texts += "\"" + caption + "\" ";
    }
    for (const char* station : {"FIP", "France Culture", "Groove Salad", "Jazz du soir"})
        EXPECT_TRUE(ocr::FindCaption(read, station).has_value()) << station << " not in the list read: " << texts;
    EXPECT_FALSE(ocr::FindCaption(read, "Radio cachée").has_value()) << "a hidden entry is not listed";
    PressKeys("Escape Escape");
}
}  // namespace
