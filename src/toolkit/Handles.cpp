#include "toolkit/Handles.h"

namespace zq {

namespace {
long gLive[3] = {0, 0, 0};
}

long LiveHandleCount(HandleKind kind) {
    return gLive[static_cast<int>(kind)];
}

void CountHandle(HandleKind kind, int delta) {
    gLive[static_cast<int>(kind)] += delta;
}

} // namespace zq
