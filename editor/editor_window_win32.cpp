#include "editor/editor_window_win32.h"

EditorWindow::EditorWindow(HINSTANCE instance, MainWindowHost& host) : host_(host) {
    CreateParams params{kMainWindowClass, kEditorCaption};
    // A fixed border and only a close box.
    params.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    params.width = kClientWidth;
    params.height = kClientHeight;
    params.clientSize = true;
    params.icon = ::LoadIconA(instance, "MAINICON");
    Create(params);
}

EditorWindow::~EditorWindow() { Destroy(); }

void EditorWindow::OpenEditor() {
    ::ShowWindow(Handle(), SW_HIDE);
    ShowCentredInFront();
}

LRESULT EditorWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    host_.OnOwnerMessage(msg, wp, lp);
    switch (msg) {
        case WM_COMMAND:
            if (HIWORD(wp) == 0 && lp == 0) {
                host_.OnMenuCommand(LOWORD(wp));
                return 0;
            }
            break;
        case WM_MEASUREITEM:
            if (host_.OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_DRAWITEM:
            if (host_.OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_SHOWWINDOW:
            if (!wp) host_.OnEditorHidden();
            break;
        case WM_DESTROY:
            host_.OnMainWindowDestroyed();
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}
