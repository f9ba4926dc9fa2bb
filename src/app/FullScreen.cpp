#include "app/FullScreen.h"

namespace zq {

bool RunsFullScreen(const TForegroundWindow& window, const TRect& strip,
                    std::span<const TMonitorRects> monitors) {
    const TMonitorRects* home = MonitorOf(strip, monitors);
    if (home == nullptr || !window.Shown || window.Exempt || (window.Captioned && window.Maximised))
        return false;
    const TRect& cover = window.Captioned ? window.Client : window.Window;
    const TRect& m = home->Bounds;
    return cover.Left <= m.Left && cover.Top <= m.Top && cover.Right >= m.Right &&
           cover.Bottom >= m.Bottom;
}

} // namespace zq
