#pragma once
// Top-level windows. A form reads its layout, texts and settings from its
// form description resource; the derived class only registers its event
// handlers and reacts to events.

#include "ui/Controls.h"

#include <map>
#include <memory>
#include <optional>

namespace orbelin {

class TButton;
class TMainMenu;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };

inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

class TForm : public TWinControl, public IFormHost {
public:
    std::string_view ClassName() const override { return "TForm"; }
    explicit TForm(TComponent* owner);
    ~TForm() override;

    void Show();
    void Hide();
    // Shows the form and runs a nested message loop until ModalResult is set;
    // the program's other windows take no input meanwhile.
    int ShowModal();
    // Main form: ends the application; modal form: ends the modal loop; else hides.
    void Close();
    // Places the window as its Position says (centred on the monitor of
    // the main window, ...); done at every showing and after the skin
    // changes the outer size.
    void ApplyPosition();
    // Where the window's top-left corner goes for that outer size, as
    // Position says; nothing for a form placed by its description or the
    // system. Lets a caller resize and place in one move.
    std::optional<POINT> PlacedOrigin(int width, int height) const;
    bool Modal() const { return FModal; }
    int ModalResult = mrNone;

    int ClientWidth() const { return FClientWidth; }
    int ClientHeight() const { return FClientHeight; }
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    unsigned BorderIcons() const { return FBorderIcons; }
    TPosition Position() const { return FPosition; }
    bool AlphaBlend() const { return FAlphaBlend; }
    int AlphaBlendValue() const { return FAlphaBlendValue; }
    HICON Icon() const { return FIcon.Handle(); }

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

    // The control that has (or last had) the focus in this form; it gets
    // the focus back when the form is activated again.
    TWinControl* ActiveControl() const { return FActiveControl; }
    // The form's menu bar (not owned; forgotten when freed).
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* menu);
    void SetActiveControl(TWinControl* control) override;
    TForm* Form() override { return this; }
    void SetModalResult(int result) override { ModalResult = result; }
    // Tab, arrow, Return and Esc keys as a dialog user expects them, for a
    // key the focused control does not want itself. True when taken.
    bool DialogKey(TWinControl& focused, const MSG& msg);
    // A key that an item of one of this form's menus (the menu bar, or a
    // popup menu owned anywhere below the form) names as its shortcut runs
    // that item, whether the menu is shown or not. True when taken.
    bool IsShortCut(const MSG& msg);

    // Event handlers by name, for the form description's "OnClick = X".
    TNotifyEvent FindMethod(std::string_view name) const;
    const TPropertyTable<TComponent>& Properties() const override;

    // The component of this form with the given name and class; raises when
    // the description lacks it.
    template <class T>
    T* Child(std::string_view name) const
    {
        auto* c = dynamic_cast<T*>(FindComponent(name));
        if (!c)
            throw Exception("Form " + Name() + " has no component " + std::string(name));
        return c;
    }

protected:
    void RegisterMethod(std::string name, TNotifyEvent handler);
    // Reads the RCDATA resource resourceName into this form and its components,
    // then creates the window (hidden).
    void ReadDescription(const char* resourceName);
    void ReadDescriptionText(std::string_view text);

    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;
    void VisibleChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

private:
    // Gives the focus to the active control, or to the first tab stop.
    void FocusActiveControl();
    // The visible, enabled button whose Default (or Cancel) property is set.
    TButton* FindButton(bool cancel) const;
    bool ArrowKey(TWinControl& focused, bool forward);
    // Tooltips for the controls that show a hint.
    void CreateHints();

    std::map<std::string, TNotifyEvent, std::less<>> FMethods;
    TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
    unsigned FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition FPosition = TPosition::poDesigned;
    int FClientWidth = 0;
    int FClientHeight = 0;
    bool FAlphaBlend = false;
    int FAlphaBlendValue = 255;
    bool FModal = false;
    TWinControl* FActiveControl = nullptr;
    TMainMenu* FMenu = nullptr;
    std::string FMenuName; // from the description, found once all components exist
    TIcon FIcon;
    HWND FHintWindow = nullptr;
};

} // namespace orbelin
