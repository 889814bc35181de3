// The kit's child controls as the system and other programs see them: class,
// id, text, enabling, clicks, mouse moves, and what they draw.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include "tests/support/message_pump_win32.h"
#include "tests/support/unix_side_win32.h"
#include "ui/bmp_animator_win32.h"
#include "ui/clickable_picture_win32.h"
#include "ui/mouse_move_watch_win32.h"
#include "ui/picture_button_win32.h"
#include "ui/ui_pictures.h"
#include "win/window_win32.h"

namespace {
constexpr COLORREF kHoverFill = RGB(198, 211, 239);
constexpr COLORREF kFrame = RGB(49, 105, 198);

// A window holding the controls; it records the commands that reach its own
// procedure, so that the kit's routing is seen not to swallow them.
class Host : public Window {
public:
    Host() {
        CreateParams p{"SonorafluxKitTestHost", "Contrôles"};
        p.style = WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE;
        p.x = 40;
        p.y = 40;
        p.width = 360;
        p.height = 160;
        p.clientSize = true;
        Create(p);
    }
    ~Host() override { Destroy(); }
    std::vector<int> commands;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_COMMAND) commands.push_back(LOWORD(wp));
        return Window::HandleMessage(msg, wp, lp);
    }
};

// What a control draws, through WM_PRINTCLIENT (the system's own paint path).
class Print {
public:
    explicit Print(HWND control) {
        RECT r{};
        ::GetClientRect(control, &r);
        image_ = PngImage::Blank(r.right, r.bottom);
        dc_.reset(::CreateCompatibleDC(nullptr));
        old_ = ::SelectObject(dc_.get(), image_.Bitmap());
        ::SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.get()), PRF_CLIENT);
        ::GdiFlush();
    }
    ~Print() { ::SelectObject(dc_.get(), old_); }
    COLORREF At(int x, int y) const { return ::GetPixel(dc_.get(), x, y); }

private:
    PngImage image_;
    UniqueMemoryDc dc_;
    HGDIOBJ old_ = nullptr;
};

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND hwnd) {
    char text[64];
    std::memset(text, 0x55, sizeof text);
    const LRESULT length = ::SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return std::string(text, static_cast<size_t>(length));
}

bool IsGrey(COLORREF c) { return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c); }

// The first opaque, clearly coloured pixel of a picture.
POINT ColouredPixel(const PngImage& picture) {
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const std::uint8_t* p = picture.Pixels() + (y * picture.Width() + x) * 4;
            if (p[3] == 255 && (std::abs(p[2] - p[1]) > 60 || std::abs(p[1] - p[0]) > 60)) return {x, y};
        }
    return {-1, -1};
}

COLORREF ColourAt(const PngImage& picture, POINT at) {
    const std::uint8_t* p = picture.Pixels() + (at.y * picture.Width() + at.x) * 4;
    return RGB(p[2], p[1], p[0]);
}

