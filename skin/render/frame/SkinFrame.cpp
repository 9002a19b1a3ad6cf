#include "skin/render/frame/SkinFrame.h"

#include "skin/data/SkinData.h"
#include "skin/render/controls/SkinControlMap.h"
#include "skin/render/controls/SkinCtrls.h"
#include "skin/render/core/SkinHosts.h"
#include "skin/render/core/SkinMessages.h"
#include "skin/render/core/SkinWindowInfo.h"
#include "skin/render/frame/SkinMenuBar.h"
#include "skin/render/menus/SkinMenus.h"
#include "ui/Forms.h"

#include <algorithm>

namespace orbelin {

namespace {

TSkinSize WindowSize(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

} // namespace

TSkinFrame::TSkinFrame(ISkinEngine& engine)
    : TComponent(nullptr),
      FState(engine),
      FMdiClient(FState, *this),
      FPainter(FState),
      FSystemMenu(*this, FState,
                  {[this] { FInput.Restore(); }, [this] { FInput.ToggleMaximize(); },
                   [this] { FInput.ToggleMinimize(); }, [this] { FInput.CloseWindow(); }}),
      FInput(*this, *this, FState, FPainter, FControls, FSystemMenu, FSubclass),
      FMessages(FState, FPainter, FInput, FControls, FSubclass,
                {[this] { Start(); }, [this] { DetachOnDestroy(); }, [this] { FState.Engine.FrameFinished(); }})
{
}

TSkinFrame::~TSkinFrame()
{
    FControls.FreeAll();
    ReleaseMenuBar();
    FSystemMenu.Free();
}

void TSkinFrame::Unhook()
{
    FSubclass.Remove();
    FFormHook.Remove();
    FMdiClient.Unhook();
    FInput.SetHoverTimer(false);
}

void TSkinFrame::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    FSystemMenu.Forget(component);
    FInput.Forget(component);
    if (component == FState.Form) {
        FState.Form = nullptr;
        FFormHook.Forget();
    }
}

bool TSkinFrame::InModalLoop() const
{
    const auto& controls = FControls.Items();
    return FState.InMenuLoop || FSystemMenu.IsOpen() ||
           std::any_of(controls.begin(), controls.end(), [](const TSkinControl* c) { return c->InModalLoop(); });
}

void TSkinFrame::SetWindow(HWND window)
{
    FState.Window = window;
    FControls.SetWindow(window);
}

void TSkinFrame::SetPopupsOwnerDrawn(bool on) { SetPopupOwnerDraw(FState.Engine, FState.Skin, FState.Form, on); }

// ------------------------------------------------------------- attaching

void TSkinFrame::AttachToForm(TSkinData* skin, TForm* form)
{
    FState.Form = form;
    form->FreeNotification(this);
    if (skin->SkinControls.Contains(TSkinControlType::xcMainMenu))
        FFormHook.Install(*form, *this, [this](TMessage& m) { FormHook(m); });
    AttachToWindow(skin);
    FSavedColour = form->Color();
    form->SetColor(skin->ColorButtonFace);
    if (skin->SkinControls.Contains(TSkinControlType::xcMainMenu))
        SetPopupsOwnerDrawn(true);
}

void TSkinFrame::AttachToWindow(TSkinData* skin)
{
    HWND window = FState.Window;
    if (FSubclass.Installed() || !IsWindow(window))
        return;
    FState.Skin = skin;
    FInput.CreateHoverTimer();

    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
    FState.Style = style;
    FState.RightToLeft = exStyle & (WS_EX_LEFTSCROLLBAR | WS_EX_LAYOUTRTL);
    FSystemMenu.ReadWindowMenu();
    FPainter.BuildIconBitmap();
    FClassName = WindowClassName(window);
    FState.OwnerWindow = GetWindow(window, GW_OWNER);

    RECT outer{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &FState.InitialClient);
    FInitialNonClient = {outer.right - outer.left - FState.InitialClient.right, outer.bottom - outer.top - FState.InitialClient.bottom};

    FState.Availability = 0;
    if ((style & WS_SYSMENU) || FSystemMenu.WindowMenu())
        FState.Availability |= TSkinFrameState::avSystemMenu;
    if (style & WS_MINIMIZEBOX)
        FState.Availability |= TSkinFrameState::avMinimize;
    if (style & WS_MAXIMIZEBOX)
        FState.Availability |= TSkinFrameState::avMaximize;
    FSystemMenu.Build();
    FState.ReadWindowState();

    for (HWND child = GetTopWindow(window); child; child = GetWindow(child, GW_HWNDNEXT))
        if (WindowClassName(child) == "MDIClient") {
            FState.MdiRole = mrFrame;
            FState.MdiClient = child;
            break;
        }
    if (exStyle & WS_EX_MDICHILD)
        FState.MdiRole = mrChild;
    FState.FrameKind = FrameKindOf(static_cast<uint32_t>(style), static_cast<uint32_t>(exStyle));

    if (FState.FrameSkinned()) {
        if (GetMenu(window) && !FState.IsMdiChild()) {
            FState.MenuBar = new TSkinMenuBar(FState, *skin); // let go by this frame
            FState.MenuBarHeight = GetSystemMetrics(SM_CYMENU);
            FState.MenuBar->BuildFromWindowMenu();
        }
        const bool keepCaption = FState.InMaximizedClient() || FState.WindowState == wsMinimized;
        if (!keepCaption)
            FState.SetCaptionStyles(false);
        CalcFrameMetrics();
    }
    FSubclass.Install(window, *this, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return FMessages.WindowProcedure(msg, wParam, lParam);
    });
    if (FState.MdiRole == mrFrame)
        FMdiClient.Hook(FState.MdiClient);
    SkinChildControls();
    InvalidateRect(window, nullptr, TRUE);
}

