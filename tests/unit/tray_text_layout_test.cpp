#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tray/TextIconLayout.h"

using namespace zq;

namespace {

// Every character is 6 wide and the font 13 high, unless a width is given for a whole string.
class FakeMeasurer : public TTextMeasurer {
public:
    std::map<std::string, int> widths;
    int height = 13;
    mutable std::vector<std::string> asked;
    TTextExtent Extent(std::string_view text) const override {
        asked.emplace_back(text);
        auto it = widths.find(std::string(text));
        const int w = it != widths.end() ? it->second : 6 * static_cast<int>(text.size());
        return {w, height};
    }
};

std::vector<TTextLinePlacement> Layout(std::string_view text, const FakeMeasurer& m, int dx = 0,
                                       int dy = 0, int dist = 0, int size = TextIconSize) {
    std::vector<std::string_view> lines;
    std::vector<TTextLinePlacement> out;
    LayoutText(text, m, dx, dy, dist, lines, out, size);
    return out;
}

std::vector<std::string> Split(std::string_view text) {
    std::vector<std::string_view> lines;
    SplitLines(text, lines);
    return {lines.begin(), lines.end()};
}

} // namespace

TEST(TextIconLayout, SingleLineCentresOn15WithTruncatingDivision) {
    FakeMeasurer m;
    auto out = Layout("37", m); // 12 wide, 13 high
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].Text, "37");
    EXPECT_EQ(out[0].X, 1);
    EXPECT_EQ(out[0].Y, 1);

    out = Layout("100", m); // 18 wide: (15 - 18) / 2 is -1
    EXPECT_EQ(out[0].X, -1);

    m.height = 20; // (15 - 20) / 2 is -2
    m.widths["7"] = 14;
    out = Layout("7", m, 3, -4);
    EXPECT_EQ(out[0].X, 0 + 3);
    EXPECT_EQ(out[0].Y, -2 - 4);

    out = Layout("", m);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].X, 7);
}

TEST(TextIconLayout, AtTheShellsIconSizeLinesCentreOnOnePixelLess) {
    FakeMeasurer m;
    m.height = 20;
    auto out = Layout("37", m, 0, 0, 0, 24); // 12 wide: (23 - 12) / 2 and (23 - 20) / 2
    EXPECT_EQ(out[0].X, 5);
    EXPECT_EQ(out[0].Y, 1);
    out = Layout("1\r2", m, 0, 0, 0, 32); // two lines of 20 in 31: the block starts at -4
    EXPECT_EQ(out[0].Y, -4);
    EXPECT_EQ(out[1].Y, 16);
}

TEST(TextIconLayout, SplitLinesOnCarriageReturnOnly) {
    EXPECT_EQ(Split("a\rb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Split("a\r"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(Split("\r\r"), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(Split("a\nb\r\nc"), (std::vector<std::string>{"a\nb", "\nc"}));
    EXPECT_EQ(Split(""), (std::vector<std::string>{""}));

    std::vector<std::string_view> lines = {"stale"};
    SplitLines("x", lines);
    EXPECT_EQ(lines.size(), 1u);
}

TEST(TextIconLayout, MultiLineBlock) {
    FakeMeasurer m;
    m.height = 6;
    auto out = Layout("1\r22", m, 0, 0, 1); // H = 7, top = (15 - 14) / 2 = 0
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].Text, "1");
    EXPECT_EQ(out[0].X, (15 - 6) / 2);
    EXPECT_EQ(out[0].Y, 0);
    EXPECT_EQ(out[1].Text, "22");
    EXPECT_EQ(out[1].X, (15 - 12) / 2);
    EXPECT_EQ(out[1].Y, 7);
    // The line height is measured on the text from the first carriage return on.
    EXPECT_EQ(m.asked.front(), "\r22");

    out = Layout("1\r22", m, 2, 3, 1);
    EXPECT_EQ(out[0].X, 4 + 2);
    EXPECT_EQ(out[0].Y, 3);
    EXPECT_EQ(out[1].Y, 10);
}

