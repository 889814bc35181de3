#include "ui/flat_menu_win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/unix_side_win32.h"
#include "ui/flat_menu_layout.h"
#include "win/window_win32.h"

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kColumn = RGB(227, 234, 246);
constexpr COLORREF kHighlight = RGB(198, 211, 239);
constexpr COLORREF kHighlightBorder = RGB(49, 105, 198);
constexpr COLORREF kSeparator = RGB(141, 171, 220);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kNoPicture = 0xFFFFFFFF;

// A 16x16 test picture: a coloured square with a white diagonal, so that a
// transparent drawing (white taken as see-through) would show.
UniqueBitmap MakePicture(COLORREF colour) {
    HDC screen = ::GetDC(nullptr);
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, 16, 16));
    UniqueMemoryDc dc(::CreateCompatibleDC(screen));
    ::ReleaseDC(nullptr, screen);
    SelectedObject selected(dc.get(), bitmap.get());
    UniqueBrush fill(::CreateSolidBrush(colour));
    RECT all{0, 0, 16, 16};
    ::FillRect(dc.get(), &all, fill.get());
    for (int i = 2; i < 14; ++i) ::SetPixel(dc.get(), i, i, kWhite);
    return bitmap;
}

struct ItemLook {
    const char* caption;
    COLORREF picture;  // or kNoPicture
    UINT state = 0;
};

void AppendItem(HMENU menu, UINT id, const ItemLook& item, HBITMAP picture, HMENU submenu = nullptr) {
    MENUITEMINFOA info{sizeof(info)};
    info.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_FTYPE | (picture ? MIIM_BITMAP : 0u) |
                 (submenu ? MIIM_SUBMENU : 0u);
    info.fType = MFT_STRING;
    info.fState = item.state;
    info.wID = id;
    info.hbmpItem = picture;
    info.hSubMenu = submenu;
    info.dwTypeData = const_cast<char*>(item.caption);
    ASSERT_TRUE(::InsertMenuItemA(menu, ::GetMenuItemCount(menu), TRUE, &info)) << item.caption;
}

void AppendSeparator(HMENU menu) {
    MENUITEMINFOA info{sizeof(info)};
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_SEPARATOR;
    ASSERT_TRUE(::InsertMenuItemA(menu, ::GetMenuItemCount(menu), TRUE, &info));
}

const std::vector<ItemLook> kListEntries = {
    {"Jazz à Paris", RGB(200, 60, 40), MFS_CHECKED | MFS_DEFAULT},
    {"Musique classique", RGB(40, 140, 60)},
    {"Infos en continu", kNoPicture},
};
const std::vector<ItemLook> kTopItems = {
    {"Editer...", RGB(90, 90, 200)},       {"Ma liste", RGB(230, 170, 30)}, {"Arrêter", RGB(200, 30, 30)},
    {"Permuter...", RGB(30, 160, 160)},    {"Enregistrer...", RGB(160, 30, 160)},
    {"Activé", RGB(60, 160, 60)},          {"Tutoriel", RGB(120, 120, 120)}, {"Quitter", RGB(0, 90, 160)},
};

// A menu shaped like the tray menu: seven items, a separator and "Quitter",
// "Ma liste" holding three entries, the first playing (checked and default).
struct TrayLikeMenu {
    UniqueMenu top;
    HMENU list = nullptr;
    std::vector<UniqueBitmap> pictures;

    TrayLikeMenu() : top(::CreatePopupMenu()) {
        UniqueMenu submenu(::CreatePopupMenu());
        list = submenu.get();
        UINT id = 100;
        for (const ItemLook& entry : kListEntries) {
            HBITMAP picture = nullptr;
            if (entry.picture != kNoPicture) picture = pictures.emplace_back(MakePicture(entry.picture)).get();
            AppendItem(list, ++id, entry, picture);
        }
        id = 0;
        for (const ItemLook& item : kTopItems) {
            HBITMAP picture = pictures.emplace_back(MakePicture(item.picture)).get();
            if (std::string(item.caption) == "Quitter") AppendSeparator(top.get());
            const bool isList = std::string(item.caption) == "Ma liste";
            AppendItem(top.get(), ++id, item, picture, isList ? submenu.release() : nullptr);
        }
    }
};

std::string CaptionOf(HMENU menu, UINT position) {
    char buffer[64];
    std::memset(buffer, 0x55, sizeof buffer);
    MENUITEMINFOA info{sizeof(info)};
    info.fMask = MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = sizeof buffer;
    if (!::GetMenuItemInfoA(menu, position, TRUE, &info)) return "<unreadable>";
    return std::string(buffer, info.cch);
}

