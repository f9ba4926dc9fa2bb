// The text of the C++ library's own failures, as the program shows them.
#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

#include "app/RuntimeMessage.h"

using namespace zq;

namespace {

std::string Format(std::size_t size, const char* format, ...) {
    char out[64];
    std::va_list args;
    va_start(args, format);
    const std::size_t length = FormatRuntimeMessage(out, size, format, args);
    va_end(args);
    EXPECT_EQ(length, std::string(out).size());
    return out;
}

} // namespace

TEST(RuntimeMessage, FillsInTheLibrarysConversions) {
    EXPECT_EQ(Format(64, "%s: __pos (which is %zu) > __size (which is %zu)", "basic_string::at",
                     std::size_t{7}, std::size_t{0}),
              "basic_string::at: __pos (which is 7) > __size (which is 0)");
    EXPECT_EQ(Format(64, "%zu%%", static_cast<std::size_t>(-1)),
              std::to_string(static_cast<std::size_t>(-1)) + "%");
    EXPECT_EQ(Format(64, "%s", nullptr), "(null)");
    EXPECT_EQ(Format(64, "%d and %"), "%d and %");
    EXPECT_EQ(Format(64, nullptr), "");
}

TEST(RuntimeMessage, CutsATextLongerThanTheBuffer) {
    EXPECT_EQ(Format(8, "vector::_M_range_check: __n (which is %zu)", std::size_t{12}), "vector:");
    EXPECT_EQ(Format(4, "%zu", std::size_t{123456}), "123");
    EXPECT_EQ(Format(1, "anything"), "");
}
