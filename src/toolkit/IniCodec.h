#pragma once
// Settings-file codec: reads a file as the platform's profile API (GetPrivateProfileStringA)
// reads it, and writes it back without damage: every line it does not change stays as it was, in
// its order and its encoding. docs/ARCHITECTURE.md lists the rules it follows.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zq {

// The conversion between the ANSI code page and UTF-16 that Unicode files need.
class TCodePage {
public:
    virtual ~TCodePage() = default;
    // Appends the ANSI text of UTF-16 code units; what the code page lacks becomes '?'.
    virtual void AppendAnsi(std::u16string_view units, std::string& out) const = 0;
    // Appends the UTF-16 code units of ANSI text.
    virtual void AppendUnicode(std::string_view ansi, std::u16string& out) const = 0;
};

// Windows-1252, the ANSI code page of western Windows systems.
const TCodePage& Windows1252();

enum class TTextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

class IniDocument {
public:
    IniDocument() = default;
    // A file's bytes. A byte-order mark makes it UTF-8, UTF-16LE or UTF-16BE (names and values
    // are then taken in the code page's ANSI text); anything else is ANSI text. CR, LF and CR LF
    // each end a line.
    static IniDocument Parse(std::string_view bytes, const TCodePage& codePage = Windows1252());

    TTextEncoding Encoding() const { return FEncoding; }

    // The key's value in the first section of the name (lines before any header form the
    // section ""), from the first key line of the name: the text after the first '=', up to a
    // NUL, without blanks around it or one pair of matching quotes. Names compare without blanks
    // around them and case-insensitively. nullopt for a missing key or a key line without '='.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // Sets the value of the key Get reads (blanks around the names dropped, the value kept as it
    // is: quoted when it would not read back otherwise); a missing key is added at the end of
    // the first section of the name, a missing section at the end of the file. Refuses (false,
    // nothing changed) what a line cannot hold so that it reads back: a NUL or line break
    // anywhere, an empty key, a key with '=' or starting with '[', a first line of an ANSI file
    // that starts like a byte-order mark, and, in a Unicode file, text the code page cannot
    // carry there and back.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // The file's bytes: its encoding and byte-order mark, every line ended with CR LF; the lines
    // of a Unicode file that were not set are the bytes read.
    std::string Serialize() const;

private:
    struct Line {
        std::string text; // the line as ANSI text
        std::string raw;  // a Unicode file's bytes of the line as read (empty once set)
        enum Kind : unsigned char { Blank, Header, Key } kind = Blank;
        bool hasValue = false;
        // Within text: the section name of a header, the key name and value of a key line.
        unsigned nameAt = 0, nameLength = 0, valueAt = 0, valueLength = 0;
        std::string_view Name() const { return std::string_view(text).substr(nameAt, nameLength); }
        std::string_view Value() const {
            return std::string_view(text).substr(valueAt, valueLength);
        }
    };
    // The lines of a section after its header: [first, end).
    struct TSection {
        bool found;
        std::size_t first, end;
    };
    static Line ParseLine(std::string text);
    // The first section of the name.
    TSection FindSection(std::string_view name) const;
    void AppendEncoded(std::string_view ansi, std::string& out) const;
    bool Carries(std::string_view ansi) const;

    const TCodePage* FCodePage = &Windows1252();
    TTextEncoding FEncoding = TTextEncoding::Ansi;
    std::vector<Line> FLines;
};

// Integer text as the settings file holds it: optional blanks, optional sign and decimal digits,
// or "0x"/"0X" followed by up to eight hexadecimal digits (taken as a 32-bit pattern).
// Anything else, or a decimal value outside 32 bits, yields `defaultValue`.
int ParseIniInteger(std::string_view text, int defaultValue);

bool SameTextAscii(std::string_view a, std::string_view b);
// The text without leading and trailing blanks and control characters.
std::string_view TrimBlanks(std::string_view s);
// The text without the blanks the profile API drops around names and values: space, tab, the
// line breaks (LF, VT, FF, CR) and Ctrl+Z.
std::string_view TrimIniBlanks(std::string_view s);

} // namespace zq
