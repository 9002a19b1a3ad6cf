#include "skin/render/controls/SkinControlList.h"

#include "skin/render/controls/SkinCtrls.h"
#include "ui/Messages.h"

#include <algorithm>

namespace orbelin {

bool TSkinControlList::RegisterControl(TSkinControl* control)
{
    if (Contains(control))
        return true;
    FControls.push_back(control);
    return false;
}

void TSkinControlList::UnregisterControl(TSkinControl* control)
{
    const auto found = std::find(FControls.rbegin(), FControls.rend(), control);
    if (found != FControls.rend())
        FControls.erase(std::next(found).base());
    if (FHotControl == control)
        FHotControl = nullptr;
}

namespace {

// A control whose window is destroyed: its handle may name another window by now.
bool Finished(const TSkinControl& control) { return control.LifeState() == TSkinControl::lsDestroyed; }

} // namespace

TSkinControl* TSkinControlList::Find(HWND window) const
{
    for (TSkinControl* control : FControls)
        if (!Finished(*control) && control->Window() == window)
            return control;
    return nullptr;
}

bool TSkinControlList::Contains(const TSkinControl* control) const
{
    return std::find(FControls.begin(), FControls.end(), control) != FControls.end();
}

void TSkinControlList::FreeAll()
{
    FHotControl = nullptr;
    while (!FControls.empty()) {
        TSkinControl* control = FControls.front();
        control->Detach();
        UnregisterControl(control);
        // One whose loop still runs is freed by its owner later, never under the loop.
        if (control->InModalLoop())
            control->ForgetHost();
        else
            delete control;
    }
}

void TSkinControlList::FreeFinished()
{
    if (!FFinishedPending)
        return;
    FFinishedPending = false;
    std::vector<TSkinControl*> finished;
    // Not while its window's last message still runs: that is its own code.
    for (TSkinControl* control : FControls) {
        if (!Finished(*control))
            continue;
        if (!IsWindow(control->Window()) && !control->InModalLoop())
            finished.push_back(control);
        else
            FFinishedPending = true; // a later message frees it
    }
    for (TSkinControl* control : finished) {
        UnregisterControl(control);
        delete control;
    }
}

void TSkinControlList::RefreshAll()
{
    for (TSkinControl* control : FControls)
        control->Refresh();
}

void TSkinControlList::LeaveHotControl()
{
    if (!FHotControl)
        return;
    if (!Finished(*FHotControl))
        SendMessageA(FHotControl->Window(), CM_MOUSELEAVE, 0, 0);
    FHotControl = nullptr;
}

void TSkinControlList::LeaveHotControlOutside(POINT cursor)
{
    if (!FHotControl || !FHotControl->Window())
        return;
    if (Finished(*FHotControl)) {
        FHotControl = nullptr;
        return;
    }
    RECT r{};
    GetWindowRect(FHotControl->Window(), &r);
    if (!PtInRect(&r, cursor))
        LeaveHotControl();
}

} // namespace orbelin
