#include "forms/Unit4.h"

namespace zq {

TMemoryForm* MemoryForm = nullptr;

TMemoryForm::TMemoryForm(TComponent* owner) : TForm(owner) {
    SetName("MemoryForm");
    SetCaption("System Information");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetPosition(TPosition::poScreenCenter);
}

} // namespace zq
