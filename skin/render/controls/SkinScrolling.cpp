#include "skin/render/controls/SkinScrolling.h"

#include "skin/data/SkinData.h"
#include "skin/render/controls/SkinElementCtrls.h"
#include "skin/render/draw/SkinDraw.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace orbelin {

namespace {

constexpr int kBarThickness = 16; // bars are composed at this thickness and stretched

TScrollRange RangeOf(const SCROLLINFO& info)
{
    return {info.nMin, info.nMax, info.nPage, info.nPos};
}

int MinimumThumb()
{
    // The Windows 9x family reports the high bit of the version.
    return (GetVersion() & 0x80000000u) ? GetSystemMetrics(SM_CXHSCROLL) / 2 : 8;
}

} // namespace

// --------------------------------------------------------- TSkinScrollBar

void TSkinScrollBar::AttachScrolling(TWinControl* control, TSkinData* skin, bool ownThumbTracking, ISkinControlHost* host,
                                     TCanvas* canvas)
{
    if (FAttached)
        return;
    FSkin = skin;
    FHost = host;
    FCanvas = canvas;
    FControl = control;
    FWindow = control->Handle();
    FHook.Install(*control, *this, [this](TMessage& m) { WindowProcedure(m); });
    if (FHost)
        FHost->RegisterControl(this);
    FTracking = FInVertScroll = FInHorzScroll = false;
    FHorzInfo.cbSize = FVertInfo.cbSize = sizeof(SCROLLINFO);
    FOwnThumbTracking = ownThumbTracking;
    // Erasing is left to the next paint: a synchronous one here would repaint
    // the whole form once per memo while the frame is being skinned.
    SetWindowPos(FWindow, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                     SWP_DEFERERASE);
    FHeaderRect = {};
    FAttached = true;
    FLifeState = lsAttached;
}

bool TSkinScrollBar::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE: PassOn(message); return false;
    case WM_NCMOUSEMOVE:
        // The system draws no hot bar over a skinned one.
        return message.WParam != HTHSCROLL && message.WParam != HTVSCROLL;
    case WM_NCLBUTTONDOWN:
        if (FOwnThumbTracking && (message.WParam == HTHSCROLL || message.WParam == HTVSCROLL)) {
            const bool vertical = message.WParam == HTVSCROLL;
            POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
            RECT window{};
            GetWindowRect(FWindow, &window);
            const RECT& bar = vertical ? FVertRect : FHorzRect;
            const int along = vertical ? p.y - window.top - bar.top : p.x - window.left - bar.left;
            if (ScrollHitAt(along, vertical ? FVert : FHorz) == shThumb) {
                TrackThumb(vertical, p);
                return false;
            }
        }
        return true;
    case WM_HSCROLL:
    case WM_VSCROLL: {
        const bool vertical = message.Msg == WM_VSCROLL;
        switch (LOWORD(message.WParam)) {
        case SB_LINELEFT: FPressedPart = vertical ? spUp : spLeft; break;
        case SB_LINERIGHT: FPressedPart = vertical ? spDown : spRight; break;
        case SB_THUMBTRACK: FPressedPart = vertical ? spVertThumb : spHorzThumb; break;
        default: FPressedPart = spNone; break;
        }
        (vertical ? FInVertScroll : FInHorzScroll) = true;
        PassOn(message);
        (vertical ? FInVertScroll : FInHorzScroll) = false;
        PaintWindow(nullptr);
        return false;
    }
    default: return TSkinControl::BeforeMessage(message);
    }
}

void TSkinScrollBar::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCPAINT: PaintWindow(nullptr); break;
    case WM_PRINT: PaintWindow(reinterpret_cast<HDC>(message.WParam)); break;
    case WM_PAINT: PaintWindow(nullptr); break;
    default: TSkinControl::AfterMessage(message); break;
    }
}

void TSkinScrollBar::ReadScrollInfo(bool vertical, int length)
{
    if (FTracking)
        return;
    SCROLLINFO& info = vertical ? FVertInfo : FHorzInfo;
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(FWindow, vertical ? SB_VERT : SB_HORZ, &info))
        return;
    TScrollBarGeometry& g = vertical ? FVert : FHorz;
    g = ScrollGeometry(length, GetSystemMetrics(SM_CXHSCROLL), RangeOf(info), MinimumThumb(),
                       GetSystemMetrics(SM_CXHTHUMB), g);
}

