#include "forms/ProcessorPages.h"

#include <charconv>

#include "toolkit/Rounding.h"

namespace zq {

const char* FDivText(bool flawPresent) {
    return flawPresent ? "Present" : "Not Present";
}

const char* ProcessorTypeText(bool overDrive) {
    return overDrive ? "OverDrive Processor" : "OEM or Retail Processor";
}

const char* MMXText(bool supported) {
    return supported ? "MMX Instructions Supported" : "MMX Instructions not supported";
}

const char* SIMDText(bool supported) {
    return supported ? "SIMD Instructions Supported" : "SIMD Instructions not supported";
}

const char* AMD3DNowText(bool supported) {
    return supported ? "3DNow! Instructions Supported" : "3DNow! Instructions not supported";
}

std::string CacheSizeText(std::int32_t kilobytes) {
    return std::to_string(kilobytes) + " Kb";
}

// Whole hundredths written as integers: floating-point formatting (std::to_chars of a double,
// printf) would bring some 200 KB of the runtime into the program.
std::string ClockSpeedText(double megahertz, const std::string& decimalSeparator) {
    const std::int64_t hundredths = RoundHalfEven(static_cast<long double>(megahertz) * 100);
    const std::uint64_t magnitude = hundredths < 0 ? 0 - static_cast<std::uint64_t>(hundredths)
                                                   : static_cast<std::uint64_t>(hundredths);
    char digits[24];
    std::string text = hundredths < 0 ? "-" : "";
    text.append(digits, std::to_chars(digits, digits + sizeof digits, magnitude / 100).ptr);
    text += decimalSeparator;
    text += static_cast<char>('0' + magnitude % 100 / 10);
    text += static_cast<char>('0' + magnitude % 10);
    return text + " MHz";
}

namespace {
using S = TCpuFeatureSet;
using X = TCpuExFeatureSet;
} // namespace

const std::array<TFeatureRow, 30> FeatureRows = {{
    {"FPU", "Floating Point Processor", &S::FPU, nullptr},
    {"VME", "Virtual Mode Extension", &S::VME, nullptr},
    {"DE", "Debugging Extension", &S::DE, nullptr},
    {"PSE", "Page Size Extension", &S::PSE, nullptr},
    {"TSC", "Time Stamp Counter", &S::TSC, nullptr},
    {"MSR", "Model Specific Registers", &S::MSR, nullptr},
    {"PAE", "Physical Address Extension", &S::PAE, nullptr},
    {"MCE", "Machine Check Exception", &S::MCE, nullptr},
    {"CX8", "CMPXCHG8 Instruction", &S::CX8, nullptr},
    {"APIC", "On-chip APIC Hardware", &S::APIC, nullptr},
    {"SEP", "Fast System Call", &S::SEP, nullptr},
    {"MTRR", "Memory Type Range Registers", &S::MTRR, nullptr},
    {"PGE", "Page Global Enable", &S::PGE, nullptr},
    {"MCA", "Machine Check Architecture", &S::MCA, nullptr},
    {"CMOV", "Conditional Move Instruction", &S::CMOV, nullptr},
    {"PAT", "Page Attribute Table", &S::PAT, nullptr},
    {"PSE36", "36-bit Page Size Extension", &S::PSE36, nullptr},
    {"SERIAL", "Processor Serial Number", &S::SERIAL, nullptr},
    {"CLFLUSH", "CLFLUSH Instruction", &S::CLFLUSH, nullptr},
    {"DTS", "Debug Trace Store", &S::DTS, nullptr},
    {"ACPI", "Advanced Configuration and Power Management Interface", &S::ACPI, nullptr},
    {"MMX", "MMX Extensions", &S::MMX, nullptr},
    {"FXSR", "Floating Point Save and Restore", &S::XSR, nullptr},
    {"SIMD", "Streaming SIMD Extensions", &S::SIMD, nullptr},
    {"SIMD2", "Streaming SIMD Extensions 2", &S::SIMD2, nullptr},
    {"SS", "Self-Snoop", &S::SS, nullptr},
    {"TM", "Thermal Monitor Supported", &S::TM, nullptr},
    {"3DNOW", "3DNow! Extensions", nullptr, &X::AMD3DNow},
    {"3DNOWEX", "Enhanced 3DNow! Extensions", nullptr, &X::AMD3DNowEx},
    {"MMXEX", "Enhanced MMX Extensions", nullptr, &X::MMXEx},
}};

} // namespace zq
