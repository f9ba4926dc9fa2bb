#pragma once
// The query interface: every query takes a processor index (it selects nothing; the query
// runs on the processor executing the calling thread) and answers fixed fallbacks when the
// processor has no CPUID. Also the vendor dispatch and the size-tagged query records.
#include <cstdint>
#include <string>

#include "cpuid/CpuPort.h"
#include "cpuid/CpuidVendor.h"

namespace zq {

bool IsCPUIDAvailable(TCpuPort& port, std::uint8_t cpu);
std::int32_t GetMaxCPUIDLevel(TCpuPort& port, std::uint8_t cpu);   // -1 without CPUID
std::int32_t GetMaxCPUIDLevelEx(TCpuPort& port, std::uint8_t cpu); // 0..7, -1 without CPUID
std::string GetVendorString(TCpuPort& port, std::uint8_t cpu);     // empty without CPUID
std::int32_t GetSignature(TCpuPort& port, std::uint8_t cpu);
std::int32_t GetProcessorType(TCpuPort& port, std::uint8_t cpu);
std::int32_t GetFamily(TCpuPort& port, std::uint8_t cpu);
std::int32_t GetFamilyEx(TCpuPort& port, std::uint8_t cpu);
std::int32_t GetModel(TCpuPort& port, std::uint8_t cpu);
std::int32_t GetModelEx(TCpuPort& port, std::uint8_t cpu);
std::int32_t GetStepping(TCpuPort& port, std::uint8_t cpu);
std::int32_t GetBrandIndex(TCpuPort& port, std::uint8_t cpu);
std::int32_t GetFeatureWord(TCpuPort& port, std::uint8_t cpu);
std::int32_t GetExtFeatureWord(TCpuPort& port, std::uint8_t cpu);
bool HasFeature(TCpuPort& port, std::uint8_t cpu, int bit);
bool HasExtFeature(TCpuPort& port, std::uint8_t cpu, int bit);
bool IsMMX(TCpuPort& port, std::uint8_t cpu);
bool IsOverDrive(TCpuPort& port, std::uint8_t cpu);
bool HasFDivBug(TCpuPort& port, std::uint8_t cpu);
std::string GetSerialNumber(TCpuPort& port, std::uint8_t cpu);
std::string GetBrandString(TCpuPort& port, std::uint8_t cpu);
std::uint32_t GetProcessorCount(TCpuPort& port, std::uint8_t cpu);

// Vendor codes: 1 Intel, 2 AMD, 3 Cyrix, 4 IDT/Centaur, 5 NexGen, 6 UMC, 7 Rise, 0 unknown.
int GetVendorCode(TCpuPort& port, std::uint8_t cpu);
const TCpuVendorModule& VendorModule(int vendorCode);
std::string GetVendorName(TCpuPort& port, std::uint8_t cpu);
std::string GetModelName(TCpuPort& port, std::uint8_t cpu);
std::string GetFullName(TCpuPort& port, std::uint8_t cpu);
// Measured clock, rounded to whole MHz; 0 without a time stamp counter.
std::int32_t GetCPUSpeed(TCpuPort& port, std::uint8_t cpu, int delay);

// Cache sizes in KB (CpuidCache), 0 when not found; of several caches of a level, one cache's
// size. The level 3 cache is not part of the cache record.
std::int32_t GetL1DataSize(TCpuPort& port, std::uint8_t cpu);
std::int32_t GetL1CodeSize(TCpuPort& port, std::uint8_t cpu);
std::int32_t GetL1UnifiedSize(TCpuPort& port, std::uint8_t cpu);
std::int32_t GetL2Size(TCpuPort& port, std::uint8_t cpu);
std::int32_t GetL3Size(TCpuPort& port, std::uint8_t cpu);

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

int GetCPUIDRecord(TCpuPort& port, TCpuidRecord& record);
int GetCacheRecord(TCpuPort& port, TCacheRecord& record);
int GetFeatureRecord(TCpuPort& port, TFeatureRecord& record);
int GetIdentRecord(TCpuPort& port, TIdentRecord& record);

} // namespace zq
