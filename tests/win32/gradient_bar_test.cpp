// The gradient bar painted into its off-screen picture, checked pixel by pixel.
#include <gtest/gtest.h>

#include "controls/GradientBar.h"
#include "toolkit/Application.h"

using namespace zq;

namespace {

class BarTest : public testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetBounds(0, 0, 300, 200);
        form->Show(); // a hidden window's controls do not paint
        bar = new TGradientBar(form);
        bar->SetParent(form);
        bar->SetShowPosText(false);
    }
    void TearDown() override { delete form; }
    COLORREF At(int x, int y) { return bar->FramePicture().PixelAt(x, y); }
    TForm* form = nullptr;
    TGradientBar* bar = nullptr;
};

constexpr COLORREF kBack = 0x123456;

} // namespace

TEST_F(BarTest, MeterStripFillsFortyEightPixelsAtFifty) {
    bar->SetBounds(0, 0, 98, 34);
    bar->SetBackgroundColor(kBack);
    bar->SetBarColor1(0x408000);
    bar->SetBarColor2(0x00FF80);
    bar->SetBarColor3(0x0000FF);
    bar->SetBorderColor1(0x0E2429);
    bar->SetBorderColor2(0x0E2429);
    bar->SetPosition(50);
    GradientParams params{pdLeftToRight, cs3Colors, 0x408000, 0x00FF80, 0x0000FF, 98, 34};
    for (int x = 1; x <= 48; ++x)
        ASSERT_EQ(At(x, 17), GradientLineColor(params, x)) << x;
    for (int x = 49; x <= 96; ++x)
        ASSERT_EQ(At(x, 17), kBack) << x;
    // Frame: both colours on the outer ring.
    EXPECT_EQ(At(0, 0), 0x0E2429u);
    EXPECT_EQ(At(97, 33), 0x0E2429u);
    EXPECT_EQ(At(0, 17), 0x0E2429u);

    bar->SetPosition(33); // 31.68 -> 32 pixels
    EXPECT_NE(At(32, 10), kBack);
    EXPECT_EQ(At(33, 10), kBack);
    bar->SetPosition(100);
    EXPECT_EQ(At(96, 10), GradientLineColor(params, 96));
    bar->SetPosition(0);
    for (int x = 1; x <= 96; ++x)
        ASSERT_EQ(At(x, 1), kBack) << x;
}

TEST_F(BarTest, BlackToWhiteTwoColourBar) {
    bar->SetBounds(0, 0, 100, 10);
    bar->SetShowBorder(false);
    bar->SetBarColorStyle(cs2Colors);
    bar->SetBarColor1(clBlack);
    bar->SetBarColor2(clWhite);
    bar->SetPosition(100);
    EXPECT_EQ(At(0, 5), 0x000000u);
    EXPECT_EQ(At(99, 5), 0xFFFFFFu);
    EXPECT_EQ(At(50, 5), 0x818181u); // 129 grey
}

TEST_F(BarTest, RightToLeftPutsTheLastColourAtTheLeftEdge) {
    bar->SetBounds(0, 0, 60, 10);
    bar->SetShowBorder(false);
    bar->SetBackgroundColor(kBack);
    bar->SetDirection(pdRightToLeft);
    bar->SetBarColor1(0x0000FF);
    bar->SetBarColor2(0x00FF00);
    bar->SetBarColor3(0xFF0000);
    bar->SetPosition(100);
    EXPECT_EQ(At(0, 5), 0xFF0000u);
    EXPECT_EQ(At(59, 5), 0x0000FFu);
    bar->SetPosition(50); // grows from the right: the left half is background
    EXPECT_EQ(At(29, 5), kBack);
    EXPECT_NE(At(30, 5), kBack);
}

TEST_F(BarTest, OneColourAndTiledPicture) {
    bar->SetBounds(0, 0, 40, 12);
    bar->SetShowBorder(false);
    bar->SetBarColorStyle(cs1Color);
    bar->SetBarColor1(0x00AA00);
    bar->SetBarColor2(0x0000FF);
    bar->SetPosition(100);
    for (int x = 0; x < 40; ++x)
        ASSERT_EQ(At(x, 6), 0x00AA00u);

    TBitmap tile;
    tile.SetSize(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            tile.Canvas().SetPixel(x, y, ColorRGB(x * 30, y * 50, 77));
    bar->SetBarBitmap(tile);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(At(x, y), ColorRGB((x % 7) * 30, (y % 5) * 50, 77)) << x << "," << y;
}

TEST_F(BarTest, PositionChangesReuseTheGradientAndIgnoreOutOfRangeValues) {
    bar->SetBounds(0, 0, 98, 34);
    bar->SetPosition(10);
    long builds = bar->GradientBuilds();
    bar->SetPosition(20);
    bar->SetPosition(101);
    bar->SetPosition(-1);
    EXPECT_EQ(bar->Position(), 20);
    EXPECT_EQ(bar->GradientBuilds(), builds);
    bar->SetBarColor2(clWhite);
    EXPECT_EQ(bar->GradientBuilds(), builds + 1);
}

TEST_F(BarTest, TextIsCentred) {
    bar->SetBounds(0, 0, 98, 34);
    bar->SetShowBorder(false);
    bar->SetBarColorStyle(cs1Color);
    bar->SetBarColor1(clBlack);
    bar->SetBackgroundColor(clBlack);
    bar->SetPosTextSuffix("%");
    bar->Font().SetColor(clWhite);
    bar->Font().SetHeight(-11);
    bar->SetShowPosText(true);
    bar->SetPosition(37);
    SIZE extent = bar->FramePicture().Canvas().TextExtent("37%");
    TPoint origin = CentredTextOrigin(98, 34, extent.cx, extent.cy);
    int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
    for (int y = 0; y < 34; ++y)
        for (int x = 0; x < 98; ++x)
            if (At(x, y) != 0) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0) << "no text drawn";
    EXPECT_GE(minX, origin.X);
    EXPECT_LT(maxX, origin.X + extent.cx);
    EXPECT_GE(minY, origin.Y);
    EXPECT_LT(maxY, origin.Y + extent.cy);
    // Ink is balanced around the centre within a couple of pixels.
    EXPECT_LE(std::abs((minX + maxX) / 2 - 49), 3);
}

// Each position has its slice: a row of a horizontal bar, a column of a vertical one, a line of
// background between them; a change of the slices alone repaints from the kept gradient.
TEST_F(BarTest, SlicesShowEachPositionAcrossTheBar) {
    bar->SetBounds(0, 0, 98, 34);
    bar->SetBackgroundColor(kBack);
    const int loads[] = {0, 100};
    bar->SetPositions(50, loads);
    EXPECT_NE(At(40, 8), kBack); // not shown yet: the position fills half of every row
    bar->SetShowSlices(true);
    const long builds = bar->GradientBuilds();
    EXPECT_EQ(At(40, 8), kBack);  // the first slice, rows 1 to 15, empty
    EXPECT_EQ(At(40, 16), kBack); // the line between
    EXPECT_NE(At(96, 24), kBack); // the second, rows 17 to 32, full
    const int swapped[] = {100, 0};
    bar->SetPositions(50, swapped);
    EXPECT_NE(At(96, 8), kBack);
    EXPECT_EQ(At(40, 24), kBack);
    EXPECT_EQ(bar->GradientBuilds(), builds);

    bar->SetDirection(pdBottomToTop); // columns 1 to 47 and 49 to 96, filled from the bottom
    EXPECT_NE(At(20, 1), kBack);
    EXPECT_EQ(At(48, 32), kBack);
    EXPECT_EQ(At(70, 32), kBack);
}
