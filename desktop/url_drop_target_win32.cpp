#include "desktop/url_drop_target_win32.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <stdexcept>

#include "win/com_object_win32.h"
#include "win/error_box_win32.h"
#include "win/handles_win32.h"
#include "win/window_win32.h"

static_assert(sizeof(FILEDESCRIPTORA) == 332 && offsetof(FILEDESCRIPTORA, cFileName) == 72,
              "the file group rule reads the shell's descriptor layout");
static_assert(kDropEffectCopy == DROPEFFECT_COPY && kDropEffectMove == DROPEFFECT_MOVE &&
              kDropEffectLink == DROPEFFECT_LINK && kDropEffectNone == DROPEFFECT_NONE);

namespace {
// The shell's drag-image object, which draws the source's drag image over us.
constexpr CLSID kDragImageHelperClass = {0x4657278A, 0x411B, 0x11D2, {0x83, 0x9A, 0x00, 0xC0, 0x4F, 0xD9, 0x18, 0xD0}};

// Dragged data larger than this is no address or shortcut: read no further.
constexpr std::size_t kReadLimit = 1 << 20;
// A source's list of formats is walked this far at most: an enumerator that
// never ends must not hang the drag.
constexpr int kOfferedFormatsLimit = 256;

CLIPFORMAT RegisteredFormat(const char* name) { return static_cast<CLIPFORMAT>(::RegisterClipboardFormatA(name)); }

CLIPFORMAT ClipboardFormatOf(UrlDropFormat format) {
    static const CLIPFORMAT formats[] = {
        RegisteredFormat("Netscape Bookmark"),   RegisteredFormat("Netscape Image Format"),
        RegisteredFormat("UniformResourceLocator"), RegisteredFormat("FileGroupDescriptor"),
        RegisteredFormat("FileContents"),        CF_TEXT,
        CF_HDROP,
    };
    return formats[static_cast<int>(format)];
}

// Shortcut contents come for the first file of the group and may come as a stream.
FORMATETC FormatEtcOf(UrlDropFormat format) {
    const bool contents = format == UrlDropFormat::FileContents;
    return FORMATETC{ClipboardFormatOf(format), nullptr, DVASPECT_CONTENT, contents ? 0 : -1,
                     static_cast<DWORD>(contents ? TYMED_HGLOBAL | TYMED_ISTREAM : TYMED_HGLOBAL)};
}

// Delivered storage, released whatever happens while it is read.
class DeliveredMedium {
public:
    DeliveredMedium() = default;
    DeliveredMedium(const DeliveredMedium&) = delete;
    DeliveredMedium& operator=(const DeliveredMedium&) = delete;
    ~DeliveredMedium() {
        if (medium.tymed != TYMED_NULL) ::ReleaseStgMedium(&medium);
    }
    STGMEDIUM medium{};
};

class GlobalLock {
public:
    explicit GlobalLock(HGLOBAL memory) : memory_(memory), bytes_(static_cast<const char*>(::GlobalLock(memory))) {}
    GlobalLock(const GlobalLock&) = delete;
    GlobalLock& operator=(const GlobalLock&) = delete;
    ~GlobalLock() {
        if (bytes_) ::GlobalUnlock(memory_);
    }
    std::string Copy() const {
        if (!bytes_) return {};
        return std::string(bytes_, std::min<std::size_t>(::GlobalSize(memory_), kReadLimit));
    }

private:
    HGLOBAL memory_;
    const char* bytes_;
};

// The byte count a stream reports is the source's word only: more than was
// asked for means a broken stream, so take what fits and read no further.
std::string ReadStream(IStream* stream) {
    std::string bytes;
    char chunk[4096] = {};
    while (bytes.size() < kReadLimit) {
        const ULONG asked = static_cast<ULONG>(std::min(sizeof(chunk), kReadLimit - bytes.size()));
        ULONG read = 0;
        if (FAILED(stream->Read(chunk, asked, &read)) || read == 0) break;
        bytes.append(chunk, std::min(read, asked));
        if (read > asked) break;
    }
    return bytes;
}

// The dragged data object as the fetch sees it.
class DataObjectSource : public UrlDropSource {
public:
    explicit DataObjectSource(IDataObject* data) : data_(data) {}

