#include <gtest/gtest.h>

#include <climits>

#include "toolkit/Dpi.h"

using namespace zq;

TEST(DpiScaling, LengthsAreRoundedToTheNearestPixelWithHalvesAwayFromZero) {
    struct Case {
        int value, to, from, scaled;
    };
    // clang-format off
    const Case cases[] = {
        {98, 144, 96, 147},  {34, 144, 96, 51},   {98, 120, 96, 123},  {34, 120, 96, 43},
        {-11, 144, 96, -17}, {-11, 120, 96, -14}, {10, 144, 96, 15},   {10, 120, 96, 13},
        {1, 144, 96, 2},     {1, 120, 96, 1},     {0, 192, 96, 0},     {419, 96, 96, 419},
        {147, 96, 144, 98},  {123, 96, 120, 98},  {-17, 96, 144, -11}, {43, 96, 120, 34},
        {50, 72, 96, 38},    {7, 0, 96, 7},       {7, 144, -96, 7},     {7, 144, 0, 7},
        {INT_MAX, 192, 96, INT_MAX}, {INT_MIN, 192, 96, INT_MIN},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(ScaleToDpi(c.value, c.to, c.from), c.scaled)
            << c.value << " from " << c.from << " to " << c.to;
}

// A size is stored in design units and laid out again at the next start: at any resolution of
// 96 or more it comes back as it was, so the settings file never grows.
TEST(DpiScaling, ADesignLengthSurvivesTheWayToAnyResolutionAndBack) {
    for (int dpi : {96, 100, 110, 120, 125, 144, 168, 192, 240, 288, 480})
        for (int value = -3000; value <= 3000; ++value)
            ASSERT_EQ(ScaleToDpi(ScaleToDpi(value, dpi), kDesignDpi, dpi), value)
                << value << " at " << dpi;
}
