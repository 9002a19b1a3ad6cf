#include "net/NetAntiFreeze.h"

#include "base/PropertyTable.h"
#include "net/NetException.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
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

TNetAntiFreezeBase::TWake TNetAntiFreezeBase::WaitForSignal(TNetSignal& signal, int ms)
{
    return signal.Wait(ms) ? TWake::Signal : TWake::TimeOut;
}

bool TNetAntiFreezeBase::WaitUntil(TNetSignal& signal, int ms, const std::function<bool()>& ready)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(ms, 0));
    while (!ready()) {
        int left = INT_MAX;
        if (ms != kTimeoutInfinite) {
            left = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count());
            if (left <= 0)
                return false;
        }
        TNetAntiFreezeBase* hook = gAntiFreeze.load();
        const int slice = hook ? std::min(left, std::max(hook->IdleTimeOut, 1)) : left;
        const TWake wake = hook ? hook->WaitForSignal(signal, slice)
                                : signal.Wait(slice) ? TWake::Signal : TWake::TimeOut;
        if (wake == TWake::Signal)
            signal.Reset(); // ready() decides; the platform sets it again for what comes next
        else
            RunHook(true, false);
    }
    return true;
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
