#include "skin/render/controls/SkinCtrls.h"

#include "skin/data/SkinData.h"
#include "skin/render/core/SkinMessages.h"
#include "skin/render/draw/SkinDraw.h"

namespace orbelin {

// ----------------------------------------------------------- TSkinControl

TSkinControl::TSkinControl(TComponent* subject) : TComponent(nullptr), FSubject(subject)
{
    if (subject)
        subject->FreeNotification(this);
}

void TSkinControl::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove || component != FSubject)
        return;
    // Nothing of the component is left to give back or to pass on to.
    FSubject = nullptr;
    FControl = nullptr;
    FWindowless = nullptr;
    FHook.Forget();
    Finish();
}

void TSkinControl::Finish()
{
    if (FLifeState == lsDestroyed)
        return;
    FLifeState = lsDestroyed;
    if (FHost)
        FHost->ControlFinished(this);
    else
        Release();
}

void TSkinControl::Unhook()
{
    FHook.Remove();
    FSubclass.Remove();
    FHost = nullptr;
}

void TSkinControl::KeepAttachment(ISkinControlHost* host, TSkinData* skin, bool setColour, TCanvas* canvas)
{
    FHost = host;
    FSkin = skin;
    FCanvas = canvas;
    FSetColour = setColour;
}

void TSkinControl::AttachControl(ISkinControlHost* host, TSkinData* skin, bool setColour, TCanvas* canvas)
{
    if (FAttached)
        return;
    KeepAttachment(host, skin, setColour, canvas);
    FControl = dynamic_cast<TWinControl*>(FSubject);
    if (!FControl)
        return;
    FWindow = FControl->Handle();
    FHook.Install(*FControl, *this, [this](TMessage& m) { WindowProcedure(m); });
    FControl->SetDoubleBuffered(true);
    if (FHost)
        FHost->RegisterControl(this);
    RefreshState();
    if (FSetColour) {
        FSavedColour = FControl->Color();
        FControl->SetColor(skin->ColorButtonFace);
    }
    FControl->Invalidate();
    FAttached = true;
    FLifeState = lsAttached;
}

void TSkinControl::AttachWindow(HWND window, TSkinData* skin, ISkinControlHost* host, TCanvas* canvas)
{
    if (FAttached)
        return;
    FSkin = skin;
    FCanvas = canvas;
    FHost = host;
    FWindow = window;
    FEnabled = true;
    if (FHost)
        FHost->RegisterControl(this);
    FCaption = WindowText();
    FSubclass.Install(window, *this, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        TMessage m{msg, wParam, lParam, 0};
        try {
            WindowProcedure(m);
        } catch (...) {
            // A raw window's caller cannot take exceptions; the skin's part is lost.
        }
        return m.Result;
    });
    FAttached = true;
    FLifeState = lsAttached;
}

void TSkinControl::Detach()
{
    if (FSetColour && FControl)
        FControl->SetColor(FSavedColour);
}

void TSkinControl::PassOn(TMessage& message)
{
    if (FHook.CanPassOn())
        FHook.CallPrevious(message);
    else if (FSubclass.Installed())
        message.Result = FSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
}

void TSkinControl::WindowProcedure(TMessage& message)
{
    // The skin's own painting swallows its failures (PaintWindow); what the
    // control's handlers raise goes on to the application's handler.
    if (BeforeMessage(message)) {
        PassOn(message);
        AfterMessage(message);
    }
}

bool TSkinControl::BeforeMessage(TMessage& message)
{
    if (message.Msg == WM_NCDESTROY) {
        PassOn(message);
        Detach();
        Finish();
        return false;
    }
    return true;
}

void TSkinControl::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CM_ENABLEDCHANGED: Repaint(); break;
    case WM_SETTEXT:
        FCaption = WindowText();
        Repaint();
        break;
    case WM_PAINT: PaintWindow(reinterpret_cast<HDC>(message.WParam)); break;
    default: break;
    }
}

void TSkinControl::SafeDraw(HDC dc, const RECT& rect) noexcept
{
    try {
        Draw(dc, rect);
    } catch (...) {
        // The control keeps what it painted itself.
    }
}

void TSkinControl::PaintWindow(HDC dc)
{
    if (!FWindow || !GetWindowRect(FWindow, &FWindowRect))
        return;
    std::unique_ptr<TWindowDC> own;
    if (!dc) {
        own = std::make_unique<TWindowDC>(FWindow, TWindowDC::TArea::Window);
        dc = own->Handle();
    }
    SafeDraw(dc, {0, 0, FWindowRect.right - FWindowRect.left, FWindowRect.bottom - FWindowRect.top});
}

