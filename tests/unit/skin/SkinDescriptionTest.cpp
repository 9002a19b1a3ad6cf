#include "skin/data/SkinData.h"
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

using test::BmpBytes;
using test::LoadEntries;
using test::THostFixture;

struct ColorCase {
    const char* text;
    TColor expected;
};

class ReadColorTest : public ::testing::TestWithParam<ColorCase> {};

constexpr TColor Fallback = 0x123456;

TEST_P(ReadColorTest, Reads)
{
    EXPECT_EQ(TSkinDescriptionLoader::ReadColor(GetParam().text, Fallback), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Table, ReadColorTest,
                         ::testing::Values(ColorCase{"", Fallback}, ColorCase{"210 232 249", RGBColor(210, 232, 249)},
                                           ColorCase{"0 0 0", clBlack}, ColorCase{"255", clBlack},
                                           ColorCase{"1,2,3", RGBColor(1, 2, 3)}, ColorCase{"  7 8 9  ", RGBColor(7, 8, 9)},
                                           ColorCase{"1 2", RGBColor(1, 0, 0)}, ColorCase{"1 2,", RGBColor(1, 2, 0)}, ColorCase{"1 2 3 4", RGBColor(1, 2, 3)},
                                           ColorCase{"256 257 511", RGBColor(0, 1, 255)}, ColorCase{"a1b2c3", RGBColor(1, 2, 3)},
                                           ColorCase{"x", clBlack}, ColorCase{"4294967553 5 6", RGBColor(1, 5, 6)}));

class SkinDescription : public ::testing::Test {
protected:
    THostFixture host;
    TSkinData store{nullptr};

    void Load(const std::string& ini, std::vector<TSkinArchiveEntry> bitmaps = {})
    {
        bitmaps.push_back({"skin.ini", ini});
        LoadEntries(store, bitmaps);
        ASSERT_TRUE(store.SkinLoaded());
    }
};

TEST_F(SkinDescription, EmptyDescriptionGivesDefaults)
{
    Load("");
    EXPECT_EQ(store.ColorWindowText, clWindowText);
    EXPECT_EQ(store.ColorButtonFace, clBtnFace);
    EXPECT_EQ(store.ColorMenuBar, clBtnFace);
    EXPECT_EQ(store.ColorButtonLight, clBtnHighlight);
    EXPECT_EQ(store.ColorTitleTextNoActive, clInactiveCaptionText);
    EXPECT_TRUE(store.ExtraColors.empty());
    EXPECT_EQ(store.SysButtons.size(), 3u); // the MDI child buttons only
    EXPECT_EQ(store.Title->FontHeight, 14);
    EXPECT_EQ(store.Title->FrameCount, 2);
    EXPECT_EQ(store.Buttons->FrameCount, 5);
    EXPECT_EQ(store.Buttons->CheckFrameCount, 4);
    EXPECT_EQ(store.BorderTop->FrameCount, 1);
    EXPECT_EQ(store.BorderTop->Tile, 1);
    EXPECT_EQ(store.BorderTop->Trans, 1);
    EXPECT_FALSE(store.MenuItem);
    EXPECT_FALSE(store.MenuBar);
    EXPECT_FALSE(store.Progress);
    EXPECT_EQ(store.Title->ActiveTextColor, clNone);
}

TEST_F(SkinDescription, MenubarColourDefaultsToTheFaceJustRead)
{
    Load("[colours]\r\nbuttonface=1 2 3\r\n");
    EXPECT_EQ(store.ColorMenuBar, RGBColor(1, 2, 3));
}

TEST_F(SkinDescription, ExtraColoursComeFromColourSections)
{
    Load("[Colours]\r\nWindowText=1 1 1\r\n[Colour1]\r\ncolor=10 20 30\r\n[COLOURX]\r\n[Other]\r\n");
    ASSERT_EQ(store.ExtraColors.size(), 2u);
    EXPECT_EQ(store.ExtraColors[0], RGBColor(10, 20, 30));
    EXPECT_EQ(store.ExtraColors[1], clWindowText);
}

TEST_F(SkinDescription, CaptionButtonsComeFromTheButtonSections)
{
    Load("[Buttons]\r\n[Button]\r\n[Button.Radio]\r\n[Button.Checkbox]\r\n"
         "[Button0]\r\nAction=0\r\nAlign=1\r\nXcoord=30\r\nYcoord=4\r\nButtonImage=close.bmp\r\n"
         "[button1]\r\nAction=-1\r\nVisibility=5\r\n"
         "[Button2]\r\nAction=-1\r\nVisibility=0\r\nButtonImage=wide.bmp\r\n"
         "[Button3]\r\nAction=3\r\nButtonImage=close.bmp\r\n"
         "[Button4]\r\nAction=1\r\nframe=2\r\nVisibility1=7\r\nCombineOp=1\r\nButtonImage=wide.bmp\r\n"
         "[Personality]\r\n",
         {{"close.bmp", BmpBytes(60, 20)}, {"wide.bmp", BmpBytes(80, 20)}});
    ASSERT_EQ(store.SysButtons.size(), 4u + 3u);
    const TDataSkinSysButton& close = *store.SysButtons[0];
    EXPECT_EQ(close.Name, "BUTTON0");
    EXPECT_EQ(close.Align, 1);
    EXPECT_EQ(close.XCoord, 30);
    EXPECT_EQ(close.YCoord, 4);
    EXPECT_EQ(close.FrameCount, 3); // three times as wide as high
    EXPECT_EQ(close.Visibility1, 0);
    EXPECT_EQ(close.CombineOp, -1);

    const TDataSkinSysButton& hiddenAction = *store.SysButtons[1];
    EXPECT_EQ(hiddenAction.Name, "BUTTON2");
    EXPECT_EQ(hiddenAction.FrameCount, 6); // negative action
    EXPECT_EQ(hiddenAction.Visibility1, -1);

    const TDataSkinSysButton& icon = *store.SysButtons[2];
    EXPECT_EQ(icon.Action, 3);
    EXPECT_TRUE(icon.Image.Empty());

    const TDataSkinSysButton& given = *store.SysButtons[3];
    EXPECT_EQ(given.FrameCount, 2);
    EXPECT_EQ(given.Visibility1, 7);
    EXPECT_EQ(given.CombineOp, 1);
    EXPECT_FALSE(given.Image.Empty());

    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& mdi = *store.SysButtons[4 + static_cast<size_t>(i)];
        EXPECT_EQ(mdi.Action, 7 + i);
        EXPECT_EQ(mdi.Align, 100);
        EXPECT_EQ(mdi.Visibility, 100);
        EXPECT_EQ(mdi.Visibility1, 100);
        EXPECT_EQ(mdi.FrameCount, 4);
        EXPECT_TRUE(mdi.Image.Empty());
    }
}

