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

    // Shows the window centred on the screen and in front, restored first if
    // it was minimised (a hidden minimised window stays minimised on SW_SHOW).
    void ShowCentredInFront();

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
        // When set, width and height are the client area's, and the window is
        // sized around it for its style.
        bool clientSize = false;
    };

    // Creates the window; throws std::runtime_error when the system refuses.
    void Create(const CreateParams& params);

    // The program's own windows: a client area of a fixed size, the
    // program's icon (MAINICON in its resources), owned by owner.
    static CreateParams FixedWindowParams(HINSTANCE instance, const char* className, const char* title, HWND owner,
                                          DWORD style, DWORD exStyle, int clientWidth, int clientHeight);

    // Destroys the window while the derived object is still whole, so that its
    // WM_DESTROY handler is the one place of its teardown. Derived destructors
    // call it first; the base destructor only detaches what is left.
    void Destroy() noexcept;

    // Handles one message; the default passes it to DefWindowProcA.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    // The window is being destroyed by the system: forget the handle.
    virtual void OnFinalMessage() {}

    // Keys as in a dialog box (see win/dialog_keys_win32.h): Tab, Enter, Esc
    // and the window's shortcuts (an accelerator table that outlives the
    // window, or null). As a dialog box, the window keeps the focused control
    // while it is inactive and gives it back when it is activated again; each
    // showing starts on the control firstFocus.
    void UseDialogKeys(int firstFocus, HACCEL shortcuts = nullptr);

private:
    static LRESULT CALLBACK Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp) noexcept;
    bool KeepFocus(UINT msg, WPARAM wp, LPARAM lp);

    HWND hwnd_ = nullptr;
    bool dialogKeys_ = false;
    int firstFocus_ = 0;
    HWND keptFocus_ = nullptr;
};

// A hidden window that only receives messages (timers, callbacks); it lives in
// the thread that creates it.
class MessageWindow : public Window {
protected:
    void CreateMessageOnly(const char* className);
};
