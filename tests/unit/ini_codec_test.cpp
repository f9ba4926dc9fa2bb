// The settings-file codec and accessor over files in memory.
#include <gtest/gtest.h>

#include "common/IniPlatformCases.h"
#include "toolkit/Exceptions.h"
#include "toolkit/IniCodec.h"
#include "toolkit/IniFile.h"

#include <map>
#include <random>
#include <string>
#include <vector>

using namespace zq;
using zqtest::IniCase;
using zqtest::IniQuery;

namespace {
void ExpectAnswers(const IniDocument& doc, const std::vector<IniQuery>& queries) {
    for (const IniQuery& q : queries) {
        SCOPED_TRACE(std::string(q.section) + "/" + q.key);
        auto value = doc.Get(q.section, q.key);
        if (q.value == nullptr)
            EXPECT_FALSE(value.has_value()) << *value;
        else
            EXPECT_EQ(value, std::optional<std::string>(q.value));
    }
}
} // namespace

// The answers are the platform's: the Windows tests check the same table against
// GetPrivateProfileStringA.
TEST(IniDocument, ReadsAndWritesBackAsTheProfileApiReads) {
    for (const IniCase& c : zqtest::IniPlatformCases()) {
        SCOPED_TRACE(c.name);
        IniDocument doc = IniDocument::Parse(c.bytes);
        ExpectAnswers(doc, c.queries);
        for (const IniQuery& w : c.writes)
            EXPECT_TRUE(doc.Set(w.section, w.key, w.value));
        ExpectAnswers(IniDocument::Parse(doc.Serialize()), zqtest::AfterWrites(c));
    }
}
TEST(IniInteger, DecimalHexAndInvalidText) {
    EXPECT_EQ(ParseIniInteger("4227072", 7), 4227072);
    EXPECT_EQ(ParseIniInteger("  -16777201 ", 7), -16777201);
    EXPECT_EQ(ParseIniInteger("0x0000FF", 7), 255);
    EXPECT_EQ(ParseIniInteger("0XfF", 7), 255);
    EXPECT_EQ(ParseIniInteger("0xFFFFFFFF", 7), -1);
    EXPECT_EQ(ParseIniInteger("0x", 7), 7);
    EXPECT_EQ(ParseIniInteger("0x123456789", 7), 7);
    EXPECT_EQ(ParseIniInteger("0xG1", 7), 7);
    EXPECT_EQ(ParseIniInteger("red", 7), 7);
    EXPECT_EQ(ParseIniInteger("", 7), 7);
    EXPECT_EQ(ParseIniInteger("-", 7), 7);
    EXPECT_EQ(ParseIniInteger("12abc", 7), 7);
    EXPECT_EQ(ParseIniInteger("2147483647", 7), 2147483647);
    EXPECT_EQ(ParseIniInteger("-2147483648", 7), INT32_MIN);
    EXPECT_EQ(ParseIniInteger("2147483648", 7), 7);
    EXPECT_EQ(ParseIniInteger("99999999999999999999", 7), 7);
}

TEST(IniDocument, ReadsTolerantly) {
    IniDocument d =
        IniDocument::Parse("; comment\r\n [ Colors ] \r\n  pro1 = 12 \nText=3\n[Window]\nLeft=5");
    EXPECT_EQ(d.Get("colors", "PRO1"), "12");
    EXPECT_EQ(d.Get("Colors", "Text"), "3");
    EXPECT_EQ(d.Get("Window", "left"), "5");
    EXPECT_FALSE(d.Get("Window", "Text").has_value());
    EXPECT_FALSE(d.Get("Misc", "Welcome").has_value());
}

