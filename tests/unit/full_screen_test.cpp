// Whether the foreground window runs full screen on the strip's monitor; the rows include the
// faults users report of comparable meters.
#include <gtest/gtest.h>

#include "app/FullScreen.h"

#include <vector>

using namespace zq;

namespace {

// A large monitor with a taskbar at its foot and a smaller one to its right.
const std::vector<TMonitorRects> kMonitors{{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
                                           {{1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}}};
constexpr TRect kFirst{0, 0, 1920, 1080};
constexpr TRect kSecond{1920, 0, 3200, 1024};
constexpr TRect kOnFirst{300, 0, 398, 34};
constexpr TRect kOnSecond{2000, 0, 2098, 34};
constexpr TRect kMostlyOnSecond{1900, 0, 2000, 34};

TForegroundWindow Borderless(TRect r, bool shown = true, bool exempt = false) {
    return {r, r, shown, false, false, exempt};
}
TForegroundWindow MaximisedBorderless(TRect r) {
    return {r, r, true, false, true, false};
}
TForegroundWindow Titled(TRect window, TRect client, bool maximised) {
    return {window, client, true, true, maximised, false};
}

} // namespace

TEST(FullScreen, OnlyAWindowOverTheWholeMonitorOfTheStripCounts) {
    const struct {
        const char* what;
        TForegroundWindow window;
        TRect strip;
        bool expected;
    } cases[] = {
        {"borderless over the monitor", Borderless(kFirst), kOnFirst, true},
        {"borderless over both monitors", Borderless({0, 0, 3200, 1080}), kOnFirst, true},
        {"borderless a pixel short", Borderless({0, 0, 1919, 1080}), kOnFirst, false},
        {"borderless over the work area", Borderless({0, 0, 1920, 1040}), kOnFirst, false},
        {"maximised without a title bar", MaximisedBorderless(kFirst), kOnFirst, true},
        {"maximised, taskbar auto-hidden, title drawn in the client area",
         Titled({-8, -8, 1928, 1088}, {0, 0, 1920, 1080}, true), kOnFirst, false},
        {"maximised, taskbar shown", Titled({-8, -8, 1928, 1048}, {0, 23, 1920, 1040}, true),
         kOnFirst, false},
        {"title bar above the screen", Titled({-8, -31, 1928, 1088}, {0, 0, 1920, 1080}, false),
         kOnFirst, true},
        {"stretched over the monitor, title bar on it",
         Titled({-10, -10, 1930, 1090}, {-2, 20, 1922, 1082}, false), kOnFirst, false},
        {"full screen on the other monitor", Borderless(kSecond), kOnFirst, false},
        {"full screen on the strip's second monitor", Borderless(kSecond), kOnSecond, true},
        {"full screen where a sliver of the strip is", Borderless(kFirst), kMostlyOnSecond, false},
        {"the desktop", Borderless({0, 0, 3200, 1080}, true, true), kOnFirst, false},
        {"hidden or minimised", Borderless(kFirst, false), kOnFirst, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RunsFullScreen(c.window, c.strip, kMonitors), c.expected) << c.what;
    EXPECT_FALSE(RunsFullScreen(Borderless(kFirst), kOnFirst, {})) << "no monitor listed";
}
