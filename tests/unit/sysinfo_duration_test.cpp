#include <gtest/gtest.h>

#include "sysinfo/DurationText.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>

using namespace zq;

namespace {

// The meter's flags: whole seconds, leading zero units skipped, words.
std::string Meter(std::int64_t seconds) {
    return DurationToText(true, false, false, seconds, ".");
}

} // namespace

TEST(DurationText, WordsFromTheLargestNonZeroUnit) {
    EXPECT_EQ(Meter(0), "0 Seconds.");
    EXPECT_EQ(Meter(1), "1 Second.");
    EXPECT_EQ(Meter(59), "59 Seconds.");
    EXPECT_EQ(Meter(60), "1 Minute, 0 Seconds.");
    EXPECT_EQ(Meter(61), "1 Minute, 1 Second.");
    EXPECT_EQ(Meter(3600), "1 Hour, 0 Minutes, 0 Seconds.");
    EXPECT_EQ(Meter(93784), "1 Day, 2 Hours, 3 Minutes, 4 Seconds.");
    EXPECT_EQ(Meter(694861), "1 Week, 1 Day, 1 Hour, 1 Minute, 1 Second.");
    EXPECT_EQ(Meter(1468800), "2 Weeks, 3 Days, 0 Hours, 0 Minutes, 0 Seconds.");
    EXPECT_EQ(Meter(2592000), "4 Weeks, 2 Days, 0 Hours, 0 Minutes, 0 Seconds.");
    EXPECT_EQ(Meter(2678400), "1 Month, 0 Weeks, 0 Days, 0 Hours, 0 Minutes, 0 Seconds.");
    EXPECT_EQ(Meter(31579200), "1 Year, 0 Months, 0 Weeks, 0 Days, 0 Hours, 0 Minutes, 0 Seconds.");
    EXPECT_EQ(Meter(3157920000LL + 31579200LL * 2 + 1),
              "1 Century, 2 Years, 0 Months, 0 Weeks, 0 Days, 0 Hours, 0 Minutes, 1 Second.");
    // The longest up-time the 32-bit tick count allows.
    EXPECT_EQ(Meter(4294967), "1 Month, 2 Weeks, 4 Days, 17 Hours, 2 Minutes, 47 Seconds.");
}

TEST(DurationText, OtherFlags) {
    EXPECT_EQ(DurationToText(false, false, false, 93784, "."),
              "1 Day, 2 Hours, 3 Minutes, 4.00 Seconds.");
    EXPECT_EQ(DurationToText(true, true, false, 93784, "."),
              "0 Centuries, 0 Years, 0 Months, 0 Weeks, 1 Day, 2 Hours, 3 Minutes, 4 Seconds.");
    EXPECT_EQ(DurationToText(true, false, true, 93784, "."), "02:03:04");
    EXPECT_EQ(DurationToText(true, true, true, 93784, "."), "00.00.01 02:03:04");
    // Weeks and days leave the short clock; the long clock folds weeks into days.
    EXPECT_EQ(DurationToText(true, false, true, 1209605, "."), "00:00:05");
    EXPECT_EQ(DurationToText(true, true, true, 1209605, "."), "00.00.14 00:00:05");
    EXPECT_EQ(DurationToText(true, true, true, 31579200LL * 3 + 2678400LL * 11 + 3723, "."),
              "03.11.00 01:02:03");
    EXPECT_EQ(DurationToText(true, false, true, 0, "."), "00:00:00");
}

TEST(DurationText, FractionalSecondsUseTheGivenSeparator) {
    EXPECT_EQ(DurationToText(false, false, false, 93784, ","),
              "1 Day, 2 Hours, 3 Minutes, 4,00 Seconds.");
    EXPECT_EQ(DurationToText(false, false, false, 1, ","), "1,00 Second.");
    EXPECT_EQ(DurationToText(false, false, false, 0, "."), "0.00 Seconds.");
    EXPECT_EQ(DurationToText(false, true, false, 5, ","),
              "0 Centuries, 0 Years, 0 Months, 0 Weeks, 0 Days, 0 Hours, 0 Minutes, 5,00 Seconds.");
    // The clock ignores the separator.
    EXPECT_EQ(DurationToText(false, false, true, 93784, ","), "02:03:04");
}