TEST_F(SkinDescription, CaptionButtonFramesFollowTheImageShape)
{
    struct Case { int width; int height; int frames; };
    for (const Case c : {Case{80, 20, 6}, Case{60, 20, 3}, Case{76, 20, 3}, Case{77, 20, 6}}) {
        TSkinData s(nullptr);
        LoadEntries(s, {{"b.bmp", BmpBytes(c.width, c.height)}, {"skin.ini", "[Button9]\r\nButtonImage=b.bmp\r\n"}});
        ASSERT_EQ(s.SysButtons.size(), 4u);
        EXPECT_EQ(s.SysButtons[0]->FrameCount, c.frames) << c.width << "x" << c.height;
    }
    TSkinData missing(nullptr);
    LoadEntries(missing, {{"skin.ini", "[Button9]\r\nButtonImage=gone.bmp\r\n"}});
    EXPECT_EQ(missing.SysButtons[0]->FrameCount, 6);
}

TEST_F(SkinDescription, MdiControlsAreSplitIntoThreeStrips)
{
    TSkinBitmap strip(120, 10);
    for (int x = 0; x < 120; ++x)
        strip.SetPixel(x, 0, RGBPixel(x, 0, 0));
    Load("[MDICONTROLS]\r\nImage=mdi.bmp\r\n", {{"mdi.bmp", BmpBytes(strip)}});
    ASSERT_EQ(store.SysButtons.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& b = *store.SysButtons[static_cast<size_t>(i)];
        EXPECT_EQ(b.Image.Width(), 40);
        EXPECT_EQ(b.Image.Height(), 10);
        EXPECT_EQ(b.Image.Pixel(0, 0), RGBPixel(40 * i, 0, 0));
        EXPECT_EQ(b.XCoord, 14 * (3 - i));
    }
}

