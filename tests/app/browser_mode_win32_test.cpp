// The browser control's document mode asked for in the real registry, on a
// scratch key standing in for FEATURE_BROWSER_EMULATION.
#include "app/browser_mode_win32.h"

#include <gtest/gtest.h>

namespace {
constexpr const char* kScratchKey = "Software\\Sonoraflux-tests\\FEATURE_BROWSER_EMULATION";

DWORD ModeOf(const char* exeName) {
    DWORD mode = 0x55555555, size = sizeof mode;
    if (::RegGetValueA(HKEY_CURRENT_USER, kScratchKey, exeName, RRF_RT_REG_DWORD, nullptr, &mode, &size) !=
        ERROR_SUCCESS)
        return 0;
    return mode;
}

TEST(BrowserMode, IsWrittenWhenAbsentAndAValueFoundStays) {
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKey);
    AskForTheModernBrowserMode("Sonoraflux.exe", HKEY_CURRENT_USER, kScratchKey);
    EXPECT_EQ(ModeOf("Sonoraflux.exe"), 11000u) << "the key is made when missing";

    const DWORD users = 7000;
    ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, kScratchKey, "Autre.exe", REG_DWORD, &users, sizeof users),
              ERROR_SUCCESS);
    AskForTheModernBrowserMode("Autre.exe", HKEY_CURRENT_USER, kScratchKey);
    EXPECT_EQ(ModeOf("Autre.exe"), 7000u) << "the user's value stays";
    EXPECT_EQ(ModeOf("Sonoraflux.exe"), 11000u);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKey);
}
}  // namespace
