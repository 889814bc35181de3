#include "win/dialog_keys_win32.h"

namespace {
constexpr const char* kMarkProperty = "SonorafluxDialogKeys";
constexpr const char* kShortcutsProperty = "SonorafluxShortcuts";

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }
}  // namespace

void MarkForDialogKeys(HWND window, HACCEL shortcuts) {
    ::SetPropA(window, kMarkProperty, window);
    if (shortcuts) ::SetPropA(window, kShortcutsProperty, shortcuts);
}

void UnmarkForDialogKeys(HWND window) {
    ::RemovePropA(window, kMarkProperty);
    ::RemovePropA(window, kShortcutsProperty);
}

bool HandleDialogKeys(MSG& msg) {
    if (!msg.hwnd || !IsKeyMessage(msg.message)) return false;
    HWND window = ::GetAncestor(msg.hwnd, GA_ROOT);
    // A hidden window (the main window while the tray menu is open) takes no keys.
    if (!window || !::GetPropA(window, kMarkProperty) || !::IsWindowVisible(window)) return false;
    if (auto shortcuts = static_cast<HACCEL>(::GetPropA(window, kShortcutsProperty)))
        if (::TranslateAcceleratorA(window, shortcuts, &msg)) return true;
    return ::IsDialogMessageA(window, &msg) != FALSE;
}

void FocusControl(HWND control) {
    if (!control) return;
    ::SetFocus(control);
    if (::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) ::SendMessageA(control, EM_SETSEL, 0, -1);
}

int FocusedControlId(HWND window) {
    HWND focus = ::GetFocus();
    if (!focus) return -1;
    if (focus == window) return 0;
    return ::IsChild(window, focus) ? ::GetDlgCtrlID(focus) : -1;
}

void PressControl(HWND window, int id) {
    HWND control = ::GetDlgItem(window, id);
    if (control && ::IsWindowEnabled(control))
        ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}
