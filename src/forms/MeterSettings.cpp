#include "forms/MeterSettings.h"

#include <algorithm>
#include <cstdint>

namespace zq {

namespace {

// Puts a number as the file holds it into the key's field: a byte keeps its low eight bits, any
// number but 0 is an option on.
void Store(const TSettingKey& key, int value, MeterSettings& s) {
    switch (key.Type) {
    case TSettingType::Color:
        s.*key.ColorField = static_cast<TColor>(value);
        break;
    case TSettingType::Integer:
        s.*key.IntegerField = value;
        break;
    case TSettingType::Byte:
        s.*key.ByteField = static_cast<unsigned char>(value & 0xFF);
        break;
    case TSettingType::Flag:
        s.*key.FlagField = value != 0;
        break;
    }
}

// The number the file holds for the key's field.
int Stored(const TSettingKey& key, const MeterSettings& s) {
    switch (key.Type) {
    case TSettingType::Color:
        return static_cast<int>(s.*key.ColorField);
    case TSettingType::Integer:
        return s.*key.IntegerField;
    case TSettingType::Byte:
        return s.*key.ByteField;
    case TSettingType::Flag:
        return s.*key.FlagField ? 1 : 0;
    }
    return 0;
}

} // namespace

MeterSettings DefaultMeterSettings() {
    MeterSettings s;
    for (const TSettingKey& key : kMeterSettingKeys)
        Store(key, key.Default, s);
    return s;
}

MeterSettings ReadMeterSettings(TIniFile& ini) {
    MeterSettings s;
    for (const TSettingKey& key : kMeterSettingKeys)
        Store(key, ini.ReadInteger(key.Section, key.Key, key.Default), s);
    if (s.Width < kMinimumStripWidth || s.Height < kMinimumStripHeight) {
        s.Width = kDefaultStripWidth;
        s.Height = kDefaultStripHeight;
    }
    return s;
}

void WriteMeterSettings(TIniFile& ini, const MeterSettings& settings) {
    for (const TSettingKey& key : kMeterSettingKeys)
        ini.WriteInteger(key.Section, key.Key, Stored(key, settings));
    ini.UpdateFile();
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
    return kFirstRunPosition;
}

} // namespace zq
