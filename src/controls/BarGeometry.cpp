#include "controls/BarGeometry.h"

#include <algorithm>
#include <cstdlib>

#include "toolkit/Exceptions.h"
#include "toolkit/Rounding.h"

namespace zq {

int MulDivRound(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    std::int64_t absProduct = product < 0 ? -product : product;
    std::int64_t absDen = denominator < 0 ? -static_cast<std::int64_t>(denominator) : denominator;
    std::int64_t q = (absProduct + absDen / 2) / absDen;
    bool negative = (product < 0) != (denominator < 0);
    std::int64_t r = negative ? -q : q;
    if (r > INT32_MAX || r < INT32_MIN)
        return -1;
    return static_cast<int>(r);
}

TColor BlendColor(TColor start, TColor end, int count, int index) {
    if (index < 1 || index > count)
        throw ERangeError("ColorIndex can't be less than 1 or greater than " +
                          std::to_string(count));
    auto channel = [&](int shift) {
        int s = static_cast<int>((start >> shift) & 0xFF);
        int e = static_cast<int>((end >> shift) & 0xFF);
        if (count == 1)
            return s;
        return std::clamp(s + MulDivRound(index - 1, e - s, count - 1), 0, 255);
    };
    return static_cast<TColor>(channel(0) | (channel(8) << 8) | (channel(16) << 16));
}

int GradientLineCount(const GradientParams& params) {
    return IsHorizontal(params.Direction) ? params.Width : params.Height;
}

TColor GradientLineColor(const GradientParams& params, int line) {
    int total = GradientLineCount(params);
    int n = params.Style == cs3Colors ? total / 2 : total;
    bool fromStart = params.Direction == pdLeftToRight || params.Direction == pdTopToBottom;
    int i = line + 1;
    if (i <= n) {
        TColor start =
            fromStart ? params.Color1 : (params.Style == cs2Colors ? params.Color2 : params.Color3);
        TColor end =
            fromStart ? params.Color2 : (params.Style == cs2Colors ? params.Color1 : params.Color2);
        return BlendColor(start, end, n, i);
    }
    TColor end = fromStart ? params.Color3 : params.Color1;
    return BlendColor(params.Color2, end, total - n, i - n);
}

namespace {

// The fill of an inner rectangle: from the direction's start edge as far as the position goes.
BarFill FillOf(TProgressDirection direction, const TRect& in, int min, int max, int position) {
    BarFill f;
    f.Span = IsHorizontal(direction) ? in.Right - in.Left : in.Bottom - in.Top;
    f.Inner = in;
    if (min < position && max != min) {
        long double share = static_cast<long double>(static_cast<std::int64_t>(position) - min) /
                            std::llabs(static_cast<long long>(max) - min);
        f.Filled = static_cast<int>(RoundHalfEven(share * f.Span));
    }
    // A range changed under the position may ask for more than the span or less than nothing.
    f.Filled = std::clamp(f.Filled, 0, std::max(f.Span, 0));
    int remaining = std::max(f.Span, 0) - f.Filled;
    switch (direction) {
    case pdLeftToRight:
        f.Unfilled = {in.Right - remaining, in.Top, in.Right, in.Bottom};
        break;
    case pdRightToLeft:
        f.Unfilled = {in.Left, in.Top, in.Left + remaining, in.Bottom};
        break;
    case pdTopToBottom:
        f.Unfilled = {in.Left, in.Bottom - remaining, in.Right, in.Bottom};
        break;
    case pdBottomToTop:
        f.Unfilled = {in.Left, in.Top, in.Right, in.Top + remaining};
        break;
    }
    return f;
}

int Across(TProgressDirection direction, const TRect& in) {
    return IsHorizontal(direction) ? in.Bottom - in.Top : in.Right - in.Left;
}

} // namespace

BarFill ComputeBarFill(TProgressDirection direction, bool showBorder, int width, int height,
                       int min, int max, int position) {
    int border = showBorder ? 1 : 0;
    return FillOf(direction, {border, border, width - border, height - border}, min, max, position);
}

int BarSliceCount(TProgressDirection direction, const TRect& inner, std::size_t entries) {
    return static_cast<int>(std::min<std::size_t>(
        entries, static_cast<std::size_t>(std::max(Across(direction, inner), 0))));
}

int BarSliceOf(int count, std::size_t entries, std::size_t entry) {
    // Slice s holds entries [s * entries / count, (s + 1) * entries / count).
    return static_cast<int>(((entry + 1) * static_cast<std::size_t>(count) - 1) / entries);
}

BarSlice ComputeBarSlice(TProgressDirection direction, const TRect& in, int min, int max,
                         std::span<const int> positions, int slice) {
    const std::int64_t count = BarSliceCount(direction, in, positions.size());
    const std::int64_t entries = static_cast<std::int64_t>(positions.size());
    const int across = Across(direction, in);
    const int gap = 2 * count - 1 <= across ? 1 : 0;
    const std::int64_t pixels = across - gap * (count - 1);
    const int from = static_cast<int>(slice * pixels / count + slice * gap);
    const int to = static_cast<int>((slice + 1) * pixels / count + slice * gap);
    // Entries [first, last) share the slice; there is at least one, as count <= entries.
    const auto first = positions.begin() + slice * entries / count;
    const auto last = positions.begin() + (slice + 1) * entries / count;
    const bool rows = IsHorizontal(direction);
    const TRect band = rows ? TRect{in.Left, in.Top + from, in.Right, in.Top + to}
                            : TRect{in.Left + from, in.Top, in.Left + to, in.Bottom};
    BarSlice s{FillOf(direction, band, min, max, *std::max_element(first, last)), {}};
    if (gap != 0 && slice + 1 < count)
        s.Gap = rows ? TRect{in.Left, in.Top + to, in.Right, in.Top + to + 1}
                     : TRect{in.Left + to, in.Top, in.Left + to + 1, in.Bottom};
    return s;
}

std::string BarText(bool percentage, int position, int max, const std::string& prefix,
                    const std::string& suffix) {
    std::int64_t number = position;
    if (percentage)
        number = max == 0 ? 0 : RoundHalfEven(static_cast<long double>(position) / max * 100.0L);
    return prefix + std::to_string(number) + suffix;
}

TPoint CentredTextOrigin(int width, int height, int textWidth, int textHeight) {
    return {width / 2 - textWidth / 2, height / 2 - textHeight / 2};
}

} // namespace zq
