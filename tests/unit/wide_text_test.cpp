// Text and paths at the system boundary: UTF-8 inside, UTF-16 for the system's wide calls.
#include <gtest/gtest.h>

#include <string>

#include "toolkit/WideText.h"

using namespace zq;

// Letters outside every ANSI code page of the West (Polish, Japanese, a letter beyond the basic
// plane) go there and back; so does an unpaired surrogate, which a file name may hold.
TEST(WideText, EveryUtf16SequenceGoesThereAndBack) {
    const struct {
        const char* utf8;
        std::u16string utf16;
    } cases[] = {
        {"C:\\Zentiq\\zentiq.ini", u"C:\\Zentiq\\zentiq.ini"},
        {"uni-\xC5\x81\xC3\xB3\x64\xC5\xBA-\xE6\x97\xA5\xE6\x9C\xAC",
         u"uni-\u0141\u00F3d\u017A-\u65E5\u672C"},
        {"\xF0\x9D\x84\x9E", u"\xD834\xDD1E"},
        {"a\xED\xA0\x80z", std::u16string(u"a\xD800z")},
        {"\xED\xBF\xBF", std::u16string(1, u'\xDFFF')},
        {"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Utf16(c.utf8), c.utf16);
        EXPECT_EQ(Utf8(c.utf16), c.utf8);
    }
}

TEST(WideText, BytesThatAreNoUtf8BecomeReplacementCharacters) {
    EXPECT_EQ(Utf16("a\xFF"
                    "b"),
              u"a\uFFFDb");
    EXPECT_EQ(Utf16("\xC0\xAF"), u"\uFFFD\uFFFD");                     // overlong '/'
    EXPECT_EQ(Utf16("\xE6\x97"), u"\uFFFD\uFFFD");                     // cut short
    EXPECT_EQ(Utf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD"); // beyond U+10FFFF
}

// Past 248 characters (counted in UTF-16 units) an absolute path takes the extended-length
// prefix; what the prefix would change the meaning of is left alone.
TEST(WideText, LongAbsolutePathsGetTheExtendedLengthPrefix) {
    const std::string deep = std::string(60, 'd') + "\\\xE6\x97\xA5\xE6\x9C\xAC\\" +
                             std::string(200, 'e') + "\\zentiq.ini";
    const std::u16string wideDeep = Utf16(deep);
    ASSERT_GE(wideDeep.size(), 260u);
    const struct {
        std::string path;
        std::u16string expected;
    } cases[] = {
        {"C:\\" + deep, u"\\\\?\\C:\\" + wideDeep},
        {"\\\\server\\share\\" + deep, u"\\\\?\\UNC\\server\\share\\" + wideDeep},
        {"C:\\short\\zentiq.ini", u"C:\\short\\zentiq.ini"},
        {"C:\\" + std::string(244, 'x'), u"C:\\" + std::u16string(244, u'x')},
        // 120 Japanese letters: 360 bytes, but 123 characters.
        {"C:\\" +
             [] {
                 std::string s;
                 for (int i = 0; i < 120; ++i)
                     s += "\xE6\x97\xA5";
                 return s;
             }(),
         u"C:\\" + std::u16string(120, u'\u65E5')},
        {deep, wideDeep},
        {"C:/" + deep, Utf16("C:/" + deep)},
        {"C:\\..\\" + deep, Utf16("C:\\..\\" + deep)},
        {"C:\\" + deep + "\\.", Utf16("C:\\" + deep + "\\.")},
        {"\\\\?\\C:\\" + deep, Utf16("\\\\?\\C:\\" + deep)},
        {"\\\\.\\C:\\" + deep, Utf16("\\\\.\\C:\\" + deep)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.substr(0, 20));
        EXPECT_EQ(SystemPath(c.path), c.expected);
    }
    // A part that merely starts with a dot is a name like any other.
    EXPECT_EQ(SystemPath("C:\\.config\\" + deep), u"\\\\?\\C:\\.config\\" + wideDeep);
}
