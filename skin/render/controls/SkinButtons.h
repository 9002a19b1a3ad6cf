#pragma once
// Skinned buttons: push buttons, bitmap buttons, speed buttons, check
// boxes, radio buttons, group boxes, and the panel box that only takes the
// skin's colour.

#include "skin/render/controls/SkinCtrls.h"

namespace orbelin {

class TSkinButton : public TSkinControl {
public:
    std::string_view ClassName() const override { return "TSkinButton"; }
    explicit TSkinButton(TComponent* owner);
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

    // The frame of the Buttons strip a push button shows: 2 pressed, 4 hot
    // or focused, 1 normal; a disabled button always 3.
    static int FrameFor(bool enabled, bool pressed, bool hot, bool focused);

protected:
    void Click();
    TBitmap FBitmap;
};

class TSkinBitButton : public TSkinButton {
public:
    std::string_view ClassName() const override { return "TSkinBitButton"; }
    using TSkinButton::TSkinButton;
    void Draw(HDC dc, const RECT& rect) override;
};

// A speed button has no window: it is hooked through its WindowProc only
// and paints on the DC its parent hands it.
class TSkinSpeedButton : public TSkinBitButton {
public:
    std::string_view ClassName() const override { return "TSkinSpeedButton"; }
    using TSkinBitButton::TSkinBitButton;
    void AttachControl(ISkinControlHost* host, TSkinData* skin, bool setColour, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Refresh() override;
};

// How a bitmap or speed button looks in one state.
struct TGlyphButtonFace {
    int State = 1; // 1 normal, 2 pressed, 3 disabled, 4 hot or focused
    std::string Caption;
    HFONT Font = nullptr;
    TColor FontColour = clBtnText;
    bool Enabled = true;
    const TBitmap* Glyph = nullptr;
    int NumGlyphs = 1;
    TGlyphSide Side = TGlyphSide::Left;
    int Margin = -1;
    int Spacing = 4;
    // A speed button takes the image of its state from any glyph that has it.
    bool AnyImageCount = false;
};
// The Buttons element, the glyph and the caption, composed off-screen and
// copied to rect.
void DrawGlyphButton(HDC dc, const RECT& rect, const TSkinData& skin, const TGlyphButtonFace& face);

class TSkinCheckBox : public TSkinControl {
public:
    std::string_view ClassName() const override { return "TSkinCheckBox"; }
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
};

class TSkinRadioButton : public TSkinControl {
public:
    std::string_view ClassName() const override { return "TSkinRadioButton"; }
    using TSkinControl::TSkinControl;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
};

class TSkinGroupBox : public TSkinControl {
public:
    std::string_view ClassName() const override { return "TSkinGroupBox"; }
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
};

// Panels and embedded forms: the skin's face colour, nothing drawn.
class TSkinBox : public TSkinControl {
public:
    std::string_view ClassName() const override { return "TSkinBox"; }
    using TSkinControl::TSkinControl;
    void AttachControl(ISkinControlHost* host, TSkinData* skin, bool setColour, TCanvas* canvas) override;
    void Detach() override;
    void AfterMessage(TMessage&) override {}
};

} // namespace orbelin
