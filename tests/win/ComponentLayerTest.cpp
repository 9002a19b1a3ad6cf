// The component layer on its own: forms read from description text, their
// errors, and timers ticking through the message loop.

#include "tests/win/RealInput.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Application.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

class TTestForm : public TForm {
public:
    explicit TTestForm(TComponent* owner) : TForm(owner)
    {
        RegisterMethod("ButtonClick", [this](TObject*) { ++Clicks; });
    }
    void Read(std::string_view text) { ReadDescriptionText(text); }
    int Clicks = 0;
};

std::string ReadError(std::string_view text)
{
    auto* form = new TTestForm(&Application());
    std::string message;
    try {
        form->Read(text);
    } catch (const Exception& e) {
        message = e.Message();
    }
    delete form;
    return message;
}

TEST(FormReader, BuildsControlsWithPropertiesAndHandlers)
{
    Application().Initialize();
    auto* form = new TTestForm(&Application());
    form->Read(R"(object TestForm: TTestForm
  ClientWidth = 200
  ClientHeight = 100
  BorderStyle = bsDialog
  Caption = 'Test'
  object Box: TGroupBox
    Left = 4
    Top = 4
    Width = 190
    Height = 90
    object Button: TButton
      Left = 10
      Top = 20
      Width = 60
      Height = 24
      Caption = 'Go'
      Enabled = False
      OnClick = ButtonClick
    end
  end
end
)");
    auto* button = form->Child<TButton>("Button");
    EXPECT_EQ(button->Parent(), form->Child<TGroupBox>("Box"));
    EXPECT_EQ(GetParent(button->WindowHandle()), form->Child<TGroupBox>("Box")->WindowHandle());
    EXPECT_FALSE(IsWindowEnabled(button->WindowHandle()));
    EXPECT_EQ(WindowText(button->WindowHandle()), "Go");
    RECT client;
    GetClientRect(form->WindowHandle(), &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 100);
    button->SetEnabled(true);
    SendMessageA(button->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->Clicks, 1);
    delete form;
}

TEST(FormReader, NamesWhatIsWrongInABadDescription)
{
    struct Case {
        const char* name;
        const char* text;
        const char* message;
    } cases[] = {
        {"unknown class", "object F: TTestForm\n object X: TNope\n end\nend", "Class TNope not found"},
        {"unknown property", "object F: TTestForm\n object B: TButton\n  Colour = 5\n end\nend",
         "Error reading B.Colour: Property Colour does not exist"},
        {"unknown handler", "object F: TTestForm\n object B: TButton\n  OnClick = Nope\n end\nend",
         "Method Nope not found"},
        {"wrong value type", "object F: TTestForm\n object B: TButton\n  Left = 'x'\n end\nend",
         "integer expected"},
        {"children under a label", "object F: TTestForm\n object L: TLabel\n  object B: TButton\n  end\n end\nend",
         "cannot hold other controls"},
    };
    for (const auto& c : cases)
        EXPECT_NE(ReadError(c.text).find(c.message), std::string::npos) << c.name << ": " << ReadError(c.text);
}

TEST(Timer, TicksThroughTheMessageLoopUntilDisabled)
{
    TComponent owner(nullptr);
    auto* timer = new TTimer(&owner);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        if (++ticks == 3)
            timer->SetEnabled(false);
    };
    timer->SetInterval(20);
    ASSERT_TRUE(test::WaitFor([&] { return ticks >= 3; }, 5000));
    EXPECT_TRUE(test::NeverWithin([&] { return ticks > 3; }, 500)) << "a tick after it was disabled";
}

} // namespace
} // namespace orbelin
