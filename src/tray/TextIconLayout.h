#pragma once
// Layout of the text drawn into the text tray icon (16 by 16 at 96 dots per inch, the shell's
// small-icon size at others), its offset options, the colours for the taskbar it sits on and the
// digits drawn for the size, which need no font.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "toolkit/Types.h"

namespace zq {

// The icon's size at 96 dots per inch, the size its font is given for.
constexpr int TextIconSize = 16;

struct TTextExtent {
    int Width = 0;
    int Height = 0;
};

// Measures a string in the font the icon draws with.
class TTextMeasurer {
public:
    virtual ~TTextMeasurer() = default;
    virtual TTextExtent Extent(std::string_view text) const = 0;
};

struct TTextLinePlacement {
    std::string_view Text; // a piece of the laid-out text
    int X = 0;
    int Y = 0;
    int Width = 0; // as measured
};

// Splits `text` at every carriage return (character 13 only) into `lines`, which is emptied
// first. A trailing carriage return gives an empty last line; the pieces refer into `text`.
void SplitLines(std::string_view text, std::vector<std::string_view>& lines);

// Places `text` in an icon of `iconSize` pixels square: every line is centred on one pixel less
// (15, not 16) with truncating division, then moved by the offsets; lines of a multi-line text
// are spaced by the height of the text from its first carriage return on, plus `lineDistance`.
// `lines` and `out` are emptied first, so callers can reuse them without reallocating.
void LayoutText(std::string_view text, const TTextMeasurer& measure, int offsetX, int offsetY,
                int lineDistance, std::vector<std::string_view>& lines,
                std::vector<TTextLinePlacement>& out, int iconSize = TextIconSize);

// Whether every line lies inside an icon of `size` pixels across, none cut at either side.
bool LinesFitAcross(const std::vector<TTextLinePlacement>& lines, int size);

// The taskbar as the system describes it: the user's SystemUsesLightTheme value (Windows 10 and
// later; no value before), and whether high contrast is on.
struct TTaskbarTheme {
    std::optional<std::uint32_t> UsesLightTheme;
    bool HighContrast = false;
    friend bool operator==(const TTaskbarTheme&, const TTaskbarTheme&) = default;
};

enum class TTextIconLook : std::uint8_t {
    Classic,     // the text in the icon's font on its colour, as on taskbars before Windows 10
    Transparent, // the digits alone, the rest of the icon transparent
    Opaque,      // the digits on a square of the background colour
};

struct TTextIconColors {
    TTextIconLook Look = TTextIconLook::Classic;
    TColor Text = clBlack;
    TColor Background = clNone; // none for Transparent
    friend bool operator==(const TTextIconColors&, const TTextIconColors&) = default;
};

// High contrast: the system's text colours (window text on the window colour); a light taskbar
// (any value but 0): black digits on no background, a dark one (0): white; no value: the classic
// look, `text` on `background`.
TTextIconColors TextIconColors(const TTaskbarTheme& theme, TColor text, TColor background);

// One digit's place in the icon: the columns Left to Left + Width - 1, the rows Top to Top +
// Height - 1, drawn with strokes Stroke pixels wide.
struct TDigitBox {
    char Digit = '0';
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Stroke = 1;
};

// Lays the digits of `text` (other characters are left out) out for an icon of `size` pixels
// square, centred, at least one column apart, a "1" narrower than the others: one or two digits
// as large as two fill the icon, more in the widest face they fit in (three at 16 pixels).
// Digits too many for the narrowest face are centred and cut at both sides. An icon of more
// than 256 pixels gets none. `boxes` is emptied first, so callers can reuse it without
// reallocating.
void LayoutDigits(std::string_view text, int size, std::vector<TDigitBox>& boxes);

// Lays the digits out and draws them: `coverage` becomes size * size values, row by row from the
// top, 0 (no ink) to 255 (all ink), the strokes' edges blended. Straight strokes fall on whole
// pixels, so only curves and slants have blended pixels. Both vectors are reused.
void DrawDigits(std::string_view text, int size, std::vector<TDigitBox>& boxes,
                std::vector<std::uint8_t>& coverage);

// Offsets and line distance of the text icon. Setters that change a value fire OnChange once.
class TOffsetOptions : public TObject {
public:
    int OffsetX() const { return FOffsetX; }
    int OffsetY() const { return FOffsetY; }
    int LineDistance() const { return FLineDistance; }
    void SetOffsetX(int value);
    void SetOffsetY(int value);
    void SetLineDistance(int value);
    // Copies the three values without notifying; the caller re-applies them as a whole.
    void Assign(const TOffsetOptions& source);

    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    int FOffsetX = 0;
    int FOffsetY = 0;
    int FLineDistance = 0;
};

} // namespace zq
