#include "toolkit/SystemLibrary.h"

#include <vector>

#include "toolkit/WideText.h"

namespace zq {

namespace {
constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
} // namespace

void RestrictDllSearch() {
    if (auto setDefault =
            LoadedProc<SetDefaultDllDirectoriesFn>("kernel32.dll", "SetDefaultDllDirectories"))
        setDefault(kSearchSystem32);
    if (auto setDirectory = LoadedProc<SetDllDirectoryFn>("kernel32.dll", "SetDllDirectoryA"))
        setDirectory("");
}

std::string SystemDirectory() {
    std::vector<WCHAR> buffer(MAX_PATH + 1);
    UINT length = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) { // too small: the answer is the size needed
        buffer.resize(length + 1);
        length = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size())
        return {};
    std::string directory = Utf8(buffer.data(), length);
    if (directory.back() != '\\')
        directory += '\\';
    return directory;
}

TSystemLibrary::TSystemLibrary(const char* fileName) {
    const std::string directory = SystemDirectory();
    if (directory.empty())
        return;
    const std::u16string path = Utf16(directory + fileName);
    // The DLL's own imports are looked for beside it, in the system directory, too.
    FModule = LoadLibraryExW(WideChars(path), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (FModule == nullptr)
        FModule = LoadLibraryW(WideChars(path));
}

TSystemLibrary::~TSystemLibrary() {
    if (FModule != nullptr)
        FreeLibrary(FModule);
}

} // namespace zq
