#pragma once
// The "Options" window.
#include "toolkit/Forms.h"

namespace zq {

class TForm2 : public TForm {
public:
    explicit TForm2(TComponent* owner);
};

extern TForm2* Form2;

} // namespace zq
