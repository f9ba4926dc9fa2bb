#include "tray/TextTrayIcon.h"

#include <string>

#include "toolkit/Dpi.h"

namespace zq {

namespace {

class TCanvasMeasurer final : public TTextMeasurer {
public:
    explicit TCanvasMeasurer(TCanvas& canvas) : FCanvas(canvas) {}
    TTextExtent Extent(std::string_view text) const override {
        const SIZE size = FCanvas.TextExtent(std::string(text));
        return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
    }

private:
    TCanvas& FCanvas;
};

TTaskbarTheme ReadTaskbarTheme() {
    TTaskbarTheme theme;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                      KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        DWORD type = 0, value = 0, size = sizeof value;
        if (RegQueryValueExA(key, "SystemUsesLightTheme", nullptr, &type,
                             reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
            type == REG_DWORD && size == sizeof value)
            theme.UsesLightTheme = value;
        RegCloseKey(key);
    }
    HIGHCONTRASTA contrast{sizeof contrast, 0, nullptr};
    theme.HighContrast =
        SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != 0 &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    return theme;
}

// 0xAARRGGBB of a colour's resolved 0x00BBGGRR.
std::uint32_t PixelOf(TColor color, unsigned alpha) {
    const COLORREF rgb = ColorToRGB(color);
    return alpha << 24 | GetRValue(rgb) << 16 | GetGValue(rgb) << 8 | GetBValue(rgb);
}

} // namespace

TTextTrayIcon::TTextTrayIcon(TComponent* owner) : TTrayIcon(owner), FTheme(ReadTaskbarTheme()) {
    FBackgroundIcon = std::make_unique<TIcon>();
    FTextBitmap = std::make_unique<TBitmap>();
    FFont = std::make_unique<TFont>();
    FFont->OnChange = [this](TObject*) { RebuildIcon(); };
    FColor = clBtnFace;
    FBorderColor = clBlack;
    FOptions = std::make_unique<TOffsetOptions>();
    FOptions->OnChange = [this](TObject*) { RebuildIcon(); };
}

TTextTrayIcon::~TTextTrayIcon() {
    FFont.reset();
    FTextBitmap.reset();
    FOptions.reset();
    FBackgroundIcon.reset();
}

void TTextTrayIcon::SetBackgroundIcon(const TIcon& icon) {
    if (&icon != FBackgroundIcon.get())
        FBackgroundIcon->Assign(icon);
    RebuildIcon();
}

void TTextTrayIcon::SetText(const std::string& text) {
    if (text == FText)
        return;
    FText = text;
    RebuildIcon();
}

void TTextTrayIcon::SetFont(const TFont& font) {
    if (&font != FFont.get())
        FFont->Assign(font);
    RebuildIcon();
}

void TTextTrayIcon::SetColor(TColor color) {
    FColor = color;
    RebuildIcon();
}

void TTextTrayIcon::SetBorder(bool value) {
    FBorder = value;
    RebuildIcon();
}

void TTextTrayIcon::SetBorderColor(TColor color) {
    FBorderColor = color;
    RebuildIcon();
}

void TTextTrayIcon::SetOptions(const TOffsetOptions& options) {
    if (&options != FOptions.get())
        FOptions->Assign(options);
    RebuildIcon();
}

void TTextTrayIcon::RebuildIcon() {
    // The owned objects go away before the base destructor runs; nothing to draw then.
    if (!FFont || !FTextBitmap || !FOptions || !FBackgroundIcon)
        return;
    SetCycleIcons(false);
    // A hidden icon is not drawn: the shell would refuse it, and the meter sets the text of the
    // hidden text icon every second.
    if (!IconVisible()) {
        FImageStale = true;
        return;
    }
    DrawIcon();
    RefreshIcon();
}

bool TTextTrayIcon::AddIcon() {
    if (FImageStale)
        DrawIcon();
    return TTrayIcon::AddIcon();
}

void TTextTrayIcon::FollowTaskbarTheme() {
    FTheme = ReadTaskbarTheme();
    if (CurrentColors() != FDrawnColors)
        RebuildIcon();
}

TTextIconColors TTextTrayIcon::CurrentColors() const {
    TTextIconColors colors = TextIconColors(FTheme, FFont->Color(), FColor);
    colors.Text = ColorToRGB(colors.Text);
    colors.Background = ColorToRGB(colors.Background);
    return colors;
}

void TTextTrayIcon::DrawIcon() {
    FImageStale = false;
    FDrawnColors = CurrentColors();
    if (FDrawnColors.Look != TTextIconLook::Classic) {
        DrawDigitIcon(FDrawnColors);
        return;
    }
    RenderTextBitmap();
    if (!LinesFitAcross(FPlacements, FTextBitmap->Width())) {
        DrawDigitIcon({TTextIconLook::Opaque, FDrawnColors.Text, FDrawnColors.Background});
        return;
    }
    // The new icon goes straight into Icon (no temporary and copy: copying an icon costs as much
    // as making it). The shell keeps its own copy of the previous icon.
    if (FBackgroundIcon->Empty())
        MakeIconFromBitmap(*FTextBitmap, Icon(), clNone);
    else
        MergeWithBackground(*FTextBitmap, Icon(), clNone);
}

void TTextTrayIcon::RenderTextBitmap() {
    // Drawn at the shell's icon size, in the font scaled with it (not a stretched picture).
    const int size = SmallIconSize();
    const TRect area{0, 0, size, size};
    TBitmap bitmap;
    bitmap.SetSize(size, size);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(FColor);
    canvas.FillRect(area);
    canvas.Font().Assign(*FFont);
    canvas.Font().SetHeight(ScaleToDpi(FFont->Height(), size, TextIconSize));

    const TCanvasMeasurer measure(canvas);
    LayoutText(FText, measure, FOptions->OffsetX(), FOptions->OffsetY(), FOptions->LineDistance(),
               FLines, FPlacements, size);
    for (const TTextLinePlacement& line : FPlacements)
        if (!line.Text.empty())
            canvas.TextOut(line.X, line.Y, std::string(line.Text));

    if (FBorder) {
        canvas.Brush().SetColor(FBorderColor);
        canvas.FrameRect(area);
    }
    FTextBitmap->Assign(bitmap);
}

void TTextTrayIcon::DrawDigitIcon(const TTextIconColors& colors) {
    const int size = SmallIconSize();
    DrawDigits(FText, size, FDigitBoxes, FCoverage);
    FTextBitmap->SetSize(size, size);
    std::uint32_t* pixels = FTextBitmap->Pixels();
    if (pixels == nullptr)
        return;
    const bool opaque = colors.Look == TTextIconLook::Opaque;
    const std::uint32_t ink = PixelOf(colors.Text, 0), back = PixelOf(colors.Background, 0);
    for (std::size_t i = 0; i < FCoverage.size(); ++i) {
        const unsigned a = FCoverage[i];
        if (!opaque) {
            pixels[i] = a != 0 ? a << 24 | ink : 0;
            continue;
        }
        // Each channel from the background towards the ink by the coverage, rounded.
        std::uint32_t mixed = 0xFF000000;
        for (int shift = 0; shift < 24; shift += 8) {
            const unsigned from = back >> shift & 0xFF, to = ink >> shift & 0xFF;
            mixed |= (from * (255 - a) + to * a + 127) / 255 << shift;
        }
        pixels[i] = mixed;
    }
    Icon().AssignAlphaBitmap(*FTextBitmap);
}

bool TTextTrayIcon::MergeWithBackground(TBitmap& bitmap, TIcon& icon, TColor maskColor) {
    const int size = bitmap.Width();
    TImageList list(size, size);
    list.Handle(); // made at once, so the icon goes straight in instead of through a copy
    list.AddIcon(*FBackgroundIcon);
    TBitmap work;
    work.SetSize(size, size);
    work.Canvas().Brush().SetColor(clBtnFace);
    work.Canvas().FillRect({0, 0, size, size});
    list.Draw(work.Canvas(), 0, 0, 0);
    bitmap.SetTransparent(true);
    bitmap.SetTransparentColor(FColor);
    work.Canvas().Draw(0, 0, bitmap);
    const int index = list.AddMasked(work, maskColor);
    list.GetIcon(index, icon);
    return true;
}

} // namespace zq
