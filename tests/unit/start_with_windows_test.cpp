// The command that starts the program with Windows, and whether a stored command starts it.
#include <gtest/gtest.h>

#include "app/StartWithWindows.h"

using namespace zq;

TEST(StartWithWindows, TheCommandIsThePathInQuotes) {
    EXPECT_EQ(RunCommand("C:\\Program Files\\Zentiq\\zentiq.exe"),
              "\"C:\\Program Files\\Zentiq\\zentiq.exe\"");
    EXPECT_TRUE(RunsProgram(RunCommand("C:\\Tools\\zentiq.exe"), "C:\\Tools\\zentiq.exe"));
}

TEST(StartWithWindows, ACommandStartsTheProgramWhenItNamesItsPath) {
    const std::string program = "C:\\Program Files\\Zentiq\\zentiq.exe";
    const struct {
        const char* command;
        bool runs;
    } rows[] = {
        {"\"C:\\Program Files\\Zentiq\\zentiq.exe\"", true},
        {"C:\\Program Files\\Zentiq\\zentiq.exe", true}, // unquoted, as Windows also runs it
        {"\"c:\\PROGRAM FILES\\zentiq\\ZENTIQ.EXE\"", true},
        {"  \"C:\\Program Files\\Zentiq\\zentiq.exe\"  ", true},
        {"\"C:\\Program Files\\Zentiq\\zentiq.exe\" /minimized", true},
        {"C:\\Program Files\\Zentiq\\zentiq.exe\t/minimized", true},
        {"\"D:\\Zentiq\\zentiq.exe\"", false}, // moved, or another copy
        {"\"C:\\Program Files\\Zentiq\\zentiq.exe.bak\"", false},
        {"C:\\Program Files\\Zentiq\\zentiq.exex", false},
        {"\"C:\\Program Files\\Zentiq\\zentiq.exe\"x", false},
        {"\"C:\\Program Files\\Zentiq\\zentiq.exe", false}, // no closing quote
        {"C:\\Program Files\\Zentiq\\zentiq.ex", false},
        {"\"C:\\Program Files\\Zentiq\\zentiq.ex\"e", false},
        {"", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(RunsProgram(row.command, program), row.runs) << row.command;
    EXPECT_FALSE(RunsProgram("\"\"", ""));
}