MENUITEMINFOA InfoOf(HMENU menu, UINT position) {
    MENUITEMINFOA info{sizeof(info)};
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_BITMAP | MIIM_SUBMENU | MIIM_DATA;
    ::GetMenuItemInfoA(menu, position, TRUE, &info);
    return info;
}

// Measures and draws one item of a menu into a bitmap, as the system would.
class ItemCanvas {
public:
    ItemCanvas(int width, int height) : width_(width), height_(height) {
        HDC screen = ::GetDC(nullptr);
        bitmap_.reset(::CreateCompatibleBitmap(screen, width, height));
        dc_.reset(::CreateCompatibleDC(screen));
        ::ReleaseDC(nullptr, screen);
        old_ = ::SelectObject(dc_.get(), bitmap_.get());
    }
    ~ItemCanvas() { ::SelectObject(dc_.get(), old_); }

    bool Draw(FlatMenuLook& look, HMENU menu, UINT position, UINT itemState) {
        const MENUITEMINFOA info = InfoOf(menu, position);
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_MENU;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = itemState;
        draw.hwndItem = reinterpret_cast<HWND>(menu);
        // Each paint of the system comes with a fresh clip region.
        ::SelectClipRgn(dc_.get(), nullptr);
        draw.hDC = dc_.get();
        draw.rcItem = RECT{0, 0, width_, height_};
        draw.itemData = info.dwItemData;
        return look.OnDrawItem(draw);
    }

    COLORREF At(int x, int y) const { return ::GetPixel(dc_.get(), x, y); }

private:
    int width_;
    int height_;
    UniqueBitmap bitmap_;
    UniqueMemoryDc dc_;
    HGDIOBJ old_;
};

std::string Hex(COLORREF c) {
    char text[16];
    std::snprintf(text, sizeof text, "RGB(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// The menu's owner: passes the two owner-draw messages to the look and opens
// the menu with a script of timed steps.
class MenuOwner : public Window {
public:
    explicit MenuOwner(FlatMenuLook& look) : look_(look) {
        CreateParams p{"SonorafluxTestMenuOwner"};
        p.style = WS_POPUP | WS_VISIBLE;
        p.x = 1000;
        p.y = 740;
        p.width = p.height = 8;
        Create(p);
    }

    int measured = 0;
    int drawn = 0;
    int popupsOpened = 0;
    std::string screenshot;

    void Open(HMENU menu, int x, int y) {
        ::SetForegroundWindow(Handle());
        step_ = 0;
        ::SetTimer(Handle(), 1, 150, nullptr);
        ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, 0, Handle(), nullptr);
        ::KillTimer(Handle(), 1);
        ::PostMessageA(Handle(), WM_NULL, 0, 0);
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_MEASUREITEM:
            if (look_.OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) {
                ++measured;
                return TRUE;
            }
            break;
        case WM_DRAWITEM:
            if (look_.OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) {
                ++drawn;
                return TRUE;
            }
            break;
        case WM_INITMENUPOPUP:
            ++popupsOpened;
            break;
        case WM_TIMER:
            Step();
            return 0;
        }
        return Window::HandleMessage(msg, wp, lp);
    }

private:
    void Key(UINT key) { ::PostMessageA(Handle(), WM_KEYDOWN, key, 0); }

    // The menu loop reads keys from this thread's queue, whatever window they
    // are posted to: down twice to "Ma liste", right to open it, then the
    // picture and the end of the menu.
    void Step() {
        switch (step_++) {
        case 0: Key(VK_DOWN); Key(VK_DOWN); break;
        case 1: Key(VK_RIGHT); break;
        case 2: Key(VK_DOWN); break;
        case 5:
            ::KillTimer(Handle(), 1);
            screenshot = wine_support::SaveScreenshot("flat-menu-sample.png");
            ::EndMenu();
            break;
        default: break;
        }
    }

    FlatMenuLook& look_;
    int step_ = 0;
};
}  // namespace

