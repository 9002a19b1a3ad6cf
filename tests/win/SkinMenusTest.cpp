// The skinned menus of the real windows: the system menu of a form, of a
// message box and of the save dialog opened from the icon button, the items'
// measure, and a menu bar with its menus under the real mouse and keyboard,
// checked against the skin's own pictures.

#include "skin/data/SkinData.h"
#include "skin/render/SkinManager.h"
#include "skin/render/frame/SkinFrame.h"
#include "skin/render/frame/SkinMenuBar.h"
#include "skin/render/menus/SkinMenus.h"
#include "tests/win/ProgramForms.h"
#include "tests/win/RealInput.h"
#include "tests/win/ScreenPixels.h"
#include "tests/win/SkinPictures.h"
#include "tests/win/SkinTestSupport.h"
#include "tests/win/TestForm.h"
#include "ui/Menus.h"
#include "ui/Messages.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

using namespace test;

class SkinMenus : public ::testing::Test {
protected:
    void SetUp() override
    {
        store = Form1->Child<TSkinData>("SkinData1");
        ASSERT_TRUE(WaitForFrame(Form1->WindowHandle()));
        Pump(300);
    }

    TProgramForms forms;
    TSkinData* store = nullptr;
};

// What the skinned system menu of a window showed when opened from its
// icon button with the real mouse.
struct TSystemMenuSeen {
    bool Shown = false;
    std::vector<std::string> Captions;
    bool RestoreEnabled = true;
    bool SelectedFromSkin = false;
};

// Opens the system menu of a skinned window from its icon, highlights the
// last item (Close) with Up and checks that its left part shows frame 4 of
// the skin's item picture; closes the menu again. Runs on the script thread.
TSystemMenuSeen OpenSystemMenuFromIcon(HWND window, const char* shot)
{
    TSystemMenuSeen seen;
    TSkinFrame* frame = OnWindowsThread([&] { return FrameOf(window); });
    POINT icon{};
    if (!frame || !WaitFor([&] { return TitleButtonPoint(window, 3, icon); }))
        return seen;
    TRealInput::ClickAt(icon);
    auto menuOpen = [] {
        HWND menu = FindWindowA("#32768", nullptr);
        return menu && IsWindowVisible(menu);
    };
    seen.Shown = WaitFor(menuOpen);
    RunOnWindowsThread([&] {
        for (int i = 0; i < frame->SystemMenu()->Items().Count(); ++i) {
            TMenuItem* item = frame->SystemMenu()->Items().Items(i);
            seen.Captions.push_back(item->Caption);
            if (item->Tag == 0)
                seen.RestoreEnabled = item->Enabled;
        }
    });
    TRealInput::Key("Up");
    seen.SelectedFromSkin = WaitFor([&] {
        HMENU handle = frame->SystemMenu()->Handle();
        RECT item{};
        const int count = GetMenuItemCount(handle);
        if (!handle || !GetMenuItemRect(nullptr, handle, static_cast<UINT>(count - 1), &item))
            return false;
        // The item picture's left part, its middle stretched to the item's height.
        const TSkinSource& skin = TSkinSource::Get();
        const TSkinBitmap picture = StripFrame(skin.Image("MenuItem", "Image"), 5, 4, false);
        const int left = skin.Int("MenuItem", "LeftWidth", 0);
        const TSkinBitmap side = NineSlice(Crop(picture, 0, 0, left, picture.Height()), left, item.bottom - item.top,
                                           {0, skin.Int("MenuItem", "TopHeight", 0), 0, skin.Int("MenuItem", "BottomHeight", 0)});
        const TPixelComparison c = CompareWithScreen(side, {item.left, item.top});
        return c.Compared >= item.bottom - item.top && c.Different == 0;
    }, 2000);
    SaveWindowShot(GetDesktopWindow(), shot);
    TRealInput::Key("Escape");
    WaitFor([&] { return !menuOpen(); }, 2000);
    return seen;
}

