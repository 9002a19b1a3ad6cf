// The main window while a translation waits for its service, and errors of
// commands started from the keyboard, with a real mouse and keyboard.

#include "tests/support/TestServer.h"
#include "tests/win/ProgramForms.h"
#include "tests/win/RealInput.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace orbelin {
namespace {

using namespace test;
using namespace std::chrono;

// How long the tests let the service stay silent: the program's own bound
// is set on its client, shortened so the suite stays quick.
constexpr int kSilenceBoundMs = 5000;

std::string ResultPage(const std::string& utf8, size_t padding = 0)
{
    std::string page = "<html><body><textarea name=\"wl_result\"" + std::string(125 - 11, ' ');
    page += utf8 + "</textarea>" + std::string(padding, ' ') + "</body></html>";
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(page.size()) + "\r\nConnection: close\r\n\r\n" +
           page;
}

// A translation service that counts the requests it reads (whatever their
// method), connection by connection, and plays one behaviour per request in turn.
class TCountingService {
public:
    using TBehaviour = std::function<void(TTestPeer&)>;

    // Behaviours are added before the service starts.
    void Add(TBehaviour behaviour) { FBehaviours.push_back(std::move(behaviour)); }
    void Start()
    {
        FServer.Serve(
            [this](TTestPeer& peer) {
                if (!peer.ReceiveUntil("\r\n\r\n"))
                    return;
                // Every request counts; a form comes whole before the answer.
                if (peer.Received().rfind("POST ", 0) == 0)
                    peer.ReceiveUntil("wl_ucp=1");
                const size_t index = FRequests++;
                if (index < FBehaviours.size())
                    FBehaviours[index](peer);
                ++FEnded;
            },
            8);
    }
    ~TCountingService() { FServer.StopListening(); }

    std::string Host() const { return "127.0.0.1:" + std::to_string(FServer.Port()); }
    int Requests() const { return FRequests; }
    // Exchanges that ended at the service's side (it answered, or the client closed).
    int Ended() const { return FEnded; }
    // A slow answer has begun to come.
    bool Answering() const { return FAnswering; }

    // Accepts the request and never answers; returns once the client closes.
    static void Silent(TTestPeer& peer) { peer.ReceiveToClose(); }
    // Answers after a pause, the page coming in slices.
    TBehaviour Slow(std::string response, int pauseMs, int slices, int sliceGapMs)
    {
        return [=, this](TTestPeer& peer) {
            peer.Delay(pauseMs);
            FAnswering = true;
            const size_t step = (response.size() + static_cast<size_t>(slices) - 1) / static_cast<size_t>(slices);
            for (size_t at = 0; at < response.size(); at += step) {
                peer.Send(response.substr(at, step));
                peer.Delay(sliceGapMs);
            }
            peer.Close();
        };
    }

private:
    std::vector<TBehaviour> FBehaviours;
    std::atomic<int> FRequests = 0;
    std::atomic<int> FEnded = 0;
    std::atomic<bool> FAnswering = false;
    TTestServer FServer;
};

// The message box of this process that is open now, with its text; waits
// up to timeoutMs for one.
struct TOpenBox {
    HWND Window = nullptr;
    std::string Text;
};

TOpenBox WaitForBox(int timeoutMs)
{
    TOpenBox box;
    box.Window = WaitForTopWindow(GetCurrentProcessId(), "#32770", "", timeoutMs);
    if (!box.Window)
        return box;
    WaitFor([&] {
        for (HWND label : ChildWindows(box.Window, "Static"))
            if (!(box.Text = WindowText(label)).empty())
                return true;
        return false;
    }, 3000);
    return box;
}

bool WaitCursorShown()
{
    CURSORINFO info{};
    info.cbSize = sizeof(info);
    return GetCursorInfo(&info) && info.hCursor == LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
}

// Invalidates the window and one control of it from outside; true once the
// window's thread has painted both (the caller checks that this came while
// the service still held the exchange, not after it).
bool Repaints(HWND window, HWND control)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return WaitFor([&] { return !GetUpdateRect(window, nullptr, FALSE) && !GetUpdateRect(control, nullptr, FALSE); },
                   3000);
}

// A point of the caption away from its buttons.
bool CaptionPoint(HWND window, POINT& point)
{
    RECT r{};
    GetWindowRect(window, &r);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    for (int y = r.top + 2; y < client.y; ++y) {
        point = {r.left + (r.right - r.left) / 3, y};
        if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)) == HTCAPTION)
            return true;
    }
    return false;
}

