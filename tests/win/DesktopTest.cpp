// orbelin.exe on a person's desktop: its own process in the desktop Wine
// prefix, under a window manager that manages its windows. Minimizing hands
// the window to the manager, the manager brings it back, and the keyboard
// returns to the main window when a dialog closes. Keys here go wherever the
// X server's input focus is, as a person's keys do; nothing moves it for them.

#include "tests/win/RealInput.h"
#include "tests/win/WinTestSupport.h"
#include "ui/WindowSearch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

namespace orbelin {
namespace {

using namespace test;

constexpr const char* kMainCaption = "Orbelin多国语言在线翻译 v1.0";

std::string TextOf(HWND window)
{
    // WM_GETTEXT is copied across processes by the system.
    char text[256] = {};
    SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// "xdotool search --onlyvisible" answers 0 only when an X window of that name
// is mapped: a window the manager minimized is not, while the bare title strip
// Wine draws for a minimized unmanaged window is.
bool MainWindowMapped() { return TRealInput::Succeeds("search --onlyvisible --name ^Orbelin"); }

class Desktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        std::string command = "\"" ORBELIN_EXE "\"";
        ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                                   &Process))
            << ORBELIN_EXE;
        Main = WaitForTopWindow(Process.dwProcessId, "", kMainCaption, 20000);
        ASSERT_NE(Main, nullptr) << "the main window did not appear";
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == Main; }, 5000))
            << "the window manager did not give the new window the focus";
    }

    void TearDown() override
    {
        if (!Process.hProcess)
            return;
        if (Main && IsWindow(Main))
            PostMessageA(Main, WM_CLOSE, 0, 0); // cleanup only: the test is over
        if (WaitForSingleObject(Process.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(Process.hProcess, 1);
        CloseHandle(Process.hThread);
        CloseHandle(Process.hProcess);
    }

    // The upper of the two text boxes: the source text.
    HWND SourceBox() const
    {
        auto edits = ChildWindows(Main, "Edit");
        if (edits.size() != 2)
            return nullptr;
        RECT a{}, b{};
        GetWindowRect(edits[0], &a);
        GetWindowRect(edits[1], &b);
        return a.top <= b.top ? edits[0] : edits[1];
    }

    PROCESS_INFORMATION Process{};
    HWND Main = nullptr;
};

TEST_F(Desktop, MinimizeButtonHandsTheWindowToTheManagerWhichBringsItBack)
{
    ASSERT_TRUE(WaitFor(MainWindowMapped, 3000));
    POINT minimize{};
    ASSERT_TRUE(FindHitTestPoint(Main, HTMINBUTTON, minimize)) << "the skinned caption has no minimize button";
    TRealInput::ClickAt(minimize);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(Main) != FALSE; }, 3000)) << "the window did not minimize";
    EXPECT_TRUE(WaitFor([] { return !MainWindowMapped(); }, 3000))
        << "a minimized window still shows on the screen instead of in the manager's list";

    // The manager's own way back (a taskbar click sends the same request).
    const auto x = reinterpret_cast<uintptr_t>(GetPropA(Main, "__wine_x11_whole_window"));
    ASSERT_NE(x, 0u);
    TRealInput::Run("windowactivate " + std::to_string(x));
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(Main) && GetForegroundWindow() == Main; }, 5000))
        << "the window manager could not restore the window";
    EXPECT_TRUE(MainWindowMapped());
}

TEST_F(Desktop, AltTabComesBackToTheProgram)
{
    // A second client to switch away to: xmessage ends by itself at the latest
    // after its time-out, and is closed below.
    ASSERT_TRUE(TRealInput::Start("Z:\\usr\\bin\\xmessage -name orbelin-other -timeout 30 other"));
    ASSERT_TRUE(WaitFor([] { return TRealInput::Succeeds("search --onlyvisible --classname orbelin-other"); }, 5000));
    TRealInput::Run("search --onlyvisible --classname orbelin-other windowactivate --sync");
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() != Main; }, 3000)) << "the other window did not take the focus";

    TRealInput::KeyAsIs("alt+Tab");
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == Main; }, 3000)) << "Alt+Tab did not reach the program";
    TRealInput::Run("search --classname orbelin-other windowkill");
}

TEST_F(Desktop, KeysTypedRightAfterTheAboutWindowClosesReachTheMainWindow)
{
    const HWND source = SourceBox();
    ASSERT_NE(source, nullptr);
    TRealInput::Click(source);
    TRealInput::TypeAsIs("abc");
    ASSERT_TRUE(WaitFor([&] { return TextOf(source) == "abc"; }, 3000)) << TextOf(source);

    const HWND about = ChildWithText(Main, "Button", "关  于");
    ASSERT_NE(about, nullptr);
    TRealInput::Click(about);
    HWND aboutWindow = WaitForTopWindow(Process.dwProcessId, "", "关于", 5000);
    ASSERT_NE(aboutWindow, nullptr) << "the About window did not open";
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == aboutWindow; }, 3000));

    TRealInput::KeyAsIs("Escape");
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(aboutWindow); }, 3000)) << "Esc did not close About";
    TRealInput::TypeAsIs("def");
    EXPECT_TRUE(WaitFor([&] { return TextOf(source) == "abcdef"; }, 3000))
        << "keys typed after About closed went elsewhere; the box holds \"" << TextOf(source) << "\"";
}

} // namespace
} // namespace orbelin
