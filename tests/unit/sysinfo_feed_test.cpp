// The feed's gauge arithmetic, label and status texts and the up-time rounding.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/SysInfoFeed.h"
#include "common/AllocCounter.h"

using namespace zq;

TEST(SysInfoFeed, UsedPercent) {
    struct TCase {
        std::int32_t available, total;
        int percent;
    };
    const TCase cases[] = {
        {261000, 523000, 51}, // 26100000 div 523000 = 49
        {1, 3, 67},
        {999, 1000, 1},
        {0, 523000, 100},
        {523000, 523000, 0},
        {22000000, 24000000, 9}, // more than 21 GB free: 2.2e9 does not fit 32 bits
        {INT32_MAX - 1, INT32_MAX, 1},
        {INT32_MAX, INT32_MAX, 0},
        {0, 0, 0}, // no paging file
        {5, 0, 0},
        {5, -1, 0},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(UsedPercent(c.available, c.total), c.percent) << c.available << " of " << c.total;
}

TEST(SysInfoFeed, Texts) {
    std::string text = "a longer text that was there before";
    FormatKilobytes(523000, text);
    EXPECT_EQ(text, "523000 KB");
    FormatKilobytes(0, text);
    EXPECT_EQ(text, "0 KB");
    FormatKilobytes(INT32_MAX, text);
    EXPECT_EQ(text, "2147483647 KB");

    FormatSwapUsage(1247052, 1247052 - 104512, text);
    EXPECT_EQ(text, "Mem Usage: 104512K / 1247052K");
    FormatSwapUsage(0, 0, text);
    EXPECT_EQ(text, "Mem Usage: 0K / 0K");
    FormatSwapUsage(INT32_MAX, 0, text);
    EXPECT_EQ(text, "Mem Usage: 2147483647K / 2147483647K");
}

TEST(SysInfoFeed, TextsAllocateNothingOnceTheirStringExists) {
    std::string kilobytes, swap;
    FormatKilobytes(1, kilobytes);
    FormatSwapUsage(1, 1, swap);
    zqtest::StartCountingAllocations();
    for (std::int64_t n = 1; n <= INT32_MAX; n = n * 3 + 1) {
        const auto total = static_cast<std::int32_t>(n);
        FormatKilobytes(total, kilobytes);
        FormatSwapUsage(total, total / 2, swap);
    }
    EXPECT_EQ(zqtest::StopCountingAllocations(), 0);
    EXPECT_EQ(swap, "Mem Usage: 871696100K / 1743392200K");
}

TEST(SysInfoFeed, UpTimeRoundsHalvesToEven) {
    const std::pair<double, std::int64_t> cases[] = {
        {0.0, 0},        {0.4, 0},   {0.5, 0},           {1.5, 2},
        {2.5, 2},        {3.501, 4}, {12345.678, 12346}, {4294967.295, 4294967},
        {86399.5, 86400}};
    for (auto [seconds, whole] : cases)
        EXPECT_EQ(UpTimeSeconds(seconds), whole) << seconds;
}
