// Checks on the skin the build generated (path given by the build).

#include "skin/data/SkinReader.h"
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

std::string SkinBytes() { return ReadFileBytes(ORBELIN_SKIN_FILE); }

TEST(RealSkin, UnpacksAndRepacksByteExact)
{
    const std::string packed = SkinBytes();
    TMemoryStream in;
    in.WriteString(packed);
    TMemoryStream plain;
    TSkinReader().Unpack(in, plain);
    const std::string archive(plain.Bytes().begin(), plain.Bytes().end());
    EXPECT_EQ(test::PackPlain(archive), packed);
}

TEST(RealSkin, LoadsEveryElementOurWindowsDraw)
{
    test::THostFixture host;
    TSkinData store(nullptr);
    store.SetProperty("SkinStream", test::SkinStreamValue(SkinBytes()));
    ASSERT_TRUE(store.SkinLoaded());
    EXPECT_TRUE(host.Messages.empty());
    for (const TDataSkinBorder* b : {store.BorderLeft.get(), store.BorderRight.get(), store.BorderTop.get(), store.BorderBottom.get()}) {
        EXPECT_FALSE(b->Image.Empty()) << b->Name;
        EXPECT_EQ(b->FrameCount, 2) << b->Name;
    }
    EXPECT_EQ(store.BorderTop->Image.Height() / store.BorderTop->FrameCount, 30);
    EXPECT_EQ(store.BorderLeft->Image.Width() / store.BorderLeft->FrameCount, 4);
    EXPECT_FALSE(store.Title->Image.Empty());
    EXPECT_FALSE(store.Buttons->Image.Empty());
    EXPECT_EQ(store.Buttons->CheckFrameCount, 4);
    EXPECT_EQ(store.Buttons->RadioFrameCount, 4);
    for (const TDataSkinObject* r : std::initializer_list<const TDataSkinObject*>{store.ComboButton.get(), store.SunkEdge.get(), store.ExtraImages.get(), store.MenuItem.get(),
                          store.MenuBackground.get(), store.Scrollbar.get(), store.HorzScroll.get(), store.VertScroll.get(),
                          store.HorzScrollThumb.get(), store.VertScrollThumb.get(), store.GroupBoxEdge.get(),
                          store.GroupBox.get()}) {
        ASSERT_NE(r, nullptr);
        EXPECT_FALSE(r->Image.Empty()) << r->Name;
        EXPECT_EQ(r->Image.Width() % r->FrameCount, 0) << r->Name;
    }
    ASSERT_EQ(store.SysButtons.size(), 5u + 3u);
    EXPECT_EQ(store.SysButtons[0]->Action, 0);           // close
    EXPECT_EQ(store.SysButtons[4]->Action, 3);           // icon
    EXPECT_EQ(store.SysButtons[0]->FrameCount, 6);
    EXPECT_FALSE(store.SysButtons[5]->Image.Empty());    // MDI strips
    EXPECT_EQ(store.Title->ActiveTextColor, clWhite);
    EXPECT_EQ(store.ColorTitleTextActive, clWhite);
}

TEST(RealSkin, FrameTopHasRoundCornersCutInMagenta)
{
    test::THostFixture host;
    TSkinData store(nullptr);
    store.SetProperty("SkinStream", test::SkinStreamValue(SkinBytes()));
    const TSkinBitmap& left = store.BorderLeft->Image;
    EXPECT_EQ(left.Pixel(0, 0) & 0xFFFFFF, MagentaPixel);
    EXPECT_NE(left.Pixel(0, 20) & 0xFFFFFF, MagentaPixel);
    const TSkinBitmap& right = store.BorderRight->Image;
    EXPECT_EQ(right.Pixel(3, 0) & 0xFFFFFF, MagentaPixel);
    for (int x = 0; x < 3; ++x) // the curve reaches the top row at the fourth column
        EXPECT_EQ(left.Pixel(x, 0) & 0xFFFFFF, MagentaPixel) << x;
    EXPECT_NE(store.BorderTop->Image.Pixel(20, 0) & 0xFFFFFF, MagentaPixel);
    EXPECT_NE(store.BorderTop->Image.Pixel(4, 0) & 0xFFFFFF, MagentaPixel);
}

} // namespace
} // namespace orbelin
