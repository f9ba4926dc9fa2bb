// The load as the meter shows it: the tick's percent and the tool-tip text, with the busiest
// processor where each is shown.
#include <gtest/gtest.h>

#include "forms/LoadText.h"

using namespace zq;

TEST(LoadText, PercentRoundsHalvesToEven) {
    EXPECT_EQ(LoadPercent(0.125), 12);
    EXPECT_EQ(LoadPercent(0.375), 38);
    EXPECT_EQ(LoadPercent(0.999), 100);
    EXPECT_EQ(LoadPercent(-0.006), -1);
    EXPECT_EQ(LoadPercent(1.01), 101);
    EXPECT_EQ(LoadHint(37), "CPU Usage: 37%");
    EXPECT_EQ(LoadHint(-1), "CPU Usage: -1%");
}

TEST(LoadText, WithEachProcessorTheHintAddsTheBusiestOne) {
    std::string text = "an earlier, longer text that the hint replaces";
    const int each[] = {3, 100, 7};
    LoadHint(9, each, text);
    EXPECT_EQ(text, "CPU Usage: 9% (busiest processor 100%)");
    LoadHint(37, {}, text);
    EXPECT_EQ(text, "CPU Usage: 37%");
}
