// Raw windows (made with CreateWindowEx, no component form behind them) in
// the skin: a window with a menu of its own gets the skinned bar, and the
// items of its drop-down menus are drawn from the skin through temporary
// items, whatever the window keeps in their item data.

#include "skin/render/SkinManager.h"
#include "skin/render/frame/SkinFrame.h"
#include "skin/render/frame/SkinMenuBar.h"
#include "tests/win/ProgramForms.h"
#include "tests/win/RealInput.h"
#include "tests/win/ScreenPixels.h"
#include "tests/win/SkinPictures.h"
#include "tests/win/SkinTestSupport.h"
#include "ui/ExtCtrls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace orbelin {
namespace {

using namespace test;

constexpr UINT kOpenCommand = 101, kQuitCommand = 102;

// The commands the raw window received.
std::vector<UINT> gCommands;

LRESULT CALLBACK RawWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && HIWORD(wParam) == 0)
        gCommands.push_back(LOWORD(wParam));
    return DefWindowProcA(window, msg, wParam, lParam);
}

// An item whose data is the window's own business: here a value no object
// lives at, which the skin must never take for one of its items.
void AppendItem(HMENU menu, UINT type, UINT id, const char* text)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | (text ? MIIM_STRING : 0);
    info.fType = type;
    info.wID = id;
    info.dwItemData = 0x10;
    info.dwTypeData = const_cast<char*>(text);
    InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

class TRawMenuWindow {
public:
    // exStyle WS_EX_LEFTSCROLLBAR makes a right-to-left window.
    explicit TRawMenuWindow(DWORD exStyle = 0)
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &RawWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "OrbelinRawMenuWindow";
        RegisterClassA(&wc);
        HMENU bar = CreateMenu();
        HMENU file = CreatePopupMenu();
        AppendItem(file, MFT_STRING, kOpenCommand, "打开");
        AppendItem(file, MFT_SEPARATOR, 0, nullptr);
        AppendItem(file, MFT_STRING, kQuitCommand, "退出");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "文件(&F)");
        if (exStyle) {
            HMENU help = CreatePopupMenu();
            AppendItem(help, MFT_STRING, kOpenCommand + 10, "关于");
            AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "帮助(&H)");
        }
        Window = CreateWindowExA(exStyle, wc.lpszClassName, "Raw", WS_OVERLAPPEDWINDOW, 40, 40, 320, 200, nullptr, bar,
                                 wc.hInstance, nullptr);
        ShowWindow(Window, SW_SHOW);
        SetForegroundWindow(Window);
    }
    ~TRawMenuWindow()
    {
        if (Window)
            DestroyWindow(Window); // destroys its menu too
    }
    TRawMenuWindow(const TRawMenuWindow&) = delete;
    TRawMenuWindow& operator=(const TRawMenuWindow&) = delete;

    HWND Window = nullptr;
};

// The left part of frame n of the skin's item picture, at an item's height.
TSkinBitmap ItemPictureSide(int frame, int height)
{
    const TSkinSource& skin = TSkinSource::Get();
    const TSkinBitmap picture = StripFrame(skin.Image("MenuItem", "Image"), 5, frame, false);
    const int left = skin.Int("MenuItem", "LeftWidth", 0);
    return NineSlice(Crop(picture, 0, 0, left, picture.Height()), left, height,
                     {0, skin.Int("MenuItem", "TopHeight", 0), 0, skin.Int("MenuItem", "BottomHeight", 0)});
}

// The item's left part on screen is frame n of the item picture.
bool ItemShows(HMENU menu, UINT position, int frame)
{
    RECT item{};
    if (!GetMenuItemRect(nullptr, menu, position, &item))
        return false;
    const TPixelComparison c = CompareWithScreen(ItemPictureSide(frame, item.bottom - item.top), {item.left, item.top});
    return c.Compared >= item.bottom - item.top && c.Different == 0;
}

// A raw separator: an etched line across the middle of the item.
bool SeparatorShowsItsLine(HMENU menu, UINT position)
{
    RECT item{};
    if (!GetMenuItemRect(nullptr, menu, position, &item))
        return false;
    const COLORREF line = GetSysColor(COLOR_BTNSHADOW);
    const int middle = (item.left + item.right) / 2;
    for (int y = item.top; y < item.bottom; ++y) {
        const TSkinBitmap row = ReadScreen({middle - 8, y, middle + 8, y + 1});
        if (CountColour(row, RGBPixel(GetRValue(line), GetGValue(line), GetBValue(line))) == row.Width())
            return true;
    }
    return false;
}