    bool OffersAnyFormat() override {
        ComPtr<IEnumFORMATETC> offered;
        if (FAILED(data_->EnumFormatEtc(DATADIR_GET, offered.put())) || !offered) return CanDeliverAny();
        for (int walked = 0; walked < kOfferedFormatsLimit; ++walked) {
            FORMATETC entry{};
            ULONG fetched = 0;
            if (offered->Next(1, &entry, &fetched) != S_OK || fetched != 1) return false;
            if (entry.ptd) ::CoTaskMemFree(entry.ptd);
            for (UrlDropFormat format : kUrlDropFormats)
                if (entry.cfFormat == ClipboardFormatOf(format) && CanDeliver(format)) return true;
        }
        // Past the limit the list tells nothing more: ask for the formats directly.
        return CanDeliverAny();
    }

    std::optional<std::string> Get(UrlDropFormat format) override {
        FORMATETC wanted = FormatEtcOf(format);
        DeliveredMedium delivered;
        if (data_->GetData(&wanted, &delivered.medium) != S_OK) {
            delivered.medium.tymed = TYMED_NULL;
            return std::nullopt;
        }
        // The whole block as the system sized it; the rules read nothing outside it.
        if (delivered.medium.tymed == TYMED_HGLOBAL && delivered.medium.hGlobal)
            return GlobalLock(delivered.medium.hGlobal).Copy();
        if (delivered.medium.tymed == TYMED_ISTREAM && delivered.medium.pstm) return ReadStream(delivered.medium.pstm);
        return std::nullopt;
    }

private:
    bool CanDeliver(UrlDropFormat format) {
        FORMATETC wanted = FormatEtcOf(format);
        return data_->QueryGetData(&wanted) == S_OK;
    }

    // For data objects that do not list their formats.
    bool CanDeliverAny() {
        return std::any_of(kUrlDropFormats.begin(), kUrlDropFormats.end(),
                           [this](UrlDropFormat format) { return CanDeliver(format); });
    }

    IDataObject* data_;
};
}  // namespace

// The object the system calls. It forwards to its component while that lives;
// a drag still under way when the component goes gets E_UNEXPECTED.
class UrlDropTargetObject : public ComObject<UrlDropTargetObject, IDropTarget> {
public:
    explicit UrlDropTargetObject(TUrlDropTarget* owner) noexcept : owner_(owner) {}
    static const InterfaceEntry<UrlDropTargetObject> kInterfaces[1];

