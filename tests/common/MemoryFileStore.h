#pragma once
// Settings files in memory, for the unit tests, fuzz targets and benchmarks: files by path, a
// count of the writes still allowed, and of those made.
#include <map>
#include <string>

#include "toolkit/IniFile.h"

namespace zqtest {

class TMemoryFileStore : public zq::IFileStore {
public:
    std::map<std::string, std::string> Files;
    int WritesLeft = 1 << 30;
    int WriteCount = 0;

    zq::FileReadResult Read(const std::string& path) override {
        auto it = Files.find(path);
        if (it == Files.end())
            return {zq::FileReadResult::Missing, {}};
        return {zq::FileReadResult::Ok, it->second};
    }
    bool Write(const std::string& path, const std::string& data) override {
        if (WritesLeft-- <= 0)
            return false;
        Files[path] = data;
        ++WriteCount;
        return true;
    }
};

} // namespace zqtest
