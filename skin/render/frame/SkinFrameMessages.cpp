#include "skin/render/frame/SkinFrameMessages.h"

#include "skin/data/SkinData.h"
#include "skin/render/controls/SkinControlList.h"
#include "skin/render/core/SkinDispatch.h"
#include "skin/render/core/SkinHosts.h"
#include "skin/render/core/SkinMessages.h"
#include "skin/render/draw/SkinDraw.h"
#include "skin/render/frame/SkinDropDownItems.h"
#include "skin/render/frame/SkinFrameInput.h"
#include "skin/render/frame/SkinFramePainter.h"
#include "skin/render/frame/SkinFrameState.h"
#include "skin/render/frame/SkinMenuBar.h"
#include "ui/Messages.h"

#include <windowsx.h>

#include <utility>

namespace orbelin {

TSkinFrameMessages::TSkinFrameMessages(TSkinFrameState& state, TSkinFramePainter& painter, TSkinFrameInput& input,
                                       TSkinControlList& controls, TWindowSubclass& subclass, TFrameLifeActions actions)
    : FState(state), FPainter(painter), FInput(input), FControls(controls), FSubclass(subclass), FActions(std::move(actions))
{
}

LRESULT TSkinFrameMessages::Pass(UINT msg, WPARAM wParam, LPARAM lParam) { return FSubclass.CallPrevious(msg, wParam, lParam); }

LRESULT TSkinFrameMessages::WindowProcedure(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    try {
        if (StageOne(msg, wParam, lParam, result))
            return result;
        if (!FState.FrameSkinned())
            return Pass(msg, wParam, lParam);
        if (StageTwo(msg, wParam, lParam, result))
            return result;
        if (StageThree(msg, wParam, lParam, result))
            return result;
        return Pass(msg, wParam, lParam);
    } catch (...) {
        // The frame's own work failed (the window's handlers catch their
        // own failures further down); no exception may cross the caller.
        return result;
    }
}

// What every skinned window needs, its frame drawn or not.
bool TSkinFrameMessages::StageOne(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_SIZE:
        result = Pass(msg, wParam, lParam);
        FState.WindowState = wParam == SIZE_MINIMIZED ? TSkinFrameState::wsMinimized : wParam == SIZE_MAXIMIZED ? TSkinFrameState::wsMaximized : TSkinFrameState::wsNormal;
        if (FState.WindowState == TSkinFrameState::wsMinimized)
            return true;
        if (FState.FrameState == TSkinFrameState::fsAttached) {
            GetClientRect(FState.Window, &FState.InitialClient);
            return true;
        }
        if (FState.IsMdiChild()) {
            // The frame's bar shows a maximized child's buttons, or no more.
            if (HWND client = GetParent(FState.Window))
                FState.Engine.PostToFrame(GetParent(client), SKM_NCREPAINT);
            // Maximized or minimized, the system draws it, uncut.
            if (FState.WindowState != TSkinFrameState::wsNormal && FPainter.HasRegion())
                FPainter.DropRegion();
            if (FState.WindowState != TSkinFrameState::wsNormal || FState.InMaximizedClient())
                return true;
        }
        if (FState.FrameState == TSkinFrameState::fsRunning || FState.FrameState == TSkinFrameState::fsReskinning)
            FPainter.UpdateRegion();
        return true;
    case WM_ERASEBKGND:
        result = Pass(msg, wParam, lParam);
        if (!FState.Form) {
            RECT r{};
            GetClientRect(FState.Window, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, reinterpret_cast<HBRUSH>(FState.Skin->FaceBrush.Handle()));
        }
        result = 1;
        return true;
    case WM_STYLECHANGED:
        if (wParam == static_cast<WPARAM>(GWL_STYLE))
            FState.Style = reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew;
        result = Pass(msg, wParam, lParam);
        return true;
    case WM_NCDESTROY:
        // The window's own clean-up runs first: detaching removes the
        // subclass, after which there is no procedure left to pass to.
        FState.FrameState = TSkinFrameState::fsDestroying;
        result = Pass(msg, wParam, lParam);
        FActions.DetachOnDestroy();
        FState.FrameState = TSkinFrameState::fsFinished;
        FActions.Finished();
        return true;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        result = Pass(msg, wParam, lParam);
        if (!FState.Form)
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        if (msg == WM_CTLCOLORSTATIC)
            result = static_cast<LRESULT>(FState.Skin->FaceBrush.Handle());
        return true;
    case SKM_SKINNED:
        result = 1;
        return true;
    default:
        return false;
    }
}

