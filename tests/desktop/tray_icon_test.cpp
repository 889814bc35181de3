#include "desktop/tray_icon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
template <std::size_t N>
std::string Text(const std::array<char, N>& field) {
    return std::string(field.data());
}

template <std::size_t N>
bool AllZero(const std::array<char, N>& field) {
    for (char c : field)
        if (c != '\0') return false;
    return true;
}

template <std::size_t N>
bool ZeroAfterText(const std::array<char, N>& field) {
    std::size_t length = Text(field).size();
    for (std::size_t i = length; i < N; ++i)
        if (field[i] != '\0') return false;
    return true;
}
}  // namespace

TEST(TrayNotifyRecord, StartsWithMessageIconAndTipFlagsOnly) {
    TrayNotifyRecord record;
    EXPECT_EQ(record.flags, 7u);
    EXPECT_TRUE(AllZero(record.tip));
    EXPECT_TRUE(AllZero(record.info));
    EXPECT_TRUE(AllZero(record.infoTitle));
}

TEST(TrayNotifyRecord, TipIsTheHintCutAt127OrNothing) {
    struct Case {
        std::string hint;
        bool showHint;
        std::string tip;
    };
    const std::string long200(200, 'x');
    const std::vector<Case> cases = {
        {"Sonoraflux", true, "Sonoraflux"},
        {"Sonoraflux - Radio Classique", true, "Sonoraflux - Radio Classique"},
        {std::string(127, 'a'), true, std::string(127, 'a')},
        {std::string(128, 'b'), true, std::string(127, 'b')},
        {long200, true, std::string(127, 'x')},
        {"", true, ""},
        {"Sonoraflux", false, ""},
        {long200, false, ""},
        {"Arr\xEAter \xE9t\xE9", true, "Arr\xEAter \xE9t\xE9"},
    };
    for (const Case& c : cases) {
        TrayNotifyRecord record;
        record.SetTip(c.hint, c.showHint);
        EXPECT_EQ(Text(record.tip), c.tip) << "hint of " << c.hint.size() << " chars, shown " << c.showHint;
        EXPECT_TRUE(ZeroAfterText(record.tip));
    }
}

TEST(TrayNotifyRecord, ShorterTipLeavesNothingOfTheLongerOneBehind) {
    TrayNotifyRecord record;
    record.SetTip(std::string(127, 'x'), true);
    record.SetTip("Sonoraflux", true);
    EXPECT_EQ(Text(record.tip), "Sonoraflux");
    EXPECT_TRUE(ZeroAfterText(record.tip));
    record.SetTip("Sonoraflux", false);
    EXPECT_TRUE(AllZero(record.tip));
}

TEST(TrayNotifyRecord, BalloonFieldsAreCutAndTimeoutIsInMilliseconds) {
    struct Case {
        std::string title, text;
        BalloonIconKind kind;
        std::uint8_t seconds;
        std::string wantTitle, wantText;
        std::uint32_t wantTimeout, wantInfoFlags;
    };
    const std::vector<Case> cases = {
        {"Sonoraflux", "Le logiciel est pr\xEAt !", BalloonIconKind::Info, 10, "Sonoraflux",
         "Le logiciel est pr\xEAt !", 10000, 1},
        {std::string(63, 't'), std::string(255, 'm'), BalloonIconKind::Warning, 10, std::string(63, 't'),
         std::string(255, 'm'), 10000, 2},
        {std::string(64, 't'), std::string(256, 'm'), BalloonIconKind::Error, 1, std::string(63, 't'),
         std::string(255, 'm'), 1000, 3},
        {std::string(300, 't'), std::string(1000, 'm'), BalloonIconKind::None, 0, std::string(63, 't'),
         std::string(255, 'm'), 0, 0},
        {"", "Ligne 1\rLigne 2", BalloonIconKind::Info, 255, "", "Ligne 1\rLigne 2", 255000, 1},
    };
    for (const Case& c : cases) {
        TrayNotifyRecord record;
        record.SetBalloon(c.title, c.text, c.kind, c.seconds);
        EXPECT_EQ(record.flags, 0x17u);
        EXPECT_EQ(Text(record.infoTitle), c.wantTitle) << "title of " << c.title.size() << " chars";
        EXPECT_EQ(Text(record.info), c.wantText) << "text of " << c.text.size() << " chars";
        EXPECT_TRUE(ZeroAfterText(record.info));
        EXPECT_TRUE(ZeroAfterText(record.infoTitle));
        EXPECT_EQ(record.timeoutMs, c.wantTimeout);
        EXPECT_EQ(record.infoFlags, c.wantInfoFlags);
    }
}

TEST(TrayNotifyRecord, HidingEmptiesTheTextAndEndingRestoresTheStandardFlags) {
    TrayNotifyRecord record;
    record.SetBalloon("Sonoraflux", "Une longue notice", BalloonIconKind::Warning, 10);
    record.EndBalloon();
    EXPECT_EQ(record.flags, 7u);

    record.ClearBalloon();
    EXPECT_EQ(record.flags, 0x17u);
    EXPECT_TRUE(AllZero(record.info));
    record.EndBalloon();
    EXPECT_EQ(record.flags, 7u);

    record.SetBalloon("", "Court", BalloonIconKind::Info, 10);
    EXPECT_EQ(Text(record.info), "Court");
    EXPECT_TRUE(ZeroAfterText(record.info));
}

