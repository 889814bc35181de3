// The balloon hint window on a real screen: real timers, the real pointer.
#include "ui/balloon_hint_win32.h"

#include <gtest/gtest.h>

#include "tests/support/message_pump_win32.h"
#include "tests/support/unix_side_win32.h"
#include "ui/picture_button_win32.h"
#include "ui/ui_pictures.h"
#include "win/window_text_win32.h"

namespace {
class Host : public Window {
public:
    Host() {
        CreateParams p{"SonorafluxBalloonTestHost", "Bulles"};
        p.style = WS_POPUP | WS_BORDER | WS_VISIBLE;
        p.exStyle = WS_EX_TOPMOST;
        p.x = 200;
        p.y = 300;
        p.width = 360;
        p.height = 240;
        Create(p);
    }
    ~Host() override { Destroy(); }
};

class BalloonHintTest : public ::testing::Test {
protected:
    void SetUp() override {
        button_.Create(host_.Handle(), 101, {248, 84, 89, 30}, "Nouveau", PngImage::FromResource(ui_pictures::kNew));
        balloon_.SetTitlePictures(&pictures_);
        RECT place{};
        ::GetWindowRect(button_.Handle(), &place);
        onButton_ = {place.left + 20, place.top + 12};
        ::SetCursorPos(onButton_.x, onButton_.y);
        POINT now{};
        ::GetCursorPos(&now);
        if (now.x != onButton_.x || now.y != onButton_.y) GTEST_SKIP() << "the pointer cannot be placed here";
    }

    Host host_;
    PngSpeedButton button_;
    PngImageList pictures_ = PngImageList::FromResources(ui_pictures::kBalloonTitlePictures);
    BalloonHint balloon_;
    POINT onButton_{};
};

TEST_F(BalloonHintTest, OpensAfterTheRestUpRightOfThePointerAndClosesAfterItsDisplayTime) {
    const char* hint = "Ajoute manuellement un nouveau \"Flumen\"\rà la liste";
    balloon_.ShowFor(button_.Handle(), onButton_, "Nouveau", 2, hint);
    const DWORD start = ::GetTickCount();
    HWND found = ::FindWindowA(BalloonHint::kClassName, nullptr);
    ASSERT_EQ(found, balloon_.Handle()) << "one balloon window, found by its class";
    wine_support::PumpFor(250);
    EXPECT_FALSE(::IsWindowVisible(found)) << "open before the pointer has rested";

    ASSERT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowVisible(found) != FALSE; }, 2000));
    const DWORD opened = ::GetTickCount();
    EXPECT_GE(opened - start, 450u);
    EXPECT_TRUE(balloon_.Visible());
    EXPECT_EQ(WindowText(found), "Nouveau\r\nAjoute manuellement un nouveau \"Flumen\"\r\nà la liste");
    const LONG exStyle = ::GetWindowLongA(found, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_NOACTIVATE);
    EXPECT_NE(::GetForegroundWindow(), found) << "a balloon never takes the focus";
    RECT place{};
    ::GetWindowRect(found, &place);
    EXPECT_EQ(place.bottom, onButton_.y + 1) << "above the pointer, its tail on it";
    EXPECT_LT(place.left, onButton_.x);
    EXPECT_GT(place.right, onButton_.x + 100) << "opening to the right";
    EXPECT_GT(place.bottom - place.top, 50) << "a title line and two lines of text";
    // Balloon-shaped: the window's corners lie outside its region.
    UniqueHandle<HRGN, NullHandleTraits<HRGN, handles::DeleteGdiObject>> shape(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(::GetWindowRgn(found, shape.get()), COMPLEXREGION);
    EXPECT_FALSE(::PtInRegion(shape.get(), 0, 0));
    EXPECT_FALSE(::PtInRegion(shape.get(), place.right - place.left - 1, 0));
    EXPECT_TRUE(::PtInRegion(shape.get(), (place.right - place.left) / 2, 20));
    wine_support::PumpFor(150);
    EXPECT_FALSE(wine_support::SaveScreenshot("balloon-component.png").empty());

    ASSERT_TRUE(wine_support::PumpUntil([&] { return !::IsWindowVisible(found); }, 5000));
    const DWORD shown = ::GetTickCount() - opened;
    EXPECT_GE(shown, 2300u);
    EXPECT_LE(shown, 3300u);
    wine_support::PumpFor(800);
    EXPECT_FALSE(::IsWindowVisible(found)) << "not again until the pointer leaves the control";
}

TEST_F(BalloonHintTest, NeverOpensWhenThePointerLeavesTheControlAndCancelClosesAtOnce) {
    balloon_.ShowFor(button_.Handle(), onButton_, "Nouveau", 2, "Ajoute un \"Flumen\"");
    wine_support::PumpFor(200);
    ::SetCursorPos(onButton_.x - 150, onButton_.y);
    wine_support::PumpFor(900);
    EXPECT_FALSE(balloon_.Visible());

    ::SetCursorPos(onButton_.x, onButton_.y);
    balloon_.ShowFor(button_.Handle(), onButton_, "", 0, "Sans titre");
    ASSERT_TRUE(wine_support::PumpUntil([&] { return balloon_.Visible(); }, 2000));
    EXPECT_EQ(WindowText(balloon_.Handle()), "Sans titre");
    balloon_.Cancel();
    EXPECT_FALSE(balloon_.Visible());
    wine_support::PumpFor(700);
    EXPECT_FALSE(balloon_.Visible()) << "cancelled means forgotten";
}

TEST_F(BalloonHintTest, NearTheTopRightCornerItOpensBelowLeftAndStaysOnScreen) {
    ::SetWindowPos(host_.Handle(), nullptr, ::GetSystemMetrics(SM_CXSCREEN) - 345, -80, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT button{};
    ::GetWindowRect(button_.Handle(), &button);
    const POINT at{button.right - 8, button.top + 6};
    ::SetCursorPos(at.x, at.y);
    balloon_.ShowFor(button_.Handle(), at, "Bulles d'aide", 0, "Active / désactive les bulles d'aide");
    ASSERT_TRUE(wine_support::PumpUntil([&] { return balloon_.Visible(); }, 2000));
    RECT place{};
    ::GetWindowRect(balloon_.Handle(), &place);
    EXPECT_EQ(place.top, at.y) << "below the pointer";
    EXPECT_LE(place.right, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_GE(place.top, 0);
    EXPECT_LT(place.left, at.x - 100) << "opening to the left";
}
}  // namespace
