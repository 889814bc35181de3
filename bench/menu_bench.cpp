// Prints how long loading the list and rebuilding "Ma liste" takes for 100 and
// 10,000 entries with icons (median of several runs), where that time goes,
// and the GDI objects of the process before and after 1,000 rebuilds.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <cstdio>
#include <string>
#include <vector>

#include "win/platform_win32.h"
#include "list/stream_list.h"
#include "tray/list_menu.h"
#include "tray/tray_menu_win32.h"
#include "ui/flat_menu_win32.h"

namespace {
class SilentNotices : public UserNotices {
public:
    void ShowPlainMessage(const std::string&) override {}
};

std::string MakeProgramFolder() {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    std::string root = std::string(temp) + "sonoraflux_menu_bench\\";
    ::CreateDirectoryA(root.c_str(), nullptr);
    ::CreateDirectoryA((root + "Images").c_str(), nullptr);
    return root;
}

// Ten 16x16 icons, drawn in ten colours.
void WriteIcons(const std::string& root) {
    for (int i = 0; i < 10; ++i) {
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{sizeof info, 16, 16, 1, 24, BI_RGB};
        std::string pixels(16 * 16 * 3, static_cast<char>(20 * i));
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
        std::string bytes(reinterpret_cast<char*>(&file), sizeof file);
        bytes.append(reinterpret_cast<char*>(&info), sizeof info);
        bytes += pixels;
        const std::string path = root + "Images\\icone" + std::to_string(i) + ".bmp";
        HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written;
        ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(h);
    }
}

std::string ListText(int entries) {
    std::string text;
    for (int i = 0; i < entries; ++i)
        text += "Radio " + std::to_string((i * 7919) % entries) + ";http://radio" + std::to_string(i) +
                ".example/flux;icone" + std::to_string(i % 10) + ".bmp;" + (i % 17 ? "1" : "0") + "\r\n";
    return text;
}

// The number of GDI objects of the process as the system reports it (Wine: 0),
// and, as a second look that works under Wine too, the slot a new GDI object
// gets: with no leak, freed slots are reused and it stays put.
struct GdiFigures {
    DWORD objects;
    unsigned slot;
};

GdiFigures MeasureGdi() {
    HBITMAP probe = ::CreateBitmap(1, 1, 1, 1, nullptr);
    GdiFigures figures{::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
                       static_cast<unsigned>(reinterpret_cast<uintptr_t>(probe) & 0xFFFF)};
    ::DeleteObject(probe);
    return figures;
}

// The collation's share of a load: the sort.
class TimedCollation : public Collation {
public:
    explicit TimedCollation(Collation& real) : real_(real) {}
    int CompareIgnoringCase(const std::string& a, const std::string& b) override {
        const auto start = std::chrono::steady_clock::now();
        const int order = real_.CompareIgnoringCase(a, b);
        Add(start);
        return order;
    }
    std::optional<std::string> SortKey(const std::string& text) override {
        const auto start = std::chrono::steady_clock::now();
        std::optional<std::string> key = real_.SortKey(text);
        Add(start);
        return key;
    }
    double ms = 0;

private:
    void Add(std::chrono::steady_clock::time_point start) {
        ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    Collation& real_;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Step>
double MedianMs(int runs, Step step) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        step();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return Median(times);
}
}  // namespace

int main() {
    const std::string root = MakeProgramFolder();
    WriteIcons(root);
    ProgramFolder folder(root);
    Win32FileSystem files;
    UserLocaleCollation collation;
    SilentNotices notices;
    StreamListFile listFile(folder.ListFile(), files, collation, notices);
    TrayMenu menu(::GetModuleHandleA(nullptr));
    FlatMenuLook look;
    StreamList list;

    const auto rebuild = [&] {
        listFile.LoadStreamList(list);
        menu.RebuildListMenu(list, folder, files);
        menu.CompleteListMenu();
        look.Apply(menu.Handle());
    };

    std::printf("Load the list and rebuild \"Ma liste\" (median of 5 runs)\n");
    for (int entries : {100, 10000}) {
        files.ReplaceFile(folder.ListFile(), ListText(entries));
        std::vector<double> runs;
        for (int run = 0; run < 5; ++run) {
            const auto start = std::chrono::steady_clock::now();
            rebuild();
            runs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::printf("  %6d entries: %9.2f ms (min %.2f, max %.2f)\n", entries, Median(runs),
                    *std::min_element(runs.begin(), runs.end()), *std::max_element(runs.begin(), runs.end()));
    }

    // The first build, at start-up: the list read into an empty menu. Step by
    // step as the program does it: read, parse (split), sort, the icons
    // (file lookups and bitmaps), the menu items, the flat look; then the rest
    // of a long list, which the program inserts after the start, between the
    // user's messages (and at once if the menu is opened before).
    std::printf("First build at start-up, into an empty menu (read, parse, sort, icons, items, look)\n");
    for (int entries : {100, 10000}) {
        files.ReplaceFile(folder.ListFile(), ListText(entries));
        TimedCollation timed(collation);
        StreamListFile freshFile(folder.ListFile(), files, timed, notices);
        StreamList freshList;
        TrayMenu fresh(::GetModuleHandleA(nullptr));
        FlatMenuLook freshLook;
        const auto start = std::chrono::steady_clock::now();
        const double read = MedianMs(1, [&] { files.ReadFile(folder.ListFile()); });
        const double load = MedianMs(1, [&] { freshFile.LoadStreamList(freshList); });
        const double lookup = MedianMs(1, [&] { BuildListMenuItems(freshList, folder, files, -1); });
        const double items = MedianMs(1, [&] { fresh.RebuildListMenu(freshList, folder, files); });
        const double flat = MedianMs(1, [&] { freshLook.Apply(fresh.Handle()); });
        const double startUp = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        const double rest = MedianMs(1, [&] {
            fresh.CompleteListMenu();
            freshLook.Apply(fresh.Handle());
        });
        std::printf("  %6d entries: %8.2f ms = read %.2f + parse %.2f + sort %.2f + icon files %.2f"
                    " + bitmaps and items %.2f + look %.2f; the rest of the items afterwards %.2f ms\n",
                    entries, startUp, read, load - read - timed.ms, timed.ms, lookup, items - lookup, flat, rest);
    }

    files.ReplaceFile(folder.ListFile(), ListText(100));
    rebuild();
    const GdiFigures before = MeasureGdi();
    for (int i = 0; i < 1000; ++i) rebuild();
    const GdiFigures after = MeasureGdi();
    std::printf("GDI objects of the process, before and after 1000 rebuilds: %lu -> %lu%s\n", before.objects,
                after.objects, before.objects == 0 ? " (not counted by this system)" : "");
    std::printf("GDI slot given to a new object, before and after:          %u -> %u\n", before.slot, after.slot);
    return 0;
}
