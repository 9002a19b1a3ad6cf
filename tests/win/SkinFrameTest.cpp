// The skinned frames of the real windows: sizes, the pixels on screen
// against the skin's own images, the title buttons under a real pointer,
// message boxes and the save dialog, switching the skin off and on, and
// the GDI objects across many repaints.

#include "skin/data/SkinData.h"
#include "skin/render/SkinDraw.h"
#include "skin/render/SkinFrame.h"
#include "skin/render/SkinManager.h"
#include "tests/win/ProgramForms.h"
#include "tests/win/RealInput.h"
#include "tests/win/ScreenPixels.h"
#include "tests/win/SkinTestSupport.h"
#include "tests/win/TestForm.h"
#include "ui/ExtCtrls.h"
#include "ui/Menus.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace orbelin {
namespace {

using namespace test;

TSkinTitleButton* TitleButton(TSkinFrame& frame, int action)
{
    for (const auto& button : frame.TitleButtons())
        if (button->Visible && button->Button.Action == action)
            return button.get();
    return nullptr;
}

POINT ScreenCentre(HWND window, const TSkinRect& r)
{
    const RECT w = WindowRect(window);
    return {w.left + (r.Left + r.Right) / 2, w.top + (r.Top + r.Bottom) / 2};
}

// The frame n of a title button as it shows over the caption: its magenta
// pixels stay magenta, so the comparison leaves them out.
TSkinBitmap ButtonFrame(const TDataSkinSysButton& button, int frame)
{
    const TSkinRect r = FrameRect(button.Image.Width(), button.Image.Height(), button.FrameCount, frame, false);
    return button.Image.CopyRect(r.Left, r.Top, r.Right, r.Bottom);
}

class SkinFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        store = Form1->Child<TSkinData>("SkinData1");
        ASSERT_TRUE(WaitForFrame(Form1->WindowHandle())) << "the main window has no running frame";
        Pump(200);
    }
    TSkinFrame& MainFrame() { return *FrameOf(Form1->WindowHandle()); }

    TProgramForms forms;
    TSkinData* store = nullptr;
    const DWORD ui = GetCurrentThreadId();
};

