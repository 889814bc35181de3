#include "ui/flat_menu_win32.h"

#include <stdexcept>

#include "ui/flat_menu_layout.h"

namespace {
// Fixed colours: the menu background is always white, so the caption colour
// must not follow a system setting that could make it white as well.
constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kColumn = RGB(227, 234, 246);
constexpr COLORREF kHighlight = RGB(198, 211, 239);
constexpr COLORREF kHighlightBorder = RGB(49, 105, 198);
constexpr COLORREF kSeparator = RGB(141, 171, 220);
constexpr COLORREF kCheck = RGB(0, 0, 128);
constexpr COLORREF kCaption = RGB(0, 0, 0);
constexpr COLORREF kDisabledCaption = RGB(255, 255, 255);

// Tahoma 8 points: 11 pixels of character height.
constexpr int kFontHeight = 11;

UniqueFont MakeFont(int weight) {
    UniqueFont font(::CreateFontA(-kFontHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_SWISS, "Tahoma"));
    if (!font) throw std::runtime_error("Impossible de créer la police des menus");
    return font;
}

UniqueBrush MakeBrush(COLORREF colour) {
    UniqueBrush brush(::CreateSolidBrush(colour));
    if (!brush) throw std::runtime_error("Impossible de créer les couleurs des menus");
    return brush;
}

UniquePen MakePen(COLORREF colour) {
    UniquePen pen(::CreatePen(PS_SOLID, 1, colour));
    if (!pen) throw std::runtime_error("Impossible de créer les couleurs des menus");
    return pen;
}

RECT ToRect(const flat_menu::Box& b) { return RECT{b.left, b.top, b.right, b.bottom}; }

flat_menu::Box ToBox(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// HBMMENU_* values stand for pictures the system draws; only a real bitmap is ours to draw.
bool IsRealBitmap(HBITMAP picture) {
    const auto value = reinterpret_cast<ULONG_PTR>(picture);
    return picture && picture != HBMMENU_CALLBACK && value > reinterpret_cast<ULONG_PTR>(HBMMENU_POPUP_MINIMIZE);
}

const UINT kCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS;
}  // namespace

FlatMenuLook::FlatMenuLook()
    : regular_(MakeFont(FW_NORMAL)),
      bold_(MakeFont(FW_BOLD)),
      background_(MakeBrush(kBackground)),
      column_(MakeBrush(kColumn)),
      highlight_(MakeBrush(kHighlight)),
      highlightBorder_(MakeBrush(kHighlightBorder)),
      checkFrame_(MakeBrush(kCheck)),
      separator_(MakePen(kSeparator)),
      check_(MakePen(kCheck)),
      arrow_(MakeBrush(kCaption)) {}

void FlatMenuLook::Apply(HMENU menu) {
    const int count = ::GetMenuItemCount(menu);
    if (count < 0) throw std::runtime_error("Menu introuvable");
    ForgetItemsOf(menu);
    // Menus destroyed since they were styled leave nothing behind either.
    std::vector<HMENU> gone;
    for (const auto& [styled, refs] : items_)
        if (!::IsMenu(styled)) gone.push_back(styled);
    for (HMENU styled : gone) ForgetItemsOf(styled);
    auto& refs = items_[menu];
    for (int position = 0; position < count; ++position) {
        auto ref = std::make_unique<ItemRef>(ItemRef{menu, static_cast<UINT>(position)});
        MENUITEMINFOA info{sizeof(info)};
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        if (!::GetMenuItemInfoA(menu, position, TRUE, &info)) throw std::runtime_error("Article de menu illisible");
        // Only the type and the data change: the caption stays the item's string.
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        info.fType |= MFT_OWNERDRAW;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(ref.get());
        if (!::SetMenuItemInfoA(menu, position, TRUE, &info)) throw std::runtime_error("Article de menu inchangeable");
        known_.insert(ref.get());
        refs.push_back(std::move(ref));
        if (info.hSubMenu) Apply(info.hSubMenu);
    }
    MENUINFO look{sizeof(look)};
    look.fMask = MIM_BACKGROUND;
    look.hbrBack = background_.get();
    ::SetMenuInfo(menu, &look);
}

void FlatMenuLook::ForgetItemsOf(HMENU menu) {
    const auto found = items_.find(menu);
    if (found == items_.end()) return;
    for (const auto& ref : found->second) known_.erase(ref.get());
    items_.erase(found);
}

const FlatMenuLook::ItemRef* FlatMenuLook::Find(ULONG_PTR itemData) const {
    const auto* ref = reinterpret_cast<const ItemRef*>(itemData);
    return known_.count(ref) ? ref : nullptr;
}

bool FlatMenuLook::Read(const ItemRef& ref, ItemState& item) {
    MENUITEMINFOA info{sizeof(info)};
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU | MIIM_BITMAP | MIIM_DATA;
    if (!::GetMenuItemInfoA(ref.menu, ref.position, TRUE, &info)) return false;
    // Changed since Apply without a new Apply: not the item we styled.
    if (info.dwItemData != reinterpret_cast<ULONG_PTR>(&ref)) return false;
    item.type = info.fType;
    item.state = info.fState;
    item.picture = info.hbmpItem;
    item.submenu = info.hSubMenu;
    item.caption.clear();
    if (info.cch) {
        std::string buffer(info.cch + 1, '\0');
        info.fMask = MIIM_STRING;
        info.dwTypeData = buffer.data();
        info.cch = static_cast<UINT>(buffer.size());
        if (!::GetMenuItemInfoA(ref.menu, ref.position, TRUE, &info)) return false;
        item.caption.assign(buffer.data(), info.cch);
    }
    return true;
}

bool FlatMenuLook::OnMeasureItem(MEASUREITEMSTRUCT& measure) {
    if (measure.CtlType != ODT_MENU) return false;
    const ItemRef* ref = Find(measure.itemData);
    ItemState item;
    if (!ref || !Read(*ref, item)) return false;
    if (item.type & MFT_SEPARATOR) {
        measure.itemWidth = flat_menu::MeasuredWidth(0);
        measure.itemHeight = flat_menu::kSeparatorHeight;
        return true;
    }
    HDC screen = ::GetDC(nullptr);
    SIZE extent{};
    {
        SelectedObject font(screen, (item.state & MFS_DEFAULT) ? bold_.get() : regular_.get());
        ::GetTextExtentPoint32A(screen, item.caption.c_str(), static_cast<int>(item.caption.size()), &extent);
    }
    ::ReleaseDC(nullptr, screen);
    measure.itemWidth = flat_menu::MeasuredWidth(extent.cx);
    measure.itemHeight = flat_menu::kItemHeight;
    return true;
}

bool FlatMenuLook::OnDrawItem(const DRAWITEMSTRUCT& draw) {
    if (draw.CtlType != ODT_MENU) return false;
    const ItemRef* ref = Find(draw.itemData);
    ItemState item;
    if (!ref || !Read(*ref, item)) return false;
    HDC dc = draw.hDC;
    const flat_menu::ItemLayout layout = flat_menu::LayOutItem(ToBox(draw.rcItem));
    const bool disabled = (item.state & MFS_DISABLED) != 0;
    const bool separator = (item.type & MFT_SEPARATOR) != 0;
    const bool highlighted = (draw.itemState & ODS_SELECTED) && !disabled && !separator;

    const int saved = ::SaveDC(dc);
    RECT whole = draw.rcItem;
    if (highlighted) {
        ::FillRect(dc, &whole, highlight_.get());
        ::FrameRect(dc, &whole, highlightBorder_.get());
    } else {
        ::FillRect(dc, &whole, background_.get());
        RECT column = ToRect(layout.column);
        ::FillRect(dc, &column, column_.get());
    }

    if (separator) {
        SelectedObject pen(dc, separator_.get());
        const int row = flat_menu::SeparatorRow(ToBox(draw.rcItem));
        ::MoveToEx(dc, layout.caption.left, row, nullptr);
        ::LineTo(dc, draw.rcItem.right, row);
        ::RestoreDC(dc, saved);
        return true;
    }

    const bool checked = (item.state & MFS_CHECKED) != 0;
    if (checked) {
        RECT frame = ToRect(layout.checkFrame);
        ::FillRect(dc, &frame, highlight_.get());
        ::FrameRect(dc, &frame, checkFrame_.get());
    }
    RECT picture = ToRect(layout.picture);
    if (IsRealBitmap(item.picture)) {
        DrawPicture(dc, item.picture, picture);
        // The picture fills the frame: a small tick box on its corner says "checked".
        if (checked) {
            RECT badge = ToRect(layout.checkBadge);
            ::FillRect(dc, &badge, background_.get());
            ::FrameRect(dc, &badge, checkFrame_.get());
            ::InflateRect(&badge, -1, -1);
            DrawCheckMark(dc, badge);
        }
    } else if (checked) {
        DrawCheckMark(dc, picture);
    }

    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, disabled ? kDisabledCaption : kCaption);
    {
        SelectedObject font(dc, (item.state & MFS_DEFAULT) ? bold_.get() : regular_.get());
        RECT caption = ToRect(layout.caption);
        ::DrawTextA(dc, item.caption.c_str(), static_cast<int>(item.caption.size()), &caption, kCaptionFormat);
    }

