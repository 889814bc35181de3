// The one browser operation that playback needs, behind an interface of our
// own: the Win32 host implements it with the embedded browser control, tests
// with a double that records every address it is sent.
#pragma once
#include <stdexcept>
#include <string>

// Raised when the browser refuses a navigation request.
class BrowserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Browser {
public:
    virtual ~Browser();

    // Starts loading the address (ANSI text) and returns at once; the page loads
    // and plays on its own. Throws BrowserError when the request is refused.
    virtual void Navigate(const std::string& ansiAddress) = 0;
};