TEST_F(SkinDescription, BordersReadTheirPersonalityKeys)
{
    Load("[Personality]\r\nLeft=l.bmp\r\nLeftTopHeight=30\r\nLeftBotHeight=5\r\nLeftFrame=2\r\nLeftStretch=0\r\nLeftTrans=0\r\n"
         "Top=t.bmp\r\nTopTopHeight=12\r\nTopBotHeight=14\r\n",
         {{"l.bmp", BmpBytes(8, 40)}, {"t.bmp", BmpBytes(40, 60)}});
    const TDataSkinBorder& left = *store.BorderLeft;
    EXPECT_EQ(left.TopHeight(), 30);
    EXPECT_EQ(left.BottomHeight(), 5);
    EXPECT_EQ(left.LeftWidth(), 0);
    EXPECT_EQ(left.FrameCount, 2);
    EXPECT_EQ(left.Tile, 0);
    EXPECT_EQ(left.Trans, 0);
    EXPECT_EQ(left.Image.Height(), 40);
    const TDataSkinBorder& top = *store.BorderTop;
    EXPECT_EQ(top.LeftWidth(), 12);
    EXPECT_EQ(top.RightWidth(), 14);
    EXPECT_EQ(top.TopHeight(), 0);
    EXPECT_TRUE(store.BorderBottom->Image.Empty());
}

TEST_F(SkinDescription, PlainElementsClampTileAndReadColours)
{
    Load("[MenuItem]\r\nImage=m.bmp\r\nTile=2\r\nLeftWidth=3\r\nTrans=1\r\nNormalColour2=0 0 0\r\nPressedColour2=\r\nStyle=4\r\n"
         "[SunkEdge]\r\nImage=m.bmp\r\nTile=1\r\n[HorzScroll]\r\nTile=1\r\n[Colours]\r\nButtonText=9 9 9\r\n",
         {{"m.bmp", BmpBytes(50, 10)}});
    ASSERT_TRUE(store.MenuItem);
    EXPECT_EQ(store.MenuItem->Tile, 0);
    EXPECT_EQ(store.MenuItem->LeftWidth(), 3);
    EXPECT_EQ(store.MenuItem->Trans, 1);
    EXPECT_EQ(store.MenuItem->Style, 4);
    EXPECT_EQ(store.MenuItem->FrameCount, 5);
    EXPECT_EQ(store.MenuItem->NormalColour2, clBlack);
    EXPECT_EQ(store.MenuItem->PressedColour2, RGBColor(9, 9, 9));
    EXPECT_EQ(store.MenuItem->NormalColour, -1);
    EXPECT_EQ(store.SunkEdge->Tile, 1);
    EXPECT_EQ(store.SunkEdge->FrameCount, 4);
    EXPECT_FALSE(store.HorzScroll); // no image key
}

TEST_F(SkinDescription, FrameCountsReplaceWhatTheDescriptionGave)
{
    Load("[Scrollbar]\r\nImage=s.bmp\r\n[HorzScrollThumb]\r\nImage=s.bmp\r\nFrameCount=4\r\n[VertScrollThumb]\r\nImage=s.bmp\r\n"
         "[UpDown.Horz]\r\nImage=s.bmp\r\nGlyphImage=s.bmp\r\n[Trackbar.ThumbUp]\r\nImage=s.bmp\r\n[GroupBox]\r\nImage=s.bmp\r\n"
         "BackgroundAlignment=2\r\nBackgroundLeftShift=3\r\n[Progress]\r\nBitmap=s.bmp\r\nChunk=s.bmp\r\nTile=3\r\n",
         {{"s.bmp", BmpBytes(46, 2)}});
    EXPECT_EQ(store.Scrollbar->FrameCount, 23);
    EXPECT_EQ(store.HorzScrollThumb->FrameCount, 4);
    EXPECT_EQ(store.VertScrollThumb->FrameCount, 3);
    EXPECT_EQ(store.UpDownHorz->FrameCount, 8);
    EXPECT_FALSE(store.UpDownHorz->Image2.Empty());
    EXPECT_EQ(store.TrackbarThumbUp->FrameCount, 5);
    EXPECT_EQ(store.GroupBox->FrameCount, 1);
    EXPECT_EQ(store.GroupBox->BackgroundAlignment, 2);
    EXPECT_EQ(store.GroupBox->BackgroundLeftShift, 3);
    EXPECT_EQ(store.Progress->FrameCount, 2);
    EXPECT_EQ(store.Progress->Tile, 3); // no clamping for progress bars
    EXPECT_FALSE(store.Progress->Image2.Empty());
}

TEST_F(SkinDescription, ComboButtonGetsAMirroredCopyIn24Bits)
{
    TSkinBitmap strip(4, 1, 32);
    for (int x = 0; x < 4; ++x)
        strip.SetPixel(x, 0, 0x80000000u | RGBPixel(x, 0, 0));
    Load("[ComboButton]\r\nImage=c.bmp\r\n", {{"c.bmp", BmpBytes(strip)}});
    const TDataSkinBorder& combo = *store.ComboButton;
    EXPECT_EQ(combo.Image.BitsPerPixel(), 32);
    EXPECT_EQ(combo.Image2.BitsPerPixel(), 24);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(combo.Image2.Pixel(x, 0), RGBPixel(3 - x, 0, 0));
    EXPECT_EQ(combo.FrameCount, 4);
}

