#include "cpuid/VendorNexGen.h"

#include "cpuid/CpuidQueries.h"

namespace zq {

namespace {

class TNexGenVendor final : public TCpuVendorModule {
public:
    std::string VendorID() const override { return "NexGenDriven"; }
    std::string ShortName() const override { return "NexGen "; }
    std::string LongName() const override { return "NexGen Inc"; }
    std::string ModelName(TCpuPort& port, std::uint8_t cpu) const override {
        if (GetFamily(port, cpu) != 5)
            return {};
        return GetModel(port, cpu) == 0 ? "Nx586" : "Pentium class";
    }
};

} // namespace

const TCpuVendorModule& NexGenVendor() {
    static const TNexGenVendor vendor;
    return vendor;
}

} // namespace zq
