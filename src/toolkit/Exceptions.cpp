#include "toolkit/Exceptions.h"

#include <windows.h>

namespace zq {

namespace {
TExceptionHandler& Handler() {
    static TExceptionHandler handler;
    return handler;
}
} // namespace

std::string CurrentExceptionMessage() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown exception";
    }
}

std::string SystemErrorText(const char* prefix, unsigned long code) {
    std::string message = prefix;
    char text[256] = {};
    DWORD length = code == 0
                       ? 0
                       : FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, text, sizeof text, nullptr);
    while (length > 0 &&
           (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' '))
        --length;
    if (length > 0)
        message.append(text, length).append(" ");
    else if (code == 0)
        message += "the system gave no reason ";
    message += "(error " + std::to_string(code) + ")";
    return message;
}

void RaiseLastError(const char* call, const std::string& windowClass) {
    const DWORD code = GetLastError();
    throw ESystemError(SystemErrorText(
        (std::string(call) + " failed for window class \"" + windowClass + "\": ").c_str(), code));
}

void HandleCurrentException(TObject* sender) {
    if (Handler()) {
        Handler()(sender);
        return;
    }
    MessageBoxA(nullptr, CurrentExceptionMessage().c_str(), "Error", MB_OK | MB_ICONSTOP);
}

void SetExceptionHandler(TExceptionHandler handler) {
    Handler() = std::move(handler);
}

} // namespace zq
