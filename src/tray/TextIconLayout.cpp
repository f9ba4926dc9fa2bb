#include "tray/TextIconLayout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace zq {

namespace {
constexpr char LineBreak = '\r';

// Positions are computed wide and saturated, so extreme offsets cannot overflow.
int Saturate(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// Centred in a span of the icon's size less one; integer division truncates toward zero.
int Centre(std::int64_t span, int size, int offset) {
    return Saturate((span - size) / 2 + offset);
}
} // namespace

void SplitLines(std::string_view text, std::vector<std::string_view>& lines) {
    lines.clear();
    std::string_view rest = text;
    for (auto pos = rest.find(LineBreak); pos != std::string_view::npos;
         pos = rest.find(LineBreak)) {
        lines.push_back(rest.substr(0, pos));
        rest.remove_prefix(pos + 1);
    }
    lines.push_back(rest);
}

void LayoutText(std::string_view text, const TTextMeasurer& measure, int offsetX, int offsetY,
                int lineDistance, std::vector<std::string_view>& lines,
                std::vector<TTextLinePlacement>& out, int iconSize) {
    const std::int64_t span = std::int64_t{iconSize} - 1;
    out.clear();
    const auto firstBreak = text.find(LineBreak);
    if (firstBreak == std::string_view::npos) {
        lines.clear();
        const TTextExtent size = measure.Extent(text);
        out.push_back({text, Centre(span, size.Width, offsetX), Centre(span, size.Height, offsetY),
                       size.Width});
        return;
    }
    SplitLines(text, lines);
    const std::int64_t lineHeight =
        std::int64_t{measure.Extent(text.substr(firstBreak)).Height} + lineDistance;
    const auto count = static_cast<std::int64_t>(lines.size());
    const std::int64_t top = (span - count * lineHeight) / 2 + offsetY;
    for (std::int64_t i = 0; i < count; ++i) {
        const std::string_view line = lines[static_cast<std::size_t>(i)];
        const int width = measure.Extent(line).Width;
        out.push_back({line, Centre(span, width, offsetX), Saturate(i * lineHeight + top), width});
    }
}

bool LinesFitAcross(const std::vector<TTextLinePlacement>& lines, int size) {
    return std::all_of(lines.begin(), lines.end(), [size](const TTextLinePlacement& line) {
        return line.X >= 0 && std::int64_t{line.X} + line.Width <= size;
    });
}

TTextIconColors TextIconColors(const TTaskbarTheme& theme, TColor text, TColor background) {
    if (theme.HighContrast)
        return {TTextIconLook::Opaque, clWindowText, clWindow};
    if (!theme.UsesLightTheme)
        return {TTextIconLook::Classic, text, background};
    return {TTextIconLook::Transparent, *theme.UsesLightTheme != 0 ? clBlack : clWhite, clNone};
}

namespace {

// Each digit's strokes as points "uv" on a grid 4 wide (2 for the "1") and 8 high, joined in
// order; '|' lifts the pen. Corners are cut by one step, which reads as round at these sizes.
constexpr const char* kDigitStrokes[10] = {
    "103041473818070110",               // 0
    "022028",                           // 1
    "01103041430848",                   // 2
    "01103041433414|344547381807",      // 3
    "000545|3038",                      // 4
    "4000043445473808",                 // 5
    "30100107183847453404",             // 6
    "00404118",                         // 7
    "14030110304143341405071838474534", // 8
    "44140301103041473818",             // 9
};
constexpr int kGridHeight = 8;
constexpr int kMaxSegments = 16;

int GridWidth(char digit) {
    return digit == '1' ? 2 : 4;
}

// A face: the width of a digit, of a "1" and the stroke, which is also the gap between digits.
struct TFace {
    int Width, Narrow, Stroke;
};

TFace FaceOf(int width) {
    const int stroke = std::max(1, (width + 2) / 4);
    return {width, stroke + (width - stroke) / 2, stroke};
}

std::int64_t TextWidth(std::string_view text, const TFace& face) {
    std::int64_t width = 0, digits = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            width += c == '1' ? face.Narrow : face.Width;
            ++digits;
        }
    }
    return digits > 0 ? width + (digits - 1) * face.Stroke : 0;
}

// Positions in eighths of a pixel: a pixel is sampled at 4 by 4 points, (1, 3, 5, 7) / 8 across.
// In an icon of at most kMaxDigitIconSize pixels they stay far inside int; only the squared
// distance across a segment takes 64 bits.
constexpr int kSub = 8;
constexpr int kMaxDigitIconSize = 256;

// A stroke's centre on whole pixels: between two for an even stroke, on one for an odd one.
int Snap(int position, int stroke) {
    return stroke % 2 != 0 ? (position & -kSub) + kSub / 2 : (position + kSub / 2) & -kSub;
}

struct TPoint {
    int X, Y;
};

int Square(int x, int y) {
    return x * x + y * y;
}

