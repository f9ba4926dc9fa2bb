#include "toolkit/FileStore.h"

#include <windows.h>

namespace zq {

namespace {
// Settings files are small; anything larger is not ours to rewrite.
constexpr DWORD kMaxSize = 4 * 1024 * 1024;

struct FileHandle {
    HANDLE h;
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
};
} // namespace

FileReadResult TWin32FileStore::Read(const std::string& path) {
    FileReadResult result;
    FileHandle file{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.h == INVALID_HANDLE_VALUE) {
        DWORD err = GetLastError();
        result.status = (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND)
                            ? FileReadResult::Missing
                            : FileReadResult::Failed;
        return result;
    }
    DWORD high = 0;
    DWORD size = GetFileSize(file.h, &high);
    if (size == INVALID_FILE_SIZE || high != 0 || size > kMaxSize) {
        result.status = FileReadResult::Failed;
        return result;
    }
    result.data.resize(size);
    DWORD read = 0;
    if (size > 0 && (!ReadFile(file.h, result.data.data(), size, &read, nullptr) || read != size)) {
        result.status = FileReadResult::Failed;
        result.data.clear();
        return result;
    }
    result.status = FileReadResult::Ok;
    return result;
}

bool TWin32FileStore::Write(const std::string& path, const std::string& data) {
    DWORD attrs = GetFileAttributesA(path.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES &&
        (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    std::string temp = path + ".tmp";
    {
        FileHandle file{CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr)};
        if (file.h == INVALID_HANDLE_VALUE)
            return false;
        DWORD written = 0;
        bool ok =
            WriteFile(file.h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
            written == data.size() && FlushFileBuffers(file.h);
        if (!ok) {
            CloseHandle(file.h);
            file.h = INVALID_HANDLE_VALUE;
            DeleteFileA(temp.c_str());
            return false;
        }
    }
    if (!MoveFileExA(temp.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}

IFileStore& SystemFileStore() {
    static TWin32FileStore store;
    return store;
}

std::string ExecutableDirectory() {
    char buffer[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path(buffer, n);
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace zq
