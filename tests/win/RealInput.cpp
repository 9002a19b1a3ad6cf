#include "tests/win/RealInput.h"

#include "base/Exceptions.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
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
// search writes to a file through the shell, and a last line says it ended.
bool TRealInput::Finds(const std::string& arguments)
{
    static std::atomic<int> serial = 0;
    const std::string name = "/tmp/orbelin-xdotool-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++serial);
    PROCESS_INFORMATION pi{};
    if (!Launch("Z:\\bin\\sh -c \"/usr/bin/xdotool " + arguments + " >" + name + "; echo end >>" + name + "\"", pi))
        throw Exception("Cannot run the shell: error " + std::to_string(GetLastError()));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::string windowsName = "Z:" + name;
    std::replace(windowsName.begin(), windowsName.end(), '/', '\\');
    // Whatever xdotool printed, then "end": a window id before it means found.
    constexpr std::string_view marker = "end\n";
    std::string output;
    const bool ended = WaitFor(
        [&] {
            output = ReadWholeFile(windowsName);
            return output.ends_with(marker);
        },
        5000);
    DeleteFileA(windowsName.c_str());
    return ended && output.size() > marker.size();
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

// Keys go to the X window that has the input focus. A window manager may
// leave that elsewhere after a window closes while the program has already
// put its own focus back; a person would have clicked into the window first.
// The X focus is given to the window that holds the program's focus, as such
// a click would; where the program's focus is (what the tests check) is
// untouched.
void TRealInput::FocusKeyboard()
{
    const HWND focus = FocusOf(kWindowsThread);
    if (const uintptr_t x = XWindowOf(focus ? GetAncestor(focus, GA_ROOT) : nullptr))
        Run("windowfocus " + std::to_string(x));
}

void TRealInput::Key(const std::string& keys)
{
    FocusKeyboard();
    KeyAsIs(keys);
}

void TRealInput::Type(const std::string& text)
{
    FocusKeyboard();
    TypeAsIs(text);
}

void TRealInput::KeyAsIs(const std::string& keys) { Run("key --delay 40 " + keys); }

void TRealInput::TypeAsIs(const std::string& text) { Run("type --delay 30 -- \"" + text + "\""); }

bool RunScript(const std::function<void()>& script, int timeoutMs)
{
    // Shared with the thread, which may outlive a timed-out call.
    struct TState {
        std::atomic<bool> Finished = false;
        std::atomic<bool> Seen = false;
    };
    auto state = std::make_shared<TState>();
    std::thread worker([script, state] {
        try {
            script();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "script: " << e.what();
        }
        state->Finished = true;
        // A script that ends while a menu or a modal window still holds the
        // windows' thread would hold the whole test program for ever.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (!state->Seen && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!state->Seen) {
            ADD_FAILURE() << "the script ended with a menu or a modal window still open";
            TRealInput::Key("Escape Escape");
            CloseModalWindows();
        }
    });
    const bool done = WaitFor([&] { return state->Finished.load(); }, timeoutMs);
    state->Seen = true;
    if (done)
        worker.join();
    else
        worker.detach();
    return done;
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
    const bool windowsThread = GetCurrentThreadId() == kWindowsThread;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        if (windowsThread)
            Application().ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
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
