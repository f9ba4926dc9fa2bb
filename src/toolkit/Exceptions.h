#pragma once
// Failures raised by the program and the toolkit. Every entry from Windows catches them and
// hands them to Application.HandleException, which shows Message() captioned with the title.
#include <exception>
#include <string>
#include <utility>

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

} // namespace zq
