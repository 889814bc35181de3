// Message boxes and dialogs that a test answers. A box of the test's own
// thread runs its modal loop inside the call under test, so boxes are looked
// for from a timer of the thread, which that loop dispatches; the same timer
// finds the boxes of another process while the test pumps.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace wine_support {

// Whose boxes are looked for: one thread's, or one process's.
struct BoxOwner {
    DWORD thread = 0;
    DWORD process = 0;
    static BoxOwner ThisThread() { return {::GetCurrentThreadId(), 0}; }
    static BoxOwner Process(DWORD pid) { return {0, pid}; }
};

// A box as the user sees it: its message (empty for a dialog that has none)
// and the icon it shows beside it (null when none).
struct Box {
    HWND window = nullptr;
    std::string text;
    HICON icon = nullptr;
};

// The button of a script that leaves its boxes open, for a test that answers
// them itself (with the real keyboard, say) through AnswerBox.
constexpr int kLeaveOpen = 0;

// Presses a button of the box (IDOK, IDCANCEL...), as its own button would.
void AnswerBox(HWND box, int button);

// While it lives, looks every 50 ms for the visible boxes (dialog class
// "#32770") of the owner titled `title` (any title when null), keeps each one
// it finds, and answers it with `button` once `ready` returns true (at once
// when there is no ready). Ready may act on the box first (fill a field, read
// the folder shown); while it returns false it is asked again at the next
// tick. A message box is taken once its text is set (it can be found before).
// Every visible box is answered, not only the first: a box can open inside
// another's loop, and the first one, once answered, is hidden but lives on
// until the second closes. Ready never runs inside itself.
class BoxScript {
public:
    using Ready = std::function<bool(const Box&)>;
    BoxScript(BoxOwner owner, const char* title, int button = IDOK, Ready ready = nullptr);
    BoxScript(const BoxScript&) = delete;
    BoxScript& operator=(const BoxScript&) = delete;
    ~BoxScript();

    // Every box found so far, in order.
    const std::vector<Box>& Boxes() const { return boxes_; }
    // Their messages, in order.
    std::vector<std::string> Texts() const;
    // Pumps this thread's messages until count boxes were found.
    bool WaitForBoxes(size_t count, DWORD timeoutMs) const;
    // Pumps this thread's messages until no box found is on the screen any more.
    bool WaitUntilGone(DWORD timeoutMs) const;

private:
    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD);
    void Look();
    std::vector<HWND> VisibleBoxes() const;

    BoxOwner owner_;
    std::string title_;
    bool anyTitle_;
    int button_;
    Ready ready_;
    UINT_PTR timer_ = 0;
    std::vector<Box> boxes_;
    // The boxes found, and whether each was answered; a closed box's handle
    // can come again for a new box, so closed ones are forgotten.
    std::map<HWND, bool> known_;
    bool running_ = false;
};

}  // namespace wine_support
