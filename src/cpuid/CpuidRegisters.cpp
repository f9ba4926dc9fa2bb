#include "cpuid/CpuidRegisters.h"

#include "cpuid/CpuidConst.h"

namespace zq {

namespace {

int gLastError = cpuidSuccess;

void AppendBytes(std::string& text, std::uint32_t reg) {
    for (int i = 0; i < 4; ++i)
        text.push_back(static_cast<char>((reg >> (8 * i)) & 0xFF));
}

std::uint32_t ReadLevel1(const TCpuidSnapshot& processor, std::uint32_t TCpuRegisters::*field) {
    TCpuRegisters regs;
    if (!GetCpuidResult(processor, cpuidLevel::Signature, regs))
        return 0;
    return regs.*field;
}

std::uint32_t ReadUnchecked(const TCpuidSnapshot& processor, std::uint32_t level) {
    const TCpuRegisters* regs = processor.Find(level);
    return regs ? regs->EAX : 0;
}

} // namespace

int CpuidLastError() {
    return gLastError;
}

bool GetCpuidResult(const TCpuidSnapshot& processor, std::uint32_t level, TCpuRegisters& out) {
    return GetCpuidSubleaf(processor, level, 0, out);
}

bool GetCpuidSubleaf(const TCpuidSnapshot& processor, std::uint32_t level, std::uint32_t subleaf,
                     TCpuRegisters& out) {
    if (!processor.Available()) {
        gLastError = cpuidNotAvailable;
        return false;
    }
    if (!processor.InRange(level)) {
        gLastError = cpuidLevelNotSupported;
        return false;
    }
    const TCpuRegisters* found = processor.Find(level, subleaf);
    out = found ? *found : TCpuRegisters{};
    gLastError = cpuidSuccess;
    return true;
}

std::uint32_t ReadMaxLevel(const TCpuidSnapshot& processor) {
    return ReadUnchecked(processor, cpuidLevel::MaxLevel);
}

std::uint32_t ReadMaxLevelExRaw(const TCpuidSnapshot& processor) {
    return ReadUnchecked(processor, cpuidLevel::MaxLevelEx);
}

int ExtendedLevelCount(std::uint32_t rawMaxLevelEx) {
    // Every processor since about 2003 reports 0x80000008 or more; it has every level the
    // library reads.
    if (rawMaxLevelEx >= 0x80000008u)
        return 7;
    const std::uint32_t count = rawMaxLevelEx & 0x7FFFFFFFu;
    return count >= 8 ? 0 : static_cast<int>(count);
}

std::string ReadVendorString(const TCpuidSnapshot& processor) {
    TCpuRegisters regs;
    if (!GetCpuidResult(processor, cpuidLevel::VendorString, regs))
        return "Unknown";
    std::string text;
    AppendBytes(text, regs.EBX);
    AppendBytes(text, regs.EDX);
    AppendBytes(text, regs.ECX);
    return text.size() < 12 ? "Unknown" : text;
}

std::uint32_t ReadSignature(const TCpuidSnapshot& processor) {
    return ReadLevel1(processor, &TCpuRegisters::EAX);
}

std::uint32_t ReadBrandIndex(const TCpuidSnapshot& processor) {
    return ReadLevel1(processor, &TCpuRegisters::EBX) & 0xFFu;
}

std::uint32_t ReadFeatureWord(const TCpuidSnapshot& processor) {
    return ReadLevel1(processor, &TCpuRegisters::EDX);
}

std::uint32_t ReadExtFeatureWord(const TCpuidSnapshot& processor) {
    TCpuRegisters regs;
    if (!GetCpuidResult(processor, cpuidLevel::ExtFeatures, regs))
        return 0;
    return regs.EDX;
}

std::string ReadBrandString(const TCpuidSnapshot& processor) {
    std::string text;
    for (std::uint32_t level : {cpuidLevel::Brand1, cpuidLevel::Brand2, cpuidLevel::Brand3}) {
        TCpuRegisters regs;
        if (!GetCpuidResult(processor, level, regs))
            continue;
        AppendBytes(text, regs.EAX);
        AppendBytes(text, regs.EBX);
        AppendBytes(text, regs.ECX);
        AppendBytes(text, regs.EDX);
    }
    return text;
}

std::uint32_t ReadProcessorCount(const TCpuidSnapshot& processor) {
    return processor.System.NumberOfProcessors;
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

bool HasTimeStampCounter(const TCpuidSnapshot& processor) {
    return processor.Available() && TestBit(ReadFeatureWord(processor), cpuidBitTSC);
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

std::string ReadSerialNumber(const TCpuidSnapshot& processor) {
    if (!processor.Available())
        return {};
    if (!TestBit(ReadFeatureWord(processor), cpuidBitSerial) ||
        SignatureModel(ReadSignature(processor)) < 7)
        return {};
    TCpuRegisters level1;
    if (!GetCpuidResult(processor, cpuidLevel::Signature, level1))
        return {};
    TCpuRegisters level3;
    if (!GetCpuidResult(processor, cpuidLevel::SerialNumber, level3))
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
