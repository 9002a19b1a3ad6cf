#pragma once
// TSkinFrame replaces the non-client area of one top-level window (a
// component form, or a raw window such as a message box) with a frame drawn
// from the skin. It subclasses the window, strips the caption styles so the
// system draws nothing, answers the non-client messages, and keeps the
// skinned controls of its window. This file holds the frame's life (attach,
// start, fit, reskin, detach) and its window procedure; its parts do the
// rest: painting and the region (SkinFramePainter), the mouse over the
// caption (SkinFrameInput), the system menu (SkinSystemMenu), the menu bar
// (SkinMenuBar), an MDI frame's client (SkinMdiClient) and the controls
// (SkinControlList), all sharing the frame's state (SkinFrameState). The
// manager lets the frame go (SkinLife).

#include "base/Component.h"
#include "skin/render/controls/SkinControlList.h"
#include "skin/render/core/SkinDispatch.h"
#include "skin/render/core/SkinLife.h"
#include "skin/render/frame/SkinFrameInput.h"
#include "skin/render/frame/SkinFrameMessages.h"
#include "skin/render/frame/SkinFramePainter.h"
#include "skin/render/frame/SkinFrameState.h"
#include "skin/render/frame/SkinMdiClient.h"
#include "skin/render/frame/SkinSystemMenu.h"
#include "ui/Controls.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace orbelin {

class ISkinEngine;
class TForm;
class TPopupMenu;
class TSkinData;
class TSkinMenuBar;
class TTimer;

class TSkinFrame : public TComponent, public TSkinLife {
public:
    std::string_view ClassName() const override { return "TSkinFrame"; }
    // engine: the manager that skins the window and keeps the frame; it
    // outlives the frame.
    explicit TSkinFrame(ISkinEngine& engine);

    using enum TSkinFrameState::TFrameState;
    using enum TSkinFrameState::TWindowState;
    using enum TSkinFrameState::TMdiRole;

    void SetWindow(HWND window);
    // For a component form: hooks its WindowProc (with the whole frame
    // skin), then attaches to its window and takes over its colour.
    void AttachToForm(TSkinData* skin, TForm* form);
    void AttachToWindow(TSkinData* skin);
    void CalcFrameMetrics();
    void FreeTitleButtons() { FPainter.FreeTitleButtons(); }
    void Reskin();
    // An MDI child: the manager's flag says whether the children are
    // maximized, with the system's caption then, or in the skin's frames.
    void MdiMaximizedChanged(bool maximized);
    // The skin is switched off while the window lives.
    void Detach();
    // The window is being destroyed.
    void DetachOnDestroy();
    void DetachControlsOnly();
    // Gives the form and its controls the skin's colours again and repaints.
    void ApplyColours();

    // The skinned controls of this window.
    const std::vector<TSkinControl*>& Controls() const { return FControls.Items(); }

    void PaintFrame(HDC dc = nullptr) { FPainter.Paint(dc, FState.MenuBar); }

    HWND Window() const { return FState.Window; }
    TForm* Form() const { return FState.Form; }
    TSkinData* Skin() const { return FState.Skin; }
    int FrameState() const { return FState.FrameState; }
    // A menu of the frame or a control of its window runs its own loop now.
    bool InModalLoop() const;
    // The title button or menu bar item under the pointer or pressed, or null.
    TNCObject* HotObject() const { return FState.HotObject; }
    void SetFrameState(int state) { FState.FrameState = state; }
    int MdiRole() const { return FState.MdiRole; }
    const TFrameMetrics& Metrics() const { return FState.Metrics; }
    int MenuBarHeight() const { return FState.MenuBarHeight; }
    TSkinRect TitleTextRect() const { return FPainter.TitleTextRect(); }
    const std::vector<std::unique_ptr<TSkinTitleButton>>& TitleButtons() const { return FPainter.TitleButtons(); }
    TPopupMenu* SystemMenu() const { return FSystemMenu.Menu(); }
    TSkinMenuBar* MenuBar() const { return FState.MenuBar; }
    TTimer* HoverTimer() const { return FInput.HoverTimer(); }

protected:
    ~TSkinFrame() override;
    void Notification(TComponent* component, TOperation operation) override;
    // Off the window, its form and its MDI client.
    void Unhook() override;

private:
    bool StartDetach();
    void FormHook(TMessage& message);
    // Alt and the accelerator of a bar item open its menu.
    bool OpenAccelItem(char key);
    void SetPopupsOwnerDrawn(bool on);
    void FitFrame(bool refreshClient);
    void KeepRestoredClientSize(const TFrameMetrics& before);
    // A message box is made wide enough for its whole caption.
    void WidenForCaption(TSkinSize& size);
    void Start();
    void SkinChildControls();
    void ReleaseControlsAndMenus(bool destroying);
    void ReleaseMenuBar();

    TSkinFrameState FState;
    TWindowSubclass FSubclass;
    TSkinMdiClient FMdiClient;
    TSkinControlList FControls;
    TSkinFramePainter FPainter;
    TSkinSystemMenu FSystemMenu;
    TSkinFrameInput FInput;
    TSkinFrameMessages FMessages;
    TWindowProcHook FFormHook;
    std::string FClassName;
    TSkinSize FInitialNonClient;
    TColor FSavedColour = clBtnFace;
};

} // namespace orbelin
