#pragma once
// The meter's settings: the state of the strip that the settings file keeps, and the one table
// of the file's keys (section, key, type and default) that reading, writing and the defaults
// follow. The meter window (forms/MeterWindow.h) holds the state and changes it.
#include <vector>

#include "toolkit/IniFile.h"
#include "toolkit/Types.h"

namespace zq {

inline constexpr char kSettingsFileName[] = "zentiq.ini";

// The strip's gradient from dark green to lime green, the settings file's default.
inline constexpr TColor kGradientStart = ColorRGB(0x00, 0x80, 0x40);
inline constexpr TColor kGradientEnd = ColorRGB(0x80, 0xFF, 0x00);
// The strip's size at the first run, in design units (pixels at 96 DPI).
inline constexpr int kDefaultStripWidth = 98;
inline constexpr int kDefaultStripHeight = 34;
// A stored size below this (in either direction) is too small to see or grab: the strip starts
// at the default size.
inline constexpr int kMinimumStripWidth = 24;
inline constexpr int kMinimumStripHeight = 8;
// Where the strip appears at the first run, and where a strip left off every work area comes
// back to (screen pixels).
inline constexpr TPoint kFirstRunPosition{300, 0};
// The strip's opacity with alpha blending on, until the user chooses another.
inline constexpr unsigned char kDefaultOpacity = 192;

// The strip as the file keeps it: colours, size (design units), place (screen pixels) and
// options. A value-initialised one is all zeros: DefaultMeterSettings() gives the defaults.
struct MeterSettings {
    TColor BackgroundColor = 0;
    TColor BarColor1 = 0;
    TColor BarColor2 = 0;
    TColor BarColor3 = 0;
    TColor TextColor = 0;
    int Height = 0;
    int Width = 0;
    int Left = 0;
    int Top = 0;
    bool AlwaysOnTop = false;
    bool NumericText = false; // the percentage written on the bar
    bool Snapping = false;    // the strip snaps to the work area's edges
    bool AlphaBlending = false;
    unsigned char Opacity = 0;
    bool AllProcessors = false;  // the load of all processors, not the first one's
    bool EachProcessor = false;  // the bar divided into one slice per processor
    bool HideFullScreen = false; // hidden while a program runs full screen on its monitor
    bool NumericIcon = false;    // the tray icon shows the load as its number
    bool Horizontal = false;     // the bar fills from the left, else from the bottom
    bool Welcome = false;        // the welcome balloon is still to be shown
    friend bool operator==(const MeterSettings&, const MeterSettings&) = default;
};

// How a key's value is written: a colour or an integer as a decimal number, a byte (an
// out-of-range number keeps its low eight bits: 300 reads as 44), a flag as 0 or 1 (any other
// number reads as on).
enum class TSettingType { Color, Integer, Byte, Flag };

// One key of the file: where it stands, its type, its default (what a file without it gives)
// and the field of MeterSettings that holds it; the type follows from the field.
struct TSettingKey {
    const char* Section;
    const char* Key;
    TSettingType Type;
    int Default; // as the file writes it
    TColor MeterSettings::*ColorField = nullptr;
    int MeterSettings::*IntegerField = nullptr;
    unsigned char MeterSettings::*ByteField = nullptr;
    bool MeterSettings::*FlagField = nullptr;

    constexpr TSettingKey(const char* section, const char* key, TColor MeterSettings::*field,
                          TColor value)
        : Section(section), Key(key), Type(TSettingType::Color), Default(static_cast<int>(value)),
          ColorField(field) {}
    constexpr TSettingKey(const char* section, const char* key, int MeterSettings::*field,
                          int value)
        : Section(section), Key(key), Type(TSettingType::Integer), Default(value),
          IntegerField(field) {}
    constexpr TSettingKey(const char* section, const char* key, unsigned char MeterSettings::*field,
                          unsigned char value)
        : Section(section), Key(key), Type(TSettingType::Byte), Default(value), ByteField(field) {}
    constexpr TSettingKey(const char* section, const char* key, bool MeterSettings::*field,
                          bool value)
        : Section(section), Key(key), Type(TSettingType::Flag), Default(value), FlagField(field) {}
};

// Every key of the settings file, in the order a new file lists them.
inline constexpr TSettingKey kMeterSettingKeys[] = {
    {"Colors", "Background", &MeterSettings::BackgroundColor, clBlack},
    {"Colors", "Pro1", &MeterSettings::BarColor1, kGradientStart},
    {"Colors", "Pro2", &MeterSettings::BarColor2, kGradientEnd},
    {"Colors", "Pro3", &MeterSettings::BarColor3, clRed},
    {"Colors", "Text", &MeterSettings::TextColor, clAqua},
    {"Window", "Height", &MeterSettings::Height, kDefaultStripHeight},
    {"Window", "Width", &MeterSettings::Width, kDefaultStripWidth},
    {"Window", "Left", &MeterSettings::Left, kFirstRunPosition.X},
    {"Window", "Top", &MeterSettings::Top, kFirstRunPosition.Y},
    {"Window", "AlwaysTop", &MeterSettings::AlwaysOnTop, true},
    {"Window", "ShowNumeric", &MeterSettings::NumericText, true},
    {"Window", "SnapWindow", &MeterSettings::Snapping, true},
    {"Window", "AlphaOn", &MeterSettings::AlphaBlending, false},
    {"Window", "Alpha", &MeterSettings::Opacity, kDefaultOpacity},
    {"Window", "AllProcessors", &MeterSettings::AllProcessors, true},
    {"Window", "EachProcessor", &MeterSettings::EachProcessor, false},
    {"Window", "HideFullScreen", &MeterSettings::HideFullScreen, false},
    {"Window", "NumericIcon", &MeterSettings::NumericIcon, false},
    {"Orientation", "Horizontal", &MeterSettings::Horizontal, true},
    {"Misc", "Welcome", &MeterSettings::Welcome, true},
};

// Every key's default: the settings of a missing file.
MeterSettings DefaultMeterSettings();
// Every key, each from the file or its default; a size under kMinimumStripWidth by
// kMinimumStripHeight gives the default size.
MeterSettings ReadMeterSettings(TIniFile& ini);
// Writes every key in the table's order into the file, all or none: a failed write raises
// "Unable to write to <path>" and leaves the file as it was.
void WriteMeterSettings(TIniFile& ini, const MeterSettings& settings);

// Where the strip goes for a saved position and size: where it is when some part of it lies on
// one of the work areas, else kFirstRunPosition, so that a removed monitor or a hand-edited
// file never strands it. A size below one pixel counts as one.
TPoint StripPosition(int left, int top, int width, int height, const std::vector<TRect>& workAreas);

} // namespace zq
