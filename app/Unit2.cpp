#include "app/Unit2.h"

namespace orbelin {

TForm2* Form2 = nullptr;

TForm2::TForm2(TComponent* owner) : TForm(owner)
{
    RegisterMethod("Button1Click", [this](TObject* sender) { Button1Click(sender); });
    ReadDescription("TFORM2");
}

void TForm2::Button1Click(TObject*) { Close(); }

} // namespace orbelin
