#include <gtest/gtest.h>

#include "common/MemoryFileStore.h"
#include "forms/MeterSettings.h"
#include "toolkit/Exceptions.h"

#include <algorithm>
#include <vector>

using namespace zq;
using zqtest::TMemoryFileStore;

namespace {

MeterSettings ReadFrom(const std::string& text) {
    TMemoryFileStore store;
    if (!text.empty())
        store.Files["z.ini"] = text;
    TIniFile ini("z.ini", store);
    return ReadMeterSettings(ini);
}

} // namespace

TEST(MeterSettingsRead, MissingFileGivesEveryDefault) {
    MeterSettings s = ReadFrom("");
    EXPECT_EQ(s, DefaultMeterSettings());
    EXPECT_EQ(s.BackgroundColor, 0u);
    EXPECT_EQ(s.BarColor1, 0x408000u);
    EXPECT_EQ(s.BarColor2, 0x00FF80u);
    EXPECT_EQ(s.BarColor3, 0x0000FFu);
    EXPECT_EQ(s.TextColor, 0xFFFF00u);
    EXPECT_EQ((std::vector<int>{s.Height, s.Width, s.Left, s.Top, s.Opacity}),
              (std::vector<int>{34, 98, 300, 0, 192}));
    EXPECT_TRUE(s.Snapping && s.AlwaysOnTop && s.NumericText && s.AllProcessors && s.Horizontal &&
                s.Welcome);
    EXPECT_FALSE(s.AlphaBlending || s.HideFullScreen || s.EachProcessor || s.NumericIcon);
}

TEST(MeterSettingsRead, HexNonNumericBooleansAndOpacityByte) {
    MeterSettings s = ReadFrom("[Colors]\nPro1=0x0000FF\nPro2=green\nBackground=-2147483633\n"
                               "[Window]\nAlpha=300\nAlwaysTop=0\nAlphaOn=7\nShowNumeric=yes\n"
                               "Left=-20\n[Orientation]\nHorizontal=0\n[Misc]\nWelcome=0\n");
    EXPECT_EQ(s.BarColor1, 255u);
    EXPECT_EQ(s.BarColor2, 0x00FF80u);
    EXPECT_EQ(s.BackgroundColor, clBtnFace);
    EXPECT_EQ(s.Opacity, 44);
    EXPECT_FALSE(s.AlwaysOnTop);
    EXPECT_TRUE(s.AlphaBlending);
    EXPECT_TRUE(s.NumericText); // not a number: the default
    EXPECT_EQ(s.Left, -20);
    EXPECT_FALSE(s.Horizontal);
    EXPECT_FALSE(s.Welcome);
    EXPECT_TRUE(ReadFrom("[Orientation]\nHorizontal=-3\n").Horizontal);
    EXPECT_TRUE(ReadFrom("[Orientation]\nHorizontal=abc\n").Horizontal);
}

TEST(MeterSettingsWrite, TwentyKeysInClosingOrderAndReadBackUnchanged) {
    TMemoryFileStore store;
    TIniFile ini("z.ini", store);
    MeterSettings s = DefaultMeterSettings();
    s.BackgroundColor = clBtnFace;
    s.Left = 12;
    s.Opacity = 44;
    s.Welcome = false;
    s.AllProcessors = false;
    s.HideFullScreen = true;
    s.EachProcessor = true;
    s.NumericIcon = true;
    WriteMeterSettings(ini, s);
    EXPECT_EQ(store.WriteCount, 1); // the file is replaced once, with all twenty keys
    EXPECT_EQ(store.Files["z.ini"],
              "[Colors]\r\nBackground=-2147483633\r\nPro1=4227072\r\nPro2=65408\r\nPro3=255\r\n"
              "Text=16776960\r\n[Window]\r\nHeight=34\r\nWidth=98\r\nLeft=12\r\nTop=0\r\n"
              "AlwaysTop=1\r\nShowNumeric=1\r\nSnapWindow=1\r\nAlphaOn=0\r\nAlpha=44\r\n"
              "AllProcessors=0\r\nEachProcessor=1\r\nHideFullScreen=1\r\nNumericIcon=1\r\n"
              "[Orientation]\r\nHorizontal=1\r\n[Misc]\r\nWelcome=0\r\n");
    MeterSettings back = ReadFrom(store.Files["z.ini"]);
    EXPECT_EQ(back.BackgroundColor, clBtnFace);
    EXPECT_EQ(back.Left, 12);
    EXPECT_EQ(back.Opacity, 44);
    EXPECT_FALSE(back.Welcome);
    EXPECT_FALSE(back.AllProcessors);
    EXPECT_TRUE(back.HideFullScreen);
    EXPECT_TRUE(back.NumericIcon);
    EXPECT_EQ(back, s);
}

