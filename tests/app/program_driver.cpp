#include "tests/app/program_driver.h"

#include <cstring>
#include <vector>

#include "tests/support/ocr_lines.h"

#include "tests/support/message_pump_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"
#include "win/handles_win32.h"

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
    // An extra entry replaces the inherited one of the same name.
    auto overridden = [&](const char* entry) {
        const char* equals = std::strchr(entry + 1, '=');
        const size_t nameLength = equals ? static_cast<size_t>(equals - entry) + 1 : 0;
        for (const std::string& e : extra)
            if (nameLength && e.size() >= nameLength && ::_strnicmp(e.c_str(), entry, nameLength) == 0) return true;
        return false;
    };
    char* strings = ::GetEnvironmentStringsA();
    for (const char* p = strings; *p; p += lstrlenA(p) + 1)
        if (!overridden(p)) block.append(p, lstrlenA(p) + 1);
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

HWND FocusedControl(HWND window) {
    GUITHREADINFO info{sizeof info};
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    return thread && ::GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

int FocusedControlId(HWND window) {
    HWND focus = FocusedControl(window);
    return focus && ::IsChild(window, focus) ? ::GetDlgCtrlID(focus) : 0;
}

bool PointKeysAt(HWND window) {
    POINT corner{2, 2};
    return ::ClientToScreen(window, &corner) && ClickAt(corner, 0);
}

bool PressKeys(const std::string& keys) {
    return wine_support::RunUnixShell("DISPLAY=" + wine_support::Env("DISPLAY") + " xdotool key --delay 120 " + keys) ==
           0;
}

bool TypeText(const std::string& text) {
    return wine_support::RunUnixShell("DISPLAY=" + wine_support::Env("DISPLAY") + " xdotool type --delay 80 '" + text +
                                      "'") == 0;
}

bool PressKeyFromAnotherProgram(WORD virtualKey) {
    std::string command = "\"" + wine_support::WindowsPathOf(SONORAFLUX_PRESS_KEY) + "\" " + std::to_string(virtualKey);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    UniqueKernelHandle thread(process.hThread), owned(process.hProcess);
    DWORD exitCode = 1;
    const bool ended =
        wine_support::PumpUntil([&] { return ::WaitForSingleObject(owned.get(), 0) == WAIT_OBJECT_0; }, 10000);
    ::GetExitCodeProcess(owned.get(), &exitCode);
    return ended && exitCode == 0;
}

namespace {
std::string DisplayArg() { return "DISPLAY=" + wine_support::Env("DISPLAY") + " "; }

// Tesseract writes UTF-8; the program's captions are in the ANSI code page.
std::string AnsiFromUtf8(const std::string& utf8) {
    const int wide = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), wide);
    const int narrow = ::WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(narrow), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, w.data(), wide, ansi.data(), narrow, nullptr, nullptr);
    return ansi;
}

constexpr int kOcrScale = 4;

// The lines read in a screen rectangle, their boxes in screen coordinates.
std::vector<ocr::Line> ReadScreenLines(const RECT& area) {
    const std::string dir = wine_support::Env("SONORAFLUX_BENCH", "/tmp");
    const std::string shot = dir + "/ocr-lines.png", out = dir + "/ocr-lines";
    const std::string geometry = std::to_string(area.right - area.left) + "x" + std::to_string(area.bottom - area.top) +
                                 "+" + std::to_string(area.left) + "+" + std::to_string(area.top);
    const std::string command = "xwd -root -silent -display " + wine_support::Env("DISPLAY") + " | convert xwd:- -crop " +
                                geometry + " +repage -write '" + shot + ".raw.png' -resize " + std::to_string(kOcrScale * 100) +
                                "% -colorspace Gray -threshold 60% '" + shot + "' && tesseract '" + shot + "' '" + out +
                                "' -l fra --psm 6 tsv >/dev/null 2>&1";
    if (wine_support::RunUnixShell(command) != 0) return {};
    std::string tsv;
    wine_support::ReadFileBytes(wine_support::WindowsPathOf(out + ".tsv"), tsv);
    std::vector<ocr::Line> lines = ocr::LinesOfTsv(AnsiFromUtf8(tsv));
    for (ocr::Line& line : lines) {
        line.box = {area.left + line.box.left / kOcrScale, area.top + line.box.top / kOcrScale,
                    line.box.width / kOcrScale, line.box.height / kOcrScale};
    }
    return lines;
}

std::string Texts(const std::vector<ocr::Line>& lines) {
    std::string texts;
    for (const ocr::Line& line : lines) texts += "\"" + line.text + "\" ";
    return texts;
}

// The caption column of an open menu, with the pointer moved away so that no
// item is highlighted while it is read.
RECT MenuCaptionArea(HWND menu) {
    ParkPointer();
    wine_support::PumpFor(150);
    RECT area{};
    ::GetWindowRect(menu, &area);
    // The captions only: the picture column is left of them, the submenu
    // arrows right.
    area.left += 24;
    area.right -= 20;
    return area;
}

