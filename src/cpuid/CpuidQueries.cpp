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

std::int32_t SignatureField(TCpuPort& port, int (*field)(std::uint32_t)) {
    if (!CpuidAvailable(port))
        return -1;
    return field(ReadSignature(port));
}

} // namespace

bool IsCPUIDAvailable(TCpuPort& port, std::uint8_t) {
    return CpuidAvailable(port);
}

std::int32_t GetMaxCPUIDLevel(TCpuPort& port, std::uint8_t) {
    if (!CpuidAvailable(port))
        return -1;
    return static_cast<std::int32_t>(ReadMaxLevel(port));
}

std::int32_t GetMaxCPUIDLevelEx(TCpuPort& port, std::uint8_t) {
    if (!CpuidAvailable(port))
        return -1;
    return ExtendedLevelCount(ReadMaxLevelExRaw(port));
}

std::string GetVendorString(TCpuPort& port, std::uint8_t) {
    if (!CpuidAvailable(port))
        return {};
    return ReadVendorString(port);
}

std::int32_t GetSignature(TCpuPort& port, std::uint8_t) {
    if (!CpuidAvailable(port))
        return -1;
    return static_cast<std::int32_t>(ReadSignature(port));
}

std::int32_t GetProcessorType(TCpuPort& port, std::uint8_t) {
    return SignatureField(port, SignatureType);
}
std::int32_t GetFamily(TCpuPort& port, std::uint8_t) {
    return SignatureField(port, SignatureFamily);
}
std::int32_t GetFamilyEx(TCpuPort& port, std::uint8_t) {
    return SignatureField(port, SignatureFamilyEx);
}
std::int32_t GetModel(TCpuPort& port, std::uint8_t) {
    return SignatureField(port, SignatureModel);
}
std::int32_t GetModelEx(TCpuPort& port, std::uint8_t) {
    return SignatureField(port, SignatureModelEx);
}
std::int32_t GetStepping(TCpuPort& port, std::uint8_t) {
    return SignatureField(port, SignatureStepping);
}

std::int32_t GetBrandIndex(TCpuPort& port, std::uint8_t) {
    if (!CpuidAvailable(port))
        return -1;
    return static_cast<std::int32_t>(ReadBrandIndex(port));
}

std::int32_t GetFeatureWord(TCpuPort& port, std::uint8_t) {
    if (!CpuidAvailable(port))
        return -1;
    return static_cast<std::int32_t>(ReadFeatureWord(port));
}

std::int32_t GetExtFeatureWord(TCpuPort& port, std::uint8_t) {
    if (!CpuidAvailable(port))
        return -1;
    return static_cast<std::int32_t>(ReadExtFeatureWord(port));
}

bool HasFeature(TCpuPort& port, std::uint8_t, int bit) {
    return CpuidAvailable(port) && TestBit(ReadFeatureWord(port), bit);
}

bool HasExtFeature(TCpuPort& port, std::uint8_t, int bit) {
    return CpuidAvailable(port) && TestBit(ReadExtFeatureWord(port), bit);
}

bool IsMMX(TCpuPort& port, std::uint8_t cpu) {
    return HasFeature(port, cpu, cpuidBitMMX);
}

bool IsOverDrive(TCpuPort& port, std::uint8_t cpu) {
    return GetProcessorType(port, cpu) == 1;
}

bool HasFDivBug(TCpuPort& port, std::uint8_t) {
    return CpuidAvailable(port) && FdivFlawPresent();
}

std::string GetSerialNumber(TCpuPort& port, std::uint8_t) {
    return ReadSerialNumber(port);
}

std::string GetBrandString(TCpuPort& port, std::uint8_t) {
    if (!CpuidAvailable(port))
        return {};
    return ReadBrandString(port);
}

