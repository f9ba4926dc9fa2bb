#pragma once
// The operations every vendor module offers, the fallback module for unknown vendors and
// processors without CPUID, and the clock measurement.
#include <cstdint>
#include <string>

#include "cpuid/cpuidPort.h"

namespace zq {

class TCpuVendorModule {
public:
    virtual ~TCpuVendorModule() = default;
    // Empty for the fallback module.
    virtual std::string VendorID() const = 0;
    // Ends in one blank; the full name is the short name followed by the model name.
    virtual std::string ShortName() const = 0;
    virtual std::string LongName() const = 0;
    virtual std::string ModelName(TCpuPort& port, std::uint8_t cpu) const = 0;
    // Raw clock in MHz, measured over `delay` milliseconds; the same measurement for all.
    virtual float RawSpeed(TCpuPort& port, std::uint8_t cpu, int delay) const;
};

const TCpuVendorModule& DefaultVendor();

// Names the model with one naming function per family 4, 5 and 6; other families get no name.
using TFamilyNamer = std::string (*)(int model);
std::string ModelNameByFamily(TCpuPort& port, std::uint8_t cpu, TFamilyNamer family4,
                              TFamilyNamer family5, TFamilyNamer family6);

// Counts time stamp counter ticks for `delay` milliseconds at real-time priority; -1.0 when
// the processor has no time stamp counter or the delay is not positive.
float MeasureRawClock(TCpuPort& port, std::uint8_t cpu, int delay);
// Rounds a raw clock to the nearest customary clock figure (whole MHz).
int RoundClock(float raw);

} // namespace zq
