// The component layer where its faults would hide: messages through a
// replaced window procedure, the order things are destroyed in (also while
// a control's own window procedure runs), the modal loop's way out on an
// exception, and what the form reader says about a bad description.

#include "tests/win/RealInput.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Application.h"
#include "ui/ExtCtrls.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace orbelin {
namespace {

class TLayerForm : public TForm {
public:
    explicit TLayerForm(TComponent* owner) : TForm(owner) {}
    void On(std::string name, TNotifyEvent handler) { RegisterMethod(std::move(name), std::move(handler)); }
    void Read(std::string_view text) { ReadDescriptionText(text); }
};

// Forms of one test, freed at its end unless the test frees them itself.
class ComponentLayer : public ::testing::Test {
protected:
    void SetUp() override { Application().Initialize(); }
    void TearDown() override
    {
        for (TLayerForm* form : FForms)
            if (form)
                delete form;
        test::Pump(50);
    }

    TLayerForm* NewForm(std::string_view text, const std::function<void(TLayerForm&)>& methods = nullptr)
    {
        auto* form = new TLayerForm(&Application());
        FForms.push_back(form);
        if (methods)
            methods(*form);
        form->Read(text);
        return form;
    }
    // For a test that frees a form itself.
    void Forget(TLayerForm* form) { std::replace(FForms.begin(), FForms.end(), form, static_cast<TLayerForm*>(nullptr)); }

    static std::string Button(const char* name, int top, const char* extra = "")
    {
        return std::string("  object ") + name + ": TButton\n    Left = 10\n    Top = " + std::to_string(top) +
               "\n    Width = 80\n    Height = 24\n    Caption = '" + name + "'\n" + extra + "  end\n";
    }
    static std::string FormText(const std::string& body, const char* extra = "")
    {
        return "object F: TLayerForm\n  ClientWidth = 240\n  ClientHeight = 160\n" + std::string(extra) + body + "end\n";
    }

private:
    std::vector<TLayerForm*> FForms;
};

// ---- Message routing through a replaced window procedure

TEST_F(ComponentLayer, AReplacedWindowProcedureSeesMessagesFirstChainsAndIsRestored)
{
    TLayerForm* form = NewForm(FormText(Button("Target", 10)));
    auto* button = form->Child<TButton>("Target");
    const HWND window = button->WindowHandle();
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)), &TWinControl::StaticWndProc)
        << "the system's messages reach the control's WindowProc";

    std::vector<UINT> seen;
    const TWndMethod saved = button->WindowProc;
    button->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_SETTEXT && std::string(reinterpret_cast<const char*>(m.LParam)) == "Swallowed") {
            m.Result = TRUE;
            return; // handled here: the saved procedure never sees it
        }
        saved(m);
    };

    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Chained"));
    EXPECT_EQ(WindowText(window), "Chained") << "what the hook passes on reaches the button";
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Swallowed"));
    EXPECT_EQ(WindowText(window), "Chained") << "what the hook keeps does not";
    button->SetEnabled(false);
    EXPECT_NE(std::find(seen.begin(), seen.end(), CM_ENABLEDCHANGED), seen.end())
        << "component messages take the same road";
    EXPECT_FALSE(IsWindowEnabled(window));

    button->WindowProc = saved;
    seen.clear();
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Restored"));
    button->SetEnabled(true);
    EXPECT_TRUE(seen.empty()) << "the restored procedure is the only one";
    EXPECT_EQ(WindowText(window), "Restored");
    EXPECT_TRUE(IsWindowEnabled(window));
}

TEST_F(ComponentLayer, TwoHooksChainInTheOrderTheyWereInstalled)
{
    TLayerForm* form = NewForm(FormText(Button("Target", 10)));
    auto* button = form->Child<TButton>("Target");
    std::string order;
    const TWndMethod original = button->WindowProc;
    button->WindowProc = [&, original](TMessage& m) {
        if (m.Msg == CM_MOUSEENTER)
            order += "first ";
        original(m);
    };
    const TWndMethod first = button->WindowProc;
    button->WindowProc = [&, first](TMessage& m) {
        if (m.Msg == CM_MOUSEENTER)
            order += "second ";
        first(m);
    };
    button->Perform(CM_MOUSEENTER);
    EXPECT_EQ(order, "second first ");
    button->WindowProc = original;
}

// ---- Destruction order

std::vector<std::string>* gLog = nullptr;

