#include "skin/render/controls/SkinButtons.h"

#include "skin/data/SkinData.h"
#include "skin/render/draw/SkinDraw.h"
#include "ui/Buttons.h"
#include "ui/StdCtrls.h"

namespace orbelin {

namespace {

// The colour a state frame gives the caption: the element's own colour for
// that frame, the skin's button text otherwise.
TColor CaptionColour(const TSkinData& skin, int frame, bool onlyWhenGiven)
{
    const TDataSkinButton& b = *skin.Buttons;
    switch (frame) {
    case 1: return (!onlyWhenGiven || b.HasNormalColour2) ? b.NormalColour2 : skin.ColorButtonText;
    case 4: return (!onlyWhenGiven || b.HasMouseOverColour2) ? b.MouseOverColour2 : skin.ColorButtonText;
    case 2: return (!onlyWhenGiven || b.HasPressedColour2) ? b.PressedColour2 : skin.ColorButtonText;
    default: return skin.ColorButtonText;
    }
}

HFONT WindowFont(HWND window) { return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)); }

// Whether a component control says it is checked, else the window's state.
bool IsChecked(HWND window, TWinControl* control, UINT query)
{
    if (auto* radio = dynamic_cast<TRadioButton*>(control))
        return radio->Checked();
    if (auto* check = dynamic_cast<TCheckBox*>(control))
        return check->Checked();
    return (SendMessageA(window, query, 0, 0) & BST_CHECKED) != 0;
}

} // namespace

// ------------------------------------------------------------ TSkinButton

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner) {}

int TSkinButton::FrameFor(bool enabled, bool pressed, bool hot, bool focused)
{
    if (!enabled)
        return 3;
    if (pressed)
        return 2;
    return (focused || hot) ? 4 : 1;
}

bool TSkinButton::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT: {
        if (message.WParam) {
            GetWindowRect(FWindow, &FWindowRect);
            SafeDraw(reinterpret_cast<HDC>(message.WParam),
                 {0, 0, FWindowRect.right - FWindowRect.left, FWindowRect.bottom - FWindowRect.top});
            return false;
        }
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(FWindow, &ps);
        GetWindowRect(FWindow, &FWindowRect);
        SafeDraw(dc, {0, 0, FWindowRect.right - FWindowRect.left, FWindowRect.bottom - FWindowRect.top});
        EndPaint(FWindow, &ps);
        return false;
    }
    case WM_ERASEBKGND: message.Result = 1; return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // Taken over: the button never captures the mouse, so a release
        // outside it clicks nothing.
        if (GetFocus() != FWindow)
            SetFocus(FWindow);
        FMouseState |= msPressed;
        PaintWindow(nullptr);
        return false;
    default: return TSkinControl::BeforeMessage(message);
    }
}

void TSkinButton::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_KEYDOWN:
        if (message.WParam == VK_SPACE) {
            FMouseState |= msPressed;
            Repaint();
        }
        break;
    case WM_KEYUP:
        if (message.WParam == VK_SPACE) {
            FMouseState &= ~msPressed;
            Repaint();
        }
        break;
    case WM_MOUSEMOVE: EnterByPointer(); break;
    case WM_LBUTTONUP:
        if (FMouseState & msPressed) {
            FMouseState &= ~msPressed;
            Repaint();
            Click();
        }
        break;
    default:
        if (!FollowHotLook(message))
            TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinButton::Click()
{
    if (FControl) {
        FControl->Click();
        return;
    }
    PostMessageA(GetParent(FWindow), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(FWindow), BN_CLICKED),
                 reinterpret_cast<LPARAM>(FWindow));
}

void TSkinButton::Draw(HDC dc, const RECT& rect)
{
    if (!FSkin->Buttons || FSkin->Buttons->Image.Empty())
        return;
    RefreshState();
    const int frame = FrameFor(FEnabled, FMouseState & msPressed, FMouseState & msHot, FFocused);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    FBitmap.SetSize(w, h);
    HDC canvas = FBitmap.DC();
    const RECT local{0, 0, w, h};
    FillFace(canvas, local, *FSkin);
    DrawElement(canvas, local, 5, frame, *FSkin->Buttons);
    TSelectObject font(canvas, WindowFont(FWindow));
    SetTextColor(canvas, ColorToRGB(CaptionColour(*FSkin, frame, false)));
    DrawButtonText(canvas, local, DT_CENTER, FEnabled, FCaption);
    BitBlt(dc, rect.left, rect.top, w, h, canvas, 0, 0, SRCCOPY);
}

