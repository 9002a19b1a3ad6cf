// orbelin.exe as a user starts it: its own process, its own message loop,
// its setting in orbelin.ini beside it or on its command line.

#include "base/Streams.h"
#include "tests/support/TestServer.h"
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

constexpr const char* kMainCaption = "Orbelin多国语言在线翻译 v1.0";

// A copy of the program in a folder of its own, with orbelin.ini when one is
// given, started with the arguments; ended and removed with the object.
class TProgramCopy {
public:
    TProgramCopy(const std::string& ini, const std::string& arguments)
    {
        CreateDirectoryA(FFolder.c_str(), nullptr);
        EXPECT_TRUE(CopyFileA(ORBELIN_EXE, FExe.c_str(), FALSE)) << ORBELIN_EXE;
        if (!ini.empty())
            WriteFileBytes(FIni, ini);
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        std::string command = "\"" + FExe + "\" " + arguments;
        EXPECT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &FInfo));
    }
    ~TProgramCopy()
    {
        if (WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(FInfo.hProcess, 1);
        WaitForSingleObject(FInfo.hProcess, 10000);
        CloseHandle(FInfo.hThread);
        CloseHandle(FInfo.hProcess);
        DeleteFileA(FIni.c_str());
        DeleteFileA(FExe.c_str());
        RemoveDirectoryA(FFolder.c_str());
    }
    TProgramCopy(const TProgramCopy&) = delete;
    TProgramCopy& operator=(const TProgramCopy&) = delete;

    HWND Window(const char* className, const char* caption) const
    {
        return WaitForTopWindow(FInfo.dwProcessId, className, caption, 20000);
    }
    HANDLE Process() const { return FInfo.hProcess; }
    const std::string& IniPath() const { return FIni; }

private:
    const std::string FFolder = TempPath("orbelin-copy");
    const std::string FExe = FFolder + "\\orbelin.exe";
    const std::string FIni = FFolder + "\\orbelin.ini";
    PROCESS_INFORMATION FInfo{};
};

TEST(Program, CloseButtonEndsTheProgramAtOnceWithTextInBothBoxes)
{
    TProgramCopy program("", "");
    HWND main = program.Window("", kMainCaption);
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
    const DWORD waited = WaitForSingleObject(program.Process(), 10000);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the program should end without asking anything";
    DWORD code = 1;
    GetExitCodeProcess(program.Process(), &code);
    EXPECT_EQ(code, 0u);
}

// Each way of naming the service reaches a service on a port of its own (a
// real click on "翻  译" shows its answer); a refused value is named, with
// where it came from, in a box over the main window, and the program goes on.
TEST(Program, TheServiceSettingNamesTheServiceOrIsRefusedInABox)
{
    TTestServer server;
    const std::string address = "127.0.0.1:" + std::to_string(server.Port());
    const std::string wrong = "127.0.0.1:" + std::to_string(UnusedPort());
    const struct {
        std::string Ini, Arguments, Told;
    } cases[] = {
        {"; our service\r\n[Service]\r\nHost=" + address + "\r\n", "", ""},
        {"", "/service=" + address, ""},
        {"[Service]\r\nHost=" + wrong + "\r\n", "\"/SERVICE=" + address + "\"", ""},
        {"[Service]\r\nHost=127.0.0.1:99999\r\n", "", "Host=127.0.0.1:99999"},
        {"", "/service=bad_host", "命令行中的翻译服务地址无效：\r\n/service=bad_host"},
    };
    const std::string page = "<html><textarea name=\"wl_result\"" + std::string(125 - 11, ' ') + "Hola</textarea>";
    server.Serve(Script().ReceiveUntil("wl_ucp=1").Send("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + page).Close(), 3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Ini + c.Arguments);
        TProgramCopy program(c.Ini, c.Arguments);
        HWND main = program.Window("", kMainCaption);
        ASSERT_NE(main, nullptr);
        if (c.Told.empty()) {
            TRealInput::Click(ChildWithText(main, "Button", "翻  译"));
            HWND target = ChildWindows(main, "Edit").at(1);
            EXPECT_TRUE(WaitFor([&] { return WindowText(target) == "Hola"; }, 10000)) << WindowText(target);
            continue;
        }
        HWND box = program.Window("#32770", "");
        ASSERT_NE(box, nullptr) << "no box told of the refused value";
        std::string text;
        for (HWND item : ChildWindows(box, "Static"))
            text += WindowText(item);
        for (const std::string& part : {c.Told, c.Ini.empty() ? c.Told : program.IniPath(), std::string("localhost")})
            EXPECT_NE(text.find(part), std::string::npos) << text;
        TRealInput::Click(ChildWindows(box, "Button").at(0));
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(box) && IsWindowEnabled(main); }, 5000)) << "the program goes on";
    }
    // Every program has ended; a connection that never came must not be waited for.
    server.StopListening();
    server.Wait();
    EXPECT_NE(server.Received(2).find("POST /wl/translate HTTP/1.0\r\n"), std::string::npos);
    EXPECT_NE(server.Received(0).find("Host: " + address + "\r\n"), std::string::npos) << server.Received(0);
}

} // namespace
} // namespace orbelin
