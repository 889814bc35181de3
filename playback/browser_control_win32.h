// One embedded browser control, created in place inside a window of ours and
// driven through the Browser interface. The control is the system's; the site
// it talks to and the sink that refuses new windows are ours.
#pragma once
#include <windows.h>
#include <exdisp.h>
#include <ole2.h>

#include <memory>
#include <string>

#include "playback/browser.h"
#include "playback/browser_events_win32.h"
#include "playback/browser_site_win32.h"
#include "win/com_ptr_win32.h"

class EmbeddedBrowser : public Browser {
public:
    // Creates the control and activates it in place in `window` at `place`
    // (client coordinates). OLE must be initialised on this thread (OleSession).
    // Throws std::runtime_error when the control cannot be created or activated.
    EmbeddedBrowser(HWND window, const RECT& place);
    ~EmbeddedBrowser() override;

    // Converts the address from the ANSI code page and starts the navigation.
    void Navigate(const std::string& ansiAddress) override;

    IWebBrowser2* Control() const noexcept { return browser_.get(); }
    const BrowserSite& Site() const noexcept { return *site_.get(); }

private:
    // Gives the control back its site when it goes: deactivated, closed and
    // cut from the site, so that it releases every reference to the site.
    struct Embedding {
        ComPtr<IOleObject> object;
        ~Embedding();
    };

    // Torn down from the last member up: the event connection first, then the
    // control, then our sink and site.
    ComPtr<BrowserSite> site_;
    ComPtr<NewWindowBlocker> blocker_;
    Embedding embedding_;
    ComPtr<IWebBrowser2> browser_;
    std::unique_ptr<EventConnection> events_;
};
