// orbelin.exe as a user starts it: its own process, its own message loop.

#include "tests/win/RealInput.h"
#include "tests/win/WinTestSupport.h"
#include "ui/WindowSearch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

namespace orbelin {
namespace {

using namespace test;

TEST(Program, CloseButtonEndsTheProgramAtOnceWithTextInBothBoxes)
{
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::string command = "\"" ORBELIN_EXE "\"";
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << ORBELIN_EXE;
    HWND main = WaitForTopWindow(pi.dwProcessId, "", "Orbelin多国语言在线翻译 v1.0", 20000);
    ASSERT_NE(main, nullptr);
    const auto edits = ChildWindows(main, "Edit");
    ASSERT_EQ(edits.size(), 2u);
    for (HWND edit : edits)
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("unsaved text"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    SaveWindowShot(main, "screenshot-program.bmp");

    HWND close = ChildWithText(main, "Button", "关  闭");
    ASSERT_NE(close, nullptr);
    TRealInput::Click(close);
    const DWORD waited = WaitForSingleObject(pi.hProcess, 10000);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the program should end without asking anything";
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

} // namespace
} // namespace orbelin
