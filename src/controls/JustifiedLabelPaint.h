#pragma once
// Drawing of fully justified text, for a label control to call from its painting and sizing:
// stretched lines widen their spaces through per-character advances; a disabled label's text is
// engraved (button highlight one pixel down and right, button shadow on top).
#include <windows.h>

#include <string>
#include <vector>

#include "controls/JustifiedLabelLines.h"
#include "toolkit/Graphics.h"

namespace zq {

// The ExtTextOutA options a label's drawing flags may carry; every other bit is cleared.
constexpr unsigned JustifiedTextOutOptionMask = 0xC86;

// Draws with a font on a canvas's device context. For its lifetime the font is selected, the
// mapping mode is one pixel per unit and the background is left alone; the context's previous
// state comes back afterwards.
class TJustifiedTextPainter {
public:
    // `options`: the label's drawing flags (a left-to-right label passes 0). The text is
    // `font`'s colour when enabled, engraved otherwise.
    TJustifiedTextPainter(TCanvas& canvas, const TFont& font, bool enabled, unsigned options);
    ~TJustifiedTextPainter();
    TJustifiedTextPainter(const TJustifiedTextPainter&) = delete;
    TJustifiedTextPainter& operator=(const TJustifiedTextPainter&) = delete;

    // The height of "Wg": the distance between lines.
    int LineHeight() const { return FLineHeight; }
    std::vector<TLineObj> Break(const std::string& text, int width) const;
    // Draws the characters of `line` that fit into the rectangle's width plus one pixel at its
    // top left, clipped to it; the spaces of a stretched line take its extra pixels.
    void DrawLine(const TRect& rect, const TLineObj& line);
    // Breaks `text` to the client width and draws line n in the rectangle n line heights down,
    // cut at the client's bottom (lines below it draw nothing).
    void PaintText(const TRect& client, const std::string& text);

private:
    void Output(const TRect& rect, const TLineObj& line, int count, TColor color);
    HDC FDC;
    int FSavedDC;
    bool FEnabled;
    unsigned FOptions;
    TColor FColor;
    int FLineHeight = 0;
    std::vector<int> FExtents; // per line, sized from it
    std::vector<int> FAdvances;
};

// The label's text painting: all lines of `text` in the client rectangle.
void PaintJustifiedText(TCanvas& canvas, const TFont& font, const TRect& client,
                        const std::string& text, bool enabled, unsigned options);

// The height an automatically sized label of this width takes: "Wg"'s height times the number of
// lines, measured on the screen.
int JustifiedAutoSizeHeight(const TFont& font, const std::string& text, int width);

} // namespace zq
