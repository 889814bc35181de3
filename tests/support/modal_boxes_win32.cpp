#include "tests/support/modal_boxes_win32.h"

namespace wine_support {

namespace {
// The closer of this thread that the timer serves (a thread timer has no context).
thread_local ErrorBoxCloser* currentCloser = nullptr;

std::string BoxMessage(HWND box) {
    char text[1024] = {};
    // The message box's text is its static control 0xFFFF.
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}
}  // namespace

ErrorBoxCloser::ErrorBoxCloser() : timer_(::SetTimer(nullptr, 0, 50, CloseErrorBoxes)), previous_(currentCloser) {
    currentCloser = this;
}

ErrorBoxCloser::~ErrorBoxCloser() {
    ::KillTimer(nullptr, timer_);
    currentCloser = previous_;
}

VOID CALLBACK ErrorBoxCloser::CloseErrorBoxes(HWND, UINT, UINT_PTR, DWORD) {
    ErrorBoxCloser* self = currentCloser;
    if (!self) return;
    // A box can open inside another's loop (an error in a notification the
    // first box's loop dispatched): the first one, once told to close, is
    // hidden but lives on until the second closes, so every visible box of
    // this thread is closed, not just the first one found.
    std::erase_if(self->seen_, [](HWND box) { return !::IsWindow(box); });
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND box, LPARAM closer) -> BOOL {
            char className[16] = {}, title[32] = {};
            ::GetClassNameA(box, className, sizeof className);
            ::GetWindowTextA(box, title, sizeof title);
            if (std::string(className) != "#32770" || std::string(title) != "Sonoraflux" || !::IsWindowVisible(box))
                return TRUE;
            auto* owner = reinterpret_cast<ErrorBoxCloser*>(closer);
            // The close is posted: the same box can still be there at the next tick.
            if (owner->seen_.insert(box).second) owner->closed_.push_back(BoxMessage(box));
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(self));
}

namespace {
ModalScript* currentScript = nullptr;
}  // namespace

ModalScript::ModalScript(std::function<bool()> step) : step_(std::move(step)) {
    currentScript = this;
    timer_ = ::SetTimer(nullptr, 0, 100, Tick);
}

ModalScript::~ModalScript() {
    ::KillTimer(nullptr, timer_);
    currentScript = nullptr;
}

VOID CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* self = currentScript;
    if (!self || self->done_ || self->running_) return;
    self->running_ = true;
    self->done_ = self->step_();
    self->running_ = false;
}

}  // namespace wine_support
