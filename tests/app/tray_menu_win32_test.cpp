// The tray menu as a real system menu, played through the real browser host:
// captions, visibility, the playing marks after play, stop and rebuild, and
// every navigation seen on its way to the embedded browser.
#include "tray/tray_menu_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "win/platform_win32.h"
#include "playback/browser_host_win32.h"
#include "win/ole_session_win32.h"
#include "playback/playback.h"
#include "tests/support/platform_doubles.h"
#include "tests/support/recording_browser.h"
#include "tests/support/resource_probe_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"
#include "ui/flat_menu_win32.h"

namespace {
std::string Caption(HMENU menu, UINT item, BOOL byPosition) {
    char text[256];
    memset(text, 0x55, sizeof text);
    MENUITEMINFOA info{sizeof info, MIIM_STRING};
    info.dwTypeData = text;
    info.cch = sizeof text;
    if (!::GetMenuItemInfoA(menu, item, byPosition, &info)) return "<none>";
    return text;
}

UINT State(HMENU menu, UINT id) {
    MENUITEMINFOA info{sizeof info, MIIM_STATE};
    return ::GetMenuItemInfoA(menu, id, FALSE, &info) ? info.fState : 0xFFFFFFFF;
}

std::vector<std::string> SubmenuCaptions(HMENU menu) {
    std::vector<std::string> captions;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) captions.push_back(Caption(menu, static_cast<UINT>(i), TRUE));
    return captions;
}

class HostAdapter : public BrowserWindow {
public:
    explicit HostAdapter(BrowserHost& host) : host_(host), browser(host.FirstBrowser()) {}
    void Show() override { host_.Show(); }
    void Hide() override { host_.Hide(); }
    Browser& FirstBrowser() override { return browser; }

private:
    BrowserHost& host_;

public:
    RecordingBrowser browser;
};

class RecordingIndicator : public PlaybackIndicator {
public:
    std::string hint = "Sonoraflux";
    bool cycling = false;
    std::vector<std::string> balloons;
    void SetHint(const std::string& h) override { hint = h; }
    void SetCycleIcons(bool c) override { cycling = c; }
    void SetIconIndex(int) override {}
    void ShowWarningBalloon(const std::string& title, const std::string& text) override {
        balloons.push_back(title + "|" + text);
    }
    void ShowInfoBalloon(const std::string& title, const std::string& text) override {
        balloons.push_back(title + "|" + text);
    }
};

class TrayMenuTest : public ::testing::Test, public PlaybackMenu {
protected:
    OleSession ole;
    std::string root = wine_support::MakeTempFolder("menu_");
    ProgramFolder folder{root};
    Win32FileSystem files;
    AsciiCollation collation;
    RecordedNotices notices;
    StreamListFile listFile{folder.ListFile(), files, collation, notices};
    StreamList list;
    TrayMenu menu{::GetModuleHandleA(nullptr)};
    FlatMenuLook look;
    BrowserHost host;
    HostAdapter hostAdapter{host};
    RecordingIndicator indicator;
    Playback playback{folder, files, hostAdapter, indicator, *this};
    std::vector<std::string> lastUnreadable;

    void MakeDefault(int item) override { menu.MakeDefault(item); }
    void ClearDefault() override { menu.ClearDefault(); }
    void RebuildListMenu() override {
        lastUnreadable = menu.RebuildListMenu(list, folder, files);
        look.Apply(menu.Handle());
    }

    void SetUp() override {
        ASSERT_FALSE(root.empty());
        ::CreateDirectoryA((root + "Pages").c_str(), nullptr);
        ::CreateDirectoryA((root + "Images").c_str(), nullptr);
    }
    void Load(const std::string& text) {
        ASSERT_TRUE(wine_support::WriteFileBytes(folder.ListFile(), text));
        listFile.LoadStreamList(list);
        RebuildListMenu();
    }
    void Play(int row) {
        const ListMenuItem& item = menu.Items().at(static_cast<size_t>(row));
        playback.PlayEntry(row, item.caption, item.storedAddress);
    }
    UINT EntryState(int row) { return State(menu.ListMenu(), kCommandFirstEntry + static_cast<UINT>(row)); }
};

