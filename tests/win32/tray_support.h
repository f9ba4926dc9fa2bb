#pragma once
// Shared helpers of the tray icon tests: a recording stand-in for the shell and an application.
#include <windows.h>

#include <memory>
#include <vector>

#include "toolkit/Application.h"
#include "tray/TrayShell.h"

namespace zq::test {

struct TShellCall {
    std::uint32_t Message;
    TNotifyIconDataA Data;
};

// Records every shell call instead of making it; installed for its lifetime.
class TRecordingShell : public TTrayShell {
public:
    TRecordingShell() : FPrevious(SetTrayShell(this)) {}
    ~TRecordingShell() override { SetTrayShell(FPrevious); }
    bool NotifyIcon(std::uint32_t message, const TNotifyIconDataA& data) override {
        Calls.push_back({message, data});
        return Answer;
    }
    int Count(std::uint32_t message) const {
        int n = 0;
        for (const auto& c : Calls)
            n += c.Message == message ? 1 : 0;
        return n;
    }
    std::vector<TShellCall> Calls;
    bool Answer = true;

private:
    TTrayShell* FPrevious;
};

// The application object with its window, made for the test when none exists yet.
class TAppScope {
public:
    TAppScope() {
        if (Application == nullptr) {
            FOwn = std::make_unique<TApplication>();
            FOwn->Initialize();
        }
    }

private:
    std::unique_ptr<TApplication> FOwn;
};

inline void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace zq::test
