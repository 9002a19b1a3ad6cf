#pragma once
// What the tests of the skinned windows ask of them: a window's frame skin,
// waiting for it to run, its rectangle, where its title buttons are.

#include "skin/render/SkinFrame.h"
#include "skin/render/SkinGeometry.h"
#include "skin/render/SkinManager.h"
#include "tests/win/RealInput.h"
#include "ui/ExtCtrls.h"

#include <windows.h>

namespace orbelin::test {

inline TSkinFrame* FrameOf(HWND window)
{
    return TSkinManage::Instance() ? TSkinManage::Instance()->FindFormSkin(window) : nullptr;
}

// Waits until the window's frame has fitted the window and runs (its
// hover timer runs from the end of its start on).
inline bool WaitForFrame(HWND window)
{
    return WaitFor([window] {
        const TSkinFrame* frame = FrameOf(window);
        return frame && frame->FrameState() == TSkinFrame::fsRunning && frame->HoverTimer() &&
               frame->HoverTimer()->Enabled();
    });
}

inline RECT WindowRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// The screen centre of the visible title button of the window's skinned
// frame that has the action (0 close, 2 minimize); false when there is none.
inline bool TitleButtonPoint(HWND window, int action, POINT& point)
{
    const TSkinFrame* frame = FrameOf(window);
    if (!frame)
        return false;
    const RECT r = WindowRect(window);
    for (const auto& button : frame->TitleButtons())
        if (button->Visible && button->Button.Action == action) {
            point = {r.left + (button->Rect.Left + button->Rect.Right) / 2,
                     r.top + (button->Rect.Top + button->Rect.Bottom) / 2};
            return true;
        }
    return false;
}

} // namespace orbelin::test