TEST(MeterSettingsWrite, AFailedWriteRaisesWithTheFileIntactAndTheNextOneWritesAll) {
    TMemoryFileStore store;
    store.Files["z.ini"] = "[Colors]\r\nPro1=1\r\n";
    store.WritesLeft = 0;
    TIniFile ini("z.ini", store);
    try {
        WriteMeterSettings(ini, DefaultMeterSettings());
        FAIL() << "no failure";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to z.ini");
    }
    EXPECT_EQ(store.Files["z.ini"], "[Colors]\r\nPro1=1\r\n");
    store.WritesLeft = 1;
    WriteMeterSettings(ini, DefaultMeterSettings());
    EXPECT_EQ(ReadFrom(store.Files["z.ini"]).BarColor1, DefaultMeterSettings().BarColor1);
    EXPECT_EQ(std::count(store.Files["z.ini"].begin(), store.Files["z.ini"].end(), '='),
              static_cast<std::ptrdiff_t>(std::size(kMeterSettingKeys)));
}

// Under 24 by 8 the strip can be neither seen nor grabbed: it starts at the default size.
TEST(MeterSettingsRead, ASizeTooSmallToSeeOrGrabGivesTheDefaultSize) {
    const struct {
        const char* width;
        const char* height;
        int expectedWidth, expectedHeight;
    } cases[] = {
        {"24", "8", 24, 8},    {"23", "60", 98, 34},   {"200", "7", 98, 34}, {"0", "0", 98, 34},
        {"-40", "34", 98, 34}, {"30", "500", 30, 500}, {"x", "5", 98, 34},   {"10", "", 98, 34},
    };
    for (const auto& c : cases) {
        const std::string file =
            std::string("[Window]\r\nWidth=") + c.width + "\r\nHeight=" + c.height + "\r\n";
        SCOPED_TRACE(file);
        MeterSettings s = ReadFrom(file);
        EXPECT_EQ(s.Width, c.expectedWidth);
        EXPECT_EQ(s.Height, c.expectedHeight);
    }
}

TEST(MeterPlacement, AStripOffEveryWorkAreaGoesToTheFirstRunPosition) {
    // Two monitors side by side, the right one higher, with a taskbar along the left one's foot.
    const std::vector<TRect> monitors{{0, 0, 1024, 738}, {1024, -200, 2304, 824}};
    const int kMax = 2147483647, kMin = -kMax - 1;
    struct Case {
        int left, top, width, height;
        TPoint expected;
    } cases[] = {
        {300, 0, 98, 34, {300, 0}},         // the first-run place
        {2000, 700, 98, 34, {2000, 700}},   // on the second monitor only
        {-97, 100, 98, 34, {-97, 100}},     // one column on screen is enough
        {1000, 760, 98, 34, {1000, 760}},   // below the first area, on the second
        {100, 738, 98, 34, {300, 0}},       // its top edge on the work area's bottom edge
        {100, 737, 98, 34, {100, 737}},     // its top row the work area's last
        {100, -34, 98, 34, {300, 0}},       // its bottom edge on the work area's top edge
        {2304, 0, 98, 34, {300, 0}},        // just past the right edge
        {-98, 0, 98, 34, {300, 0}},         // just past the left edge
        {5000, 5000, 98, 34, {300, 0}},     // on a monitor that was removed
        {500, 300, 0, -5, {500, 300}},      // no size: its corner pixel is on screen
        {1023, 737, -10, 0, {1023, 737}},   // the last pixel of the first area
        {kMax, kMax, kMax, kMax, {300, 0}}, // extremes of a hand-edited file
        {kMin, kMin, kMax, kMax, {300, 0}},
        {kMin + 2, 10, kMax, 34, {kMin + 2, 10}}, // its last column is the screen's first
    };
    for (const auto& c : cases)
        EXPECT_EQ(StripPosition(c.left, c.top, c.width, c.height, monitors), c.expected)
            << c.left << "," << c.top << " " << c.width << "x" << c.height;
    EXPECT_EQ(StripPosition(10, 10, 20, 20, {}), (TPoint{300, 0})); // no monitor reported
}
