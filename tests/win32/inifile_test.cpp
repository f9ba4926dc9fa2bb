// The settings-file accessor on real files.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

#include "Harness.h"
#include "common/IniPlatformCases.h"
#include "toolkit/Exceptions.h"
#include "toolkit/FileStore.h"
#include "toolkit/IniCodec.h"
#include "toolkit/WideText.h"

using namespace zq;

namespace {
std::string Slurp(const std::string& path) {
    FileReadResult r = SystemFileStore().Read(path);
    return r.data;
}
bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// What the platform's profile API reads; nullopt where it gives the caller's default.
std::optional<std::string> PlatformRead(const std::string& path, const char* section,
                                        const char* key) {
    static const char kDefault[] = "\001default";
    char buffer[4096];
    DWORD n = GetPrivateProfileStringA(section, key, kDefault, buffer, sizeof buffer, path.c_str());
    std::string value(buffer, n);
    return value == kDefault ? std::nullopt : std::optional<std::string>(value);
}

std::optional<std::string> Expected(const zqtest::IniQuery& q) {
    return q.value != nullptr ? std::optional<std::string>(q.value) : std::nullopt;
}
} // namespace

// The table's answers are the platform's: GetPrivateProfileStringA reads them from each file as
// it is and again once the codec has written keys into it (each state a file of its own name:
// the profile API caches what it read by name and time stamp). The codec, with the system's
// code page, reads the same.
TEST(IniPlatform, TheProfileApiReadsTheTableAnswersBeforeAndAfterTheCodecWrites) {
    const std::string dir = zqtest::TempFolder("ini-platform");
    int n = 0;
    for (const zqtest::IniCase& c : zqtest::IniPlatformCases()) {
        SCOPED_TRACE(c.name);
        const std::string before = dir + std::to_string(++n) + ".ini";
        const std::string after = dir + std::to_string(n) + "-written.ini";
        ASSERT_TRUE(SystemFileStore().Write(before, c.bytes));
        IniDocument doc = IniDocument::Parse(c.bytes, SystemFileStore().CodePage());
        for (const zqtest::IniQuery& q : c.queries) {
            SCOPED_TRACE(std::string(q.section) + "/" + q.key);
            EXPECT_EQ(PlatformRead(before, q.section, q.key), Expected(q));
            EXPECT_EQ(doc.Get(q.section, q.key), Expected(q));
        }
        for (const zqtest::IniQuery& w : c.writes)
            EXPECT_TRUE(doc.Set(w.section, w.key, w.value));
        ASSERT_TRUE(SystemFileStore().Write(after, doc.Serialize()));
        for (const zqtest::IniQuery& q : zqtest::AfterWrites(c)) {
            SCOPED_TRACE(std::string("written: ") + q.section + "/" + q.key);
            EXPECT_EQ(PlatformRead(after, q.section, q.key), Expected(q));
        }
    }
}

TEST(IniFileOnDisk, AFileOfFiveMegabytesIsReadAndWritten) {
    const std::string path = zqtest::TempFolder("ini-large") + "zentiq.ini";
    std::string text = "[Window]\r\nLeft=77\r\n[Log]\r\n";
    while (text.size() < 5u << 20)
        text += "12:00:00 something was logged here by mistake, line after line\r\n";
    ASSERT_TRUE(SystemFileStore().Write(path, text));
    TIniFile ini(path, SystemFileStore());
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 0), 77);
    ini.WriteInteger("Window", "Top", 5);
    ini.UpdateFile();
    const std::string written = Slurp(path);
    EXPECT_EQ(written.size(), text.size() + 7);
    const std::string head = "[Window]\r\nLeft=77\r\nTop=5\r\n[Log]\r\n";
    EXPECT_EQ(written.substr(0, head.size()), head);
}

TEST(IniFileOnDisk, WritesCreateTheFileAndReadBack) {
    std::string dir = zqtest::TempFolder("ini-roundtrip");
    std::string path = dir + "zentiq.ini";
    TIniFile ini(path, SystemFileStore());
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 300), 300);
    ini.WriteInteger("Window", "Left", -5);
    ini.WriteBool("Misc", "Welcome", false);
    ini.WriteInteger("Colors", "Background", static_cast<int>(clBtnFace));
    EXPECT_EQ(ini.ReadInteger("window", "LEFT", 300), -5);
    EXPECT_FALSE(ini.ReadBool("Misc", "Welcome", true));
    EXPECT_EQ(static_cast<TColor>(ini.ReadInteger("Colors", "Background", 0)), clBtnFace);
    EXPECT_FALSE(Exists(path));
    ini.UpdateFile();
    EXPECT_EQ(Slurp(path), "[Window]\r\nLeft=-5\r\n[Misc]\r\nWelcome=0\r\n[Colors]\r\n"
                           "Background=-2147483633\r\n");
    EXPECT_FALSE(Exists(path + ".tmp"));
}

