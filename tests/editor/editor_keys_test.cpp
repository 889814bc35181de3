// The editor's keyboard in each mode a user meets, over looks the real editor
// sets: what Tab reaches in order, what Enter, Esc and the shortcuts do, and
// where the focus goes when the mode takes the focused control away.
#include <gtest/gtest.h>

#include <functional>

#include "editor/editor_controls.h"
#include "editor/editor_keys.h"
#include "tests/editor/editor_doubles.h"

using namespace editor_controls;

namespace {
struct ModeRow {
    const char* mode;
    std::vector<std::string> file;
    std::function<void(EditorBench&)> act;  // after the editor opened
    std::vector<int> stops;
    int enterInAField;  // what Enter presses in the title or address field
    int ctrlS;
    int pageDown;        // the step
    int focusTaken;      // a control the mode takes away (0: none)
};

TEST(EditorKeys, EachModeReachesItsControlsAndKeepsTheFocusReachable) {
    const std::vector<int> all = {kBalloonSwitch, kListen,       kNew,  kIconPreview, kTitleField, kToggle, kAddressField,
                                  kPageChooser,   kSave,         kDelete, kImport,     kExport,     kCancel};
    const ModeRow rows[] = {
        {"editing one of two entries", {"Alpha;a.htm;;1", "Beta;b.htm;;1"}, [](EditorBench&) {}, all, kSave, kSave, 1, 0},
        {"a single entry: nothing to step to", {"Alpha;a.htm;;1"}, [](EditorBench&) {}, all, kSave, kSave, 0, 0},
        {"adding after Nouveau", {"Alpha;a.htm;;1", "Beta;b.htm;;1"}, [](EditorBench& b) { b.editor.NewClick(); },
         {kBalloonSwitch, kIconPreview, kTitleField, kAddressField, kPageChooser, kSave, kImport, kExport, kCancel},
         kSave, kSave, 0, kNew},
        {"the empty list: nothing to save", {"Vide;;;1"}, [](EditorBench&) {},
         {kBalloonSwitch, kListen, kNew, kIconPreview, kTitleField, kAddressField, kPageChooser, kImport, kExport,
          kCancel},
         0, 0, 0, kSave},
        {"the last entry deleted: the wide title covers the toggle", {"Alpha;a.htm;;1"},
         [](EditorBench& b) { b.editor.DeleteClick(); },
         {kBalloonSwitch, kListen, kNew, kIconPreview, kTitleField, kAddressField, kPageChooser, kSave, kImport,
          kExport, kCancel},
         kSave, kSave, 0, kDelete},
    };
    for (const ModeRow& row : rows) {
        EditorBench bench(row.file);
        bench.Open();
        row.act(bench);
        const EditorLook& look = bench.Look();
        const std::vector<int> stops = ReachableStops(EditorTabStops(look));
        EXPECT_EQ(stops, row.stops) << row.mode;
        for (int field : {kTitleField, kAddressField})
            EXPECT_EQ(EditorKeyAction(look, field, EditorKey::Enter), (EditorKeyAct{row.enterInAField, 0})) << row.mode;
        // Enter on any reachable command presses it; Esc is always "Annuler".
        for (int stop : stops) {
            if (stop == kTitleField || stop == kAddressField) continue;
            EXPECT_EQ(EditorKeyAction(look, stop, EditorKey::Enter).press, stop) << row.mode << ", on " << stop;
            EXPECT_EQ(EditorFocusAfter(look, stop), stop) << row.mode << ": a reachable control keeps the focus";
        }
        EXPECT_EQ(EditorKeyAction(look, kTitleField, EditorKey::Escape), (EditorKeyAct{kCancel, 0})) << row.mode;
        EXPECT_EQ(EditorKeyAction(look, kNew, EditorKey::Save), (EditorKeyAct{row.ctrlS, 0})) << row.mode;
        EXPECT_EQ(EditorKeyAction(look, kTitleField, EditorKey::NextEntry), (EditorKeyAct{0, row.pageDown})) << row.mode;
        EXPECT_EQ(EditorKeyAction(look, kTitleField, EditorKey::PreviousEntry), (EditorKeyAct{0, -row.pageDown}))
            << row.mode;
        if (row.focusTaken) {
            EXPECT_EQ(EditorFocusAfter(look, row.focusTaken), kTitleField) << row.mode;
            EXPECT_EQ(EditorKeyAction(look, row.focusTaken, EditorKey::Enter).press, row.enterInAField)
                << row.mode << ": Enter on a control out of reach does what it does in a field";
        }
        EXPECT_EQ(EditorFocusAfter(look, 0), kTitleField) << row.mode << ": focus on the window itself";
    }
}
}  // namespace
