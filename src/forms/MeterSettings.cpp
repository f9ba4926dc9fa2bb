#include "app/MeterSettings.h"

#include <algorithm>
#include <cstdint>

#include "toolkit/Rounding.h"

namespace zq {

namespace {
const char kColors[] = "Colors";
const char kWindow[] = "Window";
const char kOrientation[] = "Orientation";
const char kMisc[] = "Misc";
TColor ReadColor(TIniFile& ini, const char* key, TColor def) {
    return static_cast<TColor>(ini.ReadInteger(kColors, key, static_cast<int>(def)));
}
void WriteColor(TIniFile& ini, const char* key, TColor value) {
    ini.WriteInteger(kColors, key, static_cast<int>(value));
}
bool ReadWindowFlag(TIniFile& ini, const char* key, bool def) {
    return ini.ReadBool(kWindow, key, def);
}
void WriteWindowFlag(TIniFile& ini, const char* key, bool value) {
    ini.WriteBool(kWindow, key, value);
}
// The stored size, or the default size where the stored one is too small to see or grab.
TPoint ReadSize(TIniFile& ini) {
    const MeterSettings d;
    const int height = ini.ReadInteger(kWindow, "Height", d.Height);
    const int width = ini.ReadInteger(kWindow, "Width", d.Width);
    if (width < kMinimumStripWidth || height < kMinimumStripHeight)
        return {d.Width, d.Height};
    return {width, height};
}
} // namespace

void ReadMeterSettings(TIniFile& ini, IMeterSettingsSink& sink) {
    const MeterSettings d;
    sink.Background(ReadColor(ini, "Background", d.Background));
    sink.Pro1(ReadColor(ini, "Pro1", d.Pro1));
    sink.Pro2(ReadColor(ini, "Pro2", d.Pro2));
    sink.Pro3(ReadColor(ini, "Pro3", d.Pro3));
    sink.Text(ReadColor(ini, "Text", d.Text));
    const TPoint size = ReadSize(ini);
    sink.Height(size.Y);
    sink.Width(size.X);
    sink.Left(ini.ReadInteger(kWindow, "Left", d.Left));
    sink.Top(ini.ReadInteger(kWindow, "Top", d.Top));
    sink.Alpha(AlphaByte(ini.ReadInteger(kWindow, "Alpha", d.Alpha)));
    sink.SnapWindow(ReadWindowFlag(ini, "SnapWindow", d.SnapWindow));
    sink.AlwaysTop(ReadWindowFlag(ini, "AlwaysTop", d.AlwaysTop));
    sink.AlphaOn(ReadWindowFlag(ini, "AlphaOn", d.AlphaOn));
    sink.ShowNumeric(ReadWindowFlag(ini, "ShowNumeric", d.ShowNumeric));
    sink.AllProcessors(ReadWindowFlag(ini, "AllProcessors", d.AllProcessors));
    sink.HideFullScreen(ReadWindowFlag(ini, "HideFullScreen", d.HideFullScreen));
    sink.Horizontal(ini.ReadBool(kOrientation, "Horizontal", d.Horizontal));
    sink.Welcome(ini.ReadBool(kMisc, "Welcome", d.Welcome));
}

int ReadMeterHeight(TIniFile& ini) {
    return ReadSize(ini).Y;
}

void WriteMeterSettings(TIniFile& ini, const MeterSettings& s) {
    WriteColor(ini, "Background", s.Background);
    WriteColor(ini, "Pro1", s.Pro1);
    WriteColor(ini, "Pro2", s.Pro2);
    WriteColor(ini, "Pro3", s.Pro3);
    WriteColor(ini, "Text", s.Text);
    ini.WriteInteger(kWindow, "Height", s.Height);
    ini.WriteInteger(kWindow, "Width", s.Width);
    ini.WriteInteger(kWindow, "Left", s.Left);
    ini.WriteInteger(kWindow, "Top", s.Top);
    WriteWindowFlag(ini, "AlwaysTop", s.AlwaysTop);
    WriteWindowFlag(ini, "ShowNumeric", s.ShowNumeric);
    WriteWindowFlag(ini, "SnapWindow", s.SnapWindow);
    WriteWindowFlag(ini, "AlphaOn", s.AlphaOn);
    ini.WriteInteger(kWindow, "Alpha", AlphaByte(s.Alpha));
    WriteWindowFlag(ini, "AllProcessors", s.AllProcessors);
    WriteWindowFlag(ini, "HideFullScreen", s.HideFullScreen);
    ini.WriteBool(kOrientation, "Horizontal", s.Horizontal);
    ini.WriteBool(kMisc, "Welcome", s.Welcome);
    ini.UpdateFile();
}

int LoadPercent(double fraction) {
    return static_cast<int>(RoundHalfEven(static_cast<long double>(fraction) * 100.0L));
}

std::string LoadHint(int percent) {
    return "CPU Usage: " + std::to_string(percent) + "%";
}

TPoint StripPosition(int left, int top, int width, int height,
                     const std::vector<TRect>& workAreas) {
    // 64-bit edges: a hand-edited file may put the strip anywhere an integer reaches.
    const std::int64_t right = std::int64_t{left} + std::max(width, 1);
    const std::int64_t bottom = std::int64_t{top} + std::max(height, 1);
    for (const TRect& area : workAreas)
        if (std::max(left, area.Left) < std::min<std::int64_t>(right, area.Right) &&
            std::max(top, area.Top) < std::min<std::int64_t>(bottom, area.Bottom))
            return {left, top};
    return {300, 0};
}

} // namespace zq
