// Prints the time from a process start to its tray icon being visible, and
// the private bytes of the process once started, for Sonoraflux as shipped
// (and as built, with its debug information) beside the smallest tray
// program, started the same way in alternating blocks (medians).
// Under Wine: the icons are child windows of Wine's own tray window. The bench
// keeps an icon of its own there for the whole run (otherwise that window is
// made again for whichever program shows the first icon after the last one
// went) and takes a new icon by its window, never by a count (the icons of a
// run just ended can linger).
// Then, for each Sonoraflux, the private bytes after each window has been
// shown once and after 20 more showings of each (nothing may grow).
//   start_bench.exe [blocks] [runs per block] [NAME=another Sonoraflux.exe...]
// (another Sonoraflux.exe, say an older build, beside its own list and folders).
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

// The program as users get it: the shipped program, without its debug
// information, in a copy of the staged program folder.
std::string ShippedProgram() {
    namespace fs = std::filesystem;
    const fs::path staged = fs::path(WindowsPath(SONORAFLUX_EXE)).parent_path();
    const fs::path folder = fs::temp_directory_path() / "sonoraflux-start-bench";
    fs::remove_all(folder);
    fs::copy(staged, folder, fs::copy_options::recursive);
    fs::copy_file(WindowsPath(SHIPPED_EXE), folder / "Sonoraflux.exe", fs::copy_options::overwrite_existing);
    return (folder / "Sonoraflux.exe").string();
}

std::set<HWND> TrayIcons() {
    std::set<HWND> icons;
    HWND tray = ::FindWindowA("__winex11_standalone_tray", nullptr);
    if (!tray) return icons;
    ::EnumChildWindows(
        tray,
        [](HWND child, LPARAM found) {
            char type[64] = "";
            ::GetClassNameA(child, type, sizeof type);
            if (std::string(type) == "__winex11_tray_icon") reinterpret_cast<std::set<HWND>*>(found)->insert(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&icons));
    return icons;
}

// The bench's own icon, there from before the first run to after the last.
class KeptIcon {
public:
    KeptIcon() {
        window_ = ::CreateWindowA("STATIC", "start bench", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        NOTIFYICONDATAA icon{sizeof icon, window_, 1, NIF_ICON | NIF_TIP};
        icon.hIcon = ::LoadIconA(nullptr, IDI_INFORMATION);
        lstrcpyA(icon.szTip, "start bench");
        // A cold Wine starts its taskbar with the first window, in its own time.
        for (int tries = 0; tries < 100 && !::Shell_NotifyIconA(NIM_ADD, &icon); ++tries) ::Sleep(100);
    }
    ~KeptIcon() {
        NOTIFYICONDATAA icon{sizeof icon, window_, 1};
        ::Shell_NotifyIconA(NIM_DELETE, &icon);
        ::DestroyWindow(window_);
    }

private:
    HWND window_;
};

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

// Sonoraflux ends by its "Quitter" command, the smallest program by closing its window.
void AskToEnd(DWORD pid) {
    ::EnumWindows(
        [](HWND window, LPARAM wanted) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            char type[64] = "";
            ::GetClassNameA(window, type, sizeof type);
            if (owner != static_cast<DWORD>(wanted)) return TRUE;
            if (std::string(type) == "SonorafluxMainWindow") ::PostMessageA(window, WM_COMMAND, 106, 0);
            if (std::string(type) == "SmallestTrayWindow") ::PostMessageA(window, WM_CLOSE, 0, 0);
            return TRUE;
        },
        static_cast<LPARAM>(pid));
}

// Commit charge: what Windows counts as the process's private bytes (Wine
// fills this field for other processes; PrivateUsage stays 0 there).
double PrivateKb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory{};
    if (!::GetProcessMemoryInfo(process, &memory, sizeof memory)) return -1;
    return static_cast<double>(memory.PagefileUsage) / 1024.0;
}

void Rest(int ms) {
    for (int waited = 0; waited < ms; waited += 10) Pump(), ::Sleep(10);
}

class Started {
public:
    explicit Started(const std::string& exe) {
        std::string command = "\"" + exe + "\"";
        STARTUPINFOA startup{sizeof startup};
        if (!::CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              FolderOf(exe).c_str(), &startup, &process_))
            std::fprintf(stderr, "cannot start %s (%lu)\n", exe.c_str(), ::GetLastError());
    }
    ~Started() {
        if (!process_.hProcess) return;
        AskToEnd(process_.dwProcessId);
        if (::WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(process_.hProcess, 1);
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
        // The icon gone before the next start.
        Rest(300);
    }
    bool Running() const { return process_.hProcess != nullptr; }
    HANDLE Process() const { return process_.hProcess; }
    DWORD Id() const { return process_.dwProcessId; }
    // At rest: the start's work done, its balloon asked for.
    void WaitForRest() const {
        ::WaitForInputIdle(process_.hProcess, 5000);
        Rest(1000);
    }

private:
    PROCESS_INFORMATION process_{};
};

struct Run {
    double iconMs = -1;
    double privateKb = -1;
};

