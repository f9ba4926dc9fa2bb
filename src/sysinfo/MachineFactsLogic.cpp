#include "sysinfo/MachineFactsLogic.h"

namespace zq {

namespace {

std::string IntelProcessorType(std::uint32_t processorType) {
    switch (processorType) {
    case 386:
        return "80386";
    case 486:
        return "80486";
    case 586:
        return "Pentium";
    default:
        return "Unknown";
    }
}

} // namespace

TProcessorFacts ClassifyProcessor(std::uint32_t numberOfProcessors, std::uint16_t architecture,
                                  std::uint32_t processorType) {
    TProcessorFacts facts;
    facts.NumberOfProcessors = static_cast<std::int32_t>(numberOfProcessors);
    switch (architecture) {
    case 0:
        facts.Architecture = "Intel Processor Architecture";
        facts.ProcessorType = IntelProcessorType(processorType);
        break;
    case 1:
        facts.Architecture = "MIPS Processor Architecture";
        break;
    case 2:
        facts.Architecture = "DEC ALPHA Processor Architecture";
        break;
    case 3:
        facts.Architecture = "PPC Processor Architecture";
        break;
    case 0xFFFF:
        facts.Architecture = "Unknown Processor Architecture";
        break;
    default:
        break;
    }
    return facts;
}

std::string PlatformText(std::uint32_t platformId) {
    switch (platformId) {
    case 0:
        return "Win 32s under Windows 3.1";
    case 1:
        return "Windows 95";
    case 2:
        return "Windows NT";
    default:
        return "";
    }
}

std::string VersionNumberText(std::uint32_t versionMS, std::uint32_t versionLS) {
    return std::to_string(versionMS >> 16) + '.' + std::to_string(versionMS & 0xFFFF) + '.' +
           std::to_string(versionLS >> 16) + '.' + std::to_string(versionLS & 0xFFFF);
}

} // namespace zq
