#include "desktop/tray_icon_win32.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/message_pump_win32.h"
#include "tests/support/modal_boxes_win32.h"
#include "tests/support/unix_side_win32.h"
#include "win/window_win32.h"

using wine_support::PumpFor;
using wine_support::PumpUntil;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kYellow = RGB(255, 255, 0);
constexpr COLORREF kCyan = RGB(0, 255, 255), kMagenta = RGB(255, 0, 255), kWhite = RGB(255, 255, 255);

// A list of 16x16 images, each one plain colour, so a record's icon tells which image it shows.
UniqueImageList MakeImageList(const std::vector<COLORREF>& colours) {
    UniqueImageList list(::ImageList_Create(16, 16, ILC_COLOR24, static_cast<int>(colours.size()), 0));
    HDC screen = ::GetDC(nullptr);
    for (COLORREF colour : colours) {
        UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, 16, 16));
        UniqueMemoryDc dc(::CreateCompatibleDC(screen));
        {
            SelectedObject selected(dc.get(), bitmap.get());
            UniqueBrush brush(::CreateSolidBrush(colour));
            RECT all{0, 0, 16, 16};
            ::FillRect(dc.get(), &all, brush.get());
        }
        ::ImageList_Add(list.get(), bitmap.get(), nullptr);
    }
    ::ReleaseDC(nullptr, screen);
    return list;
}

COLORREF IconColour(HICON icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info)) return CLR_INVALID;
    UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), colour.get());
    return ::GetPixel(dc.get(), 8, 8);
}

std::string ColourName(COLORREF c) {
    switch (c) {
    case kRed: return "red";
    case kGreen: return "green";
    case kBlue: return "blue";
    case kYellow: return "yellow";
    case kCyan: return "cyan";
    case kMagenta: return "magenta";
    case kWhite: return "white";
    case CLR_INVALID: return "no icon";
    default: return std::to_string(c);
    }
}

std::string ColourNames(const std::vector<COLORREF>& colours) {
    std::string names;
    for (COLORREF c : colours) names += ColourName(c) + " ";
    return names;
}

struct SentRecord {
    DWORD message;
    NOTIFYICONDATAA data;
    COLORREF colour;
};

// Takes the component's way into the shell for one test and keeps every record
// sent; with passToShell the real shell answers, else every call succeeds.
class ShellRecorder {
public:
    explicit ShellRecorder(bool passToShell = false) {
        previous_ = ReplaceShellNotify([this, passToShell](DWORD message, NOTIFYICONDATAA& data) {
            sent.push_back({message, data, IconColour(data.hIcon)});
            return passToShell ? CallShellNotify(message, data) : TRUE;
        });
    }
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;
    ~ShellRecorder() { ReplaceShellNotify(previous_); }

    std::vector<COLORREF> ColoursSince(std::size_t first, DWORD message = NIM_MODIFY) const {
        std::vector<COLORREF> colours;
        for (std::size_t i = first; i < sent.size(); ++i)
            if (sent[i].message == message) colours.push_back(sent[i].colour);
        return colours;
    }

    std::vector<SentRecord> sent;

private:
    ShellNotifyProc previous_;
};

// The program's main window in miniature: notes what the menu and the tray send it.
class OwnerWindow : public Window {
public:
    OwnerWindow() {
        CreateParams p{"SonorafluxTestTrayOwner"};
        p.title = "Propriétaire";
        p.x = p.y = 100;
        p.width = 320;
        p.height = 200;
        Create(p);
    }
    int initMenuPopups = 0;
    int nulls = 0;
    std::vector<UINT> commands;
    // The component this owner passes its messages to, as the program's main window does.
    TTrayIcon* icon = nullptr;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (icon) icon->OnOwnerMessage(msg, wp, lp);
        if (msg == WM_INITMENUPOPUP) ++initMenuPopups;
        if (msg == WM_NULL) ++nulls;
        if (msg == WM_COMMAND) commands.push_back(LOWORD(wp));
        return Window::HandleMessage(msg, wp, lp);
    }
};

LRESULT SendMouse(const TTrayIcon& icon, UINT mouseMessage) {
    return ::SendMessageA(TTrayIcon::CallbackWindow(), kTrayCallbackMessage, icon.IconId(), mouseMessage);
}

