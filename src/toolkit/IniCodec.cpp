#include "toolkit/IniCodec.h"

#include <cstdint>

#include "toolkit/WideText.h"

namespace zq {

namespace {
constexpr std::size_t npos = std::string_view::npos;

// Blanks and control characters; characters above 0x7F are text.
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
// What the profile API drops around names and values.
bool IsIniBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A';
}
std::string_view TrimWhere(std::string_view s, bool (*blank)(char)) {
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}
char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Names and values are C strings to the profile API: they end at a NUL.
std::string_view UpToNul(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

// Concatenation by appending (GCC 12 warns falsely about operator+ chains at -O2).
std::string Joined(std::string_view a, std::string_view b, std::string_view c) {
    std::string out;
    out.reserve(a.size() + b.size() + c.size());
    out.append(a).append(b).append(c);
    return out;
}

// Windows-1252 at 0x80..0x9F; elsewhere a byte is the code point of the same number.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

class TWindows1252 final : public TCodePage {
public:
    void AppendAnsi(std::u16string_view units, std::string& out) const override {
        out.reserve(out.size() + units.size());
        for (char16_t unit : units) {
            char c = static_cast<char>(unit);
            if (unit >= 0x80 && (unit < 0xA0 || unit > 0xFF)) {
                c = '?';
                for (int i = 0; i < 32; ++i)
                    if (kWindows1252High[i] == unit)
                        c = static_cast<char>(0x80 + i);
            }
            out += c;
        }
    }
    void AppendUnicode(std::string_view ansi, std::u16string& out) const override {
        for (char c : ansi) {
            const auto byte = static_cast<unsigned char>(c);
            out += byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : char16_t{byte};
        }
    }
};

// The byte-order marks, in the order of TTextEncoding.
constexpr std::string_view kMarks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};

// The encoding a byte-order mark at the start gives.
TTextEncoding EncodingOf(std::string_view bytes) {
    for (int e = 3; e > 0; --e)
        if (bytes.substr(0, kMarks[e].size()) == kMarks[e])
            return static_cast<TTextEncoding>(e);
    return TTextEncoding::Ansi;
}

// Whether the text holds what no line can: a NUL or a line break.
bool BreaksLine(std::string_view s) {
    for (char c : s)
        if (c == '\0' || c == '\r' || c == '\n')
            return true;
    return false;
}

// The code unit at byte i: a byte, or two in the file's order.
char16_t UnitAt(std::string_view bytes, std::size_t i, TTextEncoding encoding) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    if (encoding != TTextEncoding::Utf16LE && encoding != TTextEncoding::Utf16BE)
        return first;
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char16_t>(encoding == TTextEncoding::Utf16LE ? first | second << 8
                                                                    : first << 8 | second);
}

bool IsWide(TTextEncoding encoding) {
    return encoding == TTextEncoding::Utf16LE || encoding == TTextEncoding::Utf16BE;
}
} // namespace

const TCodePage& Windows1252() {
    static const TWindows1252 codePage;
    return codePage;
}

std::string_view TrimBlanks(std::string_view s) {
    return TrimWhere(s, IsBlank);
}

std::string_view TrimIniBlanks(std::string_view s) {
    return TrimWhere(s, IsIniBlank);
}
bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

int ParseIniInteger(std::string_view text, int defaultValue) {
    std::string_view s = TrimBlanks(text);
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        std::string_view digits = s.substr(2);
        if (digits.size() > 8)
            return defaultValue;
        std::uint32_t v = 0;
        for (char c : digits) {
            int d = HexDigit(c);
            if (d < 0)
                return defaultValue;
            v = (v << 4) | static_cast<std::uint32_t>(d);
        }
        return static_cast<int>(static_cast<std::int32_t>(v));
    }
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return defaultValue;
    std::int64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return defaultValue;
        v = v * 10 + (c - '0');
        if (v > 2147483648LL)
            return defaultValue;
    }
    if (negative)
        v = -v;
    if (v > INT32_MAX || v < INT32_MIN)
        return defaultValue;
    return static_cast<int>(v);
}

IniDocument::Line IniDocument::ParseLine(std::string text) {
    Line line;
    line.text = std::move(text);
    const std::string_view all(line.text);
    const std::string_view t = TrimIniBlanks(all);
    if (t.empty())
        return line;
    const auto place = [&](std::string_view part, unsigned& at, unsigned& length) {
        at = static_cast<unsigned>(part.data() - all.data());
        length = static_cast<unsigned>(part.size());
    };
    // A header ends at the line's last ']'.
    const std::size_t close = t[0] == '[' ? t.rfind(']') : npos;
    if (close != npos && close > 0) {
        line.kind = Line::Header;
        place(UpToNul(TrimIniBlanks(t.substr(1, close - 1))), line.nameAt, line.nameLength);
        return line;
    }
    // Anything else is a key line; without '=' the whole line names a key without a value.
    line.kind = Line::Key;
    const std::size_t eq = t.find('=');
    place(UpToNul(TrimIniBlanks(t.substr(0, eq))), line.nameAt, line.nameLength);
    if (eq != npos) {
        line.hasValue = true;
        place(UpToNul(TrimIniBlanks(t.substr(eq + 1))), line.valueAt, line.valueLength);
    }
    return line;
}