// Whether p lies within r of the segment a-b (round ends).
bool NearSegment(TPoint p, TPoint a, TPoint b, int r) {
    const int dx = b.X - a.X, dy = b.Y - a.Y, px = p.X - a.X, py = p.Y - a.Y;
    const int along = px * dx + py * dy, length2 = Square(dx, dy);
    if (along <= 0 || length2 == 0)
        return Square(px, py) <= r * r;
    if (along >= length2)
        return Square(p.X - b.X, p.Y - b.Y) <= r * r;
    const int across = px * dy - py * dx;
    return std::int64_t{across} * across <= std::int64_t{r * r} * length2;
}

void DrawDigit(const TDigitBox& box, int size, std::uint8_t* coverage) {
    if (box.Left >= size || box.Left <= -box.Width)
        return; // cut off whole
    const int x0 = std::max(box.Left, 0), x1 = std::min(box.Left + box.Width, size);
    const int y1 = std::min(box.Top + box.Height, size);
    TPoint from[kMaxSegments], to[kMaxSegments], last{};
    int count = 0;
    const int grid = GridWidth(box.Digit);
    bool penDown = false;
    for (const char* p = kDigitStrokes[box.Digit - '0']; *p != '\0';) {
        if (*p == '|') {
            penDown = false;
            ++p;
            continue;
        }
        const int u = p[0] - '0', v = p[1] - '0';
        const TPoint point{Snap(box.Left * kSub + box.Stroke * kSub / 2 +
                                    u * (box.Width - box.Stroke) * kSub / grid,
                                box.Stroke),
                           Snap(box.Top * kSub + box.Stroke * kSub / 2 +
                                    v * (box.Height - box.Stroke) * kSub / kGridHeight,
                                box.Stroke)};
        p += 2;
        if (penDown && count < kMaxSegments) {
            from[count] = last;
            to[count++] = point;
        }
        last = point;
        penDown = true;
    }
    // A pixel's ink is the share of its 16 samples within half a stroke of a segment.
    const int radius = box.Stroke * kSub / 2;
    for (int y = box.Top; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            int hits = 0;
            for (int sample = 0; sample < 16; ++sample) {
                const TPoint at{x * kSub + sample % 4 * 2 + 1, y * kSub + sample / 4 * 2 + 1};
                for (int i = 0; i < count; ++i) {
                    if (NearSegment(at, from[i], to[i], radius)) {
                        ++hits;
                        break;
                    }
                }
            }
            std::uint8_t& cell = coverage[y * size + x];
            cell = std::max(cell, static_cast<std::uint8_t>(hits * 255 / 16));
        }
    }
}

} // namespace

void LayoutDigits(std::string_view text, int size, std::vector<TDigitBox>& boxes) {
    boxes.clear();
    if (size <= 0 || size > kMaxDigitIconSize)
        return;
    // The widest face in which two digits fill the icon, narrower ones down to 3 pixels where
    // the text needs them.
    constexpr int kNarrowest = 3;
    int width = std::max(kNarrowest, size / 2);
    while (width > kNarrowest && 2 * width + FaceOf(width).Stroke > size)
        --width;
    while (width > kNarrowest && TextWidth(text, FaceOf(width)) > size)
        --width;
    const TFace face = FaceOf(width);
    const int margin = size / 8;
    const int height = std::max(1, size - 2 * margin);
    std::int64_t left = (size - TextWidth(text, face)) >> 1; // rounded down: a cut starts left
    for (char c : text) {
        if (c < '0' || c > '9')
            continue;
        const int digitWidth = c == '1' ? face.Narrow : face.Width;
        boxes.push_back({c, Saturate(left), margin, digitWidth, height, face.Stroke});
        left += digitWidth + face.Stroke;
    }
}

void DrawDigits(std::string_view text, int size, std::vector<TDigitBox>& boxes,
                std::vector<std::uint8_t>& coverage) {
    LayoutDigits(text, size, boxes);
    coverage.assign(size > 0 ? static_cast<std::size_t>(size) * size : 0, 0);
    for (const TDigitBox& box : boxes)
        DrawDigit(box, size, coverage.data());
}

void TOffsetOptions::SetOffsetX(int value) {
    if (value != FOffsetX) {
        FOffsetX = value;
        Changed();
    }
}

void TOffsetOptions::SetOffsetY(int value) {
    if (value != FOffsetY) {
        FOffsetY = value;
        Changed();
    }
}

void TOffsetOptions::SetLineDistance(int value) {
    if (value != FLineDistance) {
        FLineDistance = value;
        Changed();
    }
}

void TOffsetOptions::Assign(const TOffsetOptions& source) {
    FOffsetX = source.FOffsetX;
    FOffsetY = source.FOffsetY;
    FLineDistance = source.FLineDistance;
}

void TOffsetOptions::Changed() {
    if (OnChange) {
        OnChange(this);
    }
}

} // namespace zq
