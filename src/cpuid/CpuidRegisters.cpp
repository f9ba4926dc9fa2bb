#include "cpuid/CpuidRegisters.h"

#include <atomic>

#include "cpuid/CpuidConst.h"

namespace zq {

namespace {

// Atomic: the clock is measured on a worker thread while the GUI thread may query.
std::atomic<int> gLastError{cpuidSuccess};

void AppendBytes(std::string& text, std::uint32_t reg) {
    for (int i = 0; i < 4; ++i)
        text.push_back(static_cast<char>((reg >> (8 * i)) & 0xFF));
}

std::uint32_t ReadLevel1(TCpuPort& port, std::uint32_t TCpuRegisters::*field) {
    TCpuRegisters regs;
    if (!GetCpuidResult(port, cpuidLevel::Signature, 1, regs))
        return 0;
    return regs.*field;
}

// Availability and the level's range, read afresh; sets the last error where either fails.
bool LevelSupported(TCpuPort& port, std::uint32_t level) {
    if (!CpuidAvailable(port)) {
        gLastError = cpuidNotAvailable;
        return false;
    }
    const std::uint32_t maxLevel = ExecuteCpuid(port, cpuidLevel::MaxLevel).EAX;
    const std::uint32_t maxLevelEx = ExecuteCpuid(port, cpuidLevel::MaxLevelEx).EAX;
    const bool supported = level < cpuidLevel::MaxLevelEx ? level <= maxLevel : level <= maxLevelEx;
    if (!supported)
        gLastError = cpuidLevelNotSupported;
    return supported;
}

} // namespace

int CpuidLastError() {
    return gLastError;
}

bool CpuidAvailable(TCpuPort& port) {
    const std::uint32_t before = port.ReadFlags();
    port.WriteFlags(before ^ cpuidFlagMask);
    const std::uint32_t after = port.ReadFlags();
    port.WriteFlags(before);
    return ((before ^ after) & cpuidFlagMask) != 0;
}

TCpuRegisters ExecuteCpuid(TCpuPort& port, std::uint32_t level, std::uint32_t subleaf) {
    return port.Cpuid(level, subleaf);
}

std::uint32_t ReadMaxLevel(TCpuPort& port) {
    if (!CpuidAvailable(port))
        return 0;
    return ExecuteCpuid(port, cpuidLevel::MaxLevel).EAX;
}

std::uint32_t ReadMaxLevelExRaw(TCpuPort& port) {
    if (!CpuidAvailable(port))
        return 0;
    return ExecuteCpuid(port, cpuidLevel::MaxLevelEx).EAX;
}

int ExtendedLevelCount(std::uint32_t rawMaxLevelEx) {
    // Every processor since about 2003 reports 0x80000008 or more; it has every level the
    // library reads.
    if (rawMaxLevelEx >= 0x80000008u)
        return 7;
    const std::uint32_t count = rawMaxLevelEx & 0x7FFFFFFFu;
    return count >= 8 ? 0 : static_cast<int>(count);
}

bool GetCpuidResult(TCpuPort& port, std::uint32_t level, std::uint32_t repeat, TCpuRegisters& out) {
    if (!LevelSupported(port, level))
        return false;
    for (std::uint32_t i = 0; i < repeat; ++i)
        out = ExecuteCpuid(port, level);
    gLastError = cpuidSuccess;
    return true;
}

bool GetCpuidSubleaf(TCpuPort& port, std::uint32_t level, std::uint32_t subleaf,
                     TCpuRegisters& out) {
    if (!LevelSupported(port, level))
        return false;
    out = ExecuteCpuid(port, level, subleaf);
    gLastError = cpuidSuccess;
    return true;
}

std::string ReadVendorString(TCpuPort& port) {
    TCpuRegisters regs;
    if (!GetCpuidResult(port, cpuidLevel::VendorString, 1, regs))
        return "Unknown";
    std::string text;
    AppendBytes(text, regs.EBX);
    AppendBytes(text, regs.EDX);
    AppendBytes(text, regs.ECX);
    return text.size() < 12 ? "Unknown" : text;
}

std::uint32_t ReadSignature(TCpuPort& port) {
    return ReadLevel1(port, &TCpuRegisters::EAX);
}

std::uint32_t ReadBrandIndex(TCpuPort& port) {
    return ReadLevel1(port, &TCpuRegisters::EBX) & 0xFFu;
}

std::uint32_t ReadFeatureWord(TCpuPort& port) {
    return ReadLevel1(port, &TCpuRegisters::EDX);
}

std::uint32_t ReadExtFeatureWord(TCpuPort& port) {
    TCpuRegisters regs;
    if (!GetCpuidResult(port, cpuidLevel::ExtFeatures, 1, regs))
        return 0;
    return regs.EDX;
}

std::string ReadBrandString(TCpuPort& port) {
    std::string text;
    for (std::uint32_t level : {cpuidLevel::Brand1, cpuidLevel::Brand2, cpuidLevel::Brand3}) {
        TCpuRegisters regs;
        if (!GetCpuidResult(port, level, 1, regs))
            continue;
        AppendBytes(text, regs.EAX);
        AppendBytes(text, regs.EBX);
        AppendBytes(text, regs.ECX);
        AppendBytes(text, regs.EDX);
    }
    return text;
}

std::uint32_t ReadProcessorCount(TCpuPort& port) {
    return port.ProcessorFacts().NumberOfProcessors;
}

int SignatureType(std::uint32_t s) {
    return static_cast<int>((s >> 12) & 3u);
}
int SignatureFamily(std::uint32_t s) {
    return static_cast<int>((s >> 8) & 15u);
}
int SignatureFamilyEx(std::uint32_t s) {
    return SignatureFamily(s) == 15 ? static_cast<int>((s >> 20) & 255u) : 0;
}
int SignatureModel(std::uint32_t s) {
    return static_cast<int>((s >> 4) & 15u);
}
int SignatureModelEx(std::uint32_t s) {
    const int family = SignatureFamily(s);
    return family == 6 || family == 15 ? static_cast<int>((s >> 16) & 15u) : 0;
}
int SignatureStepping(std::uint32_t s) {
    return static_cast<int>(s & 15u);
}

bool FdivFlawPresent() {
    // Loaded through volatile so that the division runs now, on this x87 unit, in extended
    // precision.
    volatile double dividend = cpuidFdivDividend;
    volatile double divisor = cpuidFdivDivisor;
    const long double x = dividend;
    const long double y = divisor;
    volatile long double residue = x / y * y - x;
    return residue != 0.0L;
}

std::string FormatSerialNumber(std::uint32_t signature, std::uint32_t middle, std::uint32_t low) {
    // Six groups of four upper-case hexadecimal digits (no printf: its floating-point
    // formatting would come along into the program).
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint32_t word : {signature, middle, low})
        for (int shift : {16, 0}) {
            if (!text.empty())
                text += '-';
            for (int nibble = 12; nibble >= 0; nibble -= 4)
                text += digits[(word >> (shift + nibble)) & 0xF];
        }
    return text;
}

std::string ReadSerialNumber(TCpuPort& port) {
    if (!CpuidAvailable(port))
        return {};
    if (!TestBit(ReadFeatureWord(port), cpuidBitSerial) || SignatureModel(ReadSignature(port)) < 7)
        return {};
    TCpuRegisters level1;
    if (!GetCpuidResult(port, cpuidLevel::Signature, 1, level1))
        return {};
    TCpuRegisters level3;
    if (!GetCpuidResult(port, cpuidLevel::SerialNumber, 1, level3))
        return {};
    return FormatSerialNumber(level1.EAX, level3.EDX, level3.ECX);
}

TVersionRecordStruct CpuidApiVersion() {
    return {"Copyright (C) 2026 the Zentiq developers",
            "Zentiq processor identification library",
            1.0f,
            45,
            bsFinal,
            rsPublic};
}

} // namespace zq
