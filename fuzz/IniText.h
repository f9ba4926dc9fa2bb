#pragma once
// The lines of a settings file as the fuzz targets check them, independently of the codec: the
// byte-order mark (UTF-8, UTF-16LE, UTF-16BE or none), then lines ended by CR LF, CR or LF in
// the file's code units (the last odd byte of a UTF-16 file is no text).
#include <string>
#include <string_view>
#include <vector>

namespace zq::fuzz {

struct TIniText {
    std::string_view Mark;
    std::vector<std::string_view> Lines; // the bytes of each line, without its end
    std::string LineEnd;                 // CR LF in the file's encoding
    // A line's ASCII text: code units above 0x7F become '?'.
    std::string Ascii(std::string_view line) const {
        std::string out;
        for (std::size_t i = 0; i + Unit <= line.size(); i += Unit)
            out += Code(line, i) < 0x80 ? static_cast<char>(Code(line, i)) : '?';
        return out;
    }
    std::size_t Unit = 1;
    bool BigEndian = false;
    unsigned Code(std::string_view s, std::size_t i) const {
        const auto a = static_cast<unsigned char>(s[i]);
        if (Unit == 1)
            return a;
        const auto b = static_cast<unsigned char>(s[i + 1]);
        return BigEndian ? (a << 8 | b) : (a | b << 8);
    }
};

inline TIniText SplitIniText(std::string_view text) {
    TIniText t;
    t.LineEnd = "\r\n";
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        t.Mark = text.substr(0, 3);
    } else if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") {
        t.Mark = text.substr(0, 2);
        t.Unit = 2;
        t.BigEndian = text[0] == '\xFE';
        t.LineEnd = t.BigEndian ? std::string("\0\r\0\n", 4) : std::string("\r\0\n\0", 4);
    }
    text.remove_prefix(t.Mark.size());
    text.remove_suffix(text.size() % t.Unit);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && t.Code(text, end) != '\r' && t.Code(text, end) != '\n')
            end += t.Unit;
        t.Lines.push_back(text.substr(pos, end - pos));
        pos = end + t.Unit;
        if (end < text.size() && t.Code(text, end) == '\r' && pos < text.size() &&
            t.Code(text, pos) == '\n')
            pos += t.Unit;
    }
    return t;
}

} // namespace zq::fuzz
