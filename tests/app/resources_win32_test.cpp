// The program's own pictures, as the resources linked into it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {
HINSTANCE Module() { return ::GetModuleHandleA(nullptr); }

TEST(Resources, HandCursorIsAMonochrome32By32PointerWithItsHotSpotOnTheFingertip) {
    HCURSOR cursor = ::LoadCursorA(Module(), "CURSOR");
    ASSERT_NE(cursor, nullptr);
    ICONINFO info;
    memset(&info, 0x55, sizeof info);
    ASSERT_TRUE(::GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 12u);
    EXPECT_EQ(info.yHotspot, 5u);
    EXPECT_EQ(info.hbmColor, nullptr) << "monochrome: one mask bitmap, no colour bitmap";
    BITMAP mask{};
    ASSERT_TRUE(::GetObjectA(info.hbmMask, sizeof mask, &mask));
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64) << "AND and XOR masks, one above the other";
    // The hot spot is on the drawn finger, not on a transparent pixel.
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, info.hbmMask);
    EXPECT_EQ(::GetPixel(dc, 12, 5), RGB(0, 0, 0)) << "AND mask clear under the hot spot";
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(info.hbmMask);
}

TEST(Resources, TwoTraySetsOfFourIcons) {
    for (const char* set : {"TRAY_NORMAL_", "TRAY_MUTED_"}) {
        for (int i = 0; i < 4; ++i) {
            const std::string name = set + std::to_string(i);
            HICON icon = static_cast<HICON>(::LoadImageA(Module(), name.c_str(), IMAGE_ICON, 16, 16, 0));
            EXPECT_NE(icon, nullptr) << name;
            if (icon) ::DestroyIcon(icon);
        }
    }
}

TEST(Resources, MenuPicturesAndTheDefaultEntryIconAre16By16) {
    for (const char* name : {"DEFAULT_ENTRY", "MENU_EDIT", "MENU_LIST", "MENU_STOP", "MENU_ROTATE", "MENU_RECORD",
                             "MENU_TUTORIAL", "MENU_QUIT", "AUTOSTART_ON", "AUTOSTART_OFF"}) {
        HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageA(Module(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr) << name;
        BITMAP info{};
        ::GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, 16) << name;
        EXPECT_EQ(info.bmHeight, 16) << name;
        EXPECT_EQ(info.bmBitsPixel, 24) << name;
        ::DeleteObject(bitmap);
    }
}
}  // namespace