TEST_F(SkinMenus, TheAboutWindowsSystemMenuIsDrawnFromTheSkin)
{
    HWND about = Form2->WindowHandle();
    TSystemMenuSeen seen;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::Click(Form1->BitBtn2->WindowHandle());
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(about) && WaitForFrame(about); }));
        seen = OpenSystemMenuFromIcon(about, "screenshot-system-menu.bmp");
        TRealInput::Key("Escape");
        WaitFor([&] { return !IsWindowVisible(about); });
    }));
    EXPECT_TRUE(seen.Shown);
    EXPECT_EQ(seen.Captions, (std::vector<std::string>{" Restore ", "-", " Close "}));
    EXPECT_FALSE(seen.RestoreEnabled) << "Restore is disabled in the normal state";
    EXPECT_TRUE(seen.SelectedFromSkin) << "the highlighted item is drawn from the skin's item image";
}

// Raw windows (no component form behind them) get the same skinned system
// menu as the forms.
TEST_F(SkinMenus, TheMessageBoxAndSaveDialogSystemMenusAreDrawnFromTheSkin)
{
    const DWORD ui = GetCurrentThreadId();
    Form1->wl_srclang->SetItemIndex(0);
    Form1->Memo2->SetText("译文");
    TSystemMenuSeen box, dialog;
    ASSERT_TRUE(RunScript([&] {
        HWND window = nullptr;
        auto opened = [&](HWND main) {
            return WaitFor([&] {
                window = ActiveOf(ui);
                return window && window != main && IsWindowVisible(window) && FrameOf(window);
            });
        };
        TRealInput::Click(Form1->BitBtn1->WindowHandle());
        ASSERT_TRUE(opened(Form1->WindowHandle())) << "no message box";
        box = OpenSystemMenuFromIcon(window, "screenshot-message-box-system-menu.bmp");
        TRealInput::Key("Return");
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(window); }));

        TRealInput::Click(Form1->Button4->WindowHandle());
        ASSERT_TRUE(opened(Form1->WindowHandle())) << "no save dialog";
        dialog = OpenSystemMenuFromIcon(window, "screenshot-save-dialog-system-menu.bmp");
        TRealInput::Click(GetDlgItem(window, IDCANCEL));
        WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); });
    }));
    EXPECT_TRUE(box.Shown);
    EXPECT_EQ(box.Captions, (std::vector<std::string>{" Restore ", "-", " Close "}));
    EXPECT_TRUE(box.SelectedFromSkin) << "the message box's highlighted item is drawn from the skin's item image";
    EXPECT_TRUE(dialog.Shown);
    EXPECT_TRUE(dialog.SelectedFromSkin) << "the save dialog's highlighted item is drawn from the skin's item image";
}

TEST_F(SkinMenus, SkinnedMenuItemsAreWiderThanTheStandardMeasure)
{
    TComponent owner(nullptr);
    auto* menu = new TPopupMenu(&owner); // owned by owner
    auto* item = new TMenuItem(&owner);  // owned by owner
    item->Caption = "关闭";
    menu->Items().Add(item);
    HDC dc = GetDC(nullptr);
    const int standard = item->StandardWidth(dc);
    int width = standard, height = 20;
    MeasureMenuItem(*store, *item, dc, width, height);
    EXPECT_EQ(width - standard, store->MenuItem->LeftWidth() + 35) << "without an image list";
    TImageList images(&owner);
    menu->SetImages(&images);
    width = standard;
    MeasureMenuItem(*store, *item, dc, width, height);
    EXPECT_EQ(width - standard, store->MenuItem->LeftWidth() + 12) << "with one";
    ReleaseDC(nullptr, dc);
}

