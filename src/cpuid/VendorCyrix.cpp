#include "cpuid/VendorCyrix.h"

#include "cpuid/CpuidConst.h"
#include "cpuid/VendorDefault.h"

namespace zq {

namespace {

std::string Family4(int model) {
    switch (model) {
    case 4:
        return "Media GX";
    case 9:
        return "Cx5x86";
    default:
        return "486 class";
    }
}

std::string Family5(int model) {
    switch (model) {
    case 2:
        return "6x86";
    case 4:
        return "GXm";
    default:
        return "Pentium class";
    }
}

std::string Family6(int model) {
    switch (model) {
    case 0:
        return "6x86MX";
    case 5:
        return "VIA Cyrix III";
    default:
        return "M2 Class";
    }
}

class TCyrixVendor final : public TCpuVendorModule {
public:
    std::string VendorID() const override { return cpuidVendorCyrix; }
    std::string ShortName() const override { return "Cyrix "; }
    std::string LongName() const override { return "Cyrix Corporation"; }
    std::string ModelName(const TCpuidSnapshot& processor) const override {
        return ModelNameByFamily(processor, Family4, Family5, Family6);
    }
};

} // namespace

const TCpuVendorModule& CyrixVendor() {
    static const TCyrixVendor vendor;
    return vendor;
}

} // namespace zq
