#pragma once
// What the System Information dialog shows on its Processor, Cache and Feature Set pages: the
// value texts, the clock speed's text and the feature list.
#include <array>
#include <cstdint>
#include <string>

#include "cpuid/ProcessorIdentity.h"

namespace zq {

// Processor page values.
const char* FDivText(bool flawPresent);        // "Present" / "Not Present"
const char* ProcessorTypeText(bool overDrive); // "OverDrive Processor" / "OEM or Retail ..."
const char* MMXText(bool supported);
const char* SIMDText(bool supported);
const char* AMD3DNowText(bool supported);

// Cache page values: "256 Kb".
std::string CacheSizeText(std::int32_t kilobytes);

// "2992.50 MHz": two decimals written with the given decimal separator.
std::string ClockSpeedText(double megahertz, const std::string& decimalSeparator);

// One row of the feature list: the short name (its caption, by which the list is sorted), the
// description and the flag, a standard or an extended one.
struct TFeatureRow {
    const char* Name;
    const char* Description;
    bool (TCpuFeatureSet::*Standard)() const;
    bool (TCpuExFeatureSet::*Extended)() const;

    bool Present(const TCpuFeatureSet& standard, const TCpuExFeatureSet& extended) const {
        return Standard ? (standard.*Standard)() : (extended.*Extended)();
    }
};

// In the order the rows are added.
extern const std::array<TFeatureRow, 30> FeatureRows;

// Images of the feature list: a check mark and a cross.
constexpr int FeaturePresentImage = 0;
constexpr int FeatureAbsentImage = 1;

} // namespace zq
