// Base of the kit's child controls (picture buttons, clickable pictures, the
// frame animator): real system children (BUTTON or STATIC) with a stable
// control id, so that another process reads their text with WM_GETTEXT, sees
// IsWindowEnabled and clicks a button with BM_CLICK.
//
//   control.Handle(), Id()
//   SetOnClick(f)            f() on a click (BN_CLICKED / STN_CLICKED and
//                            their double clicks); never while disabled
//   SetOnMouseMove(f)        f(id, screenPoint) on every mouse move over the
//                            control: where the owner prepares a help balloon
//   SetEnabled(b), Enabled(), SetVisible(b), Visible()
//   SetText(s), Text()       the window text (buttons draw it as caption)
//   SetCursor(cursor)        the pointer over the control (not owned; nullptr:
//                            the standard arrow)
//   MoveTo(place)
//
// The keyboard: a control with WS_TABSTOP (see ui/tab_stops_win32.h) takes
// the focus, shows it, and Space presses it; its window text is the name a
// screen reader says.
//
// The kit draws the controls itself: it takes over WM_DRAWITEM and the click
// notifications of its own controls at their parent (a subclass of the parent
// window, shared by every kit control of that parent); every other message of
// the parent reaches its own window procedure unchanged. Exceptions thrown by
// the callbacks end in the general error box, never across the window procedure.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

struct ControlPlace {
    int left;
    int top;
    int width;
    int height;
};

class KitControl {
public:
    KitControl(const KitControl&) = delete;
    KitControl& operator=(const KitControl&) = delete;
    virtual ~KitControl();

    HWND Handle() const noexcept { return hwnd_; }
    int Id() const noexcept { return id_; }

    void SetOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }
    void SetOnMouseMove(std::function<void(int id, POINT screenPoint)> onMouseMove) {
        onMouseMove_ = std::move(onMouseMove);
    }

    void SetEnabled(bool enabled);
    bool Enabled() const noexcept;
    void SetVisible(bool visible);
    bool Visible() const noexcept;
    void SetText(const std::string& text);
    std::string Text() const;
    void SetCursor(HCURSOR cursor) noexcept { cursor_ = cursor; }
    void MoveTo(const ControlPlace& place);

    // The font of the kit's controls: Tahoma 8, as the flat menus.
    static HFONT KitFont();

protected:
    KitControl() = default;

    // Creates the child; throws std::runtime_error when the system refuses.
    void CreateChild(const char* className, DWORD style, HWND parent, int id, const ControlPlace& place,
                     const std::string& text);

    // Messages of the child, after the kit's own handling; default: the
    // system control's procedure.
    virtual LRESULT ChildMessage(UINT msg, WPARAM wp, LPARAM lp) { return CallOriginal(msg, wp, lp); }
    LRESULT CallOriginal(UINT msg, WPARAM wp, LPARAM lp);

    // Draws the control (owner-drawn): the DC and rectangle of the item.
    virtual void Draw(HDC dc, const RECT& place, UINT itemState) = 0;

    bool Hovered() const noexcept { return hovered_; }
    void Redraw() const noexcept;

    // The control has the focus and the focus is to be shown (the keyboard
    // was used in the window). Pictures show it with a dotted frame round
    // their place, in a colour that stands out from what lies beneath.
    static bool ShowsFocus(UINT itemState) noexcept;
    static void DrawDottedFrame(HDC dc, const RECT& place, COLORREF colour);

private:
    friend class ControlRouter;
    static LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnChildMessage(UINT msg, WPARAM wp, LPARAM lp);
    void DrawItem(const DRAWITEMSTRUCT& item);
    void StaticKey(UINT msg, WPARAM wp, LPARAM lp);
    bool IsClick(WORD code) const noexcept;
    void Clicked();
    void Detach() noexcept;

    HWND hwnd_ = nullptr;
    HWND parent_ = nullptr;
    WNDPROC original_ = nullptr;
    int id_ = 0;
    bool hovered_ = false;
    bool isStatic_ = false;
    HCURSOR cursor_ = nullptr;
    std::function<void()> onClick_;
    std::function<void(int, POINT)> onMouseMove_;
};
