#include "toolkit/IniFile.h"

#include "toolkit/Exceptions.h"
#include "toolkit/IniCodec.h"

namespace zq {

TIniFile::TIniFile(std::string fileName, IFileStore& store)
    : FFileName(std::move(fileName)), FStore(store) {}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) {
    FileReadResult file = FStore.Read(FFileName);
    if (file.status != FileReadResult::Ok)
        return defaultValue;
    return IniDocument::Parse(file.data).Get(section, key).value_or(defaultValue);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) {
    FileReadResult file = FStore.Read(FFileName);
    if (file.status != FileReadResult::Ok)
        return defaultValue;
    auto value = IniDocument::Parse(file.data).Get(section, key);
    return value ? ParseIniInteger(*value, defaultValue) : defaultValue;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    FileReadResult file = FStore.Read(FFileName);
    // A file that exists but cannot be read is never replaced by a partial one.
    if (file.status == FileReadResult::Failed)
        throw EIniFileException("Unable to write to " + FFileName);
    IniDocument doc = IniDocument::Parse(file.data);
    // A key or value the file cannot hold is a failed write, not a corrupted file.
    if (!doc.Set(section, key, value) || !FStore.Write(FFileName, doc.Serialize()))
        throw EIniFileException("Unable to write to " + FFileName);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

} // namespace zq
