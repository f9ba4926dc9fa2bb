// Where the settings file lives, for every state of the two places.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/SettingsPlace.h"

using namespace zq;

namespace {

constexpr char kProgram[] = "D:\\Tools\\";
constexpr char kAppData[] = "C:\\Users\\Ola\\AppData\\Roaming\\";
const std::string kBeside = std::string(kProgram) + "zentiq.ini";
const std::string kRoamingFolder = std::string(kAppData) + "Zentiq\\";
const std::string kRoaming = kRoamingFolder + "zentiq.ini";

struct TPlaces final : TSettingsPlacePort {
    TFileState Beside = TFileState::Missing;
    bool ProgramFolderWritable = true;
    std::string AppData = kAppData;
    TFileState Roaming = TFileState::Missing;
    bool RoamingFolderMade = true;
    bool RoamingFolderWritable = true;
    std::vector<std::string> Made;

    std::string ProgramFolder() override { return kProgram; }
    std::string AppDataFolder() override { return AppData; }
    TFileState FileState(const std::string& path) override {
        return path == kBeside ? Beside : path == kRoaming ? Roaming : TFileState::Missing;
    }
    bool CanMakeFileBeside(const std::string& path) override {
        if (path == kRoaming)
            return !Made.empty() && RoamingFolderWritable;
        return path == kBeside && ProgramFolderWritable;
    }
    bool MakeFolder(const std::string& folder) override {
        Made.push_back(folder);
        return RoamingFolderMade;
    }
};

constexpr auto Missing = TFileState::Missing;
constexpr auto Writable = TFileState::Writable;
constexpr auto ReadOnly = TFileState::ReadOnly;

} // namespace

// The file beside the program present, missing or read-only, its folder writable or not, a file
// in the application data folder or none: read from / written to, and whether the application
// data folder is made.
TEST(SettingsPlace, EveryStateOfTheTwoPlaces) {
    const std::string& B = kBeside;
    const std::string& R = kRoaming;
    struct Row {
        TFileState beside;
        bool folderWritable;
        TFileState roaming;
        const std::string& readFrom;
        const std::string& writeTo;
    } rows[] = {
        {Missing, true, Missing, B, B},
        {Missing, true, Writable, B, B},
        {Writable, true, Missing, B, B},
        {Writable, true, Writable, B, B},
        {ReadOnly, true, Missing, B, R},
        {ReadOnly, true, Writable, R, R},
        {Missing, false, Missing, B, R},
        {Missing, false, Writable, R, R},
        {Writable, false, Missing, B, R},
        {Writable, false, Writable, R, R},
        {ReadOnly, false, Missing, B, R},
        {ReadOnly, false, Writable, R, R},
        // A read-only file there too: neither can be written, so its write fails at exit.
        {ReadOnly, false, ReadOnly, R, R},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "beside " << int(row.beside) << ", folder writable "
                                        << row.folderWritable << ", roaming " << int(row.roaming));
        TPlaces places;
        places.Beside = row.beside;
        places.ProgramFolderWritable = row.folderWritable;
        places.Roaming = row.roaming;
        const TSettingsPlace place = ChooseSettingsPlace(places);
        EXPECT_EQ(place.ReadFrom, row.readFrom);
        EXPECT_EQ(place.WriteTo, row.writeTo);
        const bool madeFolder = row.writeTo == R && row.roaming == Missing;
        EXPECT_EQ(places.Made, madeFolder ? std::vector<std::string>{kRoamingFolder}
                                          : std::vector<std::string>{});
    }
}

// Where the application data place cannot be had either, the file beside the program stays the
// place, so that the exit question names it.
TEST(SettingsPlace, WithoutAnApplicationDataPlaceTheFileBesideTheProgramStays) {
    TPlaces noAppData;
    noAppData.AppData.clear();
    TPlaces folderRefused;
    folderRefused.RoamingFolderMade = false;
    TPlaces folderReadOnly;
    folderReadOnly.RoamingFolderWritable = false;
    for (TPlaces* places : {&noAppData, &folderRefused, &folderReadOnly}) {
        places->Beside = ReadOnly;
        const TSettingsPlace place = ChooseSettingsPlace(*places);
        EXPECT_EQ(place.ReadFrom, kBeside);
        EXPECT_EQ(place.WriteTo, kBeside);
    }
}
