// The settings-file accessor on real files.
#include <gtest/gtest.h>
#include <windows.h>

#include "Harness.h"
#include "toolkit/Exceptions.h"
#include "toolkit/FileStore.h"

using namespace zq;

namespace {
std::string Slurp(const std::string& path) {
    FileReadResult r = SystemFileStore().Read(path);
    return r.data;
}
bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
} // namespace

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
    try {
        ini.WriteInteger("Window", "Left", 1);
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
    EXPECT_THROW(ini.WriteInteger("Window", "Left", 1), EIniFileException);
}
