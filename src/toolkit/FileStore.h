#pragma once
// The Windows file system as a settings store. Writes go to a temporary file beside the target
// that then replaces it, so a crash or a full disk never leaves a torn or empty file.
#include "toolkit/IniFile.h"

namespace zq {

class TWin32FileStore : public IFileStore {
public:
    // Any size that memory holds; a file that is locked or cannot be read in full is Failed.
    FileReadResult Read(const std::string& path) override;
    bool Write(const std::string& path, const std::string& data) override;
    // The system's ANSI code page.
    const TCodePage& CodePage() const override;
};

IFileStore& SystemFileStore();

// The directory of the running executable, trailing separator included.
std::string ExecutableDirectory();

} // namespace zq
