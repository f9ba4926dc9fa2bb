#include "cpuid/VendorAmd.h"

#include "cpuid/CpuidConst.h"
#include "cpuid/VendorDefault.h"

namespace zq {

namespace {

std::string Family4(int model) {
    switch (model) {
    case 3:
    case 7:
    case 8:
    case 9:
        return "Am486";
    case 14:
    case 15:
        return "Am5x86";
    default:
        return "486 class";
    }
}

std::string Family5(int model) {
    switch (model) {
    case 0:
        return "K5 (Model 0)";
    case 1:
        return "K5 (Model 1)";
    case 2:
        return "K5 (Model 2)";
    case 3:
        return "K5 (Model 3)";
    case 6:
        return "K6 (Model 6)";
    case 7:
        return "K6 (Model 7)";
    case 8:
        return "K6-2";
    case 9:
        return "K6-III";
    case 13:
        return "K6-2+/K6-III+";
    default:
        return "Pentium class";
    }
}

std::string Family6(int model) {
    switch (model) {
    case 1:
    case 2:
    case 4:
        return "Athlon";
    case 3:
        return "Duron";
    default:
        return "Athlon class";
    }
}

class TAMDVendor final : public TCpuVendorModule {
public:
    std::string VendorID() const override { return cpuidVendorAMD; }
    std::string ShortName() const override { return "AMD "; }
    std::string LongName() const override { return "Advanced Micro Devices"; }
    std::string ModelName(const TCpuidSnapshot& processor) const override {
        return ModelNameByFamily(processor, Family4, Family5, Family6);
    }
};

} // namespace

const TCpuVendorModule& AMDVendor() {
    static const TAMDVendor vendor;
    return vendor;
}

} // namespace zq
