#include "skin/render/frame/SkinMdiClient.h"

#include "skin/render/core/SkinHosts.h"
#include "skin/render/core/SkinMessages.h"
#include "skin/render/frame/SkinFrameState.h"
#include "skin/render/frame/SkinMenuBar.h"

namespace orbelin {

void TSkinMdiClient::Hook(HWND client)
{
    if (!FSubclass.Install(client, FLife, [this](UINT msg, WPARAM wParam, LPARAM lParam) { return Procedure(msg, wParam, lParam); }))
        return;
    for (HWND child = GetWindow(client, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongPtrA(child, GWL_EXSTYLE) & WS_EX_MDICHILD)
            FFrame.Engine.SkinMdiChild(child);
}

bool TSkinMdiClient::ActiveChildMaximized(HWND client)
{
    BOOL maximized = FALSE;
    if (!client || !SendMessageA(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)))
        return false;
    return maximized != FALSE;
}

LRESULT TSkinMdiClient::Procedure(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = FSubclass.CallPrevious(msg, wParam, lParam);
    switch (msg) {
    case WM_MDICREATE:
        // A child activated inside the client passes no activation hook.
        if (result)
            FFrame.Engine.SkinMdiChild(reinterpret_cast<HWND>(result));
        ChildrenChanged();
        break;
    case WM_MDIDESTROY:
    case WM_MDITILE:
    case WM_MDICASCADE:
    case WM_MDIMAXIMIZE:
    case WM_MDIRESTORE:
        ChildrenChanged();
        break;
    case WM_MDISETMENU:
    case WM_MDIREFRESHMENU:
        RebuildMenuBar();
        break;
    default: break;
    }
    return result;
}

void TSkinMdiClient::ChildrenChanged()
{
    FFrame.Engine.SetMdiMaximized(FSubclass.Window(), ActiveChildMaximized(FSubclass.Window()));
    FFrame.Engine.PostToFrame(FFrame.Window, SKM_NCREPAINT);
}

void TSkinMdiClient::RebuildMenuBar()
{
    // The client put its menu on the frame window; the skinned bar takes it off again.
    TSkinMenuBar* bar = FFrame.MenuBar;
    if (!bar)
        return;
    HMENU menu = GetMenu(FFrame.Window);
    bar->BuildFromMenu(menu ? menu : bar->MenuHandle());
    FFrame.Engine.PostToFrame(FFrame.Window, SKM_NCREPAINT);
}

} // namespace orbelin
