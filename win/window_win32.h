// Base of every window class: registers its window class once, binds `this` to
// the window at WM_NCCREATE and routes every message through Dispatch, the one
// place where exceptions are caught and shown in the general error box.
#pragma once
#include <windows.h>

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const noexcept { return hwnd_; }

protected:
    struct CreateParams {
        const char* className;
        const char* title = "";
        DWORD style = WS_OVERLAPPEDWINDOW;
        DWORD exStyle = 0;
        int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
        HWND parent = nullptr;
        HICON icon = nullptr;
        HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    };

    // Creates the window; throws std::runtime_error when the system refuses.
    void Create(const CreateParams& params);

    // Handles one message; the default passes it to DefWindowProcA.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    // The window is being destroyed by the system: forget the handle.
    virtual void OnFinalMessage() {}

private:
    static LRESULT CALLBACK Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp) noexcept;

    HWND hwnd_ = nullptr;
};

// A hidden window that only receives messages (timers, callbacks); it lives in
// the thread that creates it.
class MessageWindow : public Window {
protected:
    void CreateMessageOnly(const char* className);
};

// Processes every message waiting in this thread's queue, like the platform's
// "process messages" step; returns false when WM_QUIT was seen (it is re-posted).
bool ProcessPendingMessages();
