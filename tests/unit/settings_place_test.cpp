// Where the settings file lives, for every state of the two places.
#include <gtest/gtest.h>

#include "app/SettingsPlace.h"

using namespace zq;

namespace {
constexpr auto M = TFileState::Missing, W = TFileState::Writable, R = TFileState::ReadOnly;
const std::string kBeside = "D:\\Tools\\zentiq.ini", kFolder = "C:\\AppData\\Zentiq\\",
                  kRoaming = kFolder + "zentiq.ini";

struct Row {
    TFileState beside;
    bool programFolderWritable;
    TFileState roaming;
    const char* appData;
    bool roamingFolderMade, roamingFolderWritable;
    const std::string &readFrom, &writeTo;
    bool made; // the folder in %APPDATA%
};

struct TPlaces final : TSettingsPlacePort {
    const Row& Is;
    bool Made = false;
    explicit TPlaces(const Row& row) : Is(row) {}
    std::string ProgramFolder() override { return "D:\\Tools\\"; }
    std::string AppDataFolder() override { return Is.appData; }
    TFileState FileState(const std::string& path) override {
        return path == kBeside ? Is.beside : path == kRoaming ? Is.roaming : M;
    }
    bool CanMakeFileBeside(const std::string& path) override {
        return path == kBeside ? Is.programFolderWritable : Made && Is.roamingFolderWritable;
    }
    bool MakeFolder(const std::string& folder) override {
        Made = folder == kFolder && Is.roamingFolderMade;
        return Made;
    }
};
} // namespace

// The file beside the program missing, writable or read-only, its folder writable or not, a
// file in %APPDATA%\Zentiq or none; then the places that cannot be had.
TEST(SettingsPlace, EveryStateOfTheTwoPlaces) {
    const std::string &B = kBeside, &A = kRoaming;
    const char* appData = "C:\\AppData\\";
    const Row rows[] = {
        {M, true, M, appData, true, true, B, B, false},
        {M, true, W, appData, true, true, B, B, false},
        {W, true, M, appData, true, true, B, B, false},
        {W, true, W, appData, true, true, B, B, false},
        {R, true, M, appData, true, true, B, A, true},
        {R, true, W, appData, true, true, A, A, false},
        {M, false, M, appData, true, true, B, A, true},
        {M, false, W, appData, true, true, A, A, false},
        {W, false, M, appData, true, true, B, A, true},
        {W, false, W, appData, true, true, A, A, false},
        {R, false, M, appData, true, true, B, A, true},
        {R, false, W, appData, true, true, A, A, false},
        // Neither can be written: the write fails at exit, and the question names the file.
        {R, false, R, appData, true, true, A, A, false},
        {R, false, M, "", true, true, B, B, false},
        {R, false, M, appData, false, true, B, B, false},
        {R, false, M, appData, true, false, B, B, true},
    };
    for (const Row& row : rows) {
        TPlaces places(row);
        const TSettingsPlace place = ChooseSettingsPlace(places);
        SCOPED_TRACE(testing::Message() << "row " << &row - rows);
        EXPECT_EQ(place.ReadFrom, row.readFrom);
        EXPECT_EQ(place.WriteTo, row.writeTo);
        EXPECT_EQ(places.Made, row.made);
    }
}
