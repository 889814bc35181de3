#include "rotation/rotation.h"
#include "rotation/rotation_keys.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/platform_doubles.h"
#include "tests/support/recording_browser.h"

namespace {
// Every call the rotation makes, in order, each stamped with the clock's time.
using Calls = std::vector<std::string>;

// A clock that the test moves forward; its timers tick like the program's:
// every interval while enabled, enabling restarts the interval.
class FakeClock {
public:
    class Timer : public RotationTimer {
    public:
        explicit Timer(FakeClock& clock) : clock_(clock) {}
        void SetInterval(unsigned milliseconds) override { interval_ = milliseconds; }
        void SetOnTimer(std::function<void()> onTimer) override { onTimer_ = std::move(onTimer); }
        void SetEnabled(bool enabled) override {
            enabled_ = enabled;
            due_ = clock_.now + interval_;
        }
        bool Enabled() const override { return enabled_; }

    private:
        friend class FakeClock;
        FakeClock& clock_;
        unsigned interval_ = 1000;
        bool enabled_ = false;
        long due_ = 0;
        std::function<void()> onTimer_;
    };

    long now = 0;

    Timer& NewTimer() { return *timers_.emplace_back(std::make_unique<Timer>(*this)); }

    // Fires every tick due until `time`, in time order, then stands at `time`.
    void AdvanceTo(long time) {
        for (;;) {
            Timer* next = nullptr;
            for (auto& t : timers_)
                if (t->enabled_ && t->due_ <= time && (!next || t->due_ < next->due_)) next = t.get();
            if (!next) break;
            now = next->due_;
            next->due_ = now + next->interval_;
            next->onTimer_();
        }
        now = time;
    }

private:
    std::vector<std::unique_ptr<Timer>> timers_;
};

class FakeServices : public RotationServices {
public:
    FakeServices(Calls& calls, const long& now) : calls_(calls), now_(now) {}

private:
    Calls& calls_;
    const long& now_;

public:
    int items = 3;
    RecordingBrowser first{[this](const std::string& address) { Record("first " + address); }};
    RecordingBrowser second{[this](const std::string& address) { Record("second " + address); }};

    void ShowBrowserHost() override { Record("show"); }
    void HideBrowserHost() override { Record("hide"); }
    Browser& FirstBrowser() override { return first; }
    Browser& SecondBrowser() override { return second; }
    int ListMenuItemCount() override { return items; }
    void PlayMenuItem(int item) override { Record("play item " + std::to_string(item)); }

private:
    void Record(const std::string& what) { calls_.push_back(std::to_string(now_) + " " + what); }
};

class ScriptedPicker : public JinglePicker {
public:
    std::optional<std::string> answer;
    std::vector<std::string> startFolders;
    std::optional<std::string> PickJinglePage(const std::string& startFolder) override {
        startFolders.push_back(startFolder);
        return answer;
    }
};

constexpr const char* kJingle = "D:\\Sons\\gong.htm";

class RotationTest : public ::testing::Test {
protected:
    void ChooseJingle(const std::string& path) {
        picker.answer = path;
        rotation.ChooseJingle();
    }
    void ChooseExistingJingle() {
        files.files[kJingle] = "<html></html>";
        ChooseJingle(kJingle);
        ASSERT_EQ(rotation.Jingle(), kJingle);
    }
    void PressOkAt(long time) {
        clock.AdvanceTo(time);
        rotation.StartSequence();
    }

