#include "editor/help_balloon_hints_win32.h"

#include "ui/ui_pictures.h"

HelpBalloonHints::HelpBalloonHints(HelpBalloons& balloons)
    : balloons_(balloons), titlePictures_(PngImageList::FromResources(ui_pictures::kBalloonTitlePictures)) {
    balloon_.SetTitlePictures(&titlePictures_);
}

void HelpBalloonHints::Attach(HWND control, int key) {
    auto watch = std::make_unique<MouseMoveWatch>();
    watch->Watch(control, [this, control, key](int, POINT at) { PointerMoved(control, key, at); });
    watches_.push_back(std::move(watch));
}

// The title follows the pointer even where no balloon shows, so a control
// without a title of its own shows the one set last.
void HelpBalloonHints::PointerMoved(HWND control, int key, POINT screenPoint) {
    balloons_.PointerMoved(key);
    if (const auto balloon = balloons_.BalloonFor(key))
        balloon_.ShowFor(control, screenPoint, balloon->title, balloon->picture, balloon->hint);
}
