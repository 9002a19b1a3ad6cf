// A raw MDI frame (a frame window with an MDI client and two children, made
// with the system's MDI classes, no component form behind them) in the skin:
// the frame and its children get skinned frames, a maximized child's buttons
// show in the frame's menu bar and act on it, and the bar follows the menu
// the MDI client is given.

#include "skin/render/SkinManager.h"
#include "skin/render/core/SkinMessages.h"
#include "skin/render/frame/SkinFrame.h"
#include "skin/render/frame/SkinMenuBar.h"
#include "tests/win/ProgramForms.h"
#include "tests/win/RealInput.h"
#include "tests/win/ScreenPixels.h"
#include "tests/win/SkinPictures.h"
#include "tests/win/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orbelin {
namespace {

using namespace test;

constexpr UINT kFirstChildId = 50000;

LRESULT CALLBACK MdiFrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND client = GetDlgItem(window, 1);
    return DefFrameProcA(window, client, msg, wParam, lParam);
}

// The skin's private messages heard by the test's own windows.
std::vector<std::pair<HWND, UINT>> gHeard;

void Hear(HWND window, UINT msg)
{
    if (msg >= SKM_RESKIN && msg <= SKM_SKINNED)
        gHeard.emplace_back(window, msg);
}

// A frame that declines the skin: it answers the skin's question itself.
LRESULT CALLBACK DecliningFrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Hear(window, msg);
    return msg == SKM_SKINNED ? 1 : MdiFrameProc(window, msg, wParam, lParam);
}

LRESULT CALLBACK HearingProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Hear(window, msg);
    return DefWindowProcA(window, msg, wParam, lParam);
}

LRESULT CALLBACK MdiChildProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefMDIChildProcA(window, msg, wParam, lParam);
}

HMENU MakeMenu(const std::vector<std::string>& heads)
{
    HMENU bar = CreateMenu();
    for (const std::string& head : heads) {
        HMENU sub = CreatePopupMenu();
        AppendMenuA(sub, MF_STRING, 200, "新建");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), head.c_str());
    }
    return bar;
}

// The frame, its MDI client and two children, shown and active.
class TMdiWindows {
public:
    explicit TMdiWindows(int left = 20, bool declining = false)
    {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSA frame{};
        frame.lpfnWndProc = &MdiFrameProc;
        frame.hInstance = instance;
        frame.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
        frame.lpszClassName = "OrbelinMdiFrame";
        RegisterClassA(&frame);
        WNDCLASSA declined = frame;
        declined.lpfnWndProc = &DecliningFrameProc;
        declined.lpszClassName = "OrbelinDecliningMdiFrame";
        RegisterClassA(&declined);
        WNDCLASSA child = frame;
        child.lpfnWndProc = &MdiChildProc;
        child.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        child.lpszClassName = "OrbelinMdiChild";
        RegisterClassA(&child);

        FrameMenu = MakeMenu({"文件(&F)", "窗口(&W)"});
        Frame = CreateWindowExA(0, declining ? declined.lpszClassName : frame.lpszClassName, "MDI",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, left, 20, 560, 400,
                                nullptr, FrameMenu, instance, nullptr);
        CLIENTCREATESTRUCT create{GetSubMenu(FrameMenu, 1), kFirstChildId};
        Client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 0,
                                 0, Frame, reinterpret_cast<HMENU>(1), instance, &create);
        ShowWindow(Frame, SW_SHOW);
        SetForegroundWindow(Frame);
        for (const char* title : {"一", "二"}) {
            MDICREATESTRUCTA mdi{};
            mdi.szClass = child.lpszClassName;
            mdi.szTitle = title;
            mdi.hOwner = instance;
            mdi.x = mdi.y = CW_USEDEFAULT;
            mdi.cx = 260;
            mdi.cy = 160;
            mdi.style = WS_OVERLAPPEDWINDOW;
            Children.push_back(reinterpret_cast<HWND>(SendMessageA(Client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mdi))));
        }
    }
    ~TMdiWindows() { DestroyWindow(Frame); } // the children and menus go with it
    TMdiWindows(const TMdiWindows&) = delete;
    TMdiWindows& operator=(const TMdiWindows&) = delete;

    HWND ActiveChild(bool* maximized = nullptr) const
    {
        BOOL zoomed = FALSE;
        HWND active = reinterpret_cast<HWND>(SendMessageA(Client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&zoomed)));
        if (maximized)
            *maximized = zoomed != FALSE;
        return active;
    }

    HWND Frame = nullptr;
    HWND Client = nullptr;
    HMENU FrameMenu = nullptr;
    std::vector<HWND> Children;
};

