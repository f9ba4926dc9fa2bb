// What the About box is built from: the copyright paragraph in its label's size, and the shell
// opening an address.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "Harness.h"
#include "product/ProductInfo.h"
#include "product/Resources.h"
#include "controls/JustifiedLabelPaint.h"
#include "forms/ShellOpen.h"
#include "sysinfo/FileVersionInfo.h"

using namespace zq;
using zqtest::Beside;

TEST(AboutCopyright, FitsItsJustifiedLabel) {
    TFont font; // the dialog font: MS Sans Serif, 8 points
    TBitmap bitmap;
    bitmap.SetSize(254, 49);
    TJustifiedTextPainter painter(bitmap.Canvas(), font, true, 0);
    const std::vector<TLineObj> lines = painter.Break(product::Copyright, 254);
    std::string shown;
    for (const TLineObj& line : lines)
        shown += "\n" + line.Text;
    EXPECT_LE(painter.LineHeight() * static_cast<int>(lines.size()), 49) << shown;
    EXPECT_LE(JustifiedAutoSizeHeight(font, product::Copyright, 254), 49);
    ASSERT_GE(lines.size(), 2u);
    for (std::size_t n = 0; n + 1 < lines.size(); ++n)
        EXPECT_GT(lines[n].GapCount, 0) << lines[n].Text; // stretched, not cut
}

namespace {

// A URL scheme of the test's own, handled by the recorder program (registered with the
// machine's classes: Wine's shell does not read the current user's).
class TTestScheme {
public:
    static constexpr const char* Key = "zentiq-test";
    TTestScheme(const std::string& recorder, const std::string& output) {
        HKEY key = nullptr;
        RegCreateKeyA(HKEY_CLASSES_ROOT, Key, &key);
        RegSetValueExA(key, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
        const std::string command = '"' + recorder + "\" \"" + output + "\" \"%1\"";
        RegSetValueA(key, "shell\\open\\command", REG_SZ, command.c_str(),
                     static_cast<DWORD>(command.size()));
        RegCloseKey(key);
    }
    ~TTestScheme() {
        for (const char* sub : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""})
            RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(Key) + sub).c_str());
    }
};

} // namespace

TEST(ShellOpen, TheSystemShellOpensTheAddressWithItsHandler) {
    const std::string output = zqtest::TempFolder("shell") + "opened.txt";
    TTestScheme scheme(Beside("zq_shell_recorder.exe"), output);
    const std::string address = "zentiq-test://zentiq.example.org/about?page=1";
    ShellOpener().Open(address);
    std::string opened;
    for (int i = 0; i < 100 && opened.empty(); ++i) {
        Sleep(100);
        std::ifstream in(output, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        opened = text.str();
    }
    EXPECT_EQ(opened, address);
    EXPECT_TRUE(zqtest::TakeExceptions().empty());
}

TEST(AboutPictures, BitmapResourcesAreDrawnIntoBitmapsAtTheirFirstUse) {
    HMODULE program =
        LoadLibraryExA(Beside(ZQ_TEST_ZENTIQ_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const long handles = LiveHandleCount(HandleKind::Gdi);
    {
        TBitmap banner, lettering;
        ASSERT_TRUE(banner.LoadFromResource(program, kBannerBitmap));
        ASSERT_TRUE(lettering.LoadFromResource(program, kLetteringBitmap));
        EXPECT_EQ(LiveHandleCount(HandleKind::Gdi), handles); // the pixels come at first use
        EXPECT_EQ(std::make_pair(banner.Width(), banner.Height()), std::make_pair(212, 56));
        EXPECT_EQ(std::make_pair(lettering.Width(), lettering.Height()), std::make_pair(117, 54));
        // Top-down: the lettering's transparent bottom-left corner, the stroke of its Z.
        EXPECT_EQ(lettering.PixelAt(0, 53), kLetteringTransparent);
        EXPECT_NE(lettering.PixelAt(12, 27), kLetteringTransparent);
        // Every pixel as drawn (a hash over the rows from the top, left to right).
        for (const auto& [picture, hash] :
             {std::pair<TBitmap*, std::uint32_t>{&banner, 0x3f36dcf9u},
              {&lettering, 0xff4d0bbbu}}) {
            std::uint32_t sum = 0;
            for (int y = 0; y < picture->Height(); ++y)
                for (int x = 0; x < picture->Width(); ++x)
                    sum = sum * 31 + picture->PixelAt(x, y);
            EXPECT_EQ(sum, hash) << picture->Width();
        }
        EXPECT_FALSE(banner.LoadFromResource(program, 999));
        EXPECT_TRUE(banner.Empty());
    }
    EXPECT_EQ(LiveHandleCount(HandleKind::Gdi), handles);
    FreeLibrary(program);
}
