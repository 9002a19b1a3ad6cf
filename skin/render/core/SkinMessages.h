#pragma once
// The private window messages the skin manager, the skinned frames and the
// popup skins send one another.

#include <windows.h>

namespace orbelin {

// Runs a re-skin of the frame (accepted from outside through the form).
inline constexpr UINT SKM_RESKIN = 0x3401;
// Repaints the skinned frame.
inline constexpr UINT SKM_NCREPAINT = 0x3502;
// Posted right after a frame was attached (wParam 0, lParam 1000): fit the
// window to the skinned frame, build its region, start the hover timer.
inline constexpr UINT SKM_START = 0x3503;
// Sent to ask whether a window is skinned (every skin object answers 1);
// posted by a frame with wParam = the action of a custom title button.
inline constexpr UINT SKM_SKINNED = 0x3504;

} // namespace orbelin
