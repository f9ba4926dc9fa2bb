// Links: zq_tray_logic zq_toolkit_logic
// The text icon's layout for any text, offsets and line distance, over a measurer whose
// character width and line height come from the input (extreme ones included). The pieces
// partition the text, each line is centred with saturation, and reused vectors give the same.
// The digits of the same text drawn for an icon size (0..127): one box per digit, left to right
// and apart, a whole digit wherever the text fits the icon at all, ink only inside the boxes.
#include "FuzzInput.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "tray/TextIconLayout.h"

using namespace zq;
using zq::fuzz::TFuzzReader;

namespace {

int Saturated(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

class TFuzzMeasurer : public TTextMeasurer {
public:
    int CharWidth = 6;
    int Height = 13;
    TTextExtent Extent(std::string_view text) const override {
        return {Saturated(std::int64_t{CharWidth} * static_cast<std::int64_t>(text.size())),
                Height};
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzReader in(data, size);
    const auto offsetX = in.Take<std::int32_t>();
    const auto offsetY = in.Take<std::int32_t>();
    const auto lineDistance = in.Take<std::int32_t>();
    TFuzzMeasurer measure;
    measure.CharWidth = in.Take<std::int32_t>();
    measure.Height = in.Take<std::int32_t>();
    const int iconSize = in.Take<std::uint8_t>() & 0x7F;
    const std::string_view text = in.Rest();

    std::vector<std::string_view> lines;
    std::vector<TTextLinePlacement> out;
    LayoutText(text, measure, offsetX, offsetY, lineDistance, lines, out);

    const std::size_t breaks = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r'));
    ZQ_FUZZ_CHECK(out.size() == breaks + 1);
    std::string joined;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const TTextLinePlacement& line = out[i];
        ZQ_FUZZ_CHECK(line.Text.empty() ||
                      (line.Text.data() >= text.data() &&
                       line.Text.data() + line.Text.size() <= text.data() + text.size()));
        joined.append(line.Text);
        if (i + 1 < out.size())
            joined.push_back('\r');
        const std::int64_t width = measure.Extent(line.Text).Width;
        ZQ_FUZZ_CHECK(line.X == Saturated((15 - width) / 2 + offsetX));
        if (i > 0) {
            const std::int64_t step = std::int64_t{measure.Height} + lineDistance;
            ZQ_FUZZ_CHECK(step >= 0 ? line.Y >= out[i - 1].Y : line.Y <= out[i - 1].Y);
        }
    }
    ZQ_FUZZ_CHECK(joined == text);
    if (breaks == 0)
        ZQ_FUZZ_CHECK(out[0].Y == Saturated((15 - std::int64_t{measure.Height}) / 2 + offsetY));

    // Reused vectors give the same placements.
    std::vector<TTextLinePlacement> first = out;
    LayoutText(text, measure, offsetX, offsetY, lineDistance, lines, out);
    ZQ_FUZZ_CHECK(out.size() == first.size());
    for (std::size_t i = 0; i < out.size(); ++i)
        ZQ_FUZZ_CHECK(out[i].Text.data() == first[i].Text.data() &&
                      out[i].Text.size() == first[i].Text.size() && out[i].X == first[i].X &&
                      out[i].Y == first[i].Y);

    std::vector<TDigitBox> boxes;
    std::vector<std::uint8_t> ink;
    DrawDigits(text, iconSize, boxes, ink);
    const auto digits =
        std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    ZQ_FUZZ_CHECK(ink.size() == static_cast<std::size_t>(iconSize * iconSize));
    ZQ_FUZZ_CHECK(static_cast<std::ptrdiff_t>(boxes.size()) == (iconSize > 0 ? digits : 0));
    std::vector<bool> inBox(ink.size(), false);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const TDigitBox& b = boxes[i];
        ZQ_FUZZ_CHECK(b.Width >= 1 && b.Height >= 1 && b.Stroke >= 1);
        if (i > 0)
            ZQ_FUZZ_CHECK(b.Left > boxes[i - 1].Left + boxes[i - 1].Width);
        const bool inside = b.Left >= 0 && b.Left + std::int64_t{b.Width} <= iconSize &&
                            b.Top >= 0 && b.Top + b.Height <= iconSize;
        ZQ_FUZZ_CHECK(inside || boxes.front().Left < 0);
        for (int y = std::max(b.Top, 0); y < std::min(b.Top + b.Height, iconSize); ++y)
            for (std::int64_t x = std::max(b.Left, 0);
                 x < std::min<std::int64_t>(std::int64_t{b.Left} + b.Width, iconSize); ++x)
                inBox[static_cast<std::size_t>(y * iconSize + x)] = true;
    }
    for (std::size_t i = 0; i < ink.size(); ++i)
        ZQ_FUZZ_CHECK(ink[i] == 0 || inBox[i]);
    return 0;
}
