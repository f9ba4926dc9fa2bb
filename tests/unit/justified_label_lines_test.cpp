// Line breaking of the justified label over a measurer with fixed widths per character.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/JustifiedLabelLines.h"

using namespace zq;

namespace {

// Every character is `widths[c]` wide: 6, and 50 for 'W', unless set. Fails past `limit`
// measurements, so that breaking that does not end fails instead of hanging.
class FakeMeasurer : public TLineMeasurer {
public:
    FakeMeasurer() {
        widths.fill(6);
        widths['W'] = 50;
    }
    std::array<int, 256> widths;
    mutable long calls = 0;
    long limit = 100000;
    int TextWidth(std::string_view text) const override {
        if (++calls > limit)
            throw std::runtime_error("breaking does not end");
        int w = 0;
        for (char c : text)
            w += widths[static_cast<unsigned char>(c)];
        return w;
    }
};

// A line as "text/extra/gaps", or just "text" when neither is set.
std::vector<std::string> Break(std::string_view text, int width) {
    std::vector<std::string> out;
    for (const TLineObj& line : BreakLines(text, width, FakeMeasurer()))
        out.push_back(line.ExtraPixels == 0 && line.GapCount == 0
                          ? line.Text
                          : line.Text + '/' + std::to_string(line.ExtraPixels) + '/' +
                                std::to_string(line.GapCount));
    return out;
}

} // namespace

TEST(JustifiedLineBreaking, Table) {
    struct Case {
        const char* text;
        int width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", 100, {""}},
        {"x", 0, {"x"}},
        {"aa bb", 100, {"aa bb"}},
        // "aa bb c" is 42: the line breaks at the last space, 10 short, one gap inside.
        {"aa bb cc dd", 40, {"aa bb/10/1", "cc dd"}},
        // A word moves on when it does not fit with the space after it ("aa bb " is 36).
        {"aa bb cc", 35, {"aa/23/0", "bb cc"}},
        {"aa bb cc", 36, {"aa bb/6/1", "cc"}},
        // Tabs are spaces and count as gaps.
        {"a\tb\tc d", 40, {"a b c/10/2", "d"}},
        {"ab\t", 100, {"ab "}},
        // Carriage returns end lines, with a line feed right after; such lines are natural.
        {"aa bb\r\ncc", 100, {"aa bb", "cc"}},
        {"aa\r\n", 100, {"aa", ""}},
        {"aa\r", 100, {"aa", ""}},
        {"\r\r\n\r", 100, {"", "", "", ""}},
        {"a\n\rb", 100, {"a\n", "b"}},
        // A word wider than the width is cut before the character that overflows.
        {"abcdefgh", 20, {"abc", "def", "gh"}},
        {"ab abcdefgh", 20, {"ab/8/0", "abc", "def", "gh"}},
        {"aWa", 20, {"a", "W", "a"}},
        {"WW b", 20, {"W", "W", " b"}},
        // No room at all: one character per line.
        {"ab c", 0, {"a", "b", " ", "c"}},
        {"\r\nab", -1, {"", "a", "b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Break(c.text, c.width), c.lines) << '"' << c.text << "\" in " << c.width;
}

TEST(JustifiedLineBreaking, GapExtraSpreadsFromTheRightAndDropsTheOddPixel) {
    struct Case {
        int extra, gaps;
        std::vector<int> fromRight;
    };
    const Case cases[] = {{10, 4, {2, 2, 3, 2}},
                          {9, 3, {3, 3, 3}},
                          {1, 3, {0, 0, 0}},
                          {7, 5, {1, 1, 1, 2, 1}},
                          {7, 1, {7}}};
    for (const Case& c : cases) {
        TLineObj line(c.extra, c.gaps, "");
        std::vector<int> got;
        for (int k = 0; k < c.gaps; ++k)
            got.push_back(line.GapExtra(k));
        EXPECT_EQ(got, c.fromRight) << c.extra << " over " << c.gaps;
    }
    EXPECT_EQ(TLineObj(10, 4, "").GapExtra(-3), 2);
    EXPECT_EQ(TLineObj(10, 0, "").GapExtra(1), 0);

    // Every space gets the truncated share or one more, and all but one leftover pixel is used.
    for (int gaps = 1; gaps <= 40; ++gaps)
        for (int extra = 0; extra <= 200; ++extra) {
            TLineObj line(extra, gaps, "");
            int sum = 0;
            for (int k = 0; k < gaps; ++k) {
                const int e = line.GapExtra(k);
                ASSERT_TRUE(e == extra / gaps || e == extra / gaps + 1) << extra << '/' << gaps;
                sum += e;
            }
            ASSERT_EQ(sum, extra - (extra % gaps != 0 ? 1 : 0)) << extra << '/' << gaps;
        }
}

namespace {

// True when lines `line` on, joined with what each break consumed (nothing, a space or tab, a
// carriage return with or without its line feed), give `text` from `at` on; tabs read as spaces.
bool Reassembles(const std::string& text, const std::vector<TLineObj>& lines, std::size_t line,
                 std::size_t at) {
    const std::string& t = lines[line].Text;
    if (text.size() - at < t.size())
        return false;
    for (std::size_t i = 0; i < t.size(); ++i)
        if ((text[at + i] == '\t' ? ' ' : text[at + i]) != t[i])
            return false;
    at += t.size();
    if (line + 1 == lines.size())
        return at == text.size();
    for (std::string_view gap : {"", " ", "\t", "\r\n", "\r"})
        if (text.compare(at, gap.size(), gap) == 0 &&
            Reassembles(text, lines, line + 1, at + gap.size()))
            return true;
    return false;
}

} // namespace

TEST(JustifiedLineBreaking, RandomTextsBreakIntoLinesThatGiveTheTextBack) {
    std::mt19937 random(20261207);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
    const std::string alphabet = "aaaaabbbbWW    \t\r\n.";
    for (int round = 0; round < 20000; ++round) {
        FakeMeasurer m;
        for (char c : alphabet)
            m.widths[static_cast<unsigned char>(c)] = c == 'W' ? pick(0, 70) : pick(0, 12);
        std::string text(pick(0, 40), ' ');
        for (char& c : text)
            c = alphabet[pick(0, static_cast<int>(alphabet.size()) - 1)];
        const int width = pick(-3, 60);
        const std::string where = '"' + text + "\" in " + std::to_string(width);

        m.limit = 2 * static_cast<long>(text.size() + 2) * (text.size() + 2);
        std::vector<TLineObj> lines;
        ASSERT_NO_THROW(lines = BreakLines(text, width, m)) << where;
        ASSERT_FALSE(lines.empty());
        ASSERT_TRUE(Reassembles(text, lines, 0, 0)) << where;
        for (const TLineObj& line : lines) {
            ASSERT_EQ(line.Text.find_first_of("\r\t"), std::string::npos) << where;
            // Every line fits, unless it holds at most one character.
            ASSERT_TRUE(m.TextWidth(line.Text) <= width || line.Text.size() <= 1) << where;
            // A stretched line spreads the pixels it lacks over the spaces inside it.
            if (line.GapCount > 0) {
                ASSERT_EQ(line.GapCount, std::count(line.Text.begin(), line.Text.end(), ' '));
                ASSERT_EQ(line.ExtraPixels, width - m.TextWidth(line.Text)) << where;
            }
        }
    }
}
