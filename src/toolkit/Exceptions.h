#pragma once
// Failures raised by the program and the toolkit, and their hand-over: every entry from Windows
// catches everything and calls HandleCurrentException, which passes the failure to the installed
// handler (the application object shows Message() captioned with its title).
#include <exception>
#include <functional>
#include <string>
#include <utility>

#include "toolkit/Types.h"

namespace zq {

// Derives from std::exception itself: std::runtime_error would bring the library's second,
// reference-counted string implementation into the program.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }
    std::string Message() const { return FMessage; }

private:
    std::string FMessage;
};

// Raised for an index or value outside its allowed range.
class ERangeError : public Exception {
public:
    using Exception::Exception;
};

// Raised by the settings-file accessor when a write fails.
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

// Raised when a system call that the toolkit cannot do without fails (a window class that
// cannot be registered, a window that cannot be made).
class ESystemError : public Exception {
public:
    using Exception::Exception;
};

// `prefix` followed by the system's text for an error code and the code: "Access is denied.
// (error 5)"; "the system gave no reason (error 0)" for no error.
std::string SystemErrorText(const char* prefix, unsigned long code);

// Raises ESystemError for the calling thread's last error, naming the call, the window class it
// was made for and the system's text: `CreateWindowExA failed for window class "ZqWindow":
// Invalid window handle. (error 1400)`.
[[noreturn]] void RaiseLastError(const char* call, const std::string& windowClass);

// The message text of the exception being handled (call from a catch block).
std::string CurrentExceptionMessage();

// Hands the exception being handled to the installed handler; without one, shows its message
// in a plain message box. Call from a catch block.
void HandleCurrentException(TObject* sender);

// Installed by the application object; an empty function removes it.
using TExceptionHandler = std::function<void(TObject* sender)>;
void SetExceptionHandler(TExceptionHandler handler);

} // namespace zq