// Records, as it goes, whether its parent's window and its own still exist.
class TProbeButton : public TButton {
public:
    using TButton::TButton;
    ~TProbeButton() override
    {
        if (gLog)
            gLog->push_back(Name() + (Parent() && IsWindow(Parent()->WindowHandle()) ? " parent window" : " no parent") +
                            (IsWindow(WindowHandle()) ? ", own window" : ", no window"));
    }
};

class TWatcher : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<std::string> Forgotten;

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        if (operation == TOperation::opRemove)
            Forgotten.push_back(component->Name());
    }
};

TEST_F(ComponentLayer, AFormFreesItsControlsLastFirstWhileItsWindowStillExists)
{
    RegisterComponentClass<TProbeButton>("TProbeButton");
    std::vector<std::string> log;
    gLog = &log;
    TLayerForm* form = NewForm("object F: TLayerForm\n"
                               "  object GroupBox: TGroupBox\n    Width = 200\n    Height = 100\n"
                               "    object Inner: TProbeButton\n      Width = 50\n      Height = 20\n    end\n"
                               "  end\n"
                               "  object A: TProbeButton\n    Top = 110\n    Width = 50\n    Height = 20\n  end\n"
                               "  object B: TProbeButton\n    Top = 110\n    Left = 60\n    Width = 50\n    Height = 20\n  end\n"
                               "end\n");
    TWatcher watcher(nullptr);
    watcher.FreeNotification(form->Child<TButton>("A"));
    watcher.FreeNotification(form->Child<TButton>("Inner"));
    Forget(form);
    delete form;
    gLog = nullptr;
    EXPECT_EQ(log, (std::vector<std::string>{"B parent window, own window", "A parent window, own window",
                                             "Inner parent window, own window"}))
        << "owned components go last created first, each while the window it sits on exists";
    EXPECT_EQ(watcher.Forgotten, (std::vector<std::string>{"A", "Inner"})) << "free notifications";
}

TEST_F(ComponentLayer, AWatcherFreedFirstIsForgottenByWhatItWatched)
{
    TLayerForm* form = NewForm(FormText(Button("Target", 10)));
    // The watcher lives in storage the test keeps. Once it is freed, a fresh
    // watcher takes its place at the same address, so a pointer the target
    // still kept would reach it (and be recorded) instead of freed memory.
    alignas(TWatcher) std::byte storage[sizeof(TWatcher)];
    auto* watcher = new (storage) TWatcher(nullptr);
    watcher->FreeNotification(form->Child<TButton>("Target"));
    watcher->~TWatcher();
    auto* successor = new (storage) TWatcher(nullptr);
    Forget(form);
    delete form;
    EXPECT_TRUE(successor->Forgotten.empty()) << "the target told a freed watcher of its end";
    successor->~TWatcher();
}

TEST_F(ComponentLayer, AControlFreedByItsOwnClickIsGoneAndTheFormGoesOn)
{
    TLayerForm* form = NewForm(FormText(Button("Doomed", 10, "    OnClick = Free\n") +
                                        Button("Other", 40, "    OnClick = Count\n")),
                               [&](TLayerForm& f) {
                                   f.On("Free", [](TObject* sender) { delete static_cast<TButton*>(sender); });
                                   f.On("Count", [form = &f](TObject*) { form->Tag++; });
                               });
    const HWND doomed = form->Child<TButton>("Doomed")->WindowHandle();
    const int controls = form->ControlCount();
    // BM_CLICK runs the button's own procedure, which sends the click to the
    // form, whose handler frees the button: the procedure returns into a
    // control that no longer exists.
    SendMessageA(doomed, BM_CLICK, 0, 0);
    EXPECT_TRUE(test::WaitFor([&] { return !IsWindow(doomed); }, 2000));
    EXPECT_EQ(form->FindComponent("Doomed"), nullptr);
    EXPECT_EQ(form->ControlCount(), controls - 1);
    SendMessageA(form->Child<TButton>("Other")->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->Tag, 1) << "the form still works";
}

