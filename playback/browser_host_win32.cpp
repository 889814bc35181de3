#include "playback/browser_host_win32.h"

#include <stdexcept>

BrowserHost::BrowserHost() {
    CreateParams p{"SonorafluxBrowserHost"};
    p.style = WS_POPUP | WS_CLIPCHILDREN;
    // A tool window has no taskbar button, even while shown.
    p.exStyle = WS_EX_TOOLWINDOW;
    p.x = kLeft;
    p.y = kTop;
    p.width = kClientWidth;
    p.height = kClientHeight;
    p.clientSize = true;
    Create(p);
    first_ = std::make_unique<EmbeddedBrowser>(Handle(), kFirstPlace);
    second_ = std::make_unique<EmbeddedBrowser>(Handle(), kSecondPlace);
}

BrowserHost::~BrowserHost() { Destroy(); }

void BrowserHost::Show() { ::ShowWindow(Handle(), SW_SHOWNOACTIVATE); }

void BrowserHost::Hide() { ::ShowWindow(Handle(), SW_HIDE); }

LRESULT BrowserHost::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // The controls must close before their windows go with ours.
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