// Every line not set stays as it was, in its order and its encoding; lines end in CR LF.
TEST(IniDocument, WritesBackEveryOtherLineInItsEncoding) {
    using zqtest::Utf16;
    const struct {
        const char* name;
        std::string before;
        std::vector<IniQuery> writes;
        std::string after;
    } cases[] = {
        {"ANSI",
         "; keep me\r\n[Colors]\r\nPro1=1\r\nOther=x\r\n\r\n[Extra]\r\nk=v\r\n",
         {{"colors", "PRO1", "2"}, {"Colors", "Pro2", "3"}, {"Misc", "Welcome", "0"}},
         "; keep me\r\n[Colors]\r\nPro1=2\r\nOther=x\r\nPro2=3\r\n\r\n[Extra]\r\nk=v\r\n"
         "[Misc]\r\nWelcome=0\r\n"},
        {"CR line ends", "[S]\ra=1\r; x", {{"S", "a", "2"}}, "[S]\r\na=2\r\n; x\r\n"},
        {"UTF-16LE",
         Utf16(u"[Other]\r\nName=\u4E2D\r\n[S]\r\na=1\r\n"),
         {{"S", "b", "\xE9"}},
         Utf16(u"[Other]\r\nName=\u4E2D\r\n[S]\r\na=1\r\nb=\u00E9\r\n")},
        {"UTF-16BE",
         Utf16(u"[S]\n\u4E2D\n", true),
         {{"S", "a", "1"}},
         Utf16(u"[S]\r\n\u4E2D\r\na=1\r\n", true)},
        {"UTF-16 with a last odd byte",
         Utf16(u"[S]\r\n") + "x",
         {{"S", "a", "1"}},
         Utf16(u"[S]\r\na=1\r\n")},
        {"UTF-8 with a byte-order mark",
         "\xEF\xBB\xBF[S]\r\nn=\xF0\x9F\x98\x80\xFF\r\n",
         {{"S", "e", "\x80\xE9"}},
         "\xEF\xBB\xBF[S]\r\nn=\xF0\x9F\x98\x80\xFF\r\ne=\xE2\x82\xAC\xC3\xA9\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        IniDocument d = IniDocument::Parse(c.before);
        for (const IniQuery& w : c.writes)
            EXPECT_TRUE(d.Set(w.section, w.key, w.value));
        EXPECT_EQ(d.Serialize(), c.after);
        EXPECT_EQ(IniDocument::Parse(c.after).Serialize(), c.after);
    }
}

// A key the file's lines cannot hold as given would read back as something else (or inject
// lines): the document refuses it and stays as it was; the accessor reports a failed write.
TEST(IniDocument, RefusesWhatALineCannotHold) {
    using namespace std::string_view_literals;
    const std::string file = "[Misc]\r\nk=0\r\n";
    const struct {
        std::string_view section, key, value;
    } refused[] = {
        {"Misc", "", "1"},      {"Misc", " \t", "1"},      {"Misc", "a=b", "1"},
        {"Misc", "[k]", "1"},   {"Misc", "[k", "1"},       {"Misc", "a\nb", "1"},
        {"Misc", "a\rb", "1"},  {"Mi\nsc", "k", "1"},      {"Misc", "k", "1\r\n[Window]\r\nTop=5"},
        {"Misc", "k", "1\n2"},  {"Misc", "k", "1\r2"},     {"Misc", "k\0x"sv, "1"},
        {"Mi\0sc"sv, "k", "1"}, {"Misc", "k", "1\0002"sv}, {"", "\xFF\xFEk", "1"},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(std::string(r.section) + "/" + std::string(r.key) + "/" +
                     std::string(r.value));
        IniDocument d = IniDocument::Parse(file);
        EXPECT_FALSE(d.Set(r.section, r.key, r.value));
        EXPECT_EQ(d.Serialize(), file);
    }
    // Unusual but representable: they read back as written (blanks around names dropped).
    IniDocument d = IniDocument::Parse(file);
    EXPECT_TRUE(d.Set(" [a[b] ", "k]; #", " a=b;c "));
    EXPECT_TRUE(d.Set("Misc", ";k", "'1'"));
    const IniDocument back = IniDocument::Parse(d.Serialize());
    EXPECT_EQ(back.Get("[a[b]", "k]; #"), " a=b;c ");
    EXPECT_EQ(back.Get("Misc", ";k"), "'1'");

    // A Unicode file takes only what the code page carries there and back.
    struct Ascii : TCodePage {
        void AppendAnsi(std::u16string_view units, std::string& out) const override {
            for (char16_t u : units)
                out += u < 0x80 ? static_cast<char>(u) : '?';
        }
        void AppendUnicode(std::string_view ansi, std::u16string& out) const override {
            for (char c : ansi)
                out += static_cast<unsigned char>(c) < 0x80 ? char16_t(c) : u'\xFFFD';
        }
    } ascii;
    const std::string unicode = zqtest::Utf16(u"[Misc]\r\nk=0\r\n");
    IniDocument wide = IniDocument::Parse(unicode, ascii);
    EXPECT_FALSE(wide.Set("Misc", "k", "\xE9"));
    EXPECT_EQ(wide.Serialize(), unicode);
}

namespace {
struct ScriptedStore : IFileStore {
    FileReadResult::Status status = FileReadResult::Ok;
    std::string data;
    int writes = 0;
    FileReadResult Read(const std::string&) override {
        return {status, status == FileReadResult::Ok ? data : std::string()};
    }
    bool Write(const std::string&, const std::string& text) override {
        ++writes;
        data = text;
        return true;
    }
};
} // namespace

// A file locked by another program (or failing to read) when first read gave the defaults; its
// own content is never replaced by them, whether or not it can be read later.
TEST(IniFile, AFileThatCouldNotBeReadIsNeverWritten) {
    ScriptedStore store;
    store.data = "[Window]\r\nLeft=77\r\n";
    store.status = FileReadResult::Failed;
    TIniFile ini("z.ini", store);
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 300), 300);
    ini.WriteInteger("Window", "Left", 300);
    EXPECT_THROW(ini.UpdateFile(), EIniFileException);
    store.status = FileReadResult::Ok;
    EXPECT_THROW(ini.UpdateFile(), EIniFileException);
    EXPECT_EQ(store.writes, 0);
    EXPECT_EQ(store.data, "[Window]\r\nLeft=77\r\n");
}

