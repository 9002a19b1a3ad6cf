#pragma once
// The items of a skinned menu bar's drop-down menus, which the frame's
// window measures and draws: component items of the form's menu, and raw
// items drawn through temporary items.

#include <windows.h>

namespace orbelin {

struct TSkinFrameState;

// WM_MEASUREITEM and WM_DRAWITEM of menu items at a skinned frame; false
// for what is not an item of the bar's menus.
bool HandleFrameMenuItem(const TSkinFrameState& frame, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

} // namespace orbelin
