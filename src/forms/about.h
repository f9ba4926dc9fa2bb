#pragma once
// The "About Zentiq" window.
#include "toolkit/Forms.h"

namespace zq {

class TForm3 : public TForm {
public:
    explicit TForm3(TComponent* owner);
};

extern TForm3* Form3;

} // namespace zq
