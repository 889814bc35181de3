// Message boxes and dialogs that a test answers: a box runs its own modal
// loop, so a timer of the test's thread looks for it and answers it.
#pragma once
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace wine_support {

// While it lives, closes every error box titled "Sonoraflux" that this thread
// opens (from a timer of the thread, since the box runs its own loop), and
// keeps the text of each box it closed, so a test can tell that a box came.
class ErrorBoxCloser {
public:
    ErrorBoxCloser();
    ErrorBoxCloser(const ErrorBoxCloser&) = delete;
    ErrorBoxCloser& operator=(const ErrorBoxCloser&) = delete;
    ~ErrorBoxCloser();

    // The message of every box closed so far, in order.
    const std::vector<std::string>& Closed() const { return closed_; }

private:
    static VOID CALLBACK CloseErrorBoxes(HWND, UINT, UINT_PTR, DWORD);

    UINT_PTR timer_;
    std::set<HWND> seen_;
    std::vector<std::string> closed_;
    ErrorBoxCloser* previous_;
};

// While it lives, a timer of this thread calls step every 100 ms until step
// reports that it is done; a modal loop opened meanwhile (a dialog, a message
// box) dispatches the timer, so step can look at the box and close it. The
// step never runs inside itself. One at a time per thread.
class ModalScript {
public:
    explicit ModalScript(std::function<bool()> step);
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;
    ~ModalScript();
    bool Done() const { return done_; }

private:
    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    std::function<bool()> step_;
    UINT_PTR timer_ = 0;
    bool done_ = false;
    bool running_ = false;
};

}  // namespace wine_support
