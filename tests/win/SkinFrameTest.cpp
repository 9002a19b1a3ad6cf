// The skinned frames of the real windows: sizes, the pixels on screen
// against the skin's own images, the title buttons under a real pointer,
// message boxes and the save dialog, switching the skin off and on, and
// the frame after many paints (the real GDI and USER objects of the
// repaints are counted in GuiObjectsTest).

#include "skin/data/SkinData.h"
#include "skin/render/SkinManager.h"
#include "skin/render/frame/SkinFrame.h"
#include "tests/win/FrameChecks.h"
#include "tests/win/ProgramForms.h"
#include "tests/win/RealInput.h"
#include "tests/win/ScreenPixels.h"
#include "tests/win/SkinPictures.h"
#include "tests/win/SkinTestSupport.h"
#include "tests/win/TestForm.h"
#include "ui/ExtCtrls.h"
#include "ui/Menus.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <thread>

namespace orbelin {
namespace {

using namespace test;

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
    const TFrameSizes described = FrameSizes();
    EXPECT_EQ(m.Left, described.Left);
    EXPECT_EQ(m.Right, described.Right);
    EXPECT_EQ(m.Caption, described.Caption);
    EXPECT_EQ(m.Bottom, described.Bottom);
    EXPECT_GT(m.Caption, 0);
    RECT client{};
    GetClientRect(Form1->WindowHandle(), &client);
    EXPECT_EQ(client.right, 613);
    EXPECT_EQ(client.bottom, 459);
    const RECT w = WindowRect(Form1->WindowHandle());
    EXPECT_EQ(w.right - w.left, 613 + described.Left + described.Right);
    EXPECT_EQ(w.bottom - w.top, 459 + described.Caption + described.Bottom);
    EXPECT_NEAR((w.left + w.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1) << "still centred";
    EXPECT_NEAR((w.top + w.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    const LONG_PTR style = GetWindowLongPtrA(Form1->WindowHandle(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0) << "the system draws no caption of its own";
}

TEST_F(SkinFrame, TheWholeFrameShowsTheSkinsActivePicturesAndTheRegionCutsItsMagenta)
{
    HWND main = Form1->WindowHandle();
    ASSERT_TRUE(RunScript([] { TRealInput::MoveTo({5, 5}); }));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(main, region), ERROR) << "a skinned window has a region";
    DeleteObject(region);
    const TSkinBitmap expected = ExpectedFrame(LookOf(Form1));
    ASSERT_GE(CountMagenta(expected), 8) << "the skin's rounded corners";
    Eventually([&] { return FrameShows(expected, main); });
    EXPECT_TRUE(FrameShows(expected, main));
    if (HasFailure()) {
        SavePicture(expected, "expected-frame.bmp");
        SaveWindowShot(main, "screenshot-frame.bmp");
    }
}

TEST_F(SkinFrame, TheCaptionShowsTheTitleInTheCaptionFontWhereTheDescriptionPlacesIt)
{
    HWND main = Form1->WindowHandle();
    ASSERT_TRUE(RunScript([] { TRealInput::MoveTo({5, 5}); }));
    const TFrameLook look = LookOf(Form1);
    ASSERT_FALSE(look.Title.empty());
    const RECT title = ExpectedTitleRect(look);
    const TSkinBitmap expected = ExpectedFrame(look);
    const TSkinPixel ink = TSkinSource::Get().Colour("Colours", "TitleTextActive");
    const TSkinBitmap titlePart = Crop(expected, title.left, title.top, title.right - title.left, title.bottom - title.top);
    ASSERT_GT(CountColour(titlePart, ink), 50) << "the test's own drawing of the title has text";
    Eventually([&] { return FrameShows(expected, main, title, CountOpaque(titlePart)); });
    EXPECT_TRUE(FrameShows(expected, main, title, CountOpaque(titlePart)));

    // The same place without a title shows no text.
    SetWindowTextA(main, "");
    TFrameLook untitled = look;
    untitled.Title.clear();
    const TSkinBitmap empty = ExpectedFrame(untitled);
    Eventually([&] { return FrameShows(empty, main, title, CountOpaque(titlePart)); });
    EXPECT_EQ(CountColour(Crop(empty, title.left, title.top, title.right - title.left, title.bottom - title.top), ink), 0);
    EXPECT_TRUE(FrameShows(empty, main, title, CountOpaque(titlePart)));
}

TEST_F(SkinFrame, AnInactiveWindowShowsTheInactiveFramesAndTitleColour)
{
    HWND main = Form1->WindowHandle();
    ASSERT_TRUE(RunScript([] { TRealInput::MoveTo({5, 5}); }));
    // Another window, away from the main one, takes the activation.
    auto* other = new TTestForm(&Application()); // owned by the application
    other->Read("object OtherForm: TTestForm\n  Left = 0\n  Top = 0\n  ClientWidth = 160\n  ClientHeight = 60\n"
                "  Caption = 'Other'\nend\n");
    other->Show();
    ASSERT_TRUE(WaitForFrame(other->WindowHandle()));
    ASSERT_TRUE(WaitFor([&] { return GetActiveWindow() == other->WindowHandle(); })) << "the other window is active";
    TFrameLook look = LookOf(Form1);
    look.Active = false;
    const TSkinBitmap expected = ExpectedFrame(look);
    Eventually([&] { return FrameShows(expected, main); });
    EXPECT_TRUE(FrameShows(expected, main)) << "border frame 2, caption button frame 4, the inactive title colour";
    TFrameLook active = look;
    active.Active = true;
    EXPECT_FALSE(FrameShows(ExpectedFrame(active), main)) << "the active and inactive looks differ";
    if (HasFailure()) {
        SavePicture(expected, "expected-inactive-frame.bmp");
        SaveWindowShot(main, "screenshot-inactive-frame.bmp");
    }
    delete other;
}

// The main window's maximize box: maximized, the fixed-size layout stays at
// the top left and the caption shows the restore button; restored, all is
// as before. Minimized, it has the system's caption styles back, and loses
// them again once restored.
TEST_F(SkinFrame, TheMainWindowMaximizesWithItsLayoutAtTheTopLeftAndMinimizesWithItsCaptionStyles)
{
    HWND window = Form1->WindowHandle();
    const std::vector<TCaptionButton> buttons = CaptionButtons();
    const TCaptionButton* maximize = DescribedButton(buttons, 1, false);
    const TCaptionButton* restore = DescribedButton(buttons, 1, true);
    ASSERT_NE(maximize, nullptr);
    ASSERT_NE(restore, nullptr);
    auto centre = [&](const TCaptionButton& b) {
        const RECT w = WindowRect(window);
        const RECT at = b.Place(w.right - w.left);
        return POINT{w.left + (at.left + at.right) / 2, w.top + (at.top + at.bottom) / 2};
    };
    auto layout = [&] {
        std::vector<std::pair<LONG, LONG>> places;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            POINT at{WindowRect(child).left, WindowRect(child).top};
            ScreenToClient(window, &at);
            places.emplace_back(at.x, at.y);
        }
        return places;
    };
    const auto placed = layout();
    const RECT normalRect = WindowRect(window);
    ASSERT_TRUE(RunScript([] { TRealInput::MoveTo({5, 5}); }));
    const TSkinBitmap normalFrame = ExpectedFrame(LookOf(Form1));
    Eventually([&] { return FrameShows(normalFrame, window); });
    EXPECT_TRUE(FrameShows(normalFrame, window)) << "the normal frame with the maximize button";
    bool zoomed = false, restored = false;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::ClickAt(centre(*maximize));
        zoomed = WaitFor([&] { return IsZoomed(window) != FALSE; });
        TRealInput::MoveTo({GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) - 5});
    }));
    ASSERT_TRUE(zoomed) << "a click on the maximize button";
    TFrameLook look = LookOf(Form1);
    ASSERT_TRUE(look.Maximized = IsZoomed(window) != FALSE);
    const TSkinBitmap expected = ExpectedFrame(look);
    const RECT w = WindowRect(window);
    EXPECT_GE(w.right - w.left, GetSystemMetrics(SM_CXSCREEN) - 2) << "the window fills the screen's width";
    EXPECT_EQ(layout(), placed) << "the controls keep their places at the top left";
    const int onScreen = CountOpaque(Crop(expected, std::max<int>(-w.left, 0), std::max<int>(-w.top, 0),
                                          std::min<int>(expected.Width(), GetSystemMetrics(SM_CXSCREEN)),
                                          std::min<int>(expected.Height(), GetSystemMetrics(SM_CYSCREEN))));
    Eventually([&] { return FrameShows(expected, window, {0, 0, expected.Width(), expected.Height()}, onScreen); });
    EXPECT_TRUE(FrameShows(expected, window, {0, 0, expected.Width(), expected.Height()}, onScreen));
    TFrameLook normal = look;
    normal.Maximized = false;
    EXPECT_FALSE(FrameShows(ExpectedFrame(normal), window, restore->Place(look.Width), 1))
        << "the restore button, not the maximize one";
    if (HasFailure()) {
        SavePicture(expected, "expected-maximized-frame.bmp");
        SaveWindowShot(window, "screenshot-maximized-frame.bmp");
    }
    ASSERT_TRUE(RunScript([&] {
        TRealInput::ClickAt(centre(*restore));
        restored = WaitFor([&] { return IsZoomed(window) == FALSE; });
        TRealInput::MoveTo({5, 5});
    }));
    EXPECT_TRUE(restored) << "a click on the restore button";
    EXPECT_EQ(layout(), placed);
    const RECT back = WindowRect(window);
    EXPECT_TRUE(EqualRect(&normalRect, &back)) << "back in its place and size";
    Eventually([&] { return FrameShows(normalFrame, window); });
    EXPECT_TRUE(FrameShows(normalFrame, window)) << "the maximize button again";

    POINT minimize{};
    ASSERT_TRUE(TitleButtonPoint(window, 2, minimize));
    ASSERT_TRUE(RunScript([&] { TRealInput::ClickAt(minimize); }));
    auto captionStyles = [&] { return GetWindowLongPtrA(window, GWL_STYLE) & WS_CAPTION; };
    ASSERT_TRUE(WaitFor([&] { return IsIconic(window) != FALSE; })) << "a click on the minimize button";
    EXPECT_TRUE(WaitFor([&] { return captionStyles() == WS_CAPTION; })) << "minimized: the system's caption";
    ShowWindow(window, SW_RESTORE); // no button to click on a bare display
    ASSERT_TRUE(WaitFor([&] { return IsIconic(window) == FALSE; }));
    EXPECT_TRUE(WaitFor([&] { return captionStyles() == 0; })) << "restored: the skin's caption again";
}

