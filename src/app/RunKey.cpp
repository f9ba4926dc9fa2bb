#include "app/RunKey.h"

#include <windows.h>

#include <vector>

#include "toolkit/WideText.h"

namespace zq {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValue[] = L"Zentiq";

class TRegistryRunKey final : public TRunKeyPort {
public:
    std::string Read() override {
        HKEY run;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &run) != 0)
            return {};
        std::vector<wchar_t> text;
        DWORD type = 0, size = 0;
        LONG error = RegQueryValueExW(run, kValue, nullptr, &type, nullptr, &size);
        // The value may grow between the two calls: asked again with the new size.
        while (error == 0 || error == ERROR_MORE_DATA) {
            text.assign(size / sizeof(wchar_t) + 1, L'\0');
            size = static_cast<DWORD>((text.size() - 1) * sizeof(wchar_t));
            error = RegQueryValueExW(run, kValue, nullptr, &type,
                                     reinterpret_cast<BYTE*>(text.data()), &size);
            if (error == 0)
                break;
        }
        RegCloseKey(run);
        if (error != 0 || (type != REG_SZ && type != REG_EXPAND_SZ))
            return {};
        // The stored text need not end in a terminator; it ends at the first one it holds.
        std::size_t length = size / sizeof(wchar_t);
        for (std::size_t i = 0; i < length; ++i)
            if (text[i] == L'\0')
                length = i;
        return Utf8(text.data(), length);
    }
    long Write(const char* command) override {
        HKEY run;
        LONG error = RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &run, nullptr);
        if (error == 0) {
            if (command == nullptr) {
                error = RegDeleteValueW(run, kValue);
            } else {
                const std::u16string text = Utf16(command);
                error = RegSetValueExW(run, kValue, 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
            }
            RegCloseKey(run);
        }
        return error == ERROR_FILE_NOT_FOUND ? 0 : error;
    }
};

TRegistryRunKey Registry;

} // namespace

TRunKeyPort* RunKey = &Registry;

} // namespace zq
