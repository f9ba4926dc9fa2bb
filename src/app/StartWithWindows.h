#pragma once
// Starting the program when the user logs on: a value under the current user's Run key holds
// the command, the program's full path in double quotes.
#include <string>

namespace zq {

// The command that starts `program`: its path in double quotes.
std::string RunCommand(const std::string& program);
// True when `command` starts `program`: its path, quoted or unquoted, compared without regard to
// case (ASCII letters) and followed by nothing or by a blank and arguments.
bool RunsProgram(const std::string& command, const std::string& program);

} // namespace zq
