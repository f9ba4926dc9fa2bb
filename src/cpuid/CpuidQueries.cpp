#include "cpuid/CpuidQueries.h"

#include <array>

#include "cpuid/VendorAmd.h"
#include "cpuid/CpuidRegisters.h"
#include "cpuid/CpuidCache.h"
#include "cpuid/CpuidConst.h"
#include "cpuid/VendorCyrix.h"
#include "cpuid/VendorDefault.h"
#include "cpuid/VendorIdt.h"
#include "cpuid/VendorIntel.h"
#include "cpuid/VendorNexGen.h"
#include "cpuid/VendorRise.h"
#include "cpuid/VendorUmc.h"

namespace zq {

namespace {

constexpr int vendorAMD = 2;
constexpr int vendorCyrix = 3;

std::int32_t SignatureField(const TCpuidSnapshot& processor, int (*field)(std::uint32_t)) {
    if (!processor.Available())
        return -1;
    return field(ReadSignature(processor));
}

} // namespace

bool IsCPUIDAvailable(const TCpuidSnapshot& processor) {
    return processor.Available();
}

std::int32_t GetMaxCPUIDLevel(const TCpuidSnapshot& processor) {
    if (!processor.Available())
        return -1;
    return static_cast<std::int32_t>(ReadMaxLevel(processor));
}

std::int32_t GetMaxCPUIDLevelEx(const TCpuidSnapshot& processor) {
    if (!processor.Available())
        return -1;
    return ExtendedLevelCount(ReadMaxLevelExRaw(processor));
}

std::string GetVendorString(const TCpuidSnapshot& processor) {
    if (!processor.Available())
        return {};
    return ReadVendorString(processor);
}

std::int32_t GetSignature(const TCpuidSnapshot& processor) {
    if (!processor.Available())
        return -1;
    return static_cast<std::int32_t>(ReadSignature(processor));
}

std::int32_t GetProcessorType(const TCpuidSnapshot& processor) {
    return SignatureField(processor, SignatureType);
}
std::int32_t GetFamily(const TCpuidSnapshot& processor) {
    return SignatureField(processor, SignatureFamily);
}
std::int32_t GetFamilyEx(const TCpuidSnapshot& processor) {
    return SignatureField(processor, SignatureFamilyEx);
}
std::int32_t GetModel(const TCpuidSnapshot& processor) {
    return SignatureField(processor, SignatureModel);
}
std::int32_t GetModelEx(const TCpuidSnapshot& processor) {
    return SignatureField(processor, SignatureModelEx);
}
std::int32_t GetStepping(const TCpuidSnapshot& processor) {
    return SignatureField(processor, SignatureStepping);
}

std::int32_t GetBrandIndex(const TCpuidSnapshot& processor) {
    if (!processor.Available())
        return -1;
    return static_cast<std::int32_t>(ReadBrandIndex(processor));
}

std::int32_t GetFeatureWord(const TCpuidSnapshot& processor) {
    if (!processor.Available())
        return -1;
    return static_cast<std::int32_t>(ReadFeatureWord(processor));
}

std::int32_t GetExtFeatureWord(const TCpuidSnapshot& processor) {
    if (!processor.Available())
        return -1;
    return static_cast<std::int32_t>(ReadExtFeatureWord(processor));
}

bool HasFeature(const TCpuidSnapshot& processor, int bit) {
    return processor.Available() && TestBit(ReadFeatureWord(processor), bit);
}

bool HasExtFeature(const TCpuidSnapshot& processor, int bit) {
    return processor.Available() && TestBit(ReadExtFeatureWord(processor), bit);
}

bool IsMMX(const TCpuidSnapshot& processor) {
    return HasFeature(processor, cpuidBitMMX);
}

bool IsOverDrive(const TCpuidSnapshot& processor) {
    return GetProcessorType(processor) == 1;
}

bool HasFDivBug(const TCpuidSnapshot& processor) {
    return processor.Available() && FdivFlawPresent();
}

std::string GetSerialNumber(const TCpuidSnapshot& processor) {
    return ReadSerialNumber(processor);
}

std::string GetBrandString(const TCpuidSnapshot& processor) {
    if (!processor.Available())
        return {};
    return ReadBrandString(processor);
}

std::uint32_t GetProcessorCount(const TCpuidSnapshot& processor) {
    return ReadProcessorCount(processor);
}

const TCpuVendorModule& VendorModule(int vendorCode) {
    switch (vendorCode) {
    case 1:
        return IntelVendor();
    case 2:
        return AMDVendor();
    case 3:
        return CyrixVendor();
    case 4:
        return IDTVendor();
    case 5:
        return NexGenVendor();
    case 6:
        return UMCVendor();
    case 7:
        return RiseVendor();
    default:
        return DefaultVendor();
    }
}

int GetVendorCode(const TCpuidSnapshot& processor) {
    const std::string vendor = GetVendorString(processor);
    for (int code = 1; code <= 7; ++code)
        if (vendor == VendorModule(code).VendorID())
            return code;
    return 0;
}

std::string GetVendorName(const TCpuidSnapshot& processor) {
    return VendorModule(GetVendorCode(processor)).LongName();
}

std::string GetModelName(const TCpuidSnapshot& processor) {
    return VendorModule(GetVendorCode(processor)).ModelName(processor);
}

std::string GetFullName(const TCpuidSnapshot& processor) {
    const TCpuVendorModule& module = VendorModule(GetVendorCode(processor));
    return module.ShortName() + module.ModelName(processor);
}

std::int32_t GetCPUSpeed(const TCpuidSnapshot& processor, TCpuClock& clock, int delay) {
    return RoundClock(VendorModule(GetVendorCode(processor)).RawSpeed(clock, processor, delay));
}

// Every size query decodes the caches afresh from the snapshot.
std::int32_t GetL1DataSize(const TCpuidSnapshot& processor) {
    return ReadCacheSizes(processor)[TCacheKind::ckL1Data];
}

std::int32_t GetL1CodeSize(const TCpuidSnapshot& processor) {
    return ReadCacheSizes(processor)[TCacheKind::ckL1Code];
}

std::int32_t GetL1UnifiedSize(const TCpuidSnapshot& processor) {
    return ReadCacheSizes(processor)[TCacheKind::ckL1Unified];
}

std::int32_t GetL2Size(const TCpuidSnapshot& processor) {
    return ReadCacheSizes(processor)[TCacheKind::ckL2];
}

std::int32_t GetL3Size(const TCpuidSnapshot& processor) {
    return ReadCacheSizes(processor)[TCacheKind::ckL3];
}

int GetCPUIDRecord(const TCpuidSnapshot& processor, TCpuidRecord& record) {
    if (record.Size != sizeof(TCpuidRecord))
        return cpuidWrongSize;
    record.Available = IsCPUIDAvailable(processor) ? 1 : 0;
    record.MaxLevel = GetMaxCPUIDLevel(processor);
    record.MaxLevelEx = GetMaxCPUIDLevelEx(processor);
    return cpuidSuccess;
}

int GetCacheRecord(const TCpuidSnapshot& processor, TCacheRecord& record) {
    if (record.Size != sizeof(TCacheRecord))
        return cpuidWrongSize;
    record.L1Code = GetL1CodeSize(processor);
    record.L1Data = GetL1DataSize(processor);
    record.L1Unified = GetL1UnifiedSize(processor);
    record.L2 = GetL2Size(processor);
    return cpuidSuccess;
}

int GetFeatureRecord(const TCpuidSnapshot& processor, TFeatureRecord& record) {
    if (record.Size != sizeof(TFeatureRecord))
        return cpuidWrongSize;
    const bool available = IsCPUIDAvailable(processor);
    const std::uint32_t word = available ? ReadFeatureWord(processor) : 0;
    const std::uint32_t ext = available ? ReadExtFeatureWord(processor) : 0;
    const int vendor = available ? GetVendorCode(processor) : 0;
    auto bit = [word](int n) -> std::uint8_t { return TestBit(word, n) ? 1 : 0; };
    auto extBit = [ext](int n) -> std::uint8_t { return TestBit(ext, n) ? 1 : 0; };

    record.FPU = bit(0);
    record.VME = bit(1);
    record.DE = bit(2);
    record.PSE = bit(3);
    record.TSC = bit(4);
    record.MSR = bit(5);
    record.PAE = bit(6);
    record.MCE = bit(7);
    record.CX8 = bit(8);
    record.APIC = bit(9);
    record.SEP = bit(11);
    record.MTRR = bit(12);
    record.PGE = bit(13);
    record.MCA = bit(14);
    record.CMOV = bit(15);
    record.PAT = bit(16);
    record.PSE36 = bit(17);
    record.SERIAL = bit(18);
    record.MMX = bit(23);
    record.XSR = bit(24);
    record.SIMD = bit(25);
    record.MMXEx = vendor == vendorAMD ? extBit(22) : vendor == vendorCyrix ? extBit(24) : 0;
    record.AMD3DNow = extBit(31);
    record.AMD3DNowEx = extBit(30);
    record.CLFLUSH = bit(19);
    record.DTS = bit(21);
    record.ACPI = bit(22);
    record.SIMD2 = bit(26);
    record.SS = bit(27);
    record.TM = bit(29);
    return cpuidSuccess;
}

int GetIdentRecord(const TCpuidSnapshot& processor, TIdentRecord& record) {
    if (record.Size != sizeof(TIdentRecord))
        return cpuidWrongSize;
    record.Signature = GetSignature(processor);
    record.ProcessorType = GetProcessorType(processor);
    record.Family = GetFamily(processor);
    record.FamilyEx = GetFamilyEx(processor);
    record.Model = GetModel(processor);
    record.ModelEx = GetModelEx(processor);
    record.Stepping = GetStepping(processor);
    record.Brand = GetBrandIndex(processor);
    return cpuidSuccess;
}

} // namespace zq
