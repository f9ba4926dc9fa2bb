#pragma once
// The settings-file accessor. It reads the file once, at its first use, and answers every read
// from what it read and what was written since. UpdateFile writes: it reads the file again (so
// that what other programs wrote in the meantime is kept), sets the keys written since the last
// update and replaces the whole file through the store (atomically, in the Windows store). The
// settings may be read from one file and written to another (a copy the program cannot write
// moves to where it can): the first update makes the second file from the first.
#include <string>
#include <vector>

#include "toolkit/IniCodec.h"
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
    // A file that exists but cannot be read in full is Failed.
    virtual FileReadResult Read(const std::string& path) = 0;
    // Replaces the file's whole content; false when that could not be done.
    virtual bool Write(const std::string& path, const std::string& data) = 0;
    // The code page of the ANSI text read from and written to Unicode files.
    virtual const TCodePage& CodePage() const { return Windows1252(); }
};

class TIniFile : public TObject {
public:
    TIniFile(std::string fileName, IFileStore& store);
    // Reads `readFrom` until the first update has written `writeTo`, then `writeTo`.
    TIniFile(std::string readFrom, std::string writeTo, IFileStore& store);
    // The file written (and named in failures).
    const std::string& FileName() const { return FFileName; }

    // A file that is missing or cannot be read gives every default.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue);
    // Decimal, or hexadecimal after "0x"; anything else gives the default.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue);
    // An integer; non-zero is true.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue);

    // Each raises EIniFileException "Unable to write to <path>" when the file cannot hold the
    // key or value (see IniDocument::Set). The file changes at UpdateFile.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    // Writes the keys written since the last update into the file; raises "Unable to write to
    // <path>" when the file cannot be read or replaced, or memory runs out, and then leaves the
    // file as it was and keeps the writes for the next update. When the file read existed but
    // could not be read at the first use, nothing is ever written: that would replace what it
    // holds (or hide it behind another file) with what this accessor could not read.
    void UpdateFile();

private:
    struct TWrite {
        std::string Section, Key, Value;
    };
    IniDocument& Document();
    bool Replace();
    std::string FReadFrom;
    std::string FFileName;
    IFileStore& FStore;
    bool FLoaded = false;
    bool FUnreadable = false;
    IniDocument FDocument;
    std::vector<TWrite> FWrites;
};

} // namespace zq
