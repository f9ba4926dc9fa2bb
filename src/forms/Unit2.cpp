#include "forms/Unit2.h"

namespace zq {

TForm2* Form2 = nullptr;

TForm2::TForm2(TComponent* owner) : TForm(owner) {
    SetName("Form2");
    SetCaption("Options");
    SetBorderStyle(TBorderStyle::bsToolWindow);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetPosition(TPosition::poScreenCenter);
}

} // namespace zq
