// Help balloons: the switch, the titles set by the pointer, and how the
// editor's commands silence and restore single controls.
#include <gtest/gtest.h>

#include "editor/editor_controls.h"
#include "editor/help_balloons.h"
#include "tests/editor/editor_doubles.h"

using namespace editor_controls;

namespace {
// A served control and a switch image of another window, beside the editor's.
constexpr int kOtherWindowControl = 1401;
constexpr int kOtherWindowSwitch = 1402;

TEST(HelpBalloons, TheSwitchServesEveryServedControlOfEveryWindow) {
    EditorBench bench({"Alpha;a.htm;;1", "Beta;b.htm;;1"});
    HelpBalloons& balloons = bench.balloons;
    balloons.Register({kOtherWindowControl, "Chrono", 11, "Affiche le temps"});
    balloons.Register({kOtherWindowSwitch, "Bulles d'aide", 0, "Active / désactive les bulles d'aide", false});
    const int served[] = {kSave, kDelete, kCancel, kNew, kImport, kExport, kAuthorLink, kAddressField,
                          kTitleField, kToggle, kPageChooser, kScroller, kIconPreview, kListen, kOtherWindowControl};

    struct Phase {
        const char* name;
        int clicks;
        bool on;
        std::vector<std::string> sounds;
    } phases[] = {{"at start", 0, false, {}},
                  {"switched on", 1, true, {"asterisk"}},
                  {"switched off again", 1, false, {"asterisk", "exclamation"}}};
    for (const auto& phase : phases) {
        SCOPED_TRACE(phase.name);
        for (int i = 0; i < phase.clicks; ++i) bench.editor.BalloonSwitchClick();
        EXPECT_EQ(balloons.On(), phase.on);
        EXPECT_EQ(bench.services.sounds, phase.sounds);
        for (int control : served) EXPECT_EQ(balloons.Flag(control), phase.on) << "control " << control;
        EXPECT_TRUE(balloons.Flag(kBalloonSwitch)) << "the switch images always explain themselves";
        EXPECT_TRUE(balloons.Flag(kOtherWindowSwitch));
    }
    EXPECT_THROW(balloons.Register({kNew, "x", 0, "x"}), std::logic_error) << "one key, one control";
}

TEST(HelpBalloons, ThePointerSetsTheTitleAndPictureOfTheNextBalloon) {
    EditorBench bench({"Alpha;a.htm;;1"});
    HelpBalloons& balloons = bench.balloons;
    balloons.Register({kOtherWindowSwitch, "", 0, "Active / désactive les bulles d'aide", false});
    EXPECT_EQ(balloons.BalloonFor(kNew), std::nullopt) << "off at start";

    balloons.PointerMoved(kBalloonSwitch);
    EXPECT_EQ(balloons.BalloonFor(kBalloonSwitch),
              (HelpBalloon{"Bulles d'aide", 0, "Active / désactive les bulles d'aide"}));

    bench.editor.BalloonSwitchClick();
    balloons.PointerMoved(kTitleField);
    EXPECT_EQ(balloons.BalloonFor(kTitleField), (HelpBalloon{"Titre", 0, "Titre qui sera affiché dans le menu"}));
    balloons.PointerMoved(kAddressField);
    EXPECT_EQ(balloons.Title(), "Page / Adresse");
    balloons.PointerMoved(kListen);
    EXPECT_EQ(balloons.BalloonFor(kListen), (HelpBalloon{"Ecouter", 8, "Joue le \"Flumen\" sélectionné"}));
    balloons.PointerMoved(kNew);
    EXPECT_EQ(balloons.Picture(), 2);

    // A control without a title of its own shows the last one set.
    balloons.PointerMoved(kOtherWindowSwitch);
    EXPECT_EQ(balloons.BalloonFor(kOtherWindowSwitch),
              (HelpBalloon{"Nouveau", 2, "Active / désactive les bulles d'aide"}));
    balloons.PointerMoved(9999);
    EXPECT_EQ(balloons.Title(), "Nouveau");
    EXPECT_EQ(balloons.BalloonFor(9999), std::nullopt);
}

TEST(HelpBalloons, TheEditorSilencesWhatItDisablesAndRestoresWhatItEnables) {
    struct Row {
        const char* name;
        bool switchedOn;
        std::function<void(ListEditor&)> commands;
        bool newEntry, scroller, listen, del, save;
    } rows[] = {
        {"on, Nouveau", true, [](ListEditor& e) { e.NewClick(); }, false, false, false, false, true},
        {"on, Nouveau, Annuler", true, [](ListEditor& e) { e.NewClick(), e.CancelClick(); }, true, true, true, true,
         true},
        {"on, Nouveau, Ajouter", true,
         [](ListEditor& e) { e.NewClick(), e.TitleTyped("x"), e.SaveClick(); }, true, true, true, true, true},
        {"on, Nouveau, hidden", true, [](ListEditor& e) { e.NewClick(), e.CancelClick(), e.NewClick(), e.FormHide(); },
         true, true, true, true, true},
        {"off, Nouveau, Annuler", false, [](ListEditor& e) { e.NewClick(), e.CancelClick(); }, false, false, false,
         false, false},
        {"on, drop-like adding look leaves the flags", true, [](ListEditor& e) { e.EnterAddingLook(); }, true, true,
         true, true, true},
        {"on, delete the only row leaves the flag", true, [](ListEditor& e) { e.DeleteClick(); }, true, true, true,
         true, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorBench bench({"Alpha;a.htm;;1"});
        bench.Open();
        if (row.switchedOn) bench.editor.BalloonSwitchClick();
        row.commands(bench.editor);
        EXPECT_EQ(bench.balloons.Flag(kNew), row.newEntry);
        EXPECT_EQ(bench.balloons.Flag(kScroller), row.scroller);
        EXPECT_EQ(bench.balloons.Flag(kListen), row.listen);
        EXPECT_EQ(bench.balloons.Flag(kDelete), row.del);
        EXPECT_EQ(bench.balloons.Flag(kSave), row.save);
    }
}
}  // namespace
