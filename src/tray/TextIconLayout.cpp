#include "tray/TextIconLayout.h"

#include <algorithm>
#include <cmath>
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

// A stroke's centre on whole pixels: between two for an even stroke, on one for an odd one.
float Snap(float position, int stroke) {
    return stroke % 2 != 0 ? std::floor(position) + 0.5f : std::floor(position + 0.5f);
}

struct TPointF {
    float X, Y;
};

float DistanceToSegment(TPointF p, TPointF a, TPointF b) {
    const float dx = b.X - a.X, dy = b.Y - a.Y;
    const float length2 = dx * dx + dy * dy;
    float t = length2 > 0 ? ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    const float ex = a.X + t * dx - p.X, ey = a.Y + t * dy - p.Y;
    return std::sqrt(ex * ex + ey * ey);
}

void DrawDigit(const TDigitBox& box, int size, std::uint8_t* coverage) {
    const int x0 = std::max(box.Left, 0), y0 = std::max(box.Top, 0);
    const int x1 =
        static_cast<int>(std::min<std::int64_t>(std::int64_t{box.Left} + box.Width, size));
    const int y1 =
        static_cast<int>(std::min<std::int64_t>(std::int64_t{box.Top} + box.Height, size));
    if (x0 >= x1 || y0 >= y1)
        return; // cut off whole
    TPointF from[kMaxSegments], to[kMaxSegments];
    int count = 0;
    const float half = static_cast<float>(box.Stroke) / 2;
    const float stepX = static_cast<float>(box.Width - box.Stroke) / GridWidth(box.Digit);
    const float stepY = static_cast<float>(box.Height - box.Stroke) / kGridHeight;
    bool penDown = false;
    TPointF last{};
    for (const char* p = kDigitStrokes[box.Digit - '0']; *p != '\0';) {
        if (*p == '|') {
            penDown = false;
            ++p;
            continue;
        }
        const TPointF point{Snap(box.Left + half + (p[0] - '0') * stepX, box.Stroke),
                            Snap(box.Top + half + (p[1] - '0') * stepY, box.Stroke)};
        p += 2;
        if (penDown && count < kMaxSegments) {
            from[count] = last;
            to[count++] = point;
        }
        last = point;
        penDown = true;
    }
    // A pixel's ink falls off linearly across the stroke's edge, from its centre's distance.
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const TPointF centre{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            float distance = std::numeric_limits<float>::max();
            for (int i = 0; i < count; ++i)
                distance = std::min(distance, DistanceToSegment(centre, from[i], to[i]));
            const float ink = std::clamp(half + 0.5f - distance, 0.0f, 1.0f);
            std::uint8_t& cell = coverage[static_cast<std::size_t>(y) * size + x];
            cell = std::max(cell, static_cast<std::uint8_t>(ink * 255 + 0.5f));
        }
    }
}

} // namespace

void LayoutDigits(std::string_view text, int size, std::vector<TDigitBox>& boxes) {
    boxes.clear();
    if (size <= 0)
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
    std::int64_t left = (size - TextWidth(text, face)) / 2;
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
