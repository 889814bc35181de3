// The rotation window on the real API: its controls as the user sees them, the
// open dialog, and the whole sequence through the real browser host, the real
// tray menu and real timers, with the list A, B, C and a jingle page.
#include "rotation/rotation_window_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/tray_presenter_win32.h"
#include "editor/help_balloon_hints_win32.h"
#include "editor/help_balloons.h"
#include "playback/browser_host_win32.h"
#include "playback/playback.h"
#include "tests/support/platform_doubles.h"
#include "tests/support/recording_browser.h"
#include "tests/support/keyboard_win32.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/modal_boxes_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"
#include "win/ole_session_win32.h"
#include "win/platform_win32.h"
#include "win/window_text_win32.h"

namespace {
using Id = RotationWindow::ControlId;

std::string ClassOf(HWND control) {
    char name[64] = {};
    ::GetClassNameA(control, name, sizeof name);
    return name;
}

RECT PlaceIn(HWND window, HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::wstring LocationOf(EmbeddedBrowser& browser) {
    BSTR text = nullptr;
    browser.Control()->get_LocationURL(&text);
    std::wstring location = text ? text : L"";
    ::SysFreeString(text);
    return location;
}

void Click(HWND control) {
    ::SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

class ScriptedPicker : public JinglePicker {
public:
    explicit ScriptedPicker(const std::optional<std::string>& answer) : answer_(answer) {}
    std::optional<std::string> PickJinglePage(const std::string&) override { return answer_; }

private:
    const std::optional<std::string>& answer_;
};

// The program's services as the program root lends them: the real host, an
// item of "Ma liste" played as the menu plays it, the switch's balloon
// attached as the root attaches it, and the jingle dialog answered by a
// script unless the real one is asked for.
class HostServices : public RotationWindowServices {
public:
    HostServices(BrowserHost& host, TrayPresenter& tray, Playback& playback, const ProgramFolder& folder,
                 FileSystem& files, HelpBalloonHints& hints)
        : host_(host), tray_(tray), playback_(playback), folder_(folder), files_(files), hints_(hints),
          second(host.SecondBrowser()) {
        // Every address on its way to the real second browser, with the time it was sent.
        second.onNavigate = [this](const std::string& address) {
            sent.emplace_back(static_cast<long>(::GetTickCount() - start), address);
        };
    }
    void ShowBrowserHost() override { host_.Show(); }
    void HideBrowserHost() override { host_.Hide(); }
    Browser& FirstBrowser() override { return host_.FirstBrowser(); }
    Browser& SecondBrowser() override { return second; }
    int ListMenuItemCount() override { return static_cast<int>(tray_.Menu().Items().size()); }
    void PlayMenuItem(int item) override {
        const ListMenuItem chosen = tray_.Menu().Items().at(static_cast<size_t>(item));
        playback_.PlayEntry(item, chosen.caption, chosen.storedAddress);
    }
    const ProgramFolder& Folder() override { return folder_; }
    FileSystem& Files() override { return files_; }
    void AttachAlwaysOn(HWND control, int key, const std::string& hint) override {
        hints_.Balloons().Register({key, "", balloon_pictures::kInfo, hint, false});
        hints_.Attach(control, key);
    }
    std::unique_ptr<JinglePicker> JinglePickerFor(HWND window) override {
        if (realDialog) return RotationWindowServices::JinglePickerFor(window);
        return std::make_unique<ScriptedPicker>(pickedJingle);
    }

private:
    BrowserHost& host_;
    TrayPresenter& tray_;
    Playback& playback_;
    const ProgramFolder& folder_;
    FileSystem& files_;
    HelpBalloonHints& hints_;

public:
    bool realDialog = false;
    std::optional<std::string> pickedJingle;  // the scripted dialog's answer
    RecordingBrowser second;
    DWORD start = ::GetTickCount();
    std::vector<std::pair<long, std::string>> sent;
};

// Timers may come late on a busy machine, never early.
void ExpectAt(long actual, long expected) {
    EXPECT_GE(actual, expected - 50);
    EXPECT_LE(actual, expected + 1500);
}

class RotationWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(root.Path().empty());
        ASSERT_NE(owner, nullptr);
        for (const char* sub : {"Pages", "Transition"})
            ASSERT_TRUE(::CreateDirectoryA((root.Path() + sub).c_str(), nullptr));
        for (const char* page : {"a.htm", "b.htm", "c.htm"})
            ASSERT_TRUE(wine_support::WriteFileBytes(folder.Page(page), "<html><body>radio</body></html>"));
        ASSERT_TRUE(wine_support::WriteFileBytes(jingle, "<html><body>gong</body></html>"));
        // Out of order on purpose: "Ma liste" follows the sorted list.
        ASSERT_TRUE(wine_support::WriteFileBytes(folder.ListFile(), "C;c.htm;;1\r\nA;a.htm;;1\r\nB;b.htm;;1\r\n"));
        listFile.LoadStreamList(list);
        tray.RebuildListMenu();
        ASSERT_EQ(tray.Menu().Items().size(), 3u);
    }
    void TearDown() override {
        if (owner) ::DestroyWindow(owner);
    }
    HWND Control(Id id) { return window.Control(id); }

    OleSession ole;
    wine_support::ScratchFolder root{"rotation_"};
    ProgramFolder folder{root.Path()};
    std::string jingle = folder.TransitionFolder() + "gong.htm";
    Win32FileSystem files;
    AsciiCollation collation;
    RecordedNotices notices;
    StreamListFile listFile{folder.ListFile(), files, collation, notices};
    StreamList list;
    HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    TrayPresenter tray{::GetModuleHandleA(nullptr), owner, list, folder, files};
    BrowserHost host;
    Playback playback{folder, files, host, tray, tray};
    HelpBalloons balloons;
    HelpBalloonHints hints{balloons};
    HostServices services{host, tray, playback, folder, files, hints};
    RotationWindow window{::GetModuleHandleA(nullptr), owner, services};
};

TEST_F(RotationWindowTest, ControlsInTheirPlacesWithTheirCaptions) {
    struct Row {
        Id id;
        const char* className;
        const char* text;
        RECT place;  // in the window's client area
        bool enabled;
    } rows[] = {
        {Id::kRotationGroup, "Button", "       Permutation ", {7, 5, 138, 52}, true},
        {Id::kClockPicture, "Static", "", {15, 5, 31, 21}, true},
        {Id::kIntervalBar, "msctls_trackbar32", "Permutation (minutes)", {21, 25, 86, 40}, true},
        {Id::kIntervalValue, "Static", "2", {87, 25, 99, 38}, true},
        {Id::kIntervalUnit, "Static", "min", {103, 25, 127, 38}, true},
        {Id::kBalloonSwitch, "Static", "", {120, 4, 137, 21}, true},
        {Id::kTransitionGroup, "Button", "      Transition ", {8, 56, 139, 141}, true},
        {Id::kJingleCheck, "Button", "Jingle de transition", {16, 56, 33, 73}, true},
        {Id::kDurationBar, "msctls_trackbar32", "Transition (secondes)", {22, 76, 87, 91}, true},
        {Id::kDurationValue, "Static", "2", {88, 76, 100, 89}, true},
        {Id::kDurationUnit, "Static", "sec", {104, 76, 128, 89}, true},
        {Id::kJingleLabel, "Static", "Jingle (htm) :", {24, 96, 88, 109}, true},
        {Id::kJingleChooser, "Static", "Choix du jingle", {88, 94, 104, 111}, true},
        {Id::kListenImage, "Static", "Ecouter le jingle", {108, 96, 124, 113}, true},
        {Id::kChosenJingle, "Static", "", {24, 116, 122, 129}, true},
        {Id::kNotice, "Static",
         "Ce module est censé activer la lecture successive de chaque  Flumen pendant la durée choisie (avec "
         "Jingle de transition). Le développement de Sonoraflux étant en StandBy cette fonction n'a pas encore "
         "été finalisée...",
         {144, 8, 305, 113}, false},
        {Id::kSeparator, "Static", "", {152, 120, 289, 122}, true},
        {Id::kCancelButton, "Button", "Annuler", {16, 150, 81, 175}, true},
        {Id::kOkButton, "Button", "OK", {96, 150, 129, 175}, false},
    };
    RECT client{};
    ::GetClientRect(window.Handle(), &client);
    EXPECT_EQ(client.right, 303);
    EXPECT_EQ(client.bottom, 181);
    EXPECT_FALSE(::IsWindowVisible(window.Handle()));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        SCOPED_TRACE(static_cast<int>(row.id));
        HWND control = Control(row.id);
        ASSERT_NE(control, nullptr);
        EXPECT_STRCASEEQ(ClassOf(control).c_str(), row.className);
        EXPECT_EQ(WindowText(control), row.text);
        const RECT place = PlaceIn(window.Handle(), control);
        EXPECT_TRUE(::EqualRect(&place, &row.place)) << place.left << "," << place.top << "," << place.right
                                                     << "," << place.bottom;
        EXPECT_EQ(::IsWindowEnabled(control) != FALSE, row.enabled);
    }
    EXPECT_EQ(::SendMessageA(Control(Id::kJingleCheck), BM_GETCHECK, 0, 0), BST_CHECKED);

