// The keyboard and a screen reader's view of a window: the Tab order, keys
// pressed through the program's own loop, and the names of controls.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace wine_support {

// The ids of the controls that Tab walks (GetNextDlgTabItem, as the dialog
// keys do), from the control `from` round the window until it comes back.
std::vector<int> TabWalk(HWND window, int from);

// A key pressed and let go on the control that has the focus, through the
// program's message loop (the dialog keys first); then pumps a little.
void PressKey(WPARAM key);

// The name a screen reader gives a control: its window text, or for a text
// field, whose text is its content, the static text just before it in the
// tab order.
std::string ControlName(HWND control);

}  // namespace wine_support