    Calls calls;
    FakeClock clock;
    ProgramFolder folder{"C:\\Radio\\"};
    MemoryFileSystem files;
    FakeServices services{calls, clock.now};
    ScriptedPicker picker;
    Rotation rotation{folder, files, services, picker,
                      RotationTimers{clock.NewTimer(), clock.NewTimer(), clock.NewTimer()}};
};

TEST_F(RotationTest, WithAJingleTheSequencePlaysJingleSecondEntryThenSilence) {
    ChooseExistingJingle();
    PressOkAt(0);
    clock.AdvanceTo(6999);
    EXPECT_TRUE(calls.empty()) << calls.front();
    clock.AdvanceTo(60000);
    EXPECT_EQ(calls, (Calls{"7000 show", "7000 second file:///D:\\Sons\\gong.htm", "7000 hide",
                            "9000 play item 1", "12000 second about:blank"}));
}

// The program stops the sequence first whenever it ends.
TEST_F(RotationTest, AStoppedSequenceTakesNoFurtherStep) {
    ChooseExistingJingle();
    const struct {
        long stopAt;
        Calls calls;
    } rows[] = {
        {3000, {}},
        {8000, {"7000 show", "7000 second file:///D:\\Sons\\gong.htm", "7000 hide"}},
        {10000, {"7000 show", "7000 second file:///D:\\Sons\\gong.htm", "7000 hide", "9000 play item 1"}},
    };
    for (const auto& row : rows) {
        calls.clear();
        clock.now = 0;
        PressOkAt(0);
        clock.AdvanceTo(row.stopAt);
        rotation.StopSequence();
        clock.AdvanceTo(60000);
        EXPECT_EQ(calls, row.calls) << "stopped at " << row.stopAt;
    }
}

TEST_F(RotationTest, WithoutAJingleOrWithItDeletedTheRestOfTheSequenceRuns) {
    const Calls withoutJingle{"7000 show", "7000 hide", "9000 play item 1", "12000 second about:blank"};
    {
        SCOPED_TRACE("never chosen");
        EXPECT_FALSE(rotation.CanStart());
        PressOkAt(0);
        clock.AdvanceTo(20000);
        EXPECT_EQ(calls, withoutJingle);
    }
    {
        SCOPED_TRACE("deleted after choosing");
        ChooseExistingJingle();
        files.files.erase(kJingle);
        calls.clear();
        clock.now = 0;
        PressOkAt(0);
        clock.AdvanceTo(20000);
        EXPECT_EQ(calls, withoutJingle);
        EXPECT_TRUE(rotation.CanStart()) << "the choice stays as it was";
    }
}

TEST_F(RotationTest, OkPressedTwice) {
    struct Case {
        const char* name;
        long secondPress;
        Calls expected;
    } cases[] = {
        // Still waiting for the jingle: the first wait is not pushed back.
        {"before the jingle", 3000,
         {"7000 show", "7000 second file:///D:\\Sons\\gong.htm", "7000 hide", "9000 play item 1",
          "12000 second about:blank"}},
        {"at the last moment", 6999,
         {"7000 show", "7000 second file:///D:\\Sons\\gong.htm", "7000 hide", "9000 play item 1",
          "12000 second about:blank"}},
        // After the jingle: a second sequence, overlapping the first.
        {"after the jingle", 8000,
         {"7000 show", "7000 second file:///D:\\Sons\\gong.htm", "7000 hide", "9000 play item 1",
          "12000 second about:blank", "15000 show", "15000 second file:///D:\\Sons\\gong.htm", "15000 hide",
          "17000 play item 1", "20000 second about:blank"}},
    };
    ChooseExistingJingle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        calls.clear();
        clock.now = 0;
        PressOkAt(0);
        PressOkAt(c.secondPress);
        clock.AdvanceTo(60000);
        EXPECT_EQ(calls, c.expected);
        clock.now = 0;
    }
}

TEST_F(RotationTest, WithFewerThanTwoItemsTheSecondStepPlaysNothing) {
    ChooseExistingJingle();
    for (int items : {0, 1}) {
        SCOPED_TRACE(items);
        services.items = items;
        calls.clear();
        clock.now = 0;
        PressOkAt(0);
        clock.AdvanceTo(60000);
        EXPECT_EQ(calls, (Calls{"7000 show", "7000 second file:///D:\\Sons\\gong.htm", "7000 hide",
                                "12000 second about:blank"}));
    }
    services.items = 2;
    calls.clear();
    clock.now = 0;
    PressOkAt(0);
    clock.AdvanceTo(10000);
    EXPECT_EQ(calls.back(), "9000 play item 1");
}

TEST_F(RotationTest, ARefusedJingleHidesTheHostAndDoesNotComeBack) {
    ChooseExistingJingle();
    services.second.refuse = true;
    PressOkAt(0);
    EXPECT_THROW(clock.AdvanceTo(7000), BrowserError);
    EXPECT_EQ(calls, (Calls{"7000 show", "7000 hide"}));
    services.second.refuse = false;
    clock.AdvanceTo(60000);
    EXPECT_EQ(calls, (Calls{"7000 show", "7000 hide", "9000 play item 1", "12000 second about:blank"}));
}

