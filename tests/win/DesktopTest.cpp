// The program's windows on a person's desktop: the desktop Wine prefix, whose
// windows the window manager manages, under openbox. Minimizing hands the
// window to the manager, the manager brings it back, Alt+Tab reaches it, and
// the keyboard returns to the main window when a dialog closes. Keys here go
// wherever the X server's input focus is, as a person's keys do; nothing
// moves it for them.

#include "tests/win/ProgramForms.h"
#include "tests/win/RealInput.h"
#include "tests/win/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace orbelin {
namespace {

using namespace test;

constexpr int kMinimizeAction = 2;

HWND H(TWinControl* control) { return control->WindowHandle(); }

std::string XWindowOf(HWND window)
{
    return std::to_string(reinterpret_cast<uintptr_t>(GetPropA(window, "__wine_x11_whole_window")));
}

// xdotool's --onlyvisible search finds an X window only while it is mapped: a
// window the manager minimized is not, while the bare title strip Wine draws
// for a minimized unmanaged window is.
bool MainWindowMapped() { return TRealInput::Finds("search --onlyvisible --name ^Orbelin"); }

class Desktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WaitFor([] { return GetForegroundWindow() == H(Form1); }, 5000))
            << "the window manager did not give the new window the focus";
    }

    TProgramForms forms;
};

TEST_F(Desktop, MinimizeButtonHandsTheWindowToTheManagerWhichBringsItBack)
{
    const HWND main = H(Form1);
    ASSERT_TRUE(RunScript([&] {
        ASSERT_TRUE(WaitFor(MainWindowMapped, 3000));
        POINT minimize{};
        ASSERT_TRUE(OnWindowsThread([&] { return TitleButtonPoint(main, kMinimizeAction, minimize); }))
            << "the skinned caption has no minimize button";
        TRealInput::ClickAt(minimize);
        ASSERT_TRUE(WaitFor([&] { return IsIconic(main) != FALSE; }, 3000)) << "the window did not minimize";
        EXPECT_TRUE(WaitFor([] { return !MainWindowMapped(); }, 3000))
            << "a minimized window still shows on the screen instead of in the manager's list";

        // The manager's own way back (a taskbar click sends the same request).
        TRealInput::Run("windowactivate " + XWindowOf(main));
        EXPECT_TRUE(WaitFor([&] { return !IsIconic(main) && GetForegroundWindow() == main; }, 5000))
            << "the window manager could not restore the window";
        EXPECT_TRUE(MainWindowMapped());
    }));
}

TEST_F(Desktop, AltTabComesBackToTheProgram)
{
    const HWND main = H(Form1);
    ASSERT_TRUE(RunScript([&] {
        // A second client to switch away to; xmessage ends by itself after its
        // time-out at the latest, and is closed below.
        ASSERT_TRUE(TRealInput::Start("Z:\\usr\\bin\\xmessage -name orbelin-other -timeout 30 other"));
        ASSERT_TRUE(WaitFor([] { return TRealInput::Finds("search --onlyvisible --classname orbelin-other"); }, 5000));
        TRealInput::Run("search --onlyvisible --classname orbelin-other windowactivate --sync");
        EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() != main; }, 3000))
            << "the other window did not take the focus";

        // As a person switches: Alt held while Tab goes down and up, so the
        // manager has grabbed the keyboard before Alt comes up.
        TRealInput::Run("keydown alt sleep 0.15 key Tab sleep 0.3 keyup alt");
        EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }, 3000))
            << "Alt+Tab did not reach the program";
        TRealInput::Run("search --classname orbelin-other windowkill");
    }));
}

TEST_F(Desktop, KeysRightAfterTheAboutWindowClosesReachTheMainWindow)
{
    Form1->Memo1->SetText("");
    const HWND about = Form2->WindowHandle();
    ASSERT_TRUE(RunScript([&] {
        TRealInput::Click(H(Form1->Memo1));
        TRealInput::TypeAsIs("abc");
        ASSERT_TRUE(WaitFor([] { return Form1->Memo1->Text() == "abc"; }, 3000)) << Form1->Memo1->Text();

        // The click leaves the focus on 关  于, so the space bar opens About
        // again only if the keys come back to the main window.
        TRealInput::Click(H(Form1->BitBtn2));
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(about) && GetForegroundWindow() == about; }, 5000))
            << "the About window did not open and take the focus";
        TRealInput::KeyAsIs("Escape");
        ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(about); }, 3000)) << "Esc did not close About";
        TRealInput::KeyAsIs("space");
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(about) != FALSE; }, 3000))
            << "the space bar typed after About closed did not reach the main window";
        TRealInput::KeyAsIs("Escape");
        ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(about); }, 3000));
    }));
}

} // namespace
} // namespace orbelin
