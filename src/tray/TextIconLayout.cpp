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
        out.push_back(
            {text, Centre(span, size.Width, offsetX), Centre(span, size.Height, offsetY)});
        return;
    }
    SplitLines(text, lines);
    const std::int64_t lineHeight =
        std::int64_t{measure.Extent(text.substr(firstBreak)).Height} + lineDistance;
    const auto count = static_cast<std::int64_t>(lines.size());
    const std::int64_t top = (span - count * lineHeight) / 2 + offsetY;
    for (std::int64_t i = 0; i < count; ++i) {
        const std::string_view line = lines[static_cast<std::size_t>(i)];
        out.push_back({line, Centre(span, measure.Extent(line).Width, offsetX),
                       Saturate(i * lineHeight + top)});
    }
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