TEST_F(SkinFrame, TheCloseButtonTurnsHotUnderTheRealPointerAndBackWhenItLeaves)
{
    HWND main = Form1->WindowHandle();
    const std::vector<TCaptionButton> buttons = CaptionButtons();
    const TCaptionButton* close = DescribedButton(buttons, 0, false);
    ASSERT_NE(close, nullptr);
    const RECT w = WindowRect(main);
    const RECT place = close->Place(w.right - w.left);
    ASSERT_GT(CountMagenta(StripFrame(close->Image, close->Frames, 1, false)), 0) << "the button's rounded corners";
    // The whole button compared: its own pixels, and the caption through its magenta.
    auto shows = [&](int frame) {
        TFrameLook look = LookOf(Form1);
        look.ButtonFrames[0] = frame;
        const TSkinBitmap expected = ExpectedFrame(look);
        const int area = (place.right - place.left) * (place.bottom - place.top);
        return static_cast<bool>(FrameShows(expected, main, place, area));
    };
    ASSERT_TRUE(RunScript([] { TRealInput::MoveTo({5, 5}); }));
    Eventually([&] { return testing::AssertionResult(shows(1)); });
    EXPECT_TRUE(shows(1)) << "normal";
    EXPECT_FALSE(shows(3)) << "the hot frame differs from the normal one";
    bool hot = false, normalAgain = false;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::MoveTo({w.left + (place.left + place.right) / 2, w.top + (place.top + place.bottom) / 2});
        hot = WaitFor([&] { return shows(3); }, 2000);
        TRealInput::MoveTo({w.left + 200, w.top + 200});
        normalAgain = WaitFor([&] { return shows(1); }, 2000);
    }));
    EXPECT_TRUE(hot) << "the hot frame under the pointer";
    EXPECT_TRUE(normalAgain) << "the normal frame after the pointer left";
}

