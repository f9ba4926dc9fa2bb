#pragma once
// The decisions behind TMachineFacts's properties: processor architecture and type names, the
// platform name, the memory unit and version numbers.
#include <cstdint>
#include <string>

namespace zq {

// Process-wide processor facts, taken once from GetSystemInfo.
struct TProcessorFacts {
    std::int32_t NumberOfProcessors = 0;
    std::string Architecture;
    std::string ProcessorType = "Unknown";
};

TProcessorFacts ClassifyProcessor(std::uint32_t numberOfProcessors, std::uint16_t architecture,
                                  std::uint32_t processorType);

// Platform id 0, 1, 2 as text; any other id gives empty text.
std::string PlatformText(std::uint32_t platformId);

// Whole kilobytes, rounded down; at most the largest 32-bit signed value (2 TB).
constexpr std::int32_t BytesToKilobytes(std::uint64_t bytes) {
    const std::uint64_t kilobytes = bytes >> 10;
    return kilobytes > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(kilobytes);
}

// Available kilobytes of one memory snapshot, never above the total of the same snapshot (some
// systems report more free paging-file space than its size once the figures pass 32 bits).
constexpr std::int32_t AvailableKilobytes(std::uint64_t availBytes, std::uint64_t totalBytes) {
    return BytesToKilobytes(availBytes < totalBytes ? availBytes : totalBytes);
}

// A fixed file version as its four 16-bit parts in decimal joined by "." (such as 1.1.1.5).
std::string VersionNumberText(std::uint32_t versionMS, std::uint32_t versionLS);

// Shown for the registered user and company when the setup information lacks them.
inline constexpr const char* RegUserNamePlaceholder = "(no registered user)";
inline constexpr const char* RegCompanyNamePlaceholder = "(no registered company)";

} // namespace zq
