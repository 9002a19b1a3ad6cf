#pragma once
// The standard controls the program's windows use, over the system's
// BUTTON, EDIT and COMBOBOX window classes, and the painted label.

#include "base/EnumNames.h"
#include "ui/Controls.h"

namespace orbelin {

class TLabel : public TGraphicControl {
public:
    std::string_view ClassName() const override { return "TLabel"; }
    explicit TLabel(TComponent* owner);
    void Paint(TCanvas& canvas) override;
    bool Transparent() const { return FTransparent; }
    bool AutoSize() const { return FAutoSize; }
    const TPropertyTable<TComponent>& Properties() const override;
    void Loaded() override;

protected:
    void CaptionChanged() override;

private:
    // An auto-sized label takes the size of its text in its font, so no
    // font renders it clipped.
    void AdjustBounds();
    bool FTransparent = false;
    bool FAutoSize = true;
};

class TButtonControl : public TWinControl {
public:
    std::string_view ClassName() const override { return "TButtonControl"; }
    using TWinControl::TWinControl;

protected:
    void CommandNotify(WORD code) override;
};

class TButton : public TButtonControl {
public:
    std::string_view ClassName() const override { return "TButton"; }
    explicit TButton(TComponent* owner);
    bool Default() const { return FDefault; }
    // Esc in the form clicks the cancel button.
    bool Cancel() const { return FCancel; }
    const TPropertyTable<TComponent>& Properties() const override;
    int ModalResult = 0;
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    bool FDefault = false;
    bool FCancel = false;
};

enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
inline constexpr TEnumName<TButtonLayout> ButtonLayoutNames[] = {
    {"blGlyphLeft", TButtonLayout::blGlyphLeft},
    {"blGlyphRight", TButtonLayout::blGlyphRight},
    {"blGlyphTop", TButtonLayout::blGlyphTop},
    {"blGlyphBottom", TButtonLayout::blGlyphBottom},
};

// A push button that may carry a glyph; drawn by the skin when one is
// active, which places the glyph by these settings.
class TBitBtn : public TButton {
public:
    std::string_view ClassName() const override { return "TBitBtn"; }
    using TButton::TButton;
    TBitBtnKind Kind() const { return FKind; }
    // Glyph.Resource = 'NAME' names a BITMAP resource of the program; the
    // bitmap holds NumGlyphs images side by side (up, disabled, down, ...).
    TBitmap& Glyph() { return FGlyph; }
    const TBitmap& Glyph() const { return FGlyph; }
    int NumGlyphs() const { return FNumGlyphs; }
    // Pixels between the glyph and the edge; -1 centres glyph and caption.
    int Margin() const { return FMargin; }
    // Pixels between the glyph and the caption.
    int Spacing() const { return FSpacing; }
    TButtonLayout Layout() const { return FLayout; }
    const TPropertyTable<TComponent>& Properties() const override;

private:
    TBitBtnKind FKind = TBitBtnKind::bkCustom;
    TBitmap FGlyph;
    int FNumGlyphs = 1;
    int FMargin = -1;
    int FSpacing = 4;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
};

class TRadioButton : public TButtonControl {
public:
    std::string_view ClassName() const override { return "TRadioButton"; }
    explicit TRadioButton(TComponent* owner);
    bool Checked() const;
    // Checking one unchecks the other radio buttons of the same parent. The
    // checked one is the group's tab stop; arrows move the check.
    void SetChecked(bool checked);
    const TPropertyTable<TComponent>& Properties() const override;
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;

private:
    bool FChecked = false;
};

class TGroupBox : public TWinControl {
public:
    std::string_view ClassName() const override { return "TGroupBox"; }
    explicit TGroupBox(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
};

class ETextCapacityError : public Exception {
public:
    using Exception::Exception;
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Multi-line text box. Setting its text turns lone CR or LF into CR LF and
// fires OnChange only when the text really changes.
class TMemo : public TWinControl {
public:
    std::string_view ClassName() const override { return "TMemo"; }
    explicit TMemo(TComponent* owner);

    std::string Text() const;
    void SetText(const std::string& text);
    void Clear() { SetText(std::string()); }
    // Lines: the whole text split by the line rules.
    std::vector<std::string> Lines() const;

    int SelStart() const;
    int SelLength() const;
    void SetSel(int start, int length);
    void SelectAll();
    void CopyToClipboard();
    void PasteFromClipboard();
    bool ReadOnly() const { return FReadOnly; }
    // A read-only box still selects and copies.
    void SetReadOnly(bool readOnly);

    TNotifyEvent OnChange;
    const TPropertyTable<TComponent>& Properties() const override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void CommandNotify(WORD code) override;
    void WndProc(TMessage& message) override;
    virtual void Change();

private:
    bool FWordWrap = true;
    bool FWantTabs = false;
    bool FReadOnly = false;
    bool FWantReturns = true;
    TScrollStyle FScrollBars = TScrollStyle::ssNone;
};

// One-line text box.
class TEdit : public TWinControl {
public:
    std::string_view ClassName() const override { return "TEdit"; }
    explicit TEdit(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
};

// A check box with its own check state.
class TCheckBox : public TButtonControl {
public:
    std::string_view ClassName() const override { return "TCheckBox"; }
    explicit TCheckBox(TComponent* owner);
    bool Checked() const;
    void SetChecked(bool checked);
    const TPropertyTable<TComponent>& Properties() const override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;

private:
    bool FChecked = false;
};

// Drop-down list; only pick-only lists (csDropDownList) are used.
class TComboBox : public TWinControl {
public:
    std::string_view ClassName() const override { return "TComboBox"; }
    explicit TComboBox(TComponent* owner);

    const std::vector<std::string>& Items() const { return FItems; }
    void SetItems(std::vector<std::string> items);
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The displayed text of the selected item, empty without a selection.
    std::string SelectedText() const;

    TNotifyEvent OnChange;
    const TPropertyTable<TComponent>& Properties() const override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void CommandNotify(WORD code) override;

private:
    std::vector<std::string> FItems;
    int FItemIndex = -1;
    int FDropDownCount = 8;
};

} // namespace orbelin
