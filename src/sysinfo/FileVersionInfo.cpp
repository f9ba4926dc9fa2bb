#include "sysinfo/FileVersionInfo.h"

#include <windows.h>

#include <vector>

#include "sysinfo/MachineFactsLogic.h"
#include "toolkit/SystemLibrary.h"
#include "toolkit/Exceptions.h"

namespace zq {

namespace {

const char* const NoVersionInfo = "File contains no version information";

// version.dll, loaded from the system directory, and the three functions of it in use.
class TVersionFunctions {
public:
    using GetSizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using GetInfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);

    bool Ready() const { return GetSize && GetInfo && Query; }

    TSystemLibrary Library{"version.dll"};
    GetSizeFn GetSize = Library.Proc<GetSizeFn>("GetFileVersionInfoSizeA");
    GetInfoFn GetInfo = Library.Proc<GetInfoFn>("GetFileVersionInfoA");
    QueryFn Query = Library.Proc<QueryFn>("VerQueryValueA");
};

} // namespace

bool ReadFixedVersion(const std::string& fileName, TFixedVersion& version) {
    TVersionFunctions api;
    if (!api.Ready())
        return false;
    DWORD handle = 0;
    const DWORD size = api.GetSize(fileName.c_str(), &handle);
    if (size == 0)
        return false;
    std::vector<char> data(size, '\0');
    if (!api.GetInfo(fileName.c_str(), 0, size, data.data()))
        return false;
    void* block = nullptr;
    UINT length = 0;
    if (!api.Query(data.data(), "\\", &block, &length) || block == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO))
        return false;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block);
    if (fixed->dwSignature != 0xFEEF04BD)
        return false;
    version.FileVersionMS = fixed->dwFileVersionMS;
    version.FileVersionLS = fixed->dwFileVersionLS;
    version.ProductVersionMS = fixed->dwProductVersionMS;
    version.ProductVersionLS = fixed->dwProductVersionLS;
    return true;
}

bool TFileVersionInfo::HasVersionInfo(const std::string& fileName) {
    TVersionFunctions api;
    DWORD handle = 0;
    return api.Ready() && api.GetSize(fileName.c_str(), &handle) != 0;
}

TFileVersionInfo::TFileVersionInfo(const std::string& fileName) {
    if (!ReadFixedVersion(fileName, FFixed))
        throw Exception(NoVersionInfo);
}

std::string FileVersionText(const std::string& fileName) {
    TFixedVersion version;
    if (!ReadFixedVersion(fileName, version))
        return {};
    return VersionNumberText(version.FileVersionMS, version.FileVersionLS);
}

std::string ProgramFileName() {
    std::vector<char> path(MAX_PATH + 1);
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size() - 1 || path.size() >= 32768)
            return std::string(path.data(), length);
        path.resize(path.size() * 2); // the name was cut to the buffer
    }
}

} // namespace zq
