// Closing the program while a translation waits for a service that never
// answers. The program's own message loop runs here until the program ends,
// so this test has an executable of its own.

#include "tests/support/TestServer.h"
#include "tests/win/CloseBox.h"
#include "tests/win/ProgramForms.h"
#include "tests/win/RealInput.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace orbelin {
namespace {

using namespace test;
using namespace std::chrono;

TEST(Closing, TheCloseBoxDuringTheWaitEndsTheProgramAtOnce)
{
    std::atomic<bool> requested = false, connectionClosed = false, loopEnded = false, scriptEnded = false;
    std::atomic<int64_t> clickedAt = 0, closedAt = 0;
    auto now = [] { return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count(); };
    TTestServer server;
    server.Serve([&](TTestPeer& peer) {
        if (!peer.ReceiveUntil("wl_ucp=1"))
            return;
        requested = true;
        peer.ReceiveToClose(); // never answers
        closedAt = now();
        connectionClosed = true;
    });
    TProgramForms forms;
    Form1->ServiceHost = "127.0.0.1:" + std::to_string(server.Port());
    Form1->Memo1->SetText("Hello, unsaved");
    Form1->wl_srclang->SetItemIndex(1);
    Form1->wl_trglang->SetItemIndex(13);
    // The client keeps the program's own bound on silence: the close must not wait for it.
    const DWORD ui = GetCurrentThreadId();
    bool boxSeen = false, closeBoxFound = false;
    std::thread script([&] {
        TRealInput::Click(Form1->BitBtn1->WindowHandle());
        if (!WaitFor([&] { return requested.load(); }, 10000))
            ADD_FAILURE() << "no request came";
        POINT closeBox{};
        closeBoxFound = WaitFor([&] { return CloseBoxPoint(Form1->WindowHandle(), closeBox); }, 3000);
        clickedAt = now();
        if (closeBoxFound)
            TRealInput::ClickAt(closeBox);
        boxSeen = WaitForTopWindow(GetCurrentProcessId(), "#32770", "", 2000) != nullptr;
        // A program that did not end is ended here, so that the test does.
        if (!WaitFor([&] { return loopEnded.load(); }, 10000))
            while (!loopEnded) {
                CloseModalWindows();
                PostThreadMessageA(ui, WM_QUIT, 0, 0);
                std::this_thread::sleep_for(milliseconds(500));
            }
        scriptEnded = true;
    });
    Application().Run();
    const int64_t endedAt = now();
    loopEnded = true;
    // The script's waits read through this thread, which answers them until it ends.
    WaitFor([&] { return scriptEnded.load(); }, 30000);
    script.join();
    ASSERT_TRUE(closeBoxFound) << "no close box in the caption";
    std::printf("close box during the wait: the loop ended %lld ms after the click, the service saw the "
                "connection closed after %lld ms\n",
                static_cast<long long>(endedAt - clickedAt), static_cast<long long>(closedAt - clickedAt));
    EXPECT_LT(endedAt - clickedAt, 1000) << "the program did not end at once";
    EXPECT_TRUE(WaitFor([&] { return connectionClosed.load(); }, 2000)) << "the exchange's connection was left open";
    EXPECT_LT(closedAt - clickedAt, 1000);
    EXPECT_FALSE(boxSeen) << "closing showed a message box";
    EXPECT_TRUE(Application().Terminated());
    // The pending translation gave the source box and the lists back on its way out.
    EXPECT_FALSE(GetWindowLongPtrA(Form1->Memo1->WindowHandle(), GWL_STYLE) & ES_READONLY);
    for (TWinControl* list : {Form1->wl_srclang, Form1->wl_glossary, Form1->wl_trglang})
        EXPECT_TRUE(IsWindowEnabled(list->WindowHandle())) << list->Name();
}

} // namespace
} // namespace orbelin
