#pragma once
// The operations every vendor module offers; the vendor dispatch of the queries picks one module
// by the vendor code. Modules name a processor from its snapshot alone.
#include <string>

#include "cpuid/CpuClock.h"
#include "cpuid/CpuidSnapshot.h"

namespace zq {

class TCpuVendorModule {
public:
    virtual ~TCpuVendorModule() = default;
    // Empty for the fallback module.
    virtual std::string VendorID() const = 0;
    // Ends in one blank; the full name is the short name followed by the model name.
    virtual std::string ShortName() const = 0;
    virtual std::string LongName() const = 0;
    virtual std::string ModelName(const TCpuidSnapshot& processor) const = 0;
    // Raw clock in MHz, measured over `delay` milliseconds; the same measurement for all
    // (VendorDefault).
    virtual float RawSpeed(TCpuClock& clock, const TCpuidSnapshot& processor, int delay) const;
};

} // namespace zq