// --------------------------------------------------------- TSkinBitButton

namespace {

// The glyph settings of a bitmap or speed button.
template <class TButtonWithGlyph>
void TakeGlyph(TGlyphButtonFace& face, const TButtonWithGlyph& button)
{
    face.Glyph = button.Glyph().Empty() ? nullptr : &button.Glyph();
    face.NumGlyphs = button.NumGlyphs();
    face.Side = static_cast<TGlyphSide>(button.Layout());
    face.Margin = button.Margin();
    face.Spacing = button.Spacing();
}

} // namespace

void DrawGlyphButton(HDC dc, const RECT& rect, const TSkinData& skin, const TGlyphButtonFace& face)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    TBitmap bitmap;
    bitmap.SetSize(w, h);
    HDC canvas = bitmap.DC();
    TSelectObject font(canvas, face.Font);
    const RECT local{0, 0, w, h};
    FillFace(canvas, local, skin);
    DrawElement(canvas, local, std::max(skin.Buttons->FrameCount, 1), face.State, *skin.Buttons);

    const int images = std::max(face.NumGlyphs, 1);
    const TSkinSize glyphSize = face.Glyph ? TSkinSize{face.Glyph->Width() / images, face.Glyph->Height()} : TSkinSize{};
    TSkinSize textSize;
    if (!face.Caption.empty()) {
        RECT calc{0, 0, w, h};
        DrawTextA(canvas, face.Caption.data(), static_cast<int>(face.Caption.size()), &calc, DT_CALCRECT);
        textSize = {calc.right - calc.left, calc.bottom - calc.top};
    }
    const TGlyphTextLayout layout = LayoutGlyphAndText({w, h}, glyphSize, textSize, face.Side, face.Margin, face.Spacing);
    if (face.Glyph) {
        // Image by state: normal 1, pressed 3, disabled 2, focused 1; a
        // glyph without that many images shows its first.
        static constexpr int kGlyphImage[] = {0, 1, 3, 2, 1};
        const int wanted = kGlyphImage[face.State];
        const int image = face.AnyImageCount ? (wanted <= images ? wanted : 1) : (images == 4 ? wanted : 1);
        TBitmap piece;
        piece.SetSize(glyphSize.Width, glyphSize.Height);
        BitBlt(piece.DC(), 0, 0, glyphSize.Width, glyphSize.Height, const_cast<TBitmap*>(face.Glyph)->DC(),
               (image - 1) * glyphSize.Width, 0, SRCCOPY);
        DrawTransparent(canvas, ToRECT(layout.Glyph), piece, GetPixel(piece.DC(), 0, 0));
    }
    if (!face.Caption.empty()) {
        SetBkMode(canvas, TRANSPARENT);
        const TDataSkinButton& b = *skin.Buttons;
        TColor colour = face.FontColour;
        if (face.State == 1 && b.HasNormalColour2)
            colour = b.NormalColour2;
        else if (face.State == 4 && b.HasMouseOverColour2)
            colour = b.MouseOverColour2;
        else if (face.State == 2 && b.HasPressedColour2)
            colour = b.PressedColour2;
        SetTextColor(canvas, face.Enabled ? ColorToRGB(colour) : GetSysColor(COLOR_BTNSHADOW));
        RECT text = ToRECT(layout.Text);
        const UINT align = layout.Alignment == 1 ? DT_RIGHT : layout.Alignment == 2 ? DT_CENTER : DT_LEFT;
        DrawTextA(canvas, face.Caption.data(), static_cast<int>(face.Caption.size()), &text, align);
    }
    BitBlt(dc, rect.left, rect.top, w, h, canvas, 0, 0, SRCCOPY);
}

