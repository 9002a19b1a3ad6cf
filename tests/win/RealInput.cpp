#include "tests/win/RealInput.h"

#include "base/Exceptions.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>

namespace orbelin::test {

namespace {

// Wine runs a Linux executable given by its path on drive Z:.
constexpr const char* kXdotool = "Z:\\usr\\bin\\xdotool";
// Static initialisation runs on the test's main thread, which owns the windows.
const DWORD kWindowsThread = GetCurrentThreadId();

std::string Coordinates(POINT p) { return std::to_string(p.x) + " " + std::to_string(p.y); }

// The X window Wine made for a top-level window, or 0.
uintptr_t XWindowOf(HWND window)
{
    return window ? reinterpret_cast<uintptr_t>(GetPropA(window, "__wine_x11_whole_window")) : 0;
}

// Starts a command line; the caller closes the handles in pi.
bool Launch(std::string command, PROCESS_INFORMATION& pi)
{
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    return CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != FALSE;
}

// The script's calls to the windows' thread go through a message-only
// window of that thread.
constexpr UINT kCallMessage = WM_APP + 19;

LRESULT CALLBACK CallerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kCallMessage)
        return DefWindowProcA(window, message, wParam, lParam);
    (*reinterpret_cast<const std::function<void()>*>(lParam))();
    return 1;
}