    // The texts are read whole in the font they are drawn with.
    struct Fit {
        Id id;
        int width, height;
        UINT format;
    } fits[] = {{Id::kNotice, 161, 105, DT_WORDBREAK}, {Id::kJingleLabel, 64, 13, DT_SINGLELINE},
                {Id::kIntervalUnit, 24, 13, DT_SINGLELINE}};
    for (const Fit& fit : fits) {
        HWND control = Control(fit.id);
        SCOPED_TRACE(WindowText(control));
        HDC dc = ::GetDC(control);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
        RECT text{0, 0, fit.width, 0};
        const std::string caption = WindowText(control);
        const int height = ::DrawTextA(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_NOPREFIX | fit.format);
        ::SelectObject(dc, old);
        ::ReleaseDC(control, dc);
        EXPECT_GT(height, 0);
        EXPECT_LE(height, fit.height);
        EXPECT_LE(text.right, fit.width);
    }
    struct Bar {
        Id id;
        LRESULT maximum;
    } bars[] = {{Id::kIntervalBar, 50}, {Id::kDurationBar, 10}};
    for (const Bar& bar : bars) {
        HWND control = Control(bar.id);
        EXPECT_EQ(::SendMessageA(control, TBM_GETRANGEMIN, 0, 0), 2);
        EXPECT_EQ(::SendMessageA(control, TBM_GETRANGEMAX, 0, 0), bar.maximum);
        EXPECT_EQ(::SendMessageA(control, TBM_GETPOS, 0, 0), 2);
        EXPECT_EQ(::SendMessageA(control, TBM_GETTHUMBLENGTH, 0, 0), 12);
        const LONG style = ::GetWindowLongA(control, GWL_STYLE);
        EXPECT_EQ(style & (TBS_BOTH | TBS_NOTICKS), TBS_BOTH | TBS_NOTICKS) << std::hex << style;
    }
}

