#pragma once
// Whether a program runs full screen on the strip's monitor, the decision behind "Hide in &Full
// Screen". Portable; the meter's tick reads the foreground window and the monitors.
#include <span>

#include "toolkit/MonitorLayout.h"

namespace zq {

// The foreground window as the tick sees it.
struct TForegroundWindow {
    TRect Window;           // its window rectangle
    TRect Client;           // its client area, in screen pixels
    bool Shown = false;     // visible and not minimised
    bool Captioned = false; // it has a title bar
    bool Maximised = false;
    bool Exempt = false; // the desktop, the shell or the strip itself
};

// True when `window` covers the whole monitor the strip is on (MonitorOf the strip; the
// monitor's full rectangle, not its work area): shown, not exempt, with its window rectangle
// over the monitor or, with a title bar, its client area (the title bar off the screen). A
// maximised window with a title bar never counts: with the taskbar auto-hidden its frame reaches
// past the monitor's edges, yet its title bar is on the screen.
bool RunsFullScreen(const TForegroundWindow& window, const TRect& strip,
                    std::span<const TMonitorRects> monitors);

} // namespace zq
