#include "tray/TextIconLayout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace zq {

namespace {
constexpr char LineBreak = '\r';
// Lines are centred in a 15-pixel span; integer division truncates toward zero.
constexpr std::int64_t CentreSpan = 15;

// Positions are computed wide and saturated, so extreme offsets cannot overflow.
int Saturate(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

int Centre(int size, int offset) {
    return Saturate((CentreSpan - size) / 2 + offset);
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
                std::vector<TTextLinePlacement>& out) {
    out.clear();
    const auto firstBreak = text.find(LineBreak);
    if (firstBreak == std::string_view::npos) {
        lines.clear();
        const TTextExtent size = measure.Extent(text);
        out.push_back({text, Centre(size.Width, offsetX), Centre(size.Height, offsetY)});
        return;
    }
    SplitLines(text, lines);
    const std::int64_t lineHeight =
        std::int64_t{measure.Extent(text.substr(firstBreak)).Height} + lineDistance;
    const auto count = static_cast<std::int64_t>(lines.size());
    const std::int64_t top = (CentreSpan - count * lineHeight) / 2 + offsetY;
    for (std::int64_t i = 0; i < count; ++i) {
        const std::string_view line = lines[static_cast<std::size_t>(i)];
        out.push_back(
            {line, Centre(measure.Extent(line).Width, offsetX), Saturate(i * lineHeight + top)});
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