TEST_F(RotationWindowTest, BarsShowTheirValuesAndClickablePicturesTheHand) {
    struct Move {
        Id bar;
        int to;
        Id value;
        const char* shown;
    } moves[] = {{Id::kIntervalBar, 35, Id::kIntervalValue, "35"}, {Id::kDurationBar, 7, Id::kDurationValue, "7"}};
    for (const Move& m : moves) {
        // As the keyboard moves it: the bar tells its window.
        ::SendMessageA(Control(m.bar), TBM_SETPOS, TRUE, m.to - 1);
        ::SendMessageA(Control(m.bar), WM_KEYDOWN, VK_RIGHT, 0);
        ::SendMessageA(Control(m.bar), WM_KEYUP, VK_RIGHT, 0);
        EXPECT_EQ(WindowText(Control(m.value)), m.shown);
    }

    HCURSOR hand = ::LoadCursorA(::GetModuleHandleA(nullptr), "CURSOR");
    ASSERT_NE(hand, nullptr);
    struct Over {
        Id id;
        bool hand;
    } overs[] = {{Id::kJingleChooser, true}, {Id::kListenImage, true}, {Id::kBalloonSwitch, true},
                 {Id::kNotice, false},       {Id::kOkButton, false}};
    for (const Over& o : overs) {
        SCOPED_TRACE(static_cast<int>(o.id));
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        // As the system asks the control under the pointer.
        ::SendMessageA(Control(o.id), WM_SETCURSOR, reinterpret_cast<WPARAM>(Control(o.id)),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(::GetCursor() == hand, o.hand);
    }
}

TEST_F(RotationWindowTest, TheOpenDialogChoosesTheJingleAndEnablesOk) {
    // A real dialog on this thread: a timer of the thread answers it from
    // inside its modal loop, as a user would, by typing the name.
    std::string seenFolder;
    wine_support::BoxScript dialogs{wine_support::BoxOwner::ThisThread(), kJingleDialogTitle, IDOK,
                                    [&](const wine_support::Box& box) {
                                        char path[MAX_PATH] = {};
                                        ::SendMessageA(box.window, CDM_GETFOLDERPATH, sizeof path,
                                                       reinterpret_cast<LPARAM>(path));
                                        seenFolder = path[0] ? path : "<none>";
                                        const int nameField = ::GetDlgItem(box.window, edt1) ? edt1 : cmb13;
                                        ::SendMessageA(box.window, CDM_SETCONTROLTEXT, nameField,
                                                       reinterpret_cast<LPARAM>(jingle.c_str()));
                                        return true;
                                    }};
    HelpBalloons otherBalloons;
    HelpBalloonHints otherHints{otherBalloons};
    HostServices otherServices{host, tray, playback, folder, files, otherHints};
    otherServices.realDialog = true;
    RotationWindow real(::GetModuleHandleA(nullptr), owner, otherServices);
    Click(real.Control(Id::kJingleChooser));
    EXPECT_EQ(seenFolder + "\\", folder.TransitionFolder()) << "the dialog starts in the jingles' folder";
    EXPECT_EQ(WindowText(real.Control(Id::kChosenJingle)), jingle);
    EXPECT_TRUE(::IsWindowEnabled(real.Control(Id::kOkButton)));
}

// What the system's Tab walks is the window's order, "OK" joining it once a
// jingle is chosen, and every stop has a name a screen reader can say.
TEST_F(RotationWindowTest, TabWalksTheWindowsOrderAndEveryStopIsNamed) {
    window.ShowCentredInFront();
    wine_support::PumpFor(200);
    EXPECT_EQ(::GetFocus(), Control(Id::kIntervalBar)) << "the first stop on showing";
    for (bool chosen : {false, true}) {
        if (chosen) {
            services.pickedJingle = jingle;
            Click(Control(Id::kJingleChooser));
        }
        const std::vector<int> stops = ReachableStops(RotationTabStops(chosen));
        EXPECT_EQ(wine_support::TabWalk(window.Handle(), Id::kIntervalBar), stops) << "jingle chosen: " << chosen;
        for (int id : stops) EXPECT_NE(wine_support::ControlName(::GetDlgItem(window.Handle(), id)), "") << id;
    }
}

TEST_F(RotationWindowTest, OkPlaysTheJingleThenTheSecondEntryThenSilencesTheJingle) {
    services.pickedJingle = jingle;
    Click(Control(Id::kJingleChooser));
    ASSERT_TRUE(::IsWindowEnabled(Control(Id::kOkButton)));
    window.ShowCentredInFront();
    wine_support::PumpFor(300);
    EXPECT_FALSE(wine_support::SaveScreenshot("rotation.png").empty());

    const DWORD start = ::GetTickCount();
    services.start = start;
    ::SendMessageA(Control(Id::kOkButton), BM_CLICK, 0, 0);
    EXPECT_FALSE(::IsWindowVisible(window.Handle())) << "OK closes the window";
    auto elapsed = [&] { return static_cast<long>(::GetTickCount() - start); };
    auto& sent = services.sent;

    ASSERT_TRUE(wine_support::PumpUntil([&] { return !sent.empty(); }, 10000)) << "no jingle was sent";
    ExpectAt(sent[0].first, 7000);
    EXPECT_EQ(sent[0].second, "file:///" + jingle);
    const std::wstring jingleEnd = L"\\Transition\\gong.htm";
    EXPECT_TRUE(wine_support::PumpUntil([&] { return LocationOf(host.SecondBrowser()).ends_with(jingleEnd); }, 3000))
        << "the second browser went elsewhere: " << ::testing::PrintToString(LocationOf(host.SecondBrowser()));
    EXPECT_FALSE(::IsWindowVisible(host.Handle())) << "the host hides after the navigation";

    ASSERT_TRUE(wine_support::PumpUntil([&] { return tray.Icon().Hint() == "Sonoraflux - B"; }, 5000))
        << "hint: " << tray.Icon().Hint();
    ExpectAt(elapsed(), 9000);
    EXPECT_TRUE(
        wine_support::PumpUntil([&] { return LocationOf(host.FirstBrowser()).ends_with(L"\\Pages\\b.htm"); }, 3000));
    const std::vector<ListMenuItem>& items = tray.Menu().Items();
    EXPECT_EQ(items[1].caption, "B");
    EXPECT_TRUE(items[1].isDefault);
    EXPECT_FALSE(items[0].isDefault || items[2].isDefault);
    MENUITEMINFOA state{sizeof state, MIIM_STATE};
    ASSERT_TRUE(::GetMenuItemInfoA(tray.Menu().ListMenu(), kCommandFirstEntry + 1, FALSE, &state));
    EXPECT_EQ(state.fState & (MFS_DEFAULT | MFS_CHECKED), static_cast<UINT>(MFS_DEFAULT | MFS_CHECKED));
    EXPECT_EQ(sent.size(), 1u) << "the jingle still plays";

    ASSERT_TRUE(wine_support::PumpUntil([&] { return sent.size() == 2; }, 6000));
    ExpectAt(sent[1].first, 12000);
    EXPECT_EQ(sent[1].second, "about:blank");
    EXPECT_TRUE(wine_support::PumpUntil([&] { return LocationOf(host.SecondBrowser()) == L"about:blank"; }, 3000));
    wine_support::PumpFor(1500);
    EXPECT_EQ(sent.size(), 2u) << "nothing comes back";
    EXPECT_EQ(tray.Icon().Hint(), "Sonoraflux - B");
}

TEST_F(RotationWindowTest, ListeningPlaysTheJingleInTheFirstBrowser) {
    services.pickedJingle = jingle;
    Click(Control(Id::kJingleChooser));
    Click(Control(Id::kListenImage));
    EXPECT_TRUE(wine_support::PumpUntil(
        [&] { return LocationOf(host.FirstBrowser()).ends_with(L"\\Transition\\gong.htm"); }, 3000));
    EXPECT_FALSE(::IsWindowVisible(host.Handle()));
    EXPECT_TRUE(LocationOf(host.SecondBrowser()).empty() || LocationOf(host.SecondBrowser()) == L"about:blank");
}
}  // namespace

