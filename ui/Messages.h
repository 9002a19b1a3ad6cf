#pragma once
// Window messages as the component layer passes them around, and the
// component messages it sends to itself. The component messages live in the
// application's private range (WM_APP and up), so no system message clashes.

#include <windows.h>

namespace orbelin {

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

inline constexpr UINT CM_BASE = WM_APP + 0x3000;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 1;
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 2;
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 3;
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 4;
inline constexpr UINT CM_MENUCHANGED = CM_BASE + 5;
inline constexpr UINT CM_EXIT = CM_BASE + 6;
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 7;
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 8;
// Posted to a form to release it after the current message has finished.
inline constexpr UINT CM_RELEASE = CM_BASE + 9;

} // namespace orbelin
