#include "tests/app/program_driver.h"

#include <vector>

#include "tests/support/wine_support.h"

namespace program_driver {
namespace {
constexpr UINT kTrayCallbackMessage = 0x800;
constexpr UINT kFirstTrayIconId = 1;

struct Search {
    DWORD pid;
    const char* className;
    const char* title;
    HWND found = nullptr;
    int count = 0;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    char cls[256] = {}, title[256] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    ::GetWindowTextA(hwnd, title, sizeof title);
    if (pid == s->pid && lstrcmpA(cls, s->className) == 0 && (!s->title || lstrcmpA(title, s->title) == 0)) {
        if (!s->found) s->found = hwnd;
        ++s->count;
    }
    return TRUE;
}

BOOL CALLBACK CountIcon(HWND hwnd, LPARAM lp) {
    char cls[64] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (lstrcmpA(cls, "__winex11_tray_icon") == 0 && ::IsWindowVisible(hwnd)) ++*reinterpret_cast<int*>(lp);
    return TRUE;
}

BOOL CALLBACK FindBalloon(HWND hwnd, LPARAM lp) {
    char cls[64] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    if (lstrcmpA(cls, "tooltips_class32") == 0 && ::IsWindowVisible(hwnd) && r.right - r.left > 20 &&
        pid != ::GetCurrentProcessId()) {
        *reinterpret_cast<HWND*>(lp) = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

namespace {
// This process's environment with the extra entries after it.
std::string EnvironmentBlock(const std::vector<std::string>& extra) {
    std::string block;
    char* strings = ::GetEnvironmentStringsA();
    for (const char* p = strings; *p; p += lstrlenA(p) + 1) block.append(p, lstrlenA(p) + 1);
    ::FreeEnvironmentStringsA(strings);
    for (const std::string& entry : extra) block.append(entry.c_str(), entry.size() + 1);
    block.push_back('\0');
    return block;
}
}  // namespace

RunningProgram::RunningProgram(const std::string& folder, const std::vector<std::string>& extraEnvironment) {
    Start(folder, extraEnvironment, 0);
}

RunningProgram::RunningProgram(const std::string& folder, Suspended) { Start(folder, {}, CREATE_SUSPENDED); }

void RunningProgram::Resume() {
    if (!thread_) return;
    ::ResumeThread(thread_);
    ::CloseHandle(thread_);
    thread_ = nullptr;
}

void RunningProgram::Start(const std::string& folder, const std::vector<std::string>& extraEnvironment, DWORD flags) {
    std::string command = "\"" + folder + "Sonoraflux.exe\"";
    std::string environment = EnvironmentBlock(extraEnvironment);
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, flags,
                          extraEnvironment.empty() ? nullptr : environment.data(), folder.c_str(), &si, &pi))
        return;
    if (flags & CREATE_SUSPENDED)
        thread_ = pi.hThread;
    else
        ::CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
}

RunningProgram::~RunningProgram() {
    Resume();
    if (!process_) return;
    // Closed the way a user closes it, so its icon leaves the notification
    // area; ended by force only when that does not work.
    if (HWND main = MainWindow()) ::PostMessageA(main, WM_CLOSE, 0, 0);
    if (!WaitForExit(8000)) {
        ::TerminateProcess(process_, 1);
        ::WaitForSingleObject(process_, 10000);
    }
    ::CloseHandle(process_);
    // Let the shell drop the icon of a terminated program before the next test.
    wine_support::PumpFor(300);
}

bool RunningProgram::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!process_) return false;
    const bool ended = wine_support::PumpUntil(
        [&] { return ::WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }, timeoutMs);
    if (ended && exitCode) ::GetExitCodeProcess(process_, exitCode);
    return ended;
}

HWND RunningProgram::MainWindow() const { return FindProcessWindow(pid_, "SonorafluxMainWindow"); }

bool RunningProgram::WaitForMainWindow(DWORD timeoutMs) const {
    return wine_support::PumpUntil([&] { return MainWindow() != nullptr; }, timeoutMs);
}

HWND RunningProgram::TrayCallbackWindow() const {
    HWND hwnd = nullptr;
    while ((hwnd = ::FindWindowExA(HWND_MESSAGE, hwnd, "SonorafluxTrayIconHandler", nullptr))) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hwnd, &pid);
        if (pid == pid_) return hwnd;
    }
    return nullptr;
}

void RunningProgram::SendTrayMouse(UINT mouseMessage) const {
    ::PostMessageA(TrayCallbackWindow(), kTrayCallbackMessage, kFirstTrayIconId, mouseMessage);
}

HWND FindProcessWindow(DWORD pid, const char* className, const char* title) {
    Search s{pid, className, title};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

int CountProcessWindows(DWORD pid, const char* className) {
    Search s{pid, className, nullptr};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
    return s.count;
}

int CountTrayIcons() {
    HWND tray = ::FindWindowA(nullptr, "Wine System Tray");
    int count = 0;
    if (tray) ::EnumChildWindows(tray, CountIcon, reinterpret_cast<LPARAM>(&count));
    return count;
}

HWND VisibleBalloon() {
    HWND found = nullptr;
    ::EnumWindows(FindBalloon, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string MessageBoxText(HWND box) {
    char text[1024] = {};
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

bool PressKeys(const std::string& keys) {
    return wine_support::RunUnixShell("DISPLAY=" + wine_support::Env("DISPLAY") + " xdotool key --delay 120 " + keys) ==
           0;
}

std::string ReadScreenText(const RECT& area) {
    const std::string dir = wine_support::Env("SONORAFLUX_BENCH", "/tmp");
    const std::string shot = dir + "/ocr.png", out = dir + "/ocr";
    const std::string geometry = std::to_string(area.right - area.left) + "x" + std::to_string(area.bottom - area.top) +
                                 "+" + std::to_string(area.left) + "+" + std::to_string(area.top);
    const std::string command = "xwd -root -silent -display " + wine_support::Env("DISPLAY") +
                                " | convert xwd:- -crop " + geometry + " +repage -scale 400% -colorspace Gray '" + shot +
                                "' && tesseract '" + shot + "' '" + out + "' -l fra --psm 6 >/dev/null 2>&1";
    if (wine_support::RunUnixShell(command) != 0) return {};
    std::string text;
    wine_support::ReadFileBytes(wine_support::WindowsPathOf(out + ".txt"), text);
    return text;
}

}  // namespace program_driver