void TSkinFrame::SkinChildControls()
{
    FControls.FreeFinished();
    const TControlSkinning target{FControls, *this, *FState.Skin, FState.Form};
    if (FState.Form)
        SkinComponentControls(target, *FState.Form);
    else
        SkinRawChildren(target, FState.Window);
}

void TSkinFrame::CalcFrameMetrics()
{
    if (!FState.Skin || !FState.Skin->SkinLoaded())
        return;
    FState.Metrics = FrameMetricsOf(*FState.Skin, FState.FrameKind);
    if (FState.FrameKind == fkNoFrame)
        FState.MenuBarHeight = 0;
    FPainter.MakeTitleButtons();
}

// ------------------------------------------------------------ starting

void TSkinFrame::FitFrame(bool refreshClient)
{
    HWND window = FState.Window;
    if (FState.WindowState == wsMaximized) {
        SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return;
    }
    if (refreshClient)
        GetClientRect(window, &FState.InitialClient);
    TSkinSize size = FittedSize({FState.InitialClient.right, FState.InitialClient.bottom}, FState.Metrics, FState.MenuBarHeight);
    if ((FClassName == "TMessageForm" || FClassName == "#32770") && !refreshClient)
        WidenForCaption(size);
    // At start a centred form is centred again for its new outer size, in
    // the same move: every move of a shown window repaints all of it.
    const auto origin = FState.Form && !refreshClient ? FState.Form->PlacedOrigin(size.Width, size.Height) : std::nullopt;
    if (origin)
        SetWindowPos(window, nullptr, origin->x, origin->y, size.Width, size.Height,
                     SWP_FRAMECHANGED | SWP_NOZORDER | SWP_DEFERERASE);
    else
        SetWindowPos(window, nullptr, 0, 0, size.Width, size.Height,
                     SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_DEFERERASE);
}

void TSkinFrame::WidenForCaption(TSkinSize& size)
{
    HWND window = FState.Window;
    TWindowDC dc(window, TWindowDC::TArea::Window);
    TSelectObject font(dc.Handle(), FPainter.CaptionFont().Handle());
    SIZE blank{};
    GetTextExtentPoint32A(dc.Handle(), " ", 1, &blank);
    const std::string caption = CaptionText(window);
    const int needed = CaptionFitWidth(static_cast<int>(caption.size()), blank.cx, FState.Metrics, *FState.Skin->Title);
    if (size.Width >= needed)
        return;
    const int shift = (needed - size.Width) / 2;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    size.Width = needed;
}

