// Counts of what a process holds, to tell a leak from a repeated action.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace wine_support {

// What grows when something leaks. Wine counts neither handles nor GDI or
// USER objects per process (GetProcessHandleCount and GetGuiResources give
// 0), so the probe reads the slot a new kernel handle gets (the lowest free
// one), and counts the process's GDI objects, menus and windows by their
// slots: Wine takes a handle with no generation in its upper half as its
// slot's object. With no leak they stay put.
struct ResourceProbe {
    DWORD handles = 0;
    uintptr_t handleSlot = 0;
    unsigned gdiObjects = 0;
    unsigned userObjects = 0;
};
ResourceProbe ProbeResources();

// Runs once five times (first-time allocations are not leaks), then times
// more between two probes; returns what grew ("kernel handles", "GDI
// objects", "USER objects"), empty when nothing did. The counts may move by a
// few with no leak (Wine's own caches): a leak of one object in every cycle
// moves them by the count of cycles, so times should be 20 or more.
std::string ResourcesGrownBy(int times, const std::function<void()>& once);

}  // namespace wine_support
