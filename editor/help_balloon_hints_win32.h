// The program's one balloon-hint component: it watches the controls that the
// windows attach, and when the pointer has rested 500 ms on one whose balloon
// is on, shows the balloon at the pointer for 2500 ms. What a balloon says
// comes from HelpBalloons; drawing it is the balloon window's business.
#pragma once
#include <windows.h>

#include <memory>

#include "editor/help_balloons.h"
#include "win/window_win32.h"

// The window that draws a balloon: title with its picture, and the text.
class BalloonPresenter {
public:
    virtual ~BalloonPresenter() = default;
    // Opens the balloon with its stem at the point (screen coordinates).
    virtual void ShowBalloon(const HelpBalloon& balloon, POINT at) = 0;
    virtual void HideBalloon() = 0;
};

class HelpBalloonHints : private MessageWindow {
public:
    static constexpr UINT kRestMs = 500;
    static constexpr UINT kShowMs = 2500;

    // Both must outlive the component.
    HelpBalloonHints(HelpBalloons& balloons, BalloonPresenter& presenter);
    ~HelpBalloonHints() override;

    // Watches a control under its balloon key (registered in HelpBalloons).
    // The control must live no longer than this component.
    void Attach(HWND control, int key);

    HelpBalloons& Balloons() { return balloons_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR key, DWORD_PTR self);
    void PointerOver(HWND control, int key);
    void PointerGone(HWND control);
    void ShowNow();
    void Close();

    HelpBalloons& balloons_;
    BalloonPresenter& presenter_;
    HWND hovered_ = nullptr;
    int hoveredKey_ = 0;
    bool shown_ = false;
};
