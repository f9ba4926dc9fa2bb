#pragma once
// The text of a failure raised inside the C++ library (a container index out of range, a
// string too long): its message with the conversions the library uses (%s, %zu, %%) filled in.
#include <cstdarg>
#include <cstddef>

namespace zq {

// Writes at most size - 1 characters and a terminating zero; an unknown conversion is copied
// as it stands. Returns the length written.
std::size_t FormatRuntimeMessage(char* out, std::size_t size, const char* format,
                                 std::va_list args);

} // namespace zq
