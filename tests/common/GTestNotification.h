#pragma once
// GoogleTest's thread start-up notification for the Windows test programs. The win32 thread
// model of the cross compiler has no std::mutex, which GoogleTest's own version uses.
#ifdef __cplusplus
#include <atomic>

extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);

namespace testing::internal {

class Notification {
public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { FNotified.store(true); }
    void WaitForNotification() {
        while (!FNotified.load())
            Sleep(1);
    }

private:
    std::atomic<bool> FNotified{false};
};

} // namespace testing::internal
#endif
