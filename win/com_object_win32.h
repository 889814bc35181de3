// Base of the COM objects we implement ourselves (browser site, event sink).
// Each derived class lists the interfaces it answers in a table whose first row
// also answers IUnknown; the base keeps the reference count and deletes the
// object when the last one goes. Destructors are protected: only Release ends
// an object's life.
#pragma once
#include <windows.h>
#include <unknwn.h>

#include <atomic>
#include <utility>

#include "win/com_ptr_win32.h"

// One row of a QueryInterface table: an interface id and how to reach that
// interface from the object.
template <typename Derived>
struct InterfaceEntry {
    const IID* iid;
    IUnknown* (*cast)(Derived*);
};

template <typename Derived, typename... Interfaces>
class ComObject : public Interfaces... {
public:
    // Makes an object with one reference, owned by the returned pointer.
    template <typename... Args>
    static ComPtr<Derived> Create(Args&&... args) {
        return ComPtr<Derived>::Attach(new Derived(std::forward<Args>(args)...));
    }

    // Objects of this class alive in the process; a leak check for tests.
    static long LiveCount() noexcept { return live_.load(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        auto* self = static_cast<Derived*>(this);
        IUnknown* found = nullptr;
        if (iid == IID_IUnknown) {
            found = Derived::kInterfaces[0].cast(self);
        } else {
            for (const auto& entry : Derived::kInterfaces) {
                if (*entry.iid == iid) {
                    found = entry.cast(self);
                    break;
                }
            }
        }
        if (!found) return E_NOINTERFACE;
        found->AddRef();
        *object = found;
        return S_OK;
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }

    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --references_;
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

protected:
    ComObject() noexcept { ++live_; }
    virtual ~ComObject() { --live_; }

private:
    std::atomic<long> references_{1};
    static inline std::atomic<long> live_{0};
};
