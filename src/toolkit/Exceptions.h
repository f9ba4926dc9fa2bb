#pragma once
// Failures raised by the program and the toolkit. Every entry from Windows catches them and
// hands them to Application.HandleException, which shows Message() captioned with the title.
#include <stdexcept>
#include <string>

namespace zq {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
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