TEST_F(SkinMenus, AMenuBarIsDrawnFromTheSkinAndItsMenusFollowLeftAndRight)
{
    const std::vector<std::string> heads = {"文件(&F)", "编辑(&E)", "帮助(&H)"};
    TTestForm* form = ShowMenuForm(heads, {"第一项", "-", "第二项"});
    TSkinFrame* frame = FrameOf(form->WindowHandle());
    ASSERT_NE(frame->MenuBar(), nullptr);
    ASSERT_EQ(frame->MenuBar()->Items().size(), 3u);
    EXPECT_EQ(GetMenu(form->WindowHandle()), nullptr) << "the frame draws the bar; the system's is taken off";
    RECT client{};
    GetClientRect(form->WindowHandle(), &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 160);

    // The bar's band shows the skin's menu bar picture (right of the items).
    const RECT w = WindowRect(form->WindowHandle());
    const TSkinBitmap image = StripFrame(TSkinSource::Get().Image("Personality", "menuBar"), 2, 1, true);
    std::vector<TSkinPixel> barColours;
    for (int y = 0; y < image.Height(); ++y)
        barColours.push_back(image.Pixel(image.Width() / 2, y));
    const int bandTop = w.top + frame->Metrics().Caption;
    const TSkinBitmap band = ReadScreen({w.right - frame->Metrics().Right - 30, bandTop + 2, w.right - frame->Metrics().Right - 29,
                                         bandTop + frame->MenuBarHeight() - 2});
    int fromSkin = 0;
    for (TSkinPixel p : band.Pixels())
        fromSkin += std::find(barColours.begin(), barColours.end(), p) != barColours.end();
    EXPECT_EQ(fromSkin, band.Height()) << "every pixel of the band's column is one of the picture's";

    std::vector<int> opened;
    ASSERT_TRUE(RunScript([&] {
        const TSkinRect first = OnWindowsThread([&] { return frame->MenuBar()->Items()[0]->Rect; });
        TRealInput::ClickAt({w.left + (first.Left + first.Right) / 2, w.top + (first.Top + first.Bottom) / 2});
        WaitFor([] { return TSkinMenuBar::CurrentIndex() == 0 && FindWindowA("#32768", nullptr); });
        opened.push_back(OnWindowsThread(&TSkinMenuBar::CurrentIndex));
        Sleep(200);
        SaveWindowShot(GetDesktopWindow(), "screenshot-menu-bar.bmp");
        TRealInput::Key("Right");
        WaitFor([] { return TSkinMenuBar::CurrentIndex() == 1; }, 2000);
        opened.push_back(OnWindowsThread(&TSkinMenuBar::CurrentIndex));
        TRealInput::Key("Right");
        WaitFor([] { return TSkinMenuBar::CurrentIndex() == 2; }, 2000);
        opened.push_back(OnWindowsThread(&TSkinMenuBar::CurrentIndex));
        TRealInput::Key("Right");
        WaitFor([] { return TSkinMenuBar::CurrentIndex() == 0; }, 2000);
        opened.push_back(OnWindowsThread(&TSkinMenuBar::CurrentIndex));
        TRealInput::Key("Left");
        WaitFor([] { return TSkinMenuBar::CurrentIndex() == 2; }, 2000);
        opened.push_back(OnWindowsThread(&TSkinMenuBar::CurrentIndex));
        TRealInput::Key("Escape");
        WaitFor([] { return TSkinMenuBar::CurrentIndex() == -1; }, 2000);
        opened.push_back(OnWindowsThread(&TSkinMenuBar::CurrentIndex));
    }));
    EXPECT_EQ(opened, (std::vector<int>{0, 1, 2, 0, 2, -1})) << "Right wraps from the last to the first, Left back";

    // Alt and an item's accelerator reach the form as a dialog character,
    // which the skinned bar answers by opening that item's menu.
    std::vector<LRESULT> dialogChars;
    const TWndMethod skinned = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        skinned(m);
        if (m.Msg == CM_DIALOGCHAR)
            dialogChars.push_back(m.Result);
    };
    int byAccelerator = -1;
    bool ctrlAltOpensNothing = false;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::Key("alt+e");
        WaitFor([] { return TSkinMenuBar::CurrentIndex() == 1; }, 2000);
        byAccelerator = OnWindowsThread(&TSkinMenuBar::CurrentIndex);
        TRealInput::Key("Escape");
        WaitFor([] { return TSkinMenuBar::CurrentIndex() == -1; }, 2000);
        TRealInput::Key("ctrl+alt+h");
        ctrlAltOpensNothing = NeverWithin([] { return TSkinMenuBar::CurrentIndex() != -1; }, 800);
        TRealInput::Key("Escape");
    }));
    form->WindowProc = skinned;
    EXPECT_EQ(byAccelerator, 1) << "Alt+E opens 编辑(&E)";
    ASSERT_FALSE(dialogChars.empty()) << "the key came to the form as a dialog character";
    EXPECT_EQ(dialogChars.front(), 1) << "and the skinned bar answered it";
    EXPECT_TRUE(ctrlAltOpensNothing) << "Ctrl+Alt (AltGr) is no accelerator";
    delete form;
}

} // namespace
} // namespace orbelin
