#pragma once
// Settings-file codec: tolerant on reading, faithful on writing. Section and key names compare
// case-insensitively and blanks around names and values are ignored; lines the codec does not
// understand (comments, unknown sections and keys) are kept as they are on rewrite.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zq {

class IniDocument {
public:
    IniDocument() = default;
    static IniDocument Parse(std::string_view text);

    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // Sets the key's value, blanks around the three dropped. Refuses (false, nothing changed)
    // what a line cannot hold so that it reads back: a line break anywhere, an empty key, a
    // key with '=' or starting with '[', ';' or '#', a section name with ']'.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // Lines joined with CR LF, each line ended.
    std::string Serialize() const;

private:
    struct Line {
        std::string text;    // the line as read (or as written by Set)
        std::string section; // for a header: the section name
        std::string key;     // for a key line: the key name
        std::string value;   // for a key line: the value
        enum Kind { Other, Header, Key } kind = Other;
    };
    static Line ParseLine(std::string_view raw);
    std::vector<Line> FLines;
};

// Integer text as the settings file holds it: optional blanks, optional sign and decimal digits,
// or "0x"/"0X" followed by up to eight hexadecimal digits (taken as a 32-bit pattern).
// Anything else, or a decimal value outside 32 bits, yields `defaultValue`.
int ParseIniInteger(std::string_view text, int defaultValue);

bool SameTextAscii(std::string_view a, std::string_view b);
// The text without leading and trailing blanks and control characters.
std::string_view TrimBlanks(std::string_view s);

} // namespace zq
