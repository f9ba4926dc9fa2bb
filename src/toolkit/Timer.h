#pragma once
// The window timer: fires OnTimer every Interval milliseconds while Enabled (0 never fires).
#include "toolkit/Component.h"
#include "toolkit/UtilWindow.h"

namespace zq {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);

    TNotifyEvent OnTimer;

private:
    void Update();
    unsigned FInterval = 1000;
    bool FEnabled = true;
    TUtilWindow FWindow;
};

} // namespace zq