const TSkinTitleButton* VisibleButton(HWND window, int action)
{
    const TSkinFrame* frame = FrameOf(window);
    if (frame)
        for (const auto& button : frame->TitleButtons())
            if (button->Visible && button->Button.Action == action)
                return button.get();
    return nullptr;
}

// A maximized child's button (7 minimize, 8 restore, 9 close) in the frame's
// menu bar shows frame 1 of its picture from the skin's MDI controls strip.
testing::AssertionResult BarShowsChildButton(HWND frameWindow, int action)
{
    const auto* button = VisibleButton(frameWindow, action);
    if (!button)
        return testing::AssertionFailure() << "no visible button " << action;
    const TSkinBitmap strip = TSkinSource::Get().Image("MDICONTROLS", "Image");
    const int a = strip.Width() / 12;
    const TSkinBitmap picture = StripFrame(Crop(strip, 4 * a * (action - 7), 0, 4 * a, strip.Height()), 4, 1, false);
    const RECT w = WindowRect(frameWindow);
    const TPixelComparison c = CompareWithScreen(picture, {w.left + button->Rect.Left, w.top + button->Rect.Top});
    if (c.Compared > 20 && c.Different == 0)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "button " << action << ": " << c.Different << " of " << c.Compared << " differ";
}

// Maximizes an MDI child with its own caption button, by the real mouse.
bool MaximizeByMouse(HWND child)
{
    bool zoomed = false;
    const bool ran = RunScript([&] {
        POINT p{};
        ASSERT_TRUE(WaitFor([&] { return TitleButtonPoint(child, 1, p); })) << "the child's maximize button";
        TRealInput::ClickAt(p);
        zoomed = WaitFor([&] { return IsZoomed(child) != FALSE; });
        TRealInput::MoveTo({5, 5});
    });
    return ran && zoomed;
}