TEST_F(TrayMenuTest, FixedItemsInTheirPlacesWithCaptionsAndPictures) {
    Load("Vide;;;1\r\n");
    HMENU m = menu.Handle();
    ASSERT_EQ(::GetMenuItemCount(m), 9);
    const char* captions[] = {"Editer...", "Ma liste", "Arr\xEAter", "Permuter...", "Enregistrer...",
                              "Activ\xE9",    "Tutoriel", "",          "Quitter"};
    for (UINT i = 0; i < 9; ++i) {
        if (i == 7) continue;
        EXPECT_EQ(Caption(m, i, TRUE), captions[i]) << "position " << i;
        MENUITEMINFOA info{sizeof info, MIIM_BITMAP};
        ASSERT_TRUE(::GetMenuItemInfoA(m, i, TRUE, &info));
        EXPECT_NE(info.hbmpItem, nullptr) << "picture of position " << i;
    }
    MENUITEMINFOA separator{sizeof separator, MIIM_FTYPE};
    ASSERT_TRUE(::GetMenuItemInfoA(m, 7, TRUE, &separator));
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
    EXPECT_EQ(::GetSubMenu(m, kListMenuPosition), menu.ListMenu());
    EXPECT_EQ(SubmenuCaptions(menu.ListMenu()), std::vector<std::string>{"Vide"});
}

TEST_F(TrayMenuTest, AutostartItemFollowsTheState) {
    MENUITEMINFOA before{sizeof before, MIIM_BITMAP};
    ::GetMenuItemInfoA(menu.Handle(), kCommandAutostart, FALSE, &before);
    menu.SetAutostartLook(true, "Activ\xE9");
    MENUITEMINFOA on{sizeof on, MIIM_BITMAP};
    ::GetMenuItemInfoA(menu.Handle(), kCommandAutostart, FALSE, &on);
    EXPECT_NE(on.hbmpItem, before.hbmpItem);
    menu.SetAutostartLook(false, "Activer");
    EXPECT_EQ(Caption(menu.Handle(), kAutostartPosition, TRUE), "Activer");
}

TEST_F(TrayMenuTest, HiddenEntriesAreKeptButNotShown) {
    Load("c;http://c;;1\r\nb;http://b;;0\r\na;http://a;;1\r\n");
    EXPECT_EQ(SubmenuCaptions(menu.ListMenu()), (std::vector<std::string>{"a", "c"}));
    ASSERT_EQ(menu.Items().size(), 3u);
    EXPECT_EQ(Caption(menu.ListMenu(), kCommandFirstEntry + 2, FALSE), "c");
    Play(1);  // hidden entries can still be played by position
    ASSERT_EQ(hostAdapter.browser.addresses, std::vector<std::string>{"http://b"});
    EXPECT_EQ(indicator.hint, "Sonoraflux - b");
}