void TSkinFrame::Start()
{
    if (FState.FrameState == fsAttached) {
        if (FState.InMaximizedClient()) {
            FState.SetCaptionStyles(true);
            SetWindowPos(FState.Window, nullptr, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        } else if (FState.WindowState != wsMinimized && FState.FrameKind != fkNoFrame) {
            FState.FrameState = fsFitting;
            // The region of the fitted size goes first and unpainted: the
            // fitting move then paints the frame once, already clipped.
            if (FClassName != "TMessageForm" && FClassName != "#32770")
                FPainter.UpdateRegion(FittedSize({FState.InitialClient.right, FState.InitialClient.bottom}, FState.Metrics,
                                                 FState.MenuBarHeight),
                                      false);
            FitFrame(false);
            FState.FrameState = fsRunning;
            FPainter.UpdateRegion(false);
            // A child window is repainted inside the fitting move, while
            // the frame did not paint yet.
            if (FState.IsMdiChild())
                RedrawWindow(FState.Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
        }
    }
    FState.FrameState = fsRunning;
    FInput.SetHoverTimer(true);
}

void TSkinFrame::FormHook(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETTEXT:
        FFormHook.CallPrevious(message);
        SetWindowPos(FState.Window, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return;
    case SKM_RESKIN:
        Reskin();
        return;
    case CM_DIALOGCHAR:
        if (OpenAccelItem(static_cast<char>(message.WParam))) {
            message.Result = 1;
            return;
        }
        FFormHook.CallPrevious(message);
        return;
    default: FFormHook.CallPrevious(message); return;
    }
}

bool TSkinFrame::OpenAccelItem(char key)
{
    // Alt must be the only shift key down: Ctrl+Alt is AltGr on many keyboards.
    const bool altOnly = GetKeyState(VK_MENU) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0;
    TSkinMenuBar* bar = FState.MenuBar;
    TMenuBtn* item = altOnly && bar ? bar->FindAccelItem(key) : nullptr;
    if (!item)
        return false;
    bar->OpenMenuItem(*item);
    return true;
}

// -------------------------------------------------------------- life cycle

void TSkinFrame::Reskin()
{
    if (FState.Form)
        FState.Form->SetColor(FState.Skin->ColorButtonFace);
    FControls.RefreshAll();
    FState.FrameState = fsReskinning;
    // The skin may have other borders: the window keeps its client size.
    // The system's client rectangle still holds the old borders' answer
    // until the fitting move asks again.
    const TFrameMetrics before = FState.Metrics;
    CalcFrameMetrics();
    if (FState.FrameSkinned()) {
        SetPopupsOwnerDrawn(true);
        KeepRestoredClientSize(before);
        if (FState.WindowState != wsMinimized)
            FitFrame(true);
        FState.FrameState = fsReskinning;
        FPainter.UpdateRegion();
        RedrawWindow(FState.Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    FState.FrameState = fsRunning;
}

void TSkinFrame::KeepRestoredClientSize(const TFrameMetrics& before)
{
    // A maximized or minimized window comes back to its restored rectangle,
    // which was measured for the old borders.
    if (FState.WindowState == wsNormal || FState.FrameKind == fkNoFrame)
        return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(FState.Window, &placement))
        return;
    RECT& r = placement.rcNormalPosition;
    const TFrameMetrics& after = FState.Metrics;
    r.right += (after.Left + after.Right) - (before.Left + before.Right);
    r.bottom += (after.Caption + after.Bottom) - (before.Caption + before.Bottom);
    placement.flags = 0;
    placement.showCmd = FState.WindowState == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWMINNOACTIVE;
    SetWindowPlacement(FState.Window, &placement);
}

void TSkinFrame::MdiMaximizedChanged(bool maximized)
{
    if (!FState.IsMdiChild() || !FSubclass.Installed())
        return;
    FState.ReadWindowState();
    if (!maximized && FState.WindowState == wsMinimized)
        return;
    FState.SetCaptionStyles(maximized);
    HWND window = FState.Window;
    if (maximized && IsZoomed(window)) {
        if (FPainter.HasRegion())
            FPainter.DropRegion();
        // The system measured the maximized child without the caption the
        // skin had taken: the caption goes above the client area again.
        RECT r{};
        GetClientRect(GetParent(window), &r);
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
        SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return;
    }
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (!maximized)
        FPainter.UpdateRegion();
}

void TSkinFrame::ApplyColours()
{
    if (FState.Form) {
        FState.Form->SetColor(FState.Skin->ColorButtonFace);
        FState.Form->Invalidate();
    }
    FControls.RefreshAll();
    SendMessageA(FState.Window, SKM_NCREPAINT, 0, 0);
}

void TSkinFrame::ReleaseControlsAndMenus(bool destroying)
{
    FSystemMenu.Release();
    FMdiClient.Unhook();
    FInput.SetHoverTimer(false);
    FFormHook.Remove();
    FSubclass.Remove();
    FControls.FreeAll();
    if (!destroying && FState.Form) {
        SetPopupsOwnerDrawn(false);
        FState.Form->SetColor(FSavedColour);
    }
}

// The first steps of both ways out; false when the frame itself was never hooked.
bool TSkinFrame::StartDetach()
{
    if (!FState.FrameSkinned()) {
        DetachControlsOnly();
        return false;
    }
    FSystemMenu.Release();
    FInput.SetHoverTimer(false);
    return FSubclass.Installed();
}

void TSkinFrame::Detach()
{
    if (!StartDetach())
        return;
    HWND window = FState.Window;
    const bool destroying = FState.FrameState == fsDestroying;
    const int menuBarHeight = FState.MenuBarHeight;
    ReleaseControlsAndMenus(destroying);
    if (!destroying)
        FState.SetCaptionStyles(true);
    if (FState.MenuBar)
        FState.MenuBar->RestoreMenu();
    ReleaseMenuBar();
    FPainter.ReleaseCaption();
    if (!destroying && !((GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) && !FState.IsMdiChild())) {
        RECT outer{};
        GetWindowRect(window, &outer);
        const TSkinSize size = UnskinnedSize(WindowSize(outer), FState.Metrics, menuBarHeight, FInitialNonClient);
        POINT at{outer.left, outer.top};
        if (FState.IsMdiChild())
            ScreenToClient(GetParent(window), &at);
        SetWindowPos(window, nullptr, at.x, at.y, size.Width, size.Height, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
        if (FState.Form)
            FState.Form->ApplyPosition();
    }
    FPainter.DropRegion();
}

void TSkinFrame::DetachOnDestroy()
{
    if (!StartDetach())
        return;
    ReleaseControlsAndMenus(true);
    if (FState.MenuBar)
        FState.MenuBar->WindowGone();
    ReleaseMenuBar();
    FPainter.ReleaseCaption();
}

void TSkinFrame::DetachControlsOnly()
{
    FInput.SetHoverTimer(false);
    FControls.FreeAll();
    const bool destroying = FState.FrameState == fsDestroying;
    TForm* form = FState.Form;
    if (form) {
        SetPopupsOwnerDrawn(false);
        if (!destroying)
            form->SetColor(FSavedColour);
    }
    FFormHook.Remove();
    FSubclass.Remove();
    FMdiClient.Unhook();
    if (!destroying && form)
        for (int i = 0; i < form->ComponentCount(); ++i)
            if (auto* control = dynamic_cast<TControl*>(form->Components(i)))
                control->Invalidate();
}

void TSkinFrame::ReleaseMenuBar()
{
    if (!FState.MenuBar)
        return;
    FState.MenuBar->Release();
    FState.MenuBar = nullptr;
    FState.MenuBarHeight = 0;
}

} // namespace orbelin
