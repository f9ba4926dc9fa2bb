#pragma once
// TProcessorIdentity: the processor identification as a non-visual component, on a snapshot of
// the processor's leaves taken when it is created, from which everything is decoded at once.
// Loaded() measures the clock when AutoBench is enabled (off by default: an owner that measures
// elsewhere hands the figure in) and takes the brand string. Every property except AutoBench is
// read-only: writes are ignored.
#include <cstdint>
#include <memory>
#include <string>

#include "cpuid/CpuClock.h"
#include "cpuid/CpuidReader.h"
#include "cpuid/CpuidSnapshot.h"
#include "cpuid/ReadOnlyProperty.h"
#include "cpuid/VersionRecord.h"
#include "toolkit/Component.h"

namespace zq {

class TProcessorIdentity;

// The component's own clock measurement in Loaded().
class TCpuAutoBench : public TObject {
public:
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    int Delay() const { return FDelay; }
    void SetDelay(int value) { FDelay = value; }

private:
    bool FEnabled = false;
    int FDelay = 500;
};

class TCpuIdSupport : public TObject {
public:
    explicit TCpuIdSupport(const TCpuidSnapshot& processor);
    ZQ_READONLY_PROPERTY(bool, Available)
    ZQ_READONLY_PROPERTY(std::int32_t, MaxLevel)
    ZQ_READONLY_PROPERTY(std::int32_t, MaxLevelEx)

private:
    bool FAvailable = false;
    std::int32_t FMaxLevel = 0;
    std::int32_t FMaxLevelEx = 0;
};

// Raw identification values; -1 for every number when the processor has no CPUID.
class TCpuDetectedInfo : public TObject {
public:
    explicit TCpuDetectedInfo(const TCpuidSnapshot& processor);
    ZQ_READONLY_PROPERTY(std::int32_t, Brand)
    ZQ_READONLY_PROPERTY(std::int32_t, cpuFamily)
    ZQ_READONLY_PROPERTY(std::int32_t, cpuFamilyEx)
    ZQ_READONLY_PROPERTY(std::int32_t, cpuModel)
    ZQ_READONLY_PROPERTY(std::int32_t, cpuModelEx)
    ZQ_READONLY_PROPERTY(std::int32_t, cpuStepping)
    ZQ_READONLY_PROPERTY(std::int32_t, cpuType)
    ZQ_READONLY_PROPERTY(std::int32_t, FeatureSet)
    ZQ_READONLY_PROPERTY(std::int32_t, FeatureSetEx)
    ZQ_READONLY_PROPERTY(std::int32_t, Signature)
    ZQ_READONLY_PROPERTY(std::string, VendorID)

private:
    std::int32_t FBrand = 0;
    std::int32_t FcpuFamily = 0;
    std::int32_t FcpuFamilyEx = 0;
    std::int32_t FcpuModel = 0;
    std::int32_t FcpuModelEx = 0;
    std::int32_t FcpuStepping = 0;
    std::int32_t FcpuType = 0;
    std::int32_t FFeatureSet = 0;
    std::int32_t FFeatureSetEx = 0;
    std::int32_t FSignature = 0;
    std::string FVendorID;
};

class TCpuFeatureSet : public TObject {
public:
    explicit TCpuFeatureSet(const TCpuidSnapshot& processor);
    ZQ_READONLY_PROPERTY(bool, FPU)
    ZQ_READONLY_PROPERTY(bool, VME)
    ZQ_READONLY_PROPERTY(bool, DE)
    ZQ_READONLY_PROPERTY(bool, PSE)
    ZQ_READONLY_PROPERTY(bool, TSC)
    ZQ_READONLY_PROPERTY(bool, MSR)
    ZQ_READONLY_PROPERTY(bool, PAE)
    ZQ_READONLY_PROPERTY(bool, MCE)
    ZQ_READONLY_PROPERTY(bool, CX8)
    ZQ_READONLY_PROPERTY(bool, APIC)
    ZQ_READONLY_PROPERTY(bool, SEP)
    ZQ_READONLY_PROPERTY(bool, MTRR)
    ZQ_READONLY_PROPERTY(bool, PGE)
    ZQ_READONLY_PROPERTY(bool, MCA)
    ZQ_READONLY_PROPERTY(bool, CMOV)
    ZQ_READONLY_PROPERTY(bool, PAT)
    ZQ_READONLY_PROPERTY(bool, PSE36)
    ZQ_READONLY_PROPERTY(bool, SERIAL)
    ZQ_READONLY_PROPERTY(bool, MMX)
    ZQ_READONLY_PROPERTY(bool, XSR)
    ZQ_READONLY_PROPERTY(bool, SIMD)
    ZQ_READONLY_PROPERTY(bool, SIMD2)
    ZQ_READONLY_PROPERTY(bool, CLFLUSH)
    ZQ_READONLY_PROPERTY(bool, DTS)
    ZQ_READONLY_PROPERTY(bool, ACPI)
    ZQ_READONLY_PROPERTY(bool, SS)
    ZQ_READONLY_PROPERTY(bool, TM)

private:
    bool FFPU = false, FVME = false, FDE = false, FPSE = false, FTSC = false, FMSR = false,
         FPAE = false, FMCE = false, FCX8 = false, FAPIC = false, FSEP = false, FMTRR = false,
         FPGE = false, FMCA = false, FCMOV = false, FPAT = false, FPSE36 = false, FSERIAL = false,
         FMMX = false, FXSR = false, FSIMD = false, FSIMD2 = false, FCLFLUSH = false, FDTS = false,
         FACPI = false, FSS = false, FTM = false;
};

class TCpuExFeatureSet : public TObject {
public:
    explicit TCpuExFeatureSet(const TCpuidSnapshot& processor);
    ZQ_READONLY_PROPERTY(bool, AMD3DNow)
    ZQ_READONLY_PROPERTY(bool, AMD3DNowEx)
    ZQ_READONLY_PROPERTY(bool, MMXEx)

private:
    bool FAMD3DNow = false;
    bool FAMD3DNowEx = false;
    bool FMMXEx = false;
};

// Cache sizes in KB; where a level has several caches (one per core, say), one cache's size.
class TCpuCacheInfo : public TObject {
public:
    ZQ_READONLY_PROPERTY(std::int32_t, L1Data)
    ZQ_READONLY_PROPERTY(std::int32_t, L1Code)
    ZQ_READONLY_PROPERTY(std::int32_t, Level1)
    ZQ_READONLY_PROPERTY(std::int32_t, Level2)
    ZQ_READONLY_PROPERTY(std::int32_t, Level3)

private:
    friend class TProcessorIdentity;
    std::int32_t FL1Data = 0;
    std::int32_t FL1Code = 0;
    std::int32_t FLevel1 = 0;
    std::int32_t FLevel2 = 0;
    std::int32_t FLevel3 = 0;
};

// Versions of the detection library (API) and of the component (VCL).
class TProcessorIdentityVersions : public TObject {
public:
    TProcessorIdentityVersions();
    TVersionRecord* API() const { return FAPI.get(); }
    TVersionRecord* VCL() const { return FVCL.get(); }

private:
    std::unique_ptr<TVersionRecord> FAPI;
    std::unique_ptr<TVersionRecord> FVCL;
};

TVersionRecordStruct ProcessorIdentityVersion();

class TProcessorIdentity : public TComponent {
public:
    explicit TProcessorIdentity(TComponent* owner, TCpuidSnapshot processor = ReadThisProcessor(),
                                TCpuClock& clock = HardwareCpuClock());
    ~TProcessorIdentity() override;

