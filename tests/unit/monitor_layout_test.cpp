// The monitor a window is on and where the displays' changes send it, on fake layouts.
#include <gtest/gtest.h>

#include "toolkit/MonitorLayout.h"

#include <vector>

using namespace zq;

namespace {

// One monitor with a taskbar at its foot.
const std::vector<TMonitorRects> kOne{{{0, 0, 1024, 768}, {0, 0, 1024, 738}}};
// Two side by side, the taskbar on the left one.
const std::vector<TMonitorRects> kSideBySide{{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
                                             {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}}};
// A large monitor and a small one left of it, lower down.
const std::vector<TMonitorRects> kMixed{{{0, 0, 2560, 1440}, {0, 0, 2560, 1400}},
                                        {{-1280, 400, 0, 1424}, {-1280, 400, 0, 1424}}};
// The side-by-side layout after the right monitor was unplugged.
const std::vector<TMonitorRects> kRemoved{kSideBySide[0]};

constexpr TRect Strip(int left, int top, int width = 98, int height = 34) {
    return {left, top, left + width, top + height};
}

} // namespace

TEST(MonitorLayout, TheMonitorHoldingMostOfAWindowElseTheNearest) {
    const struct {
        const std::vector<TMonitorRects>* layout;
        TRect rect;
        int expected; // index in the layout
    } cases[] = {
        {&kOne, Strip(300, 0), 0},
        {&kOne, Strip(5000, 5000), 0},             // off the only monitor
        {&kSideBySide, Strip(1900, 10, 100), 1},   // 20 pixels on the left, 80 on the right
        {&kSideBySide, Strip(1850, 10, 100), 0},   // 70 on the left
        {&kSideBySide, Strip(1870, 10, 100), 0},   // half and half: the first listed
        {&kSideBySide, Strip(5000, 0), 1},         // past the right monitor
        {&kSideBySide, Strip(100, 2000), 0},       // below the left one
        {&kMixed, Strip(-100, 1300, 200, 100), 0}, // 100 by 100 on each: the first listed
        {&kMixed, Strip(-150, 1300, 200, 100), 1}, // 150 by 100 on the small one
        {&kMixed, Strip(-500, 100), 1},            // 266 above the small one, 402 left of the
                                                   // large one
        {&kMixed, Strip(-300, -300), 0},           // 202 + 266 from the large one, 666 from
                                                   // the small one
        {&kRemoved, Strip(2500, 500), 0},          // on the monitor that was unplugged
    };
    for (const auto& c : cases) {
        const TMonitorRects* m = MonitorOf(c.rect, *c.layout);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m - c.layout->data(), c.expected)
            << c.rect.Left << "," << c.rect.Top << " " << c.rect.Width() << "x" << c.rect.Height();
    }
    EXPECT_EQ(MonitorOf(Strip(0, 0), {}), nullptr);
}

TEST(MonitorLayout, AWindowOffEveryWorkAreaMovesOntoTheNearestWhole) {
    const struct {
        const std::vector<TMonitorRects>* layout;
        TRect rect, expected;
    } cases[] = {
        {&kOne, Strip(300, 0), Strip(300, 0)},
        {&kOne, Strip(-97, 737), Strip(-97, 737)},  // one pixel on the work area stays
        {&kOne, Strip(100, 740), Strip(100, 704)},  // on the taskbar: up onto the area
        {&kOne, Strip(2000, 100), Strip(926, 100)}, // right of the monitor
        {&kOne, Strip(-500, -500), Strip(0, 0)},    // above and left of it
        {&kSideBySide, Strip(3000, 500), Strip(3000, 500)},
        {&kSideBySide, Strip(3900, 1200), Strip(3742, 1046)},
        {&kMixed, Strip(-1300, 200), Strip(-1280, 400)}, // above the small one's left end
        {&kMixed, Strip(-3000, 500, 1500, 34), Strip(-1280, 500, 1500, 34)}, // wider than it
        {&kMixed, Strip(3000, 1500, 50, 2000), Strip(2510, 0, 50, 2000)},    // taller than any
        {&kRemoved, Strip(2500, 500), Strip(1822, 500)}, // its monitor unplugged
        {&kRemoved, Strip(1900, 500), Strip(1900, 500)}, // partly on the one that is left
    };
    for (const auto& c : cases)
        EXPECT_EQ(OntoWorkArea(c.rect, *c.layout), c.expected)
            << c.rect.Left << "," << c.rect.Top << " " << c.rect.Width() << "x" << c.rect.Height();
    EXPECT_EQ(OntoWorkArea(Strip(5000, 5000), {}), Strip(5000, 5000)); // no monitor listed
}