TEST_F(ComponentLayer, AFormFreedByAClickOnOneOfItsButtonsGoesWhole)
{
    TLayerForm* form = nullptr;
    form = NewForm(FormText(Button("Close", 10, "    OnClick = FreeForm\n")), [&](TLayerForm& f) {
        f.On("FreeForm", [&](TObject*) {
            Forget(form);
            delete form;
        });
    });
    const HWND formWindow = form->WindowHandle();
    const HWND buttonWindow = form->Child<TButton>("Close")->WindowHandle();
    SendMessageA(buttonWindow, BM_CLICK, 0, 0);
    EXPECT_TRUE(test::WaitFor([&] { return !IsWindow(buttonWindow); }, 2000));
    EXPECT_FALSE(IsWindow(formWindow));
    EXPECT_EQ(std::count(Application().Forms().begin(), Application().Forms().end(), form), 0);
}

// ---- The modal loop

TEST_F(ComponentLayer, AModalFormDisablesTheOtherWindowsAndEnablesThemAfter)
{
    TLayerForm* first = NewForm(FormText(""));
    TLayerForm* second = NewForm(FormText(""));
    first->Show();
    second->Show();
    bool othersDisabled = false;
    TLayerForm* modal = nullptr;
    modal = NewForm(FormText(Button("Ok", 10, "    ModalResult = 1\n"), "  OnShow = Shown\n"), [&](TLayerForm& f) {
        f.On("Shown", [&](TObject*) {
            othersDisabled = !IsWindowEnabled(first->WindowHandle()) && !IsWindowEnabled(second->WindowHandle());
            PostMessageA(modal->Child<TButton>("Ok")->WindowHandle(), BM_CLICK, 0, 0);
        });
    });
    EXPECT_EQ(modal->ShowModal(), mrOk);
    EXPECT_TRUE(othersDisabled);
    EXPECT_TRUE(IsWindowEnabled(first->WindowHandle()));
    EXPECT_TRUE(IsWindowEnabled(second->WindowHandle()));
    EXPECT_FALSE(modal->Modal());
    EXPECT_FALSE(IsWindowVisible(modal->WindowHandle()));
}