void SendMice(const TTrayIcon& icon, std::initializer_list<UINT> mouseMessages) {
    for (UINT m : mouseMessages) SendMouse(icon, m);
}

UniqueMenu MakeTrayMenu() {
    UniqueMenu menu(::CreatePopupMenu());
    ::AppendMenuA(menu.get(), MF_STRING, 101, "Editer...");
    ::AppendMenuA(menu.get(), MF_STRING, 102, "Arrêter");
    ::AppendMenuA(menu.get(), MF_STRING, 103, "Quitter");
    return menu;
}

// Closes, or chooses the first item of, the popup menu once it is on screen;
// runs from a thread timer inside the menu's modal loop.
struct MenuDriver {
    static inline bool seen = false;
    static inline bool chooseFirst = false;
    static inline UINT_PTR timer = 0;

    static void Start(bool choose) {
        seen = false;
        chooseFirst = choose;
        timer = ::SetTimer(nullptr, 0, 30, &Tick);
    }
    static void Stop() { ::KillTimer(nullptr, timer); }

    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND menu = ::FindWindowA("#32768", nullptr);
        if (!menu || !::IsWindowVisible(menu)) return;
        seen = true;
        Stop();
        if (chooseFirst) {
            ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
        } else {
            ::EndMenu();
        }
    }
};

class TrayIconTest : public ::testing::Test {
protected:
    // The test's component is gone by now; the owner's own end must not reach it.
    void TearDown() override { owner.icon = nullptr; }

    OwnerWindow owner;
    ShellRecorder shell;
};
}  // namespace

