#pragma once
// Counts the C++ allocations of the Windows test program while counting is on.
namespace zqtest {
void StartCountingAllocations();
// Stops counting and returns how many allocations were made since the start.
long StopCountingAllocations();
} // namespace zqtest
