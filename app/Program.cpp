#include "app/Program.h"

#include "app/ServiceSetting.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "http/NetHTTP.h"
#include "skin/data/SkinData.h"
#include "skin/render/SkinManager.h"
#include "ui/Application.h"
#include "ui/FormReader.h"

namespace orbelin {

void RegisterProgramClasses()
{
    RegisterComponentClass<TNetHTTP>("TNetHTTP");
    RegisterComponentClass<TSkinData>("TSkinData");
    // The skin store of the main form creates the skin manager while the
    // form's description is read.
    InstallSkinEngine();
}

void CreateProgramForms()
{
    RegisterProgramClasses();
    Application().Initialize();
    Application().SetTitle(ApplicationTitle);
    Form1 = Application().CreateForm<TForm1>();
    Form2 = Application().CreateForm<TForm2>();
}

void ApplyServiceSetting()
{
    const TServiceSetting setting = LoadServiceSetting();
    Form1->ServiceHost = setting.Host();
    if (setting.Problem().empty())
        return;
    Form1->Show();
    MessageBoxA(Form1->WindowHandle(), setting.Problem().c_str(), ApplicationTitle, MB_OK | MB_ICONWARNING);
}

} // namespace orbelin
