#pragma once
// Where a person clicks to close one of the program's windows.

#include "tests/win/SkinTestSupport.h"

namespace orbelin::test {

// The close box of a window: the skinned frame's close button, or the
// system's caption button when the window is not skinned.
inline bool CloseBoxPoint(HWND window, POINT& point)
{
    if (FrameOf(window))
        return TitleButtonPoint(window, 0, point);
    return FindHitTestPoint(window, HTCLOSE, point);
}

} // namespace orbelin::test
