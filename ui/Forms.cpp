#include "ui/Forms.h"

#include "base/FormDescription.h"
#include "base/PropertyTable.h"
#include "base/ScopeExit.h"
#include "ui/CallbackException.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

#include <commctrl.h>

#include <algorithm>

namespace orbelin {

TForm::TForm(TComponent* owner) : TWinControl(owner)
{
    FVisible = false;
    FTabStop = false;
    ApplicationHost().AddForm(this);
}

TForm::~TForm()
{
    ApplicationHost().RemoveForm(this);
    // Controls and components of the form go while its window still exists.
    DestroyComponents();
    DestroyHandle();
}

void TForm::RegisterMethod(std::string name, TNotifyEvent handler) { FMethods[std::move(name)] = std::move(handler); }

TNotifyEvent TForm::FindMethod(std::string_view name) const
{
    const auto found = FMethods.find(name);
    return found == FMethods.end() ? TNotifyEvent() : found->second;
}

void TForm::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.ClassName = OwnWindowClass(std::string(ClassName()));
    params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    params.ExStyle = 0;
    const bool sysMenu = FBorderIcons & biSystemMenu;
    switch (FBorderStyle) {
    case TFormBorderStyle::bsNone: params.Style |= WS_POPUP; break;
    case TFormBorderStyle::bsDialog:
        params.Style |= WS_CAPTION | DS_MODALFRAME | (sysMenu ? WS_SYSMENU : 0);
        params.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsToolWindow:
        params.Style |= WS_CAPTION | (sysMenu ? WS_SYSMENU : 0);
        break;
    case TFormBorderStyle::bsSizeable:
    case TFormBorderStyle::bsSizeToolWin:
        params.Style |= WS_CAPTION | WS_THICKFRAME | (sysMenu ? WS_SYSMENU : 0);
        break;
    }
    if (sysMenu && FBorderStyle != TFormBorderStyle::bsDialog) {
        if (FBorderIcons & biMinimize)
            params.Style |= WS_MINIMIZEBOX;
        if (FBorderIcons & biMaximize)
            params.Style |= WS_MAXIMIZEBOX;
    }
    if (FAlphaBlend)
        params.ExStyle |= WS_EX_LAYERED;
    // Secondary forms belong to the main form: they stay above it and share its taskbar button.
    TForm* main = ApplicationHost().MainForm();
    params.ParentWindow = (main && main != this) ? main->Handle() : nullptr;
    if (!params.ParentWindow)
        params.ExStyle |= WS_EX_APPWINDOW;

    RECT r{0, 0, FClientWidth ? FClientWidth : FWidth, FClientHeight ? FClientHeight : FHeight};
    if (FClientWidth || FClientHeight)
        AdjustWindowRectEx(&r, params.Style, FALSE, params.ExStyle);
    FWidth = r.right - r.left;
    FHeight = r.bottom - r.top;
}

