#pragma once
// What the skin engine reads of a window it skins: its class name and the
// text its caption shows, as ANSI strings.

#include <windows.h>

#include <string>

namespace orbelin {

std::string WindowClassName(HWND window);
// The window's text as its caption shows it, up to 1000 characters.
std::string CaptionText(HWND window);

} // namespace orbelin
