#pragma once
// The gradient bar's arithmetic: colour blending, the gradient's line colours, the filled and
// unfilled parts for a position, the slices of a divided bar, the text and its placement. No
// drawing here.
#include <cstdint>
#include <span>
#include <string>

#include "toolkit/Types.h"

namespace zq {

enum TProgressDirection { pdLeftToRight, pdRightToLeft, pdBottomToTop, pdTopToBottom };
enum TBarColorStyle { cs1Color, cs2Colors, cs3Colors };

// Multiplies with a 64-bit intermediate and divides rounding to nearest, halves away from zero;
// a zero divisor gives -1, as the system's MulDiv does.
int MulDivRound(int number, int numerator, int denominator);

// Colour `index` (1..count) of a `count`-step blend between two plain RGB colours. Raises
// ERangeError "ColorIndex can't be less than 1 or greater than <count>" for another index.
TColor BlendColor(TColor start, TColor end, int count, int index);

inline bool IsHorizontal(TProgressDirection d) {
    return d == pdLeftToRight || d == pdRightToLeft;
}

struct GradientParams {
    TProgressDirection Direction = pdLeftToRight;
    TBarColorStyle Style = cs3Colors;
    TColor Color1 = 0; // plain RGB colours (system colours already resolved)
    TColor Color2 = 0;
    TColor Color3 = 0;
    int Width = 0;
    int Height = 0;
};

// Number of lines in the gradient: columns for horizontal bars, rows for vertical ones.
int GradientLineCount(const GradientParams& params);
// Colour of line `line` (0-based column or row) of a two- or three-colour gradient.
TColor GradientLineColor(const GradientParams& params, int line);

struct BarFill {
    int Span = 0;
    int Filled = 0;
    TRect Inner;    // inside the frame (right and bottom exclusive)
    TRect Unfilled; // painted in the background colour
};

BarFill ComputeBarFill(TProgressDirection direction, bool showBorder, int width, int height,
                       int min, int max, int position);

// A bar divided across its direction into slices for a list of positions (one per processor):
// a horizontal bar into rows, top to bottom, a vertical one into columns, left to right, in the
// list's order. Each entry has a slice of its own, or, with more entries than pixels across the
// inner rectangle, neighbouring entries share one, which shows the largest of their positions.
// Slices are one pixel apart where each keeps at least one pixel.
struct BarSlice {
    BarFill Fill; // the slice's band (Inner) filled for its position
    TRect Gap;    // the line of background after it; empty after the last or without room
};

// How many slices `entries` positions get inside `inner`: 0 without entries or room.
int BarSliceCount(TProgressDirection direction, const TRect& inner, std::size_t entries);
// The slice (of `count`, 1 to `entries`) that shows entry `entry` of `entries`.
int BarSliceOf(int count, std::size_t entries, std::size_t entry);
// Slice `slice` (0 to BarSliceCount - 1) of `inner` for the positions.
BarSlice ComputeBarSlice(TProgressDirection direction, const TRect& inner, int min, int max,
                         std::span<const int> positions, int slice);

// Prefix + number + suffix; with `percentage` the number is position / max * 100 rounded (a max
// of 0 shows 0).
std::string BarText(bool percentage, int position, int max, const std::string& prefix,
                    const std::string& suffix);

// Top-left corner of text of the given extent centred in the control.
TPoint CentredTextOrigin(int width, int height, int textWidth, int textHeight);

} // namespace zq
