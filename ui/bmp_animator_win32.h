// The frame animator: a child window (a STATIC, owner-drawn by the kit) that
// shows one frame of an image list; while active it moves to the next frame
// every 500 ms (0, 1, 2, 3, 0, ...), and stopped it shows frame 0. Used as
// the recording indicator.
//
//   indicator.Create(parent, id, {289, 32, 27, 7},
//       PngImageList::FromStrip(ui_pictures::kIndicator, ui_pictures::kIndicatorFrameWidth));
//   indicator.SetActive(true);  indicator.Active();  indicator.Frame();
// Everything of KitControl applies (id, OnMouseMove for the help balloon...).
#pragma once
#include <optional>

#include "ui/frame_cycle.h"
#include "ui/kit_control_win32.h"
#include "ui/png_image_list_win32.h"
#include "win/simple_timer_win32.h"

class BmpAnimator : public KitControl {
public:
    static constexpr UINT kFrameIntervalMs = 500;

    BmpAnimator();
    ~BmpAnimator() override;

    void Create(HWND parent, int id, const ControlPlace& place, PngImageList frames, const std::string& text = "");
    void SetActive(bool active);
    bool Active() const noexcept { return timer_.Enabled(); }
    int Frame() const noexcept { return cycle_.Current(); }

protected:
    void Draw(HDC dc, const RECT& place, UINT itemState) override;

private:
    void NextFrame();

    std::optional<PngImageList> frames_;
    FrameCycle cycle_;
    TSimpleTimer timer_;
};
