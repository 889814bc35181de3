// Prints where the start of Sonoraflux goes before its tray icon shows: the
// program root built in this process, the time after each construction step
// (the icon appears in the "tray" step, the ready notice in "creation").
//   start_steps_bench.exe [runs]   (from the staged program folder)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/program_win32.h"
#include "win/ole_session_win32.h"

int main(int argc, char** argv) {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    folder.resize(folder.find_last_of('\\') + 1);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    // What the program's entry does before the program root, timed once.
    auto start = std::chrono::steady_clock::now();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    const double commonControls = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    start = std::chrono::steady_clock::now();
    OleSession ole;
    const double oleStart = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> times;
    for (int run = 0; run < runs; ++run) {
        auto last = std::chrono::steady_clock::now();
        Program program(::GetModuleHandleA(nullptr), folder, [&](std::string_view step) {
            const auto now = std::chrono::steady_clock::now();
            const std::string name(step);
            if (run == 0) order.push_back(name);
            times[name].push_back(std::chrono::duration<double, std::milli>(now - last).count());
            last = now;
        });
    }
    std::printf("Before the program root, once: common controls %.2f ms, OLE %.2f ms\n", commonControls, oleStart);
    std::printf("Program construction, median per step of %d runs (the icon shows in \"tray\")\n", runs);
    for (const std::string& step : order) {
        std::vector<double>& t = times[step];
        std::sort(t.begin(), t.end());
        std::printf("  %-10s %8.2f ms\n", step.c_str(), t[t.size() / 2]);
    }
    return 0;
}
