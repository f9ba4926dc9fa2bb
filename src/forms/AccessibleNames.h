#pragma once
// What a screen reader calls the strip: the load of all processors together or of the first,
// and with "Each Processor" on, each processor.
#include "toolkit/AccessibleModel.h"

namespace zq {

// "CPU Usage" with "All Processors" on, "CPU 0 Usage" (the first processor's) with it off.
const char* StripAccessibleName(bool allProcessors);
// The strip's child for processor `index` (0 for the first) at `percent`: a progress bar named
// "CPU 1" for the first, its value as the bar's text ("53%").
void DescribeProcessor(int index, int percent, TAccessibleItem& part);

} // namespace zq
