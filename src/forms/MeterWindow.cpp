#include "forms/MeterWindow.h"

namespace zq {

TMeterFlags MeterFlags;

namespace {
TMeterWindow* gMeterWindow = nullptr;
}

TMeterWindow::TMeterWindow(TComponent* owner) : TForm(owner) {
    gMeterWindow = this;
}

TMeterWindow::~TMeterWindow() {
    if (gMeterWindow == this)
        gMeterWindow = nullptr;
}

TMeterWindow* MeterWindow() {
    return gMeterWindow;
}

} // namespace zq