void TForm::InitializeWnd()
{
    TWinControl::InitializeWnd();
    if (FAlphaBlend)
        SetLayeredWindowAttributes(FHandle, 0, static_cast<BYTE>(FAlphaBlendValue), LWA_ALPHA);
    if (FIcon.Handle()) {
        SendMessageA(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon.Handle()));
        SendMessageA(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(FIcon.Handle()));
    }
    if (FMenu)
        ::SetMenu(FHandle, FMenu->Handle());
    // The window's real client size decides; the border metrics (and a menu bar) may differ.
    if (FClientWidth && FClientHeight) {
        RECT client;
        GetClientRect(FHandle, &client);
        FWidth += FClientWidth - (client.right - client.left);
        FHeight += FClientHeight - (client.bottom - client.top);
        SetWindowPos(FHandle, nullptr, 0, 0, FWidth, FHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TForm::CreateHints()
{
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(Components(i));
        if (!control || !control->ShowHint() || control->Hint().empty() || !control->Parent())
            continue;
        if (!FHintWindow)
            FHintWindow = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0,
                                          0, FHandle, nullptr, GetModuleHandleA(nullptr), nullptr);
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = control->IsWindowed() ? static_cast<TWinControl*>(control)->Handle() : control->Parent()->Handle();
        tool.uId = static_cast<UINT_PTR>(i);
        if (control->IsWindowed())
            GetClientRect(tool.hwnd, &tool.rect);
        else
            tool.rect = control->BoundsRect();
        std::string text = control->Hint();
        tool.lpszText = text.data();
        SendMessageA(FHintWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

std::optional<POINT> TForm::PlacedOrigin(int width, int height) const
{
    if (FPosition == TPosition::poDesigned || FPosition == TPosition::poDefault)
        return std::nullopt;
    TForm* main = ApplicationHost().MainForm();
    HWND anchor = (main && main != this && main->HandleAllocated()) ? main->WindowHandle() : nullptr;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    HMONITOR monitor = anchor ? MonitorFromWindow(anchor, MONITOR_DEFAULTTONEAREST)
                              : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (monitor && GetMonitorInfoA(monitor, &info))
        area = info.rcMonitor;
    if ((FPosition == TPosition::poMainFormCenter || FPosition == TPosition::poOwnerFormCenter) && anchor)
        GetWindowRect(anchor, &area);
    return POINT{area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
}

void TForm::ApplyPosition()
{
    RECT window;
    GetWindowRect(FHandle, &window);
    const auto origin = PlacedOrigin(window.right - window.left, window.bottom - window.top);
    if (!origin)
        return;
    FLeft = origin->x;
    FTop = origin->y;
    SetWindowPos(FHandle, nullptr, FLeft, FTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Show()
{
    SetVisible(true);
    if (HandleAllocated()) {
        SetForegroundWindow(FHandle);
        SetActiveWindow(FHandle);
    }
}

void TForm::Hide() { SetVisible(false); }

void TForm::VisibleChanged()
{
    if (!HandleAllocated())
        return;
    // Placed at every showing: the main window may have moved to another monitor meanwhile.
    if (FVisible)
        ApplyPosition();
    ShowWindow(FHandle, FVisible ? SW_SHOW : SW_HIDE);
    if (FVisible && OnShow)
        OnShow(this);
}

namespace {
// Disables the thread's other visible windows for a modal loop and enables
// them again on every path out of it.
class TDisabledWindows {
public:
    explicit TDisabledWindows(HWND except) : FExcept(except)
    {
        EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
        if (FError.Failed()) {
            Restore();
            FError.Rethrow();
        }
    }
    ~TDisabledWindows() { Restore(); }
    TDisabledWindows(const TDisabledWindows&) = delete;
    TDisabledWindows& operator=(const TDisabledWindows&) = delete;

private:
    void Restore()
    {
        for (HWND w : FWindows)
            if (IsWindow(w))
                EnableWindow(w, TRUE);
    }
    static BOOL CALLBACK Collect(HWND window, LPARAM self)
    {
        auto* me = reinterpret_cast<TDisabledWindows*>(self);
        return me->FError.Run([&] {
            if (window != me->FExcept && IsWindowVisible(window) && IsWindowEnabled(window)) {
                me->FWindows.push_back(window);
                EnableWindow(window, FALSE);
            }
            return TRUE;
        });
    }
    HWND FExcept;
    std::vector<HWND> FWindows;
    TCallbackException FError;
};
} // namespace

int TForm::ShowModal()
{
    if (FVisible || FModal)
        throw Exception("Cannot make a visible window modal");
    HWND previous = GetActiveWindow();
    ModalResult = mrNone;
    {
        // On every way out: the form hidden, no longer modal, the other windows enabled.
        FModal = true;
        const TScopeExit modal([this] {
            FModal = false;
            Hide();
        });
        TDisabledWindows disabled(Handle());
        Show();
        while (ModalResult == mrNone) {
            if (!ApplicationHost().HandleMessage(true) || ApplicationHost().Terminated())
                ModalResult = mrCancel;
        }
    }
    if (previous && IsWindow(previous))
        SetActiveWindow(previous);
    return ModalResult;
}

void TForm::Close()
{
    if (OnClose)
        OnClose(this);
    if (ApplicationHost().MainForm() == this)
        ApplicationHost().Terminate();
    else if (FModal)
        ModalResult = mrCancel;
    else
        Hide();
}

void TForm::SetActiveControl(TWinControl* control)
{
    if (FActiveControl == control)
        return;
    if (FActiveControl)
        FActiveControl->RemoveFreeNotification(this);
    FActiveControl = control;
    if (FActiveControl)
        FActiveControl->FreeNotification(this);
}

void TForm::Loaded()
{
    TWinControl::Loaded();
    if (!FMenuName.empty()) {
        auto* menu = dynamic_cast<TMainMenu*>(FindComponent(FMenuName));
        if (!menu)
            throw EFormDescriptionError("Form " + Name() + ": no menu " + FMenuName);
        SetMenu(menu);
    }
}

void TForm::SetMenu(TMainMenu* menu)
{
    if (FMenu)
        FMenu->RemoveFreeNotification(this);
    FMenu = menu;
    if (FMenu)
        FMenu->FreeNotification(this);
    if (FHandle) {
        ::SetMenu(FHandle, FMenu ? FMenu->Handle() : nullptr);
        DrawMenuBar(FHandle);
    }
}

void TForm::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FMenu)
        FMenu = nullptr;
    if (operation == TOperation::opRemove && component == FActiveControl)
        FActiveControl = nullptr;
}

void TForm::FocusActiveControl()
{
    TWinControl* target = FActiveControl;
    if (!target || !target->CanFocus() || !IsChild(FHandle, target->WindowHandle()))
        target = FindNextControl(nullptr, true);
    if (target)
        target->SetFocus();
    else
        ::SetFocus(FHandle);
}

TButton* TForm::FindButton(bool cancel) const
{
    for (TWinControl* control : TabOrderList()) {
        auto* button = dynamic_cast<TButton*>(control);
        if (button && (cancel ? button->Cancel() : button->Default()) && button->CanFocus())
            return button;
    }
    return nullptr;
}

// Arrows move among controls of one kind in the same parent: the check
// among radio buttons, the focus among push buttons.
bool TForm::ArrowKey(TWinControl& focused, bool forward)
{
    const bool radio = dynamic_cast<TRadioButton*>(&focused) != nullptr;
    if (!radio && !dynamic_cast<TButton*>(&focused))
        return false;
    auto sameKind = [radio](TControl* c) {
        return radio ? dynamic_cast<TRadioButton*>(c) != nullptr : dynamic_cast<TButton*>(c) != nullptr;
    };
    std::vector<TWinControl*> group;
    for (TWinControl* c : focused.Parent()->TabOrderList())
        if (c->Parent() == focused.Parent() && sameKind(c))
            group.push_back(c);
    if (!forward)
        std::reverse(group.begin(), group.end());
    const auto at = std::find(group.begin(), group.end(), &focused);
    const size_t start = static_cast<size_t>(at - group.begin()) + 1;
    for (size_t i = 0; i + 1 < group.size(); ++i) {
        TWinControl* next = group[(start + i) % group.size()];
        if (!next->CanFocus())
            continue;
        next->SetFocus();
        // The button control reports a radio button focused by the keyboard
        // as clicked; should it not, the check still follows the focus.
        if (auto* button = dynamic_cast<TRadioButton*>(next); button && !button->Checked())
            button->Click();
        return true;
    }
    return true;
}

namespace {

TShortCut ShortCutOfKey(WPARAM key)
{
    TShortCut shortCut = static_cast<TShortCut>(key & 0xFF);
    if (GetKeyState(VK_SHIFT) < 0)
        shortCut |= scShift;
    if (GetKeyState(VK_CONTROL) < 0)
        shortCut |= scCtrl;
    if (GetKeyState(VK_MENU) < 0)
        shortCut |= scAlt;
    return shortCut;
}

TMenuItem* FindShortCutBelow(const TComponent& owner, TShortCut shortCut)
{
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        TComponent* component = owner.Components(i);
        TMenuItem* found = nullptr;
        if (auto* popup = dynamic_cast<TPopupMenu*>(component))
            found = popup->Items().FindShortCut(shortCut);
        else if (auto* menu = dynamic_cast<TMainMenu*>(component))
            found = menu->Items().FindShortCut(shortCut);
        else
            found = FindShortCutBelow(*component, shortCut);
        if (found)
            return found;
    }
    return nullptr;
}

} // namespace

bool TForm::IsShortCut(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    const TShortCut shortCut = ShortCutOfKey(msg.wParam);
    TMenuItem* item = FMenu ? FMenu->Items().FindShortCut(shortCut) : nullptr;
    if (!item)
        item = FindShortCutBelow(*this, shortCut);
    if (!item)
        return false;
    item->Click();
    return true;
}

bool TForm::DialogKey(TWinControl& focused, const MSG& msg)
{
    UINT wanted = 0;
    switch (msg.wParam) {
    case VK_TAB: wanted = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: wanted = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_ESCAPE: wanted = DLGC_WANTALLKEYS; break;
    default: return false;
    }
    if (GetKeyState(VK_MENU) < 0 || GetKeyState(VK_CONTROL) < 0)
        return false;
    const auto code = static_cast<UINT>(
        SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)));
    if (code & (wanted | DLGC_WANTMESSAGE))
        return false;

    switch (msg.wParam) {
    case VK_TAB:
        if (TWinControl* next = FindNextControl(&focused, GetKeyState(VK_SHIFT) >= 0))
            next->SetFocus();
        return true;
    case VK_LEFT:
    case VK_UP:
        return ArrowKey(focused, false);
    case VK_RIGHT:
    case VK_DOWN:
        return ArrowKey(focused, true);
    case VK_RETURN: {
        auto* button = dynamic_cast<TButton*>(&focused);
        if (!button)
            button = FindButton(false);
        if (!button)
            return false;
        button->Click();
        return true;
    }
    default: // VK_ESCAPE
        if (TButton* cancel = FindButton(true))
            cancel->Click();
        else if (FModal)
            Close();
        // A main window ignores Esc; the key never reaches an edit that
        // would pass it on as a close request.
        return true;
    }
}

void TForm::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case WM_ACTIVATE:
        if (LOWORD(message.WParam) != WA_INACTIVE && !HIWORD(message.WParam)) {
            // Not the default, which gives the focus to the form itself and
            // so to no control: keys would reach no button.
            FocusActiveControl();
            return;
        }
        break;
    case WM_SETFOCUS:
        FocusActiveControl();
        return;
    case WM_ERASEBKGND:
        EraseBackground(message);
        return;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(FHandle, &ps);
        PaintGraphicControls(dc);
        EndPaint(FHandle, &ps);
        return;
    }
    case WM_COMMAND:
        // A command of the menu bar: no control, no notification code.
        if (message.LParam == 0 && HIWORD(message.WParam) == 0 && FMenu) {
            if (TMenuItem* item = FMenu->FindCommand(LOWORD(message.WParam))) {
                item->Click();
                return;
            }
        }
        break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        if (HandleMenuItemMessage(FHandle, message.Msg, message.LParam)) {
            message.Result = TRUE;
            return;
        }
        break;
    case WM_NCDESTROY:
        // The window frees its menu with it.
        if (FMenu)
            FMenu->ReleaseHandle();
        break;
    default:
        break;
    }
    TWinControl::WndProc(message);
}

