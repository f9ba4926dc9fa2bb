#include "cpuid/ProcessorIdentity.h"

#include <utility>

#include "cpuid/CpuidRegisters.h"
#include "cpuid/CpuidConst.h"
#include "cpuid/CpuidQueries.h"

namespace zq {

TCpuIdSupport::TCpuIdSupport(const TCpuidSnapshot& processor) {
    TCpuidRecord record;
    record.Size = sizeof record;
    if (GetCPUIDRecord(processor, record) != cpuidSuccess)
        return;
    FAvailable = record.Available != 0;
    FMaxLevel = record.MaxLevel;
    FMaxLevelEx = record.MaxLevelEx;
}

TCpuDetectedInfo::TCpuDetectedInfo(const TCpuidSnapshot& processor) {
    TIdentRecord record;
    record.Size = sizeof record;
    if (GetIdentRecord(processor, record) == cpuidSuccess) {
        FSignature = record.Signature;
        FcpuType = record.ProcessorType;
        FcpuFamily = record.Family;
        FcpuFamilyEx = record.FamilyEx;
        FcpuModel = record.Model;
        FcpuModelEx = record.ModelEx;
        FcpuStepping = record.Stepping;
        FBrand = record.Brand;
    }
    FFeatureSet = GetFeatureWord(processor);
    FFeatureSetEx = GetExtFeatureWord(processor);
    FVendorID = GetVendorString(processor);
}

TCpuFeatureSet::TCpuFeatureSet(const TCpuidSnapshot& processor) {
    TFeatureRecord r;
    r.Size = sizeof r;
    if (GetFeatureRecord(processor, r) != cpuidSuccess)
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

TCpuExFeatureSet::TCpuExFeatureSet(const TCpuidSnapshot& processor) {
    TFeatureRecord r;
    r.Size = sizeof r;
    if (GetFeatureRecord(processor, r) != cpuidSuccess)
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

TProcessorIdentity::TProcessorIdentity(TComponent* owner, TCpuidSnapshot processor,
                                       TCpuClock& clock)
    : TComponent(owner), FProcessor(std::move(processor)), FClock(clock) {
    FAutoBench = std::make_unique<TCpuAutoBench>();
    FCPUID = std::make_unique<TCpuIdSupport>(FProcessor);
    FInternalResults = std::make_unique<TCpuDetectedInfo>(FProcessor);
    FFeatureSet = std::make_unique<TCpuFeatureSet>(FProcessor);
    FFeatureSetEx = std::make_unique<TCpuExFeatureSet>(FProcessor);
    FVersionInfo = std::make_unique<TProcessorIdentityVersions>();
    FCache = std::make_unique<TCpuCacheInfo>();

    FCount = static_cast<int>(GetProcessorCount(FProcessor) & 0xFFu);
    FFDivBug = HasFDivBug(FProcessor);
    FOverDrive = IsOverDrive(FProcessor);
    FMMX = IsMMX(FProcessor);
    if (GetModel(FProcessor) >= 7 && HasFeature(FProcessor, cpuidBitSerial))
        FSerial = GetSerialNumber(FProcessor);
    FVendor = GetVendorName(FProcessor);
    FCPU = GetModelName(FProcessor);
    FFullName = GetFullName(FProcessor);

    TCacheRecord cache;
    cache.Size = sizeof cache;
    if (GetCacheRecord(FProcessor, cache) == cpuidSuccess) {
        FCache->FL1Data = cache.L1Data;
        FCache->FL1Code = cache.L1Code;
        FCache->FLevel1 = cache.L1Unified;
        FCache->FLevel2 = cache.L2;
    }
    FCache->FLevel3 = GetL3Size(FProcessor);
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
    if (FAutoBench->Enabled())
        FSpeed = GetCPUSpeed(FProcessor, FClock, FAutoBench->Delay());
    if (FCPUID->MaxLevelEx() >= 4)
        FFullName = GetBrandString(FProcessor);
}

} // namespace zq
