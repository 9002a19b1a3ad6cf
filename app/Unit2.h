#pragma once
// The About window: product name, version, contact lines over a picture.

#include "ui/Forms.h"

namespace orbelin {

class TForm2 : public TForm {
public:
    std::string_view ClassName() const override { return "TForm2"; }
    explicit TForm2(TComponent* owner);
    void Button1Click(TObject* Sender);
};

extern TForm2* Form2;

} // namespace orbelin
