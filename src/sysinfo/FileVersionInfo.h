#pragma once
// Reads the version resource of a file.
#include <cstdint>
#include <string>

namespace zq {

// The numbers of the fixed version information.
struct TFixedVersion {
    std::uint32_t FileVersionMS = 0;
    std::uint32_t FileVersionLS = 0;
    std::uint32_t ProductVersionMS = 0;
    std::uint32_t ProductVersionLS = 0;
};

class TFileVersionInfo {
public:
    // Raises zq::Exception "File contains no version information" when the file has none.
    explicit TFileVersionInfo(const std::string& fileName);

    static bool HasVersionInfo(const std::string& fileName);

    const TFixedVersion& FixedInfo() const { return FFixed; }

private:
    TFixedVersion FFixed;
};

} // namespace zq
