#pragma once
// The Windows file system as a settings store, and the paths the program asks the system for.
// Writes go to a temporary file beside the target that then replaces it, so a crash or a full
// disk never leaves a torn or empty file. Paths are UTF-8, handed to the system's wide calls
// (toolkit/WideText.h), so a name in any script works and none is cut at 260 characters.
#include <windows.h>

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

// The temporary file a write of `path` makes beside it.
std::string TemporaryFileOf(const std::string& path);

// Whether a file or folder of that name exists.
bool PathExists(const std::string& path);
// Whether an existing file refuses to be replaced: it is read-only, a folder, or the user may
// not write it. A file another program holds open now does not count.
bool FileRefusesWriting(const std::string& path);
// Whether a new file can be made beside `path`: tried with its temporary file, deleted at once.
bool CanMakeFileBeside(const std::string& path);
// Makes the folder where it is missing (its parent must exist); true when it exists afterwards.
bool MakeFolder(const std::string& folder);

// The file of a loaded module as the system reports its path, any length; empty on failure.
std::string ModuleFileName(HMODULE module);
// The running program's own file.
std::string ProgramFileName();
// The directory of the running executable, trailing separator included.
std::string ExecutableDirectory();
// The user's roaming application data folder, %APPDATA%, trailing separator included; empty
// where the environment names no absolute path.
std::string AppDataFolder();

} // namespace zq