TEST_F(SkinFrame, TheMainWindowKeepsItsClientSizeInsideTheSkinBorders)
{
    const TFrameMetrics m = MainFrame().Metrics();
    EXPECT_EQ(m.Left, store->BorderLeft->Image.Width() / store->BorderLeft->FrameCount);
    EXPECT_EQ(m.Caption, store->BorderTop->Image.Height() / store->BorderTop->FrameCount);
    EXPECT_GT(m.Caption, 0);
    RECT client{};
    GetClientRect(Form1->WindowHandle(), &client);
    EXPECT_EQ(client.right, 613);
    EXPECT_EQ(client.bottom, 459);
    const RECT w = WindowRect(Form1->WindowHandle());
    EXPECT_EQ(w.right - w.left, 613 + m.Left + m.Right);
    EXPECT_EQ(w.bottom - w.top, 459 + m.Caption + m.Bottom);
    EXPECT_NEAR((w.left + w.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1) << "still centred";
    EXPECT_NEAR((w.top + w.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    const LONG_PTR style = GetWindowLongPtrA(Form1->WindowHandle(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0) << "the system draws no caption of its own";
}

TEST_F(SkinFrame, TheEdgesShowTheSideBorderImagesAndTheRegionCutsTheirMagenta)
{
    const RECT w = WindowRect(Form1->WindowHandle());
    const int h = w.bottom - w.top;
    const TFrameMetrics m = MainFrame().Metrics();
    for (const TDataSkinBorder* border : {store->BorderLeft.get(), store->BorderRight.get()}) {
        const bool left = border == store->BorderLeft.get();
        const TSkinBitmap expected = RenderNineSlice(border->Image, {left ? m.Left : m.Right, h}, border->Margins,
                                                     false, border->Tile != 1, border->FrameCount, 1);
        const POINT origin{left ? w.left : w.right - m.Right, w.top};
        const TPixelComparison c = CompareWithScreen(expected, origin, Form1->WindowHandle());
        EXPECT_GT(c.Compared, h) << border->Name;
        EXPECT_EQ(c.Different, 0) << border->Name << ": pixels unlike the skin's border";
        EXPECT_GT(c.Transparent, 0) << border->Name << ": the rounded corner";
        EXPECT_EQ(c.TransparentButShown, 0) << border->Name << ": magenta inside the window's region";
    }
}

TEST_F(SkinFrame, TheCaptionShowsTheTitleInTheSkinsTitleColour)
{
    const TSkinRect text = MainFrame().TitleTextRect();
    const RECT w = WindowRect(Form1->WindowHandle());
    const TSkinBitmap caption = ReadScreen({w.left + text.Left, w.top + text.Top, w.left + text.Right, w.top + text.Bottom});
    const COLORREF title = ColorToRGB(store->ColorTitleTextActive);
    const TSkinPixel want = RGBPixel(GetRValue(title), GetGValue(title), GetBValue(title));
    int titlePixels = 0;
    for (TSkinPixel p : caption.Pixels())
        titlePixels += p == want;
    EXPECT_GT(titlePixels, 100) << "the caption's text";

    // The same place without a title shows no text.
    SetWindowTextA(Form1->WindowHandle(), "");
    Pump(200);
    const TSkinBitmap empty = ReadScreen({w.left + text.Left + 40, w.top + text.Top, w.left + text.Right, w.top + text.Bottom});
    int left = 0;
    for (TSkinPixel p : empty.Pixels())
        left += p == want;
    EXPECT_EQ(left, 0);
}

TEST_F(SkinFrame, TheCloseButtonTurnsHotUnderTheRealPointerAndBackWhenItLeaves)
{
    TSkinTitleButton* close = TitleButton(MainFrame(), 0);
    ASSERT_NE(close, nullptr);
    const RECT w = WindowRect(Form1->WindowHandle());
    const POINT corner{w.left + close->Rect.Left, w.top + close->Rect.Top};
    // A frame with nothing to compare would pass unseen: at least a quarter
    // of the button must be opaque pixels that match.
    auto shows = [&](int frame) {
        const TSkinBitmap expected = ButtonFrame(close->Button, frame);
        const TPixelComparison c = CompareWithScreen(expected, corner);
        return c.Compared >= expected.Width() * expected.Height() / 4 && c.Compared > 0 && c.Different == 0;
    };
    EXPECT_TRUE(shows(1)) << "normal";
    bool hot = false, normalAgain = false;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::MoveTo(OnWindowsThread([&] { return ScreenCentre(Form1->WindowHandle(), close->Rect); }));
        hot = WaitFor([&] { return close->State == TNCObject::nsHot && shows(3); }, 2000);
        TRealInput::MoveTo({w.left + 200, w.top + 200});
        normalAgain = WaitFor([&] { return close->State == TNCObject::nsNormal && shows(1); }, 2000);
    }));
    EXPECT_TRUE(hot) << "the hot frame under the pointer";
    EXPECT_TRUE(normalAgain) << "the normal frame after the pointer left";
}

TEST_F(SkinFrame, TheAboutWindowShowsCloseAndIconAndClosesByEitherOfThem)
{
    HWND about = Form2->WindowHandle();
    std::vector<int> shown;
    bool closedByButton = false, closedByIcon = false;
    auto open = [&] {
        TRealInput::Click(Form1->BitBtn2->WindowHandle());
        return WaitFor([&] { return IsWindowVisible(about) && WaitForFrame(about); });
    };
    ASSERT_TRUE(RunScript([&] {
        ASSERT_TRUE(open());
        POINT closeButton{}, iconButton{};
        ASSERT_TRUE(WaitFor([&] { return TitleButtonPoint(about, 0, closeButton); }));
        RunOnWindowsThread([&] {
            for (const auto& b : FrameOf(about)->TitleButtons())
                if (b->Visible)
                    shown.push_back(b->Button.Action);
        });
        TRealInput::ClickAt(closeButton);
        closedByButton = WaitFor([&] { return !IsWindowVisible(about); });
        ASSERT_TRUE(open());
        ASSERT_TRUE(WaitFor([&] { return TitleButtonPoint(about, 3, iconButton); }));
        TRealInput::DoubleClickAt(iconButton);
        closedByIcon = WaitFor([&] { return !IsWindowVisible(about); });
    }));
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (std::vector<int>{0, 3})) << "close and icon only";
    EXPECT_TRUE(closedByButton);
    EXPECT_TRUE(closedByIcon) << "a double click on the icon button closes";
}