void TSkinScrollBar::Draw(HDC dc, const RECT& rect)
{
    if (!FSkin->Scrollbar || FSkin->Scrollbar->Image.Empty())
        return;
    FStyle = GetWindowLongPtrA(FWindow, GWL_STYLE);
    FExStyle = GetWindowLongPtrA(FWindow, GWL_EXSTYLE);
    if (FInVertScroll)
        FStyle |= WS_VSCROLL;
    if (FInHorzScroll)
        FStyle |= WS_HSCROLL;
    const bool vert = FStyle & WS_VSCROLL, horz = FStyle & WS_HSCROLL;
    if ((!vert && !horz) || rect.left > 10000 || rect.top > 10000)
        return;
    RECT window{}, client{};
    GetWindowRect(FWindow, &window);
    GetClientRect(FWindow, &client);
    const int ww = window.right - window.left, wh = window.bottom - window.top;
    const int b = GetSystemMetrics(SM_CXHSCROLL);
    const int header = FHeaderRect.bottom - FHeaderRect.top;
    const int e = vert ? (ww - client.right - b) / 2 : (wh - client.bottom - b - header) / 2;
    const bool leftBar = FExStyle & WS_EX_LEFTSCROLLBAR;
    if (vert) {
        const int x = leftBar ? e : ww - e - b;
        FVertRect = {x, e + header, x + b, wh - e - (horz ? b : 0)};
    }
    if (horz) {
        const int left = e + (vert && leftBar ? b : 0);
        FHorzRect = {left, wh - e - b, ww - e - (vert && !leftBar ? b : 0), wh - e};
    }
    if (vert && horz) {
        FCorner = {leftBar ? e : ww - e - b, wh - e - b, leftBar ? e + b : ww - e, wh - e};
        FillFace(dc, FCorner, *FSkin);
    }
    if (vert && !FInVertScroll)
        DrawBar(dc, true, FVertRect);
    if (horz && !FInHorzScroll)
        DrawBar(dc, false, FHorzRect);
}

