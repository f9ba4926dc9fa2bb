#include "app/RunKey.h"

#include <windows.h>

namespace zq {

namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kValue[] = "Zentiq";

class TRegistryRunKey final : public TRunKeyPort {
public:
    std::string Read() override {
        HKEY run;
        char text[1024];
        DWORD type = 0, size = sizeof text - 1;
        LONG error = RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &run);
        if (error == 0) {
            error =
                RegQueryValueExA(run, kValue, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
            RegCloseKey(run);
        }
        if (error != 0 || (type != REG_SZ && type != REG_EXPAND_SZ))
            size = 0;
        text[size] = '\0';
        return text;
    }
    long Write(const char* command) override {
        HKEY run;
        LONG error = RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &run, nullptr);
        if (error == 0) {
            error = command == nullptr ? RegDeleteValueA(run, kValue)
                                       : RegSetValueExA(run, kValue, 0, REG_SZ,
                                                        reinterpret_cast<const BYTE*>(command),
                                                        static_cast<DWORD>(lstrlenA(command) + 1));
            RegCloseKey(run);
        }
        return error == ERROR_FILE_NOT_FOUND ? 0 : error;
    }
};

TRegistryRunKey Registry;

} // namespace

TRunKeyPort* RunKey = &Registry;

} // namespace zq
