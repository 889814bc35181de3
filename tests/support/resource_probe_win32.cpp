#include "tests/support/resource_probe_win32.h"

namespace wine_support {

ResourceProbe ProbeResources() {
    ResourceProbe probe;
    ::GetProcessHandleCount(::GetCurrentProcess(), &probe.handles);
    HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    probe.handleSlot = reinterpret_cast<uintptr_t>(event);
    ::CloseHandle(event);
    probe.gdiObjects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (probe.gdiObjects == 0) {
        for (uintptr_t slot = 1; slot <= 0xFFFF; ++slot)
            if (::GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) ++probe.gdiObjects;
    }
    probe.userObjects = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    if (probe.userObjects == 0) {
        const DWORD self = ::GetCurrentProcessId();
        for (uintptr_t slot = 1; slot <= 0xFFFF; ++slot) {
            const auto window = reinterpret_cast<HWND>(slot);
            DWORD owner = 0;
            if (::IsMenu(reinterpret_cast<HMENU>(slot)) ||
                (::IsWindow(window) && ::GetWindowThreadProcessId(window, &owner) && owner == self))
                ++probe.userObjects;
        }
    }
    return probe;
}

std::string ResourcesGrownBy(int times, const std::function<void()>& once) {
    for (int i = 0; i < 5; ++i) once();
    const ResourceProbe before = ProbeResources();
    for (int i = 0; i < times; ++i) once();
    const ResourceProbe after = ProbeResources();
    std::string grown;
    if (after.handles > before.handles || after.handleSlot > before.handleSlot) grown += "kernel handles ";
    constexpr unsigned kNoise = 8;
    if (after.gdiObjects > before.gdiObjects + kNoise) grown += "GDI objects ";
    if (after.userObjects > before.userObjects + kNoise) grown += "USER objects ";
    if (!before.handleSlot || !before.gdiObjects) grown += "(no probe) ";
    return grown;
}

}  // namespace wine_support
