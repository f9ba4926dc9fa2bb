#pragma once
// The settings-file accessor: reads and writes one key at a time, like the platform's profile
// calls. Every write re-reads the file, changes the one key and replaces the whole file through
// the store (atomically, in the Windows store), so a failed write leaves the old file intact.
#include <string>

#include "toolkit/Types.h"

namespace zq {

struct FileReadResult {
    enum Status { Ok, Missing, Failed } status = Missing;
    std::string data;
};

// Where settings files live: the Windows file system in the program, memory in tests.
class IFileStore {
public:
    virtual ~IFileStore() = default;
    virtual FileReadResult Read(const std::string& path) = 0;
    // Replaces the file's whole content; false when that could not be done.
    virtual bool Write(const std::string& path, const std::string& data) = 0;
};

class TIniFile : public TObject {
public:
    TIniFile(std::string fileName, IFileStore& store);
    const std::string& FileName() const { return FFileName; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue);
    // Decimal, or hexadecimal after "0x"; anything else gives the default.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue);
    // An integer; non-zero is true.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue);

    // Each raises EIniFileException "Unable to write to <path>" when the file cannot be written
    // or cannot hold the key or value (see IniDocument::Set).
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    // Every write has already reached the file; kept for callers that flush explicitly.
    void UpdateFile() {}

private:
    std::string FFileName;
    IFileStore& FStore;
};

} // namespace zq
