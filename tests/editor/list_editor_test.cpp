// The editor's rules over a list in memory: the enabled states after each
// command, stepping, editing, adding, deleting, saving and leaving.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "editor/editor_controls.h"
#include "tests/editor/editor_doubles.h"

namespace {
const std::vector<std::string> kTwo = {"Alpha;a.htm;;1", "Beta;http://b/;;1"};
const std::vector<std::string> kThree = {"Alpha;a.htm;;1", "Beta;http://b/;;1", "Gamma;g.htm;;0"};
const std::vector<std::string> kOne = {"Alpha;a.htm;;1"};
const std::vector<std::string> kEmpty = {"Vide;;;1"};

using Step = std::function<void(EditorBench&)>;
const Step kNothing = [](EditorBench&) {};

// Expected look of the controls; nullopt: as it was before the command.
struct Enabled {
    std::optional<bool> scroller, listen, del, save, newEntry, toggle;
    std::optional<int> width;
    std::optional<std::string> caption;
};

struct EnabledRow {
    const char* name;
    std::vector<std::string> file;
    Step before;
    Step command;
    Enabled expected;
};

constexpr auto E = true;
constexpr auto D = false;
const std::nullopt_t same = std::nullopt;

TEST(ListEditorEnabledStates, EveryCommandSetsItsControls) {
    const Step open = [](EditorBench& b) { b.Open(); };
    const Step openAndNew = [](EditorBench& b) { b.Open(), b.editor.NewClick(); };
    const EnabledRow rows[] = {
        {"refresh, two rows, after Nouveau", kTwo, openAndNew, [](EditorBench& b) { b.editor.RefreshEditor(); },
         {E, same, E, same, same, true, 105, same}},
        {"refresh, one row", kOne, openAndNew, [](EditorBench& b) { b.editor.RefreshEditor(); },
         {D, same, E, same, same, true, 105, same}},
        {"refresh, placeholder, after Nouveau", kEmpty, openAndNew, [](EditorBench& b) { b.editor.RefreshEditor(); },
         {D, same, D, D, same, false, 129, same}},
        {"Nouveau", kTwo, open, [](EditorBench& b) { b.editor.NewClick(); },
         {D, D, D, E, D, false, 129, "Ajouter"}},
        {"add command", kTwo, openAndNew,
         [](EditorBench& b) { b.editor.TitleTyped("Delta"), b.editor.SaveClick(); },
         {E, E, E, E, E, true, 105, "Enregistrer"}},
        {"add command on the placeholder", kEmpty, openAndNew,
         [](EditorBench& b) { b.editor.AddressTyped("d.htm"), b.editor.SaveClick(); },
         {E, E, E, E, E, true, 105, "Enregistrer"}},
        {"Annuler from adding mode", kOne, openAndNew, [](EditorBench& b) { b.editor.CancelClick(); },
         {E, E, E, E, E, true, 105, "Enregistrer"}},
        {"Annuler from adding mode on the placeholder", kEmpty, openAndNew,
         [](EditorBench& b) { b.editor.CancelClick(); }, {E, E, same, E, E, true, 153, "Enregistrer"}},
        {"Supprimer on the only entry", kOne, open, [](EditorBench& b) { b.editor.DeleteClick(); },
         {same, same, D, same, same, same, 129, "Enregistrer"}},
        {"hiding while adding, two rows", kTwo, openAndNew, [](EditorBench& b) { b.view.HideWindow(); },
         {E, E, E, E, E, true, 105, "Enregistrer"}},
        {"hiding while adding, placeholder", kEmpty, openAndNew, [](EditorBench& b) { b.view.HideWindow(); },
         {D, E, D, D, E, false, 129, "Enregistrer"}},
        {"start-up look, one row", kOne, kNothing, kNothing, {D, E, E, E, E, true, 105, "Enregistrer"}},
        {"start-up look, three rows", kThree, kNothing, kNothing, {E, E, E, E, E, true, 105, "Enregistrer"}},
        {"start-up look, placeholder", kEmpty, kNothing, kNothing, {D, E, D, D, E, false, 129, "Enregistrer"}},
        {"Editer... on the placeholder after Annuler from adding", kEmpty,
         [](EditorBench& b) { b.Open(), b.editor.NewClick(), b.editor.CancelClick(); },
         [](EditorBench& b) { b.editor.PrepareOpening(); }, {same, same, same, D, same, same, 129, same}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorBench bench(row.file);
        row.before(bench);
        const EditorLook before = bench.Look();
        row.command(bench);
        const EditorLook& after = bench.Look();
        auto expect = [&](const char* what, auto expected, auto actual, auto previous) {
            EXPECT_EQ(actual, expected.value_or(previous)) << what;
        };
        expect("scroller", row.expected.scroller, after.scrollerEnabled, before.scrollerEnabled);
        expect("Ecouter", row.expected.listen, after.listenEnabled, before.listenEnabled);
        expect("Supprimer", row.expected.del, after.deleteEnabled, before.deleteEnabled);
        expect("save button", row.expected.save, after.saveEnabled, before.saveEnabled);
        expect("Nouveau", row.expected.newEntry, after.newEnabled, before.newEnabled);
        expect("toggle shown", row.expected.toggle, after.toggleVisible, before.toggleVisible);
        expect("title width", row.expected.width, after.titleWidth, before.titleWidth);
        expect("caption", row.expected.caption, after.saveCaption, before.saveCaption);
        EXPECT_EQ(bench.view.shown, after) << "the window shows the editor's look";
    }
}

TEST(ListEditorStepping, StepsStoreTheFieldsAndStopAtTheEnds) {
    EditorBench bench(kThree);
    bench.Open();
    EXPECT_EQ(bench.Look().title, "Alpha");
    EXPECT_EQ(bench.Look().scrollerMax, 2) << "the range follows the list";
    const int rebuilds = bench.services.rebuilds;

    // Left at the first entry: the fields are stored, nothing moves.
    bench.editor.TitleTyped("Alpha bis");
    bench.editor.ScrollerStep(-1);
    EXPECT_EQ(bench.Look().position, 0);
    EXPECT_EQ(bench.list.Row(0).title, "Alpha bis");
    EXPECT_EQ(bench.Look().title, "Alpha bis");

    bench.editor.ScrollerStep(+1);
    bench.editor.ScrollerStep(+1);
    EXPECT_EQ(bench.Look().position, 2);
    EXPECT_EQ(bench.Look().title, "Gamma");
    EXPECT_FALSE(bench.Look().toggleShownGlyph) << "Gamma is hidden";
    EXPECT_EQ(bench.Look().address, "g.htm");

    // Past the last entry: position and fields stay.
    bench.editor.AddressTyped("g2.htm");
    bench.editor.ScrollerStep(+1);
    EXPECT_EQ(bench.Look().position, 2);
    EXPECT_EQ(bench.Look().address, "g2.htm");
    EXPECT_EQ(bench.list.Row(2).address, "g2.htm") << "the step still stored the fields";
    EXPECT_EQ(bench.services.rebuilds, rebuilds) << "stepping never rebuilds the menu";
    EXPECT_EQ(bench.files.replaceCalls, 0) << "stepping never writes the file";
}

TEST(ListEditorStepping, AHundredAndFiftyEntriesAreAllReachable) {
    std::vector<std::string> lines;
    for (int i = 0; i < 150; ++i) lines.push_back("Radio " + std::string(i < 10 ? "00" : i < 100 ? "0" : "") +
                                                  std::to_string(i) + ";r" + std::to_string(i) + ".htm;;1");
    EditorBench bench(lines);
    bench.Open();
    for (int i = 0; i < 160; ++i) bench.editor.ScrollerStep(+1);
    EXPECT_EQ(bench.Look().position, 149);
    EXPECT_EQ(bench.Look().title, "Radio 149");
    EXPECT_EQ(bench.Look().scrollerMax, 149);
}

TEST(ListEditorStepping, AStepIsIgnoredWhileTheScrollerIsDisabled) {
    EditorBench bench(kTwo);
    bench.Open();
    bench.editor.NewClick();
    bench.editor.TitleTyped("typed while adding");
    bench.editor.ScrollerStep(+1);
    EXPECT_EQ(bench.list.Row(0).title, "Alpha") << "the new entry's fields must not land in a row";
    EXPECT_EQ(bench.Look().position, 0);
}

TEST(ListEditorSaving, EditsLiveUntilTheNextHidingUnlessSaved) {
    struct Case {
        const char* name;
        bool step;
        bool save;
        std::string fileAfter;
    } cases[] = {
        {"edit, step, Annuler drops the change", true, false, "Alpha;a.htm;;1\r\nBeta;http://b/;;1\r\n"},
        {"edit, step, Enregistrer keeps it", true, true, "Alpha;a.htm;;1\r\nZulu;http://b/;;1\r\n"},
        {"edit and Enregistrer without a step", false, true, "Alpha;a.htm;;1\r\nZulu;http://b/;;1\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EditorBench bench(kTwo);
        bench.Open();
        bench.editor.ScrollerStep(+1);
        bench.editor.TitleTyped("Zulu");
        if (c.step) bench.editor.ScrollerStep(-1);
        if (c.save)
            bench.editor.SaveClick();
        else
            bench.editor.CancelClick();
        EXPECT_FALSE(bench.view.visible);
        EXPECT_EQ(bench.File(), c.fileAfter);
        bench.Open();
        EXPECT_EQ(bench.list.Row(1).title, c.save ? "Zulu" : "Beta");
        EXPECT_EQ(bench.Look().position, 0) << "the editor opens on the first entry";
    }
}

TEST(ListEditorSaving, AfterASaveTheListComesBackSorted) {
    EditorBench bench(kTwo);
    bench.Open();
    bench.editor.TitleTyped("Omega");
    bench.editor.SaveClick();
    EXPECT_EQ(bench.File(), "Omega;a.htm;;1\r\nBeta;http://b/;;1\r\n") << "written in the order of the rows";
    EXPECT_EQ(bench.list.Row(0).title, "Beta") << "reloaded sorted";
    EXPECT_EQ(bench.Look().title, "Beta");
    EXPECT_EQ(bench.services.menuItems, 2);
}

TEST(ListEditorSaving, AFailedWriteKeepsTheWindowAndTheChanges) {
    EditorBench bench(kTwo);
    bench.Open();
    bench.editor.TitleTyped("Omega");
    bench.files.failReplace = true;
    EXPECT_THROW(bench.editor.SaveClick(), EStreamError);
    EXPECT_TRUE(bench.view.visible);
    EXPECT_FALSE(bench.editor.Adding());
    EXPECT_EQ(bench.list.Row(0).title, "Omega");
    EXPECT_EQ(bench.File(), "Alpha;a.htm;;1\r\nBeta;http://b/;;1\r\n");
}

TEST(ListEditorAdding, NewEntriesJoinTheListInMemoryOnly) {
    EditorBench bench(kTwo);
    bench.Open();
    bench.editor.NewClick();
    EXPECT_EQ(bench.Look().title, "");
    EXPECT_EQ(bench.Look().iconPicture, "") << "the default icon";
    bench.editor.TitleTyped("Delta");
    bench.editor.SaveClick();
    ASSERT_EQ(bench.list.RowCount(), 3);
    EXPECT_EQ(bench.list.Row(2), (StreamEntry{"Delta", "", "", "1"}));
    EXPECT_EQ(bench.Look().position, 2);
    EXPECT_EQ(bench.Look().scrollerMax, 2);
    EXPECT_TRUE(bench.Look().toggleShownGlyph);
    EXPECT_TRUE(bench.view.visible);
    EXPECT_EQ(bench.files.replaceCalls, 0) << "the file waits for Enregistrer";

    bench.editor.SaveClick();
    EXPECT_EQ(bench.File(), "Alpha;a.htm;;1\r\nBeta;http://b/;;1\r\nDelta;;;1\r\n");
}

TEST(ListEditorAdding, NothingTypedWarnsAndStaysInAddingMode) {
    EditorBench bench(kTwo);
    bench.Open();
    bench.editor.ScrollerStep(+1);
    bench.editor.NewClick();
    bench.editor.SaveClick();
    EXPECT_EQ(bench.services.sounds, std::vector<std::string>{"asterisk"});
    ASSERT_EQ(bench.services.warnings.size(), 1u);
    EXPECT_EQ(bench.services.warnings[0],
              "Ooops ! Vous n'avez rien indiqué dans les cases !\r\nRemplissez-les ou cliquez sur \"Annuler\"...");
    EXPECT_TRUE(bench.editor.Adding());
    EXPECT_EQ(bench.list.RowCount(), 2);

    // A single space is text.
    bench.editor.AddressTyped(" ");
    bench.editor.CancelClick();
    EXPECT_EQ(bench.Look().title, "Beta") << "back to the entry shown before Nouveau";
    EXPECT_EQ(bench.list.RowCount(), 2);
    bench.editor.NewClick();
    bench.editor.AddressTyped(" ");
    bench.editor.SaveClick();
    EXPECT_EQ(bench.list.RowCount(), 3);
    EXPECT_EQ(bench.services.warnings.size(), 1u);
}

TEST(ListEditorAdding, AddingToTheEmptyListReplacesThePlaceholder) {
    EditorBench bench(kEmpty);
    bench.Open();
    EXPECT_EQ(bench.Look().title, "") << "the placeholder's title is not shown";
    bench.editor.NewClick();
    bench.editor.TitleTyped("Premier");
    bench.editor.SaveClick();
    ASSERT_EQ(bench.list.RowCount(), 1);
    EXPECT_EQ(bench.list.Row(0), (StreamEntry{"Premier", "", "", "1"}));
    bench.editor.SaveClick();
    EXPECT_EQ(bench.File(), "Premier;;;1\r\n");
}

TEST(ListEditorDeleting, DeletingShowsTheNextOrTheNewLastEntry) {
    EditorBench bench(kThree);
    bench.Open();
    bench.editor.ScrollerStep(+1);
    bench.editor.DeleteClick();
    EXPECT_EQ(bench.Look().title, "Gamma") << "the entry that followed";
    EXPECT_EQ(bench.Look().position, 1);
    bench.editor.DeleteClick();
    EXPECT_EQ(bench.Look().title, "Alpha") << "the new last entry";
    EXPECT_EQ(bench.Look().position, 0);
    EXPECT_EQ(bench.Look().scrollerMax, 0);
    EXPECT_EQ(bench.files.replaceCalls, 0);

    bench.editor.CancelClick();
    bench.Open();
    EXPECT_EQ(bench.list.RowCount(), 3) << "Annuler brings the entries back";
}

TEST(ListEditorDeleting, TheOnlyEntryBecomesThePlaceholderAndSavesAsVide) {
    struct Case {
        const char* title;
        std::string file;
    } cases[] = {{"", "Vide;;;1\r\n"}, {"Nouveau titre", "Nouveau titre;;;1\r\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        EditorBench bench({"Seul;s.htm;seul.bmp;0"});
        bench.Open();
        bench.editor.DeleteClick();
        EXPECT_EQ(bench.list.Row(0), (StreamEntry{"Vide", "", "", "1"}));
        EXPECT_EQ(bench.Look().title, "");
        EXPECT_EQ(bench.Look().iconName, "");
        EXPECT_TRUE(bench.Look().saveEnabled) << "the empty list can be saved";
        bench.editor.TitleTyped(c.title);
        bench.editor.SaveClick();
        EXPECT_EQ(bench.File(), c.file);
    }
}

TEST(ListEditorToggle, FlipsTheFlagOfTheEntryShown) {
    EditorBench bench({"Alpha;a.htm;;x"});
    bench.Open();
    EXPECT_FALSE(bench.Look().toggleShownGlyph) << "anything but 1 is hidden";
    const char* expected[] = {"1", "0", "1"};
    for (const char* flag : expected) {
        bench.editor.ToggleClick();
        EXPECT_EQ(bench.list.Row(0).shownInMenu, flag);
        EXPECT_EQ(bench.Look().toggleShownGlyph, std::string(flag) == "1");
    }
    EXPECT_EQ(bench.files.replaceCalls, 0);
}

TEST(ListEditorIcons, ThePreviewShowsAnExistingIconFileOrTheDefault) {
    EditorBench bench({"Alpha;a.htm;note.bmp;1", "Beta;b.htm;absent.bmp;1"});
    bench.files.files["C:\\Radio\\Images\\note.bmp"] = "BM";
    bench.Open();
    EXPECT_EQ(bench.Look().iconPicture, "C:\\Radio\\Images\\note.bmp");
    EXPECT_EQ(bench.Look().iconName, "note.bmp");
    bench.editor.ScrollerStep(+1);
    EXPECT_EQ(bench.Look().iconPicture, "");
    EXPECT_EQ(bench.Look().iconName, "absent.bmp");
}

TEST(ListEditorListening, PlaysTheEntryShownEvenBeforeTheMenuKnowsIt) {
    EditorBench bench(kTwo);
    bench.Open();
    bench.editor.ScrollerStep(+1);
    bench.editor.ListenClick();
    EXPECT_EQ(bench.services.played, std::vector<int>{1});
    const int rebuilds = bench.services.rebuilds;

    bench.editor.NewClick();
    bench.editor.ListenClick();
    EXPECT_EQ(bench.services.played.size(), 1u) << "disabled while adding";
    bench.editor.TitleTyped("Delta");
    bench.editor.SaveClick();
    bench.editor.ListenClick();
    EXPECT_EQ(bench.services.rebuilds, rebuilds + 1) << "the new entry needs its menu item first";
    EXPECT_EQ(bench.services.played, (std::vector<int>{1, 2}));
}

// The menu may have as many items as the editor has rows, but not the same ones.
TEST(ListEditorListening, PlaysWhatTheEditorShowsWhenTheMenuHasTheSameCountButOtherItems) {
    EditorBench bench(kTwo);
    bench.Open();
    bench.editor.AddressTyped("http://renamed/");
    bench.editor.ScrollerStep(+1);
    bench.editor.ScrollerStep(-1);
    bench.editor.ListenClick();
    bench.editor.NewClick();
    bench.editor.AddressTyped("http://added/");
    bench.editor.SaveClick();
    bench.editor.ScrollerStep(-1);
    bench.editor.DeleteClick();
    bench.editor.ListenClick();
    EXPECT_EQ(bench.services.playedAddresses, (std::vector<std::string>{"http://renamed/", "http://added/"}));
}
}  // namespace