TEST(FlatMenuLook, StyledItemsKeepCaptionsPicturesStatesAndSubmenus) {
    TrayLikeMenu menu;
    std::vector<MENUITEMINFOA> before;
    for (UINT i = 0; i < 9; ++i) before.push_back(InfoOf(menu.top.get(), i));
    FlatMenuLook look;
    look.Apply(menu.top.get());

    UINT position = 0;
    for (const ItemLook& item : kTopItems) {
        if (std::string(item.caption) == "Quitter") {
            const MENUITEMINFOA separator = InfoOf(menu.top.get(), position);
            EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
            EXPECT_TRUE(separator.fType & MFT_OWNERDRAW);
            ++position;
        }
        SCOPED_TRACE(item.caption);
        EXPECT_EQ(CaptionOf(menu.top.get(), position), item.caption);
        const MENUITEMINFOA after = InfoOf(menu.top.get(), position);
        EXPECT_TRUE(after.fType & MFT_OWNERDRAW) << std::hex << after.fType;
        EXPECT_EQ(after.hbmpItem, before[position].hbmpItem);
        EXPECT_EQ(after.hSubMenu, before[position].hSubMenu);
        EXPECT_EQ(after.fState, before[position].fState);
        ++position;
    }
    for (UINT i = 0; i < kListEntries.size(); ++i) {
        SCOPED_TRACE(kListEntries[i].caption);
        EXPECT_EQ(CaptionOf(menu.list, i), kListEntries[i].caption);
        const MENUITEMINFOA after = InfoOf(menu.list, i);
        EXPECT_TRUE(after.fType & MFT_OWNERDRAW);
        EXPECT_EQ(after.fState & (MFS_CHECKED | MFS_DEFAULT), kListEntries[i].state);
    }
}

TEST(FlatMenuLook, LeavesForeignAndStaleItemsToTheOwner) {
    TrayLikeMenu menu;
    FlatMenuLook look;
    look.Apply(menu.list);

    MEASUREITEMSTRUCT button{ODT_BUTTON, 7, 1, 0x55, 0x55, InfoOf(menu.list, 0).dwItemData};
    EXPECT_FALSE(look.OnMeasureItem(button));
    for (ULONG_PTR foreign : {ULONG_PTR{0}, ULONG_PTR{42}, reinterpret_cast<ULONG_PTR>(&button)}) {
        MEASUREITEMSTRUCT measure{ODT_MENU, 0, 1, 0x55, 0x55, foreign};
        EXPECT_FALSE(look.OnMeasureItem(measure)) << foreign;
        EXPECT_EQ(measure.itemWidth, 0x55u);
        EXPECT_EQ(measure.itemHeight, 0x55u);
    }
    ItemCanvas canvas(150, 22);
    DRAWITEMSTRUCT foreign{ODT_MENU};
    foreign.itemData = 42;
    EXPECT_FALSE(look.OnDrawItem(foreign));

    // Removing the first entry without a new Apply: the item that moved into
    // its place is not the one the look styled there.
    const ULONG_PTR second = InfoOf(menu.list, 1).dwItemData;
    ASSERT_TRUE(::DeleteMenu(menu.list, 0, MF_BYPOSITION));
    MEASUREITEMSTRUCT stale{ODT_MENU, 0, 1, 0x55, 0x55, second};
    EXPECT_FALSE(look.OnMeasureItem(stale));
    EXPECT_FALSE(canvas.Draw(look, menu.list, 0, 0));

    look.Apply(menu.list);
    EXPECT_TRUE(canvas.Draw(look, menu.list, 0, 0));
    EXPECT_EQ(CaptionOf(menu.list, 0), "Musique classique");
}

TEST(FlatMenuLook, MeasuresItemsSeparatorsAndTheBoldDefaultItem) {
    TrayLikeMenu menu;
    FlatMenuLook look;
    look.Apply(menu.top.get());
    auto measure = [&](HMENU m, UINT position) {
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, 0, 0x55, 0x55, InfoOf(m, position).dwItemData};
        EXPECT_TRUE(look.OnMeasureItem(mis));
        return mis;
    };
    const MEASUREITEMSTRUCT editer = measure(menu.top.get(), 0);
    EXPECT_EQ(editer.itemHeight, UINT(flat_menu::kItemHeight));
    EXPECT_GT(editer.itemWidth, UINT(flat_menu::MeasuredWidth(20)));
    EXPECT_EQ(measure(menu.top.get(), 7).itemHeight, UINT(flat_menu::kSeparatorHeight));

    // The same caption measured regular and bold (default).
    const MEASUREITEMSTRUCT playing = measure(menu.list, 0);
    ASSERT_TRUE(::SetMenuDefaultItem(menu.list, UINT(-1), TRUE));
    const MEASUREITEMSTRUCT idle = measure(menu.list, 0);
    EXPECT_GT(playing.itemWidth, idle.itemWidth) << "bold needs more room";
}

