#pragma once
// Text at the system boundary. Inside the program a std::string holds UTF-8; the system's wide
// calls take and give UTF-16, converted at the call. The conversion carries every sequence of
// UTF-16 units there and back, so that any name the file system holds survives it: an unpaired
// surrogate (which Windows file names may hold) takes the three-byte form of its code point
// (WTF-8). A byte of the UTF-8 side that starts no valid sequence becomes U+FFFD.
#include <string>
#include <string_view>

namespace zq {

std::u16string Utf16(std::string_view utf8);
std::string Utf8(std::u16string_view utf16);

// What the conversions make of a surrogate that is not one half of a pair: keep it (the forms
// above) or take it for no text, U+FFFD (what a text file holds).
enum class TSurrogates { Keep, Replace };
void AppendUtf16(std::string_view utf8, std::u16string& out, TSurrogates surrogates);
void AppendUtf8(std::u16string_view utf16, std::string& out, TSurrogates surrogates);

// A path for the system's wide file calls. An absolute path of 248 characters or more (the
// limit of a folder's name; a file's is 260) gets the extended-length prefix, "\\?\C:\..." or
// "\\?\UNC\server\share\...", with which the file calls take up to 32767 characters from
// Windows XP on whatever the long-path setting. The prefix turns off the system's
// normalisation, so a path with '/' or a "." or ".." part is left as it is, as is a relative
// or an already prefixed one.
std::u16string SystemPath(std::string_view utf8);

#ifdef _WIN32
// The form the system's wide calls take and give (wchar_t is a UTF-16 unit on Windows). A
// pointer into a temporary lives to the end of the call it is handed to.
inline const wchar_t* WideChars(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::string Utf8(const wchar_t* text, std::size_t length) {
    return Utf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}
inline std::string Utf8(const wchar_t* text) {
    return Utf8(std::u16string_view(reinterpret_cast<const char16_t*>(text)));
}
#endif

} // namespace zq
