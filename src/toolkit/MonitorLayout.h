#pragma once
// The monitors as rectangles: which monitor a window is on, and where a window goes that the
// displays left off every work area. Portable; TScreen::Monitors reads the system's layout.
#include <array>
#include <cstddef>
#include <span>

#include "toolkit/Types.h"

namespace zq {

struct TMonitorRects {
    TRect Bounds;   // the whole monitor, in virtual-screen pixels
    TRect WorkArea; // the monitor less the taskbar and docked bars
};

// The monitors as read from the system, up to 16 (further ones are left out), held without
// allocating.
struct TMonitorLayout {
    std::array<TMonitorRects, 16> Items;
    std::size_t Count = 0;
    operator std::span<const TMonitorRects>() const { return {Items.data(), Count}; }
};

// The monitor that holds most of `rect`; where none holds any of it, the nearest (the smallest
// gap, across plus down); the first listed of equals; nullptr for no monitor.
const TMonitorRects* MonitorOf(const TRect& rect, std::span<const TMonitorRects> monitors);

// Where a window goes when the displays change: where it is while some part of it lies on a work
// area; else, at its size, onto the work area of MonitorOf(rect), whole where it fits (left and
// top edges on the area's where it does not).
TRect OntoWorkArea(const TRect& rect, std::span<const TMonitorRects> monitors);

} // namespace zq
