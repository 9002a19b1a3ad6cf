// A list view in a skinned form: its scroll bar is the skin's, and the
// header above its columns wears the skin's header picture, hot under the
// real pointer.

#include "skin/data/SkinData.h"
#include "skin/render/controls/SkinScrolling.h"
#include "skin/render/frame/SkinFrame.h"
#include "tests/win/ProgramForms.h"
#include "tests/win/RealInput.h"
#include "tests/win/ScreenPixels.h"
#include "tests/win/SkinPictures.h"
#include "tests/win/SkinTestSupport.h"
#include "tests/win/TestForm.h"
#include "ui/ComCtrls.h"

#include <gtest/gtest.h>

#include <memory>

namespace orbelin {
namespace {

using namespace test;

// The corners of frame n of the header picture (as wide and high as its
// margins) at the header window's corners on screen.
testing::AssertionResult HeaderShowsFrame(HWND header, int frame)
{
    const TSkinSource& skin = TSkinSource::Get();
    const TSkinBitmap picture = StripFrame(skin.Image("Headerbar", "Image"), 5, frame, false);
    const int left = skin.Int("Headerbar", "LeftWidth", 0), top = skin.Int("Headerbar", "TopHeight", 0);
    const int right = skin.Int("Headerbar", "RightWidth", 0), bottom = skin.Int("Headerbar", "BottomHeight", 0);
    if (left <= 0 || top <= 0 || right <= 0 || bottom <= 0)
        return testing::AssertionFailure() << "the header picture has no corners";
    const RECT r = WindowRect(header);
    const TPixelComparison topLeft = CompareWithScreen(Crop(picture, 0, 0, left, top), {r.left, r.top});
    const TPixelComparison bottomRight = CompareWithScreen(
        Crop(picture, picture.Width() - right, picture.Height() - bottom, right, bottom), {r.right - right, r.bottom - bottom});
    if (topLeft.Compared == left * top && topLeft.Different == 0 && bottomRight.Compared == right * bottom &&
        bottomRight.Different == 0)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "top-left corner: " << topLeft.Different << " of " << topLeft.Compared
                                       << " differ; bottom-right: " << bottomRight.Different << " of "
                                       << bottomRight.Compared;
}

TEST(SkinListView, ItsScrollBarAndHeaderComeFromTheSkinAndTheHeaderTurnsHot)
{
    const TProgramForms forms;
    auto form = std::make_unique<TTestForm>(&Application());
    form->Read("object ListForm: TTestForm\n  ClientWidth = 340\n  ClientHeight = 180\n  Caption = 'List'\n"
               "  Left = 20\n  Top = 20\n"
               "  object List: TListView\n    Left = 10\n    Top = 10\n    Width = 320\n    Height = 160\n  end\nend\n");
    auto* list = form->Child<TListView>("List");
    list->AddColumn("语言", 120);
    list->AddColumn("译文", 160);
    for (int i = 0; i < 40; ++i)
        list->AddItem("第 " + std::to_string(i + 1) + " 行");
    form->Show();
    ASSERT_TRUE(WaitForFrame(form->WindowHandle()));
    Pump(300);
    TSkinFrame* frame = FrameOf(form->WindowHandle());
    TSkinListView* skinned = nullptr;
    for (TSkinControl* control : frame->Controls())
        if (control->Window() == list->WindowHandle())
            skinned = dynamic_cast<TSkinListView*>(control);
    ASSERT_NE(skinned, nullptr) << "the list view has a list view skin";
    HWND header = list->HeaderHandle();
    ASSERT_NE(header, nullptr);
    ASSERT_NE(skinned->Header(), nullptr);
    EXPECT_EQ(skinned->Header()->Window(), header) << "its header skin sits on the list's header";

    // The skin's track under the vertical thumb.
    const RECT bar = skinned->BarRect(true);
    ASSERT_GT(bar.bottom - bar.top, 40) << "forty rows need a vertical bar";
    const RECT w = WindowRect(list->WindowHandle());
    const TScrollBarGeometry g = skinned->Geometry(true);
    const TSkinBitmap track = StripFrame(TSkinSource::Get().Image("VertScroll", "Image"), 4, 1, false);
    const TSkinPixel trackColour = track.Pixel(track.Width() / 2, track.Height() / 2) & 0xFFFFFF;
    const int x = w.left + (bar.left + bar.right) / 2, belowThumb = w.top + bar.top + g.ArrowLength + g.ThumbOffset + g.ThumbLength + 4;
    EXPECT_GE(CountColour(ReadScreen({x, belowThumb, x + 1, belowThumb + 10}), trackColour), 8) << "the skin's track";

    ASSERT_TRUE(RunScript([] { TRealInput::MoveTo({5, 5}); }));
    bool cold = false, hot = false;
    ASSERT_TRUE(RunScript([&] {
        cold = WaitFor([&] { return static_cast<bool>(HeaderShowsFrame(header, 1)); }, 2000);
        const RECT h = WindowRect(header);
        TRealInput::MoveTo({h.left + 60, (h.top + h.bottom) / 2});
        hot = WaitFor([&] { return static_cast<bool>(HeaderShowsFrame(header, 4)); }, 2000);
        SaveWindowShot(form->WindowHandle(), "screenshot-list-view.bmp");
        TRealInput::MoveTo({5, 5});
    }));
    EXPECT_TRUE(cold) << HeaderShowsFrame(header, 1);
    EXPECT_TRUE(hot) << "under the pointer: " << HeaderShowsFrame(header, 4);
}

} // namespace
} // namespace orbelin
