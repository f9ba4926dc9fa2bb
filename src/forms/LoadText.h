#pragma once
// The load as the meter shows it: the percent of a tick and the tool-tip text the tray icon and
// the System Information dialog's status bar show.
#include <span>
#include <string>

namespace zq {

// The percent of one tick: fraction times 100, rounded with halves to even.
int LoadPercent(double fraction);
// The tool-tip for a percent, e.g. "CPU Usage: 37%".
std::string LoadHint(int percent);
// The same into a string the caller keeps (nothing is allocated once it has grown); given each
// processor's percent, the busiest processor's follows: "CPU Usage: 9% (busiest processor 100%)".
void LoadHint(int percent, std::span<const int> eachProcessor, std::string& text);

} // namespace zq
