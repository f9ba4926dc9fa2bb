#include "sysinfo/FileVersionInfo.h"

#include <windows.h>

#include <vector>

#include "toolkit/Exceptions.h"

namespace zq {

namespace {
const char* const NoVersionInfo = "File contains no version information";
}

bool TFileVersionInfo::HasVersionInfo(const std::string& fileName) {
    DWORD handle = 0;
    return GetFileVersionInfoSizeA(fileName.c_str(), &handle) != 0;
}

TFileVersionInfo::TFileVersionInfo(const std::string& fileName) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &handle);
    if (size == 0)
        throw Exception(NoVersionInfo);
    std::vector<char> data(size, '\0');
    if (!GetFileVersionInfoA(fileName.c_str(), 0, size, data.data()))
        throw Exception(NoVersionInfo);
    void* block = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", &block, &length) || !block ||
        length < sizeof(VS_FIXEDFILEINFO))
        throw Exception(NoVersionInfo);
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block);
    FFixed.FileVersionMS = fixed->dwFileVersionMS;
    FFixed.FileVersionLS = fixed->dwFileVersionLS;
    FFixed.ProductVersionMS = fixed->dwProductVersionMS;
    FFixed.ProductVersionLS = fixed->dwProductVersionLS;
}

} // namespace zq
