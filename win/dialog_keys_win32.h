// Dialog-box keys for the program's windows, which are plain windows: the
// program's message loops hand every message to HandleDialogKeys first, which
// gives the key messages of a window that uses them to its shortcuts, then to
// the system's IsDialogMessage. The system then walks the controls that carry
// WS_TABSTOP in their z-order on Tab and Shift+Tab, asks the window for the
// control that Enter presses with DM_GETDEFID (IDOK when it names none), and
// sends WM_COMMAND(IDCANCEL) with no control on Esc; a focused button takes
// Space itself. Window::UseDialogKeys turns it on for a window.
#pragma once
#include <windows.h>

// Marks the top-level window for HandleDialogKeys; shortcuts (may be null)
// is the window's accelerator table, which must outlive the window.
void MarkForDialogKeys(HWND window, HACCEL shortcuts);
void UnmarkForDialogKeys(HWND window);

// For the message loops: true when the message was a key of a marked window
// and has been handled (it must then be neither translated nor dispatched).
bool HandleDialogKeys(MSG& msg);

// Gives a control the focus as a dialog box does: a text field's text selected.
void FocusControl(HWND control);

// The id of the window's control that has the focus: 0 when the window
// itself has it, -1 when the focus is elsewhere.
int FocusedControlId(HWND window);

// Presses a control as Enter does: WM_COMMAND(BN_CLICKED) from the control
// to the window (a disabled control ignores it).
void PressControl(HWND window, int id);