TEST_F(SkinDescription, MenuBarUsesItsPersonalityKeys)
{
    Load("[Personality]\r\nmenuBar=m.bmp\r\nTileMenu=1\r\n", {{"m.bmp", BmpBytes(20, 40)}});
    ASSERT_TRUE(store.MenuBar);
    EXPECT_EQ(store.MenuBar->Tile, 1);
    EXPECT_EQ(store.MenuBar->LeftWidth(), 1);
    EXPECT_EQ(store.MenuBar->RightWidth(), 1);
    EXPECT_EQ(store.MenuBar->FrameCount, 2);
}

TEST_F(SkinDescription, TitleReadsTextKeysAndRgbTriples)
{
    Load("[Personality]\r\nTextBack=t.bmp\r\nTextShift=5\r\nTextShiftVert=2\r\nTextRightClip=40\r\nTextAlignment=1\r\n"
         "TXTBackleft=3\r\nTXTBackRight=4\r\nActiveTextR=255\r\nActiveTextG=255\r\nActiveTextB=255\r\n"
         "InActiveTextR=10\r\nInActiveTextB=12\r\n[Fonts]\r\nFontHeight=0x10\r\n",
         {{"t.bmp", BmpBytes(10, 40)}});
    const TDataSkinTitle& t = *store.Title;
    EXPECT_EQ(t.TextShift(), 5);
    EXPECT_EQ(t.TextShiftVert(), 2);
    EXPECT_EQ(t.TextRightClip(), 40);
    EXPECT_EQ(t.BottomHeight(), 0);
    EXPECT_EQ(t.TextAlignment, 1);
    EXPECT_EQ(t.TextBackLeft, 3);
    EXPECT_EQ(t.TextBackRight, 4);
    EXPECT_EQ(t.FontHeight, 16);
    EXPECT_EQ(t.ActiveTextColor, clWhite);
    EXPECT_EQ(t.InactiveTextColor, clNone); // green missing
    EXPECT_FALSE(t.Image.Empty());
}

TEST_F(SkinDescription, ButtonsSectionWithGlyphStrips)
{
    Load("[Buttons]\r\nBitmap=b.bmp\r\nCheckButton=c.bmp\r\nRadioButton=r.bmp\r\nLeftWidth=4\r\nTile=7\r\n"
         "NormalColour2=1 2 3\r\nMouseOverColour2=\r\n",
         {{"b.bmp", BmpBytes(100, 20)}, {"c.bmp", BmpBytes(52, 13)}, {"r.bmp", BmpBytes(96, 16)}});
    const TDataSkinButton& b = *store.Buttons;
    EXPECT_EQ(b.LeftWidth(), 4);
    EXPECT_EQ(b.Tile, 7);
    EXPECT_EQ(b.CheckFrameCount, 4);
    EXPECT_EQ(b.RadioFrameCount, 6);
    EXPECT_TRUE(b.HasNormalColour2);
    EXPECT_FALSE(b.HasMouseOverColour2);
    EXPECT_FALSE(b.HasPressedColour2);
    EXPECT_EQ(b.NormalColour2, RGBColor(1, 2, 3));
    EXPECT_EQ(b.MouseOverColour2, store.ColorButtonText);
}

TEST_F(SkinDescription, GlyphFrameCountsHaveAFloorOfFour)
{
    Load("[Buttons]\r\nCheckButton=c.bmp\r\nRadioButton=r.bmp\r\nRadioButtonFrame=2\r\n",
         {{"c.bmp", BmpBytes(26, 13)}, {"r.bmp", BmpBytes(96, 16)}});
    EXPECT_EQ(store.Buttons->CheckFrameCount, 4);
    EXPECT_EQ(store.Buttons->RadioFrameCount, 2); // given in the description
}

TEST_F(SkinDescription, ReloadReplacesTheRecords)
{
    Load("[MenuItem]\r\nImage=m.bmp\r\n", {{"m.bmp", BmpBytes(50, 10)}});
    ASSERT_TRUE(store.MenuItem);
    Load("[Personality]\r\n");
    EXPECT_FALSE(store.MenuItem);
}

TEST_F(SkinDescription, BrokenBitmapRaisesAndLeavesTheSkinNotLoaded)
{
    EXPECT_THROW(LoadEntries(store, {{"m.bmp", "BMnot really"}, {"skin.ini", "[MenuItem]\r\nImage=m.bmp\r\n"}}), ESkinBitmapError);
    EXPECT_FALSE(store.SkinLoaded());
}

} // namespace
} // namespace orbelin
