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

BarFill ComputeBarFill(TProgressDirection direction, bool showBorder, int width, int height,
                       int min, int max, int position) {
    BarFill f;
    int border = showBorder ? 1 : 0;
    f.Span = (IsHorizontal(direction) ? width : height) - 2 * border;
    f.Inner = {border, border, width - border, height - border};
    if (min < position && max != min) {
        long double share = static_cast<long double>(static_cast<std::int64_t>(position) - min) /
                            std::llabs(static_cast<long long>(max) - min);
        f.Filled = static_cast<int>(RoundHalfEven(share * f.Span));
    }
    // A range changed under the position may ask for more than the span or less than nothing.
    f.Filled = std::clamp(f.Filled, 0, std::max(f.Span, 0));
    int remaining = std::max(f.Span, 0) - f.Filled;
    const TRect& in = f.Inner;
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
