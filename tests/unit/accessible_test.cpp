// What screen readers hear of the program's own controls: the pace of value announcements, the
// children listed after a window's child windows and hit, and the names and values of the strip
// and the System Information dialog's chart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/AccessibleNames.h"
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

TEST(AccessibleChildren, OwnChildrenFollowTheChildWindowsAndAreHitWhereTheyShow) {
    const TAccessibleChildren windows{3, 2}; // child windows 1-3, own children 4 and 5
    EXPECT_EQ((std::vector<int>{windows.OwnIndex(0), windows.OwnIndex(3), windows.OwnIndex(4),
                                windows.OwnIndex(5), windows.OwnIndex(6), windows.OwnIndex(-1)}),
              (std::vector<int>{-1, -1, 0, 1, -1, -1}));
    TAccessibleItem item;
    item.Bounds = {50, 0, 150, 20};
    const TPoint inside{149, 19}, right{150, 10}, below{60, 20}, left{49, 10};
    EXPECT_TRUE(AccessibleItemHolds(item, inside));
    EXPECT_FALSE(AccessibleItemHolds(item, right) || AccessibleItemHolds(item, below) ||
                 AccessibleItemHolds(item, left));
    item.Visible = false;
    EXPECT_FALSE(AccessibleItemHolds(item, inside));
}

TEST(AccessibleNames, TheStripAndTheLoadHistoryAsTheyAreShown) {
    EXPECT_STREQ(StripAccessibleName(true), "CPU Usage");
    EXPECT_STREQ(StripAccessibleName(false), "CPU 0 Usage");
    TAccessibleItem processor;
    DescribeProcessor(0, 100, processor);
    EXPECT_EQ((std::vector<std::string>{processor.Name, processor.Value}),
              (std::vector<std::string>{"CPU 1", "100%"}));
    EXPECT_EQ(processor.Role, TAccessibleRole::ProgressBar);

    TCustomChart chart;
    TFastLineSeries series(nullptr);
    SetUpLoadHistory(chart, series);
    EXPECT_EQ(chart.NewestValueText(), "");
    series.AddXY(46000.0, 12, "", clTeeColor);
    series.AddXY(46000.0 + 1.0 / 86400, 52.5, "", clTeeColor); // halves to even
    EXPECT_EQ(chart.NewestValueText(), "52%");
    series.AddXY(46000.0 + 2.0 / 86400, 53, "", clTeeColor);
    EXPECT_EQ(chart.NewestValueText(), "53%");
}
