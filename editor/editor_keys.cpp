#include "editor/editor_keys.h"

#include "editor/editor_controls.h"

using namespace editor_controls;

std::vector<TabStop> EditorTabStops(const EditorLook& look) {
    // A title field wider than its narrow place lies over the toggle.
    const bool toggleUncovered = look.toggleVisible && look.titleWidth <= kTitleWidthNarrow;
    return {
        {kBalloonSwitch, true, true},
        {kListen, true, look.listenEnabled},
        {kNew, true, look.newEnabled},
        {kIconPreview, true, true},
        {kTitleField, false, true, kTitleLabel},
        {kToggle, true, toggleUncovered},
        {kAddressField, false, true, kAddressLabel},
        {kPageChooser, true, true},
        {kSave, true, look.saveEnabled},
        {kDelete, true, look.deleteEnabled},
        {kImport, true, true},
        {kExport, true, true},
        {kCancel, true, true},
    };
}

EditorKeyAct EditorKeyAction(const EditorLook& look, int focused, EditorKey key) {
    switch (key) {
        case EditorKey::Enter: return {EnterTarget(EditorTabStops(look), focused, kSave), 0};
        case EditorKey::Escape: return {kCancel, 0};
        case EditorKey::Save: return {look.saveEnabled ? kSave : 0, 0};
        case EditorKey::PreviousEntry: return {0, look.scrollerEnabled ? -1 : 0};
        case EditorKey::NextEntry: return {0, look.scrollerEnabled ? 1 : 0};
    }
    return {};
}

int EditorFocusAfter(const EditorLook& look, int focused) {
    return FocusAfterChange(EditorTabStops(look), focused, kTitleField);
}
