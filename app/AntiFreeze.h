#pragma once
// The program's idle hook: while the translate command's exchange blocks the
// user-interface thread, every wait of the transport lets the windows take
// their messages (paint, move, close) as they arrive. When the program is
// told to end meanwhile, the exchange is given up at its next wait.

#include "net/NetAntiFreeze.h"

namespace orbelin {

class TNetAntiFreeze : public TNetAntiFreezeBase {
public:
    std::string_view ClassName() const override { return "TNetAntiFreeze"; }
    // Makes the calling thread the one whose waits pump messages.
    explicit TNetAntiFreeze(TComponent* owner);

    // Dispatches the waiting messages; raises the silent EAbort once the
    // application has been terminated, which ends the exchange.
    void PumpMessages() override;
    // Sleeps on the signal and the thread's message queue together.
    TWake WaitForSignal(TNetSignal& signal, int ms) override;
};

} // namespace orbelin
