// orbelin.exe as a user starts it: its own process, its own message loop.

#include "tests/win/RealInput.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace orbelin {
namespace {

using namespace test;

struct TProcessWindows {
    DWORD Process;
    std::vector<HWND> Found;
};

HWND WaitForMainWindow(DWORD pid, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        TProcessWindows search{pid, {}};
        EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<TProcessWindows*>(p);
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == s->Process && IsWindowVisible(w) && WindowText(w) == "Orbelin多国语言在线翻译 v1.0")
                    s->Found.push_back(w);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (!search.Found.empty())
            return search.Found.front();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return nullptr;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const char* cls)
{
    struct TSearch {
        const char* Class;
        std::vector<HWND> Found;
    } search{cls, {}};
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<TSearch*>(p);
            char name[32] = {};
            GetClassNameA(w, name, sizeof(name));
            if (lstrcmpiA(name, s->Class) == 0)
                s->Found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND ButtonWithText(HWND parent, const std::string& text)
{
    for (HWND b : ChildrenOfClass(parent, "Button"))
        if (WindowText(b) == text)
            return b;
    return nullptr;
}

TEST(Program, CloseButtonEndsTheProgramAtOnceWithTextInBothBoxes)
{
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::string command = "\"" ORBELIN_EXE "\"";
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << ORBELIN_EXE;
    HWND main = WaitForMainWindow(pi.dwProcessId, 20000);
    ASSERT_NE(main, nullptr);
    const auto edits = ChildrenOfClass(main, "Edit");
    ASSERT_EQ(edits.size(), 2u);
    for (HWND edit : edits)
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("unsaved text"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    SaveWindowShot(main, "screenshot-program.bmp");

    HWND close = ButtonWithText(main, "关  闭");
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
