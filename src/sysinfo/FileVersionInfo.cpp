#include "sysinfo/FileVersionInfo.h"

#include <windows.h>

#include <vector>

#include "sysinfo/MachineFactsLogic.h"
#include "toolkit/Exceptions.h"
#include "toolkit/SystemLibrary.h"
#include "toolkit/WideText.h"

namespace zq {

namespace {

const char* const NoVersionInfo = "File contains no version information";

// version.dll, loaded from the system directory, and the three functions of it in use.
class TVersionFunctions {
public:
    using GetSizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using GetInfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

    bool Ready() const { return GetSize && GetInfo && Query; }

    TSystemLibrary Library{"version.dll"};
    GetSizeFn GetSize = Library.Proc<GetSizeFn>("GetFileVersionInfoSizeW");
    GetInfoFn GetInfo = Library.Proc<GetInfoFn>("GetFileVersionInfoW");
    QueryFn Query = Library.Proc<QueryFn>("VerQueryValueW");
};

} // namespace

bool ReadFixedVersion(const std::string& fileName, TFixedVersion& version) {
    TVersionFunctions api;
    if (!api.Ready())
        return false;
    const std::u16string name = Utf16(fileName);
    DWORD handle = 0;
    const DWORD size = api.GetSize(WideChars(name), &handle);
    if (size == 0)
        return false;
    std::vector<char> data(size, '\0');
    if (!api.GetInfo(WideChars(name), 0, size, data.data()))
        return false;
    void* block = nullptr;
    UINT length = 0;
    if (!api.Query(data.data(), L"\\", &block, &length) || block == nullptr ||
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
    return api.Ready() && api.GetSize(WideChars(Utf16(fileName)), &handle) != 0;
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

} // namespace zq
