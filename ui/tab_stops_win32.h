// The tab stops of a window applied to its controls: the system's dialog
// navigation walks the controls that carry WS_TABSTOP in their z-order.
#pragma once
#include <windows.h>

#include <span>

#include "ui/tab_stops.h"

// Puts the stops at the top of the window's z-order in their order, each
// after its label, and gives WS_TABSTOP to the reachable ones. Nothing in the
// program's windows is a set of options: each stop and each label is a group
// of its own (WS_GROUP), and so is the first control after them, so that the
// arrow keys never move the focus. Cheap when nothing changed: windows call
// it at every change of their state. A trackbar lays itself out again when
// its style changes: create it with WS_TABSTOP and WS_GROUP already.
void ApplyTabStops(HWND window, std::span<const TabStop> stops);
