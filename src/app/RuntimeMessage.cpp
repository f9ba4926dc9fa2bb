#include "app/RuntimeMessage.h"

namespace zq {

namespace {

class TWriter {
public:
    TWriter(char* out, std::size_t size) : FOut(out), FLimit(size - 1) {}
    void Put(char c) {
        if (FLength < FLimit)
            FOut[FLength++] = c;
    }
    void Put(const char* text) {
        while (*text != '\0')
            Put(*text++);
    }
    std::size_t Finish() {
        FOut[FLength] = '\0';
        return FLength;
    }

private:
    char* FOut;
    std::size_t FLimit;
    std::size_t FLength = 0;
};

} // namespace

std::size_t FormatRuntimeMessage(char* out, std::size_t size, const char* format,
                                 std::va_list args) {
    if (out == nullptr || size == 0)
        return 0;
    TWriter writer(out, size);
    for (const char* p = format != nullptr ? format : ""; *p != '\0'; ++p) {
        if (*p != '%') {
            writer.Put(*p);
        } else if (p[1] == '%') {
            writer.Put('%');
            ++p;
        } else if (p[1] == 's') {
            const char* text = va_arg(args, const char*);
            writer.Put(text != nullptr ? text : "(null)");
            ++p;
        } else if (p[1] == 'z' && p[2] == 'u') {
            std::size_t value = va_arg(args, std::size_t);
            char digits[24];
            int n = 0;
            do {
                digits[n++] = static_cast<char>('0' + value % 10);
                value /= 10;
            } while (value != 0);
            while (n > 0)
                writer.Put(digits[--n]);
            p += 2;
        } else {
            writer.Put('%');
        }
    }
    return writer.Finish();
}

} // namespace zq
