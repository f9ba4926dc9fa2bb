// The load as the meter shows it: the tick's percent and the tool-tip text.
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
