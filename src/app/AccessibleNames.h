#pragma once
// What a screen reader calls the strip: the load of all processors together or of the first.
namespace zq {

// "CPU Usage" with "All Processors" on, "CPU 0 Usage" (the first processor's) with it off.
const char* StripAccessibleName(bool allProcessors);

} // namespace zq
