// Mouse moves of any child window (an edit field, an up-down control, a
// label) reported to its owner, as the kit's own controls report theirs: the
// way to prepare a help balloon for a system control.
//
//   MouseMoveWatch watch;
//   watch.Watch(editHandle, [this](int id, POINT screen) { ... });
//   watch.Stop();                   also on destruction
// A label (STATIC) sees the mouse only with SS_NOTIFY; Watch adds that style.
// The callback's exceptions end in the general error box.
#pragma once
#include <windows.h>

#include <functional>

class MouseMoveWatch {
public:
    MouseMoveWatch() = default;
    MouseMoveWatch(const MouseMoveWatch&) = delete;
    MouseMoveWatch& operator=(const MouseMoveWatch&) = delete;
    ~MouseMoveWatch() { Stop(); }

    // Throws std::runtime_error when the window cannot be watched.
    void Watch(HWND child, std::function<void(int id, POINT screenPoint)> onMouseMove);
    void Stop() noexcept;
    HWND Watched() const noexcept { return child_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND child_ = nullptr;
    std::function<void(int, POINT)> onMouseMove_;
};