TEST_F(TrayMenuTest, PlayStopAndRebuildMoveTheMarks) {
    Load("a;http://a;;1\r\nb;https://b;;1\r\nc;http://c;;1\r\n");
    Play(1);
    EXPECT_EQ(EntryState(1) & (MFS_DEFAULT | MFS_CHECKED), static_cast<UINT>(MFS_DEFAULT | MFS_CHECKED));
    EXPECT_EQ(EntryState(0) & (MFS_DEFAULT | MFS_CHECKED), 0u);
    Play(2);
    EXPECT_EQ(EntryState(1) & (MFS_DEFAULT | MFS_CHECKED), 0u);
    EXPECT_EQ(EntryState(2) & (MFS_DEFAULT | MFS_CHECKED), static_cast<UINT>(MFS_DEFAULT | MFS_CHECKED));
    EXPECT_EQ(indicator.hint, "Sonoraflux - c");
    EXPECT_TRUE(indicator.cycling);

    // A reload in another order: the mark stays with position 2.
    Load("a;http://a;;1\r\nb;https://b;;1\r\nc;http://c;;1\r\n0;http://0;;1\r\n");
    EXPECT_EQ(Caption(menu.ListMenu(), kCommandFirstEntry + 2, FALSE), "b");
    EXPECT_EQ(EntryState(2) & MFS_CHECKED, static_cast<UINT>(MFS_CHECKED));

    playback.StopPlayback();
    for (int row = 0; row < 4; ++row) EXPECT_EQ(EntryState(row) & (MFS_DEFAULT | MFS_CHECKED), 0u) << row;
    EXPECT_EQ(indicator.hint, "Sonoraflux");
    EXPECT_FALSE(indicator.cycling);
    EXPECT_EQ(hostAdapter.browser.addresses.back(), "about:blank");
}

TEST_F(TrayMenuTest, EveryKindOfAddressReachesTheBrowser) {
    ASSERT_TRUE(wine_support::WriteFileBytes(root + "Pages\\jazz.htm", "<html></html>"));
    Load("1;http://radio.example/flux.mp3;;1\r\n2;https://radio.example/flux;;1\r\n3;\\\\serveur\\partage\\p.htm;;1\r\n"
         "4;www.radio.example;;1\r\n5;ftp://radio.example/f;;1\r\n6;ftp.radio.example;;1\r\n7;jazz.htm;;1\r\n"
         "8;absente.htm;;1\r\n9;;;1\r\n");
    for (int row = 0; row < 9; ++row) Play(row);
    const std::vector<std::string> expected = {
        "http://radio.example/flux.mp3", "https://radio.example/flux", "\\\\serveur\\partage\\p.htm",
        "www.radio.example",             "ftp://radio.example/f",      "ftp.radio.example",
        "file:///" + root + "Pages\\jazz.htm",
    };
    EXPECT_EQ(hostAdapter.browser.addresses, expected);
    ASSERT_EQ(indicator.balloons.size(), 2u);
    EXPECT_EQ(indicator.balloons[0], std::string(kPlayErrorTitle) + "|" + MissingPageText("8"));
    EXPECT_EQ(indicator.balloons[1], std::string(kPlayErrorTitle) + "|" + MissingPageText("9"));
    EXPECT_EQ(EntryState(6) & MFS_CHECKED, static_cast<UINT>(MFS_CHECKED)) << "the failures left the mark";
    playback.StopPlayback();
    EXPECT_EQ(hostAdapter.browser.addresses.back(), "about:blank");
}

