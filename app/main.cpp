// orbelin.exe: the translation client.

#include "app/Program.h"
#include "skin/data/SkinHost.h"
#include "ui/Application.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    using namespace orbelin;
    try {
        CreateProgramForms();
        ApplyServiceSetting();
        Application().Run();
    } catch (...) {
        Application().HandleException();
    }
    // Forms and their components go before the process ends, then the skin manager.
    Application().DestroyComponents();
    FreeSkinManager();
    return 0;
}
