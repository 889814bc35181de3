#include "playback/browser_control_win32.h"

#include <cstdio>
#include <stdexcept>

#include "win/unique_handle.h"

namespace {
void FreeBstr(BSTR text) { ::SysFreeString(text); }
using UniqueBstr = UniqueHandle<BSTR, NullHandleTraits<BSTR, FreeBstr>>;

std::string HexResult(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

void Check(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw std::runtime_error(std::string(what) + " (" + HexResult(hr) + ")");
}

// Addresses are ANSI text everywhere in the program; the browser takes UTF-16.
UniqueBstr WidenAnsi(const std::string& text) {
    const int length = static_cast<int>(text.size());
    const int wide = length ? ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0) : 0;
    if (length && !wide) throw BrowserError("Adresse illisible : " + text);
    UniqueBstr result(::SysAllocStringLen(nullptr, static_cast<UINT>(wide)));
    if (!result) throw std::bad_alloc();
    if (wide) ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, result.get(), wide);
    return result;
}
}  // namespace

EmbeddedBrowser::Embedding::~Embedding() {
    if (!object) return;
    if (auto inPlace = object.As<IOleInPlaceObject>()) inPlace->InPlaceDeactivate();
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
}

EmbeddedBrowser::EmbeddedBrowser(HWND window, const RECT& place)
    : site_(BrowserSite::Create(window, place)), blocker_(NewWindowBlocker::Create()) {
    ComPtr<IOleObject> object;
    Check(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object.putVoid()),
          "Impossible de créer le navigateur intégré");
    Check(object->SetClientSite(site_.get()), "Le navigateur intégré refuse son site");
    embedding_.object = object;
    RECT position = place;
    Check(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, window, &position),
          "Le navigateur intégré ne s'active pas");
    browser_ = object.As<IWebBrowser2>();
    if (!browser_) throw std::runtime_error("Le navigateur intégré n'offre pas la navigation");
    events_ = std::make_unique<EventConnection>(browser_.get(), DIID_DWebBrowserEvents2,
                                                static_cast<IDispatch*>(blocker_.get()));
}

EmbeddedBrowser::~EmbeddedBrowser() = default;

void EmbeddedBrowser::Navigate(const std::string& ansiAddress) {
    UniqueBstr address = WidenAnsi(ansiAddress);
    VARIANT none;
    ::VariantInit(&none);
    const HRESULT hr = browser_->Navigate(address.get(), &none, &none, &none, &none);
    if (FAILED(hr)) throw BrowserError("Le navigateur refuse l'adresse " + ansiAddress + " (" + HexResult(hr) + ")");
}
