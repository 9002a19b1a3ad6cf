#include "net/NetComponent.h"

#include "base/Format.h"
#include "net/NetStack.h"

namespace orbelin {

const char* StatusText(TNetStatus status)
{
    switch (status) {
    case TNetStatus::hsResolving: return "Resolving hostname %s.";
    case TNetStatus::hsConnecting: return "Connecting to %s.";
    case TNetStatus::hsConnected: return "Connected.";
    case TNetStatus::hsDisconnecting: return "Disconnecting.";
    case TNetStatus::hsDisconnected: return "Disconnected.";
    default: return "%s";
    }
}

TNetComponent::TNetComponent(TComponent* owner) : TNetBaseComponent(owner)
{
    AcquireStack();
}

TNetComponent::~TNetComponent()
{
    ReleaseStack();
}

void TNetComponent::WorkBegin(TWorkMode mode, int64_t max)
{
    TWorkState& state = FWork[Index(mode)];
    if (++state.Nesting != 1)
        return;
    state.Max = max;
    state.Total = 0;
    if (OnWorkBegin)
        OnWorkBegin(this, mode, max);
}

void TNetComponent::WorkProgress(TWorkMode mode, int64_t count)
{
    TWorkState& state = FWork[Index(mode)];
    if (state.Nesting < 1)
        return;
    state.Total += count;
    if (OnWork)
        OnWork(this, mode, state.Total);
}

void TNetComponent::WorkEnd(TWorkMode mode)
{
    TWorkState& state = FWork[Index(mode)];
    if (state.Nesting == 1 && OnWorkEnd)
        OnWorkEnd(this, mode);
    // Never below zero, so an unbalanced end cannot disable later progress.
    if (state.Nesting > 0)
        --state.Nesting;
}

void TNetComponent::ReportStatus(TNetStatus status, const std::string& argument)
{
    if (OnStatus)
        OnStatus(this, status, Format(StatusText(status), argument.c_str()));
}

} // namespace orbelin
