#include "editor/help_balloon_hints_win32.h"

#include <commctrl.h>

#include "ui/ui_pictures.h"

HelpBalloonHints::HelpBalloonHints(HelpBalloons& balloons)
    : balloons_(balloons), titlePictures_(PngImageList::FromResources(ui_pictures::kBalloonTitlePictures)) {
    balloon_.SetTitlePictures(&titlePictures_);
}

void HelpBalloonHints::Attach(HWND control, int key) {
    ::SetWindowSubclass(control, &HelpBalloonHints::ControlProc, static_cast<UINT_PTR>(key),
                        reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK HelpBalloonHints::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR key,
                                               DWORD_PTR self) {
    if (msg == WM_MOUSEMOVE) {
        POINT screen{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        ::ClientToScreen(hwnd, &screen);
        reinterpret_cast<HelpBalloonHints*>(self)->PointerMoved(hwnd, static_cast<int>(key), screen);
    } else if (msg == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &HelpBalloonHints::ControlProc, key);
    }
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}

// The title follows the pointer even where no balloon shows, so a control
// without a title of its own shows the one set last.
void HelpBalloonHints::PointerMoved(HWND control, int key, POINT screenPoint) {
    balloons_.PointerMoved(key);
    if (const auto balloon = balloons_.BalloonFor(key))
        balloon_.ShowFor(control, screenPoint, balloon->title, balloon->picture, balloon->hint);
}
