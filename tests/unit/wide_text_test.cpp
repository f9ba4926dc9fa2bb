// Text and paths at the system boundary: UTF-8 inside, UTF-16 for the system's wide calls.
#include <gtest/gtest.h>

#include "toolkit/WideText.h"

using namespace zq;

// Polish and Japanese letters (outside the western ANSI code page), a letter beyond the basic
// plane and an unpaired surrogate (a file name may hold one) go there and back.
TEST(WideText, EveryUtf16SequenceGoesThereAndBack) {
    const std::pair<std::string, std::u16string> cases[] = {
        {"uni-\xC5\x81\xC3\xB3\x64\xC5\xBA-\xE6\x97\xA5\xE6\x9C\xAC",
         u"uni-\u0141\u00F3d\u017A-\u65E5\u672C"},
        {"\xF0\x9D\x84\x9E", u"\xD834\xDD1E"},
        {"a\xED\xA0\x80z", std::u16string(u"a\xD800z")},
    };
    for (const auto& [utf8, utf16] : cases) {
        EXPECT_EQ(Utf16(utf8), utf16);
        EXPECT_EQ(Utf8(utf16), utf8);
    }
    // Bytes that are no UTF-8: a stray byte, an overlong form, a cut sequence, beyond U+10FFFF.
    EXPECT_EQ(Utf16("a\xFF\xC0\xAF\xE6\x97"), u"a\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
}

// From 248 characters (UTF-16 units, not bytes) an absolute path takes the extended-length
// prefix; a path the prefix would change the meaning of is left alone.
TEST(WideText, LongAbsolutePathsGetTheExtendedLengthPrefix) {
    const std::string deep = std::string(60, 'd') + "\\.config\\" + std::string(200, 'e');
    std::string japanese;
    for (int i = 0; i < 120; ++i)
        japanese += "\xE6\x97\xA5"; // 360 bytes, 120 characters
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\" + deep, "\\\\?\\C:\\" + deep},
        {"\\\\server\\share\\" + deep, "\\\\?\\UNC\\server\\share\\" + deep},
        {"C:\\" + std::string(244, 'x'), "C:\\" + std::string(244, 'x')},
        {"C:\\" + japanese, "C:\\" + japanese},
        {deep, deep},
        {"C:/" + deep, "C:/" + deep},
        {"C:\\..\\" + deep, "C:\\..\\" + deep},
        {"\\\\?\\C:\\" + deep, "\\\\?\\C:\\" + deep},
        {"\\\\.\\C:\\" + deep, "\\\\.\\C:\\" + deep},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(SystemPath(path), Utf16(expected)) << path.substr(0, 16);
}
