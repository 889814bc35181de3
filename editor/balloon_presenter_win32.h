// The window that draws the help balloons: a balloon-shaped tip with a title
// line (picture and title) above the hint text, its stem at the pointer.
#pragma once
#include <windows.h>

#include <string>

#include "editor/help_balloon_hints_win32.h"
#include "win/handles_win32.h"

class BalloonWindow : public BalloonPresenter {
public:
    explicit BalloonWindow(HINSTANCE instance);
    BalloonWindow(const BalloonWindow&) = delete;
    BalloonWindow& operator=(const BalloonWindow&) = delete;
    ~BalloonWindow() override;

    void ShowBalloon(const HelpBalloon& balloon, POINT at) override;
    void HideBalloon() override;
    HWND Handle() const { return tip_.get(); }

private:
    UniqueWindow tip_;
    std::string text_;
};
