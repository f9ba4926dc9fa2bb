#pragma once
// Register decoding on a snapshot: the guarded lookup of a leaf with its process-wide last error,
// the vendor string, the signature fields, the feature words, the brand string and the serial
// number; and the FDIV test, which is no leaf: it divides on this processor's x87 unit when
// asked.
#include <cstdint>
#include <string>

#include "cpuid/CpuidSnapshot.h"
#include "cpuid/VersionRecord.h"

namespace zq {

// Result of the last guarded lookup: cpuidSuccess, cpuidNotAvailable or cpuidLevelNotSupported.
// Process-wide, not synchronised: the library is used from one thread.
int CpuidLastError();

// The registers of `level` (ECX 0) or of one of its sub-leaves after checking that the processor
// has CPUID and reports the level; a leaf or sub-leaf in range that the snapshot does not hold
// reads zeros. `out` is left untouched on failure.
bool GetCpuidResult(const TCpuidSnapshot& processor, std::uint32_t level, TCpuRegisters& out);
bool GetCpuidSubleaf(const TCpuidSnapshot& processor, std::uint32_t level, std::uint32_t subleaf,
                     TCpuRegisters& out);

// Level 0 and level 0x80000000 EAX, unchecked; 0 without CPUID.
std::uint32_t ReadMaxLevel(const TCpuidSnapshot& processor);
std::uint32_t ReadMaxLevelExRaw(const TCpuidSnapshot& processor);
// 0..7: the raw highest extended level without bit 31. A report of 0x80000008 or more counts
// as 7; any other remainder of 8 or more (a processor without extended levels) as 0.
int ExtendedLevelCount(std::uint32_t rawMaxLevelEx);

// Twelve characters from EBX, EDX, ECX; "Unknown" when level 0 cannot be read.
std::string ReadVendorString(const TCpuidSnapshot& processor);
// Level 1 words; 0 when the level cannot be read.
std::uint32_t ReadSignature(const TCpuidSnapshot& processor);
std::uint32_t ReadBrandIndex(const TCpuidSnapshot& processor);
std::uint32_t ReadFeatureWord(const TCpuidSnapshot& processor);
std::uint32_t ReadExtFeatureWord(const TCpuidSnapshot& processor);
// 48 characters exactly as read (blanks and zero characters kept); a level that cannot be
// read contributes nothing.
std::string ReadBrandString(const TCpuidSnapshot& processor);
std::uint32_t ReadProcessorCount(const TCpuidSnapshot& processor);

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

// CPUID and the time stamp counter's feature bit.
bool HasTimeStampCounter(const TCpuidSnapshot& processor);

// The Pentium division test on this processor's x87 unit; true when the flaw shows.
bool FdivFlawPresent();

// "SSSS-SSSS-MMMM-MMMM-LLLL-LLLL" in upper-case hexadecimal.
std::string FormatSerialNumber(std::uint32_t signature, std::uint32_t middle, std::uint32_t low);
// The serial number text when the processor reports one (feature bit 18, model 7 or more),
// else empty.
std::string ReadSerialNumber(const TCpuidSnapshot& processor);

TVersionRecordStruct CpuidApiVersion();

} // namespace zq
