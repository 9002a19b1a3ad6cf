// How the main window answers while a translation waits for its service,
// under Wine: the round trip of a message that another process sends to the
// window (as accessibility and automation tools do), while the window is
// idle and while a request is pending, and the CPU the program uses while
// it waits. The windows run in this process as the program runs them; the
// service is a loopback server here that holds the request until the end.
//
//   wait_round_trip_bench [SENDS]
//   wait_round_trip_bench send WINDOW SENDS    (the other process)

#include "app/Program.h"
#include "app/Unit1.h"
#include "skin/data/SkinHost.h"
#include "tests/support/TestServer.h"
#include "ui/Application.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace orbelin;
using Clock = std::chrono::steady_clock;

namespace {

// The other process: sends WM_GETTEXTLENGTH to the window `sends` times at
// irregular moments and prints each round trip in milliseconds.
int Send(HWND window, int sends)
{
    std::mt19937 random(12345);
    for (int i = 0; i < sends; ++i) {
        Sleep(2 + random() % 9);
        const auto start = Clock::now();
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length))
            return 1;
        std::printf("%.3f\n", std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return 0;
}

// Runs the sender against the window and returns its round trips; with
// dispatch the calling thread is the window's and takes its messages
// meanwhile (else the window's thread waits inside the translate command).
std::vector<double> RoundTrips(HWND window, int sends, bool dispatch)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string command = "\"" + std::string(self) + "\" send " +
                          std::to_string(reinterpret_cast<uintptr_t>(window)) + " " + std::to_string(sends);
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::vector<double> times;
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return times;
    CloseHandle(writeEnd);
    std::string output;
    std::thread reader([&] {
        char buffer[4096];
        DWORD n = 0;
        while (ReadFile(readEnd, buffer, sizeof(buffer), &n, nullptr) && n > 0)
            output.append(buffer, n);
    });
    while (dispatch && MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
        Application().ProcessMessages();
    WaitForSingleObject(process.hProcess, INFINITE);
    reader.join();
    CloseHandle(readEnd);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (size_t at = 0; at < output.size();) {
        const size_t end = output.find('\n', at);
        times.push_back(std::atof(output.substr(at, end - at).c_str()));
        at = end == std::string::npos ? output.size() : end + 1;
    }
    return times;
}

void Report(const char* what, std::vector<double> times, int sends)
{
    if (times.size() != static_cast<size_t>(sends)) {
        std::printf("%s: %zu of %d round trips came back\n", what, times.size(), sends);
        return;
    }
    std::sort(times.begin(), times.end());
    std::printf("%s: median %.2f ms, max %.2f ms (%d round trips)\n", what, times[times.size() / 2], times.back(),
                sends);
}

// The process's CPU time (user and kernel) in milliseconds.
double CpuMs()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// The CPU the process used over ms of wall time, in per cent of one core;
// with dispatch the calling thread takes the window's messages meanwhile.
double CpuShare(int ms, bool dispatch)
{
    const double before = CpuMs();
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (dispatch && MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::max<long long>(left, 0)),
                                                  QS_ALLINPUT) == WAIT_OBJECT_0)
            Application().ProcessMessages();
        else if (!dispatch)
            Sleep(static_cast<DWORD>(std::max<long long>(left, 0)));
    }
    return (CpuMs() - before) * 100.0 / ms;
}

std::string ResultPage()
{
    const std::string page = "<textarea name=\"wl_result\"" + std::string(114, ' ') + "Hola</textarea>";
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(page.size()) + "\r\nConnection: close\r\n\r\n" + page;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command, int)
{
    const std::string arguments = command ? command : "";
    if (arguments.rfind("send ", 0) == 0) {
        const char* rest = arguments.c_str() + 5;
        char* next = nullptr;
        HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(rest, &next, 10)));
        return Send(window, std::atoi(next));
    }
    const int sends = arguments.empty() ? 200 : std::max(1, std::atoi(arguments.c_str()));
    const int quietMs = 5000;

    CreateProgramForms();
    Form1->Show();
    HWND window = Form1->WindowHandle();
    CpuShare(1000, true); // the skin's start

    const double idleCpu = CpuShare(quietMs, true);
    const std::vector<double> idle = RoundTrips(window, sends, true);

    // The service holds the request until the measurements are done.
    std::atomic<bool> requested = false, release = false;
    HANDLE released = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    test::TTestServer server;
    server.Serve([&](test::TTestPeer& peer) {
        if (!peer.ReceiveUntil("wl_ucp=1"))
            return;
        requested = true;
        WaitForSingleObject(released, INFINITE);
        peer.Send(ResultPage());
    });
    Form1->ServiceHost = "127.0.0.1:" + std::to_string(server.Port());
    Form1->http->ReadTimeout = 120000; // the hold may outlast the program's own bound on silence
    Form1->wl_srclang->SetItemIndex(1);
    Form1->wl_trglang->SetItemIndex(13);
    double waitingCpu = 0;
    std::vector<double> pending;
    std::thread measure([&] {
        while (!requested)
            Sleep(10);
        waitingCpu = CpuShare(quietMs, false);
        pending = RoundTrips(window, sends, false);
        release = true;
        SetEvent(released);
    });
    PostMessageA(Form1->BitBtn1->WindowHandle(), BM_CLICK, 0, 0);
    while (!release || Form1->Memo2->Text() != "Hola")
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0)
            Application().ProcessMessages();
    measure.join();
    server.Wait();
    CloseHandle(released);

    std::printf("message round trip from another process to the main window\n");
    Report("  idle", idle, sends);
    Report("  during a pending request", pending, sends);
    std::printf("CPU of the program over %d ms: idle %.2f %%, waiting for the service %.2f %% of one core\n", quietMs,
                idleCpu, waitingCpu);
    Application().DestroyComponents();
    FreeSkinManager();
    return 0;
}
