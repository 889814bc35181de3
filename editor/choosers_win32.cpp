#include "editor/choosers_win32.h"

#include <commdlg.h>

#include <stdexcept>
#include <vector>

#include "win/current_folder_win32.h"
#include "win/error_box_win32.h"
#include "win/handles_win32.h"

namespace {
constexpr DWORD kChooserOptions = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                                  OFN_NOCHANGEDIR | OFN_ENABLESIZING | OFN_DONTADDTORECENT;
constexpr DWORD kImportOptions =
    OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING;
// No overwrite prompt: nothing is written yet.
constexpr DWORD kExportOptions = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING;

DWORD OptionsOf(FileDialogKind kind) {
    switch (kind) {
        case FileDialogKind::Page:
        case FileDialogKind::Icon: return kChooserOptions;
        case FileDialogKind::Import: return kImportOptions;
        case FileDialogKind::Export: return kExportOptions;
    }
    return kChooserOptions;
}

// "description\0patterns\0\0", as the dialog reads its filter.
std::string FilterOf(const FileDialogRequest& request) {
    std::string filter = request.filterName;
    filter += '\0';
    filter += request.patterns;
    filter += '\0';
    filter += '\0';
    return filter;
}

// The part the icon dialog adds below its own controls: a caption and a
// sunken picture that follows the selection. Built in memory, so that the
// editor needs no resource of its own.
class PreviewTemplate {
public:
    PreviewTemplate() {
        Dword(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL);
        Dword(0);
        words_.push_back(2);  // two controls
        Rect(0, 0, 220, 44);
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the default class
        words_.push_back(0);  // no title
        Item(WS_CHILD | WS_VISIBLE | SS_LEFT, 8, 2, 80, 10, 0xFFFF, L"Aperçu :");
        Item(WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_CENTERIMAGE | SS_SUNKEN, 8, 13, 28, 28, kIconPreviewControl, L"");
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Dword(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void Rect(short x, short y, short cx, short cy) {
        for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
    }
    void Text(const wchar_t* text) {
        for (; *text; ++text) words_.push_back(static_cast<WORD>(*text));
        words_.push_back(0);
    }
    // Each control starts on a 32-bit boundary.
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, const wchar_t* text) {
        if (words_.size() % 2) words_.push_back(0);
        Dword(style);
        Dword(0);
        Rect(x, y, cx, cy);
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(0x0082);  // the static class
        Text(text);
        words_.push_back(0);  // no creation data
    }

    std::vector<WORD> words_;
};

// The picture shown in the preview; the static does not own it.
struct PreviewState {
    UniqueBitmap picture;
};

void ShowSelectedPicture(HWND child, PreviewState& state) {
    char path[MAX_PATH * 2] = {};
    const LRESULT length = ::SendMessageA(::GetParent(child), CDM_GETFILEPATH, sizeof path, reinterpret_cast<LPARAM>(path));
    UniqueBitmap picture;
    if (length > 0 && static_cast<size_t>(length) <= sizeof path)
        picture.reset(static_cast<HBITMAP>(::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    ::SendDlgItemMessageA(child, kIconPreviewControl, STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(picture.get()));
    state.picture = std::move(picture);
}

UINT_PTR CALLBACK PreviewHook(HWND child, UINT msg, WPARAM, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrA(child, DWLP_USER, reinterpret_cast<const OPENFILENAMEA*>(lp)->lCustData);
        return TRUE;
    }
    auto* state = reinterpret_cast<PreviewState*>(::GetWindowLongPtrA(child, DWLP_USER));
    if (!state) return 0;
    if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lp)->code == CDN_SELCHANGE)
        GuardedCall([&] { ShowSelectedPicture(child, *state); });
    if (msg == WM_DESTROY) ::SendDlgItemMessageA(child, kIconPreviewControl, STM_SETIMAGE, IMAGE_BITMAP, 0);
    return 0;
}
}  // namespace

std::optional<std::string> Win32FileDialogs::Show(const FileDialogRequest& request) {
    const std::string filter = FilterOf(request);
    char path[MAX_PATH * 2] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrInitialDir = request.startFolder.c_str();
    dialog.lpstrTitle = request.title.c_str();
    dialog.Flags = OptionsOf(request.kind);

    PreviewTemplate preview;
    PreviewState state;
    if (request.kind == FileDialogKind::Icon) {
        dialog.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
        dialog.hInstance = reinterpret_cast<HINSTANCE>(const_cast<DLGTEMPLATE*>(preview.Get()));
        dialog.lpfnHook = PreviewHook;
        dialog.lCustData = reinterpret_cast<LPARAM>(&state);
    }
    ScopedCurrentFolder keep;
    const BOOL chosen = request.kind == FileDialogKind::Export ? ::GetSaveFileNameA(&dialog) : ::GetOpenFileNameA(&dialog);
    if (chosen) return std::string(path);
    // A cancel gives no error; anything else is the dialog's own failure.
    if (const DWORD error = ::CommDlgExtendedError())
        throw std::runtime_error("Ooops ! La boîte de dialogue n'a pas pu s'ouvrir (erreur " + std::to_string(error) + ")");
    return std::nullopt;
}

bool Win32ChooserServices::FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Win32ChooserServices::ExclamationBeep() { ::MessageBeep(MB_ICONEXCLAMATION); }

void Win32ChooserServices::InformationBeep() { ::MessageBeep(MB_ICONASTERISK); }

void Win32ChooserServices::ShowWarning(const std::string& text) { ShowWarningDialog(owner_, text); }

void Win32ChooserServices::CheckPicture(const std::string& path) {
    UniqueBitmap picture(static_cast<HBITMAP>(::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    if (!picture) throw std::runtime_error("Image bitmap non valide : " + path);
}
