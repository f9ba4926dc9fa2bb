#include "cpuid/VendorDefault.h"

#include "cpuid/CpuidRegisters.h"

namespace zq {

namespace {

class TDefaultVendor final : public TCpuVendorModule {
public:
    std::string VendorID() const override { return {}; }
    std::string ShortName() const override { return "Unknown "; }
    std::string LongName() const override { return "Unknown Vendor"; }
    std::string ModelName(const TCpuidSnapshot& processor) const override {
        const std::uint32_t type = processor.System.ProcessorType;
        switch (type) {
        case 386:
            return "386 class";
        case 486:
            return "486 class";
        case 586:
            return "Pentium class";
        case 686:
            return "Pentium II class";
        default:
            return std::to_string(type) + " class";
        }
    }
};

} // namespace

float TCpuVendorModule::RawSpeed(TCpuClock& clock, const TCpuidSnapshot& processor,
                                 int delay) const {
    return MeasureRawClock(clock, HasTimeStampCounter(processor), delay);
}

const TCpuVendorModule& DefaultVendor() {
    static const TDefaultVendor vendor;
    return vendor;
}

std::string ModelNameByFamily(const TCpuidSnapshot& processor, TFamilyNamer family4,
                              TFamilyNamer family5, TFamilyNamer family6) {
    if (!processor.Available())
        return {};
    const std::uint32_t signature = ReadSignature(processor);
    const int model = SignatureModel(signature);
    switch (SignatureFamily(signature)) {
    case 4:
        return family4(model);
    case 5:
        return family5(model);
    case 6:
        return family6(model);
    default:
        return {};
    }
}

} // namespace zq
