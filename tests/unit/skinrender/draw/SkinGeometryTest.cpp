// Which source rectangles go where, and which pixels make a region.

#include "skin/render/draw/SkinGeometry.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

TEST(FrameRect, HorizontalAndVerticalStrips)
{
    EXPECT_EQ(FrameRect(100, 20, 5, 1, false), (TSkinRect{0, 0, 20, 20}));
    EXPECT_EQ(FrameRect(100, 20, 5, 4, false), (TSkinRect{60, 0, 80, 20}));
    EXPECT_EQ(FrameRect(8, 60, 2, 2, true), (TSkinRect{0, 30, 8, 60}));
    EXPECT_EQ(FrameRect(10, 10, 0, 1, false), (TSkinRect{0, 0, 10, 10})) << "no frame count means one frame";
}

TEST(NineSlice, PiecesInTheirOrderWithStretchedEdges)
{
    // Frame 2 of a strip of 20 x 20 frames, margins 3/4/5/6, into 50 x 40.
    const TSkinRect frame{20, 0, 40, 20};
    const auto pieces = NineSlicePieces({50, 40}, frame, {3, 4, 5, 6}, false);
    const std::vector<TSliceCopy> expected = {
        {{20, 0, 23, 4}, {0, 0, 3, 4}},      // top-left
        {{20, 14, 23, 20}, {0, 34, 3, 40}},  // bottom-left
        {{35, 0, 40, 4}, {45, 0, 50, 4}},    // top-right
        {{20, 4, 23, 14}, {0, 4, 3, 34}},    // left edge
        {{23, 0, 35, 4}, {3, 0, 45, 4}},     // top edge
        {{23, 4, 35, 14}, {3, 4, 45, 34}},   // centre
        {{35, 14, 40, 20}, {45, 34, 50, 40}}, // bottom-right
        {{35, 4, 40, 14}, {45, 4, 50, 34}},  // right edge
        {{23, 14, 35, 20}, {3, 34, 45, 40}}, // bottom edge
    };
    EXPECT_EQ(pieces, expected);
}

TEST(NineSlice, ADestinationSmallerThanTwoMarginsDropsThem)
{
    // 9 x 9 against 5/5/5/5: the whole frame is stretched.
    const auto pieces = NineSlicePieces({9, 9}, {0, 0, 16, 16}, {5, 5, 5, 5}, false);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0], (TSliceCopy{{0, 0, 16, 16}, {0, 0, 9, 9}}));

    // Exactly the sum keeps them; only the empty centre goes.
    const auto exact = NineSlicePieces({10, 10}, {0, 0, 16, 16}, {5, 5, 5, 5}, false);
    EXPECT_EQ(exact.size(), 4u);
    for (const auto& p : exact)
        EXPECT_EQ(p.Dest.Width(), 5);

    // One axis only: the width is too small, the height is not.
    const auto narrow = NineSlicePieces({6, 30}, {0, 0, 16, 16}, {4, 3, 4, 3}, false);
    for (const auto& p : narrow) {
        EXPECT_EQ(p.Source.Left, 0);
        EXPECT_EQ(p.Source.Right, 16) << "the full width is stretched";
    }
    EXPECT_EQ(narrow.size(), 3u) << "top edge, centre, bottom edge";
}

TEST(NineSlice, TiledCentreIsMarked)
{
    const auto pieces = NineSlicePieces({30, 30}, {0, 0, 10, 10}, {2, 2, 2, 2}, true);
    int tiled = 0;
    for (const auto& p : pieces)
        if (p.Tiled) {
            ++tiled;
            EXPECT_EQ(p.Dest, (TSkinRect{2, 2, 28, 28}));
        }
    EXPECT_EQ(tiled, 1);
}

TEST(ThreeSlice, MiddleRepeatsAndTheEndsStay)
{
    const auto pieces = ThreeSlicePieces({26, 12}, {0, 0, 10, 6}, 3, 2);
    const std::vector<TSliceCopy> expected = {
        {{0, 0, 3, 6}, {0, 0, 3, 12}},
        {{3, 0, 8, 6}, {3, 0, 8, 12}},
        {{3, 0, 8, 6}, {8, 0, 13, 12}},
        {{3, 0, 8, 6}, {13, 0, 18, 12}},
        {{3, 0, 8, 6}, {18, 0, 23, 12}},
        {{3, 0, 8, 6}, {23, 0, 28, 12}}, // the last one runs under the right end
        {{8, 0, 10, 6}, {24, 0, 26, 12}},
    };
    EXPECT_EQ(pieces, expected);
}

TEST(ThreeSlice, AFrameWithoutMiddleDrawsOnlyTheEnds)
{
    const auto pieces = ThreeSlicePieces({100, 10}, {0, 0, 6, 10}, 3, 3);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[1].Dest, (TSkinRect{97, 0, 100, 10}));
    EXPECT_EQ(ThreeSlicePieces({100, 10}, {0, 0, 5, 10}, 3, 3).size(), 2u) << "margins wider than the frame";
}

