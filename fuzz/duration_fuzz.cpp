// Links: zq_sysinfo_logic zq_toolkit_logic
// The duration text for any number of seconds, any flags and any decimal separator. Inside
// the range the counts can hold, the split adds up to the seconds given and the words read
// back to them; outside it the text is merely defined.
#include "FuzzInput.h"

#include <charconv>
#include <string>

#include "sysinfo/DurationText.h"

using namespace zq;
using zq::fuzz::TFuzzReader;

namespace {

constexpr std::int64_t kLengths[] = {3157920000LL, 31579200LL, 2678400LL, 604800LL,
                                     86400LL,      3600LL,     60LL};
// Below this every count fits its 16 bits.
constexpr std::int64_t kRepresentable = 65536 * kLengths[0];

std::int64_t Total(const TDurationParts& p) {
    const std::int64_t counts[] = {p.Centuries, p.Years, p.Months, p.Weeks,
                                   p.Days,      p.Hours, p.Minutes};
    std::int64_t total = p.Seconds;
    for (int i = 0; i < 7; ++i)
        total += counts[i] * kLengths[i];
    return total;
}

// The seconds the words name: "<n> <unit>, " pieces, then the seconds' digits (the caller has
// cut off what follows them).
std::int64_t ReadWords(std::string_view text, std::size_t units) {
    std::int64_t total = 0;
    for (std::size_t i = 0;; ++i) {
        std::int64_t n = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
        ZQ_FUZZ_CHECK(ec == std::errc());
        const auto used = static_cast<std::size_t>(end - text.data());
        if (i == units) {
            ZQ_FUZZ_CHECK(used == text.size());
            return total + n;
        }
        total += n * kLengths[7 - units + i];
        const std::size_t comma = text.find(", ", used);
        ZQ_FUZZ_CHECK(comma != std::string_view::npos);
        text.remove_prefix(comma + 2);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzReader in(data, size);
    const auto seconds = in.Take<std::int64_t>();
    const auto flags = in.Take<std::uint8_t>();
    const bool whole = flags & 1, allUnits = flags & 2, clock = flags & 4;
    const std::string separator(in.Rest());

    const TDurationParts parts = SplitDuration(seconds);
    const std::string text = DurationToText(whole, allUnits, clock, seconds, separator);
    if (seconds < 0 || seconds >= kRepresentable)
        return 0;

    ZQ_FUZZ_CHECK(Total(parts) == seconds);
    ZQ_FUZZ_CHECK(parts.Seconds >= 0 && parts.Seconds < 60 && parts.Minutes < 60 &&
                  parts.Hours < 24 && parts.Days < 7 && parts.Weeks <= 4 && parts.Months < 12 &&
                  parts.Years < 100);
    if (clock) {
        ZQ_FUZZ_CHECK(text.size() >= 8);
        const std::string_view hms = std::string_view(text).substr(text.size() - 8);
        ZQ_FUZZ_CHECK(hms[2] == ':' && hms[5] == ':');
        ZQ_FUZZ_CHECK(allUnits ? text.size() == 17 && text[text.size() - 9] == ' '
                               : text.size() == 8);
        return 0;
    }
    const std::string end =
        (whole ? "" : separator + "00") + (parts.Seconds == 1 ? " Second." : " Seconds.");
    ZQ_FUZZ_CHECK(text.size() > end.size() && text.ends_with(end));
    std::size_t units = 7;
    if (!allUnits)
        while (units > 0 && seconds < kLengths[7 - units])
            --units;
    ZQ_FUZZ_CHECK(ReadWords(std::string_view(text).substr(0, text.size() - end.size()), units) ==
                  seconds);
    return 0;
}
