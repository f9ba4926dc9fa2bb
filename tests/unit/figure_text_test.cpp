// The System Information figures: gauge arithmetic, label and status texts, up-time rounding.
#include <gtest/gtest.h>

#include "forms/FigureText.h"
#include "common/AllocCounter.h"

using namespace zq;

TEST(FigureText, UsedPercent) {
    EXPECT_EQ(UsedPercent(261000, 523000), 51); // 26100000 div 523000 = 49
    EXPECT_EQ(UsedPercent(999, 1000), 1);
    EXPECT_EQ(UsedPercent(0, 523000), 100);
    EXPECT_EQ(UsedPercent(22000000, 24000000), 9); // 22 GB free: 2.2e9 does not fit 32 bits
    EXPECT_EQ(UsedPercent(INT32_MAX, INT32_MAX), 0);
    EXPECT_EQ(UsedPercent(0, 0), 0); // no paging file
}

TEST(FigureText, TextsAllocateNothingOnceTheirStringExists) {
    std::string kilobytes = "a longer text that was there before", swap;
    FormatKilobytes(0, kilobytes);
    FormatSwapUsage(0, 0, swap);
    EXPECT_EQ(kilobytes, "0 KB");
    zqtest::StartCountingAllocations();
    FormatKilobytes(INT32_MAX, kilobytes);
    FormatSwapUsage(INT32_MAX, 0, swap);
    EXPECT_EQ(zqtest::StopCountingAllocations(), 0);
    EXPECT_EQ(kilobytes, "2147483647 KB");
    EXPECT_EQ(swap, "Mem Usage: 2147483647K / 2147483647K");
    FormatSwapUsage(1247052, 1247052 - 104512, swap);
    EXPECT_EQ(swap, "Mem Usage: 104512K / 1247052K");
}

TEST(FigureText, UpTimeRoundsHalvesToEven) {
    EXPECT_EQ(UpTimeSeconds(0.5), 0);
    EXPECT_EQ(UpTimeSeconds(2.5), 2);
    EXPECT_EQ(UpTimeSeconds(3.5), 4);
    EXPECT_EQ(UpTimeSeconds(4294967.295), 4294967); // the largest tick count
}
