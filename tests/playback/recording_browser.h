// A Browser for tests: remembers every address it is asked to load, in order,
// and can be told to refuse requests the way the real control does.
#pragma once
#include <string>
#include <vector>

#include "playback/browser.h"

class RecordingBrowser : public Browser {
public:
    // Every request, refused ones included.
    std::vector<std::string> addresses;
    // While true, each request is recorded and then refused with BrowserError.
    bool refuse = false;

    void Navigate(const std::string& ansiAddress) override {
        addresses.push_back(ansiAddress);
        if (refuse) throw BrowserError("Le navigateur refuse l'adresse " + ansiAddress);
    }
};
