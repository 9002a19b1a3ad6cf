// The skinned frame's geometry without a window: border sizes, title
// buttons, title text, hit testing and the sizes of a fitted window.

#include "skin/data/SkinData.h"
#include "skin/render/frame/SkinFrameLayout.h"

#include <gtest/gtest.h>

#include <memory>

namespace orbelin {
namespace {

// Records cannot be copied; each test holds its own.
std::unique_ptr<TDataSkinSysButton> Button(int action, int align, int x, int y, int visibility, int visibility1)
{
    auto b = std::make_unique<TDataSkinSysButton>();
    b->Action = action;
    b->Align = align;
    b->XCoord = x;
    b->YCoord = y;
    b->Visibility = visibility;
    b->Visibility1 = visibility1;
    return b;
}

TEST(FrameMetrics, FromTheBorderImagesAndTheirFrames)
{
    TSkinData skin(nullptr);
    skin.BorderLeft->Image.SetSize(8, 100);
    skin.BorderLeft->FrameCount = 2;
    skin.BorderRight->Image.SetSize(5, 100);
    skin.BorderRight->FrameCount = 1;
    skin.BorderTop->Image.SetSize(40, 60);
    skin.BorderTop->FrameCount = 2;
    skin.BorderBottom->Image.SetSize(40, 9);
    skin.BorderBottom->FrameCount = 3;
    EXPECT_EQ(FrameMetricsOf(skin, fkEdged), (TFrameMetrics{4, 30, 5, 3}));
    EXPECT_EQ(FrameMetricsOf(skin, fkPlain), (TFrameMetrics{4, 30, 5, 3}));
    EXPECT_EQ(FrameMetricsOf(skin, fkNoFrame), (TFrameMetrics{})) << "a popup without caption has no frame";
    skin.BorderTop->FrameCount = 0;
    EXPECT_EQ(FrameMetricsOf(skin, fkPlain).Caption, 60) << "no frame count reads as one frame";
}

// The buttons of our skin: close, maximize, restore, minimize, icon.
struct TOurButtons {
    std::unique_ptr<TDataSkinSysButton> Close = Button(0, 1, 36, 5, 0, 0);
    std::unique_ptr<TDataSkinSysButton> Maximize = Button(1, 1, 64, 5, 6, 2);
    std::unique_ptr<TDataSkinSysButton> Restore = Button(1, 1, 64, 5, 6, 1);
    std::unique_ptr<TDataSkinSysButton> Minimize = Button(2, 1, 92, 5, 8, 0);
    std::unique_ptr<TDataSkinSysButton> Icon = Button(3, 0, 8, 7, 0, 0);
};

TEST(TitleButtons, TheMainWindowShowsMinimizeCloseAndIcon)
{
    // Single border with a system menu and a minimize box; the system gives
    // a captioned window an edge, so its frame kind is the edged one.
    TTitleButtonContext main{fkEdged, false, true, true, true, false};
    TOurButtons b;
    EXPECT_TRUE(TitleButtonVisible(*b.Close, main));
    EXPECT_TRUE(TitleButtonVisible(*b.Minimize, main));
    EXPECT_TRUE(TitleButtonVisible(*b.Icon, main));
    EXPECT_FALSE(TitleButtonVisible(*b.Maximize, main)) << "no maximize box";
    EXPECT_FALSE(TitleButtonVisible(*b.Restore, main));
}

TEST(TitleButtons, TheAboutWindowShowsCloseAndIcon)
{
    TTitleButtonContext about{fkEdged, false, true, true, false, false};
    TOurButtons b;
    EXPECT_TRUE(TitleButtonVisible(*b.Close, about));
    EXPECT_TRUE(TitleButtonVisible(*b.Icon, about));
    EXPECT_FALSE(TitleButtonVisible(*b.Minimize, about));
    EXPECT_FALSE(TitleButtonVisible(*b.Maximize, about));
}

TEST(TitleButtons, VisibilityTable)
{
    TTitleButtonContext c{fkEdged, false, true, true, true, true};
    auto shown = [&](int v, int v1, int action = 5) { return TitleButtonVisible(*Button(action, 0, 0, 0, v, v1), c); };
    EXPECT_FALSE(shown(1, 0));
    EXPECT_TRUE(shown(2, 0));
    EXPECT_TRUE(shown(0, 2));
    EXPECT_FALSE(shown(0, 1));
    EXPECT_TRUE(shown(3, 3));
    EXPECT_FALSE(shown(4, 0));
    EXPECT_FALSE(shown(5, 0));
    EXPECT_FALSE(shown(0, 5));
    EXPECT_FALSE(shown(7, 0));
    EXPECT_FALSE(shown(9, 0));
    EXPECT_FALSE(shown(10, 0));
    EXPECT_FALSE(shown(11, 0));
    EXPECT_FALSE(shown(-1, 0));
    EXPECT_FALSE(shown(12, 0));
    EXPECT_TRUE(shown(200, 2000));
    EXPECT_FALSE(shown(2001, 0));
    EXPECT_FALSE(shown(199, 0));
    EXPECT_FALSE(shown(100, 100)) << "no maximized MDI child";
    c.MdiChildMaximized = true;
    EXPECT_FALSE(shown(100, 100)) << "and no menu bar";
    c.MenuBarHeight = 19;
    EXPECT_TRUE(shown(100, 100));

    c.Maximized = true;
    c.Active = false;
    EXPECT_TRUE(shown(1, 1));
    EXPECT_FALSE(shown(2, 0));
    EXPECT_TRUE(shown(4, 4));

    c.FrameKind = fkPlain;
    EXPECT_FALSE(shown(0, 0)) << "visibility 0 needs a frame of another kind";
    c.FrameKind = fkEdged;
    c.HasSystemMenu = false;
    EXPECT_FALSE(shown(0, 0, 0)) << "a close action needs the system menu";
    EXPECT_TRUE(shown(0, 0, 3));
    EXPECT_FALSE(shown(6, 0)) << "maximize box and system menu";
    EXPECT_TRUE(shown(0, 6));
}

TEST(TitleButtons, LayoutByAlign)
{
    TTitleLayoutContext c;
    c.WindowWidth = 621;
    c.TitleText = {40, 5, 200, 25};
    c.Frame = {4, 30, 4, 4};
    int bound = 0;
    EXPECT_EQ(LayoutTitleButton(*Button(3, 0, 8, 7, 0, 0), {16, 16}, c, bound), (TSkinRect{8, 7, 24, 23}));
    EXPECT_EQ(bound, 0);
    EXPECT_EQ(LayoutTitleButton(*Button(0, 1, 36, 5, 0, 0), {28, 20}, c, bound), (TSkinRect{585, 5, 613, 25}));
    EXPECT_EQ(LayoutTitleButton(*Button(2, 1, 92, 5, 0, 0), {28, 20}, c, bound), (TSkinRect{529, 5, 557, 25}));
    EXPECT_EQ(bound, 585) << "the largest left edge of the right-aligned buttons";
    EXPECT_EQ(LayoutTitleButton(*Button(5, 2, 3, 1, 0, 0), {10, 10}, c, bound), (TSkinRect{27, 1, 37, 11}));
    EXPECT_EQ(LayoutTitleButton(*Button(5, 8, 3, 1, 0, 0), {10, 10}, c, bound), (TSkinRect{27, 1, 37, 11}));
    EXPECT_EQ(LayoutTitleButton(*Button(5, 9, 3, 1, 0, 0), {10, 10}, c, bound), (TSkinRect{203, 1, 213, 11}));
    EXPECT_EQ(LayoutTitleButton(*Button(5, 42, 3, 1, 0, 0), {10, 10}, c, bound), (TSkinRect{0, 0, 10, 10}));
    c.MenuBarHeight = 20;
    c.MenuBarLeftWidth = 2;
    EXPECT_EQ(LayoutTitleButton(*Button(7, 100, 30, 0, 100, 100), {16, 14}, c, bound), (TSkinRect{585, 33, 601, 47}));
    c.RightToLeft = true;
    EXPECT_EQ(LayoutTitleButton(*Button(7, 100, 30, 0, 100, 100), {16, 14}, c, bound), (TSkinRect{36, 33, 52, 47}));
}

TEST(TitleButtons, PaintFrameIsInactiveOnlyWithFourFrames)
{
    EXPECT_EQ(TitleButtonPaintFrame(6, true), 1);
    EXPECT_EQ(TitleButtonPaintFrame(6, false), 4);
    EXPECT_EQ(TitleButtonPaintFrame(3, false), 1);
}

TEST(TitleText, PlacementForEachAlignment)
{
    TDataSkinTitle title;
    title.TextShift() = 28;
    title.TextShiftVert() = 3;
    title.TextRightClip() = 100;
    title.TextBackLeft = 10;
    title.TextBackRight = 2;
    TTitlePlacement p{{4, 0, 617, 30}, {120, 14}};
    title.TextAlignment = 0;
    // Width 120 + 12, moved by 28; (30 - 14) / 2 + 3 / 2 = 9.
    EXPECT_EQ(PlaceTitleText(title, p), (TSkinRect{32, 9, 164, 23}));
    title.TextAlignment = 1;
    EXPECT_EQ(PlaceTitleText(title, p), (TSkinRect{4 + (613 - 132) / 2, 9, 4 + (613 - 132) / 2 + 132, 23}));
    title.TextAlignment = 2;
    // 613 - 100 - 132 = 381; the right end is cut at 617 - 100.
    EXPECT_EQ(PlaceTitleText(title, p), (TSkinRect{385, 9, 517, 23}));
    title.TextAlignment = 7;
    EXPECT_EQ(PlaceTitleText(title, p), (TSkinRect{4, 9, 136, 23}));
    title.TextAlignment = 0;
    p.RightToLeft = true;
    EXPECT_EQ(PlaceTitleText(title, p).Left, 385) << "right-to-left always takes the right alignment";
    p.RightToLeft = false;
    p.Measured = {900, 14};
    EXPECT_EQ(PlaceTitleText(title, p).Right, 517) << "cut at the right clip";
    p.Popup = true;
    p.RightButtonBound = 585;
    EXPECT_EQ(PlaceTitleText(title, p).Right, 32 + 912) << "a popup is not cut";
    p.Measured = {10, 14};
    EXPECT_EQ(PlaceTitleText(title, p).Right, 580) << "a popup reaches to the buttons";
}

TEST(HitTest, TheSystemsNowhereBecomesCaptionOrMenu)
{
    constexpr int nowhere = 0, caption = 2, menu = 5, client = 1;
    EXPECT_EQ(AdjustFrameHitTest(nowhere, 3, 30), nowhere) << "the top four rows stay nowhere";
    EXPECT_EQ(AdjustFrameHitTest(nowhere, 0, 30), nowhere);
    EXPECT_EQ(AdjustFrameHitTest(nowhere, 4, 30), caption);
    EXPECT_EQ(AdjustFrameHitTest(nowhere, 30, 30), caption);
    EXPECT_EQ(AdjustFrameHitTest(nowhere, 31, 30), menu);
    EXPECT_EQ(AdjustFrameHitTest(client, 31, 30), client);
}

TEST(FittedWindow, ClientSizeKeptAndGivenBack)
{
    const TFrameMetrics f{4, 30, 4, 4};
    EXPECT_EQ(FittedSize({613, 459}, f, 0), (TSkinSize{621, 493}));
    EXPECT_EQ(FittedSize({398, 286}, f, 19), (TSkinSize{406, 339}));
    EXPECT_EQ(ClientRectFor(100, 50, 621, 493, f, 0), (TSkinRect{104, 80, 717, 539}));
    EXPECT_EQ(ClientRectFor(0, 0, 406, 339, f, 19), (TSkinRect{4, 49, 402, 335}));
    EXPECT_EQ(UnskinnedSize({621, 493}, f, 0, {6, 25}), (TSkinSize{619, 484}));
}

TEST(FittedWindow, MessageBoxCaptionWidth)
{
    TDataSkinTitle title;
    title.TextShift() = 28;
    title.TextRightClip() = 100;
    title.TextBackLeft = 10;
    title.TextBackRight = 2;
    // (20 + 7) x 6 + 8 + 28 + 100 + 12.
    EXPECT_EQ(CaptionFitWidth(20, 6, {4, 30, 4, 4}, title), 162 + 148);
}

TEST(FrameKind, ByTheWindowsStyles)
{
    constexpr uint32_t popup = 0x80000000u, caption = 0x00C00000u, border = 0x00800000u, thickFrame = 0x00040000u;
    constexpr uint32_t windowEdge = 0x100u;
    EXPECT_EQ(FrameKindOf(caption, 0), fkPlain);
    EXPECT_EQ(FrameKindOf(popup | caption, 0), fkPlain) << "a popup with the whole caption is framed";
    EXPECT_EQ(FrameKindOf(popup | border, 0), fkNoFrame) << "a popup without the whole caption has no frame";
    EXPECT_EQ(FrameKindOf(popup, 0), fkNoFrame);
    EXPECT_EQ(FrameKindOf(caption | thickFrame, 0), fkEdged);
    EXPECT_EQ(FrameKindOf(caption, windowEdge), fkEdged);
    EXPECT_EQ(FrameKindOf(popup, windowEdge), fkEdged) << "an edge wins over a missing caption";
}

TEST(FrameBorders, TheSidesRunTheFullHeightAndTheTopLiesBetweenThem)
{
    const TFrameMetrics m{4, 30, 5, 3};
    const TFrameBorders b = FrameBorderRects({200, 100}, m);
    EXPECT_EQ(b.Left, (TSkinRect{0, 0, 4, 100}));
    EXPECT_EQ(b.Right, (TSkinRect{195, 0, 200, 100}));
    EXPECT_EQ(b.Bottom, (TSkinRect{4, 97, 195, 100}));
    EXPECT_EQ(b.Top, (TSkinRect{4, 0, 195, 30}));
}

TEST(FrameBorders, TheInactiveFrameOnlyWhenTheImageHasOne)
{
    EXPECT_EQ(BorderPaintFrame(2, true), 1);
    EXPECT_EQ(BorderPaintFrame(2, false), 2);
    EXPECT_EQ(BorderPaintFrame(1, false), 1);
    EXPECT_EQ(BorderPaintFrame(0, false), 1);
}

TEST(TitleButtons, WhatEachActionDoes)
{
    EXPECT_EQ(TitleCommandOf(0), TTitleCommand::Close);
    for (int action : {1, 22})
        EXPECT_EQ(TitleCommandOf(action), TTitleCommand::Maximize) << action;
    for (int action : {2, 23})
        EXPECT_EQ(TitleCommandOf(action), TTitleCommand::Minimize) << action;
    for (int action : {3, 11, 12})
        EXPECT_EQ(TitleCommandOf(action), TTitleCommand::SystemMenu) << action;
    for (int action : {7, 60})
        EXPECT_EQ(TitleCommandOf(action), TTitleCommand::MdiMinimize) << action;
    for (int action : {8, 61})
        EXPECT_EQ(TitleCommandOf(action), TTitleCommand::MdiRestore) << action;
    for (int action : {9, 62})
        EXPECT_EQ(TitleCommandOf(action), TTitleCommand::MdiClose) << action;
    for (int action : {4, 5, 10, 13, 21, 24, 59, 63, 100})
        EXPECT_EQ(TitleCommandOf(action), TTitleCommand::Posted) << action;
    EXPECT_TRUE(IsIconButton(3));
    EXPECT_TRUE(IsIconButton(11));
    EXPECT_FALSE(IsIconButton(12)) << "opens the menu but shows no icon";
    EXPECT_FALSE(IsIconButton(0));
}

TEST(TitleButtons, StateFrameOfAButtonBesideAMaximizedMdiChild)
{
    const auto plain = Button(0, 1, 36, 5, 0, 0);
    const auto mdi = Button(9, 100, 20, 0, 100, 0);
    EXPECT_EQ(TitleButtonStateFrame(*plain, 1), 1);
    EXPECT_EQ(TitleButtonStateFrame(*plain, 2), 2);
    EXPECT_EQ(TitleButtonStateFrame(*plain, 3), 3);
    EXPECT_EQ(TitleButtonStateFrame(*mdi, 1), 1);
    EXPECT_EQ(TitleButtonStateFrame(*mdi, 2), 2);
    EXPECT_EQ(TitleButtonStateFrame(*mdi, 3), 4) << "its hot look is the fourth frame";
}

TEST(MenuBar, ItemsSideBySideFromTheLeftOfTheBand)
{
    const std::vector<int> widths{30, -1, 0, 24};
    const std::vector<TSkinRect> plain = LayoutMenuBarItems(widths, {300, 19}, -1);
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_EQ(plain[0], (TSkinRect{6, 0, 46, 18})) << "without an image the first starts at 6";
    EXPECT_EQ(plain[1], (TSkinRect{46, 0, 46, 18})) << "an item without caption takes no room";
    EXPECT_EQ(plain[2], (TSkinRect{46, 0, 56, 18})) << "a caption of no width still has its margin";
    EXPECT_EQ(plain[3], (TSkinRect{56, 0, 90, 18}));
    EXPECT_EQ(LayoutMenuBarItems(widths, {300, 19}, 20)[0], (TSkinRect{24, 0, 64, 18})) << "past the image's left part";
    EXPECT_EQ(LayoutMenuBarItems(widths, {300, 19}, 0)[0].Left, 4);
    EXPECT_EQ(LayoutMenuBarItems(widths, {23, 19}, 20)[0].Left, 12) << "a start past the band";
}

TEST(MenuBar, RightToLeftItemsRunLeftwardsFromTheRightEnd)
{
    const std::vector<int> widths{30, -1, 24};
    const std::vector<TSkinRect> places = LayoutMenuBarItems(widths, {300, 19}, 20, 10, true);
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[0], (TSkinRect{242, 0, 282, 18})) << "past the image's right part and 8 more";
    EXPECT_EQ(places[1], (TSkinRect{242, 0, 242, 18}));
    EXPECT_EQ(places[2], (TSkinRect{208, 0, 242, 18})) << "the next one on its left";
    EXPECT_EQ(LayoutMenuBarItems(widths, {300, 19}, -1, -1, true)[0].Right, 294) << "without an image 6 from the end";
    EXPECT_EQ(LayoutMenuBarItems(widths, {15, 19}, 20, 10, true)[0].Right, 3) << "a start past the band";
    EXPECT_EQ(LayoutMenuBarItems(widths, {24, 19}, 20)[0].Left, 24) << "a start at the band's end stays";
    EXPECT_TRUE(LayoutMenuBarItems({}, {300, 19}, -1).empty());
}

} // namespace
} // namespace orbelin
