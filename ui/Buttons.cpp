#include "ui/Buttons.h"

#include "base/PropertyTable.h"

namespace orbelin {

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {}

void TSpeedButton::SetDown(bool down)
{
    if (FDown == down)
        return;
    FDown = down;
    Invalidate();
}

void TSpeedButton::Paint(TCanvas& canvas)
{
    RECT r{0, 0, FWidth, FHeight};
    DrawFrameControl(canvas.Handle(), &r, DFC_BUTTON,
                     DFCS_BUTTONPUSH | ((FDown || FPressed) ? DFCS_PUSHED : 0) | (FEnabled ? 0 : DFCS_INACTIVE));
    canvas.Font = FFont;
    if (!FEnabled)
        canvas.Font.Color = clGrayText;
    canvas.DrawText(FCaption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TSpeedButton::Click()
{
    if (FGroupIndex > 0)
        SetDown(true);
    TGraphicControl::Click();
}

void TSpeedButton::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FPressed = true;
        Invalidate();
        return;
    case WM_LBUTTONUP: {
        const bool wasPressed = FPressed;
        FPressed = false;
        Invalidate();
        const POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
        // A release outside the button clicks nothing.
        if (wasPressed && p.x >= 0 && p.y >= 0 && p.x < FWidth && p.y < FHeight)
            Click();
        return;
    }
    default: TGraphicControl::WndProc(message); return;
    }
}

const TPropertyTable<TComponent>& TSpeedButton::Properties() const
{
    static const TPropertyTable<TComponent> table(TGraphicControl::Properties(), {
        Field("Down", &TSpeedButton::FDown),
        Field("GroupIndex", &TSpeedButton::FGroupIndex),
        Property<TSpeedButton>("Glyph.Resource",
                               [](TSpeedButton& b, const TPropertyValue& v) {
                                   b.FGlyph.LoadFromResource(GetModuleHandleA(nullptr), v.AsString().c_str());
                               }),
        Field("NumGlyphs", &TSpeedButton::FNumGlyphs),
        Field("Margin", &TSpeedButton::FMargin),
        Field("Spacing", &TSpeedButton::FSpacing),
        EnumField("Layout", &TSpeedButton::FLayout, ButtonLayoutNames),
        Ignored("Flat"),
    });
    return table;
}

} // namespace orbelin
