#pragma once
// A tray icon whose image is drawn from a short text, in a font and colour of choice, optionally
// framed and optionally over a background icon. The image has the shell's small-icon size (16 by
// 16 at 96 dots per inch) and the font, given for 16 by 16, grows with it.
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

    bool AddIcon() override;

    bool WantsDesignTimeIcon() override { return false; }
    virtual bool WantsDesignTimeBackground() { return false; }

protected:
    virtual void RenderTextBitmap();
    bool MergeWithBackground(TBitmap& bitmap, TIcon& icon, TColor maskColor);

private:
    void DrawIcon();

    std::unique_ptr<TFont> FFont;
    TColor FColor = clBtnFace;
    bool FBorder = false;
    TColor FBorderColor = clBlack;
    std::string FText;
    std::unique_ptr<TBitmap> FTextBitmap;
    std::unique_ptr<TOffsetOptions> FOptions;
    std::unique_ptr<TIcon> FBackgroundIcon;
    bool FImageStale = false; // a drawing property changed while the icon was hidden
    // Reused between rebuilds so that laying out the text does not allocate.
    std::vector<std::string_view> FLines;
    std::vector<TTextLinePlacement> FPlacements;
};

} // namespace zq
