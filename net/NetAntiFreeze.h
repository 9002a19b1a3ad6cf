#pragma once
// The optional idle hook that blocking waits consult so a user interface can
// keep pumping messages. At most one exists; the translation client has none.

#include "net/NetComponent.h"
#include "net/NetStack.h"

#include <functional>

namespace orbelin {

class TNetAntiFreezeBase : public TNetBaseComponent {
public:
    explicit TNetAntiFreezeBase(TComponent* owner);
    ~TNetAntiFreezeBase() override;

    bool Active = true;
    bool ApplicationHasPriority = true;
    int IdleTimeOut = 250;
    bool OnlyWhenIdle = true;

    virtual void PumpMessages() = 0;

    enum class TWake { Signal, Messages, TimeOut };
    // Sleeps up to ms until signal is set or, for a hook whose thread has a
    // message queue, until a message arrives there. The base knows no
    // messages: it waits for the signal alone.
    virtual TWake WaitForSignal(TNetSignal& signal, int ms);

    // True when a hook exists, it is active and the caller is the main thread.
    static bool ShouldUseHook();
    static void RunHook(bool idle, bool override);
    // A wait of the transport on the main thread: until ready() holds or ms
    // pass (kTimeoutInfinite: no limit), sleeping until signal says that it
    // may hold. The hook runs as messages arrive, and at least every
    // IdleTimeOut ms. True when ready() held.
    static bool WaitUntil(TNetSignal& signal, int ms, const std::function<bool()>& ready);

    const TPropertyTable<TComponent>& Properties() const override;
};

// The single hook instance, or null.
TNetAntiFreezeBase* GlobalAntiFreeze();
// The thread that counts as the user-interface thread (the one that loaded
// the program, unless changed).
void SetMainThreadToCurrent();

} // namespace orbelin
