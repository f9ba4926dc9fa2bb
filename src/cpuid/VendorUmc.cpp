#include "cpuid/VendorUmc.h"

#include "cpuid/CpuidRegisters.h"

namespace zq {

namespace {

class TUMCVendor final : public TCpuVendorModule {
public:
    std::string VendorID() const override { return "UMC UMC UMC "; }
    std::string ShortName() const override { return "UMC "; }
    std::string LongName() const override { return "United Microelectronics Corp"; }
    std::string ModelName(const TCpuidSnapshot& processor) const override {
        const std::uint32_t signature = ReadSignature(processor);
        if (SignatureFamily(signature) != 4)
            return {};
        switch (SignatureModel(signature)) {
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
