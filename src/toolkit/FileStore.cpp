#include "toolkit/FileStore.h"

#include <windows.h>

#include <algorithm>
#include <exception>
#include <vector>

#include "toolkit/WideText.h"

namespace zq {

namespace {
struct FileHandle {
    HANDLE h;
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
};

HANDLE OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    return CreateFileW(WideChars(SystemPath(path)), access, share, nullptr, disposition, flags,
                       nullptr);
}

DWORD AttributesOf(const std::string& path) {
    return GetFileAttributesW(WideChars(SystemPath(path)));
}

bool DeletePath(const std::string& path) {
    return DeleteFileW(WideChars(SystemPath(path)));
}

// A text the system writes into a buffer: `call(buffer, size)` returns the length written, or,
// where the buffer is too small, the size needed or the buffer's size (the text cut to it).
template <typename Call> std::string GrowingText(Call call) {
    std::vector<WCHAR> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0 || buffer.size() > 65536)
            return {};
        if (length < buffer.size())
            return Utf8(buffer.data(), length);
        buffer.resize(std::max<std::size_t>(length + 1, buffer.size() * 2));
    }
}

// A drive's path ("C:\...") or a network one ("\\server\...").
bool IsAbsolute(std::string_view path) {
    return (path.size() >= 3 && path[1] == ':' && path[2] == '\\') || path.substr(0, 2) == "\\\\";
}

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
    FileHandle file{
        OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING)};
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
    DWORD attrs = AttributesOf(path);
    if (attrs != INVALID_FILE_ATTRIBUTES &&
        (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    const std::string temp = TemporaryFileOf(path);
    {
        FileHandle file{OpenFile(temp, GENERIC_WRITE, 0, CREATE_ALWAYS)};
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
            DeletePath(temp);
            return false;
        }
    }
    if (!MoveFileExW(WideChars(SystemPath(temp)), WideChars(SystemPath(path)),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeletePath(temp);
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

std::string TemporaryFileOf(const std::string& path) {
    return path + ".tmp";
}

bool PathExists(const std::string& path) {
    return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool FileRefusesWriting(const std::string& path) {
    const DWORD attrs = AttributesOf(path);
    if (attrs == INVALID_FILE_ATTRIBUTES)
        return false;
    if (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
        return true;
    // Opened for writing and closed: nothing of the file changes.
    FileHandle file{OpenFile(path, GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             OPEN_EXISTING)};
    return file.h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED;
}

bool CanMakeFileBeside(const std::string& path) {
    FileHandle file{OpenFile(TemporaryFileOf(path), GENERIC_WRITE, 0, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE)};
    return file.h != INVALID_HANDLE_VALUE;
}

bool MakeFolder(const std::string& folder) {
    if (CreateDirectoryW(WideChars(SystemPath(folder)), nullptr))
        return true;
    const DWORD attrs = AttributesOf(folder);
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ModuleFileName(HMODULE module) {
    // Cut to the buffer, the name fills it (without a terminator on Windows XP).
    return GrowingText(
        [module](WCHAR* buffer, DWORD size) { return GetModuleFileNameW(module, buffer, size); });
}

std::string ProgramFileName() {
    return ModuleFileName(nullptr);
}

std::string ExecutableDirectory() {
    std::string path = ProgramFileName();
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string AppDataFolder() {
    std::string folder = GrowingText([](WCHAR* buffer, DWORD size) {
        return GetEnvironmentVariableW(L"APPDATA", buffer, size);
    });
    if (!IsAbsolute(folder))
        return {};
    if (folder.back() != '\\')
        folder += '\\';
    return folder;
}

} // namespace zq
