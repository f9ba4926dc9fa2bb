#include "forms/AccessibleNames.h"

#include <string>

namespace zq {

const char* StripAccessibleName(bool allProcessors) {
    return allProcessors ? "CPU Usage" : "CPU 0 Usage";
}

void DescribeProcessor(int index, int percent, TAccessibleItem& part) {
    part.Role = TAccessibleRole::ProgressBar;
    part.Name = "CPU " + std::to_string(index + 1);
    part.Value = std::to_string(percent) + '%';
}

} // namespace zq
