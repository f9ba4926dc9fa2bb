#include "toolkit/Exceptions.h"

#include <windows.h>

namespace zq {

namespace {
TExceptionHandler& Handler() {
    static TExceptionHandler handler;
    return handler;
}
} // namespace

std::string CurrentExceptionMessage() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown exception";
    }
}

void HandleCurrentException(TObject* sender) {
    if (Handler()) {
        Handler()(sender);
        return;
    }
    MessageBoxA(nullptr, CurrentExceptionMessage().c_str(), "Error", MB_OK | MB_ICONSTOP);
}

void SetExceptionHandler(TExceptionHandler handler) {
    Handler() = std::move(handler);
}

} // namespace zq
