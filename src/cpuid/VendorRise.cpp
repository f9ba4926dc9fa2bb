#include "cpuid/VendorRise.h"

#include "cpuid/CpuidQueries.h"

namespace zq {

namespace {

class TRiseVendor final : public TCpuVendorModule {
public:
    std::string VendorID() const override { return "RiseRiseRise"; }
    std::string ShortName() const override { return "Rise "; }
    std::string LongName() const override { return "Rise Technology"; }
    std::string ModelName(TCpuPort& port, std::uint8_t cpu) const override {
        if (GetFamily(port, cpu) != 5)
            return {};
        const int model = GetModel(port, cpu);
        return model == 0 || model == 2 ? "mP6" : "Pentium class";
    }
};

} // namespace

const TCpuVendorModule& RiseVendor() {
    static const TRiseVendor vendor;
    return vendor;
}

} // namespace zq
