#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Graphics.h"
#include "toolkit/Handles.h"
#include "tray/TextIconLayout.h"
#include "tray/TextTrayIcon.h"
#include "tray_support.h"

using namespace zq;
using namespace zq::test;

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);

void SetUpIcon(TTextTrayIcon& icon) {
    TFont font;
    font.SetName("MS Sans Serif");
    font.SetHeight(-11);
    font.SetColor(clBlack);
    icon.SetFont(font);
    icon.SetColor(clWhite);
}

// The image the layout prescribes, drawn independently: a white square with every line of the
// text at its computed place in black.
void DrawExpected(TBitmap& out, const std::string& text, int dx = 0, int dy = 0) {
    out.SetSize(16, 16);
    TCanvas& c = out.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect({0, 0, 16, 16});
    c.Font().SetName("MS Sans Serif");
    c.Font().SetHeight(-11);
    c.Font().SetColor(clBlack);
    const SIZE size = c.TextExtent(text);
    const int x = (15 - size.cx) / 2 + dx;
    const int y = (15 - size.cy) / 2 + dy;
    if (!text.empty())
        c.TextOut(x, y, text);
}

// The pixels of the shell's icon, drawn over grey so that transparency would show.
void DrawIcon(TBitmap& out, HICON icon) {
    out.SetSize(16, 16);
    out.Canvas().Brush().SetColor(clGray);
    out.Canvas().FillRect({0, 0, 16, 16});
    DrawIconEx(out.Canvas().Handle(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
}

int DifferingPixels(const TBitmap& a, const TBitmap& b) {
    int n = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            n += a.PixelAt(x, y) != b.PixelAt(x, y) ? 1 : 0;
    return n;
}

// The shell's icon drawn over a square of `background` (all of it at `flags` DI_MASK: white where
// the mask keeps the screen, black elsewhere).
void DrawIconOver(TBitmap& out, HICON icon, int size, TColor background, UINT flags = DI_NORMAL) {
    out.SetSize(size, size);
    out.Canvas().Brush().SetColor(background);
    out.Canvas().FillRect({0, 0, size, size});
    DrawIconEx(out.Canvas().Handle(), 0, 0, icon, size, size, 0, nullptr, flags);
}

// The digits over `background` in `ink` as DrawDigits covers them; every channel within one step.
void ExpectDigitsOver(TBitmap& shown, const std::string& text, COLORREF background, COLORREF ink) {
    const int size = shown.Width();
    std::vector<TDigitBox> boxes;
    std::vector<std::uint8_t> coverage;
    DrawDigits(text, size, boxes, coverage);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const unsigned a = coverage[y * size + x];
            const COLORREF p = shown.PixelAt(x, y);
            for (int shift = 0; shift < 24; shift += 8) {
                const int want = static_cast<int>(
                    ((background >> shift & 0xFF) * (255 - a) + (ink >> shift & 0xFF) * a + 127) /
                    255);
                ASSERT_LE(std::abs(static_cast<int>(p >> shift & 0xFF) - want), 1)
                    << '"' << text << "\" " << x << "," << y << " coverage " << a;
            }
        }
    }
}

// SystemUsesLightTheme as the test sets it; the value as it was comes back at the end.
class TThemeValue {
public:
    TThemeValue() {
        RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &FKey,
                        nullptr);
        DWORD size = sizeof FOld;
        FHad = RegQueryValueExA(FKey, kValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&FOld),
                                &size) == ERROR_SUCCESS;
    }
    ~TThemeValue() {
        if (FHad)
            Set(FOld);
        else
            Remove();
        RegCloseKey(FKey);
    }
    void Set(DWORD light) {
        RegSetValueExA(FKey, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&light),
                       sizeof light);
    }
    void Remove() { RegDeleteValueA(FKey, kValue); }

private:
    static constexpr char kKey[] =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
    static constexpr char kValue[] = "SystemUsesLightTheme";
    HKEY FKey = nullptr;
    DWORD FOld = 0;
    bool FHad = false;
};

// What the shell is told when the user changes the theme.
void BroadcastThemeChange() {
    SendMessageA(Application->Handle(), WM_SETTINGCHANGE, 0,
                 reinterpret_cast<LPARAM>("ImmersiveColorSet"));
}

class TextTrayIcon : public ::testing::Test {
protected:
    TAppScope app;
    TRecordingShell shell;
};

} // namespace

