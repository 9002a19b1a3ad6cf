#include "app/Program.h"

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "ui/Application.h"

namespace orbelin {

void CreateProgramForms()
{
    Application().Initialize();
    Application().SetTitle(ApplicationTitle);
    Form1 = Application().CreateForm<TForm1>();
    Form2 = Application().CreateForm<TForm2>();
}

} // namespace orbelin
