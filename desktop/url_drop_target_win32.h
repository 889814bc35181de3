// The drop target that takes addresses dragged onto a window from a web
// browser or the desktop. The component owns a small COM object that the
// system calls (IDropTarget); the object forwards to the component while it
// lives and answers E_UNEXPECTED once the component is gone. A window is
// registered through a hidden child window, so the registration is made when
// the child is created and revoked when it is destroyed, parent still alive.
// OLE must be initialised on the thread (OleSession) before Register and
// stay so until the component is destroyed.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <shobjidl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/url_drop.h"
#include "win/com_ptr_win32.h"

class UrlDropTargetObject;
class DropRegistrationWindow;

// The keys and mouse buttons held during a drag.
struct TShiftState {
    bool shift = false;
    bool control = false;
    bool alt = false;
    bool left = false;
    bool right = false;
    bool middle = false;

    static TShiftState FromKeyState(DWORD keyState);
};

class TUrlDropTarget;

// Sender, keys held, the drop point in the target window's client
// coordinates, and the effect, which the handler may change.
using TDropTargetEvent = std::function<void(TUrlDropTarget& sender, TShiftState shift, POINT point, DWORD& effect)>;

// Reads dropped internet shortcut files from disk, shared with other readers.
class DiskShortcutFileReader : public ShortcutFileReader {
public:
    std::optional<std::string> ReadAll(const std::string& path) const override;
    std::optional<std::string> AnsiName(std::u16string_view wideName) const override;
};

class TUrlDropTarget {
public:
    TUrlDropTarget();
    TUrlDropTarget(const TUrlDropTarget&) = delete;
    TUrlDropTarget& operator=(const TUrlDropTarget&) = delete;
    // Unregisters every window.
    ~TUrlDropTarget();

    // Makes window a drop target; every other window is unregistered first.
    // Throws std::runtime_error when the system refuses the registration.
    void Register(HWND window);
    // Revokes the window's registration; nullptr revokes them all.
    void Unregister(HWND window = nullptr);
    bool IsRegistered(HWND window) const;

    const std::string& URL() const noexcept { return data_.URL; }
    const std::string& Title() const noexcept { return data_.Title; }

    // Effects the target may accept; copy or link by default.
    DWORD Dragtypes = DROPEFFECT_COPY | DROPEFFECT_LINK;
    // Shows the source's drag image over the target window.
    bool ShowImage = true;
    TDropTargetEvent OnDrop;

    // The COM object the system calls; tests drive a drag through it.
    IDropTarget* DropTarget() const noexcept;

private:
    friend class UrlDropTargetObject;

    HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect);
    HRESULT DragOver(DWORD keyState, POINTL point, DWORD* effect);
    HRESULT DragLeave();
    HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect);

    HWND RegisteredWindowAt(POINTL point) const;
    DWORD EffectFor(DWORD keyState, DWORD offered) const;
    void SetPerformedEffect(DWORD effect);
    void BeginDragImage(IDataObject* data, POINTL point, DWORD effect);
    void MoveDragImage(POINTL point, DWORD effect);
    // Removes the drag image, clears URL and Title, lets go of the data object.
    void EndDrag();

    ComPtr<UrlDropTargetObject> object_;
    std::vector<std::unique_ptr<DropRegistrationWindow>> registrations_;
    TURLDataFormat data_;
    DiskShortcutFileReader files_;
    ComPtr<IDataObject> dragged_;
    HWND targetWindow_ = nullptr;
    ComPtr<IDropTargetHelper> imageHelper_;
    bool imageListDragging_ = false;
};
