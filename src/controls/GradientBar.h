#pragma once
// A gradient progress bar drawn by the program: a fixed colour gradient (or tiled picture) over
// the whole control, uncovered as far as the position goes, with an optional frame and centred
// text. Every setter repaints at once; a position change reuses the kept gradient picture.
#include <string>

#include "controls/BarGeometry.h"
#include "toolkit/Controls.h"
#include "toolkit/Graphics.h"

namespace zq {

class TGradientBar : public TGraphicControl {
public:
    explicit TGradientBar(TComponent* owner);
    ~TGradientBar() override;

    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor value);
    TBitmap& BarBitmap() { return *FBarBitmap; }
    // Copies the picture; the caller keeps its own.
    void SetBarBitmap(const TBitmap& value);
    TColor BarColor1() const { return FBarColor1; }
    void SetBarColor1(TColor value);
    TColor BarColor2() const { return FBarColor2; }
    void SetBarColor2(TColor value);
    TColor BarColor3() const { return FBarColor3; }
    void SetBarColor3(TColor value);
    TBarColorStyle BarColorStyle() const { return FBarColorStyle; }
    void SetBarColorStyle(TBarColorStyle value);
    TColor BorderColor1() const { return FBorderColor1; }
    void SetBorderColor1(TColor value);
    TColor BorderColor2() const { return FBorderColor2; }
    void SetBorderColor2(TColor value);
    TProgressDirection Direction() const { return FDirection; }
    void SetDirection(TProgressDirection value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Min() const { return FMin; }
    void SetMin(int value);
    bool Percentage() const { return FPercentage; }
    void SetPercentage(bool value);
    int Position() const { return FPosition; }
    // Ignores a value equal to the current one or outside Min..Max.
    void SetPosition(int value);
    const std::string& PosTextPrefix() const { return FPosTextPrefix; }
    void SetPosTextPrefix(const std::string& value);
    const std::string& PosTextSuffix() const { return FPosTextSuffix; }
    void SetPosTextSuffix(const std::string& value);
    bool ShowBorder() const { return FShowBorder; }
    void SetShowBorder(bool value);
    bool ShowPosText() const { return FShowPosText; }
    void SetShowPosText(bool value);

    // The picture of the last paint (what was copied to the screen).
    TBitmap& FramePicture() { return *FFrame; }
    // How many times the gradient picture was rebuilt (a position change never rebuilds it).
    long GradientBuilds() const { return FGradientBuilds; }

    void Paint() override;
    // A progress bar whose value is the number as shown, without the words before it
    // ("Memory Load 53%" has the value "53%").
    void DescribeAccessible(TAccessibleItem& item) const override;

protected:
    void FontChanged() override;
    void BoundsChanged() override;

private:
    void DrawBar(bool rebuild);
    void BuildGradient();
    void TileBitmap();
    void DrawFrame();
    void DrawText();
    template <typename T> void Store(T& field, const T& value) {
        field = value;
        Repaint();
    }

    TBitmap* FFrame;
    TBitmap* FGradient;
    TBitmap* FBarBitmap;
    bool FRebuild = true;
    long FGradientBuilds = 0;

    TColor FBackgroundColor = clBtnFace;
    TColor FBarColor1 = clGreen;
    TColor FBarColor2 = clYellow;
    TColor FBarColor3 = clRed;
    TBarColorStyle FBarColorStyle = cs3Colors;
    TColor FBorderColor1 = clBtnShadow;
    TColor FBorderColor2 = clBtnHighlight;
    TProgressDirection FDirection = pdLeftToRight;
    int FMax = 100;
    int FMin = 0;
    bool FPercentage = false;
    int FPosition = 0;
    std::string FPosTextPrefix;
    std::string FPosTextSuffix;
    bool FShowBorder = true;
    bool FShowPosText = true;
};

} // namespace zq