void TSkinScrollBar::DrawBar(HDC dc, bool vertical, const RECT& bar)
{
    const int length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
    const int thickness = vertical ? bar.right - bar.left : bar.bottom - bar.top;
    if (length <= 0 || length > 10000 || thickness <= 0 || thickness > 10000)
        return;
    ReadScrollInfo(vertical, length);
    const TScrollBarGeometry& g = vertical ? FVert : FHorz;
    const int sys = GetSystemMetrics(SM_CXHSCROLL);
    // The bar is composed lying down (length x 16) when horizontal, standing when vertical.
    const int bw = vertical ? kBarThickness : length, bh = vertical ? length : kBarThickness;
    TBitmap bitmap;
    bitmap.SetSize(bw, bh);
    HDC canvas = bitmap.DC();
    {
        TGdiHandle<HBRUSH> brush(CreateSolidBrush(ColorToRGB(FSkin->ColorScrollbar)));
        RECT all{0, 0, bw, bh};
        FillRect(canvas, &all, brush.Get());
    }
    SetStretchBltMode(canvas, COLORONCOLOR);
    const TDataSkinObject* shaft = vertical ? FSkin->VertScroll.get() : FSkin->HorzScroll.get();
    if (shaft && length > 2 * sys) {
        const RECT track = vertical ? RECT{0, sys, bw, length - sys} : RECT{sys, 0, length - sys, bh};
        DrawNineSlice(canvas, track, shaft->Image, false, shaft->Tile == 1, shaft->Trans == 1, 4, 1, shaft->Margins);
    }
    const int a = g.ArrowLength;
    const int first = vertical ? (FPressedPart == spUp ? 10 : 9) : (FPressedPart == spLeft ? 2 : 1);
    const int last = vertical ? (FPressedPart == spDown ? 14 : 13) : (FPressedPart == spRight ? 6 : 5);
    const RECT firstArrow = vertical ? RECT{0, 0, bw, a} : RECT{0, 0, a, bh};
    const RECT lastArrow = vertical ? RECT{0, length - a, bw, length} : RECT{length - a, 0, length, bh};
    DrawGlyphFrame(canvas, firstArrow, 23, first, FSkin->Scrollbar->Image);
    DrawGlyphFrame(canvas, lastArrow, 23, last, FSkin->Scrollbar->Image);
    const TDataSkinObject* thumb = vertical ? FSkin->VertScrollThumb.get() : FSkin->HorzScrollThumb.get();
    if (thumb && g.TrackLength >= g.ThumbLength && g.ThumbLength > 0) {
        const int start = a + g.ThumbOffset;
        const RECT r = vertical ? RECT{0, start, bw, start + g.ThumbLength} : RECT{start, 0, start + g.ThumbLength, bh};
        const int pressed = vertical ? spVertThumb : spHorzThumb;
        DrawNineSlice(canvas, r, thumb->Image, false, false, thumb->Trans == 1, std::max(thumb->FrameCount, 1),
                      FPressedPart == pressed ? 2 : 1, thumb->Margins);
    }
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, canvas, 0, 0, bw, bh, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

void TSkinScrollBar::TrackThumb(bool vertical, POINT start)
{
    FPressedPart = vertical ? spVertThumb : spHorzThumb;
    PaintWindow(nullptr);
    SCROLLINFO& info = vertical ? FVertInfo : FHorzInfo;
    TScrollBarGeometry& g = vertical ? FVert : FHorz;
    const int startOffset = g.ThumbOffset;
    const UINT scroll = vertical ? WM_VSCROLL : WM_HSCROLL;
    int position = info.nPos;
    FTracking = true;
    SetCapture(FWindow);
    bool done = false;
    while (!done) {
        // Capture lost without a message to the loop (the window went, another
        // took it), or the skin let go.
        if (GetCapture() != FWindow || Released())
            break;
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE: {
            DispatchMessageA(&msg);
            POINT cursor{};
            GetCursorPos(&cursor);
            int offset = startOffset + (vertical ? cursor.y - start.y : cursor.x - start.x);
            const int next = ThumbPosition(offset, RangeOf(info), g);
            g.ThumbOffset = offset;
            if (next != position) {
                position = next;
                SCROLLINFO pos{sizeof(pos), SIF_POS, 0, 0, 0, position, 0};
                SetScrollInfo(FWindow, vertical ? SB_VERT : SB_HORZ, &pos, FALSE);
                info.nPos = position;
                SendMessageA(FWindow, scroll, MAKEWPARAM(SB_THUMBTRACK, position), 0);
            }
            PaintWindow(nullptr);
            break;
        }
        case WM_LBUTTONUP:
        case WM_NCLBUTTONUP:
        case WM_CAPTURECHANGED:
            done = true;
            break;
        case WM_QUIT:
            PostQuitMessage(static_cast<int>(msg.wParam));
            done = true;
            break;
        default:
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            break;
        }
    }
    if (GetCapture() == FWindow)
        ReleaseCapture();
    FTracking = false;
    if (FLifeState == lsDestroyed)
        return; // the window went while the thumb was dragged
    SendMessageA(FWindow, scroll, MAKEWPARAM(SB_THUMBPOSITION, position), 0);
    PostMessageA(FWindow, scroll, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
}

// ------------------------------------------------------------ TSkinComBox

int TSkinComBox::FrameFor(bool enabled, bool pressed, bool hot, bool focused)
{
    if (pressed)
        return 2;
    if (focused || hot)
        return 4;
    return enabled ? 1 : 3;
}

void TSkinComBox::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FMouseState |= msPressed;
        PaintWindow(nullptr);
        break;
    case WM_LBUTTONUP:
        FMouseState &= ~msPressed;
        PaintWindow(nullptr);
        break;
    default:
        if (!FollowHotLook(message))
            TSkinControl::AfterMessage(message);
        break;
    }
    // The list closing ends the pressed look.
    if (message.Msg == WM_COMMAND || message.Msg == WM_CAPTURECHANGED) {
        if (!SendMessageA(FWindow, CB_GETDROPPEDSTATE, 0, 0) && (FMouseState & msPressed)) {
            FMouseState &= ~msPressed;
            PaintWindow(nullptr);
        }
    }
}

