#pragma once
// Settings files and what the platform's profile API (GetPrivateProfileStringA) reads from them,
// before and after keys are written into them by the codec. The unit tests hold the codec to
// these answers; the Windows tests hold the platform itself to them, so the expectations are the
// platform's, not the codec's. Values are in the ANSI code page 1252.
#include <string>
#include <string_view>
#include <vector>

namespace zqtest {

struct IniQuery {
    const char* section;
    const char* key;
    const char* value; // nullptr: the caller's default (no such key, or a key without a value)
};

struct IniCase {
    const char* name;
    std::string bytes;
    std::vector<IniQuery> queries;
    // Written into the file one after the other; each then reads back as written, and every
    // other query keeps its answer.
    std::vector<IniQuery> writes;
};

inline std::string Utf16(std::u16string_view text, bool bigEndian = false) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// The queries of a case once its writes are done: a written key (named as in the write) answers
// its new value.
inline std::vector<IniQuery> AfterWrites(const IniCase& c) {
    std::vector<IniQuery> queries;
    for (IniQuery q : c.queries) {
        for (const IniQuery& w : c.writes)
            if (std::string_view(q.section) == w.section && std::string_view(q.key) == w.key)
                q.value = w.value;
        queries.push_back(q);
    }
    queries.insert(queries.end(), c.writes.begin(), c.writes.end());
    return queries;
}

inline std::vector<IniCase> IniPlatformCases() {
    using namespace std::string_literals;
    return {
        {"comments and comment marks, blanks around names, LF line ends",
         "; comment\r\n [ Colors ] \r\n  pro1 = 12 \nText=3\n;a=1\n#b=2\nx==7\n[Window]\nLeft=5",
         {{"colors", "PRO1", "12"},
          {"Colors", "Text", "3"},
          {"Colors", ";a", "1"},
          {"Colors", "#b", "2"},
          {"Colors", "x", "=7"},
          {"Window", "left", "5"},
          {"Window", "Text", nullptr},
          {"Misc", "Welcome", nullptr}},
         {{"Window", "left", "9"}, {"Colors", ";c", "4"}, {"Misc", "Welcome", "0"}}},
        {"quoted values",
         "[Window]\r\nLeft=\"120\"\r\nTop='7'\r\nA=\"x'\r\nB=\"\r\nC=\"\"\r\nD= \" 1 \" \r\n"
         "E=\"a\"b\"\r\nF='\r\n",
         {{"Window", "Left", "120"},
          {"Window", "Top", "7"},
          {"Window", "A", "\"x'"},
          {"Window", "B", "\""},
          {"Window", "C", ""},
          {"Window", "D", " 1 "},
          {"Window", "E", "a\"b"},
          {"Window", "F", "'"}},
         {{"Window", "Left", "300"}, {"Window", "Q", "\"q\""}, {"Window", "R", "''"}}},
        {"CR line ends",
         "[Window]\rLeft=120\rTop=7\r[Misc]\rWelcome=0\r",
         {{"Window", "Left", "120"}, {"Window", "Top", "7"}, {"Misc", "Welcome", "0"}},
         {{"Window", "Width", "50"}, {"Misc", "Welcome", "1"}}},
        {"mixed line ends, the last line unended",
         "[S]\na=1\rb=2\r\nc=3\n\rd=4\r\r[T]\ne=5",
         {{"S", "a", "1"}, {"S", "b", "2"}, {"S", "c", "3"}, {"S", "d", "4"}, {"T", "e", "5"}},
         {{"T", "f", "6"}, {"S", "a", "7"}}},
        {"UTF-16LE with a byte-order mark, CR and LF line ends",
         Utf16(
             u"[Colors]\rPro1=255\r\n[Other]\nName=\u00E9\u20AC\u4E2D\r\n[Window]\rLeft=\"120\"\r"),
         {{"Colors", "Pro1", "255"}, {"Other", "Name", "\xE9\x80?"}, {"Window", "Left", "120"}},
         {{"Colors", "Pro2", "65408"}, {"Window", "Left", "300"}, {"Misc", "Welcome", "0"}}},
        {"UTF-16BE with a byte-order mark",
         Utf16(u"[S]\r\na=1\r\n", true),
         {{"S", "a", "1"}},
         {{"S", "b", "2"}}},
        {"UTF-16 without a byte-order mark is ANSI text",
         Utf16(u"[S]\r\na=1\r\n").substr(2),
         {{"S", "a", nullptr}},
         {{"S", "a", "1"}}},
        {"UTF-8 with a byte-order mark",
         "\xEF\xBB\xBF[Colors]\r\nPro1=255\r\nName=\xC3\xA9\xE2\x82\xAC\xC3\xBF\r\n",
         {{"Colors", "Pro1", "255"}, {"Colors", "Name", "\xE9\x80\xFF"}},
         {{"Colors", "Pro2", "1"}, {"Colors", "Text", "\xE9"}}},
        {"the first copy of a section, its first key of a name",
         "[S]\r\na=1\r\nA=2\r\n[T]\r\nx=1\r\n[s]\r\na=3\r\nb=3\r\n",
         {{"S", "a", "1"}, {"S", "b", nullptr}, {"T", "x", "1"}},
         {{"S", "a", "8"}, {"S", "b", "9"}}},
        {"a key line without a value",
         "[Window]\r\nLeft\r\nLeft=120\r\nTop=5\r\nWidth=\r\n",
         {{"Window", "Left", nullptr}, {"Window", "Top", "5"}, {"Window", "Width", ""}},
         {{"Window", "Left", "300"}}},
        {"a value ends at NUL",
         "[Window]\r\nLeft=12\0x34\r\nTop=\"5\"\0\"\r\nWid\0th=7\r\nHeight=\0\r\n"s,
         {{"Window", "Left", "12"},
          {"Window", "Top", "5"},
          {"Window", "Wid", "7"},
          {"Window", "Height", ""}},
         {{"Window", "Left", "300"}}},
        {"names compare case-insensitively in every letter",
         "[ABCDEFGHIJKLMNOPQRSTUVWXYZ]\r\nabcdefghijklmnopqrstuvwxyz=1\r\n",
         {{"abcdefghijklmnopqrstuvwxyz", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "1"}},
         {{"abcdefghijklmnopqrstuvwxyz", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "2"}}},
        {"blanks are spaces, tabs, line breaks and Ctrl+Z",
         "  [ S ]  \r\n\t a \t=\t 1 \t\r\nb=\0012\r\n\032c\032=\0323\032\r\nd=\2404\r\n"
         "e=\v5\f\r\nf=1\032g=2\r\n",
         {{"S", "a", "1"},
          {" S ", " a ", "1"},
          {"S", "b", "\0012"},
          {"S", "c", "3"},
          {"S", "d", "\2404"},
          {"S", "e", "5"},
          {"S", "f", "1\032g=2"}},
         {{"S", "h", " 5 "}, {"S", "i", "5 "}, {"S", "j", "5\t"}}},
        {"keys before the first section",
         "a=1\r\n[S]\r\nb=2\r\n",
         {{"", "a", "1"}, {"S", "b", "2"}, {"S", "a", nullptr}},
         {{"", "c", "3"}}},
        {"section headers end at their last bracket",
         "[S]]\r\na=1\r\n[[T]\r\nb=2\r\n[U\r\nc=3\r\n[V] ;x\r\nd=4\r\n",
         {{"S]", "a", "1"},
          {"S", "a", nullptr},
          {"[T", "b", "2"},
          {"[T", "c", "3"},
          {"U", "c", nullptr},
          {"V", "d", "4"}},
         {{"S]", "a", "5"}, {"W]", "e", "6"}}},
        {"an empty file", "", {{"S", "a", nullptr}}, {{"S", "a", "1"}, {"", "b", "2"}}},
    };
}

} // namespace zqtest