TEST(FlatMenuLook, DrawsTheFlatLookInItsOwnColours) {
    TrayLikeMenu menu;
    FlatMenuLook look;
    look.Apply(menu.top.get());
    const int width = 160;
    const int height = flat_menu::kItemHeight;
    const flat_menu::ItemLayout layout = flat_menu::LayOutItem({0, 0, width, height});
    const int pictureX = layout.picture.left + 8;
    const int pictureY = layout.picture.top + 3;  // off the white diagonal
    struct Probe {
        int x, y;
        COLORREF expected;
    };
    struct Case {
        const char* name;
        HMENU menu;
        UINT position;
        UINT itemState;
        std::vector<Probe> probes;
    } cases[] = {
        {"plain item", menu.top.get(), 0, 0,
         {{1, 1, kColumn}, {layout.column.right + 2, 2, kWhite}, {width - 2, height - 2, kWhite},
          {pictureX, pictureY, RGB(90, 90, 200)}, {layout.picture.left + 5, layout.picture.top + 5, kWhite}}},
        {"highlighted item", menu.top.get(), 2, ODS_SELECTED,
         {{0, 0, kHighlightBorder}, {width - 1, height - 1, kHighlightBorder}, {1, 1, kHighlight},
          {layout.column.right + 2, 2, kHighlight}, {pictureX, pictureY, RGB(200, 30, 30)}}},
        {"separator", menu.top.get(), 7, 0,
         {{1, 1, kColumn}, {layout.caption.left + 4, flat_menu::SeparatorRow({0, 0, width, height}), kSeparator},
          {layout.caption.left + 4, 1, kWhite}}},
        {"checked item with picture", menu.list, 0, 0,
         {{layout.checkFrame.left, layout.checkFrame.top, kNavy},
          {layout.checkFrame.right - 1, layout.checkFrame.bottom - 1, kNavy},
          {layout.checkFrame.left + 1, layout.checkFrame.top + 1, kHighlight},
          {pictureX, pictureY, RGB(200, 60, 40)}, {layout.checkBadge.left, layout.checkBadge.top, kNavy},
          {layout.checkBadge.left + 1, layout.checkBadge.top + 1, kWhite}}},
        {"unchecked item with picture", menu.list, 1, 0,
         {{layout.checkFrame.left, layout.checkFrame.top, kColumn},
          {layout.checkBadge.left + 1, layout.checkBadge.top + 1, RGB(40, 140, 60)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ItemCanvas canvas(width, height);
        ASSERT_TRUE(canvas.Draw(look, c.menu, c.position, c.itemState));
        for (const Probe& p : c.probes)
            EXPECT_EQ(canvas.At(p.x, p.y), p.expected)
                << "at " << p.x << "," << p.y << ": " << Hex(canvas.At(p.x, p.y)) << " instead of " << Hex(p.expected);
    }
}

TEST(FlatMenuLook, DrawsATickForACheckedItemWithoutPictureAndAnArrowForASubmenu) {
    TrayLikeMenu menu;
    FlatMenuLook look;
    look.Apply(menu.top.get());
    ::CheckMenuItem(menu.list, 2, MF_BYPOSITION | MF_CHECKED);
    const int width = 160;
    const flat_menu::ItemLayout layout = flat_menu::LayOutItem({0, 0, width, flat_menu::kItemHeight});
    ItemCanvas canvas(width, flat_menu::kItemHeight);

    auto count = [&](const flat_menu::Box& box, COLORREF colour) {
        int n = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) n += canvas.At(x, y) == colour;
        return n;
    };
    ASSERT_TRUE(canvas.Draw(look, menu.list, 2, 0));
    EXPECT_GT(count(layout.picture, kNavy), 15) << "a tick of navy pixels";
    ASSERT_TRUE(canvas.Draw(look, menu.list, 1, 0));
    EXPECT_EQ(count(layout.picture, kNavy), 0) << "no tick on an unchecked item";

    ASSERT_TRUE(canvas.Draw(look, menu.top.get(), 1, 0));
    EXPECT_GT(count(layout.arrow, RGB(0, 0, 0)), 5) << "\"Ma liste\" shows its arrow";
    ASSERT_TRUE(canvas.Draw(look, menu.top.get(), 0, 0));
    EXPECT_EQ(count(layout.arrow, RGB(0, 0, 0)), 0);
}

TEST(FlatMenuLook, OpenMenuShowsTheLookAndItsSubmenu) {
    TrayLikeMenu menu;
    FlatMenuLook look;
    look.Apply(menu.top.get());
    MenuOwner owner(look);
    owner.Open(menu.top.get(), 40, 40);
    EXPECT_EQ(owner.popupsOpened, 2) << "the menu and \"Ma liste\"";
    EXPECT_EQ(owner.measured, 12) << "nine items and three entries";
    EXPECT_GE(owner.drawn, 12);
    if (owner.screenshot.empty()) GTEST_SKIP() << "no screenshot could be taken";
    std::printf("screenshot: %s\n", owner.screenshot.c_str());
}
