// Events of the embedded browser: a sink that refuses every new window a page
// asks for, and the scoped Advise/Unadvise that connects a sink to a control.
#pragma once
#include <windows.h>
#include <ocidl.h>

#include "win/com_object_win32.h"

// Answers the browser's event interface; on NewWindow2 and NewWindow3 it sets
// the cancel flag, so pop-ups and links aimed at a new window open nothing.
class NewWindowBlocker : public ComObject<NewWindowBlocker, IDispatch> {
public:
    static const InterfaceEntry<NewWindowBlocker> kInterfaces[2];

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // New windows refused so far.
    unsigned Refused() const noexcept { return refused_; }

protected:
    ~NewWindowBlocker() override = default;

private:
    unsigned refused_ = 0;
};

// Keeps `sink` advised on the connection point `events` of `source` for the
// object's lifetime. Throws std::runtime_error when the source refuses.
class EventConnection {
public:
    EventConnection(IUnknown* source, REFIID events, IUnknown* sink);
    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;
    ~EventConnection();

private:
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};
