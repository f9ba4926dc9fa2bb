#pragma once
// The meter's settings file: eighteen keys read in a fixed order at start and written back in a
// fixed order at close.
#include <string>
#include <vector>

#include "toolkit/IniFile.h"
#include "toolkit/Types.h"

namespace zq {

inline constexpr char kSettingsFileName[] = "zentiq.ini";
// A stored size below this (in either direction) is too small to see or grab: the strip starts
// at the default size.
inline constexpr int kMinimumStripWidth = 24;
inline constexpr int kMinimumStripHeight = 8;

// The strip's gradient from dark green to lime green: the meter's design colours and the
// settings file's defaults.
inline constexpr TColor kGradientStart = ColorRGB(0x00, 0x80, 0x40);
inline constexpr TColor kGradientEnd = ColorRGB(0x80, 0xFF, 0x00);

struct MeterSettings {
    TColor Background = clBlack;
    TColor Pro1 = kGradientStart;
    TColor Pro2 = kGradientEnd;
    TColor Pro3 = clRed;
    TColor Text = clAqua;
    int Height = 34;
    int Width = 98;
    int Left = 300;
    int Top = 0;
    int Alpha = 192;
    bool SnapWindow = true;
    bool AlwaysTop = true;
    bool AlphaOn = false;
    bool ShowNumeric = true;
    bool AllProcessors = true; // the load of all processors, not the first one's
    bool HideFullScreen = false;
    bool Horizontal = true;
    bool Welcome = true;
};

// Receives each value right after it is read, in the file's key order.
class IMeterSettingsSink {
public:
    virtual ~IMeterSettingsSink() = default;
    virtual void Background(TColor value) = 0;
    virtual void Pro1(TColor value) = 0;
    virtual void Pro2(TColor value) = 0;
    virtual void Pro3(TColor value) = 0;
    virtual void Text(TColor value) = 0;
    virtual void Height(int value) = 0;
    virtual void Width(int value) = 0;
    virtual void Left(int value) = 0;
    virtual void Top(int value) = 0;
    virtual void Alpha(unsigned char value) = 0;
    virtual void SnapWindow(bool value) = 0;
    virtual void AlwaysTop(bool value) = 0;
    virtual void AlphaOn(bool value) = 0;
    virtual void ShowNumeric(bool value) = 0;
    virtual void AllProcessors(bool value) = 0;
    virtual void HideFullScreen(bool value) = 0;
    virtual void Horizontal(bool value) = 0;
    virtual void Welcome(bool value) = 0;
};

// Reads the eighteen keys in order, handing each to the sink as soon as it is read (the height
// once the width is read too: a size under kMinimumStripWidth by kMinimumStripHeight gives the
// default size).
void ReadMeterSettings(TIniFile& ini, IMeterSettingsSink& sink);
// The stored window height, read again after the orientation is applied.
int ReadMeterHeight(TIniFile& ini);
// Writes the eighteen keys in the closing order into the file, all or none: a failed write raises
// "Unable to write to <path>" and leaves the file as it was.
void WriteMeterSettings(TIniFile& ini, const MeterSettings& settings);

// Opacity is a byte: an out-of-range value keeps its low eight bits (300 gives 44).
inline unsigned char AlphaByte(int value) {
    return static_cast<unsigned char>(value & 0xFF);
}

// Where the strip goes for a saved position and size: where it is when some part of it lies on
// one of the work areas, else the first-run position (300, 0), so that a removed monitor or a
// hand-edited file never strands it. A size below one pixel counts as one.
TPoint StripPosition(int left, int top, int width, int height, const std::vector<TRect>& workAreas);

// The percent of one tick: fraction times 100, rounded with halves to even.
int LoadPercent(double fraction);
// The plain tray icon's tool-tip for a percent, e.g. "CPU Usage: 37%".
std::string LoadHint(int percent);

} // namespace zq