// Reads come from the first read and the accessor's own writes; the update reads the file again,
// so that what another program wrote in the meantime stays.
TEST(IniFile, TheUpdateKeepsWhatOthersWroteSinceTheFirstRead) {
    ScriptedStore store;
    store.data = "[Window]\r\nLeft=77\r\n";
    TIniFile ini("z.ini", store);
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 0), 77);
    store.data = "[Window]\r\nLeft=78\r\n[Other]\r\nk=v\r\n";
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 0), 77);
    ini.WriteInteger("Window", "Top", 5);
    EXPECT_EQ(ini.ReadInteger("Window", "Top", 0), 5);
    EXPECT_EQ(store.writes, 0);
    ini.UpdateFile();
    EXPECT_EQ(store.data, "[Window]\r\nLeft=78\r\nTop=5\r\n[Other]\r\nk=v\r\n");
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 0), 78);
    ini.UpdateFile(); // nothing new: nothing written
    EXPECT_EQ(store.writes, 1);
}

TEST(IniFile, AKeyThatCannotBeWrittenRaisesAndLeavesTheFile) {
    ScriptedStore store;
    store.data = "[Misc]\r\nk=0\r\n";
    TIniFile ini("z.ini", store);
    try {
        ini.WriteString("Misc", "k", "1\r\nTop=5");
        FAIL() << "no failure";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to z.ini");
    }
    ini.UpdateFile();
    EXPECT_EQ(store.data, "[Misc]\r\nk=0\r\n");
}

// Settings read from a file the program cannot write go to another: the first update makes it
// from the first file (its other lines kept), which stays as it was; later updates are the new
// file's. Where the first file could not be read, nothing is written.
TEST(IniFile, SettingsReadFromOneFileAreWrittenToAnother) {
    struct : IFileStore {
        std::map<std::string, FileReadResult> files;
        FileReadResult Read(const std::string& path) override { return files[path]; }
        bool Write(const std::string& path, const std::string& text) override {
            files[path] = {FileReadResult::Ok, text};
            return true;
        }
    } store;
    store.files["beside"] = {FileReadResult::Ok, "; mine\r\n[Window]\r\nLeft=77\r\n"};
    store.files["locked"].status = FileReadResult::Failed;
    TIniFile ini("beside", "roaming", store), unread("locked", "elsewhere", store);
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 0), 77);
    for (const int top : {5, 6}) {
        // What others write into the first file counts until the first update.
        store.files["beside"].data += "k" + std::to_string(top) + "=1\r\n";
        ini.WriteInteger("Window", "Top", top);
        ini.UpdateFile();
    }
    EXPECT_EQ(store.files["roaming"].data, "; mine\r\n[Window]\r\nLeft=77\r\nk5=1\r\nTop=6\r\n");
    unread.WriteInteger("Window", "Top", 5);
    EXPECT_THROW(unread.UpdateFile(), EIniFileException);
    EXPECT_EQ(store.files["elsewhere"].data, "");
}

TEST(IniDocument, SurvivesArbitraryBytes) {
    std::mt19937 rng(1234);
    // Every byte, and the ones that shape a file more often.
    std::string alphabet(256, '\0');
    for (int i = 0; i < 256; ++i)
        alphabet[static_cast<std::size_t>(i)] = static_cast<char>(i);
    for (int i = 0; i < 8; ++i)
        alphabet += "[]=\r\n \"'ab";
    const char* const marks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    for (int round = 0; round < 2000; ++round) {
        std::string text = marks[round % 4];
        int len = static_cast<int>(rng() % 200);
        for (int i = 0; i < len; ++i)
            text += alphabet[rng() % alphabet.size()];
        IniDocument d = IniDocument::Parse(text);
        d.Set("a", "b", "c");
        EXPECT_EQ(IniDocument::Parse(d.Serialize()).Get("A", "B"), "c");
        (void)ParseIniInteger(text, 0);
    }
}
