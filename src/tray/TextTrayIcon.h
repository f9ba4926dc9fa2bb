#pragma once
// A tray icon whose image is drawn from a short text, in a font and colour of choice, optionally
// framed and optionally over a background icon. The image has the shell's small-icon size (16 by
// 16 at 96 dots per inch) and the font, given for 16 by 16, grows with it. Where the system says
// which colour its taskbar has (Windows 10 and later) or high contrast is on, the text's digits
// are drawn for the size instead (TextIconColors, DrawDigits): white or black on no background,
// alpha-blended (a 32-bit icon with alpha), or the system's text colours; so is a text too wide
// for the icon in the font. The digits take no font, border, offsets or background icon.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tray/TextIconLayout.h"
#include "tray/TrayIcon.h"

namespace zq {

class TTextTrayIcon : public TTrayIcon {
public:
    explicit TTextTrayIcon(TComponent* owner);
    ~TTextTrayIcon() override;

    TIcon& BackgroundIcon() { return *FBackgroundIcon; }
    void SetBackgroundIcon(const TIcon& icon);
    const std::string& Text() const { return FText; }
    // Redraws only a text other than the shown one.
    void SetText(const std::string& text);
    TFont& Font() { return *FFont; }
    void SetFont(const TFont& font);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    bool Border() const { return FBorder; }
    void SetBorder(bool value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor color);
    TOffsetOptions& Options() { return *FOptions; }
    void SetOptions(const TOffsetOptions& options);

    // Redraws the image and hands it to the shell. While the icon is hidden nothing is drawn:
    // the image is drawn, from the properties of that moment, when the icon is shown again.
    void RebuildIcon();
    // The last drawn image.
    TBitmap& TextBitmap() { return *FTextBitmap; }
    // The taskbar the icon is drawn for, read at creation and at every change of the system's
    // settings or colours.
    const TTaskbarTheme& TaskbarTheme() const { return FTheme; }
    // Reads the taskbar's theme again and redraws when the icon's colours change with it.
    void FollowTaskbarTheme();

    bool AddIcon() override;

    bool WantsDesignTimeIcon() override { return false; }
    virtual bool WantsDesignTimeBackground() { return false; }

protected:
    virtual void RenderTextBitmap();
    bool MergeWithBackground(TBitmap& bitmap, TIcon& icon, TColor maskColor);
    void SystemSettingsChanged() override { FollowTaskbarTheme(); }

private:
    void DrawIcon();
    // The digits of the text in the given colours into the bitmap, and the icon from it.
    void DrawDigitIcon(const TTextIconColors& colors);
    // The colours the icon is drawn in now, system colours resolved.
    TTextIconColors CurrentColors() const;

    std::unique_ptr<TFont> FFont;
    TColor FColor = clBtnFace;
    bool FBorder = false;
    TColor FBorderColor = clBlack;
    std::string FText;
    std::unique_ptr<TBitmap> FTextBitmap;
    std::unique_ptr<TOffsetOptions> FOptions;
    std::unique_ptr<TIcon> FBackgroundIcon;
    bool FImageStale = false; // a drawing property changed while the icon was hidden
    TTaskbarTheme FTheme;
    TTextIconColors FDrawnColors{TTextIconLook::Classic, clNone, clNone};
    // Reused between rebuilds so that laying out the text does not allocate.
    std::vector<std::string_view> FLines;
    std::vector<TTextLinePlacement> FPlacements;
    std::vector<TDigitBox> FDigitBoxes;
    std::vector<std::uint8_t> FCoverage;
};

} // namespace zq
