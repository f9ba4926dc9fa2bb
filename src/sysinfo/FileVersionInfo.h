#pragma once
// Reads the version resource of a file through version.dll's wide functions, which are loaded
// at run time from the system directory for each read (see toolkit/SystemLibrary.h). File names
// are UTF-8.
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

// The fixed version information of a file; false when the file has none (or it cannot be read).
bool ReadFixedVersion(const std::string& fileName, TFixedVersion& version);

class TFileVersionInfo {
public:
    // Raises zq::Exception "File contains no version information" when the file has none.
    explicit TFileVersionInfo(const std::string& fileName);

    static bool HasVersionInfo(const std::string& fileName);

    const TFixedVersion& FixedInfo() const { return FFixed; }

private:
    TFixedVersion FFixed;
};

// The file version of a file as "a.b.c.d"; empty when the file has no version resource.
std::string FileVersionText(const std::string& fileName);

} // namespace zq
