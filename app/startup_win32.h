// Start-up helpers of the program entry.
#pragma once
#include <windows.h>

// The window holding the notification-area icons: the taskbar's tray toolbar,
// or the notification area itself when it has no toolbar; 0 without a taskbar.
HWND FindTrayToolbarWindow();
