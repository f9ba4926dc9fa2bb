#pragma once
// The query interface: every query answers from a processor's snapshot, with fixed fallbacks
// when the processor has no CPUID. Also the vendor dispatch and the size-tagged query records.
#include <cstdint>
#include <string>

#include "cpuid/CpuClock.h"
#include "cpuid/CpuidSnapshot.h"
#include "cpuid/CpuidVendor.h"

namespace zq {

bool IsCPUIDAvailable(const TCpuidSnapshot& processor);
std::int32_t GetMaxCPUIDLevel(const TCpuidSnapshot& processor);   // -1 without CPUID
std::int32_t GetMaxCPUIDLevelEx(const TCpuidSnapshot& processor); // 0..7, -1 without CPUID
std::string GetVendorString(const TCpuidSnapshot& processor);     // empty without CPUID
std::int32_t GetSignature(const TCpuidSnapshot& processor);
std::int32_t GetProcessorType(const TCpuidSnapshot& processor);
std::int32_t GetFamily(const TCpuidSnapshot& processor);
std::int32_t GetFamilyEx(const TCpuidSnapshot& processor);
std::int32_t GetModel(const TCpuidSnapshot& processor);
std::int32_t GetModelEx(const TCpuidSnapshot& processor);
std::int32_t GetStepping(const TCpuidSnapshot& processor);
std::int32_t GetBrandIndex(const TCpuidSnapshot& processor);
std::int32_t GetFeatureWord(const TCpuidSnapshot& processor);
std::int32_t GetExtFeatureWord(const TCpuidSnapshot& processor);
bool HasFeature(const TCpuidSnapshot& processor, int bit);
bool HasExtFeature(const TCpuidSnapshot& processor, int bit);
bool IsMMX(const TCpuidSnapshot& processor);
bool IsOverDrive(const TCpuidSnapshot& processor);
// Divides on the x87 unit of the processor running the calling thread (not a leaf).
bool HasFDivBug(const TCpuidSnapshot& processor);
std::string GetSerialNumber(const TCpuidSnapshot& processor);
std::string GetBrandString(const TCpuidSnapshot& processor);
std::uint32_t GetProcessorCount(const TCpuidSnapshot& processor);

// Vendor codes: 1 Intel, 2 AMD, 3 Cyrix, 4 IDT/Centaur, 5 NexGen, 6 UMC, 7 Rise, 0 unknown.
int GetVendorCode(const TCpuidSnapshot& processor);
const TCpuVendorModule& VendorModule(int vendorCode);
std::string GetVendorName(const TCpuidSnapshot& processor);
std::string GetModelName(const TCpuidSnapshot& processor);
std::string GetFullName(const TCpuidSnapshot& processor);
// Measured clock, rounded to whole MHz; 0 without a time stamp counter.
std::int32_t GetCPUSpeed(const TCpuidSnapshot& processor, TCpuClock& clock, int delay);

// Cache sizes in KB (CpuidCache), 0 when not found; of several caches of a level, one cache's
// size. The level 3 cache is not part of the cache record.
std::int32_t GetL1DataSize(const TCpuidSnapshot& processor);
std::int32_t GetL1CodeSize(const TCpuidSnapshot& processor);
std::int32_t GetL1UnifiedSize(const TCpuidSnapshot& processor);
std::int32_t GetL2Size(const TCpuidSnapshot& processor);
std::int32_t GetL3Size(const TCpuidSnapshot& processor);

// Query records: the caller sets Size to the record's packed size; a query refuses any other
// tag with cpuidWrongSize and leaves the results untouched, otherwise fills them and returns 0.
#pragma pack(push, 1)
struct TCpuidRecord {
    std::uint32_t Size = 0;
    std::uint8_t Processor = 0;
    std::uint8_t Available = 0;
    std::int32_t MaxLevel = 0;
    std::int32_t MaxLevelEx = 0;
};
struct TCacheRecord {
    std::uint32_t Size = 0;
    std::uint8_t Processor = 0;
    std::int32_t L1Code = 0;
    std::int32_t L1Data = 0;
    std::int32_t L1Unified = 0;
    std::int32_t L2 = 0;
};
// The 30 flags in their fixed order.
struct TFeatureRecord {
    std::uint32_t Size = 0;
    std::uint8_t Processor = 0;
    std::uint8_t FPU = 0, VME = 0, DE = 0, PSE = 0, TSC = 0, MSR = 0, PAE = 0, MCE = 0, CX8 = 0,
                 APIC = 0, SEP = 0, MTRR = 0, PGE = 0, MCA = 0, CMOV = 0, PAT = 0, PSE36 = 0,
                 SERIAL = 0, MMX = 0, XSR = 0, SIMD = 0, MMXEx = 0, AMD3DNow = 0, AMD3DNowEx = 0,
                 CLFLUSH = 0, DTS = 0, ACPI = 0, SIMD2 = 0, SS = 0, TM = 0;
};
struct TIdentRecord {
    std::uint32_t Size = 0;
    std::uint8_t Processor = 0;
    std::int32_t Signature = 0;
    std::int32_t ProcessorType = 0;
    std::int32_t Family = 0;
    std::int32_t FamilyEx = 0;
    std::int32_t Model = 0;
    std::int32_t ModelEx = 0;
    std::int32_t Stepping = 0;
    std::int32_t Brand = 0;
};
#pragma pack(pop)
static_assert(sizeof(TCpuidRecord) == 14);
static_assert(sizeof(TCacheRecord) == 21);
static_assert(sizeof(TFeatureRecord) == 35);
static_assert(sizeof(TIdentRecord) == 37);

int GetCPUIDRecord(const TCpuidSnapshot& processor, TCpuidRecord& record);
int GetCacheRecord(const TCpuidSnapshot& processor, TCacheRecord& record);
int GetFeatureRecord(const TCpuidSnapshot& processor, TFeatureRecord& record);
int GetIdentRecord(const TCpuidSnapshot& processor, TIdentRecord& record);

} // namespace zq
