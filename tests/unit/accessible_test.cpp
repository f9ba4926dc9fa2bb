// What screen readers hear of the program's own controls: the pace of value announcements, the
// children listed after a window's child windows, and the names and values of the strip and the
// System Information dialog's chart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AccessibleNames.h"
#include "forms/LoadHistory.h"
#include "toolkit/AccessibleModel.h"

using namespace zq;

TEST(ValueChangeGate, AnnouncesANewValueAtMostOnceASecond) {
    struct Step {
        const char* value;
        std::uint32_t ms;
        bool announced;
    };
    const Step steps[] = {
        {"0%", 5000, true},         // the first value
        {"0%", 6000, false},        // unchanged
        {"53%", 6999, true},        // changed, a second after the last announcement
        {"54%", 7500, false},       // changed, too soon: held back
        {"54%", 7998, false},       // still too soon
        {"54%", 7999, true},        // held back, announced a second after the last
        {"53%", 9000, true},        // back to an earlier value: a change all the same
        {"53%", 20000, false},      // long unchanged
        {"1%", 0xFFFFFF00u, true},  // the millisecond count near its wrap
        {"2%", 0x000002E8u, true},  // 1000 ms later, across the wrap
        {"3%", 0x000006CFu, false}, // 999 ms later
    };
    TValueChangeGate gate;
    for (const Step& s : steps)
        EXPECT_EQ(gate.Pass(s.value, s.ms), s.announced) << s.value << " at " << s.ms;
}

TEST(AccessibleChildren, OwnChildrenFollowTheChildWindowsAndNavigateAmongThemselves) {
    using N = TNavigation;
    constexpr long kStd = TAccessibleChildren::kStandardAnswers;
    const TAccessibleChildren windows{3, 2}; // child windows 1-3, own children 4 and 5
    EXPECT_EQ(windows.Count(), 5);
    EXPECT_EQ((std::vector<int>{windows.OwnIndex(0), windows.OwnIndex(3), windows.OwnIndex(4),
                                windows.OwnIndex(5), windows.OwnIndex(6)}),
              (std::vector<int>{-1, -1, 0, 1, -1}));
    struct Case {
        TAccessibleChildren children;
        N direction;
        long start;
        long to;
    };
    const Case cases[] = {
        {windows, N::FirstChild, 0, kStd}, // the first child window
        {windows, N::LastChild, 0, 5},
        {windows, N::Next, 0, kStd}, // the window's siblings
        {windows, N::Down, 0, kStd},
        {windows, N::Next, 3, kStd}, // among the child windows
        {windows, N::Next, 4, 5},
        {windows, N::Next, 5, TAccessibleChildren::kNone},
        {windows, N::Previous, 5, 4},
        {windows, N::Previous, 4, TAccessibleChildren::kNone},
        {windows, N::Up, 4, TAccessibleChildren::kNone},
        {windows, N::FirstChild, 4, TAccessibleChildren::kNone}, // a simple element
        {{0, 2}, N::FirstChild, 0, 1},
        {{0, 0}, N::FirstChild, 0, TAccessibleChildren::kNone},
        {{2, 0}, N::LastChild, 0, kStd},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.children.Navigate(c.direction, c.start), c.to)
            << c.children.Standard << "+" << c.children.Own << " from " << c.start << " dir "
            << static_cast<int>(c.direction);
}

TEST(AccessibleChildren, AHitFindsTheTopmostVisibleItem) {
    std::vector<TAccessibleItem> items(3);
    items[0].Bounds = {0, 0, 100, 20};
    items[1].Bounds = {50, 0, 150, 20}; // above the first where they overlap
    items[2].Bounds = {0, 30, 100, 50};
    items[2].Visible = false;
    EXPECT_EQ(AccessibleItemAt(items, {0, 0}), 0);
    EXPECT_EQ(AccessibleItemAt(items, {60, 10}), 1);
    EXPECT_EQ(AccessibleItemAt(items, {149, 19}), 1);
    EXPECT_EQ(AccessibleItemAt(items, {150, 10}), -1); // right and bottom edges are outside
    EXPECT_EQ(AccessibleItemAt(items, {10, 40}), -1);  // hidden
}

TEST(AccessibleNames, TheStripAndTheLoadHistoryAsTheyAreShown) {
    EXPECT_EQ(StripAccessibleName(true), "CPU Usage");
    EXPECT_EQ(StripAccessibleName(false), "CPU 0 Usage");

    TCustomChart chart;
    TFastLineSeries series(nullptr);
    SetUpLoadHistory(chart, series);
    EXPECT_EQ(NewestLoadText(series), "");
    series.AddXY(46000.0, 12, "", clTeeColor);
    series.AddXY(46000.0 + 1.0 / 86400, 53, "", clTeeColor);
    EXPECT_EQ(NewestLoadText(series), "53%");
}
