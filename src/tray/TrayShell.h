#pragma once
// The one way the tray icons reach the shell: a replaceable port, so tests can record the calls.
#include <cstdint>

#include "tray/TrayIconLogic.h"

namespace zq {

class TTrayShell {
public:
    virtual ~TTrayShell() = default;
    // Shell_NotifyIconA with tray::NimAdd, NimModify or NimDelete; answers the shell's result.
    virtual bool NotifyIcon(std::uint32_t message, const TNotifyIconDataA& data) = 0;
};

// The port in use: the system shell unless a stand-in was installed.
TTrayShell& TrayShell();
// Installs a stand-in (nullptr puts the system shell back) and answers the previous one.
TTrayShell* SetTrayShell(TTrayShell* shell);

} // namespace zq
