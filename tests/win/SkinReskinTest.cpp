// Another skin loaded into the store while the windows are open: every
// skinned window takes the new borders, caption and buttons, keeps its client
// size and gets the region of the new pictures, a maximized one included once
// it is restored; loading our own skin again brings every window back. The
// second skin comes from the skin generator with other metrics than ours, so
// nothing here holds by our skin's numbers alone.

#include "skin/data/SkinData.h"
#include "skin/render/frame/SkinFrame.h"
#include "tests/win/FrameChecks.h"
#include "tests/win/ProgramForms.h"
#include "tests/win/RealInput.h"
#include "tests/win/ScreenPixels.h"
#include "tests/win/SkinPictures.h"
#include "tests/win/SkinTestSupport.h"
#include "tests/win/TestForm.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace orbelin {
namespace {

using namespace test;

// Width and height.
using TClientSize = std::pair<int, int>;

TClientSize ClientSize(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

class SkinReskin : public ::testing::Test {
protected:
    void SetUp() override
    {
        store = Form1->Child<TSkinData>("SkinData1");
        ASSERT_TRUE(WaitForFrame(Form1->WindowHandle()));
        ours = FrameSizes();
        {
            const TSkinSourceSwitch second(ORBELIN_SECOND_SKIN_SRC);
            theirs = FrameSizes();
        }
        ASSERT_NE(theirs.Caption, ours.Caption) << "the second skin has a caption of another height";
        ASSERT_NE(theirs.Left, ours.Left) << "and borders of another width";
    }
    void TearDown() override
    {
        // The other tests of this program expect our own skin.
        store->SetSkinFile(ORBELIN_SKIN_FILE);
        WaitFor([&] { return Wears(Form1->WindowHandle(), ours); }, 3000);
    }

    // The frame measures the borders of a skin (the manager's refresh has run).
    static bool Wears(HWND window, const TFrameSizes& sizes)
    {
        const TSkinFrame* frame = FrameOf(window);
        if (!frame || frame->FrameState() != TSkinFrame::fsRunning)
            return false;
        const TFrameMetrics& m = frame->Metrics();
        return m.Left == sizes.Left && m.Right == sizes.Right && m.Caption == sizes.Caption && m.Bottom == sizes.Bottom;
    }

    // Outer size = the client kept + the borders of the skin worn.
    static testing::AssertionResult FitsAround(HWND window, TClientSize client, const TFrameSizes& sizes)
    {
        const RECT w = WindowRect(window);
        const TClientSize now = ClientSize(window);
        if (now == client && w.right - w.left == client.first + sizes.Left + sizes.Right &&
            w.bottom - w.top == client.second + sizes.Caption + sizes.Bottom)
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "client " << now.first << "x" << now.second << " (was " << client.first << "x"
                                           << client.second << "), window "
                                           << w.right - w.left << "x" << w.bottom - w.top << " for borders "
                                           << sizes.Left << "+" << sizes.Right << ", " << sizes.Caption << "+"
                                           << sizes.Bottom;
    }

    // The whole frame of a form as the skin worn now says, active or not.
    static testing::AssertionResult ShowsItsFrame(TForm* form)
    {
        HWND window = form->WindowHandle();
        testing::AssertionResult shown = testing::AssertionFailure();
        WaitFor([&] {
            TFrameLook look = LookOf(form);
            look.Active = GetActiveWindow() == window;
            shown = FrameShows(ExpectedFrame(look), window);
            return static_cast<bool>(shown);
        }, 3000);
        if (!shown)
            SaveWindowShot(window, "screenshot-reskin-" + WindowText(window) + ".bmp");
        return shown;
    }

    // Clicks the caption button of an action (maximize or restore) where the
    // skin worn now places it.
    static bool ClickCaptionButton(HWND window, bool maximized)
    {
        const std::vector<TCaptionButton> buttons = CaptionButtons();
        const TCaptionButton* button = DescribedButton(buttons, 1, maximized);
        if (!button)
            return false;
        const RECT w = WindowRect(window);
        const RECT at = button->Place(w.right - w.left);
        bool done = false;
        EXPECT_TRUE(RunScript([&] {
            TRealInput::ClickAt({w.left + (at.left + at.right) / 2, w.top + (at.top + at.bottom) / 2});
            done = WaitFor([&] { return (IsZoomed(window) != FALSE) != maximized; });
            TRealInput::MoveTo({5, 5});
        }));
        return done;
    }

    TSkinData* store = nullptr;
    TProgramForms forms;
    TFrameSizes ours, theirs;
};

// A form with every caption button, at a place of the screen where no other
// window covers it.
std::unique_ptr<TTestForm> ShowTestForm(const std::string& name, POINT at, int width, int height)
{
    auto form = std::make_unique<TTestForm>(&Application());
    form->Read("object " + name + ": TTestForm\n  ClientWidth = " + std::to_string(width) + "\n  ClientHeight = " +
               std::to_string(height) + "\n  Caption = '" + name +
               "'\n  BorderIcons = [biSystemMenu, biMinimize, biMaximize]\n  Left = " + std::to_string(at.x) +
               "\n  Top = " + std::to_string(at.y) + "\nend\n");
    form->Show();
    return form;
}

TEST_F(SkinReskin, EveryWindowTakesTheNewBordersAroundTheSameClientAndOurSkinBringsThemBack)
{
    const std::unique_ptr<TTestForm> plain = ShowTestForm("Plain", {20, 20}, 260, 120);
    const std::unique_ptr<TTestForm> zoom = ShowTestForm("Zoom", {960, 780}, 300, 150);
    TForm* const windows[] = {Form1, plain.get()};
    ASSERT_TRUE(WaitForFrame(zoom->WindowHandle()));
    // An inactive window's frame runs without its hover timer.
    ASSERT_TRUE(WaitFor([&] { return Wears(plain->WindowHandle(), ours); }));
    const TClientSize mainClient = ClientSize(Form1->WindowHandle()), plainClient = ClientSize(plain->WindowHandle());
    const TClientSize zoomClient = ClientSize(zoom->WindowHandle());
    ASSERT_TRUE(ClickCaptionButton(zoom->WindowHandle(), false)) << "the maximize button under our skin";

    store->SetSkinFile(ORBELIN_SECOND_SKIN);
    ASSERT_TRUE(WaitFor([&] {
        return Wears(Form1->WindowHandle(), theirs) && Wears(plain->WindowHandle(), theirs) &&
               Wears(zoom->WindowHandle(), theirs);
    }, 3000)) << "every frame measures the second skin's borders";
    {
        const TSkinSourceSwitch second(ORBELIN_SECOND_SKIN_SRC);
        EXPECT_TRUE(FitsAround(Form1->WindowHandle(), mainClient, theirs)) << "the main window";
        EXPECT_TRUE(FitsAround(plain->WindowHandle(), plainClient, theirs)) << "a test form";
        for (TForm* form : windows)
            EXPECT_TRUE(ShowsItsFrame(form)) << WindowText(form->WindowHandle()) << " in the second skin";
        EXPECT_TRUE(IsZoomed(zoom->WindowHandle())) << "the maximized window stays maximized";
        ASSERT_TRUE(ClickCaptionButton(zoom->WindowHandle(), true)) << "the restore button of the second skin";
        EXPECT_TRUE(FitsAround(zoom->WindowHandle(), zoomClient, theirs)) << "restored to the client it had";
        EXPECT_TRUE(ShowsItsFrame(zoom.get())) << "the restored window's frame and region";
    }

    store->SetSkinFile(ORBELIN_SKIN_FILE);
    ASSERT_TRUE(WaitFor([&] { return Wears(Form1->WindowHandle(), ours) && Wears(zoom->WindowHandle(), ours); }, 3000));
    EXPECT_TRUE(FitsAround(Form1->WindowHandle(), mainClient, ours)) << "the main window back in our skin";
    EXPECT_TRUE(FitsAround(plain->WindowHandle(), plainClient, ours));
    EXPECT_TRUE(FitsAround(zoom->WindowHandle(), zoomClient, ours));
    for (TForm* form : {static_cast<TForm*>(Form1), static_cast<TForm*>(plain.get()), static_cast<TForm*>(zoom.get())})
        EXPECT_TRUE(ShowsItsFrame(form)) << WindowText(form->WindowHandle()) << " in our skin again";
}

// The region's caption band follows the caption picture at the window's
// size now: after a restore the top corners are cut again where the
// narrower window has them.
TEST_F(SkinReskin, AWindowRestoredFromMaximizedHasItsRoundedCornersCutAgain)
{
    const std::unique_ptr<TTestForm> zoom = ShowTestForm("Corners", {20, 20}, 280, 140);
    ASSERT_TRUE(WaitForFrame(zoom->WindowHandle()));
    ASSERT_TRUE(ShowsItsFrame(zoom.get())) << "before";
    ASSERT_TRUE(ClickCaptionButton(zoom->WindowHandle(), false));
    ASSERT_TRUE(ClickCaptionButton(zoom->WindowHandle(), true));
    EXPECT_TRUE(ShowsItsFrame(zoom.get())) << "after maximize and restore";
}

} // namespace
} // namespace orbelin
