#pragma once
// The skinned controls of one skinned window: the frame keeps them here, and
// the list lets them go (SkinLife) when their windows or components go or
// the skin does; a control reaches the list through the small host
// interface it knows.

#include "skin/render/core/SkinHosts.h"
#include "ui/Graphics.h"

#include <windows.h>

#include <vector>

namespace orbelin {

class TSkinControl;

class TSkinControlList final : public ISkinControlHost {
public:
    TSkinControlList() = default;
    TSkinControlList(const TSkinControlList&) = delete;
    TSkinControlList& operator=(const TSkinControlList&) = delete;

    void SetWindow(HWND window) { FWindow = window; }

    // ISkinControlHost
    bool RegisterControl(TSkinControl* control) override;
    void UnregisterControl(TSkinControl* control) override;
    TSkinControl* HotControl() const override { return FHotControl; }
    void SetHotControl(TSkinControl* control) override { FHotControl = control; }
    HWND Window() const override { return FWindow; }
    void ControlFinished(TSkinControl* control) override;

    TSkinControl* Find(HWND window) const;
    bool Contains(const TSkinControl* control) const;
    const std::vector<TSkinControl*>& Items() const { return FControls; }
    // Detaches every control and lets it go.
    void FreeAll();
    // Lets go of the controls whose windows or components are gone.
    void FreeFinished();
    // After a skin change: the colours again, a repaint.
    void RefreshAll();
    // The hot push button leaves its hot look.
    void LeaveHotControl();
    // The same when the pointer (a screen point) is outside it.
    void LeaveHotControlOutside(POINT cursor);
    // The canvas DC handed to the skinned controls for their scratch work.
    TCanvas& Canvas() { return FCanvas; }

private:
    HWND FWindow = nullptr;
    TSkinControl* FHotControl = nullptr;
    TCanvas FCanvas{nullptr};
    std::vector<TSkinControl*> FControls; // each let go by this list
};

} // namespace orbelin