TEST(SkinMdi, TheFrameAndItsChildrenAreSkinnedAndAMaximizedChildsButtonsLiveInTheBar)
{
    const TProgramForms forms;
    const TMdiWindows mdi;
    ASSERT_EQ(mdi.Children.size(), 2u);
    ASSERT_TRUE(WaitForFrame(mdi.Frame)) << "the MDI frame is skinned";
    EXPECT_EQ(FrameOf(mdi.Frame)->MdiRole(), TSkinFrame::mrFrame);
    ASSERT_NE(FrameOf(mdi.Frame)->MenuBar(), nullptr);
    EXPECT_EQ(FrameOf(mdi.Frame)->MenuBar()->Items().size(), 2u);
    for (HWND child : mdi.Children) {
        EXPECT_TRUE(WaitFor([&] { return FrameOf(child) != nullptr; }, 2000)) << "every child is skinned";
        if (const TSkinFrame* frame = FrameOf(child)) {
            EXPECT_EQ(frame->MdiRole(), TSkinFrame::mrChild);
        }
    }
    EXPECT_EQ(TSkinManage::Instance()->CountMdiChildren(), 2);
    Pump(300);
    SaveWindowShot(mdi.Frame, "screenshot-mdi.bmp");

    HWND active = mdi.ActiveChild();
    ASSERT_NE(active, nullptr);
    ASSERT_TRUE(MaximizeByMouse(active));
    EXPECT_TRUE(WaitFor([] { return TSkinManage::Instance()->MdiChildMaximized(); }, 2000)) << "the manager knows";
    for (int action : {7, 8, 9}) {
        testing::AssertionResult shown = testing::AssertionFailure();
        WaitFor([&] { return static_cast<bool>(shown = BarShowsChildButton(mdi.Frame, action)); }, 2000);
        EXPECT_TRUE(shown);
    }
    SaveWindowShot(mdi.Frame, "screenshot-mdi-maximized.bmp");
    {
        // The maximized child covers the client with its caption above it.
        RECT client{}, child{};
        GetClientRect(mdi.Client, &client);
        GetClientRect(active, &child);
        EXPECT_EQ(child.right, client.right);
        EXPECT_EQ(child.bottom, client.bottom);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetWindowRgn(active, region), ERROR) << "the system draws the maximized child, uncut";
        DeleteObject(region);
    }

    // The bar's restore button restores the child; its close button closes it.
    bool restored = false, closed = false;
    ASSERT_TRUE(RunScript([&] {
        const RECT w = WindowRect(mdi.Frame);
        auto click = [&](int action) {
            const TSkinRect r = OnWindowsThread([&] {
                const auto* button = VisibleButton(mdi.Frame, action);
                return button ? button->Rect : TSkinRect{};
            });
            TRealInput::ClickAt({w.left + (r.Left + r.Right) / 2, w.top + (r.Top + r.Bottom) / 2});
        };
        click(8);
        restored = WaitFor([&] {
            bool zoomed = true;
            mdi.ActiveChild(&zoomed);
            return !zoomed;
        });
        TRealInput::MoveTo({5, 5});
        POINT p{};
        WaitFor([&] { return TitleButtonPoint(active, 1, p); });
        TRealInput::ClickAt(p);
        WaitFor([&] {
            bool zoomed = false;
            mdi.ActiveChild(&zoomed);
            return zoomed;
        });
        TRealInput::MoveTo({5, 5});
        WaitFor([&] { return VisibleButton(mdi.Frame, 9) != nullptr; });
        click(9);
        closed = WaitFor([&] { return !IsWindow(active); });
        TRealInput::MoveTo({5, 5});
    }));
    EXPECT_TRUE(restored) << "the bar's restore button";
    EXPECT_TRUE(closed) << "the bar's close button closes the maximized child";
    EXPECT_TRUE(WaitFor([] { return TSkinManage::Instance()->CountMdiChildren() == 1; }, 2000));

    // The system maximizes the child that comes next; restored with the
    // bar's button, the children are in their skinned frames again.
    bool zoomed = false;
    HWND remaining = mdi.ActiveChild(&zoomed);
    ASSERT_EQ(remaining, mdi.Children[0]);
    EXPECT_TRUE(zoomed);
    ASSERT_TRUE(RunScript([&] {
        const RECT w = WindowRect(mdi.Frame);
        WaitFor([&] { return VisibleButton(mdi.Frame, 8) != nullptr; });
        const TSkinRect r = OnWindowsThread([&] {
            const auto* button = VisibleButton(mdi.Frame, 8);
            return button ? button->Rect : TSkinRect{};
        });
        TRealInput::ClickAt({w.left + (r.Left + r.Right) / 2, w.top + (r.Top + r.Bottom) / 2});
        WaitFor([&] { return !IsZoomed(remaining); });
        TRealInput::MoveTo({5, 5});
    }));
    EXPECT_FALSE(IsZoomed(remaining));
    EXPECT_TRUE(WaitFor([] { return !TSkinManage::Instance()->MdiChildMaximized(); }, 2000))
        << "no child is maximized any more";
    EXPECT_TRUE(WaitFor([&] { return VisibleButton(mdi.Frame, 9) == nullptr; }, 2000)) << "the bar's buttons go";
    EXPECT_EQ(GetWindowLongPtrA(remaining, GWL_STYLE) & WS_CAPTION, 0) << "the skin draws the child's caption again";
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(remaining, region), ERROR) << "with its region";
    DeleteObject(region);
    SaveWindowShot(mdi.Frame, "screenshot-mdi-restored.bmp");
}

