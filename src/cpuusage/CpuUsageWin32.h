#pragma once
// The sampler's ports onto the running Windows system.
#include "cpuusage/CpuUsage.h"

#include <memory>

namespace zq {

// Version query, the performance-data and dynamic-data registry keys, and the per-processor
// times of ntdll's NtQuerySystemInformation (looked up at run time).
std::unique_ptr<TCpuUsagePort> CreateSystemCpuUsagePort();

// Unit start-up on the running system.
void InitCpuUsage();

} // namespace zq
