// The program's one balloon-hint component: every window hands it the mouse
// moves over its controls; it asks HelpBalloons what the control's balloon
// says (nothing while its flag is cleared) and lets the kit's balloon window
// open it after the pointer has rested there.
//
//   hints.Attach(control, key)          any child window: its mouse moves are
//                                       watched (edits, up-downs, labels...)
//   hints.PointerMoved(control, key, screenPoint)
//                                       for controls that report their mouse
//                                       moves themselves (the kit's controls:
//                                       call it from SetOnMouseMove)
// key is the control's key in HelpBalloons (registered by its window).
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "editor/help_balloons.h"
#include "ui/balloon_hint_win32.h"
#include "ui/mouse_move_watch_win32.h"
#include "ui/png_image_list_win32.h"

class HelpBalloonHints {
public:
    // balloons must outlive the component; the title pictures are the
    // program's thirteen numbered help-balloon pictures.
    explicit HelpBalloonHints(HelpBalloons& balloons);
    HelpBalloonHints(const HelpBalloonHints&) = delete;
    HelpBalloonHints& operator=(const HelpBalloonHints&) = delete;

    // The control must live no longer than this component.
    void Attach(HWND control, int key);
    void PointerMoved(HWND control, int key, POINT screenPoint);

    HelpBalloons& Balloons() { return balloons_; }
    const BalloonHint& Balloon() const { return balloon_; }

private:
    HelpBalloons& balloons_;
    PngImageList titlePictures_;
    BalloonHint balloon_;
    std::vector<std::unique_ptr<MouseMoveWatch>> watches_;
};