// WM_MDISETMENU gives the frame another menu: the skinned bar takes its items.
TEST(SkinMdi, TheBarFollowsTheMenuTheClientIsGiven)
{
    const TProgramForms forms;
    const TMdiWindows mdi;
    ASSERT_TRUE(WaitForFrame(mdi.Frame));
    HMENU other = MakeMenu({"编辑(&E)", "视图(&V)", "帮助(&H)"});
    SendMessageA(mdi.Client, WM_MDISETMENU, reinterpret_cast<WPARAM>(other), 0);
    DrawMenuBar(mdi.Frame);
    std::vector<std::string> captions;
    EXPECT_TRUE(WaitFor([&] {
        captions.clear();
        if (const TSkinFrame* frame = FrameOf(mdi.Frame); frame && frame->MenuBar())
            for (const auto& item : frame->MenuBar()->Items())
                captions.push_back(item->Caption);
        return captions.size() == 3;
    }, 2000));
    EXPECT_EQ(captions, (std::vector<std::string>{"编辑(&E)", "视图(&V)", "帮助(&H)"}));
    EXPECT_EQ(GetMenu(mdi.Frame), nullptr) << "the bar draws it; the system's stays off";
    DestroyMenu(mdi.FrameMenu); // no longer the window's
}

// Two skinned MDI frames side by side: a child maximized in one stays so,
// with its caption, however often the other frame paints.
TEST(SkinMdi, EachFrameKeepsItsOwnMaximizedChild)
{
    const TProgramForms forms;
    const TMdiWindows first;
    ASSERT_TRUE(WaitForFrame(first.Frame));
    HWND active = first.ActiveChild();
    ASSERT_TRUE(WaitFor([&] { return FrameOf(active) != nullptr; }, 2000));
    ASSERT_TRUE(MaximizeByMouse(active));
    ASSERT_TRUE(WaitFor([&] { return static_cast<bool>(BarShowsChildButton(first.Frame, 9)); }, 2000));

    const TMdiWindows second(600);
    ASSERT_TRUE(WaitForFrame(second.Frame));
    RedrawWindow(second.Frame, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_EQ(GetWindowLongPtrA(active, GWL_STYLE) & WS_CAPTION, WS_CAPTION) << "the other frame took its caption";
    EXPECT_TRUE(IsZoomed(active));
    EXPECT_TRUE(BarShowsChildButton(first.Frame, 9));
}

// The skin's private messages reach only windows the skin skins: not a
// window it would never skin (here one of no size), nor the frame of a
// skinned MDI child when that frame declined the skin.
TEST(SkinMdi, ThePrivateMessagesReachOnlyTheWindowsTheSkinSkins)
{
    const TProgramForms forms;
    gHeard.clear();
    WNDCLASSA hearing{};
    hearing.lpfnWndProc = &HearingProc;
    hearing.hInstance = GetModuleHandleA(nullptr);
    hearing.lpszClassName = "OrbelinHearingWindow";
    RegisterClassA(&hearing);
    HWND empty = CreateWindowExA(0, hearing.lpszClassName, "", WS_POPUP | WS_VISIBLE, 10, 10, 0, 0, nullptr, nullptr,
                                 hearing.hInstance, nullptr);
    SetForegroundWindow(empty);
    Pump(100);
    DestroyWindow(empty);

    const TMdiWindows declining(20, true);
    Pump(300);
    ASSERT_EQ(FrameOf(declining.Frame), nullptr) << "the frame declined the skin";
    HWND child = declining.ActiveChild();
    ASSERT_TRUE(TSkinManage::Instance()->SkinWindow(child)) << "its children are skinned all the same";
    ASSERT_TRUE(WaitFor([&] { return FrameOf(child) && FrameOf(child)->FrameState() == TSkinFrame::fsRunning; }, 2000));
    ASSERT_TRUE(MaximizeByMouse(child));
    Pump(300);
    std::string unasked;
    for (const auto& [window, msg] : gHeard)
        if (window == empty || msg != SKM_SKINNED)
            unasked += (window == empty ? " empty window " : " declining frame ") + std::to_string(msg);
    EXPECT_EQ(unasked, "");
}

} // namespace
} // namespace orbelin