void TSkinComBox::Draw(HDC dc, const RECT& rect)
{
    const TDataSkinBorder* button = FSkin->ComboButton.get();
    if (!button || button->Image.Empty())
        return;
    FStyle = GetWindowLongPtrA(FWindow, GWL_STYLE);
    FExStyle = GetWindowLongPtrA(FWindow, GWL_EXSTYLE);
    FFocused = GetFocus() == FWindow;
    FEnabled = !(FStyle & WS_DISABLED);
    const int frame = FrameFor(FEnabled, FMouseState & msPressed, FMouseState & msHot, FFocused);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    const int b = GetSystemMetrics(SM_CXHSCROLL);
    const int frames = std::max(button->FrameCount, 1);
    if (button->Style == 1) {
        RECT inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
        HBRUSH current = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
        FrameRect(dc, &inner, current);
        const int thumb = GetSystemMetrics(SM_CYVTHUMB);
        RECT square{rect.right - 2 - thumb, rect.top + 2, rect.right - 2, rect.bottom - 2};
        FillRect(dc, &square, current);
        DrawStripFrame(dc, square, button->Image, false, frames, frame);
        TGdiHandle<HBRUSH> shadow(CreateSolidBrush(ColorToRGB(FSkin->ColorButtonShadow)));
        FrameRect(dc, &rect, shadow.Get());
        return;
    }
    if (!FSkin->SunkEdge || FSkin->SunkEdge->Image.Empty())
        return;
    const bool leftButton = FExStyle & WS_EX_LEFTSCROLLBAR;
    const RECT buttonRect = leftButton ? RECT{0, 0, b + 2, h} : RECT{w - b - 2, 0, w, h};
    const RECT glyphArea = leftButton ? RECT{2, 0, b + 2, h} : RECT{w - b - 2, 0, w - 2, h};
    const RECT textArea = leftButton ? RECT{b + 4, 2, w - 2, h - 2} : RECT{2, 2, w - b - 4, h - 2};
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, textArea.left, textArea.top, textArea.right, textArea.bottom);
    DrawElement(dc, {0, 0, w, h}, std::max(FSkin->SunkEdge->FrameCount, 1), frame, *FSkin->SunkEdge);
    if (leftButton && !button->Image2.Empty())
        DrawGlyphFrame(dc, buttonRect, frames, frames + 1 - frame, button->Image2);
    else
        DrawGlyphFrame(dc, buttonRect, frames, frame, button->Image);
    if (const TDataSkinObject* extra = FSkin->ExtraImages.get(); extra && !extra->Image.Empty()) {
        const int extraFrames = std::max(extra->FrameCount, 1);
        const TSkinSize size{extra->Image.Width() / extraFrames, extra->Image.Height()};
        const RECT glyph = ToRECT(CentreRect(ToSkinRect(glyphArea), size));
        DrawStripFrame(dc, glyph, extra->Image, true, extraFrames, frame);
    }
    RestoreDC(dc, saved);
}

// -------------------------------------------------------------- TSkinEdit

void TSkinEdit::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        if (message.WParam == 0)
            PaintWindow(nullptr);
        break;
    case WM_NCPAINT: PaintWindow(nullptr); break;
    case WM_PRINT: {
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        RECT window{}, client{};
        GetWindowRect(FWindow, &window);
        GetClientRect(FWindow, &client);
        const int w = window.right - window.left, h = window.bottom - window.top;
        if (client.right + 2 >= w && client.bottom + 2 >= h)
            break;
        RECT inner{1, 1, w - 1, h - 1};
        FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
        TGdiHandle<HBRUSH> shadow(CreateSolidBrush(ColorToRGB(FSkin->ColorButtonShadow)));
        RECT outer{0, 0, w, h};
        FrameRect(dc, &outer, shadow.Get());
        break;
    }
    default: TSkinControl::AfterMessage(message); break;
    }
}

