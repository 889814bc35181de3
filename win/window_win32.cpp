#include "win/window_win32.h"

#include <stdexcept>
#include <string>

#include "win/dialog_keys_win32.h"
#include "win/error_box_win32.h"

namespace {
void RegisterClassOnce(const char* className, HICON icon, HBRUSH background, LRESULT(CALLBACK* proc)(HWND, UINT, WPARAM, LPARAM)) {
    WNDCLASSEXA existing{sizeof(existing)};
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (::GetClassInfoExA(instance, className, &existing)) return;
    WNDCLASSEXA wc{sizeof(wc)};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    if (!::RegisterClassExA(&wc)) throw std::runtime_error(std::string("RegisterClass failed: ") + className);
}
}  // namespace

Window::~Window() {
    if (hwnd_) {
        // Detach first: the destroy messages must not reach a half-destroyed object.
        ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

void Window::Destroy() noexcept {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void Window::Create(const CreateParams& p) {
    RegisterClassOnce(p.className, p.icon, p.background, &Window::Thunk);
    int width = p.width, height = p.height;
    if (p.clientSize) {
        RECT frame{0, 0, width, height};
        ::AdjustWindowRectEx(&frame, p.style, FALSE, p.exStyle);
        width = frame.right - frame.left;
        height = frame.bottom - frame.top;
    }
    HWND hwnd = ::CreateWindowExA(p.exStyle, p.className, p.title, p.style, p.x, p.y, width, height, p.parent,
                                  nullptr, ::GetModuleHandleA(nullptr), this);
    if (!hwnd) throw std::runtime_error(std::string("Impossible de créer la fenêtre ") + p.className);
}

Window::CreateParams Window::FixedWindowParams(HINSTANCE instance, const char* className, const char* title,
                                              HWND owner, DWORD style, DWORD exStyle, int clientWidth,
                                              int clientHeight) {
    CreateParams params{className, title, style, exStyle};
    params.width = clientWidth;
    params.height = clientHeight;
    params.clientSize = true;
    params.parent = owner;
    params.icon = ::LoadIconA(instance, "MAINICON");
    return params;
}

void Window::ShowCentredInFront() {
    if (::IsIconic(hwnd_)) ::ShowWindow(hwnd_, SW_RESTORE);
    RECT window{};
    ::GetWindowRect(hwnd_, &window);
    const int width = window.right - window.left, height = window.bottom - window.top;
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    ::SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (dialogKeys_ && KeepFocus(msg, wp, lp)) return 0;
    return ::DefWindowProcA(hwnd_, msg, wp, lp);
}

void Window::UseDialogKeys(int firstFocus, HACCEL shortcuts) {
    dialogKeys_ = true;
    firstFocus_ = firstFocus;
    MarkForDialogKeys(hwnd_, shortcuts);
}

// Left to the system, an activated window takes the focus itself, where no
// key reaches a control. A hidden window keeps it (the tray menu activates
// the hidden main window): its controls must not take keys.
bool Window::KeepFocus(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SHOWWINDOW && wp && lp == 0) {
        keptFocus_ = nullptr;
        // Already active, the window gets no activation when it shows.
        if (::GetActiveWindow() == hwnd_) FocusControl(::GetDlgItem(hwnd_, firstFocus_));
        return false;
    }
    if (msg != WM_ACTIVATE || HIWORD(wp)) return false;
    if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd_, focus)) keptFocus_ = focus;
        return false;
    }
    if (!::IsWindowVisible(hwnd_)) return false;
    HWND target = keptFocus_ && ::IsWindowVisible(keptFocus_) && ::IsWindowEnabled(keptFocus_)
                      ? keptFocus_
                      : ::GetDlgItem(hwnd_, firstFocus_);
    if (!target) return false;
    FocusControl(target);
    return true;
}

LRESULT CALLBACK Window::Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        auto* self = static_cast<Window*>(cs->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(hwnd, msg, wp, lp);
    LRESULT result = self->Dispatch(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        if (self->dialogKeys_) UnmarkForDialogKeys(hwnd);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnFinalMessage();
    }
    return result;
}

LRESULT Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    try {
        return HandleMessage(msg, wp, lp);
    } catch (...) {
        ShowCurrentException();
        return 0;
    }
}

void MessageWindow::CreateMessageOnly(const char* className) {
    CreateParams p{className};
    p.style = 0;
    p.x = p.y = p.width = p.height = 0;
    p.parent = HWND_MESSAGE;
    p.background = nullptr;
    Create(p);
}
