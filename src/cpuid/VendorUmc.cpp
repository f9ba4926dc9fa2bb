#include "cpuid/VendorUmc.h"

#include "cpuid/CpuidQueries.h"

namespace zq {

namespace {

class TUMCVendor final : public TCpuVendorModule {
public:
    std::string VendorID() const override { return "UMC UMC UMC "; }
    std::string ShortName() const override { return "UMC "; }
    std::string LongName() const override { return "United Microelectronics Corp"; }
    std::string ModelName(TCpuPort& port, std::uint8_t cpu) const override {
        if (GetFamily(port, cpu) != 4)
            return {};
        switch (GetModel(port, cpu)) {
        case 1:
            return "U5D";
        case 2:
            return "U5S";
        default:
            return "Pentium class";
        }
    }
};

} // namespace

const TCpuVendorModule& UMCVendor() {
    static const TUMCVendor vendor;
    return vendor;
}

} // namespace zq
