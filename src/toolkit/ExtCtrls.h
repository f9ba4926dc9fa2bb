#pragma once
// Panels (bevelled containers of the toolkit's own window class) and images (pictures painted
// on their parent).
#include "toolkit/Controls.h"

namespace zq {

enum class TPanelBevel { bvNone, bvLowered, bvRaised };
enum class TPanelBorder { bsNone, bsSingle };

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* owner);

    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel value);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    // A one-pixel window border (outside the bevels).
    TPanelBorder BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TPanelBorder value) { FBorderStyle = value; }

protected:
    void CreateParams(TCreateParams& params) override;
    void PaintWindow(HDC dc) override;

private:
    TPanelBevel FBevelInner = TPanelBevel::bvNone;
    TPanelBevel FBevelOuter = TPanelBevel::bvRaised;
    int FBevelWidth = 1;
    TPanelBorder FBorderStyle = TPanelBorder::bsNone;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);

    TBitmap& Picture() { return FPicture; }
    // Pixels of the picture's transparent colour (its bottom-left pixel unless set) are left out.
    bool Transparent() const { return FPicture.Transparent(); }
    void SetTransparent(bool value);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    // At another resolution than 96 dots per inch the picture is drawn scaled, smoothly; a
    // transparent picture's transparent pixels then show its parent's colour.
    void ChangeScale(int ppi) override;

protected:
    void Paint() override;

private:
    TBitmap& ScaledPicture();
    TBitmap FPicture;
    TBitmap FScaled; // the picture at the control's resolution, made at the first paint there
    bool FCenter = false;
};

} // namespace zq
