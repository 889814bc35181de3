#include "ui/kit_control_win32.h"

#include <map>
#include <stdexcept>

#include "win/error_box_win32.h"
#include "win/handles_win32.h"
#include "win/window_text_win32.h"

namespace {
constexpr const char* kRouterProperty = "SonorafluxKitRouter";
}  // namespace

// Sits in front of a parent's window procedure and hands the kit's children
// their own WM_DRAWITEM and click notifications. One per parent; it goes away
// with the parent window.
class ControlRouter {
public:
    static void Add(HWND parent, KitControl* control) {
        ControlRouter* router = Of(parent);
        if (!router) {
            router = new ControlRouter;
            if (!::SetPropA(parent, kRouterProperty, router)) {
                delete router;
                throw std::runtime_error("Ooops ! Contrôle impossible à rattacher à sa fenêtre");
            }
            router->original_ = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlRouter::Proc)));
        }
        router->controls_[control->Handle()] = control;
    }

    static void Remove(HWND parent, HWND child) noexcept {
        if (ControlRouter* router = parent ? Of(parent) : nullptr) router->controls_.erase(child);
    }

private:
    static ControlRouter* Of(HWND parent) { return static_cast<ControlRouter*>(::GetPropA(parent, kRouterProperty)); }

    KitControl* Find(HWND child) const {
        const auto it = controls_.find(child);
        return it == controls_.end() ? nullptr : it->second;
    }

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        ControlRouter* router = Of(hwnd);
        if (!router) return ::DefWindowProcA(hwnd, msg, wp, lp);
        LRESULT result = 0;
        if (router->Route(msg, wp, lp, result)) return result;
        const WNDPROC original = router->original_;
        if (msg == WM_NCDESTROY) {
            ::RemovePropA(hwnd, kRouterProperty);
            ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
            delete router;
        }
        return ::CallWindowProcA(original, hwnd, msg, wp, lp);
    }

    bool Route(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
        if (msg == WM_DRAWITEM) {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            KitControl* control = Find(item->hwndItem);
            if (!control) return false;
            GuardedCall([&] { control->DrawItem(*item); });
            result = TRUE;
            return true;
        }
        if (msg == WM_COMMAND && lp) {
            KitControl* control = Find(reinterpret_cast<HWND>(lp));
            if (!control || !control->IsClick(HIWORD(wp))) return false;
            GuardedCall([&] { control->Clicked(); });
            result = 0;
            return true;
        }
        return false;
    }

    WNDPROC original_ = nullptr;
    std::map<HWND, KitControl*> controls_;
};

KitControl::~KitControl() {
    if (!hwnd_) return;
    HWND hwnd = hwnd_;
    Detach();
    ::DestroyWindow(hwnd);
}

void KitControl::Detach() noexcept {
    ControlRouter::Remove(parent_, hwnd_);
    ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
}

HFONT KitControl::KitFont() {
    // Tahoma 8 points: 11 pixels of character height.
    static const UniqueFont font(::CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                               DEFAULT_PITCH | FF_SWISS, "Tahoma"));
    return font ? font.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void KitControl::CreateChild(const char* className, DWORD style, HWND parent, int id, const ControlPlace& place,
                             const std::string& text) {
    if (hwnd_) throw std::logic_error("Ooops ! Contrôle déjà créé");
    HWND hwnd = ::CreateWindowExA(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                                  place.width, place.height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr),
                                  nullptr);
    if (!hwnd) throw std::runtime_error("Ooops ! Impossible de créer le contrôle " + text);
    hwnd_ = hwnd;
    parent_ = parent;
    isStatic_ = ::lstrcmpiA(className, "STATIC") == 0;
    id_ = id;
    ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(KitFont()), FALSE);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KitControl::ChildProc)));
    try {
        ControlRouter::Add(parent, this);
    } catch (...) {
        Detach();
        ::DestroyWindow(hwnd);
        throw;
    }
}

LRESULT CALLBACK KitControl::ChildProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<KitControl*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        // Destroyed with its parent: the object lives on without a window.
        const WNDPROC original = self->original_;
        self->Detach();
        return ::CallWindowProcA(original, hwnd, msg, wp, lp);
    }
    try {
        return self->OnChildMessage(msg, wp, lp);
    } catch (...) {
        ShowCurrentException();
        return 0;
    }
}

