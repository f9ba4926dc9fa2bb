// The chart control in a real window: its picture pixel by pixel, the screen copy, painting only
// while visible, handles and allocations.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "chart/Chart.h"
#include "forms/LoadHistory.h"
#include "common/AllocCounter.h"
#include "toolkit/Application.h"

using namespace zq;

namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr double kStart = 46000.25;
constexpr COLORREF kGrid = 0x00428200;
constexpr COLORREF kSilver = 0x00C0C0C0;
constexpr COLORREF kLime = 0x0000FF00;

// A load-history chart of 600 by 83 set up as the System Information dialog sets it up, on a
// hidden borderless form.
struct HistoryWindow {
    TForm* form = new TForm(Application);
    TChart* chart = new TChart(form);
    TFastLineSeries* series = new TFastLineSeries(form);

    HistoryWindow() {
        form->SetBorderStyle(TBorderStyle::bsNone);
        form->SetBounds(20, 20, 640, 120);
        form->Handle();
        chart->SetParent(form);
        chart->SetBounds(10, 10, 600, 83);
        chart->Handle();
        SetUpLoadHistory(*chart, *series);
    }
    ~HistoryWindow() { delete form; }

    void AddSeconds(int from, int to, double percent) {
        for (int t = from; t < to; ++t)
            series->AddXY(kStart + t * kSecond, percent, "", clTeeColor);
    }
    void Settle() {
        UpdateWindow(chart->Handle());
        Application->ProcessMessages();
    }
};

class ChartTest : public testing::Test, protected HistoryWindow {
protected:
    COLORREF At(int x, int y) { return chart->Picture().PixelAt(x, y); }
    int CountOf(COLORREF color) {
        int n = 0;
        for (int y = 0; y < 83; ++y)
            for (int x = 0; x < 600; ++x)
                n += At(x, y) == color;
        return n;
    }
};

} // namespace

TEST_F(ChartTest, PaintsTheGridAndTheNewestPointAtTheRightEdge) {
    form->Show();
    AddSeconds(0, 300, 10);
    AddSeconds(300, 301, 100);
    Settle();
    ASSERT_EQ(chart->Picture().Width(), 600);
    EXPECT_EQ(At(597, 3), kLime);  // 100 % at the newest X, one pixel under the top of -1..101
    EXPECT_EQ(At(300, 72), kLime); // the 10 % line
    EXPECT_EQ(At(0, 40), GetSysColor(COLOR_3DDKSHADOW)); // the lowered inner bevel
    EXPECT_EQ(At(1, 40), kSilver);                       // the margin
    for (int y : {3, 22, 41, 60, 79})                    // 100, 75, 50, 25 and 0 %
        EXPECT_EQ(At(20, y), kGrid) << y;
    EXPECT_GT(CountOf(kSilver), 600 * 83 / 2);
    EXPECT_GT(CountOf(kGrid), 5 * 590);
    // The vertical lines fall every 5 s, 595 / 36 pixels apart, and move with the time.
    auto columns = [this] {
        std::vector<int> xs;
        for (int x = 2; x < 598; ++x)
            if (At(x, 50) == kGrid)
                xs.push_back(x);
        return xs;
    };
    std::vector<int> before = columns();
    ASSERT_GE(before.size(), 35u);
    for (size_t i = 1; i < before.size(); ++i)
        EXPECT_NEAR(before[i] - before[i - 1], 16.5, 1) << i;

    AddSeconds(301, 302, 0);
    Settle();
    EXPECT_EQ(At(597, 79), kLime); // 0 % at the newest X
    std::vector<int> after = columns();
    ASSERT_GE(after.size(), 35u);
    for (int x : after) // each line 3.3 pixels left of where it was
        EXPECT_TRUE(std::count(before.begin(), before.end(), x + 3) +
                        std::count(before.begin(), before.end(), x + 4) ==
                    1)
            << x;

    // What is on the screen is the picture.
    WindowDC screen(chart->Handle());
    for (POINT p : {POINT{597, 79}, POINT{20, 41}, POINT{300, 30}, POINT{0, 0}})
        EXPECT_EQ(GetPixel(screen.Get(), p.x, p.y), At(p.x, p.y)) << p.x << "," << p.y;
}

TEST_F(ChartTest, NothingIsDrawnWhileHiddenAndShowingPaintsWhatWasStored) {
    Settle();
    long paints = chart->PaintCount();
    AddSeconds(0, 200, 100);
    Settle();
    EXPECT_EQ(chart->PaintCount(), paints);
    EXPECT_GE(series->Count(), 180); // stored all the same

    form->Show();
    Settle();
    EXPECT_GT(chart->PaintCount(), paints);
    EXPECT_EQ(At(597, 3), kLime);
    EXPECT_EQ(At(300, 3), kLime);
}

TEST(ChartHandles, ATickAllocatesNothingAndEveryHandleGoes) {
    const long gdi = LiveHandleCount(HandleKind::Gdi);
    const long user = LiveHandleCount(HandleKind::User);
    {
        HistoryWindow w;
        w.form->Show();
        for (int t = 0; t < 200; ++t)
            w.AddSeconds(t, t + 1, t % 100);
        w.Settle();
        const long painted = w.chart->PaintCount();

        zqtest::StartCountingAllocations();
        for (int t = 200; t < 260; ++t) {
            w.AddSeconds(t, t + 1, t % 100);
            UpdateWindow(w.chart->Handle());
        }
        EXPECT_EQ(zqtest::StopCountingAllocations(), 0);
        EXPECT_EQ(w.chart->PaintCount(), painted + 60);
        EXPECT_GT(LiveHandleCount(HandleKind::Gdi), gdi);
    }
    EXPECT_EQ(LiveHandleCount(HandleKind::Gdi), gdi);
    EXPECT_EQ(LiveHandleCount(HandleKind::User), user);
}
