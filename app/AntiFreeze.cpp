#include "app/AntiFreeze.h"

#include "base/Exceptions.h"
#include "ui/Application.h"

namespace orbelin {

TNetAntiFreeze::TNetAntiFreeze(TComponent* owner) : TNetAntiFreezeBase(owner)
{
    SetMainThreadToCurrent();
    // A window that answers within a tenth of a second, also while bytes
    // keep arriving (a slow answer never leaves the socket idle for long).
    IdleTimeOut = 100;
    OnlyWhenIdle = false;
}

void TNetAntiFreeze::PumpMessages()
{
    Application().ProcessMessages();
    if (Application().Terminated())
        throw EAbort("");
}

} // namespace orbelin