void TSkinBitButton::Draw(HDC dc, const RECT& rect)
{
    if (!FSkin->Buttons || FSkin->Buttons->Image.Empty())
        return;
    RefreshState();
    auto* button = dynamic_cast<TBitBtn*>(FControl);
    TGlyphButtonFace face;
    face.State = 1;
    if (FControl ? FControl->Focused() : FFocused)
        face.State = 4;
    if (FMouseState & msPressed)
        face.State = 2;
    else if (FMouseState & msHot)
        face.State = 4;
    if (!FEnabled)
        face.State = 3;
    face.Caption = FCaption;
    face.Font = WindowFont(FWindow);
    face.FontColour = FControl ? FControl->Font().Color : FSkin->ColorButtonText;
    face.Enabled = FEnabled;
    if (button)
        TakeGlyph(face, *button);
    DrawGlyphButton(dc, rect, *FSkin, face);
}

// ------------------------------------------------------- TSkinSpeedButton

void TSkinSpeedButton::AttachControl(ISkinControlHost* host, TSkinData* skin, bool setColour, TCanvas* canvas)
{
    if (FAttached)
        return;
    KeepAttachment(host, skin, setColour, canvas);
    FWindowless = dynamic_cast<TControl*>(Subject());
    if (!FWindowless)
        return;
    FHook.Install(*FWindowless, *this, [this](TMessage& m) { WindowProcedure(m); });
    if (FHost)
        FHost->RegisterControl(this);
    FWindowless->Invalidate();
    FAttached = true;
    FLifeState = lsAttached;
}

bool TSkinSpeedButton::BeforeMessage(TMessage& message)
{
    if (message.Msg != WM_PAINT || !FSkin->Buttons || FSkin->Buttons->Image.Empty())
        return true;
    auto* button = dynamic_cast<TSpeedButton*>(FWindowless);
    TGlyphButtonFace face;
    face.State = 1;
    if ((button && (button->Pressed() || button->Down())))
        face.State = 2;
    else if (FMouseState & msHot)
        face.State = 4;
    if (!FWindowless->Enabled())
        face.State = 3;
    face.Caption = FWindowless->Caption();
    face.Font = FWindowless->Font().Handle();
    face.FontColour = FWindowless->Font().Color;
    face.Enabled = FWindowless->Enabled();
    face.AnyImageCount = true;
    if (button)
        TakeGlyph(face, *button);
    try {
        DrawGlyphButton(reinterpret_cast<HDC>(message.WParam), {0, 0, FWindowless->Width(), FWindowless->Height()},
                        *FSkin, face);
    } catch (...) {
        // The button keeps its place unpainted rather than open a box from a paint.
    }
    return false;
}

void TSkinSpeedButton::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case CM_MOUSEENTER: FMouseState |= msHot; FWindowless->Invalidate(); break;
    case CM_MOUSELEAVE: FMouseState &= ~msHot; FWindowless->Invalidate(); break;
    case CM_ENABLEDCHANGED: FWindowless->Invalidate(); break;
    default: break;
    }
}

void TSkinSpeedButton::Refresh() { FWindowless->Invalidate(); }

// ------------------------------------------- check boxes and radio buttons

namespace {

// Messages after which a check box or radio button shows a new state; 0xB0D0
// is the state change some button classes send themselves.
bool ChangesCheckState(UINT msg)
{
    switch (msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case 0xB0D0: return true;
    default: return false;
    }
}

// Frames of a check glyph: 1 unchecked, 2 checked, +2 when disabled.
int CheckFrame(bool checked, LONG_PTR style) { return (checked ? 2 : 1) + ((style & WS_DISABLED) ? 2 : 0); }

void DrawCheckGlyph(HDC dc, const RECT& rect, const TSkinData& skin, const TSkinBitmap& image, int frameCount,
                    int frame, LONG_PTR style)
{
    const int frames = std::max(frameCount, 1);
    const TSkinRect box =
        CheckGlyphRect(ToSkinRect(rect), image.Width() / frames, image.Height(), style & BS_LEFTTEXT);
    FillFace(dc, ToRECT(box), skin);
    DrawGlyphFrame(dc, ToRECT(box), frames, frame, image);
}

} // namespace

bool TSkinCheckBox::BeforeMessage(TMessage&) { return true; }

