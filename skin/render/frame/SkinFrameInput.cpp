#include "skin/render/frame/SkinFrameInput.h"

#include "skin/render/controls/SkinControlList.h"
#include "skin/render/core/SkinDispatch.h"
#include "skin/render/core/SkinLife.h"
#include "skin/render/core/SkinMessages.h"
#include "skin/render/core/SkinWindowInfo.h"
#include "skin/render/frame/SkinFramePainter.h"
#include "skin/render/frame/SkinFrameState.h"
#include "skin/render/frame/SkinMenuBar.h"
#include "skin/render/frame/SkinSystemMenu.h"
#include "ui/ExtCtrls.h"

#include <windowsx.h>

namespace orbelin {

namespace {

bool Contains(const TSkinRect& r, POINT p) { return r.Contains(p.x, p.y); }

POINT ScreenPoint(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

} // namespace

TSkinFrameInput::TSkinFrameInput(TComponent& owner, TSkinLife& life, TSkinFrameState& state, TSkinFramePainter& painter,
                                 TSkinControlList& controls, TSkinSystemMenu& systemMenu, TWindowSubclass& subclass)
    : FOwner(owner), FLife(life), FState(state), FPainter(painter), FControls(controls), FSystemMenu(systemMenu), FSubclass(subclass)
{
}

// ------------------------------------------------------------ the mouse

bool TSkinFrameInput::HandleMouse(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_NCMOUSEMOVE: {
        if (!FState.Active)
            return true;
        TNCObject* object = ObjectAt(FState.FramePoint(ScreenPoint(lParam)));
        if (object) {
            object->MouseEnter();
            return true;
        }
        if (FState.HotObject)
            FState.HotObject->MouseLeave();
        return false;
    }
    case WM_NCLBUTTONDOWN: {
        TNCObject* object = ObjectAt(FState.FramePoint(ScreenPoint(lParam)));
        if (object) {
            if (!FState.Active)
                SetForegroundWindow(FState.Window);
            object->MouseDown();
            if (auto* item = dynamic_cast<TMenuBtn*>(object))
                FState.MenuBar->OpenMenuItem(*item);
            return true;
        }
        if (FState.WindowState == TSkinFrameState::wsMaximized && FState.Active && wParam == HTCAPTION) {
            result = FSubclass.CallPrevious(msg, HTMENU, lParam);
            return true;
        }
        return false;
    }
    case WM_NCLBUTTONUP: {
        const POINT screen = ScreenPoint(lParam);
        TNCObject* object = ObjectAt(FState.FramePoint(screen));
        if (!object)
            return false;
        if (auto* button = dynamic_cast<TSkinTitleButton*>(object); button && FState.HotObject == button) {
            button->MouseUp();
            RunTitleAction(button->Button.Action, screen);
        }
        return true;
    }
    case WM_NCLBUTTONDBLCLK: {
        // A double click on the icon button closes, as the system's own
        // caption does; the menu its first click opened may have taken
        // the second click's press.
        auto* icon = dynamic_cast<TSkinTitleButton*>(ObjectAt(FState.FramePoint(ScreenPoint(lParam))));
        if (icon && IsIconButton(icon->Button.Action)) {
            FState.HotObject = nullptr;
            CloseWindow();
        } else if (FState.WindowState != TSkinFrameState::wsNormal)
            Restore();
        else if (FState.Availability & TSkinFrameState::avMaximize)
            ToggleMaximize();
        return true;
    }
    case WM_NCRBUTTONDOWN:
        if (wParam == HTCAPTION && !FState.IsMdiChild()) {
            FSystemMenu.Open(ScreenPoint(lParam));
            return true;
        }
        return false;
    default: return false;
    }
}

TNCObject* TSkinFrameInput::ObjectAt(POINT framePoint)
{
    for (auto& button : FPainter.TitleButtons())
        if (button->Visible && button->Button.Action >= 0 && Contains(button->Rect, framePoint))
            return button.get();
    return FState.MenuBar ? FState.MenuBar->HitItem(framePoint) : nullptr;
}

void TSkinFrameInput::RunTitleAction(int action, POINT screen)
{
    switch (TitleCommandOf(action)) {
    case TTitleCommand::Close: CloseWindow(); break;
    case TTitleCommand::Maximize: ToggleMaximize(); break;
    case TTitleCommand::Minimize: ToggleMinimize(); break;
    case TTitleCommand::SystemMenu: FSystemMenu.Open({screen.x + 1, screen.y + 1}); break;
    case TTitleCommand::MdiMinimize: MdiCommand(SC_MINIMIZE); break;
    case TTitleCommand::MdiRestore: MdiCommand(SC_RESTORE); break;
    case TTitleCommand::MdiClose: MdiCommand(SC_CLOSE); break;
    case TTitleCommand::Posted: PostMessageA(FState.Window, SKM_SKINNED, static_cast<WPARAM>(action), 0); break;
    }
}

// The command goes to the active child of an MDI frame.
void TSkinFrameInput::MdiCommand(WPARAM command)
{
    if (FState.MdiRole != TSkinFrameState::mrFrame)
        return;
    HWND client = nullptr;
    for (HWND child = GetTopWindow(FState.Window); child && !client; child = GetWindow(child, GW_HWNDNEXT))
        if (WindowClassName(child) == "MDIClient")
            client = child;
    HWND active = client ? reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
    if (active)
        SendMessageA(active, WM_SYSCOMMAND, command, 0);
}

// ---------------------------------------------------------- the commands

void TSkinFrameInput::CloseWindow()
{
    SetHoverTimer(false);
    PostMessageA(FState.Window, WM_CLOSE, 0, 0);
}

void TSkinFrameInput::Restore()
{
    FState.WindowState = TSkinFrameState::wsNormal;
    PostMessageA(FState.Window, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TSkinFrameInput::ToggleMaximize()
{
    if (FState.WindowState == TSkinFrameState::wsMaximized) {
        Restore();
        return;
    }
    FState.WindowState = TSkinFrameState::wsMaximized;
    PostMessageA(FState.Window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    FState.HotObject = nullptr;
}

void TSkinFrameInput::ToggleMinimize()
{
    if (FState.WindowState == TSkinFrameState::wsMinimized) {
        Restore();
        return;
    }
    FState.WindowState = TSkinFrameState::wsMinimized;
    PostMessageA(FState.Window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

// -------------------------------------------------------------- hovering

void TSkinFrameInput::CreateHoverTimer()
{
    FHoverTimer = new TTimer(&FOwner); // owned by the frame
    FHoverTimer->SetEnabled(false);
    FHoverTimer->SetInterval(HoverInterval);
    FHoverTimer->OnTimer = [this](TObject*) {
        const TInFlight hold(FLife);
        HoverCheck();
    };
}

void TSkinFrameInput::SetHoverTimer(bool enabled)
{
    if (FHoverTimer)
        FHoverTimer->SetEnabled(enabled);
}

void TSkinFrameInput::Forget(const TComponent* component)
{
    if (component == FHoverTimer)
        FHoverTimer = nullptr;
}

// The pointer may leave without a message to say so: what it left goes back to normal.
void TSkinFrameInput::HoverCheck()
{
    if (FState.InMenuLoop)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (FState.HotObject && !Contains(FState.HotObject->Rect, FState.FramePoint(cursor)))
        FState.HotObject->MouseLeave();
    if (!FState.Form)
        FControls.LeaveHotControlOutside(cursor);
}

} // namespace orbelin
