#pragma once
// The "System Information" window.
#include "toolkit/Forms.h"

namespace zq {

class TMemoryForm : public TForm {
public:
    explicit TMemoryForm(TComponent* owner);
};

extern TMemoryForm* MemoryForm;

} // namespace zq