void TSkinCheckBox::AfterMessage(TMessage& message)
{
    if (ChangesCheckState(message.Msg))
        Repaint();
    else
        TSkinControl::AfterMessage(message);
    if (message.Msg == WM_NCDESTROY)
        Finish();
}

void TSkinCheckBox::Draw(HDC dc, const RECT& rect)
{
    const TDataSkinButton* b = FSkin->Buttons.get();
    if (!b || b->CheckImage.Empty())
        return;
    const LONG_PTR style = GetWindowLongPtrA(FWindow, GWL_STYLE);
    const bool indeterminate = SendMessageA(FWindow, BM_GETSTATE, 0, 0) & BST_INDETERMINATE;
    const int frame = indeterminate ? 4 : CheckFrame(IsChecked(FWindow, FControl, BM_GETSTATE), style);
    DrawCheckGlyph(dc, rect, *FSkin, b->CheckImage, b->CheckFrameCount, frame, style);
}

void TSkinRadioButton::AfterMessage(TMessage& message)
{
    if (ChangesCheckState(message.Msg))
        Repaint();
    else
        TSkinControl::AfterMessage(message);
}

void TSkinRadioButton::Draw(HDC dc, const RECT& rect)
{
    const TDataSkinButton* b = FSkin->Buttons.get();
    if (!b || b->RadioImage.Empty())
        return;
    const LONG_PTR style = GetWindowLongPtrA(FWindow, GWL_STYLE);
    const int frame = CheckFrame(IsChecked(FWindow, FControl, BM_GETCHECK), style);
    DrawCheckGlyph(dc, rect, *FSkin, b->RadioImage, b->RadioFrameCount, frame, style);
}

// ---------------------------------------------------------- TSkinGroupBox

bool TSkinGroupBox::BeforeMessage(TMessage& message) { return TSkinControl::BeforeMessage(message); }

void TSkinGroupBox::Draw(HDC dc, const RECT& rect)
{
    std::string caption = FCaption.empty() && FControl ? FControl->Caption() : FCaption;
    HFONT font = FControl ? FControl->Font().Handle() : WindowFont(FWindow);
    TSelectObject selectFont(dc, font);
    SIZE zero{};
    GetTextExtentPoint32A(dc, "0", 1, &zero);
    const RECT box{0, zero.cy / 2 - 1, rect.right - rect.left, rect.bottom - rect.top};
    auto face = reinterpret_cast<HBRUSH>(FSkin->FaceBrush.Handle());
    if (face) {
        FrameRect(dc, &box, face);
        RECT inner = box;
        InflateRect(&inner, -1, -1);
        FrameRect(dc, &inner, face);
    }
    TGdiHandle<HPEN> pen(CreatePen(PS_SOLID, 1, ColorToRGB(FSkin->ColorButtonShadow)));
    {
        TSelectObject selectPen(dc, pen.Get());
        TSelectObject selectBrush(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, box.left, box.top, box.right, box.bottom, 5, 5);
    }
    if (!caption.empty()) {
        const COLORREF oldBack = SetBkColor(dc, ColorToRGB(FSkin->ColorButtonFace));
        const int oldMode = SetBkMode(dc, OPAQUE);
        RECT text{rect.left + 9, rect.top, rect.right, rect.bottom};
        DrawTextA(dc, caption.data(), static_cast<int>(caption.size()), &text, DT_EXPANDTABS);
        SetBkMode(dc, oldMode);
        SetBkColor(dc, oldBack);
    }
}

// --------------------------------------------------------------- TSkinBox

void TSkinBox::AttachControl(ISkinControlHost* host, TSkinData* skin, bool setColour, TCanvas* canvas)
{
    if (FAttached)
        return;
    KeepAttachment(host, skin, setColour, canvas);
    FControl = dynamic_cast<TWinControl*>(Subject());
    if (FHost)
        FHost->RegisterControl(this);
    if (FSetColour && FControl) {
        FSavedColour = FControl->Color();
        FControl->SetColor(skin->ColorButtonFace);
    }
    FAttached = true;
    FLifeState = lsAttached;
}

void TSkinBox::Detach()
{
    TSkinControl::Detach();
    FLifeState = lsDetached;
}

} // namespace orbelin