TEST(SkinRawWindow, ItsMenuItemsAreDrawnFromTheSkinThroughTemporaryItemsAndStillChoose)
{
    const TProgramForms forms;
    gCommands.clear();
    const TRawMenuWindow raw;
    ASSERT_TRUE(WaitForFrame(raw.Window)) << "the raw window is skinned";
    TSkinFrame* frame = FrameOf(raw.Window);
    ASSERT_NE(frame->MenuBar(), nullptr) << "its menu becomes the skinned bar";
    ASSERT_EQ(frame->MenuBar()->Items().size(), 1u);
    EXPECT_EQ(frame->MenuBar()->Items()[0]->Caption, "文件(&F)");
    const HMENU file = frame->MenuBar()->Items()[0]->SubMenu;
    Pump(300);

    bool opened = false, firstSelected = false, separatorSkinned = false, lastSelected = false;
    ASSERT_TRUE(RunScript([&] {
        const RECT w = WindowRect(raw.Window);
        const TSkinRect at = OnWindowsThread([&] { return frame->MenuBar()->Items()[0]->Rect; });
        TRealInput::ClickAt({w.left + (at.Left + at.Right) / 2, w.top + (at.Top + at.Bottom) / 2});
        opened = WaitFor([] { return FindWindowA("#32768", nullptr) && TSkinMenuBar::CurrentIndex() == 0; });
        // The menu opens with its first entry highlighted.
        firstSelected = WaitFor([&] { return ItemShows(file, 0, 4); }, 2000);
        separatorSkinned = SeparatorShowsItsLine(file, 1);
        SaveWindowShot(GetDesktopWindow(), "screenshot-raw-menu.bmp");
        TRealInput::Key("Down");
        lastSelected = WaitFor([&] { return ItemShows(file, 2, 4); }, 2000);
        TRealInput::Key("Return");
        WaitFor([] { return TSkinMenuBar::CurrentIndex() == -1; }, 2000);
    }));
    EXPECT_TRUE(opened);
    EXPECT_TRUE(firstSelected) << "the highlighted raw item shows the item picture's selected frame";
    EXPECT_TRUE(separatorSkinned) << "a raw separator shows its etched line";
    EXPECT_TRUE(lastSelected) << "Down skips the separator to the next item";
    EXPECT_TRUE(WaitFor([] { return !gCommands.empty() && gCommands.back() == kQuitCommand; }, 2000))
        << "Return chooses the highlighted item";
}

// The close button's picture (frame 1) where the description places it, as
// the screen shows it now.
testing::AssertionResult CloseButtonShown(HWND window)
{
    const RECT w = WindowRect(window);
    for (const TCaptionButton& b : CaptionButtons())
        if (b.Action == 0 && !b.Image.Empty()) {
            const RECT at = b.Place(w.right - w.left);
            const TPixelComparison c =
                CompareWithScreen(StripFrame(b.Image, b.Frames, 1, false), {w.left + at.left, w.top + at.top});
            if (c.Compared > 50 && c.Different == 0)
                return testing::AssertionSuccess();
            return testing::AssertionFailure() << c.Different << " of " << c.Compared << " pixels differ";
        }
    return testing::AssertionFailure() << "no close button described";
}

