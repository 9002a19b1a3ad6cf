#pragma once
// Input that comes through the X server, as a person's mouse and keyboard
// do: every call runs xdotool (a Linux program, which Wine starts like any
// other) and waits for it. The events then take Wine's whole input path:
// activation, focus, hit testing and the program's dialog keys. Controls
// are addressed by their screen rectangles read from the real windows.
//
// A click that opens a modal window does not return to the test until the
// window closes, so a test drives the windows from a script thread
// (RunScript) while this thread runs the message loop.

#include <windows.h>

#include <functional>
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
    static void Key(const std::string& keys);
    // Types text (ASCII) into the window that has the keyboard focus.
    static void Type(const std::string& text);
    // The same keys and text sent wherever the X server's input focus is,
    // without first handing it to the program's focused window: what a
    // person's keys do, so a keyboard left nowhere shows.
    static void KeyAsIs(const std::string& keys);
    static void TypeAsIs(const std::string& text);

    // Runs xdotool with the arguments and waits for it.
    static void Run(const std::string& arguments);
    // The same, true when xdotool printed something (a search that found a
    // window prints its id).
    static bool Finds(const std::string& arguments);
    // Starts a program (a Linux one by its Z: path) without waiting for it.
    static bool Start(const std::string& commandLine);

private:
    static void FocusKeyboard();
};

// Runs script on its own thread while this (the windows') thread dispatches
// messages, and returns when the script has finished; false when it did not
// finish within timeoutMs (the script thread is then left to end by itself).
bool RunScript(const std::function<void()>& script, int timeoutMs = 20000);

// Cancels the dialogs and closes the owned windows of the windows' thread.
void CloseModalWindows();

// Polls done (from any thread) until it holds or timeoutMs passes. On the
// windows' thread it dispatches messages meanwhile.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000);

// The window with the keyboard focus in the given thread (any thread may ask).
HWND FocusOf(DWORD threadId);
// The active window of the given thread.
HWND ActiveOf(DWORD threadId);

// The point of a window's non-client area that reports code to WM_NCHITTEST
// (HTCLOSE for the close box), found by scanning its caption rows.
bool FindHitTestPoint(HWND window, LRESULT code, POINT& point);

} // namespace orbelin::test
