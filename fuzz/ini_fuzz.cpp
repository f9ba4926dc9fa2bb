// Links: zq_toolkit_logic
// The settings codec: arbitrary text is read and written back; the written text keeps every
// line and reads back to the same document. Then keys chosen by the input are set, each reads
// back as set (or is refused and changes nothing), and the document written after them reads back
// equal. Values are also parsed as integers and compared with a plain reference.
#include "FuzzInput.h"

#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/IniCodec.h"

using namespace zq;
using zq::fuzz::TFuzzReader;

namespace {

// The text as the writer must give it back: every line (split at LF, one CR before it dropped)
// ended with CR LF.
std::string Normalised(std::string_view text) {
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        out.append(line).append("\r\n");
        pos = end + 1;
    }
    return out;
}

bool IsSpace(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// Integer text: blanks, then a signed decimal within 32 bits, or "0x" and 1..8 hex digits.
int ReferenceInteger(std::string_view text, int fallback) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint32_t value = 0;
        const std::string_view digits = text.substr(2);
        if (digits.size() > 8)
            return fallback;
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        return ec == std::errc() && end == digits.data() + digits.size()
                   ? static_cast<int>(static_cast<std::int32_t>(value))
                   : fallback;
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return fallback;
    std::uint64_t magnitude = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, 10);
    if (ec != std::errc() || magnitude > (negative ? 2147483648u : 2147483647u))
        return fallback;
    return static_cast<int>(negative ? -static_cast<std::int64_t>(magnitude)
                                     : static_cast<std::int64_t>(magnitude));
}

struct TWrite {
    std::string Section, Key, Value;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzReader in(data, size);
    const std::string_view text = in.Bytes(in.Take<std::uint16_t>());

    IniDocument doc = IniDocument::Parse(text);
    const std::string written = doc.Serialize();
    ZQ_FUZZ_CHECK(written == Normalised(text));
    ZQ_FUZZ_CHECK(IniDocument::Parse(written).Serialize() == written);

    std::vector<TWrite> writes;
    for (int round = 0; round < 16 && !in.Empty(); ++round) {
        TWrite w{std::string(in.Piece()), std::string(in.Piece()), std::string(in.Piece())};
        const auto before = doc.Get(w.Section, w.Key);
        if (before)
            ZQ_FUZZ_CHECK(ParseIniInteger(*before, 7) == ReferenceInteger(*before, 7));
        const std::string unchanged = doc.Serialize();
        if (!doc.Set(w.Section, w.Key, w.Value)) {
            // Refused: nothing changed.
            ZQ_FUZZ_CHECK(doc.Serialize() == unchanged);
            continue;
        }
        ZQ_FUZZ_CHECK(doc.Get(w.Section, w.Key) == std::string(TrimBlanks(w.Value)));
        writes.push_back(std::move(w));
    }

    // What was written reads back equal.
    const std::string after = doc.Serialize();
    const IniDocument reread = IniDocument::Parse(after);
    ZQ_FUZZ_CHECK(reread.Serialize() == after);
    for (const TWrite& w : writes)
        ZQ_FUZZ_CHECK(reread.Get(w.Section, w.Key) == doc.Get(w.Section, w.Key));
    return 0;
}