Run StartOnce(const std::string& exe) {
    Run run;
    const std::set<HWND> before = TrayIcons();
    const auto start = Clock::now();
    Started started(exe);
    if (!started.Running()) return run;
    while (Clock::now() - start < std::chrono::seconds(20)) {
        const std::set<HWND> now = TrayIcons();
        if (std::any_of(now.begin(), now.end(), [&](HWND icon) { return !before.count(icon); })) {
            run.iconMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        ::Sleep(1);
    }
    started.WaitForRest();
    run.privateKb = PrivateKb(started.Process());
    return run;
}

HWND WindowOf(DWORD pid, const char* type) {
    struct Search {
        DWORD pid;
        const char* type;
        HWND found;
    } search{pid, type, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM param) {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            char name[64] = "";
            ::GetClassNameA(window, name, sizeof name);
            if (owner == s.pid && std::string(name) == s.type) s.found = window;
            return s.found ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool WaitVisible(HWND window, bool visible) {
    for (int waited = 0; waited < 5000; waited += 10) {
        if ((::IsWindowVisible(window) != FALSE) == visible) return true;
        Pump(), ::Sleep(10);
    }
    return false;
}

// A window as the tray menu opens it; closed as its close box does (the
// editor, which is the main window, only hides).
struct ProgramWindow {
    const char* name;
    const char* type;
    UINT command;
};
constexpr ProgramWindow kWindows[] = {{"editor", "SonorafluxMainWindow", 100},
                                      {"rotation", "SonorafluxRotationWindow", 102},
                                      {"recorder", "SonorafluxRecorderWindow", 103}};

bool ShowAndClose(const Started& program, const ProgramWindow& which) {
    HWND main = WindowOf(program.Id(), "SonorafluxMainWindow");
    if (!main) return false;
    ::PostMessageA(main, WM_COMMAND, which.command, 0);
    HWND window = nullptr;
    for (int waited = 0; waited < 5000 && !window; waited += 10) {
        window = WindowOf(program.Id(), which.type);
        if (window && !::IsWindowVisible(window)) window = nullptr;
        if (!window) Pump(), ::Sleep(10);
    }
    if (!window) return false;
    Rest(100);
    if (window == main)
        ::ShowWindow(window, SW_HIDE);
    else
        ::PostMessageA(window, WM_CLOSE, 0, 0);
    return WaitVisible(window, false);
}

void PrintWindowMemory(const std::string& name, const std::string& exe) {
    Started program(exe);
    program.WaitForRest();
    std::printf("  %-12s after start-up %8.0f KB\n", name.c_str(), PrivateKb(program.Process()));
    for (const ProgramWindow& window : kWindows) {
        if (!ShowAndClose(program, window)) {
            std::printf("  %-12s the %s did not show and close\n", name.c_str(), window.name);
            continue;
        }
        Rest(300);
        const double once = PrivateKb(program.Process());
        for (int cycle = 0; cycle < 20; ++cycle) ShowAndClose(program, window);
        Rest(300);
        const double cycles = PrivateKb(program.Process());
        std::printf("  %-12s %-8s shown once %8.0f KB, after 20 more %8.0f KB (%+.0f KB)\n", name.c_str(), window.name,
                    once, cycles, cycles - once);
    }
}

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Series {
    std::string name;
    std::string exe;
    std::vector<double> iconMs, privateKb;
};
}  // namespace

int main(int argc, char** argv) {
    const int blocks = argc > 1 ? std::atoi(argv[1]) : 4;
    const int perBlock = argc > 2 ? std::atoi(argv[2]) : 3;
    std::vector<Series> series = {{"smallest tray", WindowsPath(SMALLEST_TRAY_EXE), {}, {}},
                                  {"Sonoraflux", ShippedProgram(), {}, {}},
                                  {"as built", WindowsPath(SONORAFLUX_EXE), {}, {}}};
    for (int i = 3; i < argc; ++i) {
        const std::string named = argv[i];
        const size_t equals = named.find('=');
        if (equals != std::string::npos)
            series.push_back({named.substr(0, equals), WindowsPath(named.substr(equals + 1)), {}, {}});
    }
    KeptIcon kept;
    Rest(500);
    if (!::FindWindowA("__winex11_standalone_tray", nullptr)) {
        std::printf("no Wine tray window: this bench reads Wine's tray\n");
        return 1;
    }
    // One start of each first, not counted: files into the cache.
    for (const Series& s : series) StartOnce(s.exe);
    for (int block = 0; block < blocks; ++block)
        for (Series& s : series)
            for (int i = 0; i < perBlock; ++i) {
                const Run run = StartOnce(s.exe);
                if (run.iconMs >= 0) s.iconMs.push_back(run.iconMs);
                if (run.privateKb >= 0) s.privateKb.push_back(run.privateKb);
            }
    std::printf("Start -> tray icon visible, and private bytes at rest (median of %d x %d runs, alternating blocks)\n",
                blocks, perBlock);
    const double anchorMs = Median(series[0].iconMs);
    for (const Series& s : series)
        std::printf("  %-14s %8.1f ms (min %6.1f, max %6.1f) = %.2f x smallest   %8.0f KB private\n", s.name.c_str(),
                    Median(s.iconMs), s.iconMs.empty() ? -1 : *std::min_element(s.iconMs.begin(), s.iconMs.end()),
                    s.iconMs.empty() ? -1 : *std::max_element(s.iconMs.begin(), s.iconMs.end()),
                    Median(s.iconMs) / anchorMs, Median(s.privateKb));
    std::printf("Private bytes of Sonoraflux with its windows shown (smallest tray program: %.0f KB)\n",
                Median(series[0].privateKb));
    for (size_t i = 1; i < series.size(); ++i) PrintWindowMemory(series[i].name, series[i].exe);
    return 0;
}