TEST_F(TextTrayIcon, DrawsTheTextWhereTheLayoutPutsIt) {
    TTextTrayIcon icon(nullptr);
    SetUpIcon(icon);
    icon.SetText("37");

    TBitmap expected;
    DrawExpected(expected, "37");
    EXPECT_EQ(DifferingPixels(icon.TextBitmap(), expected), 0);

    // Ink lies inside the text cell the layout computed, and there is some.
    const SIZE size = expected.Canvas().TextExtent("37");
    const int x0 = (15 - size.cx) / 2;
    const int y0 = (15 - size.cy) / 2;
    int ink = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const COLORREF p = icon.TextBitmap().PixelAt(x, y);
            if (p == White)
                continue;
            ++ink;
            EXPECT_TRUE(x >= x0 && x < x0 + size.cx && y >= y0 && y < y0 + size.cy)
                << x << "," << y;
        }
    }
    EXPECT_GT(ink, 10);

    // The icon handed to the shell shows exactly that image, opaque.
    ASSERT_FALSE(shell.Calls.empty());
    EXPECT_EQ(shell.Calls.back().Message, tray::NimModify);
    EXPECT_EQ(shell.Calls.back().Data.hIcon,
              static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(icon.Icon().Handle())));
    TBitmap shown;
    DrawIcon(shown, icon.Icon().Handle());
    EXPECT_EQ(DifferingPixels(shown, expected), 0);
}

TEST_F(TextTrayIcon, EmptyTextIsPlainColourAndBorderFramesIt) {
    TTextTrayIcon icon(nullptr);
    SetUpIcon(icon);
    icon.SetText("");
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(icon.TextBitmap().PixelAt(x, y), White) << x << "," << y;

    icon.SetBorderColor(clRed);
    icon.SetBorder(true);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool edge = x == 0 || y == 0 || x == 15 || y == 15;
            ASSERT_EQ(icon.TextBitmap().PixelAt(x, y), edge ? RGB(255, 0, 0) : White)
                << x << "," << y;
        }
    }
    TBitmap shown;
    DrawIcon(shown, icon.Icon().Handle());
    EXPECT_EQ(DifferingPixels(shown, icon.TextBitmap()), 0);
}

TEST_F(TextTrayIcon, OffsetsMoveTheTextAndMultiLineTextIsLaidOutAsABlock) {
    TTextTrayIcon icon(nullptr);
    SetUpIcon(icon);
    icon.SetText("8");
    icon.Options().SetOffsetX(3);
    icon.Options().SetOffsetY(-2);
    TBitmap expected;
    DrawExpected(expected, "8", 3, -2);
    EXPECT_EQ(DifferingPixels(icon.TextBitmap(), expected), 0);

    icon.Options().SetOffsetX(0);
    icon.Options().SetOffsetY(0);
    icon.Options().SetLineDistance(-4);
    icon.SetText("1\r2");
    TBitmap block;
    block.SetSize(16, 16);
    TCanvas& c = block.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect({0, 0, 16, 16});
    c.Font().Assign(icon.Font());
    const int h = c.TextExtent("\r2").cy - 4;
    const int top = (15 - 2 * h) / 2;
    c.TextOut((15 - c.TextExtent("1").cx) / 2, top, "1");
    c.TextOut((15 - c.TextExtent("2").cx) / 2, top + h, "2");
    EXPECT_EQ(DifferingPixels(icon.TextBitmap(), block), 0);
}

TEST_F(TextTrayIcon, EverySetterRebuildsButAnUnchangedTextOrOffsetDoesNot) {
    TTextTrayIcon icon(nullptr);
    EXPECT_TRUE(shell.Calls.empty()); // the constructor draws nothing
    auto modifies = [&] { return shell.Count(tray::NimModify); };

    icon.SetText("5");
    EXPECT_EQ(modifies(), 1);
    icon.SetText("5");
    EXPECT_EQ(modifies(), 1);
    icon.Options().SetOffsetX(0);
    EXPECT_EQ(modifies(), 1);
    icon.Options().SetOffsetX(1);
    EXPECT_EQ(modifies(), 2);
    icon.Font().SetColor(clRed);
    EXPECT_EQ(modifies(), 3);
    icon.SetColor(clWhite);
    icon.SetBorder(true);
    icon.SetBorderColor(clBlue);
    EXPECT_EQ(modifies(), 6);

    TOffsetOptions same;
    same.SetOffsetX(1);
    icon.SetOptions(same);
    EXPECT_EQ(modifies(), 7);
    EXPECT_EQ(icon.Options().OffsetX(), 1);

    icon.SetCycleIcons(true);
    icon.SetText("6");
    EXPECT_FALSE(icon.CycleIcons());
}

TEST_F(TextTrayIcon, AHiddenIconIsDrawnWhenItIsShownAgain) {
    TTextTrayIcon icon(nullptr);
    SetUpIcon(icon);
    icon.SetText("1");
    icon.SetIconVisible(false);
    const std::size_t calls = shell.Calls.size();
    for (int i = 0; i < 50; ++i)
        icon.SetText(std::to_string(i));
    icon.SetBorderColor(clRed);
    icon.SetBorder(true);
    EXPECT_EQ(shell.Calls.size(), calls); // nothing handed to the shell while hidden

    icon.SetIconVisible(true);
    ASSERT_EQ(shell.Calls.size(), calls + 1);
    EXPECT_EQ(shell.Calls.back().Message, tray::NimAdd);
    EXPECT_EQ(shell.Calls.back().Data.hIcon,
              static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(icon.Icon().Handle())));
    TBitmap expected;
    DrawExpected(expected, "49");
    TBitmap shown;
    DrawIcon(shown, icon.Icon().Handle());
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool edge = x == 0 || y == 0 || x == 15 || y == 15;
            ASSERT_EQ(shown.PixelAt(x, y), edge ? RGB(255, 0, 0) : expected.PixelAt(x, y))
                << x << "," << y;
        }
}

