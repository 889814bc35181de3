// A dragged data object for the drop tests under Wine: it delivers its table
// of formats as HGLOBAL storage (or as a stream), logs every call, and keeps
// the effect the target reports as performed. Shared by the drop target's
// tests and the program's drop tests.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "win/com_object_win32.h"
#include "win/handles_win32.h"

inline CLIPFORMAT Registered(const char* name) { return static_cast<CLIPFORMAT>(::RegisterClipboardFormatA(name)); }

inline std::string FormatName(CLIPFORMAT format) {
    if (format == CF_TEXT) return "CF_TEXT";
    if (format == CF_HDROP) return "CF_HDROP";
    char name[128] = {};
    if (::GetClipboardFormatNameA(format, name, sizeof(name)) > 0) return name;
    return "format " + std::to_string(format);
}

struct Offer {
    CLIPFORMAT format;
    std::string bytes;
    bool asStream = false;
    ULONG overReport = 0;  // a stream that claims this many bytes more than it was asked for
};

// A read-only stream over bytes that claims to have read more than it was
// asked for (the bytes it copies are right). Logs its reads.
class OverReportingStream : public ComObject<OverReportingStream, IStream> {
public:
    OverReportingStream(std::string bytes, ULONG overReport) : bytes_(std::move(bytes)), overReport_(overReport) {}
    static const InterfaceEntry<OverReportingStream> kInterfaces[2];

    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG asked, ULONG* read) override {
        const ULONG n = static_cast<ULONG>(std::min<std::size_t>(asked, bytes_.size() - position_));
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        if (read) *read = n == 0 ? 0 : asked + overReport_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

private:
    std::string bytes_;
    std::size_t position_ = 0;
    ULONG overReport_;
};

inline const InterfaceEntry<OverReportingStream> OverReportingStream::kInterfaces[2] = {
    {&IID_IStream, [](OverReportingStream* self) -> IUnknown* { return static_cast<IStream*>(self); }},
    {&IID_ISequentialStream, [](OverReportingStream* self) -> IUnknown* { return static_cast<IStream*>(self); }},
};

// A list of formats that never ends: every entry is a format nobody reads.
// It gives up after a million entries so that a test fails rather than hangs.
class EndlessFormats : public ComObject<EndlessFormats, IEnumFORMATETC> {
public:
    explicit EndlessFormats(long& entries) : entries_(entries) {}
    static const InterfaceEntry<EndlessFormats> kInterfaces[1];

    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) override {
        if (count == 0 || ++entries_ > 1000000) {
            if (fetched) *fetched = 0;
            return S_FALSE;
        }
        formats[0] = {Registered("Sonoraflux test"), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        if (fetched) *fetched = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC**) override { return E_NOTIMPL; }

private:
    long& entries_;
};

inline const InterfaceEntry<EndlessFormats> EndlessFormats::kInterfaces[1] = {
    {&IID_IEnumFORMATETC, [](EndlessFormats* self) -> IUnknown* { return static_cast<IEnumFORMATETC*>(self); }},
};

// A dragged data object: delivers its table of formats as HGLOBAL storage that
// it keeps itself, handing a reference of its own with each delivery so that a
// storage never released shows in the reference count. Logs every call.
class TestDataObject : public ComObject<TestDataObject, IDataObject> {
public:
    explicit TestDataObject(std::vector<Offer> offers) : offers_(std::move(offers)) {}
    static const InterfaceEntry<TestDataObject> kInterfaces[1];

    std::vector<std::string> log;
    std::optional<DWORD> performedEffect;
    bool endlessFormats = false;
    long enumeratedEntries = 0;

    long References() {
        AddRef();
        return static_cast<long>(Release());
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        log.push_back("GetData " + FormatName(format->cfFormat));
        const Offer* offer = Find(format);
        if (!offer) return DV_E_FORMATETC;
        if (offer->asStream) return DeliverStream(*offer, medium);
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, offer->bytes.size());
        std::memcpy(::GlobalLock(memory), offer->bytes.data(), offer->bytes.size());
        ::GlobalUnlock(memory);
        delivered_.emplace_back(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        log.push_back("QueryGetData " + FormatName(format->cfFormat));
        return Find(format) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override {
        log.push_back("SetData " + FormatName(format->cfFormat));
        if (format->cfFormat != Registered("Performed DropEffect") || medium->tymed != TYMED_HGLOBAL) return E_NOTIMPL;
        performedEffect = *static_cast<DWORD*>(::GlobalLock(medium->hGlobal));
        ::GlobalUnlock(medium->hGlobal);
        if (release) ::ReleaseStgMedium(medium);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
        log.push_back("EnumFormatEtc");
        if (direction != DATADIR_GET) return E_NOTIMPL;
        if (endlessFormats) {
            auto list = EndlessFormats::Create(enumeratedEntries);
            *formats = list.get();
            list->AddRef();
            return S_OK;
        }
        std::vector<FORMATETC> list;
        for (const Offer& offer : offers_)
            list.push_back({offer.format, nullptr, DVASPECT_CONTENT, -1,
                            static_cast<DWORD>(offer.asStream ? TYMED_ISTREAM : TYMED_HGLOBAL)});
        return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(list.size()), list.data(), formats);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    const Offer* Find(const FORMATETC* format) const {
        for (const Offer& offer : offers_)
            if (offer.format == format->cfFormat &&
                (format->tymed & (offer.asStream ? TYMED_ISTREAM : TYMED_HGLOBAL)))
                return &offer;
        return nullptr;
    }

    // The stream owns a copy of the bytes; the reference handed out is the
    // delivery's, so a stream never released shows in the live count.
    static HRESULT DeliverStream(const Offer& offer, STGMEDIUM* medium) {
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, offer.bytes.size());
        std::memcpy(::GlobalLock(memory), offer.bytes.data(), offer.bytes.size());
        ::GlobalUnlock(memory);
        IStream* stream = nullptr;
        if (offer.overReport) {
            ::GlobalFree(memory);
            auto lying = OverReportingStream::Create(offer.bytes, offer.overReport);
            stream = lying.get();
            lying->AddRef();
        } else if (const HRESULT result = ::CreateStreamOnHGlobal(memory, TRUE, &stream); FAILED(result)) {
            return result;
        }
        medium->tymed = TYMED_ISTREAM;
        medium->pstm = stream;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }

    std::vector<Offer> offers_;
    std::vector<UniqueGlobalMemory> delivered_;
};

inline const InterfaceEntry<TestDataObject> TestDataObject::kInterfaces[1] = {
    {&IID_IDataObject, [](TestDataObject* self) -> IUnknown* { return static_cast<IDataObject*>(self); }},
};
