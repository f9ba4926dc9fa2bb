#pragma once
// Line breaking of a fully justified label: the caption is broken into lines that fit a width,
// and every line broken at a space records the pixels it lacks and the spaces that take them.
// Pure logic over a text-measuring port.
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Types.h"

namespace zq {

// Measures text in the font the label draws with.
class TLineMeasurer {
public:
    virtual ~TLineMeasurer() = default;
    // Width in pixels of `text` drawn on one line.
    virtual int TextWidth(std::string_view text) const = 0;
};

// One broken line.
class TLineObj : public TObject {
public:
    TLineObj() = default;
    TLineObj(int extraPixels, int gapCount, std::string text)
        : ExtraPixels(extraPixels), GapCount(gapCount), Text(std::move(text)) {}

    // Pixels between the line's natural width and the available width; 0 when not stretched.
    int ExtraPixels = 0;
    // Spaces inside the text that take the extra pixels; 0 when not stretched.
    int GapCount = 0;
    std::string Text;

    // Pixels added to space `gapIndex`, counted from the rightmost space (0) leftwards: the
    // extra pixels spread evenly, the rightmost space always getting the truncated share. When
    // the pixels do not divide evenly one pixel is left over (10 over 4 gaps: 2, 2, 3, 2).
    int GapExtra(int gapIndex) const;
};

// Breaks `text` into lines no wider than `width`, top to bottom; always at least one line.
// A space or tab (tabs become spaces) where a line overflows ends it and is dropped; a word wider
// than the width is cut before the character that overflows, which starts the next line; a
// carriage return ends a line and is dropped with a line feed right after it. Lines cut inside a
// word or ended by a carriage return, and the last line, are not stretched. A line always holds
// at least one character unless a carriage return ends it or the text is used up, so the
// breaking ends for any width (0 or less gives one character per line).
std::vector<TLineObj> BreakLines(std::string_view text, int width, const TLineMeasurer& measure);

} // namespace zq
