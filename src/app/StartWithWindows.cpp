#include "app/StartWithWindows.h"

#include <string_view>

#include "toolkit/IniCodec.h"

namespace zq {

std::string RunCommand(const std::string& program) {
    std::string command(program.size() + 2, '"');
    program.copy(&command[1], program.size());
    return command;
}

bool RunsProgram(const std::string& command, const std::string& program) {
    std::string_view text = TrimBlanks(command);
    const bool quoted = !text.empty() && text.front() == '"';
    if (quoted)
        text.remove_prefix(1);
    const std::size_t length = program.size();
    if (length == 0 || text.size() < length || !SameTextAscii(text.substr(0, length), program))
        return false;
    text.remove_prefix(length);
    if (quoted) {
        if (text.empty() || text.front() != '"')
            return false;
        text.remove_prefix(1);
    }
    return text.empty() || text.front() == ' ' || text.front() == '\t';
}

} // namespace zq