namespace {
using M = TrayMouseMessage;

struct ClickCase {
    const char* name;
    std::vector<M> reports;
    TrayClickDetector::Settings settings;
    int clicks, doubleClicks, popups, defaultItemClicks;
};

struct Counts {
    int clicks = 0, doubleClicks = 0, popups = 0, defaultItemClicks = 0;
};

Counts Feed(TrayClickDetector& detector, const std::vector<M>& reports, const TrayClickDetector::Settings& settings) {
    Counts counts;
    for (M report : reports) {
        TrayMouseActions a = detector.Handle(static_cast<std::uint32_t>(report), settings);
        counts.clicks += a.click;
        counts.doubleClicks += a.doubleClick;
        counts.popups += a.popup;
        counts.defaultItemClicks += a.clickDefaultItem;
    }
    return counts;
}
}  // namespace

TEST(TrayClickDetector, TurnsMouseReportsIntoActions) {
    const TrayClickDetector::Settings plain{true, false, false};
    const TrayClickDetector::Settings withMenu{true, false, true};
    const TrayClickDetector::Settings leftMenu{true, true, true};
    const TrayClickDetector::Settings disabled{false, false, true};
    const std::vector<ClickCase> cases = {
        {"press and release", {M::LeftDown, M::LeftUp}, plain, 1, 0, 0, 0},
        {"release alone", {M::LeftUp}, plain, 0, 0, 0, 0},
        {"moves between press and release", {M::LeftDown, M::Move, M::Move, M::LeftUp}, plain, 1, 0, 0, 0},
        {"double-click", {M::LeftDown, M::LeftUp, M::LeftDoubleClick, M::LeftUp}, plain, 1, 1, 0, 0},
        {"two separate clicks", {M::LeftDown, M::LeftUp, M::LeftDown, M::LeftUp}, plain, 2, 0, 0, 0},
        {"two double-clicks", {M::LeftDown, M::LeftUp, M::LeftDoubleClick, M::LeftUp, M::LeftDown, M::LeftUp,
                               M::LeftDoubleClick, M::LeftUp},
         plain, 2, 2, 0, 0},
        {"right button goes down", {M::RightDown}, withMenu, 0, 0, 1, 0},
        {"right button comes up", {M::RightUp}, withMenu, 0, 0, 0, 0},
        {"right click without a menu", {M::RightDown, M::RightUp}, plain, 0, 0, 0, 0},
        {"left press opens the menu when asked", {M::LeftDown, M::LeftUp}, leftMenu, 1, 0, 1, 0},
        {"left press keeps the menu shut by default", {M::LeftDown, M::LeftUp}, withMenu, 1, 0, 0, 0},
        {"double-click with a menu clicks its default item", {M::LeftDown, M::LeftUp, M::LeftDoubleClick, M::LeftUp},
         withMenu, 1, 1, 0, 1},
        {"double-click with a left menu does not", {M::LeftDown, M::LeftUp, M::LeftDoubleClick, M::LeftUp}, leftMenu,
         1, 1, 1, 0},
        {"middle button does nothing", {M::MiddleDown, M::MiddleUp}, withMenu, 0, 0, 0, 0},
        {"unknown report does nothing", {static_cast<M>(0x20A)}, withMenu, 0, 0, 0, 0},
        {"disabled ignores everything",
         {M::LeftDown, M::LeftUp, M::LeftDoubleClick, M::LeftUp, M::RightDown, M::RightUp, M::Move}, disabled, 0, 0, 0,
         0},
    };
    for (const ClickCase& c : cases) {
        TrayClickDetector detector;
        Counts got = Feed(detector, c.reports, c.settings);
        EXPECT_EQ(got.clicks, c.clicks) << c.name;
        EXPECT_EQ(got.doubleClicks, c.doubleClicks) << c.name;
        EXPECT_EQ(got.popups, c.popups) << c.name;
        EXPECT_EQ(got.defaultItemClicks, c.defaultItemClicks) << c.name;
    }
}

TEST(TrayClickDetector, PressSeenBeforeDisablingNeverCompletesLater) {
    TrayClickDetector detector;
    const TrayClickDetector::Settings on{true, false, false};
    const TrayClickDetector::Settings off{false, false, false};
    EXPECT_FALSE(detector.Handle(static_cast<std::uint32_t>(M::LeftDown), on).click);
    EXPECT_FALSE(detector.Handle(static_cast<std::uint32_t>(M::LeftUp), off).click);
    EXPECT_FALSE(detector.Handle(static_cast<std::uint32_t>(M::LeftUp), on).click);
    // A fresh press after enabling clicks as usual.
    detector.Handle(static_cast<std::uint32_t>(M::LeftDown), on);
    EXPECT_TRUE(detector.Handle(static_cast<std::uint32_t>(M::LeftUp), on).click);
}

TEST(TrayIconIndex, ClampsIntoTheImageList) {
    struct Case {
        int requested, count, expected;
    };
    const std::vector<Case> cases = {
        {0, 4, 0}, {3, 4, 3}, {4, 4, 3}, {100, 4, 3}, {-1, 4, 0}, {2, 1, 0}, {0, 0, 0}, {5, 0, 0}, {5, -1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampIconIndex(c.requested, c.count), c.expected) << "index " << c.requested << " of " << c.count;
}

TEST(TrayIconIndex, CyclingWrapsAfterTheLastImage) {
    std::vector<int> shown;
    int index = 0;
    for (int tick = 0; tick < 9; ++tick) {
        shown.push_back(index);
        index = NextCycleIndex(index, 4);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3, 0}));

    struct Case {
        int current, count, expected;
    };
    const std::vector<Case> cases = {{0, 1, 0}, {0, 0, 0}, {3, 2, 0}, {-5, 4, 0}, {2, 3, 0}, {1, 3, 2}};
    for (const Case& c : cases)
        EXPECT_EQ(NextCycleIndex(c.current, c.count), c.expected) << "after " << c.current << " of " << c.count;
}