    void Detach() noexcept { owner_ = nullptr; }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override {
        return Guarded(effect, [&] { return owner_->DragEnter(data, keyState, point, effect); });
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override {
        return Guarded(effect, [&] { return owner_->DragOver(keyState, point, effect); });
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        return Guarded(nullptr, [&] { return owner_->DragLeave(); });
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override {
        return Guarded(effect, [&] { return owner_->Drop(data, keyState, point, effect); });
    }

private:
    template <typename F>
    HRESULT Guarded(DWORD* effect, F&& call) noexcept {
        try {
            if (owner_) return call();
        } catch (...) {
            ShowCurrentException();
        }
        if (effect) *effect = DROPEFFECT_NONE;
        return E_UNEXPECTED;
    }

    TUrlDropTarget* owner_;
};

const InterfaceEntry<UrlDropTargetObject> UrlDropTargetObject::kInterfaces[1] = {
    {&IID_IDropTarget, [](UrlDropTargetObject* self) -> IUnknown* { return static_cast<IDropTarget*>(self); }},
};

// The hidden child that carries a window's registration: registered when it is
// created, revoked when it is destroyed while its parent still exists.
class DropRegistrationWindow : public Window {
public:
    DropRegistrationWindow(HWND parent, IDropTarget* target) : parent_(parent), target_(target) {
        CreateParams params{"SonorafluxDropRegistration"};
        params.style = WS_CHILD;
        params.x = params.y = params.width = params.height = 0;
        params.parent = parent;
        params.background = nullptr;
        Create(params);
        if (FAILED(registerResult_))
            throw std::runtime_error("Impossible d'accepter le glisser-déposer sur la fenêtre");
    }
    ~DropRegistrationWindow() override { Destroy(); }

    HWND Parent() const noexcept { return parent_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_CREATE) registerResult_ = ::RegisterDragDrop(parent_, target_);
        if (msg == WM_DESTROY) Revoke();
        return Window::HandleMessage(msg, wp, lp);
    }

private:
    void Revoke() noexcept {
        if (SUCCEEDED(registerResult_) && ::IsWindow(parent_)) ::RevokeDragDrop(parent_);
        registerResult_ = E_FAIL;
    }

    HWND parent_;
    IDropTarget* target_;
    HRESULT registerResult_ = E_FAIL;
};

TShiftState TShiftState::FromKeyState(DWORD keyState) {
    return TShiftState{(keyState & MK_SHIFT) != 0,    (keyState & MK_CONTROL) != 0, (keyState & MK_ALT) != 0,
                       (keyState & MK_LBUTTON) != 0, (keyState & MK_RBUTTON) != 0,  (keyState & MK_MBUTTON) != 0};
}

std::optional<std::string> DiskShortcutFileReader::ReadAll(const std::string& path) const {
    UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (bytes.size() < kReadLimit && ::ReadFile(file.get(), chunk, sizeof(chunk), &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    return bytes;
}

std::optional<std::string> DiskShortcutFileReader::AnsiName(std::u16string_view wideName) const {
    if (wideName.empty()) return std::string{};
    const auto* wide = reinterpret_cast<const wchar_t*>(wideName.data());
    const int length = static_cast<int>(wideName.size());
    BOOL lossy = FALSE;
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, nullptr, &lossy);
    if (size <= 0 || lossy) return std::nullopt;
    std::string name(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, name.data(), size, nullptr, &lossy);
    if (lossy) return std::nullopt;
    return name;
}

TUrlDropTarget::TUrlDropTarget() : object_(UrlDropTargetObject::Create(this)) {}

TUrlDropTarget::~TUrlDropTarget() {
    Unregister();
    object_->Detach();
    EndDrag();
}

IDropTarget* TUrlDropTarget::DropTarget() const noexcept { return object_.get(); }

void TUrlDropTarget::Register(HWND window) {
    if (IsRegistered(window)) return;
    Unregister();
    registrations_.push_back(std::make_unique<DropRegistrationWindow>(window, object_.get()));
}

void TUrlDropTarget::Unregister(HWND window) {
    std::erase_if(registrations_, [window](const auto& r) { return !window || r->Parent() == window; });
}

bool TUrlDropTarget::IsRegistered(HWND window) const {
    return std::any_of(registrations_.begin(), registrations_.end(),
                       [window](const auto& r) { return r->Parent() == window; });
}

HWND TUrlDropTarget::RegisteredWindowAt(POINTL point) const {
    const POINT screen{point.x, point.y};
    for (HWND w = ::WindowFromPoint(screen); w; w = ::GetAncestor(w, GA_PARENT))
        if (IsRegistered(w)) return w;
    // A covered or hidden window: the system still sends the drag to it.
    for (const auto& r : registrations_) {
        RECT place{};
        if (::GetWindowRect(r->Parent(), &place) && ::PtInRect(&place, screen)) return r->Parent();
    }
    return nullptr;
}

DWORD TUrlDropTarget::EffectFor(DWORD keyState, DWORD offered) const {
    return ChooseDropEffect((keyState & MK_CONTROL) != 0, (keyState & MK_SHIFT) != 0, offered, Dragtypes);
}

HRESULT TUrlDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    if (!data || !effect) return E_INVALIDARG;
    EndDrag();
    dragged_ = ComPtr<IDataObject>::Share(data);
    targetWindow_ = RegisteredWindowAt(point);
    DataObjectSource source(data);
    const UrlFetchResult outcome = FetchUrlData(source, files_, data_);
    if (outcome != UrlFetchResult::Fetched) {
        *effect = DROPEFFECT_NONE;
        dragged_.reset();
        return outcome == UrlFetchResult::NothingOffered ? S_OK : DV_E_CLIPFORMAT;
    }
    *effect = EffectFor(keyState, *effect);
    if (*effect == DROPEFFECT_NONE) dragged_.reset();
    if (ShowImage) BeginDragImage(data, point, *effect);
    return S_OK;
}

HRESULT TUrlDropTarget::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    if (!targetWindow_) {
        *effect = DROPEFFECT_NONE;
        return E_UNEXPECTED;
    }
    if (!dragged_) {
        *effect = DROPEFFECT_NONE;
        return DV_E_CLIPFORMAT;
    }
    *effect = EffectFor(keyState, *effect);
    MoveDragImage(point, *effect);
    return S_OK;
}

