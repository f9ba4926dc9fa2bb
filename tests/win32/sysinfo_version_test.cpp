// Version texts read through the run-time loaded version functions, and the DLL search.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>

#include "Harness.h"
#include "product/ProductInfo.h"
#include "forms/AboutText.h"
#include "sysinfo/FileVersionInfo.h"
#include "toolkit/SystemLibrary.h"
#include "toolkit/WideText.h"

using namespace zq;
using zqtest::Beside;

TEST(FileVersion, TextOfTheProgramAPlainFileAndABuiltFile) {
    const std::string folder = zqtest::TempFolder("version");
    const std::string plain = folder + "plain.txt";
    std::ofstream(plain) << "no resources here\n";
    // The program under a name in scripts the ANSI code page lacks.
    const std::string renamed =
        folder + "\xC5\x81\xC3\xB3\x64\xC5\xBA-\xE6\x97\xA5\xE6\x9C\xAC.exe";
    ASSERT_TRUE(
        CopyFileW(WideChars(Utf16(Beside(ZQ_TEST_ZENTIQ_EXE))), WideChars(Utf16(renamed)), FALSE));
    struct Case {
        std::string file;
        std::string text;
        std::string caption;
    };
    const Case cases[] = {
        {Beside(ZQ_TEST_ZENTIQ_EXE), "1.1.1.5", "Version 1.1.1.5"},
        {renamed, "1.1.1.5", "Version 1.1.1.5"},
        {plain, "", "Version 1.0.0.x"},
        {Beside("zq_versioned.dll"), "2.10.0.300", "Version 2.10.0.300"},
        {plain + ".missing", "", "Version 1.0.0.x"},
        {"", "", "Version 1.0.0.x"},
    };
    for (const Case& c : cases) {
        const std::string text = FileVersionText(c.file);
        EXPECT_EQ(text, c.text) << c.file;
        EXPECT_EQ(VersionCaption(text), c.caption) << c.file;
    }
    // The program's version is the build's, as file and as product version.
    EXPECT_EQ(std::string(product::Version), "1.1.1.5");
    TFixedVersion version;
    ASSERT_TRUE(ReadFixedVersion(Beside(ZQ_TEST_ZENTIQ_EXE), version));
    EXPECT_EQ(version.ProductVersionMS, 0x00010001u);
    EXPECT_EQ(version.ProductVersionLS, 0x00010005u);
    // So is the manifest's assembly version.
    HMODULE program =
        LoadLibraryExA(Beside(ZQ_TEST_ZENTIQ_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC manifest = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(program, manifest))),
                           SizeofResource(program, manifest));
    EXPECT_NE(text.find("<assemblyIdentity version=\"1.1.1.5\""), std::string::npos) << text;
    // No virtualisation of files and registry; paths past 260 characters where the system allows.
    EXPECT_NE(text.find("<requestedExecutionLevel level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(text.find(">true</longPathAware>"), std::string::npos);
    FreeLibrary(program);
}

TEST(FileVersion, SystemFileIsReadAndTheLibraryReleased) {
    const bool loadedBefore = GetModuleHandleA("version.dll") != nullptr;
    const std::string kernel = SystemDirectory() + "kernel32.dll";
    const std::string text = FileVersionText(kernel);
    EXPECT_FALSE(text.empty()) << kernel;
    EXPECT_EQ(std::count(text.begin(), text.end(), '.'), 3) << text;
    if (!loadedBefore) {
        EXPECT_EQ(GetModuleHandleA("version.dll"), nullptr);
    }
}

TEST(DllSearch, APlantedDllIsNoLongerFoundByName) {
    const std::string folder = zqtest::TempFolder("planted");
    ASSERT_TRUE(
        CopyFileA(Beside("zq_versioned.dll").c_str(), (folder + "zqplanted.dll").c_str(), FALSE));
    char saved[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));

    HMODULE planted = LoadLibraryA("zqplanted.dll");
    EXPECT_NE(planted, nullptr) << "the current directory is searched before the restriction";
    if (planted)
        FreeLibrary(planted);

    RestrictDllSearch();
    planted = LoadLibraryA("zqplanted.dll");
    EXPECT_EQ(planted, nullptr);
    if (planted)
        FreeLibrary(planted);

    // System DLLs are still found, by name and by full path.
    HMODULE user32 = LoadLibraryA("USER32.DLL");
    EXPECT_NE(user32, nullptr);
    FreeLibrary(user32);
    EXPECT_TRUE(TSystemLibrary("version.dll").Loaded());
    EXPECT_FALSE(TSystemLibrary("zqplanted.dll").Loaded()); // not in the system directory

    SetCurrentDirectoryA(saved);
}
