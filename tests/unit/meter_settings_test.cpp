#include <gtest/gtest.h>

#include "app/MeterSettings.h"
#include "toolkit/Exceptions.h"

#include <algorithm>
#include <map>
#include <vector>

using namespace zq;

namespace {

class MemoryStore : public IFileStore {
public:
    std::map<std::string, std::string> files;
    int writesLeft = 1 << 30;
    std::vector<std::string> writes;
    FileReadResult Read(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end())
            return {FileReadResult::Missing, {}};
        return {FileReadResult::Ok, it->second};
    }
    bool Write(const std::string& path, const std::string& data) override {
        if (writesLeft-- <= 0)
            return false;
        files[path] = data;
        writes.push_back(data);
        return true;
    }
};

struct Recorder : IMeterSettingsSink {
    MeterSettings s;
    std::vector<std::string> order;
    void Background(TColor v) override {
        s.Background = v;
        order.push_back("Background");
    }
    void Pro1(TColor v) override {
        s.Pro1 = v;
        order.push_back("Pro1");
    }
    void Pro2(TColor v) override {
        s.Pro2 = v;
        order.push_back("Pro2");
    }
    void Pro3(TColor v) override {
        s.Pro3 = v;
        order.push_back("Pro3");
    }
    void Text(TColor v) override {
        s.Text = v;
        order.push_back("Text");
    }
    void Height(int v) override {
        s.Height = v;
        order.push_back("Height");
    }
    void Width(int v) override {
        s.Width = v;
        order.push_back("Width");
    }
    void Left(int v) override {
        s.Left = v;
        order.push_back("Left");
    }
    void Top(int v) override {
        s.Top = v;
        order.push_back("Top");
    }
    void Alpha(unsigned char v) override {
        s.Alpha = v;
        order.push_back("Alpha");
    }
    void SnapWindow(bool v) override {
        s.SnapWindow = v;
        order.push_back("SnapWindow");
    }
    void AlwaysTop(bool v) override {
        s.AlwaysTop = v;
        order.push_back("AlwaysTop");
    }
    void AlphaOn(bool v) override {
        s.AlphaOn = v;
        order.push_back("AlphaOn");
    }
    void ShowNumeric(bool v) override {
        s.ShowNumeric = v;
        order.push_back("ShowNumeric");
    }
    void AllProcessors(bool v) override {
        s.AllProcessors = v;
        order.push_back("AllProcessors");
    }
    void HideFullScreen(bool v) override {
        s.HideFullScreen = v;
        order.push_back("HideFullScreen");
    }
    void Horizontal(bool v) override {
        s.Horizontal = v;
        order.push_back("Horizontal");
    }
    void Welcome(bool v) override {
        s.Welcome = v;
        order.push_back("Welcome");
    }
};

MeterSettings ReadFrom(const std::string& text, Recorder* out = nullptr) {
    MemoryStore store;
    if (!text.empty())
        store.files["z.ini"] = text;
    TIniFile ini("z.ini", store);
    Recorder r;
    ReadMeterSettings(ini, r);
    if (out != nullptr)
        *out = r;
    return r.s;
}

} // namespace

TEST(MeterSettingsRead, MissingFileGivesEveryDefaultInKeyOrder) {
    Recorder r;
    MeterSettings s = ReadFrom("", &r);
    EXPECT_EQ(r.order, (std::vector<std::string>{
                           "Background", "Pro1", "Pro2", "Pro3", "Text", "Height", "Width", "Left",
                           "Top", "Alpha", "SnapWindow", "AlwaysTop", "AlphaOn", "ShowNumeric",
                           "AllProcessors", "HideFullScreen", "Horizontal", "Welcome"}));
    EXPECT_EQ(s.Background, 0u);
    EXPECT_EQ(s.Pro1, 0x408000u);
    EXPECT_EQ(s.Pro2, 0x00FF80u);
    EXPECT_EQ(s.Pro3, 0x0000FFu);
    EXPECT_EQ(s.Text, 0xFFFF00u);
    EXPECT_EQ((std::vector<int>{s.Height, s.Width, s.Left, s.Top, s.Alpha}),
              (std::vector<int>{34, 98, 300, 0, 192}));
    EXPECT_TRUE(s.SnapWindow && s.AlwaysTop && s.ShowNumeric && s.AllProcessors && s.Horizontal &&
                s.Welcome);
    EXPECT_FALSE(s.AlphaOn || s.HideFullScreen);
}

