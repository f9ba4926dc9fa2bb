#include "cpuid/VendorIntel.h"

#include <string_view>

#include "cpuid/CpuidCache.h"
#include "cpuid/CpuidConst.h"
#include "cpuid/CpuidRegisters.h"

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

std::string Family6(const TCpuidSnapshot& processor, std::uint32_t signature) {
    const int l2 = ReadCacheSizes(processor)[TCacheKind::ckL2];
    switch (SignatureModel(signature)) {
    case 0:
    case 1:
        return "Pentium Pro";
    case 3:
        return SignatureType(signature) == 1 ? "Pentium II Overdrive" : "Pentium II (Model 3)";
    case 5:
        if (l2 < 128)
            return "Celeron (Model 5)";
        return l2 < 1024 ? "Pentium II (Model 5)" : "Pentium II Xeon";
    case 6:
        if (l2 > 128)
            return "Mobile Pentium II";
        return TestBit(ReadFeatureWord(processor), cpuidBitSerial) ? "Mobile Celeron" : "Celeron";
    case 7:
    case 8:
        switch (ReadBrandIndex(processor)) {
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
std::string BrandName(const TCpuidSnapshot& processor) {
    std::string brand =
        ExtendedLevelCount(ReadMaxLevelExRaw(processor)) >= 4 ? ReadBrandString(processor) : "";
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
    std::string ModelName(const TCpuidSnapshot& processor) const override {
        const std::uint32_t signature = ReadSignature(processor);
        const int model = SignatureModel(signature);
        switch (SignatureFamily(signature)) {
        case 4:
            return Family4(model);
        case 5:
            return Family5(model);
        case 6:
            return SignatureModelEx(signature) == 0 ? Family6(processor, signature)
                                                    : BrandName(processor);
        case 15:
            return model == 0 ? "Pentium 4" : "Pentium 4 class";
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
