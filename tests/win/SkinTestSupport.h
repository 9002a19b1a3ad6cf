#pragma once
// What the tests of the skinned windows ask of them: a window's frame skin,
// waiting for it to run, its rectangle, where its title buttons are.

#include "skin/render/SkinManager.h"
#include "skin/render/controls/SkinScrolling.h"
#include "skin/render/draw/SkinGeometry.h"
#include "skin/render/frame/SkinFrame.h"
#include "tests/win/RealInput.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"

#include <windows.h>

#include <string>

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

// Fills the memo with 120 lines and gives it a vertical scroll bar; the
// skinned bar the main window's frame made for it, or null.
inline TSkinScrollBar* MemoWithScrollBar(TMemo* memo, HWND frameWindow)
{
    std::string text;
    for (int i = 0; i < 120; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    memo->SetText(text);
    HWND window = memo->WindowHandle();
    SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) | WS_VSCROLL);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    TSkinScrollBar* bars = nullptr;
    WaitFor([&] {
        for (TSkinControl* c : FrameOf(frameWindow)->Controls())
            if (c->Window() == window)
                bars = dynamic_cast<TSkinScrollBar*>(c);
        return bars != nullptr;
    }, 1000);
    return bars;
}

} // namespace orbelin::test
