#pragma once
// CPUID levels and the fixed numeric tables of the processor-identification library.
#include <array>
#include <cstdint>

namespace zq {

namespace cpuidLevel {
constexpr std::uint32_t VendorString = 0;
constexpr std::uint32_t MaxLevel = 0;
constexpr std::uint32_t Signature = 1;
constexpr std::uint32_t Features = 1;
constexpr std::uint32_t CacheDescriptors = 2;
constexpr std::uint32_t SerialNumber = 3;
constexpr std::uint32_t CacheParameters = 4; // one sub-leaf per cache
constexpr std::uint32_t MaxLevelEx = 0x80000000u;
constexpr std::uint32_t ExtFeatures = 0x80000001u;
constexpr std::uint32_t Brand1 = 0x80000002u;
constexpr std::uint32_t Brand2 = 0x80000003u;
constexpr std::uint32_t Brand3 = 0x80000004u;
constexpr std::uint32_t ExtL1Cache = 0x80000005u;
constexpr std::uint32_t ExtL2Cache = 0x80000006u;
constexpr std::uint32_t ExtCacheTopology = 0x8000001Du; // AMD: one sub-leaf per cache, as leaf 4
} // namespace cpuidLevel

// Last-error codes of the guarded execution and the query records.
constexpr int cpuidSuccess = 0;
constexpr int cpuidNotAvailable = -1;
constexpr int cpuidLevelNotSupported = -2;
constexpr int cpuidWrongSize = -3;

// Sub-leaves of leaf 4 and 0x8000001D read at most: processors describe up to about six caches,
// and a processor that never answers the end (type 0) must not keep the reading going.
constexpr std::uint32_t cpuidMaxCacheSubleaves = 32;

// The identification bit of EFLAGS.
constexpr std::uint32_t cpuidFlagMask = 0x00200000u;

// Vendor strings (level 0) whose processors report their caches in their own ways.
inline constexpr char cpuidVendorIntel[] = "GenuineIntel";
inline constexpr char cpuidVendorAMD[] = "AuthenticAMD";
inline constexpr char cpuidVendorCyrix[] = "CyrixInstead";
inline constexpr char cpuidVendorCentaur[] = "CentaurHauls";

// Customary clock figures a measured clock is rounded to (the rest above the whole hundreds).
constexpr std::array<int, 15> cpuidClockTableLow = {0,  10, 16, 20, 25, 33, 40, 50,
                                                    60, 66, 75, 80, 82, 88, 90};
constexpr std::array<int, 5> cpuidClockTableHigh = {0, 33, 50, 66, 100};
constexpr int cpuidClockTableHighFrom = 300;

// The operands that expose the Pentium division flaw.
constexpr double cpuidFdivDividend = 4195835.0;
constexpr double cpuidFdivDivisor = 3145727.0;

// Feature word bits used by name.
constexpr int cpuidBitTSC = 4;
constexpr int cpuidBitSerial = 18;
constexpr int cpuidBitMMX = 23;
constexpr int cpuidBitTopologyExtensions = 22; // level 0x80000001 ECX: AMD's leaf 0x8000001D

} // namespace zq
