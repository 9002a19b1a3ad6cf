#include "net/NetAntiFreeze.h"

#include "base/AnsiText.h"
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

bool TNetAntiFreezeBase::SetProperty(std::string_view name, const TPropertyValue& value)
{
    if (SameText(name, "Active"))
        Active = value.AsBoolean();
    else if (SameText(name, "ApplicationHasPriority"))
        ApplicationHasPriority = value.AsBoolean();
    else if (SameText(name, "IdleTimeOut"))
        IdleTimeOut = static_cast<int>(value.AsInteger());
    else if (SameText(name, "OnlyWhenIdle"))
        OnlyWhenIdle = value.AsBoolean();
    else
        return TNetBaseComponent::SetProperty(name, value);
    return true;
}

} // namespace orbelin
