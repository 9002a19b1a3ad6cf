#pragma once
// Input that comes through the X server, as a person's mouse and keyboard
// do: every call runs xdotool (a Linux program, which Wine starts like any
// other) and waits for it. The events then take Wine's whole input path:
// activation, focus, hit testing and the program's dialog keys. Controls
// are addressed by their screen rectangles read from the real windows.
//
// A click that opens a modal window does not return to the test until the
// window closes, so a test drives the windows from a script thread
// (RunScript) while this thread runs the message loop. The script reads the
// program's state on the windows' thread (WaitFor and OnWindowsThread do),
// where the program changes it.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace orbelin::test {

class TRealInput {
public:
    // The centre of a window's rectangle, in screen coordinates.
    static POINT Centre(HWND window);

    static void MoveTo(POINT point);
    static void Click(HWND window) { ClickAt(Centre(window)); }
    static void ClickAt(POINT point);
    static void DoubleClickAt(POINT point);
    static void ButtonDown(POINT point);
    static void ButtonUp();
    // xdotool key names: "Escape", "Tab", "shift+Tab", "Return", "Left".
    // A failure when the X server's input focus, where the keys go, is on
    // none of the program's windows on screen (from any of them Wine hands
    // the keys to the program's focused window).
    static void Key(const std::string& keys);
    // Types text (ASCII) into the window that has the keyboard focus; the
    // same failure.
    static void Type(const std::string& text);
    // The same keys and text sent wherever the X server's input focus is,
    // without the check (a window manager's own keys, another program's
    // window).
    static void KeyAsIs(const std::string& keys);
    static void TypeAsIs(const std::string& text);

    // Runs xdotool with the arguments and waits for it.
    static void Run(const std::string& arguments);
    // The same, and what xdotool printed; nothing when it did not end.
    static std::optional<std::string> Output(const std::string& arguments);
    // True when xdotool printed something (a search that found a window
    // prints its id).
    static bool Finds(const std::string& arguments);
    // The X window that has the X server's input focus: where keys go.
    static uintptr_t XFocus();
    // Starts a program (a Linux one by its Z: path) without waiting for it.
    static bool Start(const std::string& commandLine);

private:
    static void ExpectKeyboardOnFocus(const std::string& keys);
};

// Runs script on its own thread while this (the windows') thread dispatches
// messages, and returns when the script has ended; false (with a failure)
// when it did not finish within timeoutMs. A late script is stopped: its
// next wait or input throws, its menus and modal windows are closed so it
// can get there, and it is joined before this returns.
bool RunScript(const std::function<void()>& script, int timeoutMs = 20000);

// Runs call on the windows' thread and waits for it (at once when called there).
void RunOnWindowsThread(const std::function<void()>& call);
template <class F>
auto OnWindowsThread(F read)
{
    decltype(read()) result{};
    RunOnWindowsThread([&] { result = read(); });
    return result;
}

// Cancels the dialogs and closes the owned windows of the windows' thread.
void CloseModalWindows();

// Polls done until it holds or timeoutMs passes. done runs on the windows'
// thread, which dispatches messages meanwhile.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000);
// For a thing that must not happen: watches it for the whole of timeoutMs,
// true when it never did.
bool NeverWithin(const std::function<bool()>& happened, int timeoutMs);

// The clipboard's text once the program has written it. Reading opens the
// clipboard, and a clipboard held open here makes the program's own write
// fail, so nothing is read before the program has begun to write.
std::string ClipboardTextAfter(DWORD sequence);

// The window with the keyboard focus in the given thread (any thread may ask).
HWND FocusOf(DWORD threadId);
// The active window of the given thread.
HWND ActiveOf(DWORD threadId);

// The point of a window's non-client area that reports code to WM_NCHITTEST
// (HTCLOSE for the close box), found by scanning its caption rows.
bool FindHitTestPoint(HWND window, LRESULT code, POINT& point);

} // namespace orbelin::test
