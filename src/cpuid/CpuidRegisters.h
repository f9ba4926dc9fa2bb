#pragma once
// The raw layer: CPUID availability, guarded execution with its process-wide last error, the
// register-level reads, the FDIV test and the serial number text.
#include <cstdint>
#include <string>

#include "cpuid/VersionRecord.h"
#include "cpuid/CpuPort.h"

namespace zq {

// Result of the last guarded execution: cpuidSuccess, cpuidNotAvailable or
// cpuidLevelNotSupported. Process-wide, not synchronised.
int CpuidLastError();

// True when the identification bit of EFLAGS can be changed.
bool CpuidAvailable(TCpuPort& port);
// One execution without any test.
TCpuRegisters ExecuteCpuid(TCpuPort& port, std::uint32_t level, std::uint32_t subleaf = 0);
// Level 0 and level 0x80000000 EAX, after the availability test only; 0 without CPUID.
std::uint32_t ReadMaxLevel(TCpuPort& port);
std::uint32_t ReadMaxLevelExRaw(TCpuPort& port);
// 0..7: the raw highest extended level without bit 31. A report of 0x80000008 or more counts
// as 7; any other remainder of 8 or more (a processor without extended levels) as 0.
int ExtendedLevelCount(std::uint32_t rawMaxLevelEx);

// Executes `level` `repeat` times after checking availability and the level's range; `out`
// holds the registers of the last execution and is left untouched on failure.
bool GetCpuidResult(TCpuPort& port, std::uint32_t level, std::uint32_t repeat, TCpuRegisters& out);
// The same checks, then one execution of sub-leaf `subleaf` (ECX) of `level`.
bool GetCpuidSubleaf(TCpuPort& port, std::uint32_t level, std::uint32_t subleaf,
                     TCpuRegisters& out);

// Twelve characters from EBX, EDX, ECX; "Unknown" when level 0 cannot be read.
std::string ReadVendorString(TCpuPort& port);
// Level 1 words; 0 when the level cannot be read.
std::uint32_t ReadSignature(TCpuPort& port);
std::uint32_t ReadBrandIndex(TCpuPort& port);
std::uint32_t ReadFeatureWord(TCpuPort& port);
std::uint32_t ReadExtFeatureWord(TCpuPort& port);
// 48 characters exactly as read (blanks and zero characters kept); a level that cannot be
// read contributes nothing.
std::string ReadBrandString(TCpuPort& port);
std::uint32_t ReadProcessorCount(TCpuPort& port);

// Signature fields.
int SignatureType(std::uint32_t signature);
int SignatureFamily(std::uint32_t signature);
int SignatureFamilyEx(std::uint32_t signature); // only when the family is 15
int SignatureModel(std::uint32_t signature);
// Only where the vendors define it: Intel's families 6 and 15, AMD's family 15 (whose processors
// that extend the model report 15 there).
int SignatureModelEx(std::uint32_t signature);
int SignatureStepping(std::uint32_t signature);

inline bool TestBit(std::uint32_t word, int n) {
    return n >= 0 && n < 32 && ((word >> n) & 1u) != 0;
}

// The Pentium division test on this processor's x87 unit; true when the flaw shows.
bool FdivFlawPresent();

// "SSSS-SSSS-MMMM-MMMM-LLLL-LLLL" in upper-case hexadecimal.
std::string FormatSerialNumber(std::uint32_t signature, std::uint32_t middle, std::uint32_t low);
// The serial number text when the processor reports one (feature bit 18, model 7 or more),
// else empty.
std::string ReadSerialNumber(TCpuPort& port);

TVersionRecordStruct CpuidApiVersion();

} // namespace zq
