#pragma once
// Where a person clicks to close one of the program's windows.

#include "skin/render/SkinFrame.h"
#include "skin/render/SkinManager.h"
#include "tests/win/RealInput.h"

namespace orbelin::test {

// The close box of a window: the skinned frame's close button, or the
// system's caption button when the window is not skinned.
inline bool CloseBoxPoint(HWND window, POINT& point)
{
    if (TSkinFrame* frame = TSkinManage::Instance() ? TSkinManage::Instance()->FindFormSkin(window) : nullptr) {
        RECT r{};
        GetWindowRect(window, &r);
        for (const auto& button : frame->TitleButtons())
            if (button->Visible && button->Button.Action == 0) {
                point = {r.left + (button->Rect.Left + button->Rect.Right) / 2,
                         r.top + (button->Rect.Top + button->Rect.Bottom) / 2};
                return true;
            }
        return false;
    }
    return FindHitTestPoint(window, HTCLOSE, point);
}

} // namespace orbelin::test
