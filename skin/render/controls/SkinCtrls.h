#pragma once
// Skinned controls: small objects that sit between a control's window and
// its own message handling, watch the messages that change its look (paint,
// focus, enable, text, mouse) and paint the control, or parts of it, from
// the skin. A component control is hooked through its WindowProc, a raw
// window (a dialog's child) by subclassing. The list of the window that
// keeps them lets them go (SkinLife).

#include "base/Component.h"
#include "skin/render/core/SkinDispatch.h"
#include "skin/render/core/SkinHosts.h"
#include "skin/render/core/SkinLife.h"
#include "skin/render/draw/SkinGeometry.h"
#include "ui/Controls.h"
#include "ui/Graphics.h"

#include <windows.h>

#include <string>

namespace orbelin {

class TCanvas;
class TDataSkinObject;
class TSkinData;

class TSkinControl : public TComponent, public TSkinLife {
public:
    std::string_view ClassName() const override { return "TSkinControl"; }
    // subject: the control this skin is for, or null for a raw window. No
    // component owns the skin; it hears of its subject's end by a free
    // notice.
    explicit TSkinControl(TComponent* subject);

    enum TMouseState : unsigned { msHot = 1, msPressed = 2 };
    enum TLifeState : int { lsCreated = 0, lsAttached = 1, lsDetached = 2, lsDestroyed = 6 };

    // Attaches to the owner, a component control; with setColour the
    // control shows the skin's face colour while it is skinned.
    virtual void AttachControl(ISkinControlHost* host, TSkinData* skin, bool setColour, TCanvas* canvas);
    // Attaches to a raw window (the owner is the frame).
    virtual void AttachWindow(HWND window, TSkinData* skin, ISkinControlHost* host, TCanvas* canvas);
    virtual void Detach();
    // False: the skin object took the message over.
    virtual bool BeforeMessage(TMessage& message);
    virtual void AfterMessage(TMessage& message);
    virtual void PaintWindow(HDC dc);
    virtual void Draw(HDC dc, const RECT& rect) { (void)dc, (void)rect; }
    // After a skin change: the colour again, a repaint.
    virtual void Refresh();
    // Whether the control may be drawn now; nothing asks it yet.
    virtual bool CanPaint() const { return true; }
    // A loop of the control runs now (a dragged thumb).
    virtual bool InModalLoop() const { return false; }

    // The control this skin is for; null for a raw window.
    TComponent* Subject() const { return FSubject; }
    HWND Window() const { return FWindow; }
    TWinControl* Control() const { return FControl; }
    ISkinControlHost* Host() const { return FHost; }
    TSkinData* Skin() const { return FSkin; }
    int LifeState() const { return FLifeState; }
    bool Attached() const { return FAttached; }
    unsigned MouseState() const { return FMouseState; }
    bool SetColour() const { return FSetColour; }

    // Repaints the whole window now, frame included.
    void Repaint();
    // Draw, its failures swallowed: no error box opens from inside a paint.
    void SafeDraw(HDC dc, const RECT& rect) noexcept;

protected:
    ~TSkinControl() override = default;
    void Notification(TComponent* component, TOperation operation) override;
    // Off the window, the component and the host.
    void Unhook() override;
    // Remembers what an attachment works with.
    void KeepAttachment(ISkinControlHost* host, TSkinData* skin, bool setColour, TCanvas* canvas);
    void WindowProcedure(TMessage& message);
    // Passes a message to the control's own handling.
    void PassOn(TMessage& message);
    void RefreshState();
    std::string WindowText() const;
    // The pointer moved over a window no one reports entering (a raw
    // window's control): it turns hot and the window's hot control, whose
    // leaving the frame notices; the one hot before leaves.
    void EnterByPointer() { SetHot(true); }
    // The hot look follows the pointer and only it. SetHot turns it on (the
    // window's hot control then, the one before leaving) or off (pressed
    // too); FollowPointer sets it as the pointer is now: on over the
    // enabled, visible window, off otherwise. After enabling, disabling,
    // showing, hiding or moving no mouse message may come to say so.
    void SetHot(bool hot);
    void FollowPointer();
    // The messages that move the hot look of a control that shows one;
    // true when the message needs nothing more.
    bool FollowHotLook(const TMessage& message);

    unsigned FMouseState = 0;
    TCanvas* FCanvas = nullptr;
    bool FEnabled = true;
    bool FFocused = false;
    std::string FCaption;
    TWindowSubclass FSubclass;
    TWindowProcHook FHook;
    TSkinData* FSkin = nullptr;
    HWND FWindow = nullptr;
    TWinControl* FControl = nullptr;
    RECT FWindowRect{};
    TControl* FWindowless = nullptr; // a control without window, hooked through its WindowProc
    bool FSetColour = false;
    TColor FSavedColour = clBtnFace;
    bool FAttached = false;
    int FLifeState = lsCreated;
    ISkinControlHost* FHost = nullptr;

    // The control's window or component has gone: the host lets the skin go.
    void Finish();

private:
    TComponent* FSubject = nullptr;
};

// Shared drawing of the skinned controls.
// The element's image nine-sliced into rect, frame `frame` of `frames`,
// through the magenta mask when the element is transparent.
void DrawElement(HDC dc, const RECT& rect, int frames, int frame, const TDataSkinObject& element);
// Frame n of a horizontal strip stretched into rect, magenta transparent.
void DrawGlyphFrame(HDC dc, const RECT& rect, int frames, int frame, const TSkinBitmap& strip);
void FillFace(HDC dc, const RECT& rect, const TSkinData& skin);
// The caption centred (DT_CENTER) or kept to the full width, vertically
// centred one pixel high, in the button shadow colour when disabled.
void DrawButtonText(HDC dc, const RECT& rect, UINT alignment, bool enabled, const std::string& text);

} // namespace orbelin