TEST_F(TrayIconTest, AddSendsTheRecordTheShellExpects) {
    TTrayIcon icon(owner.Handle());
    EXPECT_TRUE(icon.Enabled());
    EXPECT_TRUE(icon.ShowHint());
    EXPECT_FALSE(icon.IconVisible());
    EXPECT_EQ(icon.CycleInterval(), 0u);

    icon.SetIconVisible(true);
    ASSERT_EQ(shell.sent.size(), 1u);
    const SentRecord& add = shell.sent[0];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.data.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
    EXPECT_EQ(add.data.hWnd, TTrayIcon::CallbackWindow());
    EXPECT_EQ(add.data.uID, icon.IconId());
    EXPECT_EQ(add.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(add.data.uCallbackMessage, 0x800u);
    EXPECT_TRUE(icon.IconVisible());

    icon.SetIconVisible(false);
    EXPECT_EQ(shell.sent.back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_FALSE(icon.IconVisible());
}

TEST_F(TrayIconTest, TipFollowsHintAndShowHint) {
    TTrayIcon icon(owner.Handle());
    icon.SetIconVisible(true);

    struct Case {
        std::string hint;
        bool show;
        std::string tip;
    };
    const std::vector<Case> cases = {
        {"Sonoraflux", true, "Sonoraflux"},
        {"Sonoraflux - France Inter é", true, "Sonoraflux - France Inter é"},
        {std::string(150, 'h'), true, std::string(127, 'h')},
        {"", true, ""},
        {"Sonoraflux", false, ""},
    };
    for (const Case& c : cases) {
        icon.SetShowHint(c.show);
        icon.SetHint(c.hint);
        const SentRecord& last = shell.sent.back();
        EXPECT_EQ(last.message, static_cast<DWORD>(NIM_MODIFY));
        EXPECT_EQ(std::string(last.data.szTip), c.tip) << "hint of " << c.hint.size() << " chars";
        EXPECT_EQ(last.data.szTip[127], '\0');
    }
}

TEST_F(TrayIconTest, BalloonIsHiddenThenShownInOneModifyAndNotRepeated) {
    TTrayIcon icon(owner.Handle());
    icon.SetHint("Sonoraflux");
    icon.SetIconVisible(true);
    const std::size_t before = shell.sent.size();

    EXPECT_TRUE(icon.ShowBalloon(std::string(70, 'T'), std::string(300, 'x'), BalloonIconKind::Warning, 10));
    ASSERT_EQ(shell.sent.size(), before + 2);
    const NOTIFYICONDATAA& hide = shell.sent[before].data;
    EXPECT_EQ(shell.sent[before].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(hide.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
    EXPECT_EQ(hide.szInfo[0], '\0');

    const NOTIFYICONDATAA& show = shell.sent[before + 1].data;
    EXPECT_EQ(shell.sent[before + 1].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(show.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
    EXPECT_EQ(std::string(show.szInfoTitle), std::string(63, 'T'));
    EXPECT_EQ(std::string(show.szInfo), std::string(255, 'x'));
    EXPECT_EQ(show.uTimeout, 10000u);
    EXPECT_EQ(show.dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
    EXPECT_EQ(std::string(show.szTip), "Sonoraflux");

    icon.SetHint("Sonoraflux - Radio");
    EXPECT_EQ(shell.sent.back().data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));

    EXPECT_TRUE(icon.HideBalloon());
    EXPECT_EQ(shell.sent.back().data.uFlags & NIF_INFO, static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(shell.sent.back().data.szInfo[0], '\0');
    icon.SetHint("Sonoraflux");
    EXPECT_EQ(shell.sent.back().data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
}

TEST_F(TrayIconTest, BalloonReportsTheShellsRefusal) {
    TTrayIcon icon(owner.Handle());
    ShellNotifyProc recording = ReplaceShellNotify([](DWORD, NOTIFYICONDATAA&) { return FALSE; });
    EXPECT_FALSE(icon.ShowBalloon("Sonoraflux", "Le logiciel est prêt !", BalloonIconKind::Info, 10));
    ReplaceShellNotify(recording);
}

TEST_F(TrayIconTest, DoubleClickGivesOneClick) {
    TTrayIcon icon(owner.Handle());
    int clicks = 0;
    icon.OnClick = [&] { ++clicks; };

    SendMice(icon, {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP});
    EXPECT_EQ(clicks, 1);
    SendMice(icon, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP});
    EXPECT_EQ(clicks, 2) << "a double-click must add exactly one click";
    SendMice(icon, {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP});
    EXPECT_EQ(clicks, 2);
}

TEST_F(TrayIconTest, ReportsForAnotherOrAGoneIconReachNobody) {
    auto first = std::make_unique<TTrayIcon>(owner.Handle());
    OwnerWindow otherOwner;
    TTrayIcon second(otherOwner.Handle());
    EXPECT_NE(first->IconId(), second.IconId());
    int firstClicks = 0, secondClicks = 0;
    first->OnClick = [&] { ++firstClicks; };
    second.OnClick = [&] { ++secondClicks; };

    SendMice(second, {WM_LBUTTONDOWN, WM_LBUTTONUP});
    EXPECT_EQ(firstClicks, 0);
    EXPECT_EQ(secondClicks, 1);

    const UINT goneId = first->IconId();
    first.reset();
    ::SendMessageA(TTrayIcon::CallbackWindow(), kTrayCallbackMessage, goneId, WM_LBUTTONDOWN);
    ::SendMessageA(TTrayIcon::CallbackWindow(), kTrayCallbackMessage, goneId, WM_LBUTTONUP);
    EXPECT_EQ(secondClicks, 1);
}

TEST_F(TrayIconTest, DisabledIconIgnoresClicksMenuAndDoubleClicks) {
    TTrayIcon icon(owner.Handle());
    UniqueMenu menu = MakeTrayMenu();
    ::SetMenuDefaultItem(menu.get(), 101, FALSE);
    icon.SetPopupMenu(menu.get());
    int clicks = 0;
    icon.OnClick = [&] { ++clicks; };
    icon.SetEnabled(false);

    MenuDriver::Start(false);
    SendMice(icon, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP});
    PumpFor(100);
    MenuDriver::Stop();
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(MenuDriver::seen);
    EXPECT_EQ(owner.initMenuPopups, 0);
    EXPECT_TRUE(owner.commands.empty());

    // Pressed while disabled, released once enabled: still no click.
    SendMouse(icon, WM_LBUTTONDOWN);
    icon.SetEnabled(true);
    SendMouse(icon, WM_LBUTTONUP);
    EXPECT_EQ(clicks, 0);
    SendMice(icon, {WM_LBUTTONDOWN, WM_LBUTTONUP});
    EXPECT_EQ(clicks, 1);
}

TEST_F(TrayIconTest, MenuOpensWhenTheRightButtonGoesDownWithTheOwnerAsItsWindow) {
    TTrayIcon icon(owner.Handle());
    UniqueMenu menu = MakeTrayMenu();
    icon.SetPopupMenu(menu.get());

    MenuDriver::Start(false);
    SendMouse(icon, WM_RBUTTONUP);
    MenuDriver::Stop();
    EXPECT_FALSE(MenuDriver::seen) << "the release of the right button must not open the menu";
    EXPECT_EQ(owner.initMenuPopups, 0);

    POINT cursor{};
    ::GetCursorPos(&cursor);
    MenuDriver::Start(true);
    SendMouse(icon, WM_RBUTTONDOWN);
    MenuDriver::Stop();
    EXPECT_TRUE(MenuDriver::seen);
    EXPECT_EQ(owner.initMenuPopups, 1);
    EXPECT_EQ(icon.LastPopupPoint().x, cursor.x);
    EXPECT_EQ(icon.LastPopupPoint().y, cursor.y);
    EXPECT_TRUE(PumpUntil([&] { return !owner.commands.empty() && owner.nulls > 0; }, 2000));
    EXPECT_EQ(owner.commands, std::vector<UINT>{101});
}

TEST_F(TrayIconTest, PopupAtOpensTheMenuAtTheGivenPoint) {
    TTrayIcon icon(owner.Handle());
    icon.PopupAt({50, 60});
    EXPECT_EQ(owner.initMenuPopups, 0) << "no menu, nothing to open";

    UniqueMenu menu = MakeTrayMenu();
    icon.SetPopupMenu(menu.get());
    MenuDriver::Start(false);
    icon.PopupAt({50, 60});
    MenuDriver::Stop();
    EXPECT_TRUE(MenuDriver::seen);
    EXPECT_EQ(owner.initMenuPopups, 1);
    EXPECT_EQ(icon.LastPopupPoint().x, 50);
    EXPECT_EQ(icon.LastPopupPoint().y, 60);
    EXPECT_TRUE(PumpUntil([&] { return owner.nulls > 0; }, 1000)) << "WM_NULL must follow the menu";
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(TrayIconTest, LeftPopupOpensTheMenuOnTheLeftButton) {
    TTrayIcon icon(owner.Handle());
    UniqueMenu menu = MakeTrayMenu();
    icon.SetPopupMenu(menu.get());
    icon.SetLeftPopup(true);
    MenuDriver::Start(false);
    SendMouse(icon, WM_LBUTTONDOWN);
    MenuDriver::Stop();
    EXPECT_TRUE(MenuDriver::seen);
    EXPECT_EQ(owner.initMenuPopups, 1);
}

TEST_F(TrayIconTest, DoubleClickChoosesTheMenusDefaultCommandOnly) {
    TTrayIcon icon(owner.Handle());
    UniqueMenu menu = MakeTrayMenu();
    icon.SetPopupMenu(menu.get());

    SendMice(icon, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP});
    PumpFor(50);
    EXPECT_TRUE(owner.commands.empty()) << "the tray menu has no default item";

    ::SetMenuDefaultItem(menu.get(), 103, FALSE);
    SendMice(icon, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP});
    EXPECT_TRUE(PumpUntil([&] { return !owner.commands.empty(); }, 1000));
    EXPECT_EQ(owner.commands, std::vector<UINT>{103});

    // A submenu marked default is not a command.
    UniqueMenu withSubmenu(::CreatePopupMenu());
    HMENU list = ::CreatePopupMenu();
    ::AppendMenuA(list, MF_STRING, 200, "Radio");
    ::AppendMenuA(withSubmenu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(list), "Ma liste");
    ::SetMenuDefaultItem(withSubmenu.get(), 0, TRUE);
    icon.SetPopupMenu(withSubmenu.get());
    owner.commands.clear();
    SendMice(icon, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP});
    PumpFor(50);
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(TrayIconTest, IconIndexIsClampedIntoTheList) {
    UniqueImageList images = MakeImageList({kRed, kGreen, kBlue, kYellow});
    TTrayIcon icon(owner.Handle());
    icon.SetIconIndex(2);
    EXPECT_EQ(icon.IconIndex(), 0) << "without a list the index stays 0";

    icon.SetIconList(images.get());
    EXPECT_EQ(IconColour(icon.Icon()), kRed);
    struct Case {
        int requested, index;
        COLORREF colour;
    };
    const std::vector<Case> cases = {{2, 2, kBlue}, {3, 3, kYellow}, {4, 3, kYellow}, {99, 3, kYellow}, {-1, 0, kRed}};
    for (const Case& c : cases) {
        icon.SetIconIndex(c.requested);
        EXPECT_EQ(icon.IconIndex(), c.index) << "requested " << c.requested;
        EXPECT_EQ(ColourName(shell.sent.back().colour), ColourName(c.colour)) << "requested " << c.requested;
        EXPECT_EQ(shell.sent.back().message, static_cast<DWORD>(NIM_MODIFY));
    }

    UniqueImageList empty = MakeImageList({});
    icon.SetIconList(empty.get());
    EXPECT_EQ(icon.IconIndex(), 0);
    EXPECT_EQ(shell.sent.back().data.hIcon, nullptr) << "an image that cannot be read gives no icon";

    // An icon given directly is copied: the caller keeps its own.
    UniqueIcon own(::ImageList_GetIcon(images.get(), 1, ILD_NORMAL));
    icon.SetIcon(own.get());
    EXPECT_NE(icon.Icon(), own.get());
    EXPECT_EQ(ColourName(shell.sent.back().colour), ColourName(kGreen));
}

TEST_F(TrayIconTest, CyclesThroughTheImagesAndRestartsOnANewList) {
    UniqueImageList normal = MakeImageList({kRed, kGreen, kBlue, kYellow});
    UniqueImageList muted = MakeImageList({kCyan, kMagenta, kWhite, kBlue});
    TTrayIcon icon(owner.Handle());
    icon.SetIconList(normal.get());
    icon.SetIconIndex(2);
    icon.SetCycleInterval(40);
    EXPECT_EQ(icon.IconIndex(), 2) << "the interval alone does not start cycling";

    std::size_t start = shell.sent.size();
    icon.SetCycleIcons(true);
    EXPECT_EQ(icon.IconIndex(), 0);
    ASSERT_TRUE(PumpUntil([&] { return shell.ColoursSince(start).size() >= 6; }, 3000));
    std::vector<COLORREF> seen = shell.ColoursSince(start);
    seen.resize(6);
    EXPECT_EQ(ColourNames(seen), ColourNames({kRed, kGreen, kBlue, kYellow, kRed, kGreen}));

    start = shell.sent.size();
    icon.SetIconList(muted.get());
    ASSERT_TRUE(PumpUntil([&] { return shell.ColoursSince(start).size() >= 3; }, 3000));
    seen = shell.ColoursSince(start);
    seen.resize(3);
    EXPECT_EQ(ColourNames(seen), ColourNames({kCyan, kMagenta, kWhite}));

    icon.SetCycleIcons(false);
    const int stoppedAt = icon.IconIndex();
    start = shell.sent.size();
    PumpFor(200);
    EXPECT_EQ(shell.sent.size(), start) << "no tick after cycling stops";
    EXPECT_EQ(icon.IconIndex(), stoppedAt) << "stopping keeps the current image";
}

TEST_F(TrayIconTest, TaskbarRestartBringsTheIconBackAsItWas) {
    UniqueImageList images = MakeImageList({kRed, kGreen, kBlue, kYellow});
    TTrayIcon icon(owner.Handle());
    owner.icon = &icon;
    const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    icon.SetIconList(images.get());
    icon.SetHint("Sonoraflux");

    std::size_t start = shell.sent.size();
    ::SendMessageA(owner.Handle(), taskbarCreated, 0, 0);
    EXPECT_EQ(shell.sent.size(), start) << "an icon that is not shown stays away";

    icon.SetIconVisible(true);
    icon.SetIconIndex(2);
    icon.SetHint("Sonoraflux - Radio");
    start = shell.sent.size();
    ::SendMessageA(owner.Handle(), taskbarCreated, 0, 0);
    ASSERT_EQ(shell.sent.size(), start + 1);
    EXPECT_EQ(shell.sent.back().message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(std::string(shell.sent.back().data.szTip), "Sonoraflux - Radio");
    EXPECT_EQ(ColourName(shell.sent.back().colour), ColourName(kBlue));
}

TEST_F(TrayIconTest, MinimisingHidesTheOwnerToTheTrayOnlyWhenAsked) {
    TTrayIcon icon(owner.Handle());
    owner.icon = &icon;
    ::ShowWindow(owner.Handle(), SW_SHOWNORMAL);
    ::ShowWindow(owner.Handle(), SW_MINIMIZE);
    EXPECT_TRUE(::IsWindowVisible(owner.Handle()));
    EXPECT_FALSE(icon.IconVisible());

    ::ShowWindow(owner.Handle(), SW_RESTORE);
    icon.SetMinimizeToTray(true);
    const std::size_t start = shell.sent.size();
    ::ShowWindow(owner.Handle(), SW_MINIMIZE);
    EXPECT_FALSE(::IsWindowVisible(owner.Handle()));
    EXPECT_TRUE(icon.IconVisible());
    ASSERT_GT(shell.sent.size(), start);
    EXPECT_EQ(shell.sent.back().message, static_cast<DWORD>(NIM_ADD));

    ::SendMessageA(owner.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(::IsWindowVisible(owner.Handle()));
    EXPECT_FALSE(::IsIconic(owner.Handle()));
}

TEST_F(TrayIconTest, ShowingTheOwnerBringsItToTheFront) {
    OwnerWindow other;
    ::ShowWindow(other.Handle(), SW_SHOW);
    ::SetForegroundWindow(other.Handle());
    // Shown without activation, a plain window stays behind...
    ::ShowWindow(owner.Handle(), SW_SHOWNA);
    ASSERT_EQ(::GetForegroundWindow(), other.Handle());
    ::ShowWindow(owner.Handle(), SW_HIDE);

    // ...the owner of a tray icon comes to the front.
    TTrayIcon icon(owner.Handle());
    owner.icon = &icon;
    ::ShowWindow(owner.Handle(), SW_SHOWNA);
    EXPECT_EQ(::GetForegroundWindow(), owner.Handle());
}

TEST_F(TrayIconTest, OwnerDestroyedFirstLeavesTheComponentSafe) {
    auto other = std::make_unique<OwnerWindow>();
    TTrayIcon icon(other->Handle());
    other->icon = &icon;
    UniqueMenu menu = MakeTrayMenu();
    ::SetMenuDefaultItem(menu.get(), 101, FALSE);
    icon.SetPopupMenu(menu.get());
    icon.SetIconVisible(true);
    ::DestroyWindow(other->Handle());
    SendMice(icon, {WM_LBUTTONDBLCLK, WM_RBUTTONDOWN});
    icon.PopupAt({10, 10});
    MSG stray;
    EXPECT_FALSE(::PeekMessageA(&stray, reinterpret_cast<HWND>(-1), WM_COMMAND, WM_COMMAND, PM_REMOVE))
        << "no command may go to the thread once the owner is gone";
    EXPECT_TRUE(icon.UpdateTrayIcon());
}

TEST_F(TrayIconTest, SharedCallbackWindowGoesWithTheLastComponent) {
    {
        TTrayIcon first(owner.Handle());
        OwnerWindow otherOwner;
        TTrayIcon second(otherOwner.Handle());
        EXPECT_TRUE(::IsWindow(TTrayIcon::CallbackWindow()));
        // Only the component may end its window.
        EXPECT_EQ(::SendMessageA(TTrayIcon::CallbackWindow(), WM_CLOSE, 0, 0), 1);
        EXPECT_TRUE(::IsWindow(TTrayIcon::CallbackWindow()));
    }
    EXPECT_EQ(TTrayIcon::CallbackWindow(), nullptr);
}

TEST_F(TrayIconTest, ConstructionNeedsAnOwnerWindow) {
    EXPECT_THROW(TTrayIcon icon(nullptr), std::invalid_argument);
    EXPECT_EQ(TTrayIcon::CallbackWindow(), nullptr);
}

TEST_F(TrayIconTest, FailingClickHandlerEndsInTheErrorBox) {
    TTrayIcon icon(owner.Handle());
    icon.OnClick = [] { throw std::runtime_error("Ooops !"); };
    wine_support::BoxScript closer{wine_support::BoxOwner::ThisThread(), "Sonoraflux"};
    SendMice(icon, {WM_LBUTTONDOWN, WM_LBUTTONUP});
    EXPECT_EQ(closer.Texts(), std::vector<std::string>{"Ooops !."});
}

namespace {
bool BalloonOnScreen() {
    bool found = false;
    ::EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            char name[64] = {};
            ::GetClassNameA(hwnd, name, sizeof name);
            if (std::string(name) == TOOLTIPS_CLASSA && ::IsWindowVisible(hwnd)) *reinterpret_cast<bool*>(lp) = true;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}
}  // namespace

// With the shell of the bench (Wine's system tray on the virtual display).
class TrayIconShellTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(::FindWindowA("Shell_TrayWnd", nullptr), nullptr) << "the shell has no taskbar"; }
    OwnerWindow owner;
    UniqueImageList images = MakeImageList({kGreen, kBlue, kYellow, kRed});
};

TEST_F(TrayIconShellTest, ShellAcceptsTheIconItsUpdatesAndABalloon) {
    TTrayIcon icon(owner.Handle());
    icon.SetIconList(images.get());
    icon.SetHint("Sonoraflux");
    EXPECT_TRUE(icon.AddTrayIcon());
    EXPECT_TRUE(icon.UpdateTrayIcon());
    EXPECT_TRUE(icon.ShowBalloon("Sonoraflux", "Ligne 1\rLigne 2", BalloonIconKind::Warning, 10));
    EXPECT_TRUE(icon.HideBalloon());
    EXPECT_TRUE(icon.RemoveTrayIcon());
    EXPECT_FALSE(icon.UpdateTrayIcon()) << "a removed icon cannot be updated";
}

TEST_F(TrayIconShellTest, RealMouseClickOnTheIconReachesOnClick) {
    TTrayIcon icon(owner.Handle());
    icon.SetIconList(images.get());
    icon.SetHint("Sonoraflux");
    ASSERT_TRUE(icon.AddTrayIcon());
    int clicks = 0;
    icon.OnClick = [&] { ++clicks; };
    PumpFor(300);
    // A left click on the first icon of Wine's tray window, as a person would.
    const int rc = wine_support::RunUnixShell(
        "xdotool search --name 'Wine System Tray' mousemove --window %1 8 8 click 1", 10000);
    if (rc != 0) GTEST_SKIP() << "no system tray window to click (xdotool exit " << rc << ")";
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }, 3000)) << "clicks: " << clicks;

    // The shell turns the second press of a double-click into a double-click report.
    PumpFor(700);
    wine_support::RunUnixShell(
        "xdotool search --name 'Wine System Tray' mousemove --window %1 8 8 click --repeat 2 --delay 80 1", 10000);
    EXPECT_TRUE(PumpUntil([&] { return clicks == 2; }, 3000)) << "clicks: " << clicks;
    PumpFor(700);
    EXPECT_EQ(clicks, 2) << "a double-click must give one click";
}

TEST_F(TrayIconShellTest, ReadyBalloonOnScreen) {
    TTrayIcon icon(owner.Handle());
    icon.SetIconList(images.get());
    icon.SetHint("Sonoraflux");
    icon.SetIconVisible(true);
    EXPECT_TRUE(icon.ShowBalloon("Sonoraflux", "Le logiciel est prêt !", BalloonIconKind::Info, 10));
    // The shell draws balloons in a tooltip window of its own, after a delay of its own.
    EXPECT_TRUE(PumpUntil(BalloonOnScreen, 6000)) << "no balloon window appeared";
    PumpFor(300);
    const std::string shot = wine_support::SaveScreenshot("tray-balloon-component.png");
    EXPECT_FALSE(shot.empty()) << "screenshot not written";
}