TEST(MeterSettingsRead, HexNonNumericBooleansAndOpacityByte) {
    MeterSettings s = ReadFrom("[Colors]\nPro1=0x0000FF\nPro2=green\nBackground=-2147483633\n"
                               "[Window]\nAlpha=300\nAlwaysTop=0\nAlphaOn=7\nShowNumeric=yes\n"
                               "Left=-20\n[Orientation]\nHorizontal=0\n[Misc]\nWelcome=0\n");
    EXPECT_EQ(s.Pro1, 255u);
    EXPECT_EQ(s.Pro2, 0x00FF80u);
    EXPECT_EQ(s.Background, clBtnFace);
    EXPECT_EQ(s.Alpha, 44);
    EXPECT_FALSE(s.AlwaysTop);
    EXPECT_TRUE(s.AlphaOn);
    EXPECT_TRUE(s.ShowNumeric); // not a number: the default
    EXPECT_EQ(s.Left, -20);
    EXPECT_FALSE(s.Horizontal);
    EXPECT_FALSE(s.Welcome);
    EXPECT_TRUE(ReadFrom("[Orientation]\nHorizontal=-3\n").Horizontal);
    EXPECT_TRUE(ReadFrom("[Orientation]\nHorizontal=abc\n").Horizontal);
}

TEST(MeterSettingsWrite, EighteenKeysInClosingOrderAndReadBackUnchanged) {
    MemoryStore store;
    TIniFile ini("z.ini", store);
    MeterSettings s;
    s.Background = clBtnFace;
    s.Left = 12;
    s.Alpha = 300;
    s.Welcome = false;
    s.AllProcessors = false;
    s.HideFullScreen = true;
    WriteMeterSettings(ini, s);
    EXPECT_EQ(store.writes.size(), 1u); // the file is replaced once, with all eighteen keys
    EXPECT_EQ(store.files["z.ini"],
              "[Colors]\r\nBackground=-2147483633\r\nPro1=4227072\r\nPro2=65408\r\nPro3=255\r\n"
              "Text=16776960\r\n[Window]\r\nHeight=34\r\nWidth=98\r\nLeft=12\r\nTop=0\r\n"
              "AlwaysTop=1\r\nShowNumeric=1\r\nSnapWindow=1\r\nAlphaOn=0\r\nAlpha=44\r\n"
              "AllProcessors=0\r\nHideFullScreen=1\r\n[Orientation]\r\nHorizontal=1\r\n[Misc]"
              "\r\nWelcome=0\r\n");
    MeterSettings back = ReadFrom(store.files["z.ini"]);
    EXPECT_EQ(back.Background, clBtnFace);
    EXPECT_EQ(back.Left, 12);
    EXPECT_EQ(back.Alpha, 44);
    EXPECT_FALSE(back.Welcome);
    EXPECT_FALSE(back.AllProcessors);
    EXPECT_TRUE(back.HideFullScreen);
}

TEST(MeterSettingsWrite, AFailedWriteRaisesWithTheFileIntactAndTheNextOneWritesAll) {
    MemoryStore store;
    store.files["z.ini"] = "[Colors]\r\nPro1=1\r\n";
    store.writesLeft = 0;
    TIniFile ini("z.ini", store);
    try {
        WriteMeterSettings(ini, MeterSettings{});
        FAIL() << "no failure";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to z.ini");
    }
    EXPECT_EQ(store.files["z.ini"], "[Colors]\r\nPro1=1\r\n");
    store.writesLeft = 1;
    WriteMeterSettings(ini, MeterSettings{});
    EXPECT_EQ(ReadFrom(store.files["z.ini"]).Pro1, MeterSettings{}.Pro1);
    EXPECT_EQ(std::count(store.files["z.ini"].begin(), store.files["z.ini"].end(), '='), 18);
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
        MemoryStore store;
        store.files["z.ini"] = file;
        TIniFile ini("z.ini", store);
        EXPECT_EQ(ReadMeterHeight(ini), c.expectedHeight);
    }
}

TEST(MeterTick, PercentRoundsHalvesToEven) {
    EXPECT_EQ(LoadPercent(0.125), 12);
    EXPECT_EQ(LoadPercent(0.375), 38);
    EXPECT_EQ(LoadPercent(0.999), 100);
    EXPECT_EQ(LoadPercent(-0.006), -1);
    EXPECT_EQ(LoadPercent(1.01), 101);
    EXPECT_EQ(LoadHint(37), "CPU Usage: 37%");
    EXPECT_EQ(LoadHint(-1), "CPU Usage: -1%");
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
        {100, 738, 98, 34, {300, 0}},       // on the taskbar: off every work area
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
