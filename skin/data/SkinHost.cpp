#include "skin/data/SkinHost.h"

#include "base/SystemMessage.h"

namespace orbelin {

namespace {

struct THostState {
    TSkinManagerFactory Factory;
    std::unique_ptr<ISkinManager> Manager;
    TSkinMessageProc Message;
    TSkinBrushHooks Brush;
};

THostState& Host()
{
    static THostState state;
    return state;
}

} // namespace

ISkinManager* SkinManager() { return Host().Manager.get(); }

ISkinManager* EnsureSkinManager()
{
    THostState& host = Host();
    if (!host.Manager && host.Factory)
        host.Manager = host.Factory();
    return host.Manager.get();
}

void SetSkinManagerFactory(TSkinManagerFactory factory) { Host().Factory = std::move(factory); }

void FreeSkinManager()
{
    // Moved out first: stores unregistering during the manager's destructor find none.
    std::unique_ptr<ISkinManager> manager = std::move(Host().Manager);
}

void SetSkinMessageProc(TSkinMessageProc proc) { Host().Message = std::move(proc); }

void ShowSkinMessage(const std::string& text)
{
    if (Host().Message)
        Host().Message(text);
    else
        ShowSystemMessage(text);
}

void SetSkinBrushHooks(TSkinBrushHooks hooks) { Host().Brush = std::move(hooks); }

const TSkinBrushHooks& SkinBrushHooks() { return Host().Brush; }

} // namespace orbelin
