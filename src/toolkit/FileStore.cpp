#include "toolkit/FileStore.h"

#include <windows.h>

#include <algorithm>
#include <exception>

namespace zq {

namespace {
struct FileHandle {
    HANDLE h;
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
};

// ReadFile and WriteFile move at most this much at once.
constexpr std::size_t kChunk = 1u << 30;

class TSystemCodePage final : public TCodePage {
public:
    void AppendAnsi(std::u16string_view units, std::string& out) const override {
        if (units.empty())
            return;
        const auto* wide = reinterpret_cast<const WCHAR*>(units.data());
        const int count = static_cast<int>(units.size());
        const int n = WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(n));
        WideCharToMultiByte(CP_ACP, 0, wide, count, out.data() + at, n, nullptr, nullptr);
    }
    void AppendUnicode(std::string_view ansi, std::u16string& out) const override {
        if (ansi.empty())
            return;
        const int count = static_cast<int>(ansi.size());
        const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), count, nullptr, 0);
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(n));
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), count,
                            reinterpret_cast<WCHAR*>(out.data() + at), n);
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
    result.status = FileReadResult::Failed;
    DWORD high = 0;
    const DWORD low = GetFileSize(file.h, &high);
    const unsigned long long size = (static_cast<unsigned long long>(high) << 32) | low;
    if ((low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) || size > result.data.max_size())
        return result;
    try {
        result.data.resize(static_cast<std::size_t>(size));
    } catch (const std::exception&) { // more than memory holds
        return result;
    }
    for (std::size_t done = 0; done < result.data.size();) {
        DWORD read = 0;
        const auto want = static_cast<DWORD>(std::min(result.data.size() - done, kChunk));
        if (!ReadFile(file.h, result.data.data() + done, want, &read, nullptr) || read == 0) {
            result.data.clear();
            return result;
        }
        done += read;
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
        bool ok = true;
        for (std::size_t done = 0; ok && done < data.size();) {
            DWORD written = 0;
            const auto want = static_cast<DWORD>(std::min(data.size() - done, kChunk));
            ok = WriteFile(file.h, data.data() + done, want, &written, nullptr) && written == want;
            done += written;
        }
        ok = ok && FlushFileBuffers(file.h);
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

const TCodePage& TWin32FileStore::CodePage() const {
    static const TSystemCodePage codePage;
    return codePage;
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
