// Entry of the Windows test program: GoogleTest under Wine, with the application object set up
// so that components and forms can be created; failures it is handed are recorded, not shown.
#include <gtest/gtest.h>
#include <windows.h>

#include "Harness.h"
#include "toolkit/Application.h"

namespace {
std::vector<std::string> gExceptions;
}

namespace zqtest {

std::vector<std::string> TakeExceptions() {
    return std::exchange(gExceptions, {});
}

std::string TempFolder(const std::string& name) {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, base);
    std::string folder = std::string(base) + "zqtest-" + name + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string file = folder + data.cFileName;
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(file.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return folder;
}

} // namespace zqtest

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    zq::TApplication app;
    app.Initialize();
    app.SetTitle("Zentiq tests");
    app.OnException = [](zq::TObject*, const std::string& message) {
        gExceptions.push_back(message);
    };
    return RUN_ALL_TESTS();
}