void TSkinEdit::Draw(HDC dc, const RECT& rect)
{
    if (!FBuddyLooked) {
        FBuddyLooked = true;
        for (HWND child = GetWindow(FWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char cls[32] = {};
            GetClassNameA(child, cls, sizeof(cls));
            if (lstrcmpiA(cls, "msctls_updown32") == 0 || lstrcmpiA(cls, "TSpinButton") == 0) {
                // Kept, like this one, by the window's list of skinned controls.
                auto* upDown = new TSkinUpDown(nullptr);
                upDown->AttachWindow(child, FSkin, FHost, FCanvas);
                break;
            }
        }
    }
    RECT client{};
    GetClientRect(FWindow, &client);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (client.right >= w || client.bottom >= h)
        return;
    TGdiHandle<HBRUSH> shadow(CreateSolidBrush(ColorToRGB(FSkin->ColorButtonShadow)));
    FrameRect(dc, &rect, shadow.Get());
    RECT inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    FrameRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

// ------------------------------------------------------------- TSkinSizer

bool TSkinSizer::BeforeMessage(TMessage& message)
{
    if (message.Msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(FWindow, &ps);
        RECT r{};
        GetClientRect(FWindow, &r);
        SafeDraw(dc, r);
        EndPaint(FWindow, &ps);
        return false;
    }
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1;
        return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinSizer::Draw(HDC dc, const RECT& rect)
{
    FillFace(dc, rect, *FSkin);
    TGdiHandle<HBRUSH> shadow(CreateSolidBrush(ColorToRGB(FSkin->ColorButtonShadow)));
    FrameRect(dc, &rect, shadow.Get());
}

// ---------------------------------------------------------- TSkinScControl

void TSkinScControl::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case SBM_SETSCROLLINFO:
    case WM_PAINT: PaintWindow(nullptr); break;
    default: TSkinControl::AfterMessage(message); break;
    }
}

void TSkinScControl::Draw(HDC dc, const RECT& rect)
{
    if (!FSkin->Scrollbar || FSkin->Scrollbar->Image.Empty())
        return;
    const bool vertical = GetWindowLongPtrA(FWindow, GWL_STYLE) & SBS_VERT;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(FWindow, SB_CTL, &info);
    const int length = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    const TScrollBarGeometry g = ScrollGeometry(length, GetSystemMetrics(SM_CXHSCROLL), {info.nMin, info.nMax, info.nPage, info.nPos},
                                                8, GetSystemMetrics(SM_CXHTHUMB), {});
    const TDataSkinObject* shaft = vertical ? FSkin->VertScroll.get() : FSkin->HorzScroll.get();
    if (shaft)
        DrawNineSlice(dc, rect, shaft->Image, false, shaft->Tile == 1, shaft->Trans == 1, 4, 1, shaft->Margins);
    const int a = g.ArrowLength;
    DrawGlyphFrame(dc, vertical ? RECT{rect.left, rect.top, rect.right, rect.top + a} : RECT{rect.left, rect.top, rect.left + a, rect.bottom},
                   23, vertical ? 9 : 1, FSkin->Scrollbar->Image);
    DrawGlyphFrame(dc, vertical ? RECT{rect.left, rect.bottom - a, rect.right, rect.bottom} : RECT{rect.right - a, rect.top, rect.right, rect.bottom},
                   23, vertical ? 13 : 5, FSkin->Scrollbar->Image);
    const TDataSkinObject* thumb = vertical ? FSkin->VertScrollThumb.get() : FSkin->HorzScrollThumb.get();
    if (thumb && g.TrackLength >= g.ThumbLength && g.ThumbLength > 0) {
        const int start = a + g.ThumbOffset;
        const RECT r = vertical ? RECT{rect.left, rect.top + start, rect.right, rect.top + start + g.ThumbLength}
                                : RECT{rect.left + start, rect.top, rect.left + start + g.ThumbLength, rect.bottom};
        DrawNineSlice(dc, r, thumb->Image, false, false, thumb->Trans == 1, std::max(thumb->FrameCount, 1), 1, thumb->Margins);
    }
}

// ------------------------------------------------------------ list view

void TSkinListView::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component == FHeader)
        FHeader = nullptr;
    TSkinScrollBar::Notification(component, operation);
}

void TSkinListView::AttachScrolling(TWinControl* control, TSkinData* skin, bool ownThumbTracking, ISkinControlHost* host,
                                    TCanvas* canvas)
{
    TSkinScrollBar::AttachScrolling(control, skin, ownThumbTracking, host, canvas);
    HWND header = reinterpret_cast<HWND>(SendMessageA(Window(), LVM_GETHEADER, 0, 0));
    if (!header || FHeader)
        return;
    // Kept, like this one, by the window's list of skinned controls.
    FHeader = new TSkinHeader(nullptr);
    FHeader->FreeNotification(this);
    FHeader->AttachWindow(header, skin, host, canvas);
}

} // namespace orbelin
