// Prints how long loading the list and rebuilding "Ma liste" takes for 100 and
// 10,000 entries with icons (median of several runs), where that time goes,
// and the GDI objects of the process before and after 1,000 rebuilds.
#include <windows.h>

#include <algorithm>
#include <chrono>
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

    // The first build, at start-up, fills an empty menu item by item.
    {
        TrayMenu fresh(::GetModuleHandleA(nullptr));
        FlatMenuLook freshLook;
        const auto start = std::chrono::steady_clock::now();
        listFile.LoadStreamList(list);
        fresh.RebuildListMenu(list, folder, files);
        freshLook.Apply(fresh.Handle());
        std::printf("   10000 entries into an empty menu (start-up): %.2f ms\n",
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }

    // Where the time of a rebuild of 10,000 entries goes, each step on its own.
    files.ReplaceFile(folder.ListFile(), ListText(10000));
    rebuild();
    const double read = MedianMs(5, [&] { files.ReadFile(folder.ListFile()); });
    const double load = MedianMs(5, [&] { listFile.LoadStreamList(list); });
    const double lookup = MedianMs(5, [&] { BuildListMenuItems(list, folder, files, -1); });
    const double bitmaps = MedianMs(5, [&] {
        for (int i = 0; i < 10; ++i) {
            const std::string path = folder.Image("icone" + std::to_string(i) + ".bmp");
            ::DeleteObject(::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        }
    });
    const double menuRebuild = MedianMs(5, [&] { menu.RebuildListMenu(list, folder, files); });
    const double flatLook = MedianMs(5, [&] { look.Apply(menu.Handle()); });
    std::printf("Where the time goes for 10000 entries (median of 5 runs of each step)\n");
    std::printf("  read the list file           %9.2f ms\n", read);
    std::printf("  split, sort, parse the lines %9.2f ms\n", load - read);
    std::printf("  look for the icon files      %9.2f ms\n", lookup);
    std::printf("  load the 10 bitmaps          %9.2f ms\n", bitmaps);
    std::printf("  rebuild the items (with the two above) %9.2f ms\n", menuRebuild);
    std::printf("  apply the flat look          %9.2f ms\n", flatLook);

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
