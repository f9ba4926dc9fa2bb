#include "toolkit/IniFile.h"

#include <exception>

#include "toolkit/Exceptions.h"

namespace zq {

TIniFile::TIniFile(std::string fileName, IFileStore& store)
    : FReadFrom(fileName), FFileName(std::move(fileName)), FStore(store) {}

TIniFile::TIniFile(std::string readFrom, std::string writeTo, IFileStore& store)
    : FReadFrom(std::move(readFrom)), FFileName(std::move(writeTo)), FStore(store) {}

IniDocument& TIniFile::Document() {
    if (!FLoaded) {
        FLoaded = true;
        try {
            FileReadResult file = FStore.Read(FReadFrom);
            FUnreadable = file.status == FileReadResult::Failed;
            if (file.status == FileReadResult::Ok)
                FDocument = IniDocument::Parse(file.data, FStore.CodePage());
        } catch (const std::exception&) { // out of memory: as unreadable
            FUnreadable = true;
        }
    }
    return FDocument;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) {
    return Document().Get(section, key).value_or(defaultValue);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) {
    auto value = Document().Get(section, key);
    return value ? ParseIniInteger(*value, defaultValue) : defaultValue;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    // A key or value the file cannot hold is a failed write, not a corrupted file.
    if (!Document().Set(section, key, value))
        throw EIniFileException("Unable to write to " + FFileName);
    FWrites.push_back({section, key, value});
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::UpdateFile() {
    if (FWrites.empty())
        return;
    bool written = false;
    if (!FUnreadable) {
        try {
            written = Replace();
        } catch (const std::exception&) { // out of memory
            written = false;
        }
    }
    if (!written)
        throw EIniFileException("Unable to write to " + FFileName);
}

bool TIniFile::Replace() {
    FileReadResult file = FStore.Read(FReadFrom);
    if (file.status == FileReadResult::Failed)
        return false;
    IniDocument doc = IniDocument::Parse(file.data, FStore.CodePage());
    for (const TWrite& w : FWrites)
        if (!doc.Set(w.Section, w.Key, w.Value))
            return false;
    if (!FStore.Write(FFileName, doc.Serialize()))
        return false;
    FDocument = std::move(doc);
    FWrites.clear();
    FReadFrom = FFileName; // the settings live there now
    return true;
}

} // namespace zq
