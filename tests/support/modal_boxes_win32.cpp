#include "tests/support/modal_boxes_win32.h"

#include <algorithm>

#include "tests/support/message_pump_win32.h"

namespace wine_support {

namespace {
// A thread timer has no context: its id leads to the script it serves.
thread_local std::map<UINT_PTR, BoxScript*> scripts;

// A message box's text is its static control 0xFFFF.
constexpr int kMessageText = 0xFFFF;

std::string MessageText(HWND box) {
    char text[1024] = {};
    ::GetDlgItemTextA(box, kMessageText, text, sizeof text);
    return text;
}

HICON ShownIcon(HWND box) {
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
    return nullptr;
}

bool IsOnScreen(HWND window) { return ::IsWindow(window) && ::IsWindowVisible(window); }
}  // namespace

void AnswerBox(HWND box, int button) { ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); }

BoxScript::BoxScript(BoxOwner owner, const char* title, int button, Ready ready)
    : owner_(owner), title_(title ? title : ""), anyTitle_(!title), button_(button), ready_(std::move(ready)) {
    timer_ = ::SetTimer(nullptr, 0, 50, Tick);
    scripts[timer_] = this;
}

BoxScript::~BoxScript() {
    ::KillTimer(nullptr, timer_);
    scripts.erase(timer_);
}

std::vector<std::string> BoxScript::Texts() const {
    std::vector<std::string> texts;
    for (const Box& box : boxes_) texts.push_back(box.text);
    return texts;
}

bool BoxScript::WaitForBoxes(size_t count, DWORD timeoutMs) const {
    return PumpUntil([&] { return boxes_.size() >= count; }, timeoutMs);
}

bool BoxScript::WaitUntilGone(DWORD timeoutMs) const {
    return PumpUntil(
        [&] {
            for (const Box& box : boxes_)
                if (IsOnScreen(box.window)) return false;
            return true;
        },
        timeoutMs);
}

VOID CALLBACK BoxScript::Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    const auto script = scripts.find(timer);
    if (script == scripts.end() || script->second->running_) return;
    BoxScript& self = *script->second;
    self.running_ = true;
    self.Look();
    self.running_ = false;
}

std::vector<HWND> BoxScript::VisibleBoxes() const {
    struct Seek {
        const BoxScript* script;
        std::vector<HWND> found;
    } seek{this, {}};
    const WNDENUMPROC match = [](HWND window, LPARAM lp) -> BOOL {
        auto& s = *reinterpret_cast<Seek*>(lp);
        char className[16] = {}, title[256] = {};
        ::GetClassNameA(window, className, sizeof className);
        ::GetWindowTextA(window, title, sizeof title);
        DWORD process = 0;
        const DWORD thread = ::GetWindowThreadProcessId(window, &process);
        const BoxOwner& owner = s.script->owner_;
        if (std::string(className) == "#32770" && ::IsWindowVisible(window) &&
            (s.script->anyTitle_ || s.script->title_ == title) &&
            (owner.thread ? thread == owner.thread : process == owner.process))
            s.found.push_back(window);
        return TRUE;
    };
    if (owner_.thread)
        ::EnumThreadWindows(owner_.thread, match, reinterpret_cast<LPARAM>(&seek));
    else
        ::EnumWindows(match, reinterpret_cast<LPARAM>(&seek));
    return seek.found;
}

void BoxScript::Look() {
    std::erase_if(known_, [](const auto& known) { return !::IsWindow(known.first); });
    for (HWND window : VisibleBoxes()) {
        auto known = known_.find(window);
        if (known == known_.end()) {
            Box box{window, MessageText(window), ShownIcon(window)};
            if (::GetDlgItem(window, kMessageText) && box.text.empty()) continue;
            boxes_.push_back(box);
            known = known_.emplace(window, false).first;
        }
        if (known->second || button_ == kLeaveOpen) continue;
        const Box& box = *std::find_if(boxes_.rbegin(), boxes_.rend(), [&](const Box& b) { return b.window == window; });
        if (ready_ && !ready_(box)) continue;
        known->second = true;
        AnswerBox(window, button_);
    }
}

}  // namespace wine_support
