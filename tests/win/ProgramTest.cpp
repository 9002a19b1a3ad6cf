// orbelin.exe as a user starts it: its own process, its own message loop,
// its setting in orbelin.ini beside it or on its command line.

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
    TProgramCopy(const std::string& folder, const std::string& ini, const std::string& arguments)
        : FFolder(TempPath(folder)), FExe(FFolder + "\\orbelin.exe"), FIni(FFolder + "\\orbelin.ini")
    {
        CreateDirectoryA(FFolder.c_str(), nullptr);
        EXPECT_TRUE(CopyFileA(ORBELIN_EXE, FExe.c_str(), FALSE)) << ORBELIN_EXE;
        if (!ini.empty())
            WriteText(FIni, ini);
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        std::string command = "\"" + FExe + "\" " + arguments;
        Started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &FInfo);
    }
    ~TProgramCopy()
    {
        if (Started) {
            if (WaitForSingleObject(FInfo.hProcess, 0) != WAIT_OBJECT_0)
                TerminateProcess(FInfo.hProcess, 1);
            WaitForSingleObject(FInfo.hProcess, 10000);
            CloseHandle(FInfo.hThread);
            CloseHandle(FInfo.hProcess);
        }
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

    bool Started = false;

private:
    static void WriteText(const std::string& path, const std::string& text)
    {
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }

    std::string FFolder, FExe, FIni;
    PROCESS_INFORMATION FInfo{};
};

std::string ResultPage(const std::string& text)
{
    const std::string page = "<html><textarea name=\"wl_result\"" + std::string(125 - 11, ' ') + text + "</textarea>";
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(page.size()) + "\r\nConnection: close\r\n\r\n" +
           page;
}

TEST(Program, CloseButtonEndsTheProgramAtOnceWithTextInBothBoxes)
{
    TProgramCopy program("orbelin-close", "", "");
    ASSERT_TRUE(program.Started);
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

// Each way of naming the service reaches a service on a port of its own: a
// real click on "翻  译" posts there and its answer shows.
TEST(Program, TheServiceSettingReachesTheServiceItNames)
{
    TTestServer server;
    const std::string address = "127.0.0.1:" + std::to_string(server.Port());
    const std::string wrong = "127.0.0.1:" + std::to_string(UnusedPort());
    const struct {
        const char* Name;
        std::string Ini;
        std::string Arguments;
    } cases[] = {
        {"file", "; our team's service\r\n[Service]\r\nHost=" + address + "\r\n", ""},
        {"command line", "", "/service=" + address},
        {"command line over file", "[Service]\r\nHost=" + wrong + "\r\n", "\"/SERVICE=" + address + "\""},
    };
    server.Serve(Script().ReceiveUntil("wl_ucp=1").Send(ResultPage("Hola")).Close(), std::size(cases));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TProgramCopy program("orbelin-setting", c.Ini, c.Arguments);
        HWND main = program.Window("", kMainCaption);
        ASSERT_NE(main, nullptr);
        HWND target = ChildWindows(main, "Edit").at(1);
        TRealInput::Click(ChildWithText(main, "Button", "翻  译"));
        EXPECT_TRUE(WaitFor([&] { return WindowText(target) == "Hola"; }, 10000)) << WindowText(target);
    }
    // Every program has ended; a connection that never came must not be waited for.
    server.StopListening();
    server.Wait();
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_NE(server.Received(i).find("POST /wl/translate HTTP/1.0\r\n"), std::string::npos) << i;
    EXPECT_NE(server.Received(0).find("Host: " + address + "\r\n"), std::string::npos) << server.Received(0);
}

// A refused value is named with where it came from, in a box over the main
// window, and the program goes on when the box is closed.
TEST(Program, ARefusedServiceSettingIsShownAtStart)
{
    const struct {
        const char* Name;
        std::string Ini;
        std::string Arguments;
        std::string Told;
    } cases[] = {
        {"file", "[Service]\r\nHost=127.0.0.1:99999\r\n", "", "Host=127.0.0.1:99999"},
        {"command line", "", "/service=bad_host", "/service=bad_host"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TProgramCopy program("orbelin-refused", c.Ini, c.Arguments);
        HWND box = program.Window("#32770", "");
        ASSERT_NE(box, nullptr) << "no box told of the refused value";
        std::string text;
        for (HWND item : ChildWindows(box, "Static"))
            text += WindowText(item);
        EXPECT_NE(text.find(c.Told), std::string::npos) << text;
        if (!c.Ini.empty()) {
            EXPECT_NE(text.find(program.IniPath()), std::string::npos) << text;
        }
        EXPECT_NE(text.find("localhost"), std::string::npos) << text;
        HWND main = program.Window("", kMainCaption);
        EXPECT_NE(main, nullptr) << "the main window should stand behind the box";
        TRealInput::Click(ChildWindows(box, "Button").at(0));
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));
        EXPECT_TRUE(IsWindowEnabled(main)) << "the program goes on after the box";
    }
}

} // namespace
} // namespace orbelin
