#include "net/NetAntiFreeze.h"

#include "base/PropertyTable.h"
#include "net/NetException.h"

#include <atomic>
#include <thread>

namespace orbelin {

namespace {

std::atomic<TNetAntiFreezeBase*> gAntiFreeze{nullptr};

std::thread::id& MainThread()
{
    // The thread that first touches the transport counts as the main thread
    // unless SetMainThreadToCurrent says otherwise.
    static std::thread::id id = std::this_thread::get_id();
    return id;
}

} // namespace

TNetAntiFreezeBase* GlobalAntiFreeze() { return gAntiFreeze.load(); }

void SetMainThreadToCurrent() { MainThread() = std::this_thread::get_id(); }

TNetAntiFreezeBase::TNetAntiFreezeBase(TComponent* owner) : TNetBaseComponent(owner)
{
    TNetAntiFreezeBase* expected = nullptr;
    if (!gAntiFreeze.compare_exchange_strong(expected, this))
        throw ENetException(SNetOnlyOneAntiFreeze);
}

TNetAntiFreezeBase::~TNetAntiFreezeBase()
{
    TNetAntiFreezeBase* self = this;
    gAntiFreeze.compare_exchange_strong(self, nullptr);
}

bool TNetAntiFreezeBase::ShouldUseHook()
{
    const TNetAntiFreezeBase* hook = gAntiFreeze.load();
    return hook && std::this_thread::get_id() == MainThread() && hook->Active;
}

void TNetAntiFreezeBase::RunHook(bool idle, bool override)
{
    if (!ShouldUseHook())
        return;
    TNetAntiFreezeBase* hook = gAntiFreeze.load();
    if ((idle || !hook->OnlyWhenIdle || override) && hook->Active)
        hook->PumpMessages();
}

const TPropertyTable<TComponent>& TNetAntiFreezeBase::Properties() const
{
    static const TPropertyTable<TComponent> table(TNetBaseComponent::Properties(), {
        Field("Active", &TNetAntiFreezeBase::Active),
        Field("ApplicationHasPriority", &TNetAntiFreezeBase::ApplicationHasPriority),
        Field("IdleTimeOut", &TNetAntiFreezeBase::IdleTimeOut),
        Field("OnlyWhenIdle", &TNetAntiFreezeBase::OnlyWhenIdle),
    });
    return table;
}

} // namespace orbelin
