#include "playback/browser_host_win32.h"

#include <stdexcept>

BrowserHost::BrowserHost() {
    RECT frame{0, 0, kClientWidth, kClientHeight};
    const DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    // A tool window has no taskbar button, even while shown.
    const DWORD exStyle = WS_EX_TOOLWINDOW;
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    CreateParams p{"SonorafluxBrowserHost"};
    p.style = style;
    p.exStyle = exStyle;
    p.x = kLeft;
    p.y = kTop;
    p.width = frame.right - frame.left;
    p.height = frame.bottom - frame.top;
    Create(p);
    first_ = std::make_unique<EmbeddedBrowser>(Handle(), kFirstPlace);
    second_ = std::make_unique<EmbeddedBrowser>(Handle(), kSecondPlace);
}

// The controls close while their window still exists; the base class destroys it afterwards.
BrowserHost::~BrowserHost() { CloseBrowsers(); }

void BrowserHost::Show() { ::ShowWindow(Handle(), SW_SHOWNOACTIVATE); }

void BrowserHost::Hide() { ::ShowWindow(Handle(), SW_HIDE); }

LRESULT BrowserHost::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // Destroyed by the system (closing the program): the controls must close
    // before their windows go with ours.
    if (msg == WM_DESTROY) CloseBrowsers();
    return Window::HandleMessage(msg, wp, lp);
}

EmbeddedBrowser& BrowserHost::Alive(const std::unique_ptr<EmbeddedBrowser>& browser) {
    if (!browser) throw std::runtime_error("Le navigateur intégré est fermé");
    return *browser;
}

void BrowserHost::CloseBrowsers() noexcept {
    second_.reset();
    first_.reset();
}
