#pragma once
// Helpers shared by the fuzz targets: a front-to-back reader of the input and a check that
// stops the run with a message (libFuzzer then keeps the input as a crash).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace zq::fuzz {

// Fixed-size little-endian numbers and byte runs, taken from the front. Reads past the end
// give zeros, so every input is a valid one.
class TFuzzReader {
public:
    TFuzzReader(const std::uint8_t* data, std::size_t size) : FData(data), FLeft(size) {}

    template <typename T> T Take() {
        static_assert(std::is_trivially_copyable_v<T>);
        T value{};
        const std::size_t n = FLeft < sizeof(T) ? FLeft : sizeof(T);
        if (n != 0)
            std::memcpy(&value, FData, n);
        Skip(n);
        return value;
    }
    bool Flag() { return (Take<std::uint8_t>() & 1) != 0; }
    // A number in [low, high].
    template <typename T> T InRange(T low, T high) {
        using U = std::make_unsigned_t<T>;
        const U span = static_cast<U>(static_cast<U>(high) - static_cast<U>(low));
        const U raw = Take<U>();
        return static_cast<T>(static_cast<U>(low) + (span == static_cast<U>(-1)
                                                         ? raw
                                                         : static_cast<U>(raw % (span + 1))));
    }
    // Up to `count` bytes.
    std::string_view Bytes(std::size_t count) {
        const std::size_t n = FLeft < count ? FLeft : count;
        std::string_view out(reinterpret_cast<const char*>(FData), n);
        Skip(n);
        return out;
    }
    // A run whose length is the byte before it.
    std::string_view Piece() { return Bytes(Take<std::uint8_t>()); }
    std::string_view Rest() { return Bytes(FLeft); }
    bool Empty() const { return FLeft == 0; }

private:
    void Skip(std::size_t n) {
        FData += n;
        FLeft -= n;
    }

    const std::uint8_t* FData;
    std::size_t FLeft;
};

[[noreturn]] inline void CheckFailed(const char* what, const char* file, int line) {
    std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, file, line);
    std::abort();
}

} // namespace zq::fuzz

#define ZQ_FUZZ_CHECK(condition)                                                                   \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::zq::fuzz::CheckFailed(#condition, __FILE__, __LINE__);                               \
    } while (false)
