#include "forms/about.h"

namespace zq {

TForm3* Form3 = nullptr;

TForm3::TForm3(TComponent* owner) : TForm(owner) {
    SetName("Form3");
    SetCaption("About Zentiq");
    SetBorderStyle(TBorderStyle::bsToolWindow);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetPosition(TPosition::poScreenCenter);
}

} // namespace zq
