#include "playback/browser_events_win32.h"

#include <exdisp.h>
#include <exdispid.h>

#include <stdexcept>

const InterfaceEntry<NewWindowBlocker> NewWindowBlocker::kInterfaces[2] = {
    {&IID_IDispatch, [](NewWindowBlocker* s) -> IUnknown* { return static_cast<IDispatch*>(s); }},
    {&DIID_DWebBrowserEvents2, [](NewWindowBlocker* s) -> IUnknown* { return static_cast<IDispatch*>(s); }},
};

HRESULT NewWindowBlocker::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT NewWindowBlocker::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT NewWindowBlocker::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT NewWindowBlocker::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
    if (id != DISPID_NEWWINDOW2 && id != DISPID_NEWWINDOW3) return S_OK;
    if (!params) return E_INVALIDARG;
    // The cancel flag is the one argument passed as a reference to a
    // VARIANT_BOOL: the last but one of NewWindow3, the last of NewWindow2
    // (arguments arrive in reverse order).
    for (UINT i = 0; i < params->cArgs; ++i) {
        VARIANT& argument = params->rgvarg[i];
        if (V_VT(&argument) == (VT_BYREF | VT_BOOL) && V_BOOLREF(&argument)) {
            *V_BOOLREF(&argument) = VARIANT_TRUE;
            ++refused_;
            return S_OK;
        }
    }
    return DISP_E_TYPEMISMATCH;
}

EventConnection::EventConnection(IUnknown* source, REFIID events, IUnknown* sink) {
    ComPtr<IConnectionPointContainer> container = ComPtr<IUnknown>::Share(source).As<IConnectionPointContainer>();
    if (!container) throw std::runtime_error("Le navigateur ne publie pas ses événements");
    if (FAILED(container->FindConnectionPoint(events, point_.put())) || !point_)
        throw std::runtime_error("Le navigateur ne publie pas l'événement demandé");
    if (FAILED(point_->Advise(sink, &cookie_)))
        throw std::runtime_error("Le navigateur refuse l'abonnement à ses événements");
}

EventConnection::~EventConnection() {
    if (point_) point_->Unadvise(cookie_);
}
