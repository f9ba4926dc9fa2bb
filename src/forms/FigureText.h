#pragma once
// The System Information dialog's live figures as it shows them: the memory and swap gauges'
// percentages, the kilobyte and swap-usage texts of its labels and status bar, the up-time in
// whole seconds. The texts are written into strings the caller keeps, so that once they have
// grown to their largest size nothing is allocated.
#include <cstdint>
#include <string>

namespace zq {

// The used share of a memory or swap size in whole percent: 100 - available * 100 div total,
// the division truncating, in 64-bit arithmetic; 0 when the total is 0 (no paging file).
int UsedPercent(std::int32_t available, std::int32_t total);

// "523000 KB"
void FormatKilobytes(std::int32_t kilobytes, std::string& text);

// "Mem Usage: 104512K / 1247052K": the used and the total paging-file kilobytes.
void FormatSwapUsage(std::int32_t total, std::int32_t available, std::string& text);

// The system up-time in whole seconds, halves to even.
std::int64_t UpTimeSeconds(double seconds);

} // namespace zq
