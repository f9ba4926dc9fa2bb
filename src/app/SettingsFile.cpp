#include "app/SettingsFile.h"

#include "app/SettingsPlace.h"
#include "toolkit/FileStore.h"

namespace zq {

namespace {

class TSystemSettingsPlaces final : public TSettingsPlacePort {
public:
    std::string ProgramFolder() override { return ExecutableDirectory(); }
    std::string AppDataFolder() override { return zq::AppDataFolder(); }
    TFileState FileState(const std::string& path) override {
        if (!PathExists(path))
            return TFileState::Missing;
        return FileRefusesWriting(path) ? TFileState::ReadOnly : TFileState::Writable;
    }
    bool CanMakeFileBeside(const std::string& path) override { return zq::CanMakeFileBeside(path); }
    bool MakeFolder(const std::string& folder) override { return zq::MakeFolder(folder); }
};

} // namespace

std::unique_ptr<TIniFile> OpenSettingsFile() {
    TSystemSettingsPlaces places;
    TSettingsPlace place = ChooseSettingsPlace(places);
    return std::make_unique<TIniFile>(std::move(place.ReadFrom), std::move(place.WriteTo),
                                      SystemFileStore());
}

} // namespace zq
