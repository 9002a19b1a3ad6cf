#include "app/AntiFreeze.h"

#include "base/Exceptions.h"
#include "ui/Application.h"

namespace orbelin {

TNetAntiFreeze::TNetAntiFreeze(TComponent* owner) : TNetAntiFreezeBase(owner)
{
    SetMainThreadToCurrent();
    // Also while bytes keep arriving: a slow answer never leaves the socket
    // idle for long.
    OnlyWhenIdle = false;
}

void TNetAntiFreeze::PumpMessages()
{
    Application().ProcessMessages();
    if (Application().Terminated())
        throw EAbort("");
}

TNetAntiFreezeBase::TWake TNetAntiFreeze::WaitForSignal(TNetSignal& signal, int ms)
{
    // A message already in the queue (one the system has marked as seen)
    // would not wake the wait below; the quit message stays for the loop.
    MSG waiting;
    if (PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE) && waiting.message != WM_QUIT)
        return TWake::Messages;
    HANDLE handle = signal.Handle();
    switch (MsgWaitForMultipleObjects(1, &handle, FALSE, ms < 0 ? INFINITE : static_cast<DWORD>(ms), QS_ALLINPUT)) {
    case WAIT_OBJECT_0: return TWake::Signal;
    case WAIT_OBJECT_0 + 1: return TWake::Messages;
    default: return TWake::TimeOut;
    }
}

} // namespace orbelin