TEST_F(RotationTest, ChoosingTheJingle) {
    struct Case {
        const char* name;
        std::optional<std::string> answer;
        bool exists;
        std::string jingleAfter;
    } cases[] = {
        {"cancelled", std::nullopt, false, ""},
        {"a missing file", "C:\\Radio\\Transition\\absent.htm", false, ""},
        {"a page of the folder", "C:\\Radio\\Transition\\gong.htm", true, "C:\\Radio\\Transition\\gong.htm"},
        {"a page of any folder", "E:\\Autres\\cloche.html", true, "E:\\Autres\\cloche.html"},
        // A later cancel or a missing file keeps the jingle chosen before.
        {"cancelled after a choice", std::nullopt, false, "E:\\Autres\\cloche.html"},
        {"missing after a choice", "C:\\Radio\\Transition\\absent.htm", false, "E:\\Autres\\cloche.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        picker.answer = c.answer;
        if (c.exists) files.files[*c.answer] = "<html></html>";
        rotation.ChooseJingle();
        EXPECT_EQ(rotation.Jingle(), c.jingleAfter);
        EXPECT_EQ(rotation.CanStart(), !c.jingleAfter.empty());
        EXPECT_EQ(picker.startFolders.back(), "C:\\Radio\\Transition\\");
    }
    EXPECT_TRUE(calls.empty()) << "choosing plays nothing: " << calls.front();
}

TEST_F(RotationTest, ListeningPlaysTheJingleInTheFirstBrowserWhileItExists) {
    rotation.ListenToJingle();
    ChooseExistingJingle();
    rotation.ListenToJingle();
    files.files.erase(kJingle);
    rotation.ListenToJingle();
    EXPECT_EQ(calls, (Calls{"0 show", "0 hide", "0 show", "0 first file:///D:\\Sons\\gong.htm", "0 hide", "0 show",
                            "0 hide"}));

    files.files[kJingle] = "";
    services.first.refuse = true;
    calls.clear();
    EXPECT_THROW(rotation.ListenToJingle(), BrowserError);
    EXPECT_EQ(calls, (Calls{"0 show", "0 hide"}));
    clock.AdvanceTo(60000);
    EXPECT_EQ(calls.size(), 2u) << "listening starts no sequence";
}
// Before and after a jingle is chosen: what Tab reaches, and what Enter and
// Esc press from each control.
TEST(RotationKeys, EnterConfirmsFromTheFieldsAndPressesTheFocusedCommand) {
    using namespace rotation_controls;
    const std::vector<int> fields = {kIntervalBar, kJingleCheck, kDurationBar};
    const std::vector<int> commands = {kJingleChooser, kListenImage, kCancelButton};
    struct Row {
        bool jingleChosen;
        std::vector<int> stops;
        int enterInAField;
    };
    const Row rows[] = {
        {false, {kIntervalBar, kJingleCheck, kDurationBar, kJingleChooser, kListenImage, kCancelButton}, 0},
        {true, {kIntervalBar, kJingleCheck, kDurationBar, kJingleChooser, kListenImage, kCancelButton, kOkButton},
         kOkButton},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ReachableStops(RotationTabStops(row.jingleChosen)), row.stops) << row.jingleChosen;
        for (int field : fields)
            EXPECT_EQ(RotationKeyTarget(row.jingleChosen, field, RotationKey::Enter), row.enterInAField) << field;
        for (int command : commands)
            EXPECT_EQ(RotationKeyTarget(row.jingleChosen, command, RotationKey::Enter), command) << command;
        EXPECT_EQ(RotationKeyTarget(row.jingleChosen, kOkButton, RotationKey::Enter), row.enterInAField);
        for (int focused : {0, static_cast<int>(kIntervalBar), static_cast<int>(kCancelButton)})
            EXPECT_EQ(RotationKeyTarget(row.jingleChosen, focused, RotationKey::Escape), kCancelButton);
    }
}
}  // namespace