HRESULT TUrlDropTarget::DragLeave() {
    if (imageHelper_) imageHelper_->DragLeave();
    EndDrag();
    return S_OK;
}

HRESULT TUrlDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    HRESULT result = S_OK;
    if (!dragged_) {
        *effect = DROPEFFECT_NONE;
        result = E_UNEXPECTED;
    } else {
        DWORD chosen = EffectFor(keyState, *effect);
        POINT client{point.x, point.y};
        if (targetWindow_) ::ScreenToClient(targetWindow_, &client);
        // The handler's failure must not leave the drag half finished.
        if (OnDrop) GuardedCall([&] { OnDrop(*this, TShiftState::FromKeyState(keyState), client, chosen); });
        *effect = chosen;
        if (chosen != DROPEFFECT_NONE) SetPerformedEffect(chosen);
    }
    if (imageHelper_) {
        POINT screen{point.x, point.y};
        imageHelper_->Drop(data ? data : dragged_.get(), &screen, *effect);
        imageHelper_.reset();
    }
    EndDrag();
    return result;
}

void TUrlDropTarget::SetPerformedEffect(DWORD effect) {
    UniqueGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD)));
    if (!memory) return;
    auto* value = static_cast<DWORD*>(::GlobalLock(memory.get()));
    if (!value) return;
    *value = effect;
    ::GlobalUnlock(memory.get());
    FORMATETC format{RegisteredFormat("Performed DropEffect"), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = memory.get();
    // With fRelease the data object owns the memory, but only once it took it.
    if (SUCCEEDED(dragged_->SetData(&format, &medium, TRUE))) memory.release();
}

void TUrlDropTarget::BeginDragImage(IDataObject* data, POINTL point, DWORD effect) {
    if (!targetWindow_) return;
    POINT screen{point.x, point.y};
    if (SUCCEEDED(::CoCreateInstance(kDragImageHelperClass, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                                     imageHelper_.putVoid())) &&
        imageHelper_) {
        imageHelper_->DragEnter(targetWindow_, data, &screen, effect);
        return;
    }
    // Without the shell's helper only a drag started in this process has an
    // image we can show: the image list's own drag image.
    POINT hotSpot{};
    if (!::ImageList_GetDragImage(nullptr, &hotSpot)) return;
    RECT place{};
    ::GetWindowRect(targetWindow_, &place);
    imageListDragging_ = ::ImageList_DragEnter(targetWindow_, screen.x - place.left, screen.y - place.top) != FALSE;
}

void TUrlDropTarget::MoveDragImage(POINTL point, DWORD effect) {
    POINT screen{point.x, point.y};
    if (imageHelper_) {
        imageHelper_->DragOver(&screen, effect);
    } else if (imageListDragging_) {
        RECT place{};
        ::GetWindowRect(targetWindow_, &place);
        ::ImageList_DragMove(screen.x - place.left, screen.y - place.top);
    }
}

void TUrlDropTarget::EndDrag() {
    imageHelper_.reset();
    if (imageListDragging_) ::ImageList_DragLeave(targetWindow_);
    imageListDragging_ = false;
    data_.Clear();
    dragged_.reset();
    targetWindow_ = nullptr;
}