TEST_F(TrayMenuTest, UnreadableIconGetsTheDefaultAndTheRebuildGoesOn) {
    ASSERT_TRUE(wine_support::WriteFileBytes(root + "Images\\casse.bmp", "BM not a bitmap at all"));
    ASSERT_TRUE(wine_support::WriteFileBytes(root + "Images\\vide.bmp", ""));
    Load("a;http://a;casse.bmp;1\r\nb;http://b;;1\r\nc;http://c;absente.bmp;1\r\nd;http://d;casse.bmp;1\r\n"
         "e;http://e;vide.bmp;1\r\n");
    EXPECT_EQ(lastUnreadable, (std::vector<std::string>{root + "Images\\casse.bmp", root + "Images\\vide.bmp"}))
        << "each unreadable file once";
    EXPECT_EQ(SubmenuCaptions(menu.ListMenu()), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    for (UINT id = kCommandFirstEntry; id < kCommandFirstEntry + 5; ++id) {
        MENUITEMINFOA info{sizeof info, MIIM_BITMAP};
        ASSERT_TRUE(::GetMenuItemInfoA(menu.ListMenu(), id, FALSE, &info));
        EXPECT_NE(info.hbmpItem, nullptr);
    }
}

// A long list reaches the menu in steps; the items wait in order with their
// marks, and a rebuild in the middle starts over from what is there.
TEST_F(TrayMenuTest, ALongListIsInsertedInStepsWithItsMarks) {
    const int rows = static_cast<int>(TrayMenu::kItemsInsertedPerStep) * 3 + 7;
    list.Row(0) = {"r0", "http://r", "", "1"};
    for (int i = 1; i < rows; ++i) list.AppendRow() = {"r" + std::to_string(i), "http://r", "", i == 3 ? "0" : "1"};
    const int shown = rows - 1;
    RebuildListMenu();
    EXPECT_EQ(::GetMenuItemCount(menu.ListMenu()), static_cast<int>(TrayMenu::kItemsInsertedPerStep));
    ASSERT_TRUE(menu.HasPendingItems());
    menu.MakeDefault(rows - 2);
    menu.InsertPendingItems(TrayMenu::kItemsInsertedPerStep);
    RebuildListMenu();  // as a play does, in the middle
    EXPECT_TRUE(menu.HasPendingItems()) << "the marked item is still to come";
    menu.CompleteListMenu();
    EXPECT_FALSE(menu.HasPendingItems());
    const std::vector<std::string> captions = SubmenuCaptions(menu.ListMenu());
    ASSERT_EQ(captions.size(), static_cast<size_t>(shown));
    EXPECT_EQ(captions[3], "r4") << "the hidden row is left out";
    EXPECT_EQ(captions.back(), "r" + std::to_string(rows - 1));
    EXPECT_EQ(::GetMenuDefaultItem(menu.ListMenu(), TRUE, 0), static_cast<UINT>(shown - 2));
    EXPECT_EQ(EntryState(rows - 2) & MFS_CHECKED, static_cast<UINT>(MFS_CHECKED));
    // A shorter list leaves no item of the longer one behind.
    Load("a;http://a;;1\r\n");
    EXPECT_EQ(SubmenuCaptions(menu.ListMenu()), std::vector<std::string>{"a"});
}

TEST_F(TrayMenuTest, AnIconFileChangedBetweenRebuildsIsReadAgain) {
    const std::string icon = root + "Images\\i.bmp";
    const auto writeIcon = [&](int side, const char* modified) {
        BITMAPINFOHEADER header{sizeof header, side, side, 1, 24, BI_RGB};
        std::string bytes(14, '\0');
        bytes[0] = 'B', bytes[1] = 'M', bytes[10] = 14 + sizeof header;
        bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
        bytes.append(static_cast<size_t>(side * side * 3 + side % 4 * side), '\x40');
        ASSERT_TRUE(wine_support::WriteFileBytes(icon, bytes));
        ASSERT_EQ(wine_support::RunUnixShell("touch -d '" + std::string(modified) + "' '" +
                                             wine_support::UnixPathOf(icon) + "'"), 0);
    };
    const auto shownWidth = [&] {
        MENUITEMINFOA info{sizeof info, MIIM_BITMAP};
        BITMAP picture{};
        if (!::GetMenuItemInfoA(menu.ListMenu(), 0, TRUE, &info)) return -1L;
        ::GetObjectA(info.hbmpItem, sizeof picture, &picture);
        return picture.bmWidth;
    };
    writeIcon(16, "2020-01-01");
    Load("a;http://a;i.bmp;1\r\n");
    EXPECT_EQ(shownWidth(), 16);
    writeIcon(12, "2021-01-01");
    RebuildListMenu();
    EXPECT_EQ(shownWidth(), 12);
}

TEST_F(TrayMenuTest, CaptionsStayReadableUnderTheFlatLook) {
    Load("Radio n\xB0" "1;http://r;;1\r\nCaf\xE9;http://c;;1\r\n");
    EXPECT_EQ(SubmenuCaptions(menu.ListMenu()), (std::vector<std::string>{"Caf\xE9", "Radio n\xB0" "1"}));
    EXPECT_EQ(Caption(menu.Handle(), 2, TRUE), "Arr\xEAter");
}

// The probe behind the cycle tests sees a leak of one object a cycle, of
// each kind; the leaked objects go at the end.
TEST(ResourceProbe, SeesALeakOfOneObjectACycleOfEachKind) {
    std::vector<HANDLE> events;
    std::vector<HBITMAP> bitmaps;
    std::vector<HMENU> menus;
    EXPECT_EQ(wine_support::ResourcesGrownBy(20, [&] { events.push_back(::CreateEventA(nullptr, TRUE, FALSE, nullptr)); }),
              "kernel handles ");
    EXPECT_EQ(wine_support::ResourcesGrownBy(20, [&] { bitmaps.push_back(::CreateBitmap(1, 1, 1, 1, nullptr)); }),
              "GDI objects ");
    EXPECT_EQ(wine_support::ResourcesGrownBy(20, [&] { menus.push_back(::CreatePopupMenu()); }), "USER objects ");
    EXPECT_EQ(wine_support::ResourcesGrownBy(20, [] {}), "");
    for (HANDLE event : events) ::CloseHandle(event);
    for (HBITMAP bitmap : bitmaps) ::DeleteObject(bitmap);
    for (HMENU menu : menus) ::DestroyMenu(menu);
}

TEST_F(TrayMenuTest, RepeatedCyclesLeaveNoHandlesNorGdiOrUserObjectsBehind) {
    ASSERT_TRUE(wine_support::WriteFileBytes(root + "Images\\note.bmp", wine_support::SmallBitmapFile()));
    Load("a;http://a;note.bmp;1\r\nb;http://b;note.bmp;1\r\nc;http://c;absente.bmp;1\r\nd;http://d;;0\r\n");
    // The cycles the program repeats for as long as it runs; the editor's and
    // the recorder's are in their windows' tests.
    struct Cycle {
        const char* name;
        int times;
        std::function<void()> once;
    };
    const Cycle cycles[] = {
        {"rebuild of \"Ma liste\"", 1000, [&] { RebuildListMenu(); }},
        {"play and stop", 200, [&] {
             Play(1);
             playback.StopPlayback();
         }},
    };
    for (const Cycle& cycle : cycles) EXPECT_EQ(wine_support::ResourcesGrownBy(cycle.times, cycle.once), "") << cycle.name;
}

TEST_F(TrayMenuTest, RowsPastTheLastCommandIdAreLeftOutAndNoCommandCollides) {
    // Only the rows around the limit are shown, which keeps the system menu small.
    const int rows = 65540;
    list.Row(0) = {"r0", "http://r", "", "0"};
    for (int i = 1; i < rows; ++i) list.AppendRow() = {"r" + std::to_string(i), "http://r", "", i >= 64530 ? "1" : "0"};
    menu.RebuildListMenu(list, folder, files);
    EXPECT_EQ(menu.Items().size(), static_cast<size_t>(rows)) << "every row keeps its item in the model";
    EXPECT_EQ(SubmenuCaptions(menu.ListMenu()),
              (std::vector<std::string>{"r64530", "r64531", "r64532", "r64533", "r64534", "r64535"}));
    EXPECT_EQ(::GetMenuItemID(menu.ListMenu(), 5), 65535u);
    // The fixed commands are found in the top menu, not in "Ma liste".
    for (UINT id : {kCommandEdit, kCommandQuit}) {
        MENUITEMINFOA info{sizeof info, MIIM_ID};
        EXPECT_FALSE(::GetMenuItemInfoA(menu.ListMenu(), id, FALSE, &info)) << id;
    }
    EXPECT_EQ(Caption(menu.Handle(), kCommandEdit, FALSE), "Editer...");
}
}  // namespace