TEST(IniFileOnDisk, KeepsForeignLinesWhenRewriting) {
    std::string dir = zqtest::TempFolder("ini-foreign");
    std::string path = dir + "zentiq.ini";
    ASSERT_TRUE(SystemFileStore().Write(path, "; mine\r\n[Other]\r\nx=1\r\n[Window]\r\nTop=4\r\n"));
    TIniFile ini(path, SystemFileStore());
    ini.WriteInteger("Window", "Top", 9);
    ini.UpdateFile();
    EXPECT_EQ(Slurp(path), "; mine\r\n[Other]\r\nx=1\r\n[Window]\r\nTop=9\r\n");
}

TEST(IniFileOnDisk, ReadOnlyFileRaisesAndStaysIntact) {
    std::string dir = zqtest::TempFolder("ini-readonly");
    std::string path = dir + "zentiq.ini";
    const std::string original = "[Window]\r\nLeft=77\r\n";
    ASSERT_TRUE(SystemFileStore().Write(path, original));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    TIniFile ini(path, SystemFileStore());
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 0), 77);
    ini.WriteInteger("Window", "Left", 1);
    try {
        ini.UpdateFile();
        FAIL() << "the write succeeded";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + path);
    }
    EXPECT_EQ(Slurp(path), original);
    EXPECT_FALSE(Exists(path + ".tmp"));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(IniFileOnDisk, MissingFolderRaises) {
    TIniFile ini("C:\\no-such-folder-zq\\zentiq.ini", SystemFileStore());
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 3), 3);
    ini.WriteInteger("Window", "Left", 1);
    EXPECT_THROW(ini.UpdateFile(), EIniFileException);
}

// Another program holds the file open without sharing it: the store tells that from a missing
// file, and the accessor, which read only defaults, leaves it alone even once it is free.
TEST(IniFileOnDisk, AFileHeldOpenWithoutSharingIsUnreadableAndNeverOverwritten) {
    const std::string path = zqtest::TempFolder("ini-held") + "zentiq.ini";
    const std::string original = "[Window]\r\nLeft=77\r\n";
    ASSERT_TRUE(SystemFileStore().Write(path, original));
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SystemFileStore().Read(path).status, FileReadResult::Failed);
    TIniFile ini(path, SystemFileStore());
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 300), 300);
    ini.WriteInteger("Window", "Left", 300);
    EXPECT_THROW(ini.UpdateFile(), EIniFileException);
    CloseHandle(held);
    EXPECT_THROW(ini.UpdateFile(), EIniFileException);
    EXPECT_EQ(Slurp(path), original);
    EXPECT_FALSE(Exists(path + ".tmp"));
}

// Folders named in scripts the ANSI code page lacks (Polish, Japanese), deeper than 260
// characters: the settings are written, replaced and read there.
TEST(FileStoreOnDisk, ANameInAnyScriptPast260CharactersIsWrittenAndRead) {
    std::string path = zqtest::TempFolder("paths");
    for (const std::string& part :
         {std::string("\xC5\x81\xC3\xB3\x64\xC5\xBA-\xE6\x97\xA5"), std::string(90, 'a'),
          std::string(90, 'b'), std::string(90, 'c')})
        ASSERT_TRUE(MakeFolder(path += part + "\\"));
    path += "zentiq.ini";
    DeleteFileW(WideChars(SystemPath(path))); // from an earlier run
    for (const char* top : {"150", "151"}) {
        TIniFile ini(path, SystemFileStore());
        ini.WriteString("Window", "Top", top);
        ini.UpdateFile();
    }
    EXPECT_EQ(Slurp(path), "[Window]\r\nTop=151\r\n");
    EXPECT_FALSE(PathExists(TemporaryFileOf(path)));
}

// What the choice of the settings place asks: whether a file refuses being replaced (a file
// another program holds open does not) and whether its folder takes a new file (the trial
// leaves nothing behind).
TEST(FileStoreOnDisk, WhetherAFileOrItsFolderRefusesWriting) {
    const std::string path = zqtest::TempFolder("refusing") + "zentiq.ini";
    ASSERT_TRUE(SystemFileStore().Write(path, "[Window]\r\n"));
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(FileRefusesWriting(path));
    CloseHandle(held);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(FileRefusesWriting(path));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(CanMakeFileBeside(path));
    EXPECT_FALSE(Exists(TemporaryFileOf(path)));
    EXPECT_FALSE(CanMakeFileBeside(path + "\\missing\\zentiq.ini"));
}
