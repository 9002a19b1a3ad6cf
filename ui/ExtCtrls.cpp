#include "ui/ExtCtrls.h"

#include "base/PropertyTable.h"

namespace orbelin {

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {}

void TImage::Paint(TCanvas& canvas)
{
    if (FStretch)
        FPicture.StretchDraw(canvas.Handle(), RECT{0, 0, FWidth, FHeight});
    else
        FPicture.Draw(canvas.Handle(), 0, 0);
}

const TPropertyTable<TComponent>& TImage::Properties() const
{
    static const TPropertyTable<TComponent> table(TGraphicControl::Properties(), {
        Property<TImage>("Picture.Resource",
                         [](TImage& i, const TPropertyValue& v) {
                             i.FPicture.LoadFromResource(GetModuleHandleA(nullptr), v.AsString().c_str());
                         }),
        Field("Stretch", &TImage::FStretch),
        // The picture is drawn at the image's bounds, opaque, from its corner.
        Ignored("Align"),
        Ignored("Transparent"),
        Ignored("Center"),
    });
    return table;
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {}

void TBevel::Paint(TCanvas& canvas)
{
    // An etched line: shadow, then highlight below or to the right.
    canvas.PenColor = clBtnShadow;
    const int w = FWidth, h = FHeight;
    switch (FShape) {
    case TShape::bsTopLine:
        canvas.Line(0, 0, w, 0);
        canvas.PenColor = clBtnHighlight;
        canvas.Line(0, 1, w, 1);
        break;
    case TShape::bsBottomLine:
        canvas.Line(0, h - 2, w, h - 2);
        canvas.PenColor = clBtnHighlight;
        canvas.Line(0, h - 1, w, h - 1);
        break;
    case TShape::bsLeftLine:
        canvas.Line(0, 0, 0, h);
        canvas.PenColor = clBtnHighlight;
        canvas.Line(1, 0, 1, h);
        break;
    case TShape::bsRightLine:
        canvas.Line(w - 2, 0, w - 2, h);
        canvas.PenColor = clBtnHighlight;
        canvas.Line(w - 1, 0, w - 1, h);
        break;
    case TShape::bsBox:
        canvas.FrameRect(RECT{0, 0, w, h});
        break;
    }
}

namespace {

constexpr TEnumName<TBevel::TShape> BevelShapeNames[] = {
    {"bsBox", TBevel::TShape::bsBox},
    {"bsTopLine", TBevel::TShape::bsTopLine},
    {"bsBottomLine", TBevel::TShape::bsBottomLine},
    {"bsLeftLine", TBevel::TShape::bsLeftLine},
    {"bsRightLine", TBevel::TShape::bsRightLine},
};

} // namespace

const TPropertyTable<TComponent>& TBevel::Properties() const
{
    static const TPropertyTable<TComponent> table(TGraphicControl::Properties(), {
        EnumField("Shape", &TBevel::FShape, BevelShapeNames),
    });
    return table;
}

// ------------------------------------------------------------------ TTimer

namespace {
constexpr const char* kTimerClass = "OrbelinTimer";
constexpr UINT_PTR kTimerId = 1;
} // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner)
{
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &TTimer::TimerWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kTimerClass;
        return RegisterClassExA(&wc) != 0;
    }();
    (void)registered;
    FWindow = CreateWindowExA(0, kTimerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    SetWindowLongPtrA(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    Update();
}

TTimer::~TTimer()
{
    if (FWindow) {
        KillTimer(FWindow, kTimerId);
        DestroyWindow(FWindow);
    }
}

void TTimer::SetInterval(unsigned milliseconds)
{
    FInterval = milliseconds;
    Update();
}

void TTimer::SetEnabled(bool enabled)
{
    FEnabled = enabled;
    Update();
}

void TTimer::Update()
{
    if (!FWindow)
        return;
    KillTimer(FWindow, kTimerId);
    if (FEnabled && FInterval > 0 && !Loading())
        SetTimer(FWindow, kTimerId, FInterval, nullptr);
}

LRESULT CALLBACK TTimer::TimerWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER) {
        auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (timer && timer->OnTimer) {
            try {
                timer->OnTimer(timer);
            } catch (...) {
                ReportException();
            }
        }
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

const TPropertyTable<TComponent>& TTimer::Properties() const
{
    static const TPropertyTable<TComponent> table(TComponent::Properties(), {
        Setter("Interval", &TTimer::SetInterval),
        Setter("Enabled", &TTimer::SetEnabled),
        Event("OnTimer", &TTimer::OnTimer),
    });
    return table;
}

TPanel::TPanel(TComponent* owner) : TWinControl(owner) { FTabStop = false; }

void TPanel::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TPanel::WndProc(TMessage& message)
{
    if (message.Msg == WM_ERASEBKGND) {
        EraseBackground(message);
        return;
    }
    if (message.Msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(FHandle, &ps);
        PaintGraphicControls(dc);
        EndPaint(FHandle, &ps);
        return;
    }
    TWinControl::WndProc(message);
}

} // namespace orbelin
