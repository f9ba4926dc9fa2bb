// Line breaking of the justified label over a measurer with fixed widths per character.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/JstLabelLines.h"

using namespace zq;

namespace {

// Every character is `widths[c]` wide (6 unless set). Counts the measurements and fails past
// `limit`, so that breaking that does not end fails instead of hanging.
class FakeMeasurer : public TLineMeasurer {
public:
    FakeMeasurer() { widths.fill(6); }
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

struct Line {
    std::string text;
    int extra;
    int gaps;
    friend bool operator==(const Line&, const Line&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Line& l) {
        return os << "{\"" << l.text << "\", " << l.extra << ", " << l.gaps << "}";
    }
};

std::vector<Line> Break(std::string_view text, int width, const FakeMeasurer& m = {}) {
    std::vector<Line> out;
    for (const TLineObj& line : BreakLines(text, width, m))
        out.push_back({line.Text, line.ExtraPixels, line.GapCount});
    return out;
}

} // namespace

TEST(JstLineBreaking, Table) {
    struct Case {
        const char* text;
        int width;
        std::vector<Line> lines;
    };
    const Case cases[] = {
        {"", 100, {{"", 0, 0}}},
        {"x", 100, {{"x", 0, 0}}},
        {"x", 0, {{"x", 0, 0}}},
        {"aa bb", 100, {{"aa bb", 0, 0}}},
        // "aa bb c" is 42: the line breaks at the last space, 6 short, one gap inside.
        {"aa bb cc dd", 40, {{"aa bb", 10, 1}, {"cc dd", 0, 0}}},
        // A word moves on when it does not fit with the space after it ("aa bb " is 36).
        {"aa bb cc", 35, {{"aa", 23, 0}, {"bb cc", 0, 0}}},
        {"aa bb cc", 36, {{"aa bb", 6, 1}, {"cc", 0, 0}}},
        // Tabs are spaces and count as gaps.
        {"a\tb\tc d", 40, {{"a b c", 10, 2}, {"d", 0, 0}}},
        {"ab\t", 100, {{"ab ", 0, 0}}},
        // Carriage returns end lines, with a line feed right after; lines so ended are natural.
        {"aa bb\r\ncc", 100, {{"aa bb", 0, 0}, {"cc", 0, 0}}},
        {"aa\r\n", 100, {{"aa", 0, 0}, {"", 0, 0}}},
        {"aa\r", 100, {{"aa", 0, 0}, {"", 0, 0}}},
        {"\r\r\n\r", 100, {{"", 0, 0}, {"", 0, 0}, {"", 0, 0}, {"", 0, 0}}},
        {"a\n\rb", 100, {{"a\n", 0, 0}, {"b", 0, 0}}},
        {"\n\n", 100, {{"\n\n", 0, 0}}},
        // A word wider than the width is cut before the character that overflows.
        {"abcdefgh", 20, {{"abc", 0, 0}, {"def", 0, 0}, {"gh", 0, 0}}},
        {"ab abcdefgh", 20, {{"ab", 8, 0}, {"abc", 0, 0}, {"def", 0, 0}, {"gh", 0, 0}}},
        // No room at all: one character per line.
        {"ab c", 0, {{"a", 0, 0}, {"b", 0, 0}, {" ", 0, 0}, {"c", 0, 0}}},
        {"ab", -5, {{"a", 0, 0}, {"b", 0, 0}}},
        {"\r\nab", -1, {{"", 0, 0}, {"a", 0, 0}, {"b", 0, 0}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Break(c.text, c.width), c.lines) << '"' << c.text << "\" in " << c.width;
}

TEST(JstLineBreaking, CharacterWiderThanTheWidthGetsALineOfItsOwn) {
    FakeMeasurer m;
    m.widths['W'] = 50;
    EXPECT_EQ(Break("aWa", 20, m), (std::vector<Line>{{"a", 0, 0}, {"W", 0, 0}, {"a", 0, 0}}));
    EXPECT_EQ(Break("W", 20, m), (std::vector<Line>{{"W", 0, 0}}));
    EXPECT_EQ(Break("WW b", 20, m), (std::vector<Line>{{"W", 0, 0}, {"W", 0, 0}, {" b", 0, 0}}));
}

TEST(JstLineBreaking, GapExtraSpreadsFromTheRightAndDropsTheOddPixel) {
    struct Case {
        int extra, gaps;
        std::vector<int> fromRight;
    };
    const Case cases[] = {
        {10, 4, {2, 2, 3, 2}}, {9, 3, {3, 3, 3}},       {1, 3, {0, 0, 0}}, {5, 4, {1, 1, 1, 1}},
        {7, 1, {7}},           {7, 5, {1, 1, 1, 2, 1}}, {0, 3, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        TLineObj line(c.extra, c.gaps, "");
        std::vector<int> got;
        for (int k = 0; k < c.gaps; ++k)
            got.push_back(line.GapExtra(k));
        EXPECT_EQ(got, c.fromRight) << c.extra << " over " << c.gaps;
    }
    // Indices outside the gaps, and lines that are not stretched.
    EXPECT_EQ(TLineObj(10, 4, "").GapExtra(-3), 2);
    EXPECT_EQ(TLineObj(10, 0, "").GapExtra(1), 0);
    EXPECT_EQ(TLineObj(-2147483647 - 1, -1, "").GapExtra(1), 0);

    // Every space gets the truncated share or one more, and all but one leftover pixel is used.
    for (int gaps = 1; gaps <= 40; ++gaps)
        for (int extra = 0; extra <= 200; ++extra) {
            TLineObj line(extra, gaps, "");
            int sum = 0;
            for (int k = 0; k < gaps; ++k) {
                int e = line.GapExtra(k);
                ASSERT_TRUE(e == extra / gaps || e == extra / gaps + 1) << extra << '/' << gaps;
                sum += e;
            }
            ASSERT_EQ(sum, extra - (extra % gaps != 0 ? 1 : 0)) << extra << '/' << gaps;
        }
}

namespace {

// True when the lines, joined with what each break consumed (nothing, a space or tab, a carriage
// return with or without its line feed), give `text` back; tabs in the text read as spaces.
bool Reassembles(const std::string& text, const std::vector<TLineObj>& lines, std::size_t line,
                 std::size_t at) {
    const std::string& t = lines[line].Text;
    if (text.size() - at < t.size())
        return false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        char c = text[at + i] == '\t' ? ' ' : text[at + i];
        if (c != t[i])
            return false;
    }
    at += t.size();
    if (line + 1 == lines.size())
        return at == text.size();
    for (const char* gap : {"", " ", "\t", "\r\n", "\r"}) {
        std::string_view g(gap);
        if (text.compare(at, g.size(), g) == 0 && Reassembles(text, lines, line + 1, at + g.size()))
            return true;
    }
    return false;
}

} // namespace

TEST(JstLineBreaking, RandomTextsBreakIntoLinesThatGiveTheTextBack) {
    std::mt19937 random(20261207);
    const std::string alphabet = "aaaaabbbbWW    \t\r\n.";
    for (int round = 0; round < 20000; ++round) {
        FakeMeasurer m;
        for (char c : alphabet)
            m.widths[static_cast<unsigned char>(c)] =
                std::uniform_int_distribution<int>(0, 12)(random);
        m.widths['W'] = std::uniform_int_distribution<int>(0, 70)(random);
        std::string text(std::uniform_int_distribution<std::size_t>(0, 40)(random), ' ');
        for (char& c : text)
            c = alphabet[std::uniform_int_distribution<std::size_t>(0,
                                                                    alphabet.size() - 1)(random)];
        const int width = std::uniform_int_distribution<int>(-3, 60)(random);

        m.limit = 2 * static_cast<long>(text.size() + 2) * (text.size() + 2);
        std::vector<TLineObj> lines;
        ASSERT_NO_THROW(lines = BreakLines(text, width, m)) << '"' << text << "\" in " << width;
        ASSERT_FALSE(lines.empty());
        ASSERT_TRUE(Reassembles(text, lines, 0, 0)) << '"' << text << "\" in " << width;
        for (const TLineObj& line : lines) {
            ASSERT_EQ(line.Text.find_first_of("\r\t"), std::string::npos);
            // Every line fits, unless it holds at most one character.
            ASSERT_TRUE(m.TextWidth(line.Text) <= width || line.Text.size() <= 1)
                << '"' << text << "\" in " << width << ": \"" << line.Text << '"';
            // A stretched line takes the pixels it lacks over the spaces inside it.
            if (line.GapCount > 0) {
                ASSERT_EQ(line.GapCount, std::count(line.Text.begin(), line.Text.end(), ' '));
                ASSERT_EQ(line.ExtraPixels, width - m.TextWidth(line.Text));
            }
        }
    }
}