// The skinned system menu writes a shortcut beside " Close "; pressing it
// must do what the menu says even while the menu is not shown, and a key
// the menu does not name must not.
TEST_F(SkinFrame, TheShortcutBesideCloseInTheSystemMenuClosesTheWindow)
{
    HWND about = Form2->WindowHandle();
    std::string shown;
    bool openAfterOtherKey = false, closedByShortcut = false;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::Click(Form1->BitBtn2->WindowHandle());
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(about) && WaitForFrame(about); }));
        RunOnWindowsThread([&] {
            TMenuItem& items = FrameOf(about)->SystemMenu()->Items();
            for (int i = 0; i < items.Count(); ++i)
                if (items.Items(i)->Caption == " Close ")
                    shown = ShortCutToText(items.Items(i)->ShortCut);
        });
        TRealInput::Key("shift+F3");
        openAfterOtherKey = NeverWithin([&] { return !IsWindowVisible(about); }, 1500);
        TRealInput::Key("shift+F4");
        closedByShortcut = WaitFor([&] { return !IsWindowVisible(about); });
        if (!closedByShortcut)
            TRealInput::Key("Escape");
    }));
    EXPECT_EQ(shown, "Shift+F4");
    EXPECT_TRUE(openAfterOtherKey) << "a key no item names";
    EXPECT_TRUE(closedByShortcut) << "the shortcut shown beside Close";
    EXPECT_TRUE(IsWindowEnabled(Form1->WindowHandle())) << "the main window takes input again";
}

TEST_F(SkinFrame, TheValidationMessageBoxIsSkinnedAndItsOkStillCloses)
{
    Form1->wl_srclang->SetItemIndex(0);
    bool skinned = false, closed = false;
    std::string text;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::Click(Form1->BitBtn1->WindowHandle());
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            box = ActiveOf(ui);
            return box && box != Form1->WindowHandle() && IsWindowVisible(box);
        }));
        skinned = WaitForFrame(box);
        text = WindowText(box);
        Sleep(200);
        SaveWindowShot(box, "screenshot-message-box.bmp");
        TRealInput::Click(GetDlgItem(box, IDOK) ? GetDlgItem(box, IDOK) : GetDlgItem(box, IDCANCEL));
        closed = WaitFor([&] { return !IsWindow(box); });
    }));
    EXPECT_TRUE(skinned) << "the message box has the skinned frame";
    EXPECT_EQ(text, "Orbelin多国语言在线翻译系统");
    EXPECT_TRUE(closed);
}