TEST_F(ComponentLayer, AnExceptionOutOfTheModalLoopLeavesEveryWindowAsItWas)
{
    TLayerForm* first = NewForm(FormText(""));
    TLayerForm* second = NewForm(FormText(""));
    TLayerForm* disabledBefore = NewForm(FormText(""));
    first->Show();
    second->Show();
    disabledBefore->Show();
    EnableWindow(disabledBefore->WindowHandle(), FALSE);
    bool othersDisabled = false;
    TLayerForm* modal = NewForm(FormText("", "  OnShow = Fail\n"), [&](TLayerForm& f) {
        f.On("Fail", [&](TObject*) {
            othersDisabled = !IsWindowEnabled(first->WindowHandle()) && !IsWindowEnabled(second->WindowHandle());
            throw Exception("show failed");
        });
    });
    EXPECT_THROW(modal->ShowModal(), Exception);
    EXPECT_TRUE(othersDisabled) << "the exception came from inside the modal scope";
    EXPECT_TRUE(IsWindowEnabled(first->WindowHandle()));
    EXPECT_TRUE(IsWindowEnabled(second->WindowHandle()));
    EXPECT_FALSE(IsWindowEnabled(disabledBefore->WindowHandle())) << "a window disabled before stays so";
    EXPECT_FALSE(modal->Modal());
    EXPECT_FALSE(IsWindowVisible(modal->WindowHandle()));
    modal->OnShow = nullptr;
    PostMessageA(modal->WindowHandle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(modal->ShowModal(), mrCancel) << "and the form can be shown modally again";
}

// ---- The form reader's errors

std::string ReadError(const std::string& text)
{
    const auto form = std::make_unique<TLayerForm>(nullptr);
    try {
        form->Read(text);
    } catch (const EFormDescriptionError& e) {
        return e.Message();
    }
    return "no error";
}

TEST_F(ComponentLayer, AMisspeltPropertyIsAnErrorNamingFormComponentPropertyAndLine)
{
    EXPECT_EQ(ReadError("object Main: TLayerForm\n"
                        "  Caption = 'Main'\n"
                        "  object Box: TGroupBox\n"
                        "    object Go: TButton\n"
                        "      Caption = 'Go'\n"
                        "      Enabeld = False\n"
                        "    end\n"
                        "  end\n"
                        "end\n"),
              "Form Main, line 6: Error reading Go.Enabeld: Property Enabeld does not exist");
}

TEST_F(ComponentLayer, UnknownEnumerationValuesAndClassesAreErrorsWithTheirLine)
{
    struct Case {
        const char* lines;
        const char* expected;
    } cases[] = {
        {"  BorderStyle = bsDialogue\n", "Form F, line 4: Error reading F.BorderStyle: Invalid property value: bsDialogue"},
        {"  Position = poCentre\n", "Form F, line 4: Error reading F.Position: Invalid property value: poCentre"},
        {"  BorderIcons = [biSystemMenu, biClose]\n",
         "Form F, line 4: Error reading F.BorderIcons: Invalid property value: biClose"},
        {"  Color = clPurple\n", "Form F, line 4: Error reading F.Color: Invalid property value: clPurple"},
        {"  Font.Style = [fsBold, fsHeavy]\n", "Form F, line 4: Error reading F.Font.Style: Invalid property value: fsHeavy"},
        {"  Font.Charset = KLINGON_CHARSET\n",
         "Form F, line 4: Error reading F.Font.Charset: Invalid property value: KLINGON_CHARSET"},
        {"  Font.Colour = clRed\n", "Form F, line 4: Error reading F.Font.Colour: Property Font.Colour does not exist"},
        {"  object M: TMemo\n    ScrollBars = ssDiagonal\n  end\n",
         "Form F, line 5: Error reading M.ScrollBars: Invalid property value: ssDiagonal"},
        {"  object B: TBitBtn\n    Layout = blGlyphMiddle\n  end\n",
         "Form F, line 5: Error reading B.Layout: Invalid property value: blGlyphMiddle"},
        {"  object V: TBevel\n    Shape = bsCircle\n  end\n",
         "Form F, line 5: Error reading V.Shape: Invalid property value: bsCircle"},
        {"  object D: TSaveDialog\n    Options = [ofOverwritePrompt, ofAskTwice]\n  end\n",
         "Form F, line 5: Error reading D.Options: Invalid property value: ofAskTwice"},
        {"  object X: TTreeView\n  end\n", "Form F, line 4: Class TTreeView not found"},
        {"  object L: TLabel\n    object B: TButton\n    end\n  end\n",
         "Form F, line 5: Control L cannot hold other controls"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadError(std::string("object F: TLayerForm\n  ClientWidth = 100\n  ClientHeight = 50\n") + c.lines +
                            "end\n"),
                  c.expected);
}

TEST_F(ComponentLayer, DesignerValuesAreKnownAndIgnored)
{
    TLayerForm* form = NewForm("object F: TLayerForm\n"
                               "  OldCreateOrder = False\n"
                               "  PixelsPerInch = 96\n"
                               "  TextHeight = 12\n"
                               "  Scaled = False\n"
                               "  ParentColor = True\n"
                               "  object L: TLabel\n    Layout = tlCenter\n    WordWrap = True\n  end\n"
                               "  object C: TComboBox\n    Style = csDropDownList\n    ItemHeight = 14\n  end\n"
                               "  object M: TMemo\n    MaxLength = 10\n    ImeName = 'x'\n  end\n"
                               "  object I: TImage\n    Align = alClient\n    Center = True\n  end\n"
                               "end\n");
    EXPECT_NE(form->Child<TLabel>("L"), nullptr);
}

TEST_F(ComponentLayer, ABitmapButtonKeepsItsGlyphLayout)
{
    TLayerForm* form = NewForm("object F: TLayerForm\n"
                               "  object Plain: TBitBtn\n  end\n"
                               "  object Set: TBitBtn\n"
                               "    Kind = bkCancel\n"
                               "    Margin = 3\n"
                               "    Spacing = 7\n"
                               "    Layout = blGlyphTop\n"
                               "    NumGlyphs = 2\n"
                               "  end\n"
                               "end\n");
    const auto* plain = form->Child<TBitBtn>("Plain");
    EXPECT_EQ(plain->Kind(), TBitBtnKind::bkCustom);
    EXPECT_EQ(plain->Margin(), -1);
    EXPECT_EQ(plain->Spacing(), 4);
    EXPECT_EQ(plain->Layout(), TButtonLayout::blGlyphLeft);
    EXPECT_EQ(plain->NumGlyphs(), 1);
    const auto* set = form->Child<TBitBtn>("Set");
    EXPECT_EQ(set->Kind(), TBitBtnKind::bkCancel);
    EXPECT_EQ(set->Margin(), 3);
    EXPECT_EQ(set->Spacing(), 7);
    EXPECT_EQ(set->Layout(), TButtonLayout::blGlyphTop);
    EXPECT_EQ(set->NumGlyphs(), 2);
}

} // namespace
} // namespace orbelin