TEST_F(TextTrayIcon, BackgroundIconShowsWhereTheImageHasTheBackgroundColour) {
    TTextTrayIcon icon(nullptr);
    SetUpIcon(icon);
    TBitmap green;
    green.SetSize(16, 16);
    green.Canvas().Brush().SetColor(clLime);
    green.Canvas().FillRect({0, 0, 16, 16});
    TImageList list(16, 16);
    list.AddMasked(green, clNone);
    TIcon background;
    list.GetIcon(0, background);

    icon.SetText("4");
    icon.SetBackgroundIcon(background);
    TBitmap shown;
    DrawIcon(shown, icon.Icon().Handle());
    int text = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const COLORREF drawn = icon.TextBitmap().PixelAt(x, y);
            if (drawn == White) {
                ASSERT_EQ(shown.PixelAt(x, y), RGB(0, 255, 0)) << x << "," << y;
            } else {
                ++text;
                ASSERT_EQ(shown.PixelAt(x, y), drawn) << x << "," << y;
            }
        }
    }
    EXPECT_GT(text, 5);
}

TEST_F(TextTrayIcon, HundredThousandRebuildsLeakNoHandle) {
    TTextTrayIcon icon(nullptr);
    SetUpIcon(icon);
    icon.SetText("0");
    const long gdi = LiveHandleCount(HandleKind::Gdi);
    const long user = LiveHandleCount(HandleKind::User);

    const auto start = std::chrono::steady_clock::now();
    constexpr int Rebuilds = 100000;
    for (int i = 0; i < Rebuilds; ++i) {
        const std::string text = std::to_string(i % 101);
        icon.SetText(text);
        if (i % 9973 == 0) {
            TBitmap expected;
            DrawExpected(expected, text);
            ASSERT_EQ(DifferingPixels(icon.TextBitmap(), expected), 0) << i;
            TBitmap shown;
            DrawIcon(shown, icon.Icon().Handle());
            ASSERT_EQ(DifferingPixels(shown, expected), 0) << i;
        }
        if (i % 1000 == 0)
            shell.Calls.clear();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("[ figure   ] %d text icon rebuilds took %.1f s\n", Rebuilds, seconds);

    EXPECT_EQ(LiveHandleCount(HandleKind::Gdi), gdi);
    EXPECT_EQ(LiveHandleCount(HandleKind::User), user);
}

TEST_F(TextTrayIcon, AHundredTooWideForTheFontIsDrawnInDigitsOnTheSameSquare) {
    TTextTrayIcon icon(nullptr);
    SetUpIcon(icon);
    icon.SetText("100");
    TBitmap shown;
    DrawIconOver(shown, icon.Icon().Handle(), icon.TextBitmap().Width(), clGray);
    ExpectDigitsOver(shown, "100", White, Black);
}

TEST_F(TextTrayIcon, OnAThemedTaskbarTheDigitsTakeItsColourOnNoBackgroundAndFollowIt) {
    TThemeValue theme;
    theme.Set(0); // dark
    TTextTrayIcon icon(nullptr);
    SetUpIcon(icon);
    icon.SetText("100");
    const int size = icon.TextBitmap().Width();
    TBitmap shown;
    for (TColor taskbar : {clBlack, clGray}) {
        DrawIconOver(shown, icon.Icon().Handle(), size, taskbar);
        ExpectDigitsOver(shown, "100", taskbar, White);
    }
    // Without alpha, the mask leaves out exactly the pixels without ink.
    DrawIconOver(shown, icon.Icon().Handle(), size, clGray, DI_MASK);
    std::vector<TDigitBox> boxes;
    std::vector<std::uint8_t> coverage;
    DrawDigits("100", size, boxes, coverage);
    for (int i = 0; i < size * size; ++i)
        ASSERT_EQ(shown.PixelAt(i % size, i / size), coverage[i] == 0 ? White : Black) << i;

    // The user turns the taskbar light: one redraw, in black; the same theme again: none.
    theme.Set(1);
    const int before = shell.Count(tray::NimModify);
    BroadcastThemeChange();
    EXPECT_EQ(shell.Count(tray::NimModify), before + 1);
    DrawIconOver(shown, icon.Icon().Handle(), size, clWhite);
    ExpectDigitsOver(shown, "100", White, Black);
    BroadcastThemeChange();
    icon.SetText("100");
    EXPECT_EQ(shell.Count(tray::NimModify), before + 1);

    // Without the value the icon is the classic one again.
    theme.Remove();
    BroadcastThemeChange();
    icon.SetText("37");
    TBitmap expected;
    DrawExpected(expected, "37");
    DrawIcon(shown, icon.Icon().Handle());
    EXPECT_EQ(DifferingPixels(shown, expected), 0);
}
