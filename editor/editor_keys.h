// The editor's keyboard, free of the platform: the controls that Tab reaches
// in each look, in the window's reading order, what Enter, Esc and the
// editor's shortcuts do, and where the focus goes when an act takes the
// focused control away.
#pragma once
#include <vector>

#include "editor/list_editor.h"
#include "ui/tab_stops.h"

enum class EditorKey {
    Enter,
    Escape,
    Save,           // Ctrl+S
    PreviousEntry,  // Page Up
    NextEntry,      // Page Down
};

struct EditorKeyAct {
    int press = 0;  // the control the key presses; 0: none
    int step = 0;   // -1 / +1: to the entry before / after

    bool operator==(const EditorKeyAct&) const = default;
};

// Left to right, top to bottom: the help switch; the listen picture and
// "Nouveau"; icon, title and the list toggle; address, page chooser and
// "Enregistrer"; "Supprimer"; the bottom row. The scroller is left out: Page
// Up and Page Down step from anywhere.
std::vector<TabStop> EditorTabStops(const EditorLook& look);

EditorKeyAct EditorKeyAction(const EditorLook& look, int focused, EditorKey key);

// The focused control while the look leaves it reachable, else the title field.
int EditorFocusAfter(const EditorLook& look, int focused);
