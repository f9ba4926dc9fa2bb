#include "app/AccessibleNames.h"

namespace zq {

const char* StripAccessibleName(bool allProcessors) {
    return allProcessors ? "CPU Usage" : "CPU 0 Usage";
}

} // namespace zq
