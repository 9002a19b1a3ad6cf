#include "ui/Controls.h"

#include "base/PropertyTable.h"

#include <algorithm>

namespace orbelin {

namespace {
constexpr const char* kControlProp = "OrbelinControl";
constexpr const char* kOwnClass = "OrbelinWindow";
thread_local TWinControl* gCreating = nullptr;

TControl& Topmost(const TControl& control)
{
    const TControl* c = &control;
    while (c->Parent())
        c = c->Parent();
    return const_cast<TControl&>(*c);
}
} // namespace

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner) : TComponent(owner)
{
    WindowProc = [this](TMessage& m) { WndProc(m); };
}

TControl::~TControl()
{
    if (FParent)
        FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent)
{
    if (FParent == parent)
        return;
    if (FParent)
        FParent->RemoveControl(this);
    FParent = parent;
    if (FParent) {
        FParent->InsertControl(this);
        if (FParentFont)
            FFont = FParent->Font();
        if (FParentColor)
            ApplyColor(FParent->Color());
    }
}

IFormHost* TControl::FormHost() const { return dynamic_cast<IFormHost*>(&Topmost(*this)); }

TForm* TControl::ParentForm() const
{
    IFormHost* host = FormHost();
    return host ? host->Form() : nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    BoundsChanged();
}

void TControl::SetEnabled(bool enabled)
{
    if (FEnabled == enabled)
        return;
    FEnabled = enabled;
    EnabledChanged();
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetVisible(bool visible)
{
    if (FVisible == visible)
        return;
    FVisible = visible;
    VisibleChanged();
    Perform(CM_VISIBLECHANGED);
}

void TControl::SetCaption(const std::string& caption)
{
    if (FCaption == caption)
        return;
    FCaption = caption;
    CaptionChanged();
    Perform(CM_TEXTCHANGED);
}

void TControl::FontChanged()
{
    FFont.Changed();
    Invalidate();
}

void TControl::SetColor(TColor color)
{
    FParentColor = false;
    ApplyColor(color);
}

void TControl::ApplyColor(TColor color)
{
    FColor = color;
    ColorChanged();
    Invalidate();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::Invalidate() {}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::WndProc(TMessage&) {}

const TPropertyTable<TComponent>& TControl::Properties() const
{
    static const TPropertyTable<TComponent> table(TComponent::Properties(), {
        Field("Left", &TControl::FLeft),
        Field("Top", &TControl::FTop),
        Field("Width", &TControl::FWidth),
        Field("Height", &TControl::FHeight),
        Field("Caption", &TControl::FCaption),
        Field("Text", &TControl::FCaption),
        Field("Enabled", &TControl::FEnabled),
        Field("Visible", &TControl::FVisible),
        Field("TabOrder", &TControl::FTabOrder),
        Field("TabStop", &TControl::FTabStop),
        Field("Hint", &TControl::FHint),
        Field("ShowHint", &TControl::FShowHint),
        Field("ParentFont", &TControl::FParentFont),
        Property<TControl>("Color",
                           [](TControl& c, const TPropertyValue& v) {
                               c.FColor = ColorFromProperty(v);
                               c.FParentColor = false;
                           }),
        Field("ParentColor", &TControl::FParentColor),
        Part<TControl>("Font.", TFont::Properties(),
                       [](TControl& c) -> TFont& {
                           c.FParentFont = false;
                           c.FFont.Changed();
                           return c.FFont;
                       }),
        // Hints are shown by the control that has one.
        Ignored("ParentShowHint"),
        Event("OnClick", &TControl::OnClick),
    });
    return table;
}

void TGraphicControl::WndProc(TMessage& message)
{
    if (message.Msg == WM_PAINT) {
        TCanvas canvas(reinterpret_cast<HDC>(message.WParam));
        Paint(canvas);
    }
}

void TGraphicControl::Invalidate()
{
    if (FParent && FParent->HandleAllocated()) {
        const RECT r = BoundsRect();
        InvalidateRect(FParent->WindowHandle(), &r, TRUE);
    }
}

// ------------------------------------------------------------- TWinControl

std::string OwnWindowClass(const std::string& name)
{
    static std::vector<std::string> registered;
    if (std::find(registered.begin(), registered.end(), name) == registered.end()) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &TWinControl::StaticWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
        wc.lpszClassName = name.c_str();
        if (RegisterClassExA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS)
            registered.push_back(name);
    }
    return name;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) { FTabStop = true; }

TWinControl::~TWinControl()
{
    // Children go first: they still talk to this window while they close.
    for (TControl* c : FControls)
        c->FParent = nullptr;
    FControls.clear();
    DestroyHandle();
}

HWND TWinControl::Handle()
{
    if (!FHandle)
        CreateHandle();
    return FHandle;
}

void TWinControl::InsertControl(TControl* control) { FControls.push_back(control); }

void TWinControl::RemoveControl(TControl* control)
{
    std::erase(FControls, control);
    if (control == FMouseGraphic) {
        FMouseGraphic = nullptr;
        FGraphicCapture = false;
    }
}

TWinControl* TWinControl::FromHandle(HWND window)
{
    return window ? static_cast<TWinControl*>(GetPropA(window, kControlProp)) : nullptr;
}

void TWinControl::CreateParams(TCreateParams& params)
{
    params.ClassName = OwnWindowClass(kOwnClass);
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FVisible)
        params.Style |= WS_VISIBLE;
    if (!FEnabled)
        params.Style |= WS_DISABLED;
    if (FTabStop)
        params.Style |= WS_TABSTOP;
    params.ParentWindow = FParent ? FParent->Handle() : nullptr;
}

