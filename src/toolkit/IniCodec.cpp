#include "toolkit/IniCodec.h"

#include <cstdint>

namespace zq {

namespace {
// Blanks and control characters; characters above 0x7F are text.
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
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

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// Whether trimmed names and value survive a write and a read as they are.
bool Representable(std::string_view section, std::string_view key, std::string_view value) {
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value))
        return false;
    if (section.find(']') != std::string_view::npos)
        return false;
    return !key.empty() && key.find('=') == std::string_view::npos && key[0] != '[' &&
           key[0] != ';' && key[0] != '#';
}

// Concatenation by appending (GCC 12 warns falsely about operator+ chains at -O2).
std::string Joined(std::string_view a, std::string_view b, std::string_view c) {
    std::string out;
    out.reserve(a.size() + b.size() + c.size());
    out.append(a).append(b).append(c);
    return out;
}
} // namespace

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
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

IniDocument::Line IniDocument::ParseLine(std::string_view raw) {
    Line line;
    line.text = std::string(raw);
    std::string_view t = TrimBlanks(raw);
    if (t.empty() || t[0] == ';' || t[0] == '#')
        return line;
    if (t[0] == '[') {
        std::size_t close = t.find(']');
        if (close != std::string_view::npos) {
            line.kind = Line::Header;
            line.section = std::string(TrimBlanks(t.substr(1, close - 1)));
        }
        return line;
    }
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return line;
    std::string_view key = TrimBlanks(t.substr(0, eq));
    if (key.empty())
        return line;
    line.kind = Line::Key;
    line.key = std::string(key);
    line.value = std::string(TrimBlanks(t.substr(eq + 1)));
    return line;
}

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view raw =
            text.substr(pos, (end == std::string_view::npos ? text.size() : end) - pos);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        doc.FLines.push_back(ParseLine(raw));
        pos = next;
    }
    return doc;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (const Line& l : FLines) {
        if (l.kind == Line::Header)
            inSection = SameTextAscii(l.section, TrimBlanks(section));
        else if (inSection && l.kind == Line::Key && SameTextAscii(l.key, TrimBlanks(key)))
            return l.value;
    }
    return std::nullopt;
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    std::string_view sec = TrimBlanks(section);
    std::string_view k = TrimBlanks(key);
    std::string_view v = TrimBlanks(value);
    if (!Representable(sec, k, v))
        return false;
    bool inSection = false;
    std::size_t insertAt = FLines.size();
    bool found = false;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        Line& l = FLines[i];
        if (l.kind == Line::Header) {
            if (inSection)
                break; // end of the first matching section
            inSection = SameTextAscii(l.section, sec);
            if (inSection) {
                found = true;
                insertAt = i + 1;
            }
        } else if (inSection) {
            if (l.kind == Line::Key && SameTextAscii(l.key, k)) {
                l.value = std::string(v);
                l.text = Joined(l.key, "=", l.value);
                return true;
            }
            if (l.kind == Line::Key || !TrimBlanks(l.text).empty())
                insertAt = i + 1;
        }
    }
    Line line = ParseLine(Joined(k, "=", v));
    if (!found) {
        FLines.push_back(ParseLine(Joined("[", sec, "]")));
        FLines.push_back(line);
        return true;
    }
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
    return true;
}

std::string IniDocument::Serialize() const {
    std::string out;
    for (const Line& l : FLines) {
        out += l.text;
        out += "\r\n";
    }
    return out;
}

} // namespace zq
