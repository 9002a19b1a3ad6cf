#pragma once
// TSkinFrame replaces the non-client area of one top-level window (a
// component form, or a raw window such as a message box) with a frame drawn
// from the skin: borders, a caption with the title text and title buttons,
// a window region cut out of the borders' magenta pixels, a skinned system
// menu. It subclasses the window, strips the caption styles so the system
// draws nothing, and answers the non-client messages itself. It also keeps
// the skinned controls of its window.

#include "base/Component.h"
#include "skin/render/SkinFrameLayout.h"
#include "skin/render/SkinSubclass.h"
#include "ui/Controls.h"
#include "ui/Graphics.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace orbelin {

class TForm;
class TImageList;
class TPopupMenu;
class TSkinControl;
class TSkinData;
class TSkinFrame;
class TSkinMenuBar;
class TTimer;

// An object of the non-client area that reacts to the mouse.
class TNCObject {
public:
    explicit TNCObject(TSkinFrame& frame) : Frame(frame) {}
    virtual ~TNCObject() = default;
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    enum TState : int { nsNormal = 1, nsPressed = 2, nsHot = 3 };

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Paint() {}

protected:
    // The frame's hot object from now on, in this state, when visible.
    void BecomeHot(int state);

public:
    TSkinFrame& Frame;
    TSkinRect Rect; // frame coordinates
    bool Visible = false;
    int State = nsNormal;
};

// One caption button, drawn from its record of the skin.
class TSkinTitleButton : public TNCObject {
public:
    TSkinTitleButton(TSkinFrame& frame, TDataSkinSysButton& button) : TNCObject(frame), Button(button) {}
    void Paint() override;
    TDataSkinSysButton& Button; // the store's record; the frame drops its buttons before a reload
};

class TSkinFrame : public TComponent {
public:
    std::string_view ClassName() const override { return "TSkinFrame"; }
    explicit TSkinFrame(TComponent* owner);
    ~TSkinFrame() override;

    enum TFrameState : int { fsAttached = 0, fsRunning = 1, fsReskinning = 3, fsDestroying = 4, fsFitting = 5, fsFinished = 6 };
    enum TWindowState : int { wsNormal = 0, wsMaximized = 1, wsMinimized = 2 };
    enum TMdiRole : int { mrNone = 0, mrFrame = 1, mrChild = 2 };

    static constexpr int SystemMenuTag = 33333;
    static constexpr int HoverInterval = 250;

    int DisableTag = 99;

    void SetWindow(HWND window) { FWindow = window; }
    // For a component form: hooks its WindowProc (with the whole frame
    // skin), then attaches to its window and takes over its colour.
    void AttachToForm(TSkinData* skin, TForm* form);
    void AttachToWindow(TSkinData* skin);
    void CalcFrameMetrics();
    void FreeTitleButtons();
    void Reskin();
    // The skin is switched off while the window lives.
    void Detach();
    // The window is being destroyed.
    void DetachOnDestroy();
    void DetachControlsOnly();
    // Gives the form and its controls the skin's colours again and repaints.
    void ApplyColours();

    // The skinned controls of this window.
    bool RegisterControl(TSkinControl* control);
    void UnregisterControl(TSkinControl* control);
    TSkinControl* FindControl(HWND window) const;
    void FreeControls();
    void FreeFinishedControls();
    const std::vector<TSkinControl*>& Controls() const { return FControls; }
    // The push button of a raw window that shows its hot look.
    TSkinControl* HotControl = nullptr;
    // The canvas DC handed to the skinned controls for their scratch work.
    TCanvas& ControlCanvas() { return FControlCanvas; }

    void PaintFrame(HDC dc = nullptr);
    void OpenSystemMenu(POINT screen);
    void RunTitleAction(int action, POINT screen);
    // The frame point (window-relative) of a screen point.
    POINT FramePoint(POINT screen) const;
    TNCObject* ObjectAt(POINT framePoint);

    HWND Window() const { return FWindow; }
    TForm* Form() const { return FForm; }
    TSkinData* Skin() const { return FSkin; }
    int FrameState() const { return FFrameState; }
    void SetFrameState(int state) { FFrameState = state; }
    int FrameKind() const { return FFrameKind; }
    int WindowState() const { return FWindowState; }
    int MdiRole() const { return FMdiRole; }
    bool IsActive() const { return FActive; }
    bool Subclassed() const { return FSubclass.Installed(); }
    const TFrameMetrics& Metrics() const { return FMetrics; }
    int MenuBarHeight() const { return FMenuBarHeight; }
    TSkinRect TitleTextRect() const { return FTitleTextRect; }
    const std::vector<std::unique_ptr<TSkinTitleButton>>& TitleButtons() const { return FTitleButtons; }
    TPopupMenu* SystemMenu() const { return FSystemMenu; }
    TSkinMenuBar* MenuBar() const { return FMenuBar; }
    TTimer* HoverTimer() const { return FHoverTimer; }
    TNCObject* HotObject = nullptr;
    bool InMenuLoop = false;
    const std::string& WindowClassName() const { return FClassName; }
    bool HasRegion() const { return FRegionSet; }