TEST_F(SkinFrame, TheAboutWindowShowsCloseAndIconItsAddressHintAndClosesByEitherButton)
{
    HWND about = Form2->WindowHandle();
    std::vector<int> shown;
    bool closedByButton = false, closedByIcon = false;
    HWND hint = nullptr;
    auto open = [&] {
        TRealInput::Click(Form1->BitBtn2->WindowHandle());
        return WaitFor([&] { return IsWindowVisible(about) && WaitForFrame(about); });
    };
    ASSERT_TRUE(RunScript([&] {
        ASSERT_TRUE(open());
        // The web address shows its hint when the pointer rests on it.
        const TControl* address = Form2->Child<TControl>("Label8");
        POINT rest{address->Left() + address->Width() / 2, address->Top() + address->Height() / 2};
        ClientToScreen(about, &rest);
        TRealInput::MoveTo(rest);
        hint = WaitForTopWindow(GetCurrentProcessId(), TOOLTIPS_CLASSA, "http://www.example.com", 5000);
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
    EXPECT_NE(hint, nullptr) << "no hint over the web address";
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

// Its caption (the program's title) is wider than the box the system made:
// the box is widened to fit it, its children moved right by half of that.
TEST_F(SkinFrame, TheValidationMessageBoxIsSkinnedWidenedForItsCaptionAndItsOkStillCloses)
{
    // The system's own box of that caption and text, made on a thread where
    // nothing skins it: its client width and where it put OK.
    int plainClient = 0, plainOk = 0;
    std::thread plain([] { MessageBoxA(nullptr, "请选择原文语言！", ApplicationTitle, MB_OK); });
    if (HWND box = WaitForTopWindow(GetCurrentProcessId(), "#32770", ApplicationTitle, 5000)) {
        RECT client{}, ok = WindowRect(GetDlgItem(box, IDOK));
        GetClientRect(box, &client);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&ok), 2);
        plainClient = client.right;
        plainOk = ok.left;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    plain.join();
    ASSERT_GT(plainClient, 0) << "no plain box";

    Form1->wl_srclang->SetItemIndex(0);
    bool skinned = false, closed = false;
    std::string text;
    int width = 0, okLeft = 0;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::Click(Form1->BitBtn1->WindowHandle());
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            box = ActiveOf(ui);
            return box && box != Form1->WindowHandle() && IsWindowVisible(box);
        }));
        skinned = WaitForFrame(box);
        text = WindowText(box);
        HWND ok = GetDlgItem(box, IDOK);
        POINT at{WindowRect(ok).left, 0};
        ScreenToClient(box, &at);
        width = WindowRect(box).right - WindowRect(box).left;
        okLeft = at.x;
        Sleep(200);
        SaveWindowShot(box, "screenshot-message-box.bmp");
        TRealInput::Click(ok);
        closed = WaitFor([&] { return !IsWindow(box); });
    }));
    EXPECT_TRUE(skinned) << "the message box has the skinned frame";
    EXPECT_EQ(text, "Orbelin多国语言在线翻译系统");
    EXPECT_TRUE(closed);
    const int fitted = plainClient + FrameSizes().Left + FrameSizes().Right;
    EXPECT_GT(width, fitted) << "widened for the caption";
    EXPECT_EQ(okLeft, plainOk + (width - fitted) / 2)
        << "OK moved right by half the widening";
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

TEST_F(SkinFrame, TwentyThousandFramePaintsLaterTheFrameStillPaintsRight)
{
    ASSERT_TRUE(RunScript([] { TRealInput::MoveTo({5, 5}); }));
    for (int i = 0; i < 20000; ++i)
        MainFrame().PaintFrame();
    const TSkinBitmap expected = ExpectedFrame(LookOf(Form1));
    Eventually([&] { return FrameShows(expected, Form1->WindowHandle()); });
    EXPECT_TRUE(FrameShows(expected, Form1->WindowHandle()));
}

} // namespace
} // namespace orbelin
