// The balloon hint window: the program's help balloons, drawn by the kit (a
// rounded pale yellow balloon with a tail, a title line with a 16x16 picture
// in bold, then the hint text on as many lines as it needs).
//
//   BalloonHint balloon;                      a hidden top-most tool window of
//                                             class kClassName, never activated
//   balloon.SetTitlePictures(&list)           the title pictures (not owned)
//   balloon.ShowFor(control, screenPoint, title, pictureIndex, text)
//       call on every mouse move over a control whose balloon is on: after
//       500 ms of rest on the control the balloon opens to the upper right of
//       the pointer (kept on screen), 2500 ms later it closes, and it opens
//       again only once the pointer has left the control and come back. It
//       shows the title and picture of the latest call; an empty title shows
//       no title line. A line break in the text is "\r" (or "\r\n", "\n").
//   balloon.Cancel()                          forget the control, close now
//   balloon.Visible()
// While open its window text is the title, "\r\n" and the text (the text
// alone without a title), for readers from outside the program.
#pragma once
#include <windows.h>

#include <string>

#include "ui/balloon_hint_layout.h"
#include "ui/png_image_list_win32.h"
#include "win/handles_win32.h"
#include "win/simple_timer_win32.h"
#include "win/window_win32.h"

class BalloonHint : public Window {
public:
    static constexpr const char* kClassName = "SonorafluxBalloonHint";
    // How often the pointer is looked at while a balloon is pending or open.
    static constexpr UINT kPollMs = 50;

    BalloonHint();
    ~BalloonHint() override;

    void SetTitlePictures(const PngImageList* pictures) noexcept { pictures_ = pictures; }
    void ShowFor(HWND control, POINT screenPoint, const std::string& title, int pictureIndex, const std::string& text);
    void Cancel();
    bool Visible() const noexcept;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Poll();
    void Apply(balloon_hint::HintSchedule::Action action);
    void Open();
    void Close();
    void Paint(HDC dc);
    balloon_hint::Size MeasureBody(HDC dc) const;
    bool PointerOnControl(POINT& pointer) const;

    balloon_hint::HintSchedule schedule_;
    TSimpleTimer poll_;
    HWND control_ = nullptr;
    std::string title_;
    std::string lines_;
    int picture_ = 0;
    const PngImageList* pictures_ = nullptr;
    UniqueFont titleFont_;
    UniqueFont textFont_;
    balloon_hint::Placement placement_{};
};
