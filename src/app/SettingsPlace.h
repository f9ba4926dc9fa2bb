#pragma once
// Where the settings file lives. The file beside the program comes first, so that a copy on a
// USB stick keeps its own. Where that file or its folder refuses writing (under "Program
// Files", on a read-only medium, a read-only file), the settings live in the user's
// application data, "%APPDATA%\Zentiq\zentiq.ini": read from there once that file exists,
// until then from the file beside the program, and written there.
#include <string>

namespace zq {

enum class TFileState { Missing, Writable, ReadOnly };

// What the choice asks of the file system: SettingsFile.cpp asks Windows, tests a table.
class TSettingsPlacePort {
public:
    // The program's folder and the user's application data folder, each with a trailing
    // separator; the latter empty where the system names none.
    virtual std::string ProgramFolder() = 0;
    virtual std::string AppDataFolder() = 0;
    // Missing, or whether the existing file can be replaced (a read-only file refuses).
    virtual TFileState FileState(const std::string& path) = 0;
    // Whether a new file can be made in the folder of `path`.
    virtual bool CanMakeFileBeside(const std::string& path) = 0;
    // Makes the folder where it is missing; true when it exists afterwards.
    virtual bool MakeFolder(const std::string& folder) = 0;

protected:
    ~TSettingsPlacePort() = default;
};

struct TSettingsPlace {
    std::string ReadFrom; // the file the settings are read from (it may be missing)
    std::string WriteTo;  // the file they are written to
};

// The file beside the program where it can be written (or made); else the application data
// file (its folder made when needed), read from the file beside the program until it exists.
// Where neither can be written, the file beside the program, whose write then fails.
TSettingsPlace ChooseSettingsPlace(TSettingsPlacePort& port);

} // namespace zq
