// Links: zq_controls_logic zq_toolkit_logic
// The justified label's line breaking for any text and width, over a measurer whose character
// widths come from the input. Breaking ends, the lines put back together with what each break
// consumed give the text again, lines fit unless they hold one character, and a stretched
// line's extra pixels are what it lacks, spread over its spaces to at most that many pixels.
#include "FuzzInput.h"

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "controls/JustifiedLabelLines.h"

using namespace zq;
using zq::fuzz::TFuzzReader;

namespace {

class TFuzzMeasurer : public TLineMeasurer {
public:
    std::array<int, 256> Widths{};
    int TextWidth(std::string_view text) const override {
        long width = 0;
        for (unsigned char c : text)
            width += Widths[c];
        return static_cast<int>(std::min(width, 1L << 30));
    }
};

// Where the next line may start after a line that ended at `at`: a cut takes nothing, a break
// a space or tab, a carriage return itself and a line feed after it.
std::vector<std::size_t> NextStarts(std::string_view text, std::size_t at) {
    std::vector<std::size_t> starts{at};
    if (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r'))
        starts.push_back(at + 1);
    if (at + 1 < text.size() && text[at] == '\r' && text[at + 1] == '\n')
        starts.push_back(at + 2);
    return starts;
}

bool Matches(std::string_view text, std::size_t at, const std::string& line) {
    if (text.size() - at < line.size())
        return false;
    for (std::size_t i = 0; i < line.size(); ++i)
        if ((text[at + i] == '\t' ? ' ' : text[at + i]) != line[i])
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzReader in(data, size);
    const int width = in.Take<std::int16_t>();
    TFuzzMeasurer measure;
    // Widths for a few characters the input names; all others are 6 pixels.
    measure.Widths.fill(6);
    for (int i = in.Take<std::uint8_t>() % 16; i > 0; --i) {
        const auto c = in.Take<std::uint8_t>();
        measure.Widths[c] = in.Take<std::uint8_t>() % 80;
    }
    const std::string_view text = in.Rest().substr(0, 400);

    const std::vector<TLineObj> lines = BreakLines(text, width, measure);
    ZQ_FUZZ_CHECK(!lines.empty());

    // Every way the lines can be laid back onto the text; the last must end it.
    std::set<std::size_t> starts{0};
    bool ends = false;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const TLineObj& line = lines[n];
        ZQ_FUZZ_CHECK(line.Text.find_first_of("\r\t") == std::string::npos);
        ZQ_FUZZ_CHECK(measure.TextWidth(line.Text) <= width || line.Text.size() <= 1);
        if (line.GapCount > 0) {
            ZQ_FUZZ_CHECK(line.ExtraPixels == width - measure.TextWidth(line.Text));
            long spread = 0;
            for (int gap = 0; gap < line.GapCount; ++gap) {
                ZQ_FUZZ_CHECK(line.GapExtra(gap) >= 0);
                spread += line.GapExtra(gap);
            }
            ZQ_FUZZ_CHECK(spread <= line.ExtraPixels);
        }
        std::set<std::size_t> next;
        for (std::size_t at : starts) {
            if (!Matches(text, at, line.Text))
                continue;
            if (n + 1 == lines.size())
                ends = ends || at + line.Text.size() == text.size();
            else
                for (std::size_t start : NextStarts(text, at + line.Text.size()))
                    next.insert(start);
        }
        if (n + 1 < lines.size())
            ZQ_FUZZ_CHECK(!next.empty());
        starts = std::move(next);
    }
    ZQ_FUZZ_CHECK(ends);
    return 0;
}
