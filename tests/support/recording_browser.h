// The browser of the playback, rotation and menu tests: keeps every address it
// accepts, passes it on first to a real browser when given one, and refuses on
// demand as a browser that cannot load does. onNavigate lets a test log the
// address among its own calls, or stamp it with a time.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "playback/browser.h"

class RecordingBrowser : public Browser {
public:
    using Listener = std::function<void(const std::string& address)>;

    RecordingBrowser() = default;
    explicit RecordingBrowser(Browser& real) : real_(&real) {}
    explicit RecordingBrowser(Listener listener) : onNavigate(std::move(listener)) {}

    bool refuse = false;
    std::vector<std::string> addresses;
    Listener onNavigate;

    void Navigate(const std::string& address) override {
        if (refuse) throw BrowserError("refused");
        if (real_) real_->Navigate(address);
        addresses.push_back(address);
        if (onNavigate) onNavigate(address);
    }

private:
    Browser* real_ = nullptr;
};
