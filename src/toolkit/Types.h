#pragma once
// Small value types shared by the toolkit and the components.
#include <cstdint>
#include <functional>

namespace zq {

class TObject;
class TComponent;

// 0x00BBGGRR for an RGB colour; the top bit set names a system colour (index in the low byte).
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor clSystemColor = 0x80000000u;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clBtnShadow = 0x80000010;
constexpr TColor clBtnHighlight = 0x80000014;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clHighlight = 0x8000000D;
constexpr TColor clHighlightText = 0x8000000E;
constexpr TColor clBtnText = 0x80000012;
constexpr TColor clInfoText = 0x80000017;
constexpr TColor clInfoBk = 0x80000018;

constexpr bool IsSystemColor(TColor c) {
    return (c & clSystemColor) != 0;
}
constexpr std::uint8_t ColorR(TColor c) {
    return static_cast<std::uint8_t>(c & 0xFF);
}
constexpr std::uint8_t ColorG(TColor c) {
    return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
constexpr std::uint8_t ColorB(TColor c) {
    return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}
constexpr TColor ColorRGB(int r, int g, int b) {
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Set of shift-state flags, as a bit mask.
enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
using TShiftState = unsigned;

using TNotifyEvent = std::function<void(TObject* sender)>;
using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// The root of everything that can be an event's sender.
class TObject {
public:
    virtual ~TObject() = default;
};

} // namespace zq