HWND MakeCaller()
{
    WNDCLASSA cls{};
    cls.lpfnWndProc = &CallerProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "OrbelinTestCaller";
    RegisterClassA(&cls);
    return CreateWindowExA(0, cls.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
}

const HWND kCaller = MakeCaller();

// Thrown into a script that ran out of time, at its next wait or input.
struct TScriptStopped {};
thread_local const std::atomic<bool>* tStop = nullptr;

void ThrowIfStopped()
{
    if (tStop && *tStop)
        throw TScriptStopped{};
}

// Dispatches this (the windows') thread's messages until done holds.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        Application().ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Ends the menus and modal windows of the windows' thread until over holds
// (at most half a minute), from another thread.
void EndOpenStates(const std::function<bool()>& over)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!over() && std::chrono::steady_clock::now() < end) {
        EndMenu();
        TRealInput::KeyAsIs("Escape");
        CloseModalWindows();
        for (int i = 0; i < 25 && !over(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// The program's top-level window Wine made the X window for, or null.
HWND WindowOfX(uintptr_t x)
{
    struct TSearch {
        uintptr_t X;
        HWND Found;
    } search{x, nullptr};
    EnumThreadWindows(
        kWindowsThread,
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<TSearch*>(param);
            if (XWindowOf(window) == s->X)
                s->Found = window;
            return s->Found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

std::string DescribeXWindow(uintptr_t x)
{
    const HWND window = WindowOfX(x);
    if (!window)
        return "none of the program's";
    char cls[64] = {}, text[128] = {};
    GetClassNameA(window, cls, sizeof(cls));
    GetWindowTextA(window, text, sizeof(text));
    return std::string(cls) + " \"" + text + "\"" + (IsWindowVisible(window) ? "" : ", hidden");
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

POINT TRealInput::Centre(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void TRealInput::Run(const std::string& arguments)
{
    ThrowIfStopped();
    // Appended, not concatenated: GCC 12 warns wrongly on a moved concatenation.
    std::string command = kXdotool;
    command += ' ';
    command += arguments;
    PROCESS_INFORMATION pi{};
    if (!Launch(command, pi))
        throw Exception("Cannot run xdotool: error " + std::to_string(GetLastError()));
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // Give Wine's X event thread a moment to turn the events into messages.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
}

// Wine passes neither a Linux program's exit status nor a pipe back, so the
// command writes to a file through the shell, and a last line says it ended.
std::optional<std::string> TRealInput::Output(const std::string& arguments)
{
    static std::atomic<int> serial = 0;
    const std::string name = "/tmp/orbelin-xdotool-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++serial);
    ThrowIfStopped();
    PROCESS_INFORMATION pi{};
    if (!Launch("Z:\\bin\\sh -c \"/usr/bin/xdotool " + arguments + " >" + name + "; echo end >>" + name + "\"", pi))
        throw Exception("Cannot run the shell: error " + std::to_string(GetLastError()));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::string windowsName = "Z:" + name;
    std::replace(windowsName.begin(), windowsName.end(), '/', '\\');
    constexpr std::string_view marker = "end\n";
    std::string output;
    const bool ended = WaitFor(
        [&] {
            output = ReadWholeFile(windowsName);
            return output.ends_with(marker);
        },
        5000);
    DeleteFileA(windowsName.c_str());
    if (!ended)
        return std::nullopt;
    output.resize(output.size() - marker.size());
    return output;
}

// A search that found a window prints its id.
bool TRealInput::Finds(const std::string& arguments)
{
    const std::optional<std::string> output = Output(arguments);
    return output && !output->empty();
}

uintptr_t TRealInput::XFocus()
{
    const std::optional<std::string> output = Output("getwindowfocus -f");
    return output ? std::strtoull(output->c_str(), nullptr, 10) : 0;
}

bool TRealInput::Start(const std::string& commandLine)
{
    PROCESS_INFORMATION pi{};
    if (!Launch(commandLine, pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

void TRealInput::MoveTo(POINT point) { Run("mousemove " + Coordinates(point)); }

void TRealInput::ClickAt(POINT point) { Run("mousemove " + Coordinates(point) + " sleep 0.05 click 1"); }

void TRealInput::DoubleClickAt(POINT point)
{
    Run("mousemove " + Coordinates(point) + " sleep 0.05 click --repeat 2 --delay 60 1");
}

void TRealInput::ButtonDown(POINT point) { Run("mousemove " + Coordinates(point) + " sleep 0.05 mousedown 1"); }

void TRealInput::ButtonUp() { Run("mouseup 1"); }

// Keys go to the X window that has the input focus, which follows the
// window the program activates; Wine hands keys that reach any of the
// program's windows on screen to the window with the program's focus. A
// person types without first clicking into the window they see active, so
// the test does not move the X focus either: it checks where it is, and a
// keyboard the program left elsewhere (after a window closed, say) fails.
// Under a window manager (scripts/with-openbox says so) the tests' windows
// are ones it does not manage, and it may take the X focus from them
// whatever the program does; there the focus is given as a click would.
void TRealInput::ExpectKeyboardOnFocus(const std::string& keys)
{
    static const bool windowManager = std::getenv("ORBELIN_WINDOW_MANAGER") != nullptr;
    uintptr_t want = 0, have = 0;
    bool reaches = false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(windowManager ? 0 : 3);
    do {
        have = XFocus();
        reaches = OnWindowsThread([&] {
            // Keys go to the focused window, else to the active one; a
            // menu's own loop takes them while it tracks.
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            GetGUIThreadInfo(kWindowsThread, &info);
            const HWND focus = info.hwndFocus    ? info.hwndFocus
                               : info.hwndActive ? info.hwndActive
                                                 : info.hwndMenuOwner;
            want = XWindowOf(focus ? GetAncestor(focus, GA_ROOT) : nullptr);
            const HWND target = WindowOfX(have);
            return want && target && IsWindowVisible(target);
        });
    } while (!reaches && std::chrono::steady_clock::now() < end);
    if (reaches)
        return;
    if (windowManager && want) {
        Run("windowfocus " + std::to_string(want));
        return;
    }
    ADD_FAILURE() << "the keys \"" << keys << "\" would go to X window " << have << " (" << DescribeXWindow(have)
                  << "); the program's keyboard is in X window " << want << " (" << DescribeXWindow(want) << ")";
    // Given to it as a click would, so that the rest of the test still runs.
    if (want)
        Run("windowfocus " + std::to_string(want));
}

void TRealInput::Key(const std::string& keys)
{
    ExpectKeyboardOnFocus(keys);
    KeyAsIs(keys);
}

void TRealInput::Type(const std::string& text)
{
    ExpectKeyboardOnFocus(text);
    TypeAsIs(text);
}

void TRealInput::KeyAsIs(const std::string& keys) { Run("key --delay 40 " + keys); }

void TRealInput::TypeAsIs(const std::string& text) { Run("type --delay 30 -- \"" + text + "\""); }

bool RunScript(const std::function<void()>& script, int timeoutMs)
{
    std::atomic<bool> stop = false, finished = false, seen = false, kept = false;
    std::atomic<bool> late = false, leftOpen = false;
    std::thread worker([&] {
        tStop = &stop;
        try {
            script();
        } catch (const TScriptStopped&) {
        } catch (const std::exception& e) {
            ADD_FAILURE() << "script: " << e.what();
        }
        tStop = nullptr;
        finished = true;
    });
    // This thread may sit in a menu's or a modal window's own loop, which
    // never comes back here; the keeper ends such a state from outside.
    std::thread keeper([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!finished && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!finished) {
            late = true;
            stop = true;
            EndOpenStates([&] { return finished.load(); });
        }
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (!seen && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!seen) {
            leftOpen = true;
            EndOpenStates([&] { return seen.load(); });
        }
        kept = true;
    });
    // Returns once the script has finished (the keeper ends what holds it
    // up) and this thread is back here; then both threads can be joined.
    const bool ended = PumpUntil([&] { return finished.load(); }, timeoutMs + 40000);
    seen = ended;
    if (!ended || !PumpUntil([&] { return kept.load(); }, 40000)) {
        std::fprintf(stderr, "A script outlived its test and cannot be stopped; ending the test program.\n");
        std::fflush(stderr);
        ExitProcess(3);
    }
    worker.join();
    keeper.join();
    if (late)
        ADD_FAILURE() << "the script did not finish within " << timeoutMs << " ms; it was stopped";
    if (leftOpen)
        ADD_FAILURE() << "the script ended with a menu or a modal window still open";
    return !late;
}

void RunOnWindowsThread(const std::function<void()>& call)
{
    if (GetCurrentThreadId() == kWindowsThread) {
        call();
        return;
    }
    ThrowIfStopped();
    SendMessageA(kCaller, kCallMessage, 0, reinterpret_cast<LPARAM>(&call));
}

void CloseModalWindows()
{
    EnumThreadWindows(
        kWindowsThread,
        [](HWND window, LPARAM) -> BOOL {
            char cls[16] = {};
            GetClassNameA(window, cls, sizeof(cls));
            if (IsWindowVisible(window) && lstrcmpA(cls, "#32770") == 0)
                PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            else if (IsWindowVisible(window) && GetWindow(window, GW_OWNER))
                PostMessageA(window, WM_CLOSE, 0, 0);
            return TRUE;
        },
        0);
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs)
{
    if (GetCurrentThreadId() == kWindowsThread)
        return PumpUntil(done, timeoutMs);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        ThrowIfStopped();
        bool held = false;
        RunOnWindowsThread([&] { held = done(); });
        if (held)
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool NeverWithin(const std::function<bool()>& happened, int timeoutMs) { return !WaitFor(happened, timeoutMs); }

std::string ClipboardTextAfter(DWORD sequence)
{
    if (!WaitFor([&] { return GetClipboardSequenceNumber() != sequence; }))
        return {};
    std::string text;
    WaitFor([&] { return !(text = ClipboardText()).empty(); }, 2000);
    return text;
}

HWND FocusOf(DWORD threadId)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

HWND ActiveOf(DWORD threadId)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(threadId, &info) ? info.hwndActive : nullptr;
}

bool FindHitTestPoint(HWND window, LRESULT code, POINT& point)
{
    RECT r{};
    GetWindowRect(window, &r);
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    // The caption lies between the window's top and its client area.
    for (int y = r.top + 1; y < origin.y; y += 2)
        for (int x = r.right - 2; x > r.left; x -= 2) {
            const POINT p{x, y};
            if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)) == code) {
                point = p;
                return true;
            }
        }
    return false;
}

} // namespace orbelin::test
