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
        control->Release();
    }
}

void TSkinControlList::ControlFinished(TSkinControl* control)
{
    UnregisterControl(control);
    control->Release();
}

void TSkinControlList::FreeFinished()
{
    std::vector<TSkinControl*> finished;
    for (TSkinControl* control : FControls)
        if (Finished(*control))
            finished.push_back(control);
    for (TSkinControl* control : finished) {
        UnregisterControl(control);
        control->Release();
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
