#pragma once
// What the tests of the skinned windows ask of them: a window's frame skin,
// waiting for it to run, its rectangle, where its title buttons are.

#include "skin/render/SkinManager.h"
#include "skin/render/controls/SkinScrolling.h"
#include "skin/render/draw/SkinGeometry.h"
#include "skin/render/frame/SkinFrame.h"
#include "tests/win/RealInput.h"
#include "tests/win/TestForm.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Application.h"
#include "ui/ExtCtrls.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

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

// A form of 320 x height with a menu bar of heads, each holding items
// ("-" a separator), shown; its frame is running when the form has a frame.
// fill adds more to the bar before it reaches the window.
inline TTestForm* ShowMenuForm(const std::vector<std::string>& heads, const std::vector<std::string>& items,
                               int height = 160, const std::function<void(TTestForm&, TMainMenu&)>& fill = {})
{
    auto* form = new TTestForm(&Application()); // owned by the application
    form->Read("object MenuForm: TTestForm\n  ClientWidth = 320\n  ClientHeight = " + std::to_string(height) +
               "\n  Caption = 'Menu bar'\n  Position = poScreenCenter\nend\n");
    auto* bar = new TMainMenu(form); // owned by the form, as every item
    for (const std::string& head : heads) {
        auto* top = new TMenuItem(form);
        top->Caption = head;
        bar->Items().Add(top);
        for (const std::string& caption : items) {
            auto* item = new TMenuItem(form);
            item->Caption = caption;
            top->Add(item);
        }
    }
    if (fill)
        fill(*form, *bar);
    form->SetMenu(bar);
    form->Show();
    EXPECT_TRUE(WaitForFrame(form->WindowHandle()));
    Pump(300);
    return form;
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
