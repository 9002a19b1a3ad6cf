#pragma once
// Helpers for driving the real windows under Wine: a watcher thread that
// finds the modal box or dialog a command opens, reads it and closes it.

#include "ui/WindowSearch.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace orbelin::test {

struct TBoxInfo {
    bool Found = false;
    std::string Caption;
    std::string Text;
    bool HasIcon = false;
    std::vector<std::string> Buttons;
    bool OwnerDisabled = false; // the main window took no input meanwhile
};

// Runs action on this thread while a watcher waits for a message box of this
// process, records it and presses its first button.
TBoxInfo RunAndCloseMessageBox(const std::function<void()>& action, HWND owner = nullptr, int timeoutMs = 8000);

// Runs action while a watcher fills the save dialog's file name with path and
// confirms it (or cancels when path is empty). Returns whether a dialog came.
bool RunWithSaveDialog(const std::function<void()>& action, const std::string& path, int timeoutMs = 15000);

// Runs action while a watcher waits for a visible window of the given
// caption, calls inspect(window) on the watcher thread, then posts a click to
// the button with text buttonText inside it.
bool RunWithWindow(const std::function<void()>& action, const std::string& caption,
                   const std::function<void(HWND)>& inspect, const std::string& buttonText, int timeoutMs = 8000);

// Writes what the screen shows of window to a 24-bit BMP file.
bool SaveWindowShot(HWND window, const std::string& fileName);
std::string ClipboardText();
void SetClipboardText(const std::string& text);
void EmptyClipboardNow();
// Pumps messages for about ms milliseconds.
void Pump(int ms);
std::string TempPath(const std::string& name);

} // namespace orbelin::test
