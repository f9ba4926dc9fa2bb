#include "cpuid/VendorNexGen.h"

#include "cpuid/CpuidRegisters.h"

namespace zq {

namespace {

class TNexGenVendor final : public TCpuVendorModule {
public:
    std::string VendorID() const override { return "NexGenDriven"; }
    std::string ShortName() const override { return "NexGen "; }
    std::string LongName() const override { return "NexGen Inc"; }
    std::string ModelName(const TCpuidSnapshot& processor) const override {
        const std::uint32_t signature = ReadSignature(processor);
        if (SignatureFamily(signature) != 5)
            return {};
        return SignatureModel(signature) == 0 ? "Nx586" : "Pentium class";
    }
};

} // namespace

const TCpuVendorModule& NexGenVendor() {
    static const TNexGenVendor vendor;
    return vendor;
}

} // namespace zq