TEST(PngSpeedButton, IsARealButtonWithItsIdTextAndStateAndClicksOnlyWhileEnabled) {
    Host host;
    PngSpeedButton button;
    button.Create(host.Handle(), 101, {248, 84, 89, 30}, "Nouveau", PngImage::FromResource(ui_pictures::kNew));
    HWND hwnd = button.Handle();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(ClassOf(hwnd), "Button");
    EXPECT_EQ(::GetDlgCtrlID(hwnd), 101);
    EXPECT_EQ(::GetDlgItem(host.Handle(), 101), hwnd);
    EXPECT_EQ(TextOf(hwnd), "Nouveau");
    EXPECT_EQ(::GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);

    int clicks = 0;
    button.SetOnClick([&] { ++clicks; });
    ::SendMessageA(hwnd, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    button.SetEnabled(false);
    EXPECT_FALSE(::IsWindowEnabled(hwnd));
    ::SendMessageA(hwnd, BM_CLICK, 0, 0);
    ::SendMessageA(host.Handle(), WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
    EXPECT_EQ(clicks, 1) << "a disabled button must not act";
    button.SetEnabled(true);
    button.SetText("Ajouter");
    EXPECT_EQ(TextOf(hwnd), "Ajouter");
    ::SendMessageA(hwnd, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);

    // Commands of other controls still reach the window's own procedure.
    HWND plain = ::CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE, 8, 8, 60, 24, host.Handle(),
                                   reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ::SendMessageA(plain, BM_CLICK, 0, 0);
    EXPECT_EQ(host.commands, std::vector<int>{7});
}

TEST(PngSpeedButton, ReportsMouseMovesWithItsIdAndTheScreenPoint) {
    Host host;
    PngSpeedButton button;
    button.Create(host.Handle(), 102, {10, 20, 89, 30}, "Supprimer", PngImage::FromResource(ui_pictures::kDelete));
    std::vector<std::pair<int, POINT>> moves;
    button.SetOnMouseMove([&](int id, POINT at) { moves.push_back({id, at}); });
    ::SendMessageA(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
    ASSERT_EQ(moves.size(), 1u);
    POINT expected{5, 6};
    ::ClientToScreen(button.Handle(), &expected);
    EXPECT_EQ(moves[0].first, 102);
    EXPECT_EQ(moves[0].second.x, expected.x);
    EXPECT_EQ(moves[0].second.y, expected.y);
}

TEST(PngSpeedButton, DrawsFlatWithItsPictureHighlightedUnderThePointerAndGreyedWhenDisabled) {
    Host host;
    PngSpeedButton button;
    const PngImage picture = PngImage::FromResource(ui_pictures::kDelete);
    const POINT red = ColouredPixel(picture);
    ASSERT_GE(red.x, 0);
    button.Create(host.Handle(), 103, {10, 10, 89, 30}, "Supprimer", PngImage::FromResource(ui_pictures::kDelete));
    // Where the layout puts the picture: its left edge, centred vertically.
    HDC screen = ::GetDC(nullptr);
    SIZE extent{};
    {
        SelectedObject font(screen, KitControl::KitFont());
        ::GetTextExtentPoint32A(screen, "Supprimer", 9, &extent);
    }
    ::ReleaseDC(nullptr, screen);
    const POINT pictureAt{(89 - (16 + 4 + extent.cx)) / 2 + red.x, 7 + red.y};

    {
        Print rest(button.Handle());
        EXPECT_EQ(rest.At(0, 0), ::GetSysColor(COLOR_BTNFACE)) << "flat: no frame at rest";
        EXPECT_EQ(rest.At(pictureAt.x, pictureAt.y), ColourAt(picture, red));
    }
    ::SendMessageA(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    {
        Print hovered(button.Handle());
        EXPECT_EQ(hovered.At(0, 0), kFrame);
        EXPECT_EQ(hovered.At(2, 2), kHoverFill);
    }
    ::SendMessageA(button.Handle(), WM_MOUSELEAVE, 0, 0);
    button.SetEnabled(false);
    {
        Print disabled(button.Handle());
        EXPECT_EQ(disabled.At(2, 2), ::GetSysColor(COLOR_BTNFACE));
        EXPECT_TRUE(IsGrey(disabled.At(pictureAt.x, pictureAt.y))) << std::hex << disabled.At(pictureAt.x, pictureAt.y);
    }
}

TEST(SpeedButton, ShowsOnlyItsGlyphCentredAndSwitchesGlyphs) {
    Host host;
    SpeedButton toggle;
    const PngImage shown = PngImage::FromResource(ui_pictures::kList);
    const POINT bullet = ColouredPixel(shown);
    ASSERT_GE(bullet.x, 0);
    toggle.Create(host.Handle(), 104, {194, 24, 23, 21}, "Liste", PngImage::FromResource(ui_pictures::kList));
    EXPECT_EQ(TextOf(toggle.Handle()), "Liste") << "readable, though not drawn";
    const POINT at{3 + bullet.x, 2 + bullet.y};
    {
        Print print(toggle.Handle());
        EXPECT_EQ(print.At(at.x, at.y), ColourAt(shown, bullet));
    }
    toggle.SetGlyph(PngImage::FromResource(ui_pictures::kListGrey));
    {
        Print print(toggle.Handle());
        EXPECT_TRUE(IsGrey(print.At(at.x, at.y))) << std::hex << print.At(at.x, at.y);
    }
}

TEST(ClickablePicture, ClicksShowsItsCursorAndDrawsItsPictureOrBitmap) {
    Host host;
    ClickablePicture picture;
    picture.Create(host.Handle(), 105, {159, 0, 16, 17}, "Ecouter");
    picture.SetPicture(PngImage::FromResource(ui_pictures::kSpeaker));
    HWND hwnd = picture.Handle();
    EXPECT_EQ(ClassOf(hwnd), "Static");
    EXPECT_EQ(::GetDlgCtrlID(hwnd), 105);
    EXPECT_EQ(TextOf(hwnd), "Ecouter");
    EXPECT_TRUE(::GetWindowLongA(hwnd, GWL_STYLE) & SS_NOTIFY);

    int clicks = 0;
    picture.SetOnClick([&] { ++clicks; });
    ::SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    ::SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(clicks, 1);

    HCURSOR hand = ::LoadCursorA(::GetModuleHandleA(nullptr), "CURSOR");
    ASSERT_NE(hand, nullptr);
    picture.SetCursor(hand);
    ::SetCursor(nullptr);
    EXPECT_TRUE(::SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::GetCursor(), hand);

    // A bitmap (an entry's icon) replaces the picture.
    PngImage square = PngImage::Blank(16, 16);
    for (int i = 0; i < 256; ++i) std::memcpy(square.Pixels() + i * 4, "\x20\x80\x10\xFF", 4);
    UniqueBitmap icon(static_cast<HBITMAP>(::CopyImage(square.Bitmap(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ASSERT_TRUE(icon);
    picture.SetBitmap(std::move(icon));
    Print print(hwnd);
    EXPECT_EQ(print.At(8, 8), RGB(0x10, 0x80, 0x20));
}

TEST(KitControl, OutlivesItsWindowWhenTheParentGoesFirst) {
    ClickablePicture picture;
    {
        Host host;
        picture.Create(host.Handle(), 106, {0, 0, 16, 16}, "x");
    }
    EXPECT_EQ(picture.Handle(), nullptr);
    EXPECT_EQ(picture.Text(), "");
    picture.SetEnabled(false);  // nothing to do, nothing to crash
}

TEST(BmpAnimator, AdvancesAFrameEveryHalfSecondWhileActiveAndShowsTheFirstWhenStopped) {
    Host host;
    BmpAnimator indicator;
    PngImageList frames = PngImageList::FromStrip(ui_pictures::kIndicator, ui_pictures::kIndicatorFrameWidth);
    const PngImage first = PngImage::FromResource(ui_pictures::kIndicator);
    indicator.Create(host.Handle(), 107, {289, 32, 27, 7}, std::move(frames), "Témoin d'enregistrement");
    EXPECT_EQ(indicator.Frame(), 0);
    indicator.SetActive(true);
    const DWORD start = ::GetTickCount();
    ASSERT_TRUE(wine_support::PumpUntil([&] { return indicator.Frame() == 1; }, 2000));
    const DWORD firstTick = ::GetTickCount() - start;
    EXPECT_GE(firstTick, 400u);
    EXPECT_LE(firstTick, 1000u);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return indicator.Frame() == 2; }, 2000));
    indicator.SetActive(false);
    EXPECT_FALSE(indicator.Active());
    EXPECT_EQ(indicator.Frame(), 0);
    wine_support::PumpFor(700);
    EXPECT_EQ(indicator.Frame(), 0) << "stopped means stopped";
    // Frame 0 drawn: the strip's left end.
    Print print(indicator.Handle());
    for (int x : {4, 12, 20}) EXPECT_EQ(print.At(x, 3), ColourAt(first, {x, 3})) << "x " << x;
}

LRESULT CALLBACK PassOn(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto next = reinterpret_cast<WNDPROC>(::GetPropA(hwnd, "TestNext"));
    return ::CallWindowProcA(next, hwnd, msg, wp, lp);
}

TEST(MouseMoveWatch, ReportsMovesOverSystemControlsUntilStoppedAndLeavesThemWorking) {
    Host host;
    HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 85, 24, 105, 21, host.Handle(),
                                  reinterpret_cast<HMENU>(201), nullptr, nullptr);
    HWND label = ::CreateWindowExA(0, "STATIC", "00", WS_CHILD | WS_VISIBLE, 222, 28, 14, 13, host.Handle(),
                                   reinterpret_cast<HMENU>(202), nullptr, nullptr);
    const auto editProc = ::GetWindowLongPtrA(edit, GWLP_WNDPROC);
    std::vector<std::pair<int, POINT>> moves;
    auto record = [&](int id, POINT at) { moves.push_back({id, at}); };
    MouseMoveWatch editWatch, labelWatch;
    editWatch.Watch(edit, record);
    labelWatch.Watch(label, record);
    EXPECT_TRUE(::GetWindowLongA(label, GWL_STYLE) & SS_NOTIFY) << "a label sees the mouse only with SS_NOTIFY";
    EXPECT_THROW(MouseMoveWatch().Watch(edit, record), std::runtime_error) << "one watch per window";

    ::SendMessageA(edit, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
    ::SendMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    ASSERT_EQ(moves.size(), 2u);
    POINT expected{3, 4};
    ::ClientToScreen(edit, &expected);
    EXPECT_EQ(moves[0].first, 201);
    EXPECT_EQ(moves[0].second.x, expected.x);
    EXPECT_EQ(moves[0].second.y, expected.y);
    EXPECT_EQ(moves[1].first, 202);
    ::SetWindowTextA(edit, "Titre");
    EXPECT_EQ(TextOf(edit), "Titre") << "the edit works as before while watched";

    editWatch.Stop();
    EXPECT_EQ(::GetWindowLongPtrA(edit, GWLP_WNDPROC), editProc);
    // Another procedure in front of the watch: stopping keeps the chain whole.
    ::SetPropA(label, "TestNext", reinterpret_cast<HANDLE>(::GetWindowLongPtrA(label, GWLP_WNDPROC)));
    ::SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PassOn));
    labelWatch.Stop();
    ::SendMessageA(edit, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
    ::SendMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(moves.size(), 2u) << "stopped watches report nothing";
    ::SetWindowTextA(label, "59");
    EXPECT_EQ(TextOf(label), "59");
}

TEST(KitControls, Screenshot) {
    Host host;
    PngSpeedButton newButton, saveButton, deleteButton;
    SpeedButton toggle;
    ClickablePicture speaker;
    newButton.Create(host.Handle(), 1, {248, 10, 89, 30}, "Nouveau", PngImage::FromResource(ui_pictures::kNew));
    saveButton.Create(host.Handle(), 2, {248, 44, 89, 30}, "Enregistrer", PngImage::FromResource(ui_pictures::kSave));
    deleteButton.Create(host.Handle(), 3, {248, 78, 89, 30}, "Supprimer", PngImage::FromResource(ui_pictures::kDelete));
    deleteButton.SetEnabled(false);
    toggle.Create(host.Handle(), 4, {194, 24, 23, 21}, "Liste", PngImage::FromResource(ui_pictures::kList));
    speaker.Create(host.Handle(), 5, {159, 24, 16, 17}, "Ecouter");
    speaker.SetPicture(PngImage::FromResource(ui_pictures::kSpeaker));
    ::SendMessageA(saveButton.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    ::SetWindowPos(host.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::UpdateWindow(host.Handle());
    wine_support::PumpFor(300);
    EXPECT_FALSE(wine_support::SaveScreenshot("kit-controls.png").empty());
}
}  // namespace
