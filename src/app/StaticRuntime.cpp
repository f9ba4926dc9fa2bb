// Replacements for two parts of the statically linked C++ runtime that zentiq.exe does not
// need whole. Defined here, the library's own objects are never linked in:
// - the default terminate handler, which writes the demangled type of the exception to a
//   standard error stream that a windowed program does not have (and brings in the demangler
//   and the printf family with its floating-point formatting);
// - the functions through which the library's headers raise their failures, which construct
//   std::logic_error and its kin (and bring in a second, reference-counted string
//   implementation). The failures raised here are std::exception objects with the same text,
//   shown like any other failure.
#include <cstdarg>
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

#include "app/RuntimeMessage.h"

namespace {

class TLibraryFailure final : public std::exception {
public:
    explicit TLibraryFailure(const char* message) { Format("%s", message); }
    TLibraryFailure(const char* format, std::va_list args) {
        zq::FormatRuntimeMessage(FText, sizeof FText, format, args);
    }
    const char* what() const noexcept override { return FText; }

private:
    void Format(const char* format, ...) {
        std::va_list args;
        va_start(args, format);
        zq::FormatRuntimeMessage(FText, sizeof FText, format, args);
        va_end(args);
    }

    char FText[256];
};

[[noreturn]] void Raise(const char* message) {
    throw TLibraryFailure(message);
}

} // namespace

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

} // namespace __gnu_cxx

namespace std {

void __throw_bad_exception() {
    throw bad_exception();
}
void __throw_bad_alloc() {
    throw bad_alloc();
}
void __throw_bad_array_new_length() {
    throw bad_array_new_length();
}
void __throw_bad_cast() {
    throw bad_cast();
}
void __throw_bad_typeid() {
    throw bad_typeid();
}
void __throw_logic_error(const char* message) {
    Raise(message);
}
void __throw_domain_error(const char* message) {
    Raise(message);
}
void __throw_invalid_argument(const char* message) {
    Raise(message);
}
void __throw_length_error(const char* message) {
    Raise(message);
}
void __throw_out_of_range(const char* message) {
    Raise(message);
}
void __throw_out_of_range_fmt(const char* format, ...) {
    va_list args;
    va_start(args, format);
    TLibraryFailure failure(format, args);
    va_end(args);
    throw failure;
}
void __throw_runtime_error(const char* message) {
    Raise(message);
}
void __throw_range_error(const char* message) {
    Raise(message);
}
void __throw_overflow_error(const char* message) {
    Raise(message);
}
void __throw_underflow_error(const char* message) {
    Raise(message);
}

} // namespace std
