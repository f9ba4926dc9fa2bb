#include "toolkit/Exceptions.h"

#include <windows.h>

#include "toolkit/WideText.h"

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
    WCHAR text[512] = {};
    DWORD length =
        code == 0 ? 0
                  : FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, text, sizeof text / sizeof *text, nullptr);
    while (length > 0 &&
           (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L' '))
        --length;
    if (length > 0)
        message.append(Utf8(text, length)).append(" ");
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
    MessageBoxW(nullptr, WideChars(Utf16(CurrentExceptionMessage())), L"Error",
                MB_OK | MB_ICONSTOP);
}

void SetExceptionHandler(TExceptionHandler handler) {
    Handler() = std::move(handler);
}

} // namespace zq