TEST(DurationText, SplitKeepsSixteenBitCounts) {
    TDurationParts parts = SplitDuration(3157920000LL * 3 + 31579200LL * 4 + 2678400LL * 5 +
                                         604800LL * 3 + 86400LL * 6 + 3600LL * 23 + 60LL * 59 + 58);
    EXPECT_EQ(parts.Centuries, 3);
    EXPECT_EQ(parts.Years, 4);
    EXPECT_EQ(parts.Months, 5);
    EXPECT_EQ(parts.Weeks, 3);
    EXPECT_EQ(parts.Days, 6);
    EXPECT_EQ(parts.Hours, 23);
    EXPECT_EQ(parts.Minutes, 59);
    EXPECT_EQ(parts.Seconds, 58);

    // 65,536 centuries and one minute: the century count wraps to 0, its seconds stay in the
    // remainder and the next count takes them (cut to 16 bits as well).
    std::int64_t huge = 3157920000LL * 65536 + 60;
    parts = SplitDuration(huge);
    EXPECT_EQ(parts.Centuries, 0);
    EXPECT_EQ(parts.Years, static_cast<std::uint16_t>(huge / 31579200LL));
}

TEST(DurationText, InputsOutsideTheCallersRangeGiveText) {
    // Negative or extreme values are not passed by callers; they must still give a defined
    // text without overflow (UBSan watches the arithmetic).
    const std::int64_t extremes[] = {-1, -93784, std::numeric_limits<std::int64_t>::min(),
                                     std::numeric_limits<std::int64_t>::max(),
                                     std::numeric_limits<std::int64_t>::min() + 1};
    for (std::int64_t seconds : extremes) {
        for (int flags = 0; flags < 8; ++flags) {
            std::string text = DurationToText(flags & 1, flags & 2, flags & 4, seconds, ",");
            EXPECT_FALSE(text.empty()) << seconds;
        }
    }
    std::mt19937_64 random(7);
    for (int i = 0; i < 2000; ++i) {
        auto seconds = static_cast<std::int64_t>(random());
        TDurationParts parts = SplitDuration(seconds);
        (void)parts;
        EXPECT_FALSE(DurationToText(i & 1, i & 2, i & 4, seconds, ".").empty());
    }
}

TEST(DurationText, UpTimeFromTheTickCounts) {
    using T64 = std::function<std::uint64_t()>;
    using T32 = std::function<std::uint32_t()>;
    const T32 ticks32 = [] { return 1500u; };
    const T64 throws64 = []() -> std::uint64_t { throw std::runtime_error("x"); };
    const T32 throws32 = []() -> std::uint32_t { throw std::runtime_error("x"); };
    struct Row {
        T64 Ticks64;
        T32 Ticks32;
        double Seconds;
    };
    const Row rows[] = {
        // The 64-bit count wins where there is one, past 2^32 ms (49.7 days) as well.
        {[] { return (1ull << 32) + 1500; }, ticks32, 4294968.796},
        {[] { return 93784250ull; }, ticks32, 93784.25},
        // Without it (Windows XP) the 32-bit count, up to where it wraps.
        {{}, ticks32, 1.5},
        {{}, [] { return 0xFFFFFFFFu; }, 4294967.295},
        // A failure while reading, or no source at all: 0.
        {throws64, ticks32, 0.0},
        {{}, throws32, 0.0},
        {{}, {}, 0.0},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_DOUBLE_EQ(UpTimeFromTicks(rows[i].Ticks64, rows[i].Ticks32), rows[i].Seconds)
            << "row " << i;
}