void TSkinControl::Refresh()
{
    if (FSetColour && FControl)
        FControl->SetColor(FSkin->ColorButtonFace);
    if (FWindow)
        RedrawWindow(FWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TSkinControl::SetHot(bool hot)
{
    if (hot == ((FMouseState & msHot) != 0))
        return;
    if (hot) {
        FMouseState |= msHot;
        TSkinControl* previous = FHost ? FHost->HotControl() : nullptr;
        if (previous && previous != this && previous->Window())
            SendMessageA(previous->Window(), CM_MOUSELEAVE, 0, 0);
        if (FHost)
            FHost->SetHotControl(this);
    } else {
        FMouseState &= ~(msHot | msPressed);
        if (FHost && FHost->HotControl() == this)
            FHost->SetHotControl(nullptr);
    }
    Repaint();
}

bool TSkinControl::FollowHotLook(const TMessage& message)
{
    switch (message.Msg) {
    case CM_MOUSEENTER: SetHot(IsWindowEnabled(FWindow)); return true;
    case CM_MOUSELEAVE: SetHot(false); return true;
    case WM_WINDOWPOSCHANGED: FollowPointer(); return true;
    case WM_ENABLE:
    case CM_ENABLEDCHANGED: FollowPointer(); return false;
    default: return false;
    }
}

void TSkinControl::FollowPointer()
{
    if (!FWindow)
        return;
    POINT cursor{};
    const bool over = GetCursorPos(&cursor) && IsWindowVisible(FWindow) && IsWindowEnabled(FWindow) &&
                      WindowFromPoint(cursor) == FWindow;
    if (over && !(FMouseState & msHot)) {
        // The leaving comes as for a pointer that entered: WM_MOUSELEAVE,
        // which a component control turns into CM_MOUSELEAVE.
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, FWindow, 0};
        TrackMouseEvent(&track);
    }
    SetHot(over);
}

void TSkinControl::Repaint()
{
    if (FWindow && GetParent(FWindow)) {
        RedrawWindow(FWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOERASE);
        UpdateWindow(FWindow);
    }
}

void TSkinControl::RefreshState()
{
    FFocused = FWindow && GetFocus() == FWindow;
    FEnabled = FWindow && !(GetWindowLongPtrA(FWindow, GWL_STYLE) & WS_DISABLED);
    FCaption = WindowText();
}

std::string TSkinControl::WindowText() const
{
    if (!FWindow)
        return {};
    const int n = GetWindowTextLengthA(FWindow);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    text.resize(static_cast<size_t>(std::max(GetWindowTextA(FWindow, text.data(), n + 1), 0)));
    if (text.empty() && FControl)
        return FControl->Caption();
    return text;
}

// -------------------------------------------------------- shared drawing

void DrawElement(HDC dc, const RECT& rect, int frames, int frame, const TDataSkinObject& element)
{
    if (rect.right < rect.left || rect.bottom < rect.top)
        return;
    DrawNineSlice(dc, rect, element.Image, false, element.Tile == 1, element.Trans == 1, frames, frame,
                  element.Margins);
}

void DrawGlyphFrame(HDC dc, const RECT& rect, int frames, int frame, const TSkinBitmap& strip)
{
    DrawStripFrame(dc, rect, strip, true, frames, frame);
}

void FillFace(HDC dc, const RECT& rect, const TSkinData& skin)
{
    TGdiHandle<HBRUSH> brush(CreateSolidBrush(ColorToRGB(skin.ColorButtonFace)));
    FillRect(dc, &rect, brush.Get());
}

void DrawButtonText(HDC dc, const RECT& rect, UINT alignment, bool enabled, const std::string& text)
{
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT measured = rect;
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &measured, DT_CALCRECT | DT_NOCLIP | alignment);
    const int textW = measured.right - measured.left, textH = measured.bottom - measured.top;
    RECT placed = rect;
    if (alignment & DT_CENTER) {
        placed.left = rect.left + (rect.right - rect.left - textW) / 2;
        placed.right = placed.left + textW;
    }
    placed.top = rect.top + (rect.bottom - rect.top - textH) / 2 - 1;
    placed.bottom = placed.top + textH;
    COLORREF oldColour = 0;
    if (!enabled)
        oldColour = SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &placed, DT_EXPANDTABS | alignment);
    if (!enabled)
        SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

} // namespace orbelin