void TWinControl::CreateHandle()
{
    if (FHandle)
        return;
    TCreateParams params;
    CreateParams(params);
    gCreating = this;
    HWND window = CreateWindowExA(params.ExStyle, params.ClassName.c_str(), FCaption.c_str(), params.Style, FLeft,
                                  FTop, FWidth, FHeight, params.ParentWindow, nullptr, GetModuleHandleA(nullptr),
                                  nullptr);
    gCreating = nullptr;
    if (!window)
        throw Exception("Error creating window of " + Name());
    if (!FHandle)
        Attach(window);
    InitializeWnd();
    // Tab order is the z-order of the child windows: create them in it.
    std::vector<TControl*> ordered = FControls;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](TControl* a, TControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (TControl* c : ordered)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            w->CreateHandle();
}

void TWinControl::Attach(HWND window)
{
    FHandle = window;
    SetPropA(window, kControlProp, this);
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    if (current != &StaticWndProc) {
        FDefWndProc = current;
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWndProc));
    }
}

void TWinControl::InitializeWnd()
{
    SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Handle()), FALSE);
}

void TWinControl::DestroyHandle()
{
    if (FHandle)
        DestroyWindow(FHandle); // WM_NCDESTROY clears FHandle
    FHandle = nullptr;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

bool TWinControl::CanFocus() const
{
    if (!FHandle)
        return false;
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

std::vector<TWinControl*> TWinControl::TabOrderList() const
{
    std::vector<TWinControl*> children;
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            children.push_back(w);
    std::stable_sort(children.begin(), children.end(),
                     [](const TWinControl* a, const TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    std::vector<TWinControl*> list;
    for (TWinControl* child : children) {
        list.push_back(child);
        const auto inner = child->TabOrderList();
        list.insert(list.end(), inner.begin(), inner.end());
    }
    return list;
}

TWinControl* TWinControl::FindNextControl(const TWinControl* current, bool forward) const
{
    std::vector<TWinControl*> list = TabOrderList();
    if (!forward)
        std::reverse(list.begin(), list.end());
    const auto at = std::find(list.begin(), list.end(), current);
    // Start after the current control, or at the beginning when it is not in the list.
    const size_t start = at == list.end() ? 0 : static_cast<size_t>(at - list.begin()) + 1;
    for (size_t i = 0; i < list.size(); ++i) {
        TWinControl* candidate = list[(start + i) % list.size()];
        if (candidate != current && candidate->TabStop() && candidate->CanFocus())
            return candidate;
    }
    return nullptr;
}

void TWinControl::SetTabStop(bool tabStop)
{
    FTabStop = tabStop;
    if (!FHandle)
        return;
    const LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
    SetWindowLongPtrA(FHandle, GWL_STYLE, tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
}

void TWinControl::SetFocus()
{
    if (FHandle)
        ::SetFocus(FHandle);
}

std::string TWinControl::Text() const
{
    if (!FHandle)
        return FCaption;
    const int n = GetWindowTextLengthA(FHandle);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(FHandle, text.data(), n + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

void TWinControl::Invalidate()
{
    if (FHandle)
        InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::EnabledChanged()
{
    if (FHandle)
        EnableWindow(FHandle, FEnabled);
}

void TWinControl::VisibleChanged()
{
    if (FHandle)
        ShowWindow(FHandle, FVisible ? SW_SHOW : SW_HIDE);
}

void TWinControl::BoundsChanged()
{
    if (FHandle)
        MoveWindow(FHandle, FLeft, FTop, FWidth, FHeight, TRUE);
}

void TWinControl::CaptionChanged()
{
    if (FHandle)
        SetWindowTextA(FHandle, FCaption.c_str());
}

void TWinControl::ColorChanged()
{
    FBrush.Reset();
    for (TControl* c : FControls)
        if (c->ParentColor())
            c->ApplyColor(FColor);
}

HBRUSH TWinControl::CtlColor(HDC dc)
{
    SetTextColor(dc, ColorToRGB(FFont.Color));
    SetBkColor(dc, ColorToRGB(FColor));
    if (!FBrush)
        FBrush.Reset(CreateSolidBrush(ColorToRGB(FColor)));
    return FBrush.Get();
}

void TWinControl::EraseBackground(TMessage& message)
{
    RECT r;
    GetClientRect(FHandle, &r);
    TCanvas canvas(reinterpret_cast<HDC>(message.WParam));
    canvas.BrushColor = FColor;
    canvas.FillRect(r);
    message.Result = 1;
}

void TWinControl::PaintGraphicControls(HDC dc)
{
    for (TControl* c : FControls) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (!g || !g->Visible())
            continue;
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, g->Left(), g->Top(), g->Left() + g->Width(), g->Top() + g->Height());
        POINT origin{};
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + g->Left(), origin.y + g->Top(), nullptr);
        g->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
        RestoreDC(dc, saved);
    }
}

bool TWinControl::RouteToGraphicControl(TMessage& message)
{
    const POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
    TGraphicControl* under = nullptr;
    if (FGraphicCapture)
        under = FMouseGraphic;
    else
        for (auto it = FControls.rbegin(); it != FControls.rend() && !under; ++it)
            if (auto* g = dynamic_cast<TGraphicControl*>(*it); g && g->Visible() && g->Enabled()) {
                const RECT r = g->BoundsRect();
                if (PtInRect(&r, p))
                    under = g;
            }
    if (under != FMouseGraphic && !FGraphicCapture) {
        if (FMouseGraphic)
            FMouseGraphic->Perform(CM_MOUSELEAVE);
        FMouseGraphic = under;
        if (under)
            under->Perform(CM_MOUSEENTER);
    }
    if (!under || message.Msg == WM_MOUSELEAVE)
        return false;
    if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) {
        // The control keeps the mouse until the button goes up.
        FGraphicCapture = true;
        SetCapture(FHandle);
    } else if (message.Msg == WM_LBUTTONUP && FGraphicCapture) {
        FGraphicCapture = false;
        ReleaseCapture();
    }
    under->Perform(message.Msg, message.WParam, MAKELPARAM(p.x - under->Left(), p.y - under->Top()));
    return message.Msg != WM_MOUSEMOVE;
}

void TWinControl::TrackMouse()
{
    if (FMouseInside)
        return;
    FMouseInside = true;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, FHandle, 0};
    TrackMouseEvent(&track);
    Perform(CM_MOUSEENTER);
}

void TWinControl::DefaultHandler(TMessage& message)
{
    if (!FHandle)
        return;
    message.Result = FDefWndProc ? CallWindowProcA(FDefWndProc, FHandle, message.Msg, message.WParam, message.LParam)
                                 : DefWindowProcA(FHandle, message.Msg, message.WParam, message.LParam);
}

void TWinControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_COMMAND:
        if (message.LParam != 0) {
            if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(message.LParam))) {
                child->CommandNotify(HIWORD(message.WParam));
                return;
            }
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(message.LParam))) {
            if (HBRUSH brush = child->CtlColor(reinterpret_cast<HDC>(message.WParam))) {
                message.Result = reinterpret_cast<LRESULT>(brush);
                return;
            }
        }
        break;
    case WM_MOUSEMOVE:
        TrackMouse();
        RouteToGraphicControl(message);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
        if (RouteToGraphicControl(message))
            return;
        break;
    case WM_MOUSELEAVE:
        FMouseInside = false;
        if (FMouseGraphic && !FGraphicCapture) {
            FMouseGraphic->Perform(CM_MOUSELEAVE);
            FMouseGraphic = nullptr;
        }
        Perform(CM_MOUSELEAVE);
        break;
    case WM_SETCURSOR:
        if (HCURSOR cursor = ApplicationHost().CursorOverride(); cursor && LOWORD(message.LParam) == HTCLIENT) {
            ::SetCursor(cursor);
            message.Result = TRUE;
            return;
        }
        break;
    case WM_SETFOCUS:
        if (IFormHost* form = FormHost(); form && FParent)
            form->SetActiveControl(this);
        break;
    case WM_KILLFOCUS:
        DefaultHandler(message);
        Perform(CM_EXIT);
        return;
    case WM_SYSCHAR:
        // Alt and a character: the form's accelerators (its menu bar) first.
        if (FormHost() && Topmost(*this).Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0) {
            message.Result = 0;
            return;
        }
        break;
    case WM_CLOSE:
        // Only forms close. The system sends a control's parent WM_CLOSE in
        // places (Esc in a multi-line edit of a dialog); for a group box
        // that would destroy it with everything inside.
        return;
    default:
        break;
    }
    DefaultHandler(message);
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWinControl* control = FromHandle(window);
    if (!control && gCreating) {
        control = gCreating;
        control->Attach(window);
    }
    if (!control)
        return DefWindowProcA(window, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    try {
        control->WindowProc(message);
    } catch (...) {
        ReportException();
    }
    if (msg == WM_NCDESTROY) {
        RemovePropA(window, kControlProp);
        if (control->FDefWndProc)
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control->FDefWndProc));
        control->FHandle = nullptr;
    }
    return message.Result;
}

} // namespace orbelin
