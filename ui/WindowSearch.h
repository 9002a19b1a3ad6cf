#pragma once
// Finding windows by class, caption and text from outside them: from another
// thread or another process, as tests and the demo driver do. Nothing here
// needs the component layer's objects, only window handles.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace orbelin {

// The window's text, asked with WM_GETTEXT so it also works across threads
// and processes; gives up on a window that does not answer within 2 s.
std::string WindowText(HWND window);

// The descendants of parent of the class (any letter case; empty: any class),
// in the order the system lists them.
std::vector<HWND> ChildWindows(HWND parent, std::string_view className = {});

// The first descendant of parent of that class whose text is text, or null.
HWND ChildWithText(HWND parent, std::string_view className, std::string_view text);

// Waits up to timeoutMs for a visible top-level window of process (0: any
// process) with that class and caption (empty: any); null when none came.
HWND WaitForTopWindow(DWORD process, std::string_view className, std::string_view caption, int timeoutMs);

} // namespace orbelin
