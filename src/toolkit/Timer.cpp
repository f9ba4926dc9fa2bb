#include "toolkit/Timer.h"

namespace zq {

TTimer::TTimer(TComponent* owner)
    : TComponent(owner),
      FWindow([this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
          if (msg == WM_TIMER) {
              if (FEnabled && OnTimer)
                  OnTimer(this);
              return 0;
          }
          return DefWindowProcA(wnd, msg, wParam, lParam);
      }) {
    Update();
}

TTimer::~TTimer() {
    KillTimer(FWindow.Handle(), 1);
}

void TTimer::SetInterval(unsigned value) {
    if (value != FInterval) {
        FInterval = value;
        Update();
    }
}

void TTimer::SetEnabled(bool value) {
    if (value != FEnabled) {
        FEnabled = value;
        Update();
    }
}

void TTimer::Update() {
    KillTimer(FWindow.Handle(), 1);
    if (FEnabled && FInterval != 0)
        SetTimer(FWindow.Handle(), 1, FInterval, nullptr);
}

} // namespace zq