namespace {
// Rests the pointer on the control as a user would.
void RestPointerOn(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2));
}

TEST_F(RotationWindowTest, TheSwitchImageShowsItsBalloonWithTheLastTitleAndDoesNothingWhenClicked) {
    // The pointer last rested on another window's "Nouveau" button.
    constexpr int kOtherWindowNew = 1117;
    balloons.Register({kOtherWindowNew, "Nouveau", balloon_pictures::kNew, "Nouvelle fiche"});
    balloons.PointerMoved(kOtherWindowNew);
    window.ShowCentredInFront();
    wine_support::PumpFor(300);

    RestPointerOn(Control(Id::kBalloonSwitch));
    ASSERT_TRUE(wine_support::PumpUntil([&] { return hints.Balloon().Visible(); }, 3000))
        << "no balloon over the switch image";
    EXPECT_EQ(WindowText(hints.Balloon().Handle()), "Nouveau\r\nActive / désactive les bulles d'aide");
    EXPECT_EQ(balloons.Picture(), balloon_pictures::kNew);
    wine_support::PumpFor(400);
    EXPECT_FALSE(wine_support::SaveScreenshot("rotation-balloon.png").empty());

    Click(Control(Id::kBalloonSwitch));
    wine_support::PumpFor(200);
    EXPECT_FALSE(balloons.On()) << "the switch image of this window switches nothing";
    EXPECT_FALSE(balloons.Flag(kOtherWindowNew));
    EXPECT_TRUE(::IsWindowVisible(window.Handle()));
    EXPECT_EQ(balloons.Title(), "Nouveau");

    // No other control of the window explains itself, even with the balloons on.
    balloons.Switch();
    for (Id id : {Id::kJingleChooser, Id::kListenImage, Id::kIntervalBar}) {
        SCOPED_TRACE(static_cast<int>(id));
        RestPointerOn(Control(id));
        ASSERT_TRUE(wine_support::PumpUntil([&] { return !hints.Balloon().Visible(); }, 4000));
        EXPECT_FALSE(wine_support::PumpUntil([&] { return hints.Balloon().Visible(); }, 1200));
    }
}
}  // namespace
