#include "controls/JustifiedLabelLines.h"

#include <algorithm>
#include <cstdint>

namespace zq {

int TLineObj::GapExtra(int gapIndex) const {
    if (GapCount <= 0)
        return 0;
    // base = E / G truncated; the k-th space gets one more when trunc(k * f) > trunc((k - 1) * f)
    // with f = E / G - base = r / G, computed exactly as trunc(k * r / G).
    const int base = ExtraPixels / GapCount;
    if (gapIndex <= 0)
        return base;
    const std::int64_t rest = ExtraPixels % GapCount;
    const std::int64_t k = gapIndex;
    return k * rest / GapCount > (k - 1) * rest / GapCount ? base + 1 : base;
}

std::vector<TLineObj> BreakLines(std::string_view source, int width, const TLineMeasurer& measure) {
    // Tabs are spaces, for measuring as for drawing.
    std::string text(source);
    std::replace(text.begin(), text.end(), '\t', ' ');
    const std::size_t length = text.size();
    auto piece = [&](std::size_t from, std::size_t to) {
        to = std::min(to, length);
        from = std::min(from, to);
        return std::string_view(text).substr(from, to - from);
    };
    std::vector<TLineObj> lines;
    auto add = [&](std::size_t from, std::size_t to, int extra, int gaps) {
        lines.emplace_back(extra, gaps, std::string(piece(from, to)));
    };

    std::size_t start = 0;     // first character of the current line
    std::size_t position = 0;  // next character to look at
    std::size_t lastSpace = 0; // meaningful only when greater than start
    int gaps = -1;             // spaces of the current line, less the one it may break at
    while (position < length) {
        const char c = text[position];
        if (c == ' ') {
            ++gaps;
            lastSpace = position;
            ++position;
        } else if (c == '\r') {
            add(start, position, 0, 0);
            start = position + 1;
            if (start < length && text[start] == '\n')
                ++start;
            position = start;
            gaps = -1;
        } else {
            ++position;
        }
        if (position >= length)
            break; // the rest is the last line
        // The line so far plus the next character: a word moves on when it does not fit with
        // the space after it.
        if (measure.TextWidth(piece(start, position + 1)) <= width)
            continue;
        if (lastSpace > start) {
            std::string_view head = piece(start, lastSpace);
            add(start, lastSpace, width - measure.TextWidth(head), gaps);
            start = lastSpace + 1;
            position = start;
            gaps = -1;
        } else if (position > start) {
            // No space to break at: cut before the character that overflows.
            add(start, position, 0, 0);
            start = position;
            gaps = -1;
        }
        // A single character wider than the width stays; the line grows by one more first.
    }
    add(start, length, 0, 0);
    return lines;
}

} // namespace zq
