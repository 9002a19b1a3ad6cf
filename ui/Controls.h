#pragma once
// Controls: components with a place on a parent window. Windowed controls
// (TWinControl) own a window handle; graphic controls are painted by their
// parent. Every control passes its messages through the replaceable
// WindowProc, so the skin engine can hook a control by swapping it and
// calling the saved one for what it does not handle.

#include "base/Component.h"
#include "base/Exceptions.h"
#include "ui/ComponentHosts.h"
#include "ui/Graphics.h"
#include "ui/Messages.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace orbelin {

class TWinControl;
class TForm;

using TWndMethod = std::function<void(TMessage&)>;

class TControl : public TComponent {
public:
    std::string_view ClassName() const override { return "TControl"; }
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);
    // The form this control sits on (itself for a form), or null.
    IFormHost* FormHost() const;
    TForm* ParentForm() const;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    virtual void SetBounds(int left, int top, int width, int height);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    const std::string& Caption() const { return FCaption; }
    virtual void SetCaption(const std::string& caption);

    TFont& Font() { return FFont; }
    void FontChanged();
    TColor Color() const { return FColor; }
    // An explicit colour; the control no longer follows its parent's.
    void SetColor(TColor color);
    // Whether the control takes its parent's colour (and follows it).
    bool ParentColor() const { return FParentColor; }
    int TabOrder() const { return FTabOrder; }
    bool TabStop() const { return FTabStop; }
    const std::string& Hint() const { return FHint; }
    bool ShowHint() const { return FShowHint; }

    // Message entry point; replace to hook, call the saved value for the rest.
    TWndMethod WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void Invalidate();
    virtual bool IsWindowed() const { return false; }

    TNotifyEvent OnClick;
    virtual void Click();

    const TPropertyTable<TComponent>& Properties() const override;

protected:
    virtual void WndProc(TMessage& message);
    virtual void EnabledChanged() {}
    virtual void VisibleChanged() {}
    virtual void BoundsChanged() {}
    virtual void CaptionChanged() {}
    virtual void ColorChanged() {}
    // Takes a colour without changing whether the parent's is followed.
    void ApplyColor(TColor color);

    friend class TWinControl;
    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FEnabled = true;
    bool FVisible = true;
    std::string FCaption;
    TFont FFont;
    bool FParentFont = true;
    bool FParentColor = true;
    TColor FColor = clBtnFace;
    int FTabOrder = -1;
    bool FTabStop = false;
    std::string FHint;
    bool FShowHint = false;
};

// A control without a window, painted by its parent.
// A control without a window: its parent hands it WM_PAINT (wParam: the
// DC, its origin at the control's corner) and the mouse messages over it
// (coordinates in the control's own).
class TGraphicControl : public TControl {
public:
    std::string_view ClassName() const override { return "TGraphicControl"; }
    using TControl::TControl;
    virtual void Paint(TCanvas& canvas) = 0;
    void Invalidate() override;

protected:
    void WndProc(TMessage& message) override;
};

struct TCreateParams {
    std::string ClassName;
    DWORD Style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ExStyle = 0;
    HWND ParentWindow = nullptr;
};

class TWinControl : public TControl {
public:
    std::string_view ClassName() const override { return "TWinControl"; }
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    bool IsWindowed() const override { return true; }
    HWND Handle();
    HWND WindowHandle() const { return FHandle; }
    bool HandleAllocated() const { return FHandle != nullptr; }
    // Creates this window and then its children, in tab order.
    void CreateHandle();
    void DestroyHandle();

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(static_cast<size_t>(index)); }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);

    bool Focused() const;
    virtual void SetFocus();
    // Visible and enabled, with every parent, and has a window.
    bool CanFocus() const;
    // The windowed controls inside this one, depth first, each level in tab order.
    std::vector<TWinControl*> TabOrderList() const;
    // The next (or previous) control of TabOrderList after current that is a
    // tab stop and can take the focus; wraps around; null when there is none.
    TWinControl* FindNextControl(const TWinControl* current, bool forward) const;
    void SetTabStop(bool tabStop);
    // Painting through an off-screen bitmap; the skin asks for it.
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }
    // The window text (the caption of a button, the text of an edit).
    std::string Text() const;
    void Invalidate() override;

    // The control object behind a window created by this layer, or null.
    static TWinControl* FromHandle(HWND window);

protected:
    virtual void CreateParams(TCreateParams& params);
    // Runs once the handle exists: font, text and the rest of the state.
    virtual void InitializeWnd();
    void WndProc(TMessage& message) override;
    // Passes a message to the window's original procedure.
    void DefaultHandler(TMessage& message);

    // Notifications the parent reflects back to the control that sent them.
    virtual void CommandNotify(WORD code) { (void)code; }
    // WM_CTLCOLOR*: return a brush, or null for the default colours.
    virtual HBRUSH CtlColor(HDC dc);
    void PaintGraphicControls(HDC dc);
    // WM_ERASEBKGND: the client area in the control's colour.
    void EraseBackground(TMessage& message);

    void EnabledChanged() override;
    void VisibleChanged() override;
    void BoundsChanged() override;
    void CaptionChanged() override;
    // The control brush is made again, and the children that follow this
    // control's colour take it.
    void ColorChanged() override;

    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = nullptr;
    bool FDoubleBuffered = false;
    std::vector<TControl*> FControls; // not owned: the owner frees them
    TGdiHandle<HBRUSH> FBrush;

public:
    // The window procedure of every window of this layer.
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void Attach(HWND window);
    void TrackMouse();
    // Passes a mouse message to the graphic control under the point (or to
    // the one that holds the mouse); true when one took it.
    bool RouteToGraphicControl(TMessage& message);
    bool FMouseInside = false;
    TGraphicControl* FMouseGraphic = nullptr;
    bool FGraphicCapture = false;
};

// Registers (once) a window class of the layer's own windows under this
// name; forms take their class name, so the system sees "TForm1".
std::string OwnWindowClass(const std::string& name);

} // namespace orbelin