class TranslationWait : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form1->Memo1->SetText("Hello");
        Form1->wl_srclang->SetItemIndex(1);  // English
        Form1->wl_trglang->SetItemIndex(13); // 西班牙语
        EXPECT_EQ(Form1->http->ReadTimeout, 30000) << "the program's own bound on silence";
        Form1->http->ReadTimeout = kSilenceBoundMs;
        // The windows must answer because the waits wake for their messages,
        // not because the hook looks in now and then.
        Form1->AntiFreeze->IdleTimeOut = 60000;
    }
    static HWND H(TWinControl* control) { return control->WindowHandle(); }
    HWND Focus() const { return FocusOf(ui); }
    // How many of what a pending translation holds are held now: the
    // source box read-only and the three lists disabled, 4 in all.
    static int Held()
    {
        int held = (GetWindowLongPtrA(H(Form1->Memo1), GWL_STYLE) & ES_READONLY) != 0;
        for (TWinControl* list : {Form1->wl_srclang, Form1->wl_glossary, Form1->wl_trglang})
            held += !IsWindowEnabled(H(list));
        return held;
    }

    TProgramForms forms;
    const DWORD ui = GetCurrentThreadId();
};

TEST_F(TranslationWait, ReturnOnTheFocusedTranslateButtonWithNoServiceShowsTheErrorAndGoesOn)
{
    Form1->ServiceHost = "127.0.0.1:" + std::to_string(UnusedPort());
    TOpenBox box;
    bool focusBack = false;
    ASSERT_TRUE(RunScript([&] {
        // As a keyboard user gets there: into the lower box, five Tabs.
        TRealInput::Click(H(Form1->Memo2));
        ASSERT_TRUE(WaitFor([&] { return Focus() == H(Form1->Memo2); }));
        for (int i = 0; i < 5; ++i)
            TRealInput::Key("Tab");
        ASSERT_TRUE(WaitFor([&] { return Focus() == H(Form1->BitBtn1); })) << "Tab did not reach 翻  译";
        TRealInput::Key("Return");
        box = WaitForBox(15000);
        ASSERT_NE(box.Window, nullptr) << "no error box";
        TRealInput::Key("Return");
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(box.Window); })) << "the box did not close";
        focusBack = WaitFor([&] { return Focus() == H(Form1->BitBtn1); });
    }, 60000));
    EXPECT_EQ(box.Text.rfind("Socket Error # 10061", 0), 0u) << box.Text;
    // An error that ended the loop would show within a second.
    EXPECT_TRUE(NeverWithin([] { return !IsWindowVisible(H(Form1)); }, 1000));
    EXPECT_EQ(Form1->Memo1->Text(), "Hello");
    EXPECT_TRUE(IsWindowEnabled(H(Form1->BitBtn1)));
    EXPECT_EQ(Held(), 0) << "the source box and the lists after the error";
    EXPECT_TRUE(focusBack) << "the focus did not come back to 翻  译";

    // The second try, with the service there now.
    TCountingService service;
    service.Add(service.Slow(ResultPage("Hola"), 0, 1, 0));
    service.Start();
    Form1->ServiceHost = service.Host();
    ASSERT_TRUE(RunScript([&] {
        TRealInput::Key("Return");
        EXPECT_TRUE(WaitFor([] { return Form1->Memo2->Text() == "Hola"; }, 15000)) << "the second try did not work";
    }, 30000));
    EXPECT_EQ(service.Requests(), 1);
}