std::uint32_t GetProcessorCount(TCpuPort& port, std::uint8_t) {
    return ReadProcessorCount(port);
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

int GetVendorCode(TCpuPort& port, std::uint8_t cpu) {
    const std::string vendor = GetVendorString(port, cpu);
    for (int code = 1; code <= 7; ++code)
        if (vendor == VendorModule(code).VendorID())
            return code;
    return 0;
}

std::string GetVendorName(TCpuPort& port, std::uint8_t cpu) {
    return VendorModule(GetVendorCode(port, cpu)).LongName();
}

std::string GetModelName(TCpuPort& port, std::uint8_t cpu) {
    return VendorModule(GetVendorCode(port, cpu)).ModelName(port, cpu);
}

std::string GetFullName(TCpuPort& port, std::uint8_t cpu) {
    const TCpuVendorModule& module = VendorModule(GetVendorCode(port, cpu));
    return module.ShortName() + module.ModelName(port, cpu);
}

std::int32_t GetCPUSpeed(TCpuPort& port, std::uint8_t cpu, int delay) {
    return RoundClock(VendorModule(GetVendorCode(port, cpu)).RawSpeed(port, cpu, delay));
}

// Every size query reads the caches afresh.
std::int32_t GetL1DataSize(TCpuPort& port, std::uint8_t) {
    return ReadCacheSizes(port)[TCacheKind::ckL1Data];
}

std::int32_t GetL1CodeSize(TCpuPort& port, std::uint8_t) {
    return ReadCacheSizes(port)[TCacheKind::ckL1Code];
}

std::int32_t GetL1UnifiedSize(TCpuPort& port, std::uint8_t) {
    return ReadCacheSizes(port)[TCacheKind::ckL1Unified];
}

std::int32_t GetL2Size(TCpuPort& port, std::uint8_t) {
    return ReadCacheSizes(port)[TCacheKind::ckL2];
}

std::int32_t GetL3Size(TCpuPort& port, std::uint8_t) {
    return ReadCacheSizes(port)[TCacheKind::ckL3];
}

int GetCPUIDRecord(TCpuPort& port, TCpuidRecord& record) {
    if (record.Size != sizeof(TCpuidRecord))
        return cpuidWrongSize;
    const std::uint8_t cpu = record.Processor;
    record.Available = IsCPUIDAvailable(port, cpu) ? 1 : 0;
    record.MaxLevel = GetMaxCPUIDLevel(port, cpu);
    record.MaxLevelEx = GetMaxCPUIDLevelEx(port, cpu);
    return cpuidSuccess;
}

int GetCacheRecord(TCpuPort& port, TCacheRecord& record) {
    if (record.Size != sizeof(TCacheRecord))
        return cpuidWrongSize;
    const std::uint8_t cpu = record.Processor;
    record.L1Code = GetL1CodeSize(port, cpu);
    record.L1Data = GetL1DataSize(port, cpu);
    record.L1Unified = GetL1UnifiedSize(port, cpu);
    record.L2 = GetL2Size(port, cpu);
    return cpuidSuccess;
}

int GetFeatureRecord(TCpuPort& port, TFeatureRecord& record) {
    if (record.Size != sizeof(TFeatureRecord))
        return cpuidWrongSize;
    const std::uint8_t cpu = record.Processor;
    const bool available = IsCPUIDAvailable(port, cpu);
    const std::uint32_t word = available ? ReadFeatureWord(port) : 0;
    const std::uint32_t ext = available ? ReadExtFeatureWord(port) : 0;
    const int vendor = available ? GetVendorCode(port, cpu) : 0;
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

int GetIdentRecord(TCpuPort& port, TIdentRecord& record) {
    if (record.Size != sizeof(TIdentRecord))
        return cpuidWrongSize;
    const std::uint8_t cpu = record.Processor;
    record.Signature = GetSignature(port, cpu);
    record.ProcessorType = GetProcessorType(port, cpu);
    record.Family = GetFamily(port, cpu);
    record.FamilyEx = GetFamilyEx(port, cpu);
    record.Model = GetModel(port, cpu);
    record.ModelEx = GetModelEx(port, cpu);
    record.Stepping = GetStepping(port, cpu);
    record.Brand = GetBrandIndex(port, cpu);
    return cpuidSuccess;
}

} // namespace zq
