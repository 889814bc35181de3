// The handle kinds the program owns, each with the call that releases it.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include "win/unique_handle.h"

namespace handles {
inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseRegKey(HKEY h) { ::RegCloseKey(h); }
inline void DestroyMenuHandle(HMENU h) { ::DestroyMenu(h); }
inline void DestroyIconHandle(HICON h) { ::DestroyIcon(h); }
inline void DeleteGdiObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void UnloadModule(HMODULE h) { ::FreeLibrary(h); }
inline void DestroyWindowHandle(HWND h) { ::DestroyWindow(h); }
inline void DeleteMemoryDc(HDC h) { ::DeleteDC(h); }
inline void DestroyImageList(HIMAGELIST h) { ::ImageList_Destroy(h); }
inline void FreeGlobalMemory(HGLOBAL h) { ::GlobalFree(h); }
inline void DestroyAccelerators(HACCEL h) { ::DestroyAcceleratorTable(h); }

struct FileHandleTraits {
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
}  // namespace handles

using UniqueKernelHandle = UniqueHandle<HANDLE, NullHandleTraits<HANDLE, handles::CloseKernelHandle>>;
using UniqueFileHandle = UniqueHandle<HANDLE, handles::FileHandleTraits>;
using UniqueRegKey = UniqueHandle<HKEY, NullHandleTraits<HKEY, handles::CloseRegKey>>;
using UniqueMenu = UniqueHandle<HMENU, NullHandleTraits<HMENU, handles::DestroyMenuHandle>>;
using UniqueIcon = UniqueHandle<HICON, NullHandleTraits<HICON, handles::DestroyIconHandle>>;
using UniqueBitmap = UniqueHandle<HBITMAP, NullHandleTraits<HBITMAP, handles::DeleteGdiObject>>;
using UniqueFont = UniqueHandle<HFONT, NullHandleTraits<HFONT, handles::DeleteGdiObject>>;
using UniqueBrush = UniqueHandle<HBRUSH, NullHandleTraits<HBRUSH, handles::DeleteGdiObject>>;
using UniquePen = UniqueHandle<HPEN, NullHandleTraits<HPEN, handles::DeleteGdiObject>>;
using UniqueModule = UniqueHandle<HMODULE, NullHandleTraits<HMODULE, handles::UnloadModule>>;
using UniqueWindow = UniqueHandle<HWND, NullHandleTraits<HWND, handles::DestroyWindowHandle>>;
using UniqueImageList = UniqueHandle<HIMAGELIST, NullHandleTraits<HIMAGELIST, handles::DestroyImageList>>;
using UniqueGlobalMemory = UniqueHandle<HGLOBAL, NullHandleTraits<HGLOBAL, handles::FreeGlobalMemory>>;
using UniqueAccelerators = UniqueHandle<HACCEL, NullHandleTraits<HACCEL, handles::DestroyAccelerators>>;
using UniqueMemoryDc = UniqueHandle<HDC, NullHandleTraits<HDC, handles::DeleteMemoryDc>>;

// Selects a GDI object into a DC for one scope and puts the old one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { ::SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};