// The window's state and commands, for a window whose frame is drawn.
bool TSkinFrameMessages::StageTwo(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if ((GetWindowLongPtrA(FState.Window, GWL_STYLE) & WS_CHILD) && !FState.IsMdiChild()) {
        result = Pass(msg, wParam, lParam);
        return true;
    }
    switch (msg) {
    case WM_ACTIVATE:
        FState.Active = LOBYTE(LOWORD(wParam)) != WA_INACTIVE;
        return false;
    case WM_NCACTIVATE:
        FState.Active = wParam != 0;
        return false;
    case WM_GETMINMAXINFO: {
        result = Pass(msg, wParam, lParam);
        FState.ReadWindowState();
        if (FState.WindowState == TSkinFrameState::wsMinimized)
            FState.SetCaptionStyles(true);
        else if (!FState.IsMdiChild())
            FState.SetCaptionStyles(false);
        else if (FState.WindowState == TSkinFrameState::wsNormal) {
            FState.Engine.SetMdiMaximized(GetParent(FState.Window), false);
            FState.SetCaptionStyles(false);
        } else
            FState.SetCaptionStyles(true);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
        return true;
    }
    case WM_WINDOWPOSCHANGED:
        FState.ReadWindowState();
        result = Pass(msg, wParam, lParam);
        return true;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case SC_SIZE:
        case SC_MOVE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
        case SC_CLOSE:
        case SC_RESTORE:
            // A command of the window's own system menu shown by the frame.
            PostMessageA(FState.Window, WM_SYSCOMMAND, LOWORD(wParam), 0);
            return true;
        default: return false;
        }
    case WM_SYSCOMMAND:
        result = OnSysCommand(wParam, lParam);
        return true;
    case SKM_START:
        FActions.Start();
        return true;
    case CM_MENUCHANGED:
        FState.Skin->NCPaintEnabled = false;
        result = Pass(msg, wParam, lParam);
        FState.Skin->NCPaintEnabled = true;
        if (FState.MenuBar && FState.Skin->MenuUpdate && GetMenu(FState.Window))
            FState.MenuBar->BuildFromWindowMenu();
        return true;
    default: return false;
    }
}

LRESULT TSkinFrameMessages::OnSysCommand(WPARAM wParam, LPARAM lParam)
{
    TSkinMenuBar* bar = FState.MenuBar;
    if (!FState.InMenuLoop && (wParam & 0xFFF0) == SC_KEYMENU && lParam != ' ' && lParam != '-' && !GetCapture()) {
        // Alt alone does not enter the system's menu mode over a frame it cannot draw.
        if (lParam == 0)
            return 1;
        // Alt and an item's accelerator open that item of the skinned bar.
        if (TMenuBtn* item = bar ? bar->FindAccelItem(static_cast<char>(lParam)) : nullptr) {
            bar->OpenMenuItem(*item);
            return 1;
        }
    }
    switch (wParam & 0xFFF0) {
    case SC_MINIMIZE:
        FState.WindowState = TSkinFrameState::wsMinimized;
        if (FState.IsMdiChild())
            FState.SetCaptionStyles(true);
        break;
    case SC_MAXIMIZE: FState.WindowState = TSkinFrameState::wsMaximized; break;
    case SC_RESTORE:
        FState.WindowState = TSkinFrameState::wsNormal;
        if (FState.IsMdiChild())
            FState.SetCaptionStyles(false);
        break;
    default: break;
    }
    return Pass(WM_SYSCOMMAND, wParam, lParam);
}

// The non-client area itself, once the frame runs.
bool TSkinFrameMessages::StageThree(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (FState.FrameState == TSkinFrameState::fsAttached || FState.WindowState == TSkinFrameState::wsMinimized || FState.MdiChildNotNormal())
        return false;
    if (FInput.HandleMouse(msg, wParam, lParam, result))
        return true;
    switch (msg) {
    case WM_NCCALCSIZE:
        result = OnNcCalcSize(wParam, lParam);
        return true;
    case WM_NCHITTEST: {
        result = Pass(msg, wParam, lParam);
        const POINT p = FState.FramePoint({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        result = AdjustFrameHitTest(static_cast<int>(result), p.y, FState.Metrics.Caption);
        return true;
    }
    case WM_NCPAINT:
        if (!FState.Skin->NCPaintEnabled) {
            result = 0;
            return true;
        }
        if (FState.MdiChildNotNormal() || FState.FrameKind == fkNoFrame)
            return false;
        FPainter.Paint(nullptr, FState.MenuBar);
        result = 0;
        return true;
    case WM_NCACTIVATE:
        FState.Active = wParam != 0;
        FInput.SetHoverTimer(FState.Active);
        if (!FState.Active)
            FControls.LeaveHotControl();
        if (!FState.MdiChildNotNormal())
            FPainter.Paint(nullptr, FState.MenuBar);
        result = 1;
        return true;
    case WM_MEASUREITEM:
    case WM_DRAWITEM: return HandleFrameMenuItem(FState, msg, wParam, lParam, result);
    case WM_MENUSELECT:
        if (FState.MenuBar)
            FState.MenuBar->NoteMenuSelect(wParam, lParam);
        return false;
    case SKM_NCREPAINT:
        FPainter.Paint(nullptr, FState.MenuBar);
        return true;
    default: return false;
    }
}

LRESULT TSkinFrameMessages::OnNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    Pass(WM_NCCALCSIZE, wParam, lParam);
    if (!wParam)
        return 0;
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    const WINDOWPOS& pos = *params->lppos;
    if (FState.MdiChildNotNormal() || FState.FrameKind == fkNoFrame) {
        params->rgrc[1] = params->rgrc[0];
    } else {
        const RECT client = ToRECT(ClientRectFor(pos.x, pos.y, pos.cx, pos.cy, FState.Metrics, FState.MenuBarHeight));
        params->rgrc[0] = client;
        params->rgrc[1] = client;
    }
    return WVR_VALIDRECTS;
}

} // namespace orbelin
