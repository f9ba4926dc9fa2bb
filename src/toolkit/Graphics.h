#pragma once
// Fonts, brushes, pens, canvases, bitmaps, icons and image lists. Every handle is owned by an RAII
// type, and a canvas selects its objects only for the duration of one drawing call.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Handles.h"
#include "toolkit/Types.h"

namespace zq {

// Resolves a system colour through the current colour table; plain colours pass unchanged.
COLORREF ColorToRGB(TColor color);

inline TRect RectOf(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The resolution a window is laid out at: its own (Windows 10), its monitor's (Windows 8.1, the
// primary monitor's for no window) or the screen's logical pixels per inch.
int WindowPixelsPerInch(HWND wnd);
// The size of the notification area's icons: the small-icon size at the resolution of the
// taskbar (16, 20, 24, 32 ... pixels).
int SmallIconSize();

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;
enum class TFontQuality { fqDefault, fqNonAntialiased };

class TFont : public TObject {
public:
    TFont();
    std::string Name() const { return FName; }
    void SetName(const std::string& name);
    int Height() const { return FHeight; }
    void SetHeight(int height);
    // Size in points at the screen's resolution.
    int Size() const;
    void SetSize(int points);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles style);
    int Charset() const { return FCharset; }
    void SetCharset(int charset);
    TFontQuality Quality() const { return FQuality; }
    void SetQuality(TFontQuality quality);
    void Assign(const TFont& source);

    HFONT Handle() const;
    TNotifyEvent OnChange;

private:
    void Changed();
    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle = 0;
    int FCharset = DEFAULT_CHARSET;
    TFontQuality FQuality = TFontQuality::fqDefault;
    mutable UniqueFont FHandle;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush : public TObject {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle style) { FStyle = style; }
    HBRUSH Handle() const;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = TBrushStyle::bsSolid;
    mutable UniqueBrush FHandle;
    mutable COLORREF FHandleColor = 0;
};

class TPen : public TObject {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int Width() const { return FWidth; }
    void SetWidth(int width);
    HPEN Handle() const;

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    mutable UniquePen FHandle;
    mutable COLORREF FHandleColor = 0;
};

class TBitmap;

class TCanvas : public TObject {
public:
    TCanvas() = default;
    explicit TCanvas(HDC dc) : FHandle(dc) {}
    ~TCanvas() override = default;

    TFont& Font() { return FFont; }
    TBrush& Brush() { return FBrush; }
    TPen& Pen() { return FPen; }

    virtual HDC Handle();
    void SetHandle(HDC dc) { FHandle = dc; }

    void FillRect(const TRect& rect);
    // A one-pixel frame in the brush colour.
    void FrameRect(const TRect& rect);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void TextOut(int x, int y, const std::string& text);
    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    // Draws the bitmap at (x, y); a transparent bitmap leaves pixels of its transparent colour out.
    void Draw(int x, int y, TBitmap& bitmap);
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);
    COLORREF Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

private:
    HDC FHandle = nullptr;
    TFont FFont;
    TBrush FBrush;
    TPen FPen;
};

// A bitmap's canvas: selects the bitmap into its DC on every use.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& owner) : FOwner(owner) {}
    HDC Handle() override;

private:
    TBitmap& FOwner;
};

// A 32-bit top-down DIB section with its own memory DC. A bitmap taken from a resource has its
// size at once and its pixels (the DIB section and the DC) from their first use on.
class TBitmap : public TObject {
public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Keeps the pixels when the size does not change.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, FHeight); }
    void SetHeight(int height) { SetSize(FWidth, height); }
    bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
    void Assign(const TBitmap& source);
    void Clear() { SetSize(0, 0); }
    // Takes a bitmap resource of the module; false (and empty) when there is none. Its pixels are
    // drawn in when they are first used, so the module must stay loaded until then.
    bool LoadFromResource(HINSTANCE module, int id);

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value) { FTransparent = value; }
    TColor TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(TColor color) { FTransparentColor = color; }

    TCanvas& Canvas();
    // The bitmap handle, deselected from the bitmap's own DC (as image lists require).
    HBITMAP Handle();
    // The pixel as 0x00BBGGRR, read straight from the DIB.
    COLORREF PixelAt(int x, int y) const;
    // The pixels, row by row from the top, each 0xAARRGGBB (nullptr for an empty bitmap).
    std::uint32_t* Pixels();

private:
    friend class TBitmapCanvas;
    friend class TImageList;
    HDC SelectedDC();
    // Makes the DIB section (zero-filled) for the current size.
    void MakeSection();
    // Draws a resource taken by LoadFromResource into a new DIB section; empty on failure.
    void DrawResource();
    TBitmapCanvas FCanvas;
    bool FResourcePending = false; // the resource below is not drawn in yet
    HINSTANCE FResourceModule = nullptr;
    int FResourceId = 0;
    UniqueDC FDC;
    UniqueBitmap FBitmap;
    HGDIOBJ FOldBitmap = nullptr;
    void* FBits = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    bool FTransparent = false;
    TColor FTransparentColor = clNone;
};

class TIcon : public TObject {
public:
    bool Empty() const { return !FHandle; }
    HICON Handle() const { return FHandle.Get(); }
    // Takes ownership of the handle.
    void SetHandle(HICON icon) { FHandle.Reset(icon); }
    void Assign(const TIcon& source);
    void Clear() { FHandle.Reset(); }
    // An icon of the bitmap's size from its pixels and their alpha (not premultiplied), with a
    // mask that leaves out the pixels of alpha 0 where an icon is drawn without alpha.
    void AssignAlphaBitmap(TBitmap& bitmap);
    // Loads an icon resource of the module at its natural size.
    bool LoadFromResource(HINSTANCE module, int id);
    int Width() const;
    int Height() const;

private:
    UniqueIcon FHandle;
};

// A list of same-sized images; a component, so that users hear of its removal. The system's
// image list (and with it comctl32) is made when a picture is drawn or its handle is asked for;
// pictures added before then are kept as copies until then.
class TImageList : public TComponent {
public:
    TImageList(int width, int height, TComponent* owner = nullptr);
    ~TImageList() override;
    int Count() const;
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Adds the bitmap; pixels of `maskColor` become transparent (clNone: none do).
    int AddMasked(TBitmap& bitmap, TColor maskColor);
    int AddIcon(const TIcon& icon);
    void GetIcon(int index, TIcon& icon) const;
    void Draw(TCanvas& canvas, int x, int y, int index);
    HIMAGELIST Handle() const;

private:
    struct TPendingImage;
    int Defer(std::unique_ptr<TPendingImage> image);
    int FWidth;
    int FHeight;
    mutable std::vector<std::unique_ptr<TPendingImage>> FPending;
    mutable UniqueImageList FHandle;
};

} // namespace zq