TEST_F(SkinFrame, TheSaveDialogIsSkinnedAndCancelWritesNothing)
{
    Form1->Memo2->SetText("译文");
    const std::string path = TempPath("orbelin-cancelled.txt");
    std::remove(path.c_str());
    Form1->SaveDialog1->FileName = path;
    bool skinned = false, closed = false;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::Click(Form1->Button4->WindowHandle());
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            dialog = ActiveOf(ui);
            return dialog && GetDlgItem(dialog, IDCANCEL) && IsWindowVisible(dialog);
        }));
        skinned = WaitForFrame(dialog);
        Sleep(300);
        SaveWindowShot(dialog, "screenshot-save-dialog.bmp");
        TRealInput::Click(GetDlgItem(dialog, IDCANCEL));
        closed = WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
    }));
    EXPECT_TRUE(skinned);
    EXPECT_TRUE(closed);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SkinFrame, AFormTaggedNinetyNineStaysPlain)
{
    auto makeForm = [](int tag) {
        auto* form = new TTestForm(&Application()); // owned by the application
        form->Read("object TestForm: TTestForm\n  ClientWidth = 200\n  ClientHeight = 100\n  Caption = 'Test'\n  Tag = " +
                   std::to_string(tag) + "\nend\n");
        form->Show();
        return form;
    };
    TTestForm* plain = makeForm(99);
    TTestForm* skinned = makeForm(0);
    EXPECT_TRUE(WaitFor([&] { return FrameOf(skinned->WindowHandle()) != nullptr; }, 3000));
    EXPECT_TRUE(NeverWithin([&] { return FrameOf(plain->WindowHandle()) != nullptr; }, 1000));
    EXPECT_TRUE(GetWindowLongPtrA(plain->WindowHandle(), GWL_STYLE) & WS_CAPTION);
    delete plain;
    delete skinned;
}

TEST_F(SkinFrame, SwitchingTheStoreOffUnskinsEveryWindowAndOnSkinsThemAgain)
{
    const RECT skinnedRect = WindowRect(Form1->WindowHandle());
    store->SetActive(false);
    // The command waits for the manager's next tick, 250 ms on.
    EXPECT_FALSE(TSkinManage::Instance()->Forms().empty()) << "not at once";
    ASSERT_TRUE(WaitFor([] { return TSkinManage::Instance()->Forms().empty(); }, 2000));
    EXPECT_TRUE(GetWindowLongPtrA(Form1->WindowHandle(), GWL_STYLE) & WS_CAPTION) << "the system's caption is back";
    RECT client{};
    GetClientRect(Form1->WindowHandle(), &client);
    EXPECT_EQ(client.right, 613);
    EXPECT_EQ(client.bottom, 459);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(Form1->WindowHandle(), region), ERROR) << "no region left";
    DeleteObject(region);

    store->SetActive(true);
    ASSERT_TRUE(WaitForFrame(Form1->WindowHandle()));
    auto sizeOf = [](const RECT& r) { return std::pair(r.right - r.left, r.bottom - r.top); };
    WaitFor([&] { return sizeOf(WindowRect(Form1->WindowHandle())) == sizeOf(skinnedRect); }, 2000);
    const RECT again = WindowRect(Form1->WindowHandle());
    EXPECT_EQ(again.right - again.left, skinnedRect.right - skinnedRect.left);
    EXPECT_EQ(again.bottom - again.top, skinnedRect.bottom - skinnedRect.top);
}

TEST_F(SkinFrame, RepaintsLeaveNoGdiObjectBehind)
{
    HWND main = Form1->WindowHandle();
    // Warm the caches first: skin images are made into device bitmaps once.
    MainFrame().PaintFrame();
    Pump(50);
    const int before = LiveGdiOwners();
    for (int i = 0; i < 1000; ++i) {
        MainFrame().PaintFrame();
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    Pump(50);
    EXPECT_EQ(LiveGdiOwners(), before) << "objects created by the repaints stayed alive";
}

TEST_F(SkinFrame, TwentyThousandFramePaintsLaterTheFrameStillPaintsRight)
{
    for (int i = 0; i < 20000; ++i)
        MainFrame().PaintFrame();
    Pump(100);
    const RECT w = WindowRect(Form1->WindowHandle());
    const TDataSkinBorder& left = *store->BorderLeft;
    const TSkinBitmap expected = RenderNineSlice(left.Image, {MainFrame().Metrics().Left, w.bottom - w.top},
                                                 left.Margins, false, left.Tile != 1, left.FrameCount, 1);
    const TPixelComparison c = CompareWithScreen(expected, {w.left, w.top});
    EXPECT_GT(c.Compared, 100);
    EXPECT_EQ(c.Different, 0);
}

} // namespace
} // namespace orbelin