IniDocument IniDocument::Parse(std::string_view bytes, const TCodePage& codePage) {
    IniDocument doc;
    doc.FCodePage = &codePage;
    const TTextEncoding encoding = EncodingOf(bytes);
    doc.FEncoding = encoding;
    bytes.remove_prefix(kMarks[static_cast<int>(encoding)].size());
    const std::size_t step = IsWide(encoding) ? 2 : 1;
    bytes.remove_suffix(bytes.size() % step); // a last odd byte of UTF-16 is no text
    std::u16string units;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = pos;
        char16_t unit = 0;
        while (end < bytes.size() && (unit = UnitAt(bytes, end, encoding)) != u'\r' &&
               unit != u'\n')
            end += step;
        const std::string_view raw = bytes.substr(pos, end - pos);
        pos = end + step;
        if (unit == u'\r' && pos < bytes.size() && UnitAt(bytes, pos, encoding) == u'\n')
            pos += step;
        if (encoding == TTextEncoding::Ansi) {
            doc.FLines.push_back(ParseLine(std::string(raw)));
            continue;
        }
        units.clear();
        if (step == 2)
            for (std::size_t i = 0; i < raw.size(); i += 2)
                units += UnitAt(raw, i, encoding);
        else
            AppendUtf16(raw, units, TSurrogates::Replace);
        std::string text;
        codePage.AppendAnsi(units, text);
        doc.FLines.push_back(ParseLine(std::move(text)));
        doc.FLines.back().raw = std::string(raw);
    }
    return doc;
}

IniDocument::TSection IniDocument::FindSection(std::string_view name) const {
    // The lines before the first header form the first section named "".
    TSection section{name.empty(), 0, FLines.size()};
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        if (FLines[i].kind != Line::Header)
            continue;
        if (section.found) {
            section.end = i;
            return section;
        }
        if (SameTextAscii(FLines[i].Name(), name)) {
            section.found = true;
            section.first = i + 1;
        }
    }
    return section;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const std::string_view k = TrimIniBlanks(UpToNul(key));
    const TSection s = FindSection(TrimIniBlanks(UpToNul(section)));
    for (std::size_t i = s.first; s.found && i < s.end; ++i) {
        const Line& l = FLines[i];
        if (l.kind != Line::Key || !SameTextAscii(l.Name(), k))
            continue;
        if (!l.hasValue)
            return std::nullopt;
        std::string_view v = l.Value();
        if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
            v = v.substr(1, v.size() - 2);
        return std::string(v);
    }
    return std::nullopt;
}

bool IniDocument::Carries(std::string_view ansi) const {
    if (FEncoding == TTextEncoding::Ansi)
        return true;
    std::u16string units;
    FCodePage->AppendUnicode(ansi, units);
    std::string back;
    FCodePage->AppendAnsi(units, back);
    return back == ansi;
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view sec = TrimIniBlanks(section);
    const std::string_view k = TrimIniBlanks(key);
    if (BreaksLine(sec) || BreaksLine(k) || BreaksLine(value) || k.empty() || k[0] == '[' ||
        k.find('=') != npos || !Carries(sec) || !Carries(k) || !Carries(value))
        return false;
    // Quotes keep blanks around the value, and quotes that the reader would take off.
    const bool quoted =
        !value.empty() &&
        (IsIniBlank(value.front()) || IsIniBlank(value.back()) ||
         (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]));
    const auto keyLine = [&](std::string_view name) {
        std::string text = Joined(name, quoted ? "=\"" : "=", value);
        if (quoted)
            text += '"';
        return ParseLine(std::move(text));
    };
    const TSection s = FindSection(sec);
    if (!s.found) {
        FLines.push_back(ParseLine(Joined("[", sec, "]")));
        FLines.push_back(keyLine(k));
        return true;
    }
    std::size_t insertAt = s.first;
    for (std::size_t i = s.first; i < s.end; ++i) {
        Line& l = FLines[i];
        if (l.kind == Line::Key && SameTextAscii(l.Name(), k)) {
            l = keyLine(std::string(l.Name())); // the file's spelling of the name
            return true;
        }
        if (l.kind != Line::Blank)
            insertAt = i + 1;
    }
    Line line = keyLine(k);
    // A first line that starts like a byte-order mark would be read in another encoding.
    if (insertAt == 0 && FEncoding == TTextEncoding::Ansi &&
        EncodingOf(line.text) != TTextEncoding::Ansi)
        return false;
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
    return true;
}

void IniDocument::AppendEncoded(std::string_view ansi, std::string& out) const {
    if (FEncoding == TTextEncoding::Ansi) {
        out.append(ansi);
        return;
    }
    std::u16string units;
    FCodePage->AppendUnicode(ansi, units);
    if (FEncoding == TTextEncoding::Utf8) {
        AppendUtf8(units, out, TSurrogates::Replace);
        return;
    }
    const bool little = FEncoding == TTextEncoding::Utf16LE;
    for (char16_t unit : units) {
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        out += little ? low : high;
        out += little ? high : low;
    }
}

std::string IniDocument::Serialize() const {
    std::string lineEnd;
    AppendEncoded("\r\n", lineEnd);
    const std::size_t width = IsWide(FEncoding) ? 2 : 1;
    std::size_t size = 3;
    for (const Line& l : FLines)
        size += (l.raw.empty() ? l.text.size() * width : l.raw.size()) + lineEnd.size();
    std::string out;
    out.reserve(size);
    out.append(kMarks[static_cast<int>(FEncoding)]);
    for (const Line& l : FLines) {
        if (!l.raw.empty())
            out += l.raw;
        else
            AppendEncoded(l.text, out);
        out += lineEnd;
    }
    return out;
}

} // namespace zq
