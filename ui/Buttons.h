#pragma once
// The speed button: a button without a window, painted by its parent, that
// may stay down.

#include "ui/Controls.h"
#include "ui/StdCtrls.h"

namespace orbelin {

class TSpeedButton : public TGraphicControl {
public:
    std::string_view ClassName() const override { return "TSpeedButton"; }
    explicit TSpeedButton(TComponent* owner);

    bool Down() const { return FDown; }
    void SetDown(bool down);
    // A button of a group (GroupIndex > 0) stays down when clicked.
    int GroupIndex() const { return FGroupIndex; }
    TBitmap& Glyph() { return FGlyph; }
    const TBitmap& Glyph() const { return FGlyph; }
    int NumGlyphs() const { return FNumGlyphs; }
    TButtonLayout Layout() const { return FLayout; }
    int Margin() const { return FMargin; }
    int Spacing() const { return FSpacing; }
    // Held by the mouse at this moment.
    bool Pressed() const { return FPressed; }

    void Paint(TCanvas& canvas) override;
    void Click() override;
    const TPropertyTable<TComponent>& Properties() const override;

protected:
    void WndProc(TMessage& message) override;

private:
    bool FDown = false;
    bool FPressed = false;
    int FGroupIndex = 0;
    TBitmap FGlyph;
    int FNumGlyphs = 1;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
};

} // namespace orbelin
