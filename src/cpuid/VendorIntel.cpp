#include "cpuid/VendorIntel.h"

#include <string_view>

#include "cpuid/CpuidConst.h"
#include "cpuid/CpuidQueries.h"

namespace zq {

namespace {

constexpr char p6ClassName[] = "Pentium II/III class";

std::string Family4(int model) {
    switch (model) {
    case 4:
        return "80486SL";
    case 7:
        return "80486DX2";
    case 8:
        return "80486DX4";
    default:
        return "486 class";
    }
}

std::string Family5(int model) {
    switch (model) {
    case 0:
    case 1:
        return "Pentium (P5)";
    case 2:
    case 7:
        return "Pentium (P54C)";
    case 3:
        return "Pentium 486 OverDrive";
    case 4:
        return "Pentium MMX";
    default:
        return "Pentium class";
    }
}

std::string Family6(TCpuPort& port, std::uint8_t cpu, int model) {
    const int l2 = GetL2Size(port, cpu);
    switch (model) {
    case 0:
    case 1:
        return "Pentium Pro";
    case 3:
        return IsOverDrive(port, cpu) ? "Pentium II Overdrive" : "Pentium II (Model 3)";
    case 5:
        if (l2 < 128)
            return "Celeron (Model 5)";
        return l2 < 1024 ? "Pentium II (Model 5)" : "Pentium II Xeon";
    case 6:
        if (l2 > 128)
            return "Mobile Pentium II";
        return HasFeature(port, cpu, cpuidBitSerial) ? "Mobile Celeron" : "Celeron";
    case 7:
    case 8:
        switch (GetBrandIndex(port, cpu)) {
        case 0:
            return l2 >= 1024 ? "Pentium III Xeon" : "Pentium III";
        case 1:
            return "Celeron";
        case 2:
            return "Pentium III";
        case 3:
            return "Pentium III Xeon";
        case 8:
            return "Pentium 4";
        default:
            return "Pentium III class";
        }
    case 10:
        return "Pentium III Xeon";
    default:
        return p6ClassName;
    }
}

// Processors of family 6 beyond the P6 generation (a nonzero extended model: from the Core 2 of
// 45 nm on) are named by their brand string, without its padding.
std::string BrandName(TCpuPort& port, std::uint8_t cpu) {
    std::string brand = GetMaxCPUIDLevelEx(port, cpu) >= 4 ? GetBrandString(port, cpu) : "";
    const auto last = brand.find_last_not_of(std::string_view(" \0", 2));
    brand.erase(last == std::string::npos ? 0 : last + 1);
    brand.erase(0, brand.find_first_not_of(' '));
    return brand.empty() ? p6ClassName : brand;
}

class TIntelVendor final : public TCpuVendorModule {
public:
    std::string VendorID() const override { return cpuidVendorIntel; }
    std::string ShortName() const override { return "Intel "; }
    std::string LongName() const override { return "Intel Corporation"; }
    std::string ModelName(TCpuPort& port, std::uint8_t cpu) const override {
        const int family = GetFamily(port, cpu);
        if (family == 6)
            return GetModelEx(port, cpu) == 0 ? Family6(port, cpu, GetModel(port, cpu))
                                              : BrandName(port, cpu);
        switch (family) {
        case 4:
            return Family4(GetModel(port, cpu));
        case 5:
            return Family5(GetModel(port, cpu));
        case 15:
            return GetModel(port, cpu) == 0 ? "Pentium 4" : "Pentium 4 class";
        default:
            return {};
        }
    }
};

} // namespace

const TCpuVendorModule& IntelVendor() {
    static const TIntelVendor vendor;
    return vendor;
}

} // namespace zq