TEST(TextIconLayout, TrailingReturnMovesBlockUp) {
    FakeMeasurer m;
    m.height = 8;
    const auto two = Layout("5\r6", m);     // top (15 - 16) / 2 = 0
    const auto three = Layout("5\r6\r", m); // top (15 - 24) / 2 = -4
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(two[0].Y, 0);
    EXPECT_EQ(three[0].Y, -4);
    EXPECT_EQ(three[2].Text, "");
}

TEST(TextIconLayout, ExtremeOffsetsSaturate) {
    FakeMeasurer m;
    auto out = Layout("1", m, INT_MAX, INT_MIN);
    EXPECT_EQ(out[0].X, INT_MAX);
    EXPECT_EQ(out[0].Y, INT_MIN + 1);
    out = Layout("1\r2\r3", m, 0, 0, INT_MAX);
    const long long h = 13LL + INT_MAX;
    EXPECT_EQ(out[2].Y, 2 * h + (15 - 3 * h) / 2);
    out = Layout("1\r2", m, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(out[1].Y, INT_MAX);
}

TEST(OffsetOptions, ChangesNotifyOnceAndSameValueDoesNothing) {
    TOffsetOptions o;
    int fired = 0;
    TObject* sender = nullptr;
    o.OnChange = [&](TObject* s) {
        ++fired;
        sender = s;
    };
    o.SetOffsetX(0);
    o.SetOffsetY(0);
    o.SetLineDistance(0);
    EXPECT_EQ(fired, 0);

    o.SetOffsetX(2);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(sender, &o);
    o.SetOffsetX(2);
    o.SetOffsetY(-1);
    o.SetLineDistance(3);
    o.SetLineDistance(3);
    EXPECT_EQ(fired, 3);
    EXPECT_EQ(o.OffsetX(), 2);
    EXPECT_EQ(o.OffsetY(), -1);
    EXPECT_EQ(o.LineDistance(), 3);

    TOffsetOptions copy;
    int copyFired = 0;
    copy.OnChange = [&](TObject*) { ++copyFired; };
    copy.Assign(o);
    EXPECT_EQ(copyFired, 0);
    EXPECT_EQ(copy.OffsetY(), -1);

    TOffsetOptions silent; // no handler assigned
    silent.SetOffsetX(5);
    EXPECT_EQ(silent.OffsetX(), 5);
}

TEST(TextIconLayout, LinesFitAcrossOnlyWithEveryColumnInside) {
    FakeMeasurer m;
    EXPECT_TRUE(LinesFitAcross(Layout("37", m), 16));
    EXPECT_TRUE(LinesFitAcross(Layout("", m), 16));
    EXPECT_FALSE(LinesFitAcross(Layout("100", m), 16)); // 18 wide from -1
    EXPECT_TRUE(LinesFitAcross(Layout("100", m, 0, 0, 0, 20), 20));
    EXPECT_TRUE(LinesFitAcross(Layout("37", m, 3), 16));  // to the right edge
    EXPECT_FALSE(LinesFitAcross(Layout("37", m, 4), 16)); // past it
    EXPECT_FALSE(LinesFitAcross(Layout("7\r100", m), 16));
    EXPECT_FALSE(LinesFitAcross(Layout("1", m, INT_MAX), 16));
}

TEST(TextIconColors, FollowTheTaskbarsThemeAndHighContrast) {
    const TColor text = clWindowText, face = clBtnFace;
    const struct {
        std::optional<std::uint32_t> light;
        bool highContrast;
        TTextIconColors expected;
    } cases[] = {
        {std::nullopt, false, {TTextIconLook::Classic, text, face}},
        {0, false, {TTextIconLook::Transparent, clWhite, clNone}},
        {1, false, {TTextIconLook::Transparent, clBlack, clNone}},
        {2, false, {TTextIconLook::Transparent, clBlack, clNone}},
        {std::nullopt, true, {TTextIconLook::Opaque, clWindowText, clWindow}},
        {0, true, {TTextIconLook::Opaque, clWindowText, clWindow}},
        {1, true, {TTextIconLook::Opaque, clWindowText, clWindow}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.light.value_or(99) << " " << c.highContrast);
        EXPECT_EQ(TextIconColors({c.light, c.highContrast}, text, face), c.expected);
    }
}

// Every digit whole inside the icon and apart from its neighbours: the columns with ink are
// exactly the digits' boxes, each one run, with no ink outside them and some blended edges.
TEST(TextIconDigits, EveryDigitWholeInsideTheIconAndApart) {
    const struct {
        const char* text;
        int size;
        int width, height; // of a digit other than "1"
    } cases[] = {
        {"0", 16, 7, 12},  {"9", 16, 7, 12},  {"53", 16, 7, 12},  {"100", 16, 5, 12},
        {"0", 20, 9, 16},  {"9", 20, 9, 16},  {"53", 20, 9, 16},  {"100", 20, 6, 16},
        {"0", 24, 10, 18}, {"9", 24, 10, 18}, {"53", 24, 10, 18}, {"100", 24, 7, 18},
        {"0", 32, 14, 24}, {"9", 32, 14, 24}, {"53", 32, 14, 24}, {"100", 32, 10, 24},
    };
    std::vector<TDigitBox> boxes;
    std::vector<std::uint8_t> ink;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" at " << c.size);
        const int n = c.size;
        DrawDigits(c.text, n, boxes, ink);
        ASSERT_EQ(boxes.size(), std::string_view(c.text).size());
        ASSERT_EQ(ink.size(), static_cast<std::size_t>(n * n));
        const TDigitBox& last = boxes.back();
        EXPECT_EQ(last.Width, c.width);
        EXPECT_EQ(last.Height, c.height);
        std::vector<bool> inkedColumn(n, false), inBox(n * n, false);
        int blended = 0;
        for (const TDigitBox& b : boxes) {
            EXPECT_TRUE(b.Left >= 0 && b.Left + b.Width <= n && b.Top >= 0 &&
                        b.Top + b.Height <= n);
            for (int y = b.Top; y < b.Top + b.Height; ++y)
                for (int x = b.Left; x < b.Left + b.Width; ++x)
                    inBox[y * n + x] = true;
        }
        for (int i = 0; i < n * n; ++i) {
            EXPECT_TRUE(ink[i] == 0 || inBox[i]) << i % n << "," << i / n;
            inkedColumn[i % n] = inkedColumn[i % n] || ink[i] != 0;
            blended += ink[i] != 0 && ink[i] != 255 ? 1 : 0;
        }
        std::vector<std::pair<int, int>> runs, expected;
        for (int x = 0; x < n; ++x)
            if (inkedColumn[x] && (x == 0 || !inkedColumn[x - 1]))
                runs.push_back({x, x});
            else if (inkedColumn[x])
                runs.back().second = x;
        for (const TDigitBox& b : boxes)
            expected.push_back({b.Left, b.Left + b.Width - 1});
        EXPECT_EQ(runs, expected);
        EXPECT_GT(blended, 0);
    }
}