// Clicks the item of an open menu that reads as the caption.
::testing::AssertionResult ClickMenuCaption(HWND menu, const std::string& caption) {
    const RECT area = MenuCaptionArea(menu);
    std::vector<ocr::Line> lines;
    std::optional<ocr::Line> found;
    // A menu that is still being painted reads short: read again for a while.
    wine_support::PumpUntil(
        [&] {
            lines = ReadScreenLines(area);
            found = ocr::FindCaption(lines, caption);
            return found.has_value();
        },
        6000);
    if (!found) return ::testing::AssertionFailure() << "no item reads \"" << caption << "\"; read: " << Texts(lines);
    if (!ClickAt({found->box.CentreX(), found->box.CentreY()}, 1))
        return ::testing::AssertionFailure() << "xdotool could not click";
    return ::testing::AssertionSuccess();
}
}  // namespace

std::vector<std::string> ReadMenuCaptions(HWND menu) {
    std::vector<std::string> captions;
    for (const ocr::Line& line : ReadScreenLines(MenuCaptionArea(menu))) captions.push_back(line.text);
    return captions;
}

void ParkPointer() { ClickAt({1000, 740}, 0); }

bool ClickAt(POINT point, int button) {
    std::string command = DisplayArg() + "xdotool mousemove " + std::to_string(point.x) + " " + std::to_string(point.y);
    if (button) command += " click " + std::to_string(button);
    return wine_support::RunUnixShell(command) == 0;
}

bool TrayIconRect(RECT& area) {
    HWND tray = ::FindWindowA(nullptr, "Wine System Tray");
    HWND icon = nullptr;
    if (tray) {
        ::EnumChildWindows(
            tray,
            [](HWND hwnd, LPARAM lp) -> BOOL {
                char cls[64] = {};
                ::GetClassNameA(hwnd, cls, sizeof cls);
                if (lstrcmpA(cls, "__winex11_tray_icon") != 0 || !::IsWindowVisible(hwnd)) return TRUE;
                *reinterpret_cast<HWND*>(lp) = hwnd;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&icon));
    }
    return icon && ::GetWindowRect(icon, &area);
}

std::string TrayIconPixels() {
    HWND tray = ::FindWindowA(nullptr, "Wine System Tray");
    RECT r{};
    ::GetWindowRect(tray, &r);
    HDC screen = ::GetDC(nullptr);
    std::string pixels;
    for (int y = r.top; y < r.bottom; y += 2)
        for (int x = r.left; x < r.left + 24; x += 2) pixels += std::to_string(::GetPixel(screen, x, y)) + ",";
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<HWND> VisibleMenus(DWORD pid) {
    struct Seek {
        DWORD pid;
        std::vector<HWND> found;
    } seek{pid, {}};
    ::EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Seek*>(lp);
            char cls[16] = {};
            DWORD owner = 0;
            ::GetClassNameA(hwnd, cls, sizeof cls);
            ::GetWindowThreadProcessId(hwnd, &owner);
            // Top-level windows come in their order on the screen, the newest first.
            if (owner == s->pid && lstrcmpA(cls, "#32768") == 0 && ::IsWindowVisible(hwnd)) s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&seek));
    return seek.found;
}

::testing::AssertionResult ChooseTrayMenuItem(const RunningProgram& program, const std::vector<std::string>& path) {
    RECT icon{};
    if (!TrayIconRect(icon)) return ::testing::AssertionFailure() << "no icon in the notification area";
    if (!ClickAt({(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2}, 3))
        return ::testing::AssertionFailure() << "xdotool could not click the icon";
    for (size_t level = 0; level < path.size(); ++level) {
        const std::string& caption = path[level];
        std::vector<HWND> menus;
        if (!wine_support::PumpUntil([&] { return (menus = VisibleMenus(program.Pid())).size() == level + 1; }, 5000))
            return ::testing::AssertionFailure() << "no menu opened before \"" << caption << "\"";
        HWND menu = menus.front();
        wine_support::PumpFor(200);
        if (auto clicked = ClickMenuCaption(menu, caption); !clicked) return clicked;
    }
    // A pointer left resting on the tray would bring up the icon's tooltip.
    ParkPointer();
    return ::testing::AssertionSuccess();
}

std::string ReadScreenText(const RECT& area) {
    const std::string dir = wine_support::Env("SONORAFLUX_BENCH", "/tmp");
    const std::string shot = dir + "/ocr.png", out = dir + "/ocr";
    const std::string geometry = std::to_string(area.right - area.left) + "x" + std::to_string(area.bottom - area.top) +
                                 "+" + std::to_string(area.left) + "+" + std::to_string(area.top);
    // Enlarged smoothly: the balloons' small unsmoothed face, enlarged by
    // repeating pixels, reads "est" as "st".
    const std::string command = "xwd -root -silent -display " + wine_support::Env("DISPLAY") +
                                " | convert xwd:- -crop " + geometry + " +repage -resize 400% -colorspace Gray '" + shot +
                                "' && tesseract '" + shot + "' '" + out + "' -l fra --psm 6 >/dev/null 2>&1";
    if (wine_support::RunUnixShell(command) != 0) return {};
    std::string text;
    wine_support::ReadFileBytes(wine_support::WindowsPathOf(out + ".txt"), text);
    return text;
}

}  // namespace program_driver
