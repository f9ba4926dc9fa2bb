#include "cpuid/ProcessorIdentity.h"

#include "cpuid/CpuidRegisters.h"
#include "cpuid/CpuidConst.h"
#include "cpuid/CpuidQueries.h"

namespace zq {

namespace {
constexpr std::uint8_t cpu0 = 0;
}

TCpuIdSupport::TCpuIdSupport(TCpuPort& port) {
    TCpuidRecord record;
    record.Size = sizeof record;
    record.Processor = cpu0;
    if (GetCPUIDRecord(port, record) != cpuidSuccess)
        return;
    FAvailable = record.Available != 0;
    FMaxLevel = record.MaxLevel;
    FMaxLevelEx = record.MaxLevelEx;
}

TCpuDetectedInfo::TCpuDetectedInfo(TCpuPort& port) {
    TIdentRecord record;
    record.Size = sizeof record;
    record.Processor = cpu0;
    if (GetIdentRecord(port, record) == cpuidSuccess) {
        FSignature = record.Signature;
        FcpuType = record.ProcessorType;
        FcpuFamily = record.Family;
        FcpuFamilyEx = record.FamilyEx;
        FcpuModel = record.Model;
        FcpuModelEx = record.ModelEx;
        FcpuStepping = record.Stepping;
        FBrand = record.Brand;
    }
    FFeatureSet = GetFeatureWord(port, cpu0);
    FFeatureSetEx = GetExtFeatureWord(port, cpu0);
    FVendorID = GetVendorString(port, cpu0);
}

TCpuFeatureSet::TCpuFeatureSet(TCpuPort& port) {
    TFeatureRecord r;
    r.Size = sizeof r;
    r.Processor = cpu0;
    if (GetFeatureRecord(port, r) != cpuidSuccess)
        return;
    FFPU = r.FPU;
    FVME = r.VME;
    FDE = r.DE;
    FPSE = r.PSE;
    FTSC = r.TSC;
    FMSR = r.MSR;
    FPAE = r.PAE;
    FMCE = r.MCE;
    FCX8 = r.CX8;
    FAPIC = r.APIC;
    FSEP = r.SEP;
    FMTRR = r.MTRR;
    FPGE = r.PGE;
    FMCA = r.MCA;
    FCMOV = r.CMOV;
    FPAT = r.PAT;
    FPSE36 = r.PSE36;
    FSERIAL = r.SERIAL;
    FMMX = r.MMX;
    FXSR = r.XSR;
    FSIMD = r.SIMD;
    FSIMD2 = r.SIMD2;
    FCLFLUSH = r.CLFLUSH;
    FDTS = r.DTS;
    FACPI = r.ACPI;
    FSS = r.SS;
    FTM = r.TM;
}

TCpuExFeatureSet::TCpuExFeatureSet(TCpuPort& port) {
    TFeatureRecord r;
    r.Size = sizeof r;
    r.Processor = cpu0;
    if (GetFeatureRecord(port, r) != cpuidSuccess)
        return;
    FAMD3DNow = r.AMD3DNow;
    FAMD3DNowEx = r.AMD3DNowEx;
    FMMXEx = r.MMXEx;
}

TProcessorIdentityVersions::TProcessorIdentityVersions()
    : FAPI(std::make_unique<TVersionRecord>()), FVCL(std::make_unique<TVersionRecord>()) {
    FAPI->SetInfo(CpuidApiVersion());
    FVCL->SetInfo(ProcessorIdentityVersion());
}

TVersionRecordStruct ProcessorIdentityVersion() {
    return {"Copyright (C) 2026 the Zentiq developers",
            "Zentiq processor identification component",
            3.0f,
            44,
            bsFinal,
            rsPublic};
}

TProcessorIdentity::TProcessorIdentity(TComponent* owner, TCpuPort& port)
    : TComponent(owner), FPort(port) {
    FAutoBench = std::make_unique<TCpuAutoBench>();
    FCPUID = std::make_unique<TCpuIdSupport>(port);
    FInternalResults = std::make_unique<TCpuDetectedInfo>(port);
    FFeatureSet = std::make_unique<TCpuFeatureSet>(port);
    FFeatureSetEx = std::make_unique<TCpuExFeatureSet>(port);
    FVersionInfo = std::make_unique<TProcessorIdentityVersions>();
    FCache = std::make_unique<TCpuCacheInfo>();

    FCount = static_cast<int>(GetProcessorCount(port, cpu0) & 0xFFu);
    FFDivBug = HasFDivBug(port, cpu0);
    FOverDrive = IsOverDrive(port, cpu0);
    FMMX = IsMMX(port, cpu0);
    if (GetModel(port, cpu0) >= 7 && HasFeature(port, cpu0, cpuidBitSerial))
        FSerial = GetSerialNumber(port, cpu0);
    FVendor = GetVendorName(port, cpu0);
    FCPU = GetModelName(port, cpu0);
    FFullName = GetFullName(port, cpu0);

    TCacheRecord cache;
    cache.Size = sizeof cache;
    cache.Processor = cpu0;
    if (GetCacheRecord(port, cache) == cpuidSuccess) {
        FCache->FL1Data = cache.L1Data;
        FCache->FL1Code = cache.L1Code;
        FCache->FLevel1 = cache.L1Unified;
        FCache->FLevel2 = cache.L2;
    }
    FCache->FLevel3 = GetL3Size(port, cpu0);
}

TProcessorIdentity::~TProcessorIdentity() {
    FCache.reset();
    FVersionInfo.reset();
    FFeatureSetEx.reset();
    FFeatureSet.reset();
    FInternalResults.reset();
    FCPUID.reset();
    FAutoBench.reset();
}

void TProcessorIdentity::Loaded() {
    TComponent::Loaded();
    if (FAutoBench->Enabled() && !FAutoBenchTakenOver)
        FSpeed = GetCPUSpeed(FPort, cpu0, FAutoBench->Delay());
    if (FCPUID->MaxLevelEx() >= 4)
        FFullName = GetBrandString(FPort, cpu0);
}

} // namespace zq
