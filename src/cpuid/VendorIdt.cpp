#include "cpuid/VendorIdt.h"

#include "cpuid/CpuidConst.h"
#include "cpuid/CpuidRegisters.h"

namespace zq {

namespace {

class TIDTVendor final : public TCpuVendorModule {
public:
    std::string VendorID() const override { return cpuidVendorCentaur; }
    std::string ShortName() const override { return "IDT "; }
    std::string LongName() const override { return "IDT/Centaur"; }
    std::string ModelName(const TCpuidSnapshot& processor) const override {
        const std::uint32_t signature = ReadSignature(processor);
        if (SignatureFamily(signature) != 5)
            return {};
        switch (SignatureModel(signature)) {
        case 4:
            return "C6";
        case 8:
            return "C2";
        case 9:
            return "C3";
        default:
            return "Pentium class";
        }
    }
};

} // namespace

const TCpuVendorModule& IDTVendor() {
    static const TIDTVendor vendor;
    return vendor;
}

} // namespace zq
