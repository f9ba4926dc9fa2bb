#include "forms/MeterWindow.h"

#include <vector>

namespace zq {

TMeterFlags MeterFlags;

namespace {
TMeterWindow* gMeterWindow = nullptr;
// The dialogs that stand in for the strip while they exist (two).
std::vector<TStripDialog*> gStripDialogs;
} // namespace

TMeterWindow::TMeterWindow(TComponent* owner) : TForm(owner) {
    gMeterWindow = this;
}

TMeterWindow::~TMeterWindow() {
    if (gMeterWindow == this)
        gMeterWindow = nullptr;
}

void TMeterWindow::ShowUnlessStoodIn(const TCustomForm* closing) {
    for (TStripDialog* dialog : gStripDialogs)
        if (dialog != closing && dialog->Visible())
            return;
    Show();
}

TMeterWindow* MeterWindow() {
    return gMeterWindow;
}

TStripDialog::TStripDialog(TComponent* owner) : TForm(owner) {
    gStripDialogs.push_back(this);
}

TStripDialog::~TStripDialog() {
    std::erase(gStripDialogs, this);
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
