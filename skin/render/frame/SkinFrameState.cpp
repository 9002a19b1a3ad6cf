#include "skin/render/frame/SkinFrameState.h"

#include "skin/data/SkinData.h"
#include "skin/render/core/SkinHosts.h"

namespace orbelin {

bool TSkinFrameState::InMaximizedClient() const { return IsMdiChild() && Engine.MdiChildMaximized(GetParent(Window)); }

bool TSkinFrameState::FrameSkinned() const { return Skin && Skin->SkinControls.Contains(TSkinControlType::xcMainMenu); }

POINT TSkinFrameState::FramePoint(POINT screen) const
{
    // From the window rectangle, not the client's: a mirrored window's
    // client coordinates run from the right.
    RECT window{};
    GetWindowRect(Window, &window);
    return {screen.x - window.left, screen.y - window.top};
}

void TSkinFrameState::ReadWindowState()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(Window, &placement))
        return;
    switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: WindowState = wsMinimized; break;
    case SW_SHOWMAXIMIZED: WindowState = wsMaximized; break;
    default: WindowState = wsNormal; break;
    }
}

void TSkinFrameState::SetCaptionStyles(bool restore)
{
    if (!restore && InMaximizedClient())
        return;
    LONG_PTR style = GetWindowLongPtrA(Window, GWL_STYLE);
    const LONG_PTR before = style;
    if (restore) {
        if (Availability & avSystemMenu)
            style |= WS_SYSMENU;
        if (Availability & avMinimize)
            style |= WS_MINIMIZEBOX;
        if (Availability & avMaximize)
            style |= WS_MAXIMIZEBOX;
        if (Availability & avCaption)
            style |= WS_CAPTION;
    } else if (OwnerWindow) {
        style &= ~static_cast<LONG_PTR>(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    } else {
        Availability |= avCaption;
        style &= ~static_cast<LONG_PTR>(WS_CAPTION);
    }
    if (style != before)
        SetWindowLongPtrA(Window, GWL_STYLE, style);
    Style = style;
}

} // namespace orbelin
