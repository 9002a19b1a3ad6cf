#include "ui/StdCtrls.h"

#include "base/PropertyTable.h"
#include "base/StringList.h"

namespace orbelin {

// ------------------------------------------------------------------ TLabel

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {}

void TLabel::Paint(TCanvas& canvas)
{
    const RECT r{0, 0, FWidth, FHeight};
    if (!FTransparent) {
        canvas.BrushColor = FColor;
        canvas.FillRect(r);
    }
    canvas.Font = FFont;
    if (!FEnabled)
        canvas.Font.Color = clGrayText;
    canvas.DrawText(FCaption, r, DT_LEFT | DT_TOP | DT_NOPREFIX);
}

void TLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::CaptionChanged()
{
    AdjustBounds();
    Invalidate();
}

void TLabel::AdjustBounds()
{
    if (!FAutoSize || FCaption.empty())
        return;
    RECT r{0, 0, 0, 0};
    {
        const TWindowDC screen(nullptr);
        const TSelectObject select(screen.Handle(), FFont.Handle());
        ::DrawTextA(screen.Handle(), FCaption.data(), static_cast<int>(FCaption.size()), &r, DT_CALCRECT | DT_NOPREFIX);
    }
    Invalidate();
    SetBounds(FLeft, FTop, r.right - r.left, r.bottom - r.top);
    Invalidate();
}

const TPropertyTable<TComponent>& TLabel::Properties() const
{
    static const TPropertyTable<TComponent> table(TGraphicControl::Properties(), {
        Field("Transparent", &TLabel::FTransparent),
        Field("AutoSize", &TLabel::FAutoSize),
        // The label paints one line at the top; an auto-sized label fits it.
        Ignored("Layout"),
        Ignored("WordWrap"),
    });
    return table;
}

// ---------------------------------------------------------- TButtonControl

void TButtonControl::CommandNotify(WORD code)
{
    if (code == BN_CLICKED)
        Click();
}

// ----------------------------------------------------------------- TButton

TButton::TButton(TComponent* owner) : TButtonControl(owner) {}

void TButton::CreateParams(TCreateParams& params)
{
    TButtonControl::CreateParams(params);
    params.ClassName = "BUTTON";
    params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

const TPropertyTable<TComponent>& TButton::Properties() const
{
    static const TPropertyTable<TComponent> table(TButtonControl::Properties(), {
        Field("Default", &TButton::FDefault),
        Field("Cancel", &TButton::FCancel),
        Field("ModalResult", &TButton::ModalResult),
    });
    return table;
}

void TButton::Click()
{
    if (ModalResult != 0)
        if (IFormHost* form = FormHost())
            form->SetModalResult(ModalResult);
    TButtonControl::Click();
}

namespace {

constexpr TEnumName<TBitBtnKind> BitBtnKindNames[] = {
    {"bkCustom", TBitBtnKind::bkCustom}, {"bkOK", TBitBtnKind::bkOK},       {"bkCancel", TBitBtnKind::bkCancel},
    {"bkHelp", TBitBtnKind::bkHelp},     {"bkYes", TBitBtnKind::bkYes},     {"bkNo", TBitBtnKind::bkNo},
    {"bkClose", TBitBtnKind::bkClose},   {"bkAbort", TBitBtnKind::bkAbort}, {"bkRetry", TBitBtnKind::bkRetry},
    {"bkIgnore", TBitBtnKind::bkIgnore}, {"bkAll", TBitBtnKind::bkAll},
};

} // namespace

const TPropertyTable<TComponent>& TBitBtn::Properties() const
{
    static const TPropertyTable<TComponent> table(TButton::Properties(), {
        EnumField("Kind", &TBitBtn::FKind, BitBtnKindNames),
        Property<TBitBtn>("Glyph.Resource",
                          [](TBitBtn& b, const TPropertyValue& v) {
                              b.FGlyph.LoadFromResource(GetModuleHandleA(nullptr), v.AsString().c_str());
                          }),
        Field("NumGlyphs", &TBitBtn::FNumGlyphs),
        Field("Margin", &TBitBtn::FMargin),
        Field("Spacing", &TBitBtn::FSpacing),
        EnumField("Layout", &TBitBtn::FLayout, ButtonLayoutNames),
    });
    return table;
}

// ------------------------------------------------------------ TRadioButton

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) { FTabStop = false; }

void TRadioButton::CreateParams(TCreateParams& params)
{
    TButtonControl::CreateParams(params);
    params.ClassName = "BUTTON";
    params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::InitializeWnd()
{
    TButtonControl::InitializeWnd();
    SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TRadioButton::Checked() const
{
    if (FHandle)
        return SendMessageA(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return FChecked;
}

void TRadioButton::SetChecked(bool checked)
{
    FChecked = checked;
    SetTabStop(checked);
    if (FHandle)
        SendMessageA(FHandle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (checked && FParent)
        for (int i = 0; i < FParent->ControlCount(); ++i)
            if (auto* other = dynamic_cast<TRadioButton*>(FParent->Controls(i)); other && other != this)
                other->SetChecked(false);
}

void TRadioButton::Click()
{
    SetChecked(true);
    TButtonControl::Click();
}

const TPropertyTable<TComponent>& TRadioButton::Properties() const
{
    static const TPropertyTable<TComponent> table(TButtonControl::Properties(), {
        // The checked radio button is its group's tab stop.
        Property<TRadioButton>("Checked",
                               [](TRadioButton& r, const TPropertyValue& v) {
                                   r.FChecked = v.AsBoolean();
                                   r.FTabStop = r.FChecked;
                               }),
    });
    return table;
}

// --------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) { FTabStop = false; }

void TGroupBox::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.ClassName = "BUTTON";
    params.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
    // Lets the dialog manager tab into the controls inside.
    params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TGroupBox::WndProc(TMessage& message)
{
    if (message.Msg == WM_PAINT) {
        DefaultHandler(message);
        const TWindowDC dc(FHandle);
        PaintGraphicControls(dc.Handle());
        return;
    }
    if (message.Msg == WM_ERASEBKGND) {
        EraseBackground(message);
        return;
    }
    TWinControl::WndProc(message);
}

// ------------------------------------------------------------------- TMemo

TMemo::TMemo(TComponent* owner) : TWinControl(owner)
{
    FColor = clWindow;
    FParentColor = false;
}

void TMemo::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.ClassName = "EDIT";
    params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL;
    if (!FWordWrap)
        params.Style |= ES_AUTOHSCROLL;
    if (FWantReturns)
        params.Style |= ES_WANTRETURN;
    if (FReadOnly)
        params.Style |= ES_READONLY;
    if (FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth)
        params.Style |= WS_VSCROLL;
    if (FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth)
        params.Style |= WS_HSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TMemo::InitializeWnd()
{
    TWinControl::InitializeWnd();
    SendMessageA(FHandle, EM_SETLIMITTEXT, 0, 0); // no limit beyond the control's own
}

std::string TMemo::Text() const { return TWinControl::Text(); }

std::vector<std::string> TMemo::Lines() const { return SplitLines(Text()); }

void TMemo::SetText(const std::string& text)
{
    const std::string adjusted = AdjustLineBreaks(text);
    if (!FHandle) {
        if (adjusted != FCaption) {
            FCaption = adjusted;
            Change();
        }
        return;
    }
    if (adjusted == Text())
        return;
    if (!SendMessageA(FHandle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(adjusted.c_str())))
        throw ETextCapacityError("Text exceeds memo capacity");
    // A multi-line edit sends no EN_CHANGE for WM_SETTEXT.
    Change();
}

int TMemo::SelStart() const
{
    DWORD start = 0;
    if (FHandle)
        SendMessageA(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

int TMemo::SelLength() const
{
    DWORD start = 0, end = 0;
    if (FHandle)
        SendMessageA(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TMemo::SetSel(int start, int length)
{
    if (FHandle)
        SendMessageA(FHandle, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
}

void TMemo::SelectAll()
{
    if (FHandle)
        SendMessageA(FHandle, EM_SETSEL, 0, -1);
}

void TMemo::CopyToClipboard()
{
    if (FHandle)
        SendMessageA(FHandle, WM_COPY, 0, 0);
}

void TMemo::SetReadOnly(bool readOnly)
{
    FReadOnly = readOnly;
    if (FHandle)
        SendMessageA(FHandle, EM_SETREADONLY, readOnly, 0);
}

void TMemo::PasteFromClipboard()
{
    if (FHandle)
        SendMessageA(FHandle, WM_PASTE, 0, 0);
}

void TMemo::WndProc(TMessage& message)
{
    TWinControl::WndProc(message);
    if (message.Msg != WM_GETDLGCODE)
        return;
    // A multi-line edit wants every key. Tab, Esc and (without WantReturns)
    // Return belong to the form, so the focus can leave the box and no key
    // reaches the edit's own dialog handling.
    constexpr auto allKeys = static_cast<LRESULT>(DLGC_WANTALLKEYS);
    switch (message.WParam) {
    case VK_TAB:
        message.Result = FWantTabs ? (message.Result | DLGC_WANTTAB) : (message.Result & ~(allKeys | DLGC_WANTTAB));
        break;
    case VK_RETURN:
        if (!FWantReturns)
            message.Result &= ~allKeys;
        break;
    case VK_ESCAPE: message.Result &= ~allKeys; break;
    default: break;
    }
}

void TMemo::CommandNotify(WORD code)
{
    if (code == EN_CHANGE)
        Change();
}

void TMemo::Change()
{
    if (OnChange)
        OnChange(this);
}

namespace {

constexpr TEnumName<TScrollStyle> ScrollStyleNames[] = {
    {"ssNone", TScrollStyle::ssNone},
    {"ssHorizontal", TScrollStyle::ssHorizontal},
    {"ssVertical", TScrollStyle::ssVertical},
    {"ssBoth", TScrollStyle::ssBoth},
};

} // namespace

const TPropertyTable<TComponent>& TMemo::Properties() const
{
    static const TPropertyTable<TComponent> table(TWinControl::Properties(), {
        Property<TMemo>("Lines.Strings",
                        [](TMemo& m, const TPropertyValue& v) {
                            TStrings lines;
                            for (const auto& line : v.AsStrings())
                                lines.Add(line);
                            std::string text = lines.Text();
                            if (text.size() >= 2)
                                text.resize(text.size() - 2); // the box holds no line end after its last line
                            m.FCaption = text;
                        }),
        Field("WordWrap", &TMemo::FWordWrap),
        Field("ReadOnly", &TMemo::FReadOnly),
        Field("WantReturns", &TMemo::FWantReturns),
        Field("WantTabs", &TMemo::FWantTabs),
        EnumField("ScrollBars", &TMemo::FScrollBars, ScrollStyleNames),
        // The edit control's own limit holds; the input method is the system's.
        Ignored("MaxLength"),
        Ignored("ImeName"),
        Event("OnChange", &TMemo::OnChange),
    });
    return table;
}

// ------------------------------------------------------------------- TEdit

TEdit::TEdit(TComponent* owner) : TWinControl(owner)
{
    FColor = clWindow;
    FParentColor = false;
}

void TEdit::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.ClassName = "EDIT";
    params.Style |= ES_AUTOHSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

// --------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) {}

void TCheckBox::CreateParams(TCreateParams& params)
{
    TButtonControl::CreateParams(params);
    params.ClassName = "BUTTON";
    params.Style |= BS_AUTOCHECKBOX;
}

void TCheckBox::InitializeWnd()
{
    TButtonControl::InitializeWnd();
    SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::Checked() const
{
    return FHandle ? SendMessageA(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED : FChecked;
}

void TCheckBox::SetChecked(bool checked)
{
    FChecked = checked;
    if (FHandle)
        SendMessageA(FHandle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

const TPropertyTable<TComponent>& TCheckBox::Properties() const
{
    static const TPropertyTable<TComponent> table(TButtonControl::Properties(), {
        Field("Checked", &TCheckBox::FChecked),
    });
    return table;
}

// --------------------------------------------------------------- TComboBox

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner)
{
    FColor = clWindow;
    FParentColor = false;
}

void TComboBox::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.ClassName = "COMBOBOX";
    params.Style |= CBS_DROPDOWNLIST | WS_VSCROLL;
}

void TComboBox::InitializeWnd()
{
    TWinControl::InitializeWnd();
    for (const auto& item : FItems)
        SendMessageA(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(FHandle, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
    // The window height includes the drop-down part.
    const int itemHeight = static_cast<int>(SendMessageA(FHandle, CB_GETITEMHEIGHT, 0, 0));
    SetWindowPos(FHandle, nullptr, 0, 0, FWidth, FHeight + itemHeight * FDropDownCount + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::SetItems(std::vector<std::string> items)
{
    FItems = std::move(items);
    if (FHandle) {
        SendMessageA(FHandle, CB_RESETCONTENT, 0, 0);
        for (const auto& item : FItems)
            SendMessageA(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    FItemIndex = -1;
}

int TComboBox::ItemIndex() const
{
    if (FHandle)
        return static_cast<int>(SendMessageA(FHandle, CB_GETCURSEL, 0, 0));
    return FItemIndex;
}

void TComboBox::SetItemIndex(int index)
{
    FItemIndex = index;
    if (FHandle)
        SendMessageA(FHandle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string TComboBox::SelectedText() const
{
    const int index = ItemIndex();
    if (index < 0 || index >= static_cast<int>(FItems.size()))
        return {};
    return FItems[static_cast<size_t>(index)];
}

void TComboBox::CommandNotify(WORD code)
{
    if (code == CBN_SELCHANGE && OnChange)
        OnChange(this);
}

const TPropertyTable<TComponent>& TComboBox::Properties() const
{
    static const TPropertyTable<TComponent> table(TWinControl::Properties(), {
        Field("Items.Strings", &TComboBox::FItems),
        Field("ItemIndex", &TComboBox::FItemIndex),
        Field("DropDownCount", &TComboBox::FDropDownCount),
        // A pick-only list of the system's item height.
        Ignored("Style"),
        Ignored("ItemHeight"),
        Ignored("ImeName"),
        Event("OnChange", &TComboBox::OnChange),
    });
    return table;
}

} // namespace orbelin