    // Paints one title button on the window DC with the frame of its state.
    void PaintTitleButton(TSkinTitleButton& button);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool StartDetach();
    LRESULT WindowProcedure(UINT msg, WPARAM wParam, LPARAM lParam);
    bool StageOne(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool StageTwo(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool StageThree(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT Pass(UINT msg, WPARAM wParam, LPARAM lParam) { return FSubclass.CallPrevious(msg, wParam, lParam); }
    void FormHook(TMessage& message);

    bool MainMenuSkinned() const;
    bool IsMdiChild() const { return FMdiRole == mrChild; }
    bool HasOwner() const { return FOwnerWindow != nullptr; }
    void SetCaptionStyles(bool restore);
    void BuildIconBitmap();
    void BuildSystemMenu();
    void ReadWindowState();
    void FitFrame(bool refreshClient);
    void Start();
    void UpdateRegion(bool redraw = true);
    void UpdateRegion(TSkinSize outer, bool redraw);
    void SkinChildControls();
    // A border drawn at a size: kept between paints, drawn again when the
    // size, the active state or the skin's image changes.
    struct TBorderPicture {
        TBitmap Bitmap;
        TSkinSize Size{-1, -1};
        int Frame = 0;
        uint64_t Image = 0;
    };
    TBitmap& BorderPicture(TBorderPicture& picture, const TDataSkinBorder& border, TSkinSize size, bool vertical);
    void PaintCaption(HDC dc);
    void PaintTitleText(HDC dc);
    void LayoutTitleButtons();
    void PaintTitleButtons(HDC dc);
    TTitleButtonContext ButtonContext() const;
    void HoverCheck();
    void SetHoverTimer(bool enabled);
    void CloseWindow();
    void Restore();
    void ToggleMaximize();
    void ToggleMinimize();
    void ReleaseControlsAndMenus(bool destroying);
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);

    TWndMethod FSavedWindowProc;
    bool FFormHooked = false;
    TWindowSubclass FSubclass;
    TFont FCaptionFont;
    TTimer* FHoverTimer = nullptr; // owned through the component tree
    std::string FTitlePrefix = "  ";
    std::string FClassName;
    RECT FInitialClient{};
    TSkinSize FInitialNonClient;
    DWORD FLastMenuOpen = 0;
    DWORD FDoubleClickTime = 500;
    HWND FOwnerWindow = nullptr;
    TFrameMetrics FMetrics;
    RECT FWindowRect{};
    TSkinRect FTitleTextRect;
    int FMenuBarHeight = 0;
    bool FRightToLeft = false;
    TPopupMenu* FSystemMenu = nullptr; // owned through the component tree
    TImageList* FMenuGlyphs = nullptr; // owned through the component tree
    HMENU FWindowSystemMenu = nullptr;
    TColor FSavedColour = clBtnFace;
    LONG_PTR FStyle = 0;
    int FRightButtonBound = 0;
    bool FRegionSet = false; // the window holds a region of the frame (the system owns it)
    TForm* FForm = nullptr;
    HWND FWindow = nullptr;
    TCanvas FControlCanvas{nullptr};
    TSkinData* FSkin = nullptr;
    TSkinMenuBar* FMenuBar = nullptr; // owned through the component tree
    std::vector<std::unique_ptr<TSkinTitleButton>> FTitleButtons;
    TBitmap FIconBitmap;
    TBitmap FCaptionBitmap;
    TBorderPicture FLeftPicture, FRightPicture, FBottomPicture, FTopPicture;
    std::vector<TSkinControl*> FControls; // owned by their controls, freed here
    int FWindowWidth = 0;
    int FWindowHeight = 0;
    TSkinSize FRegionSize;
    bool FActive = true;
    int FMdiRole = mrNone;
    int FFrameKind = fkPlain;
    unsigned FAvailability = 0;
    int FWindowState = wsNormal;
    int FFrameState = fsAttached;
};

// The frame kind of a window by its styles.
int FrameKindOf(LONG_PTR style, LONG_PTR exStyle);

} // namespace orbelin