TEST(Tiles, CoverTheDestinationFromItsCorner)
{
    const auto tiles = TileRects({10, 20, 25, 27}, {6, 4});
    ASSERT_EQ(tiles.size(), 6u);
    EXPECT_EQ(tiles.front(), (TSkinRect{10, 20, 16, 24}));
    EXPECT_EQ(tiles.back(), (TSkinRect{22, 24, 28, 28}));
    EXPECT_TRUE(TileRects({0, 0, 10, 10}, {0, 4}).empty());
    EXPECT_TRUE(TileRects({10, 0, 0, 10}, {2, 2}).empty());
}

TEST(CentreRect, HalvesRoundTowardZero)
{
    EXPECT_EQ(CentreRect({0, 0, 10, 10}, {3, 3}), (TSkinRect{3, 3, 6, 6}));
    EXPECT_EQ(CentreRect({0, 0, 10, 10}, {13, 13}), (TSkinRect{-1, -1, 12, 12}));
}

TEST(RegionRuns, AllMagentaGivesNothing)
{
    TSkinBitmap bitmap(7, 3, 24, MagentaPixel);
    bitmap.SetPixel(1, 1, RGBPixel(255, 1, 255)); // within the tolerance of 1
    bitmap.SetPixel(2, 2, RGBPixel(255, 0, 254)); // below the colour: opaque
    const auto runs = OpaqueRuns(bitmap, 0, 0, TTransparency{});
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], (TSkinRect{2, 2, 3, 3}));
    bitmap.SetPixel(2, 2, MagentaPixel);
    EXPECT_TRUE(OpaqueRuns(bitmap, 0, 0, TTransparency{}).empty());
}

TEST(RegionRuns, OneRowOpaqueMagentaOpaqueAtAnOffset)
{
    TSkinBitmap bitmap(3, 1, 24, RGBPixel(0, 0, 0));
    bitmap.SetPixel(1, 0, MagentaPixel);
    const auto runs = OpaqueRuns(bitmap, 10, 20, TTransparency{});
    EXPECT_EQ(runs, (std::vector<TSkinRect>{{10, 20, 11, 21}, {12, 20, 13, 21}}));
}

TEST(RegionRuns, ToleranceIsPerChannelAndCapped)
{
    TTransparency t{RGBPixel(250, 0, 250), 10, 0, 2};
    EXPECT_TRUE(t.IsTransparent(RGBPixel(255, 0, 252)));
    EXPECT_FALSE(t.IsTransparent(RGBPixel(255, 1, 252)));
    EXPECT_FALSE(t.IsTransparent(RGBPixel(255, 0, 253)));
    EXPECT_FALSE(t.IsTransparent(RGBPixel(249, 0, 250)));
}

TEST(RegionBatcher, FlushesEvery2000AndGrowsBy500)
{
    std::vector<size_t> batches;
    TRegionBatcher batcher([&](const std::vector<TSkinRect>& batch) { batches.push_back(batch.size()); });
    EXPECT_EQ(batcher.Capacity(), 500u);
    for (int i = 0; i < 500; ++i)
        batcher.Add({i, 0, i + 1, 1});
    EXPECT_EQ(batcher.Capacity(), 500u);
    batcher.Add({0, 1, 1, 2});
    EXPECT_EQ(batcher.Capacity(), 1000u);
    for (int i = 501; i < 4500; ++i)
        batcher.Add({i, 0, i + 1, 1});
    EXPECT_EQ(batches, (std::vector<size_t>{2000, 2000}));
    batcher.Finish();
    EXPECT_EQ(batches, (std::vector<size_t>{2000, 2000, 500}));
    batcher.Finish();
    EXPECT_EQ(batches.size(), 3u) << "nothing left to hand over";
}

TEST(RenderNineSlice, KeepsTheCornersAndStretchesTheMiddle)
{
    // A 6 x 6 frame (second of two): red corners 2 x 2, green edges, blue centre.
    TSkinBitmap image(12, 6, 24, 0);
    for (int y = 0; y < 6; ++y)
        for (int x = 6; x < 12; ++x) {
            const bool edgeX = x - 6 < 2 || x - 6 >= 4, edgeY = y < 2 || y >= 4;
            image.SetPixel(x, y, edgeX && edgeY ? RGBPixel(255, 0, 0) : (edgeX || edgeY) ? RGBPixel(0, 255, 0) : RGBPixel(0, 0, 255));
        }
    const TSkinBitmap out = RenderNineSlice(image, {10, 8}, {2, 2, 2, 2}, false, false, 2, 2);
    EXPECT_EQ(out.Pixel(0, 0), RGBPixel(255, 0, 0));
    EXPECT_EQ(out.Pixel(9, 7), RGBPixel(255, 0, 0));
    EXPECT_EQ(out.Pixel(5, 0), RGBPixel(0, 255, 0));
    EXPECT_EQ(out.Pixel(0, 4), RGBPixel(0, 255, 0));
    EXPECT_EQ(out.Pixel(2, 2), RGBPixel(0, 0, 255));
    EXPECT_EQ(out.Pixel(7, 5), RGBPixel(0, 0, 255));
    EXPECT_EQ(out.Pixel(8, 5), RGBPixel(0, 255, 0));
}

} // namespace
} // namespace orbelin
