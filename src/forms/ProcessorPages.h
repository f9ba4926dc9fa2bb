#pragma once
// What the System Information dialog shows on its Processor, Cache and Feature Set pages: the
// value texts, the clock measurement of its own and the feature list.
#include <array>
#include <cstdint>
#include <string>

#include "cpuid/CpuIdentComp.h"
#include "cpuid/cpuidPort.h"

namespace zq {

// Processor page values.
const char* FDivText(bool flawPresent);        // "Present" / "Not Present"
const char* ProcessorTypeText(bool overDrive); // "OverDrive Processor" / "OEM or Retail ..."
const char* MMXText(bool supported);
const char* SIMDText(bool supported);
const char* AMD3DNowText(bool supported);

// Cache page values: "256 Kb".
std::string CacheSizeText(std::int32_t kilobytes);

// The clock in MHz: time stamp counter ticks over a 500 ms sleep at time-critical priority
// (after 10 ms to let the raised priority take hold), the difference taken in its low 32 bits, so
// right below about 8.59 GHz. Without a time stamp counter nothing runs and the clock is 0.
double MeasureClockSpeed(TCpuPort& port, bool timeStampCounter);

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
