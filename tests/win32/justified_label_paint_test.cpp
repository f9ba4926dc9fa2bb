// Justified text drawn with a real font into bitmaps, checked pixel by pixel.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "controls/JustifiedLabelPaint.h"

using namespace zq;

namespace {

constexpr TColor kBack = 0x808000; // teal: neither text nor button colours
const char* const kText = "Lines of this paragraph are broken at spaces and stretched to the full "
                          "width by widening their spaces, all but the last one.\r\n"
                          "A\tnew paragraph starts after a carriage return and a line feed.";

class JustifiedPaint : public testing::Test {
protected:
    void SetUp() override {
        font.SetName("MS Sans Serif");
        font.SetHeight(-11);
        font.SetColor(clBlack);
        for (TBitmap* b : {&drawn, &expected}) {
            b->SetSize(220, 120);
            b->Canvas().Brush().SetColor(kBack);
            b->Canvas().FillRect({0, 0, 220, 120});
        }
    }
    // Pixels of `b` that differ from the background.
    static std::set<std::pair<int, int>> Ink(TBitmap& b) {
        std::set<std::pair<int, int>> ink;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                if (b.PixelAt(x, y) != kBack)
                    ink.insert({x, y});
        return ink;
    }
    TFont font;
    TBitmap drawn;
    TBitmap expected;
};

} // namespace

TEST_F(JustifiedPaint, StretchedLinesPutEveryWordWhereItsGapsSay) {
    const TRect client{10, 5, 170, 115};
    PaintJustifiedText(drawn.Canvas(), font, client, kText, true, 0);

    // The same lines drawn word by word: a word starts at its natural place plus the extra
    // pixels of the spaces before it (gap indices count from the rightmost space).
    TJustifiedTextPainter painter(expected.Canvas(), font, true, 0);
    const std::vector<TLineObj> lines = painter.Break(kText, client.Width());
    ASSERT_GE(lines.size(), 4u);
    TCanvas& canvas = expected.Canvas();
    canvas.Font().Assign(font);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    int stretched = 0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const TLineObj& line = lines[n];
        const int y = client.Top + static_cast<int>(n) * painter.LineHeight();
        int extra = 0;
        int gap = line.GapCount;
        std::size_t wordStart = 0;
        for (std::size_t i = 0; i <= line.Text.size(); ++i) {
            if (i < line.Text.size() && line.Text[i] != ' ')
                continue;
            const int x = client.Left + canvas.TextWidth(line.Text.substr(0, wordStart));
            canvas.TextOut(x + extra, y, line.Text.substr(wordStart, i - wordStart));
            if (i < line.Text.size())
                extra += line.GapExtra(--gap);
            wordStart = i + 1;
        }
        stretched += line.GapCount > 0 && line.ExtraPixels > 0;
    }
    ASSERT_GE(stretched, 2);
    for (int y = 0; y < drawn.Height(); ++y)
        for (int x = 0; x < drawn.Width(); ++x)
            ASSERT_EQ(drawn.PixelAt(x, y), expected.PixelAt(x, y)) << x << ',' << y;

    // A stretched line ends at the right edge; the last line of a paragraph does not.
    auto rightmostInk = [&](std::size_t n) {
        int right = -1;
        const int top = client.Top + static_cast<int>(n) * painter.LineHeight();
        for (auto [x, y] : Ink(drawn))
            if (y >= top && y < top + painter.LineHeight())
                right = std::max(right, x);
        return right;
    };
    EXPECT_GE(rightmostInk(0), client.Right - 3);
    const int lastRight = client.Left + canvas.TextWidth(lines.back().Text);
    ASSERT_LT(lastRight, client.Right - 3);
    EXPECT_LE(rightmostInk(lines.size() - 1), lastRight);

    // Painting again creates no handle that stays.
    const long handles = LiveHandleCount(HandleKind::Gdi);
    PaintJustifiedText(drawn.Canvas(), font, client, kText, false, 0);
    EXPECT_EQ(LiveHandleCount(HandleKind::Gdi), handles);
}

TEST_F(JustifiedPaint, DisabledTextIsEngraved) {
    font.SetQuality(TFontQuality::fqNonAntialiased); // two colours only, no blended edges
    const TRect client{4, 4, 200, 110};
    PaintJustifiedText(expected.Canvas(), font, client, kText, true, 0);
    PaintJustifiedText(drawn.Canvas(), font, client, kText, false, 0);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    ASSERT_NE(highlight, shadow);

    // The shadow has the glyphs' shape, in place; the highlight shows one pixel down and right
    // where the shadow does not cover it.
    const std::set<std::pair<int, int>> glyphs = Ink(expected);
    ASSERT_FALSE(glyphs.empty());
    for (int y = 0; y < drawn.Height(); ++y)
        for (int x = 0; x < drawn.Width(); ++x) {
            const bool glyph = glyphs.count({x, y}) != 0;
            const bool below = glyphs.count({x - 1, y - 1}) != 0;
            const COLORREF want = glyph ? shadow : below ? highlight : kBack;
            ASSERT_EQ(drawn.PixelAt(x, y), want) << x << ',' << y;
        }
}

TEST_F(JustifiedPaint, NothingIsDrawnOutsideTheClientRectangle) {
    // Three and a half lines fit; a word longer than the width is cut.
    TJustifiedTextPainter painter(drawn.Canvas(), font, true, 0);
    const int height = painter.LineHeight() * 7 / 2;
    const TRect client{20, 10, 120, 10 + height};
    const std::string text = "Wmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmm " + std::string(kText);
    painter.PaintText(client, text);
    ASSERT_GT(painter.Break(text, client.Width()).size(), 4u);
    bool lastRowInked = false;
    for (auto [x, y] : Ink(drawn)) {
        ASSERT_TRUE(x >= client.Left && x < client.Right && y >= client.Top && y < client.Bottom)
            << x << ',' << y;
        lastRowInked |= y >= client.Bottom - 3;
    }
    EXPECT_TRUE(lastRowInked); // the half line is drawn as far as it shows
}

TEST_F(JustifiedPaint, AutoSizeHeightIsOneLineHeightPerLine) {
    TJustifiedTextPainter painter(drawn.Canvas(), font, true, 0);
    const int lineHeight = painter.LineHeight();
    EXPECT_EQ(lineHeight, 13);
    const long handles = LiveHandleCount(HandleKind::Gdi);
    EXPECT_EQ(JustifiedAutoSizeHeight(font, "", 100), lineHeight);
    EXPECT_EQ(JustifiedAutoSizeHeight(font, "one\r\ntwo\r\n", 100), 3 * lineHeight);
    const int lines = static_cast<int>(painter.Break(kText, 150).size());
    ASSERT_GT(lines, 3);
    EXPECT_EQ(JustifiedAutoSizeHeight(font, kText, 150), lines * lineHeight);
    EXPECT_EQ(LiveHandleCount(HandleKind::Gdi), handles);
    font.SetHeight(-20);
    EXPECT_GT(JustifiedAutoSizeHeight(font, "", 100), lineHeight);
}