namespace {

constexpr TEnumName<TFormBorderStyle> BorderStyleNames[] = {
    {"bsNone", TFormBorderStyle::bsNone},
    {"bsSingle", TFormBorderStyle::bsSingle},
    {"bsSizeable", TFormBorderStyle::bsSizeable},
    {"bsDialog", TFormBorderStyle::bsDialog},
    {"bsToolWindow", TFormBorderStyle::bsToolWindow},
    {"bsSizeToolWin", TFormBorderStyle::bsSizeToolWin},
};

constexpr TEnumName<TBorderIcon> BorderIconNames[] = {
    {"biSystemMenu", biSystemMenu},
    {"biMinimize", biMinimize},
    {"biMaximize", biMaximize},
    {"biHelp", biHelp},
};

constexpr TEnumName<TPosition> PositionNames[] = {
    {"poDesigned", TPosition::poDesigned},
    {"poDefault", TPosition::poDefault},
    {"poScreenCenter", TPosition::poScreenCenter},
    {"poDesktopCenter", TPosition::poDesktopCenter},
    {"poMainFormCenter", TPosition::poMainFormCenter},
    {"poOwnerFormCenter", TPosition::poOwnerFormCenter},
};

} // namespace

const TPropertyTable<TComponent>& TForm::Properties() const
{
    static const TPropertyTable<TComponent> table(TWinControl::Properties(), {
        Field("ClientWidth", &TForm::FClientWidth),
        Field("ClientHeight", &TForm::FClientHeight),
        EnumField("BorderStyle", &TForm::FBorderStyle, BorderStyleNames),
        FlagsField("BorderIcons", &TForm::FBorderIcons, BorderIconNames),
        EnumField("Position", &TForm::FPosition, PositionNames),
        Property<TForm>("Menu", [](TForm& f, const TPropertyValue& v) { f.FMenuName = v.AsString(); }),
        Field("AlphaBlend", &TForm::FAlphaBlend),
        Field("AlphaBlendValue", &TForm::FAlphaBlendValue),
        Property<TForm>("Icon.Resource",
                        [](TForm& f, const TPropertyValue& v) {
                            f.FIcon.LoadFromResource(GetModuleHandleA(nullptr), v.AsString().c_str(), 0);
                        }),
        // Values of the designer.
        Ignored("OldCreateOrder"),
        Ignored("PixelsPerInch"),
        Ignored("TextHeight"),
        Ignored("Scaled"),
        Event("OnCreate", &TForm::OnCreate),
        Event("OnShow", &TForm::OnShow),
        Event("OnClose", &TForm::OnClose),
    });
    return table;
}

} // namespace orbelin