TEST(TextIconDigits, OtherCharactersLeftOutAndTooManyDigitsCutEvenly) {
    std::vector<TDigitBox> boxes, alone;
    std::vector<std::uint8_t> ink, aloneInk;
    DrawDigits("5 %x", 16, boxes, ink);
    DrawDigits("5", 16, alone, aloneInk);
    EXPECT_EQ(ink, aloneInk);

    DrawDigits("", 16, boxes, ink);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ink, std::vector<std::uint8_t>(256, 0));
    DrawDigits("12", 0, boxes, ink);
    EXPECT_TRUE(boxes.empty() && ink.empty());
    DrawDigits("1", 1, boxes, ink); // wider than the icon: cut on the left too
    EXPECT_EQ(boxes.at(0).Left, -1);
    DrawDigits("12", 257, boxes, ink);
    EXPECT_TRUE(boxes.empty() && ink == std::vector<std::uint8_t>(257 * 257, 0));

    // Twenty digits in the narrowest face: as much cut on the left as on the right.
    DrawDigits("80808080808080808080", 16, boxes, ink);
    ASSERT_EQ(boxes.size(), 20u);
    EXPECT_EQ(boxes[0].Width, 3);
    EXPECT_LE(std::abs(boxes.front().Left + (boxes.back().Left + boxes.back().Width - 16)), 1);
}
