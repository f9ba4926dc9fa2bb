#include "cpuid/VendorRise.h"

#include "cpuid/CpuidRegisters.h"

namespace zq {

namespace {

class TRiseVendor final : public TCpuVendorModule {
public:
    std::string VendorID() const override { return "RiseRiseRise"; }
    std::string ShortName() const override { return "Rise "; }
    std::string LongName() const override { return "Rise Technology"; }
    std::string ModelName(const TCpuidSnapshot& processor) const override {
        const std::uint32_t signature = ReadSignature(processor);
        if (SignatureFamily(signature) != 5)
            return {};
        const int model = SignatureModel(signature);
        return model == 0 || model == 2 ? "mP6" : "Pentium class";
    }
};

} // namespace

const TCpuVendorModule& RiseVendor() {
    static const TRiseVendor vendor;
    return vendor;
}

} // namespace zq
