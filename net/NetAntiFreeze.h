#pragma once
// The optional idle hook that blocking waits consult so a user interface can
// keep pumping messages. At most one exists; the translation client has none.

#include "net/NetComponent.h"

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

    // True when a hook exists, it is active and the caller is the main thread.
    static bool ShouldUseHook();
    static void RunHook(bool idle, bool override);

    const TPropertyTable<TComponent>& Properties() const override;
};

// The single hook instance, or null.
TNetAntiFreezeBase* GlobalAntiFreeze();
// The thread that counts as the user-interface thread (the one that loaded
// the program, unless changed).
void SetMainThreadToCurrent();

} // namespace orbelin
