#include "chart/ChartGeometry.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace zq {

TRect ChartPlotRect(int width, int height) {
    constexpr int inset = ChartBevelWidth + ChartMargin;
    return {inset, inset, std::max(inset, width - inset), std::max(inset, height - inset)};
}

bool TAxisScale::Valid() const {
    return std::isfinite(Min) && std::isfinite(Max) && std::isfinite(Start) && std::isfinite(End) &&
           Max > Min;
}

double TAxisScale::Position(double value) const {
    if (!Valid())
        return Start;
    return Start + (value - Min) * ((End - Start) / (Max - Min));
}

double TAxisScale::PixelsPerUnit() const {
    if (!Valid())
        return 0;
    double ppu = std::abs(End - Start) / (Max - Min);
    return std::isfinite(ppu) ? ppu : 0;
}

namespace {
// 10 to the power `exponent`, exact up to 10^22 and correctly rounded down to 10^-22 (the
// library's pow would pull in some 3 KB for this one use).
double PowerOfTen(int exponent) {
    double power = 1;
    for (int i = exponent < 0 ? -exponent : exponent; i > 0; --i)
        power *= 10;
    return exponent < 0 ? 1 / power : power;
}
} // namespace

TGridLines AxisGridLines(const TAxisScale& scale, double desiredStep, int minSpacing) {
    double ppu = scale.PixelsPerUnit();
    if (ppu <= 0)
        return {};
    double minStep = std::max(minSpacing, 1) / ppu;
    if (!std::isfinite(minStep) || minStep <= 0)
        return {};
    double base = desiredStep > 0 && std::isfinite(desiredStep)
                      ? desiredStep
                      : PowerOfTen(static_cast<int>(std::floor(std::log10(minStep))));
    // Tolerates the rounding of a spacing that comes out at exactly minSpacing.
    double needed = minStep * (1 - 1e-9);
    double step = 0;
    for (double decade = 1; step < needed; decade *= 10) {
        for (double factor : {1.0, 2.0, 5.0}) {
            step = base * factor * decade;
            if (!std::isfinite(step) || step <= 0)
                return {};
            if (step >= needed)
                break;
        }
    }
    // A line that falls on an end of the range stays, whichever way its division rounds.
    double first = std::ceil(scale.Min / step - 1e-6);
    double last = std::floor(scale.Max / step + 1e-6);
    constexpr double exact = 9007199254740992.0; // 2^53: multiples beyond it are not whole
    if (!(std::abs(first) < exact && std::abs(last) < exact) || last < first)
        return {};
    TGridLines lines;
    lines.FirstMultiple = static_cast<std::int64_t>(first);
    lines.Step = step;
    lines.Count = static_cast<int>(std::min(last - first + 1, static_cast<double>(INT_MAX)));
    return lines;
}

namespace {
enum : unsigned { kLeftOf = 1, kRightOf = 2, kAbove = 4, kBelow = 8 };

unsigned Outcode(const TPointF& p, const TBoxF& box) {
    unsigned code = 0;
    if (p.X < box.Left)
        code |= kLeftOf;
    else if (p.X > box.Right)
        code |= kRightOf;
    if (p.Y < box.Top)
        code |= kAbove;
    else if (p.Y > box.Bottom)
        code |= kBelow;
    return code;
}

bool Finite(const TPointF& p) {
    return std::isfinite(p.X) && std::isfinite(p.Y);
}
} // namespace

bool ClipSegment(TPointF& a, TPointF& b, const TBoxF& box) {
    // Cohen-Sutherland: each round moves an end that lies outside onto the edge it lies beyond,
    // interpolating along the segment, so far-away ends lose no precision near the box.
    for (int round = 0; round < 8; ++round) {
        if (!Finite(a) || !Finite(b))
            return false;
        unsigned codeA = Outcode(a, box), codeB = Outcode(b, box);
        if ((codeA | codeB) == 0)
            return true;
        if ((codeA & codeB) != 0)
            return false;
        unsigned code = codeA != 0 ? codeA : codeB;
        TPointF moved;
        if (code & kAbove)
            moved = {a.X + (b.X - a.X) * ((box.Top - a.Y) / (b.Y - a.Y)), box.Top};
        else if (code & kBelow)
            moved = {a.X + (b.X - a.X) * ((box.Bottom - a.Y) / (b.Y - a.Y)), box.Bottom};
        else if (code & kLeftOf)
            moved = {box.Left, a.Y + (b.Y - a.Y) * ((box.Left - a.X) / (b.X - a.X))};
        else
            moved = {box.Right, a.Y + (b.Y - a.Y) * ((box.Right - a.X) / (b.X - a.X))};
        (codeA != 0 ? a : b) = moved;
    }
    // Rounding at a corner can leave an end a hair outside: it belongs on the corner.
    if (!Finite(a) || !Finite(b))
        return false;
    for (TPointF* p : {&a, &b}) {
        p->X = std::clamp(p->X, box.Left, box.Right);
        p->Y = std::clamp(p->Y, box.Top, box.Bottom);
    }
    return true;
}

} // namespace zq
