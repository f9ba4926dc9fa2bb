// Links: zq_toolkit_logic
// The settings codec: arbitrary text is read and written back; the written text keeps its
// byte-order mark and every line, each ended with CR LF, and reads back to the same document.
// Then keys chosen by the input are set, each reads back as set (or is refused and changes
// nothing), and the document written after them reads back equal. Values are also parsed as
// integers and compared with a plain reference.
// Input: a 16-bit header (the text's length in its low 13 bits; bit 13 puts a UTF-8 byte-order
// mark before the text, bit 14 makes it UTF-16, each byte a code unit (little-endian; big-endian
// with bit 13), bit 15 turns every LF into CR), the text, then (section, key, value) pieces.
#include "FuzzInput.h"
#include "IniText.h"

#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/IniCodec.h"

using namespace zq;
using zq::fuzz::TFuzzReader;

namespace {

// The text as the writer must give it back.
std::string Normalised(std::string_view text) {
    const zq::fuzz::TIniText t = zq::fuzz::SplitIniText(text);
    std::string out(t.Mark);
    for (std::string_view line : t.Lines)
        out.append(line).append(t.LineEnd);
    return out;
}

// The text the header asks for: framed as UTF-8 or UTF-16, with CR line ends.
std::string Framed(std::uint16_t header, std::string_view body) {
    std::string text(body);
    if (header & 0x8000)
        for (char& c : text)
            c = c == '\n' ? '\r' : c;
    const bool mark = (header & 0x2000) != 0;
    if (!(header & 0x4000))
        return mark ? "\xEF\xBB\xBF" + text : text;
    // Bytes above 0x7F give units from all over: 0x8080, 0xD8D8 (a lone surrogate), 0xFFFF.
    std::string wide = mark ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text) {
        const char high = static_cast<unsigned char>(c) < 0x80 ? '\0' : c;
        wide += mark ? high : c;
        wide += mark ? c : high;
    }
    return wide;
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
    const auto header = in.Take<std::uint16_t>();
    const std::string text = Framed(header, in.Bytes(header & 0x1FFF));

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
        ZQ_FUZZ_CHECK(doc.Get(w.Section, w.Key) == w.Value);
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
