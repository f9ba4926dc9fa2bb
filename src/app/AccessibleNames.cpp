#include "app/AccessibleNames.h"

namespace zq {

std::string StripAccessibleName(bool allProcessors) {
    return allProcessors ? "CPU Usage" : "CPU 0 Usage";
}

} // namespace zq
