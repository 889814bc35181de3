#include "playback/browser_site_win32.h"

const InterfaceEntry<BrowserSite> BrowserSite::kInterfaces[5] = {
    {&IID_IOleClientSite, [](BrowserSite* s) -> IUnknown* { return static_cast<IOleClientSite*>(s); }},
    {&IID_IOleWindow, [](BrowserSite* s) -> IUnknown* { return static_cast<IOleInPlaceSite*>(s); }},
    {&IID_IOleInPlaceSite, [](BrowserSite* s) -> IUnknown* { return static_cast<IOleInPlaceSite*>(s); }},
    {&IID_IOleInPlaceUIWindow, [](BrowserSite* s) -> IUnknown* { return static_cast<IOleInPlaceFrame*>(s); }},
    {&IID_IOleInPlaceFrame, [](BrowserSite* s) -> IUnknown* { return static_cast<IOleInPlaceFrame*>(s); }},
};

BrowserSite::BrowserSite(HWND window, const RECT& place) noexcept : window_(window), place_(place) {}

HRESULT BrowserSite::SaveObject() { return E_NOTIMPL; }

HRESULT BrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT BrowserSite::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT BrowserSite::ShowObject() { return S_OK; }
HRESULT BrowserSite::OnShowWindow(BOOL) { return S_OK; }
HRESULT BrowserSite::RequestNewObjectLayout() { return E_NOTIMPL; }

HRESULT BrowserSite::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = window_;
    return S_OK;
}

HRESULT BrowserSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT BrowserSite::CanInPlaceActivate() { return S_OK; }

HRESULT BrowserSite::OnInPlaceActivate() {
    inPlaceActive_ = true;
    return S_OK;
}

HRESULT BrowserSite::OnUIActivate() { return S_OK; }

HRESULT BrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                      RECT* clip, OLEINPLACEFRAMEINFO* info) {
    if (!frame || !document || !position || !clip || !info) return E_POINTER;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    // Our window is frame and document window at once, which the protocol
    // expresses by giving no separate document window.
    *document = nullptr;
    *position = place_;
    *clip = place_;
    info->cb = sizeof(OLEINPLACEFRAMEINFO);
    info->fMDIApp = FALSE;
    info->hwndFrame = window_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT BrowserSite::Scroll(SIZE) { return E_NOTIMPL; }
HRESULT BrowserSite::OnUIDeactivate(BOOL) { return S_OK; }

HRESULT BrowserSite::OnInPlaceDeactivate() {
    inPlaceActive_ = false;
    return S_OK;
}

HRESULT BrowserSite::DiscardUndoState() { return S_OK; }
HRESULT BrowserSite::DeactivateAndUndo() { return S_OK; }

// The controls have a fixed place in the host; a wish to move is declined by
// keeping the place we gave.
HRESULT BrowserSite::OnPosRectChange(const RECT*) { return S_OK; }

HRESULT BrowserSite::GetBorder(RECT*) { return INPLACE_E_NOTOOLSPACE; }
HRESULT BrowserSite::RequestBorderSpace(const BORDERWIDTHS*) { return INPLACE_E_NOTOOLSPACE; }

HRESULT BrowserSite::SetBorderSpace(const BORDERWIDTHS* widths) {
    // No tool space to give; "none needed" is all we can honour.
    return widths ? INPLACE_E_NOTOOLSPACE : S_OK;
}

HRESULT BrowserSite::SetActiveObject(IOleInPlaceActiveObject*, const OLECHAR*) { return S_OK; }

HRESULT BrowserSite::InsertMenus(HMENU, OLEMENUGROUPWIDTHS*) { return E_NOTIMPL; }
HRESULT BrowserSite::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
HRESULT BrowserSite::RemoveMenus(HMENU) { return E_NOTIMPL; }
HRESULT BrowserSite::SetStatusText(const OLECHAR*) { return S_OK; }
HRESULT BrowserSite::EnableModeless(BOOL) { return S_OK; }
HRESULT BrowserSite::TranslateAccelerator(MSG*, WORD) { return S_FALSE; }