// A right-to-left window (the left scroll bar style, or a mirrored layout):
// its bar runs from the right end leftwards, its title stands at the right
// of the caption, Left leads to the next menu, and a mirrored window's frame
// is not drawn flipped.
TEST(SkinRawWindow, ARightToLeftWindowMirrorsItsBarAndTitle)
{
    const TProgramForms forms;
    for (const DWORD style : {DWORD{WS_EX_LEFTSCROLLBAR}, DWORD{WS_EX_LAYOUTRTL}}) {
        SCOPED_TRACE(style == WS_EX_LAYOUTRTL ? "mirrored layout" : "left scroll bar");
        const TRawMenuWindow raw(style);
        ASSERT_TRUE(WaitForFrame(raw.Window));
        TSkinFrame* frame = FrameOf(raw.Window);
        ASSERT_NE(frame->MenuBar(), nullptr);
        ASSERT_EQ(frame->MenuBar()->Items().size(), 2u);
        Pump(300);
        const RECT w = WindowRect(raw.Window);
        const int width = w.right - w.left;
        const TSkinRect first = frame->MenuBar()->Items()[0]->Rect, second = frame->MenuBar()->Items()[1]->Rect;
        const int rightWidth = TSkinSource::Get().Int("Personality", "TileRightMenu", 0);
        EXPECT_EQ(first.Right, width - frame->Metrics().Right - rightWidth - 8) << "the first item at the right end";
        EXPECT_EQ(second.Right, first.Left) << "the second on its left";
        const TSkinRect title = frame->TitleTextRect();
        EXPECT_GT(title.Left, width / 2 - 40) << "the title stands right, toward the caption buttons";
        EXPECT_TRUE(CloseButtonShown(raw.Window)) << "the close button where the skin puts it, unflipped";

        std::vector<int> opened;
        ASSERT_TRUE(RunScript([&] {
            TRealInput::ClickAt({w.left + (first.Left + first.Right) / 2, w.top + (first.Top + first.Bottom) / 2});
            WaitFor([] { return TSkinMenuBar::CurrentIndex() == 0 && FindWindowA("#32768", nullptr); });
            opened.push_back(OnWindowsThread(&TSkinMenuBar::CurrentIndex));
            TRealInput::Key("Left");
            WaitFor([] { return TSkinMenuBar::CurrentIndex() == 1; }, 2000);
            opened.push_back(OnWindowsThread(&TSkinMenuBar::CurrentIndex));
            TRealInput::Key("Right");
            WaitFor([] { return TSkinMenuBar::CurrentIndex() == 0; }, 2000);
            opened.push_back(OnWindowsThread(&TSkinMenuBar::CurrentIndex));
            SaveWindowShot(GetDesktopWindow(), style == WS_EX_LAYOUTRTL ? "screenshot-mirrored.bmp"
                                                                        : "screenshot-right-to-left.bmp");
            TRealInput::Key("Escape");
            WaitFor([] { return TSkinMenuBar::CurrentIndex() == -1; }, 2000);
        }));
        EXPECT_EQ(opened, (std::vector<int>{0, 1, 0})) << "Left opens the item on the left, the next one";
    }
}

// The window goes while its bar menu is open (a timer of the program closes
// it): the menu loop ends without touching the freed bar, and the frame is
// freed once the menu has closed.
TEST(SkinRawWindow, AWindowDestroyedWhileItsBarMenuIsOpenFreesItsFrameAfterTheMenu)
{
    const TProgramForms forms;
    TRawMenuWindow raw;
    ASSERT_TRUE(WaitForFrame(raw.Window));
    HWND window = raw.Window;
    Pump(300);
    TTimer close(nullptr);
    close.SetEnabled(false);
    close.SetInterval(400);
    bool menuSeen = false;
    close.OnTimer = [&](TObject*) {
        close.SetEnabled(false);
        menuSeen = TSkinMenuBar::CurrentIndex() == 0 && FindWindowA("#32768", nullptr) != nullptr;
        DestroyWindow(window);
    };
    const TSkinRect item = FrameOf(window)->MenuBar()->Items()[0]->Rect;
    const RECT w = WindowRect(window);
    bool freed = false;
    ASSERT_TRUE(RunScript([&] {
        close.SetEnabled(true);
        TRealInput::ClickAt({w.left + (item.Left + item.Right) / 2, w.top + (item.Top + item.Bottom) / 2});
        WaitFor([&] { return !IsWindow(window); }, 3000);
        TRealInput::Key("Escape");
        freed = WaitFor([&] {
            const auto& frames = TSkinManage::Instance()->Forms();
            const bool listed = std::any_of(frames.begin(), frames.end(), [&](const TSkinFrame* f) { return f->Window() == window; });
            return !listed && TSkinMenuBar::CurrentIndex() == -1 && !FindWindowA("#32768", nullptr);
        }, 3000);
    }));
    raw.Window = nullptr; // gone already
    EXPECT_TRUE(menuSeen) << "the bar menu was open when the window went";
    EXPECT_TRUE(freed) << "the loop ended and the frame was freed";
}

} // namespace
} // namespace orbelin