    TCpuAutoBench* AutoBench() const { return FAutoBench.get(); }
    TCpuCacheInfo* Cache() const { return FCache.get(); }
    ZQ_READONLY_PROPERTY(int, Count)
    ZQ_READONLY_PROPERTY(std::string, CPU)
    TCpuIdSupport* CPUID() const { return FCPUID.get(); }
    ZQ_READONLY_PROPERTY(bool, FDivBug)
    TCpuFeatureSet* FeatureSet() const { return FFeatureSet.get(); }
    TCpuExFeatureSet* FeatureSetEx() const { return FFeatureSetEx.get(); }
    ZQ_READONLY_PROPERTY(std::string, FullName)
    TCpuDetectedInfo* InternalResults() const { return FInternalResults.get(); }
    ZQ_READONLY_PROPERTY(bool, MMX)
    ZQ_READONLY_PROPERTY(bool, OverDrive)
    ZQ_READONLY_PROPERTY(std::string, Serial)
    ZQ_READONLY_PROPERTY(int, Speed)
    ZQ_READONLY_PROPERTY(std::string, Vendor)
    TProcessorIdentityVersions* VersionInfo() const { return FVersionInfo.get(); }

    // The figure of a measurement made elsewhere (as GetCPUSpeed rounds it); Speed is 0 until
    // then, unless AutoBench measured in Loaded().
    void SetMeasuredSpeed(int megahertz) { FSpeed = megahertz; }

protected:
    void Loaded() override;

private:
    TCpuidSnapshot FProcessor;
    TCpuClock& FClock;
    std::unique_ptr<TCpuAutoBench> FAutoBench;
    std::unique_ptr<TCpuIdSupport> FCPUID;
    std::unique_ptr<TCpuDetectedInfo> FInternalResults;
    std::unique_ptr<TCpuFeatureSet> FFeatureSet;
    std::unique_ptr<TCpuExFeatureSet> FFeatureSetEx;
    std::unique_ptr<TProcessorIdentityVersions> FVersionInfo;
    std::unique_ptr<TCpuCacheInfo> FCache;
    int FCount = 0;
    std::string FCPU;
    bool FFDivBug = false;
    std::string FFullName;
    bool FMMX = false;
    bool FOverDrive = false;
    std::string FSerial;
    int FSpeed = 0;
    std::string FVendor;
};

} // namespace zq
