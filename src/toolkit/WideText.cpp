#include "toolkit/WideText.h"

namespace zq {

namespace {

constexpr std::size_t kFolderNameLimit = 248;

bool IsLeadSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}

bool IsTrailSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

// Whether a "." or ".." part lies between separators.
bool HasDotPart(std::string_view path) {
    for (std::size_t start = 0; start <= path.size();) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part == "." || part == "..")
            return true;
        start = end + 1;
    }
    return false;
}

// The UTF-16 units of UTF-8 text: one a character, two beyond the basic plane.
std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        units += (byte & 0xC0) != 0x80;
        units += byte >= 0xF0;
    }
    return units;
}

} // namespace

void AppendUtf16(std::string_view utf8, std::u16string& out, TSurrogates surrogates) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80                   ? 1
                                   : lead >= 0xC2 && lead < 0xE0 ? 2
                                   : lead >= 0xE0 && lead < 0xF0 ? 3
                                   : lead >= 0xF0 && lead < 0xF5 ? 4
                                                                 : 0;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = length != 0 && i + length <= utf8.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = code << 6 | (next & 0x3F);
        }
        // Overlong forms and code points beyond U+10FFFF are no text, nor, unless kept, is a
        // surrogate's own form.
        if (valid && length == 3 &&
            (code < 0x800 ||
             (surrogates == TSurrogates::Replace && code >= 0xD800 && code < 0xE000)))
            valid = false;
        if (valid && length == 4 && (code < 0x10000 || code > 0x10FFFF))
            valid = false;
        if (!valid) {
            out += u'\xFFFD';
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
        i += length;
    }
}

void AppendUtf8(std::u16string_view utf16, std::string& out, TSurrogates surrogates) {
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t code = utf16[i];
        if (IsLeadSurrogate(code) && i + 1 < utf16.size() && IsTrailSurrogate(utf16[i + 1]))
            code = 0x10000 + ((code - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        else if (surrogates == TSurrogates::Replace && code >= 0xD800 && code < 0xE000)
            code = 0xFFFD;
        const int trail = code < 0x80 ? 0 : code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
        static constexpr unsigned char kLead[] = {0x00, 0xC0, 0xE0, 0xF0};
        out += static_cast<char>(kLead[trail] | (code >> (6 * trail)));
        for (int k = trail - 1; k >= 0; --k)
            out += static_cast<char>(0x80 | ((code >> (6 * k)) & 0x3F));
    }
}

std::u16string Utf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    AppendUtf16(utf8, out, TSurrogates::Keep);
    return out;
}

std::string Utf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    AppendUtf8(utf16, out, TSurrogates::Keep);
    return out;
}

std::u16string SystemPath(std::string_view utf8) {
    if (Utf16Length(utf8) < kFolderNameLimit || utf8.find('/') != std::string_view::npos ||
        HasDotPart(utf8))
        return Utf16(utf8);
    const bool drive = utf8.size() >= 3 && utf8[1] == ':' && utf8[2] == '\\' &&
                       ((utf8[0] >= 'A' && utf8[0] <= 'Z') || (utf8[0] >= 'a' && utf8[0] <= 'z'));
    const bool unc = utf8.substr(0, 2) == "\\\\" && utf8.size() > 2 && utf8[2] != '?' &&
                     utf8[2] != '.' && utf8[2] != '\\';
    if (!drive && !unc)
        return Utf16(utf8);
    std::string path = drive ? "\\\\?\\" : "\\\\?\\UNC";
    path.append(utf8.substr(drive ? 0 : 1));
    return Utf16(path);
}

} // namespace zq