LRESULT KitControl::OnChildMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_MOUSEMOVE: {
            if (!hovered_) {
                hovered_ = true;
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
                ::TrackMouseEvent(&track);
                Redraw();
            }
            if (onMouseMove_) {
                POINT screen{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
                ::ClientToScreen(hwnd_, &screen);
                onMouseMove_(id_, screen);
            }
            break;
        }
        case WM_MOUSELEAVE:
            hovered_ = false;
            Redraw();
            break;
        case WM_ENABLE:
            if (!wp) hovered_ = false;
            Redraw();
            break;
        case WM_SETCURSOR:
            if (cursor_ && LOWORD(lp) == HTCLIENT) {
                ::SetCursor(cursor_);
                return TRUE;
            }
            break;
        case WM_ERASEBKGND:
            return 1;  // Draw paints every pixel
        default:
            if (isStatic_) StaticKey(msg, wp, lp);
            break;
    }
    return ChildMessage(msg, wp, lp);
}

// A picture takes the focus from the keyboard only: it shows it, and Space
// presses it as a button's does (Enter comes through the window, see
// win/dialog_keys_win32.h).
void KitControl::StaticKey(UINT msg, WPARAM wp, LPARAM lp) {
    const bool firstPress = (lp & (1 << 30)) == 0;
    if (msg == WM_KEYDOWN && wp == VK_SPACE && firstPress) Clicked();
    if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS || msg == WM_UPDATEUISTATE) Redraw();
}

LRESULT KitControl::CallOriginal(UINT msg, WPARAM wp, LPARAM lp) {
    return ::CallWindowProcA(original_, hwnd_, msg, wp, lp);
}

void KitControl::DrawItem(const DRAWITEMSTRUCT& item) {
    const RECT& place = item.rcItem;
    // The system says it for buttons, not for static controls.
    UINT state = item.itemState;
    if (isStatic_ && ::GetFocus() == hwnd_) {
        state |= ODS_FOCUS;
        if (::SendMessageA(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) state |= ODS_NOFOCUSRECT;
    }
    const int width = place.right - place.left, height = place.bottom - place.top;
    if (width <= 0 || height <= 0) return;
    // Drawn off screen first, then copied: no flicker on hover.
    UniqueMemoryDc memory(::CreateCompatibleDC(item.hDC));
    UniqueBitmap surface(::CreateCompatibleBitmap(item.hDC, width, height));
    if (!memory || !surface) {
        Draw(item.hDC, place, state);
        return;
    }
    SelectedObject selected(memory.get(), surface.get());
    ::SetWindowOrgEx(memory.get(), place.left, place.top, nullptr);
    Draw(memory.get(), place, state);
    ::SetWindowOrgEx(memory.get(), 0, 0, nullptr);
    ::BitBlt(item.hDC, place.left, place.top, width, height, memory.get(), 0, 0, SRCCOPY);
}

bool KitControl::IsClick(WORD code) const noexcept {
    // A double click is two clicks to the user; the second one arrives as the
    // double-click notification only.
    return isStatic_ ? (code == STN_CLICKED || code == STN_DBLCLK) : (code == BN_CLICKED || code == BN_DOUBLECLICKED);
}

void KitControl::Clicked() {
    if (hwnd_ && ::IsWindowEnabled(hwnd_) && onClick_) onClick_();
}

bool KitControl::ShowsFocus(UINT itemState) noexcept {
    return (itemState & ODS_FOCUS) && !(itemState & ODS_NOFOCUSRECT);
}

void KitControl::DrawDottedFrame(HDC dc, const RECT& place, COLORREF colour) {
    for (LONG x = place.left; x < place.right; x += 2) {
        ::SetPixelV(dc, x, place.top, colour);
        ::SetPixelV(dc, x, place.bottom - 1, colour);
    }
    for (LONG y = place.top; y < place.bottom; y += 2) {
        ::SetPixelV(dc, place.left, y, colour);
        ::SetPixelV(dc, place.right - 1, y, colour);
    }
}

void KitControl::Redraw() const noexcept {
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void KitControl::SetEnabled(bool enabled) {
    if (hwnd_) ::EnableWindow(hwnd_, enabled);
}

bool KitControl::Enabled() const noexcept { return hwnd_ && ::IsWindowEnabled(hwnd_); }

void KitControl::SetVisible(bool visible) {
    if (hwnd_) ::ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool KitControl::Visible() const noexcept { return hwnd_ && (::GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE); }

void KitControl::SetText(const std::string& text) {
    if (hwnd_) ::SetWindowTextA(hwnd_, text.c_str());
    Redraw();
}

std::string KitControl::Text() const {
    if (!hwnd_) return {};
    return WindowText(hwnd_);
}

void KitControl::MoveTo(const ControlPlace& place) {
    if (hwnd_) ::MoveWindow(hwnd_, place.left, place.top, place.width, place.height, TRUE);
}
