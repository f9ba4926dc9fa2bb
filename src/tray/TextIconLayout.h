#pragma once
// Layout of the text drawn into the text tray icon (16 by 16 at 96 dots per inch, the shell's
// small-icon size at others), and its offset options.
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