TEST_F(TranslationWait, ASilentServiceLeavesTheWindowAliveAndEndsInReadTimeout)
{
    TCountingService service;
    service.Add(TCountingService::Silent);
    service.Add(service.Slow(ResultPage("Hola"), 0, 1, 0));
    service.Start();
    Form1->ServiceHost = service.Host();
    const RECT before = [] {
        RECT r{};
        GetWindowRect(Form1->WindowHandle(), &r);
        return r;
    }();
    TOpenBox box;
    milliseconds waited{};
    bool disabledMeanwhile = false, waitCursor = false, repainted = false, moved = false, typedHeld = false;
    std::string copied;
    int requestsBeforeTheEnd = 0;
    ASSERT_TRUE(RunScript([&] {
        const auto start = steady_clock::now();
        TRealInput::Click(H(Form1->BitBtn1));
        ASSERT_TRUE(WaitFor([&] { return service.Requests() == 1; })) << "no request came";
        disabledMeanwhile = !IsWindowEnabled(H(Form1->BitBtn1)) && !IsWindowEnabled(H(Form1->Button3)) &&
                            !IsWindowEnabled(H(Form1->BitBtn4)) && IsWindowEnabled(H(Form1->BitBtn3));
        TRealInput::MoveTo(TRealInput::Centre(H(Form1->Memo1)));
        waitCursor = WaitFor(WaitCursorShown, 1500);
        repainted = Repaints(H(Form1), H(Form1->Memo1)) && service.Ended() == 0;
        POINT grip{};
        if (CaptionPoint(H(Form1), grip)) {
            TRealInput::ButtonDown(grip);
            TRealInput::MoveTo({grip.x + 40, grip.y + 30});
            TRealInput::ButtonUp();
            moved = WaitFor([&] {
                RECT now{};
                GetWindowRect(H(Form1), &now);
                return now.left == before.left + 40 && now.top == before.top + 30;
            }, 1500);
        }
        // What the request was made of stays as it is: typing changes
        // nothing in the source box (whose text still selects and copies),
        // and the target list takes no click or key.
        TRealInput::Click(H(Form1->Memo1));
        TRealInput::Key("End");
        TRealInput::Type("!");
        const DWORD sequence = GetClipboardSequenceNumber();
        TRealInput::Key("shift+Home");
        TRealInput::Key("ctrl+c");
        copied = ClipboardTextAfter(sequence);
        TRealInput::Click(H(Form1->wl_trglang));
        TRealInput::Key("Down");
        typedHeld = NeverWithin([] { return Form1->Memo1->Text() != "Hello" || Form1->wl_trglang->ItemIndex() != 13; },
                                1000) &&
                    OnWindowsThread(Held) == 4 && !IsWindowEnabled(H(Form1->BitBtn1)) && service.Ended() == 0;
        TRealInput::Click(H(Form1->BitBtn1)); // impatient: a second click
        requestsBeforeTheEnd = service.Requests();
        box = WaitForBox(kSilenceBoundMs + 15000);
        waited = duration_cast<milliseconds>(steady_clock::now() - start);
        if (box.Window) {
            TRealInput::Key("Return");
            WaitFor([&] { return !IsWindow(box.Window); });
        }
    }, 60000));
    std::printf("silent service: the error box came %lld ms after the click (bound %d ms)\n",
                static_cast<long long>(waited.count()), kSilenceBoundMs);
    EXPECT_TRUE(disabledMeanwhile) << "翻  译 and the commands on the boxes stay usable during the wait";
    EXPECT_TRUE(waitCursor) << "no wait cursor over the window";
    EXPECT_TRUE(repainted) << "the window did not repaint during the wait";
    EXPECT_TRUE(moved) << "the window did not move during the wait";
    EXPECT_TRUE(typedHeld) << "typing or a list changed what the pending translation was made of";
    EXPECT_EQ(copied, "Hello") << "the held source box selects and copies";
    EXPECT_EQ(requestsBeforeTheEnd, 1);
    ASSERT_NE(box.Window, nullptr) << "the wait did not end";
    EXPECT_EQ(box.Text, "Read Timeout.");
    EXPECT_GE(waited.count(), kSilenceBoundMs - 100);
    EXPECT_LT(waited.count(), kSilenceBoundMs + 10000) << "the wait went on well past its bound";
    EXPECT_TRUE(WaitFor([&] { return service.Ended() == 1; })) << "the connection was left open";
    EXPECT_TRUE(NeverWithin([&] { return service.Requests() != 1; }, 1000))
        << "a click made during the wait was sent afterwards";
    EXPECT_TRUE(IsWindowEnabled(H(Form1->BitBtn1)));
    EXPECT_TRUE(IsWindowEnabled(H(Form1->BitBtn4)));
    EXPECT_EQ(Held(), 0) << "the source box and the lists after the time-out";

    // The normal translation still works afterwards.
    bool arrowBack = false;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::MoveTo(TRealInput::Centre(H(Form1->Memo1)));
        arrowBack = WaitFor([] { return !WaitCursorShown(); }, 1500);
        TRealInput::Click(H(Form1->BitBtn1));
        EXPECT_TRUE(WaitFor([] { return Form1->Memo2->Text() == "Hola"; }, 15000)) << "no translation afterwards";
    }, 30000));
    EXPECT_TRUE(arrowBack) << "the wait cursor stayed";
    EXPECT_EQ(service.Requests(), 2);
}

TEST_F(TranslationWait, ASlowServiceKeepsTheWindowAliveAndOneClickMakesOneRequest)
{
    const std::string page = ResultPage("Hola", 100 * 1024);
    TCountingService service;
    service.Add(service.Slow(page, 1500, 10, 150));
    service.Start();
    Form1->ServiceHost = service.Host();
    bool repainted = false;
    milliseconds took{};
    ASSERT_TRUE(RunScript([&] {
        const auto start = steady_clock::now();
        TRealInput::Click(H(Form1->BitBtn1));
        ASSERT_TRUE(WaitFor([&] { return service.Requests() == 1; })) << "no request came";
        repainted = Repaints(H(Form1), H(Form1->Memo2)) && !service.Answering();
        for (int i = 0; i < 3; ++i)
            TRealInput::Click(H(Form1->BitBtn1));
        EXPECT_TRUE(WaitFor([] { return Form1->Memo2->Text() == "Hola"; }, 20000)) << "no translation";
        took = duration_cast<milliseconds>(steady_clock::now() - start);
    }, 60000));
    std::printf("slow service: 100 KB translated %lld ms after the click\n", static_cast<long long>(took.count()));
    EXPECT_TRUE(repainted) << "the window did not repaint during the wait";
    EXPECT_TRUE(NeverWithin([&] { return service.Requests() != 1; }, 1000))
        << "clicks made during the wait sent requests";
    // Everything as the result left it: the save controls follow the target box.
    EXPECT_TRUE(IsWindowEnabled(H(Form1->BitBtn1)));
    EXPECT_TRUE(IsWindowEnabled(H(Form1->Button4)));
    EXPECT_TRUE(IsWindowEnabled(H(Form1->Button6)));
    EXPECT_TRUE(IsWindowEnabled(H(Form1->BitBtn2)));
    EXPECT_EQ(Held(), 0) << "the source box and the lists after the result";
}

} // namespace
} // namespace orbelin