    RECT arrow = ToRect(layout.arrow);
    if (item.submenu) DrawArrow(dc, arrow);
    ::RestoreDC(dc, saved);
    // The system draws its own arrow after us, in system colours; keep it off
    // the item by clipping its place away for the rest of this paint.
    if (item.submenu) ::ExcludeClipRect(dc, arrow.left, arrow.top, arrow.right, arrow.bottom);
    return true;
}

void FlatMenuLook::DrawPicture(HDC dc, HBITMAP picture, const RECT& place) const {
    UniqueMemoryDc source(::CreateCompatibleDC(dc));
    if (!source) return;
    BITMAP info{};
    ::GetObjectA(picture, sizeof(info), &info);
    SelectedObject selected(source.get(), picture);
    // Opaque: every pixel of the picture, none taken as transparent.
    if (info.bmWidth == place.right - place.left && info.bmHeight == place.bottom - place.top) {
        ::BitBlt(dc, place.left, place.top, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
    } else {
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, place.left, place.top, place.right - place.left, place.bottom - place.top, source.get(), 0,
                     0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
}

void FlatMenuLook::DrawCheckMark(HDC dc, const RECT& box) const {
    SelectedObject pen(dc, check_.get());
    const auto stroke = flat_menu::CheckMarkStroke(ToBox(box));
    // Several rows deep, so the tick reads at a glance even in the small box.
    const int depth = box.bottom - box.top >= 12 ? 3 : 2;
    for (int row = 0; row < depth; ++row) {
        ::MoveToEx(dc, stroke[0].x, stroke[0].y + row, nullptr);
        ::LineTo(dc, stroke[1].x, stroke[1].y + row);
        ::LineTo(dc, stroke[2].x + 1, stroke[2].y + row - 1);
    }
}

void FlatMenuLook::DrawArrow(HDC dc, const RECT& box) const {
    const auto triangle = flat_menu::ArrowTriangle(ToBox(box));
    POINT points[3];
    for (int i = 0; i < 3; ++i) points[i] = POINT{triangle[i].x, triangle[i].y};
    SelectedObject brush(dc, arrow_.get());
    SelectedObject pen(dc, ::GetStockObject(NULL_PEN));
    ::Polygon(dc, points, 3);
}
