#include "app/SettingsPlace.h"

#include "forms/MeterSettings.h"

namespace zq {

namespace {

constexpr char kAppDataSubfolder[] = "Zentiq\\";

// An existing file must accept being replaced, and its folder a new file (the write goes
// through a temporary file beside it).
bool CanWrite(TSettingsPlacePort& port, const std::string& file) {
    return port.FileState(file) != TFileState::ReadOnly && port.CanMakeFileBeside(file);
}

} // namespace

TSettingsPlace ChooseSettingsPlace(TSettingsPlacePort& port) {
    const std::string beside = port.ProgramFolder() + kSettingsFileName;
    if (CanWrite(port, beside))
        return {beside, beside};
    const std::string appData = port.AppDataFolder();
    if (appData.empty())
        return {beside, beside};
    const std::string folder = appData + kAppDataSubfolder;
    const std::string roaming = folder + kSettingsFileName;
    // Once there, the settings stay there; a file there that cannot be written asks at exit.
    if (port.FileState(roaming) != TFileState::Missing)
        return {roaming, roaming};
    if (!port.MakeFolder(folder) || !port.CanMakeFileBeside(roaming))
        return {beside, beside};
    return {beside, roaming};
}

} // namespace zq
