// The keyboard rule the program's windows share, free of the platform: the
// controls that Tab reaches in a window's present state, in its reading order,
// what Enter presses, and where the focus goes when a change takes the focused
// control away. Each window lists its stops for its state; the Win32 side
// (win/dialog_keys_win32.h) applies them with the system's dialog navigation.
#pragma once
#include <span>
#include <vector>

struct TabStop {
    int id;
    // A button or a picture that acts: Enter and Space press it. Otherwise a
    // field (text, slider, check box): Enter presses the window's default.
    bool command;
    // Shown, enabled and not covered in the window's present state.
    bool reachable;
    // The label that names the field for screen readers, which take the
    // static text just before a field in the tab order; 0: none.
    int label = 0;
};

// The ids of the reachable stops, in their order.
std::vector<int> ReachableStops(std::span<const TabStop> stops);

// The control that Enter presses while `focused` has the focus: a reachable
// command presses itself; anywhere else the default command, when it is
// reachable. 0: nothing.
int EnterTarget(std::span<const TabStop> stops, int focused, int defaultCommand);

// Where the focus belongs after the window's state changed: the focused
// control while it is still reachable, else the fallback when that one is,
// else 0 (nowhere in particular).
int FocusAfterChange(std::span<const TabStop> stops, int focused, int fallback);
