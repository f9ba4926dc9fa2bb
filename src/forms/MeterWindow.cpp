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

void TMeterWindow::ShowUnlessStoodIn(const TCustomForm* closing) {
    for (TCustomForm* form : Screen().Forms())
        if (form != closing && form->Visible() && dynamic_cast<TStripDialog*>(form) != nullptr)
            return;
    Show();
}

TMeterWindow* MeterWindow() {
    return gMeterWindow;
}

void TStripDialog::DoShow() {
    if (TMeterWindow* strip = MeterWindow())
        strip->Hide();
    TForm::DoShow();
}

void TStripDialog::DoClose(TCloseAction& action) {
    if (TMeterWindow* strip = MeterWindow())
        strip->ShowUnlessStoodIn(this);
    TForm::DoClose(action);
}

} // namespace zq
