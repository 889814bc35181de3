// The flat menu look: every item of a menu, submenus included, becomes an
// owner-drawn item on a white background with a pale blue icon column, a
// framed highlight, the default item in bold and a navy check mark.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "win/handles_win32.h"

class FlatMenuLook {
public:
    // Creates the fonts and brushes; throws std::runtime_error when the system refuses.
    FlatMenuLook();
    FlatMenuLook(const FlatMenuLook&) = delete;
    FlatMenuLook& operator=(const FlatMenuLook&) = delete;

    // Gives every item of the menu and of its submenus the look. The item keeps
    // its caption as its string (menu readers still see it), its picture
    // (MIIM_BITMAP), state and submenu; the look takes over its item data
    // (dwItemData). Apply again after adding or removing items; the look must
    // outlive the menus it styled.
    void Apply(HMENU menu);

    // The menu owner's WM_MEASUREITEM and WM_DRAWITEM go here; both return false
    // for items that are not ours, which the owner then handles as before.
    bool OnMeasureItem(MEASUREITEMSTRUCT& measure);
    bool OnDrawItem(const DRAWITEMSTRUCT& draw);

private:
    // What dwItemData of a styled item points to.
    struct ItemRef {
        HMENU menu;
        UINT position;
    };
    // The item as it is when drawn: read afresh each time, so that marks set
    // after Apply (default, check) show.
    struct ItemState {
        std::string caption;
        UINT type = 0;
        UINT state = 0;
        HBITMAP picture = nullptr;
        HMENU submenu = nullptr;
    };

    void ForgetItemsOf(HMENU menu);
    const ItemRef* Find(ULONG_PTR itemData) const;
    static bool Read(const ItemRef& ref, ItemState& item);
    void DrawPicture(HDC dc, HBITMAP picture, const RECT& place) const;
    void DrawCheckMark(HDC dc, const RECT& box) const;
    void DrawArrow(HDC dc, const RECT& box) const;

    UniqueFont regular_;
    UniqueFont bold_;
    UniqueBrush background_;
    UniqueBrush column_;
    UniqueBrush highlight_;
    UniqueBrush highlightBorder_;
    UniqueBrush checkFrame_;
    UniquePen separator_;
    UniquePen check_;
    UniqueBrush arrow_;
    std::unordered_map<HMENU, std::vector<std::unique_ptr<ItemRef>>> items_;
    std::unordered_set<const ItemRef*> known_;
};
