// The arithmetic of the skinned scroll bars and the button layouts.

#include "skin/render/controls/SkinScrollGeometry.h"
#include "skin/render/draw/SkinGeometry.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

TEST(ScrollGeometry, ArrowsTakeHalfOfABarShorterThanTwoOfThem)
{
    EXPECT_EQ(ArrowLengthFor(100, 16), 16);
    EXPECT_EQ(ArrowLengthFor(32, 16), 16);
    EXPECT_EQ(ArrowLengthFor(31, 16), 15);
    EXPECT_EQ(ArrowLengthFor(20, 16), 10);
    // ... and then no room is left for the thumb.
    const TScrollBarGeometry g = ScrollGeometry(20, 16, {0, 100, 10, 0}, 8, 16, {});
    EXPECT_LT(g.TrackLength, g.ThumbLength);
}

TEST(ScrollGeometry, ThumbFollowsPageAndPosition)
{
    // Track 200 (232 less two arrows of 16), range 0..99, page 25.
    TScrollBarGeometry g = ScrollGeometry(232, 16, {0, 99, 25, 0}, 8, 16, {});
    EXPECT_EQ(g.TrackLength, 200);
    EXPECT_EQ(g.ThumbLength, 51); // 25 * 200 / 99, rounded
    EXPECT_EQ(g.ThumbOffset, 0);
    g = ScrollGeometry(232, 16, {0, 99, 25, 74}, 8, 16, {});
    EXPECT_EQ(g.ThumbOffset, 149); // at the end: track less thumb
    g = ScrollGeometry(232, 16, {10, 109, 25, 47}, 8, 16, {});
    EXPECT_EQ(g.ThumbOffset, 75); // (47 - 10) * 149 / 74, rounded
    g = ScrollGeometry(232, 16, {0, 10000, 1, 0}, 8, 16, {});
    EXPECT_EQ(g.ThumbLength, 8) << "never shorter than the minimum";
    g = ScrollGeometry(232, 16, {0, 99, 0, 0}, 8, 17, {});
    EXPECT_EQ(g.ThumbLength, 17) << "a range without page takes the system's thumb";
    g = ScrollGeometry(40, 16, {0, 10, 500, 0}, 8, 16, {});
    EXPECT_EQ(g.ThumbLength, 8) << "at most the track";
}

TEST(ScrollGeometry, APageAsLongAsTheRangeStartsTheThumbAtZeroOnePixelShort)
{
    const TScrollBarGeometry g = ScrollGeometry(232, 16, {0, 100, 100, 40}, 8, 16, {});
    EXPECT_EQ(g.ThumbOffset, 0);
    EXPECT_EQ(g.ThumbLength, 199);
}

TEST(ScrollGeometry, AnEmptyRangeKeepsThePreviousThumb)
{
    const TScrollBarGeometry before{16, 200, 40, 60};
    const TScrollBarGeometry g = ScrollGeometry(232, 16, {5, 5, 0, 5}, 8, 16, before);
    EXPECT_EQ(g.ThumbLength, 40);
    EXPECT_EQ(g.ThumbOffset, 60);
}

TEST(ScrollGeometry, PressesHitArrowsPagesAndThumb)
{
    const TScrollBarGeometry g{16, 200, 40, 60};
    EXPECT_EQ(ScrollHitAt(0, g), shLineUp);
    EXPECT_EQ(ScrollHitAt(15, g), shLineUp);
    EXPECT_EQ(ScrollHitAt(16, g), shPageUp);
    EXPECT_EQ(ScrollHitAt(75, g), shPageUp);
    EXPECT_EQ(ScrollHitAt(76, g), shThumb);
    EXPECT_EQ(ScrollHitAt(115, g), shThumb);
    EXPECT_EQ(ScrollHitAt(116, g), shPageDown);
    EXPECT_EQ(ScrollHitAt(215, g), shPageDown);
    EXPECT_EQ(ScrollHitAt(216, g), shLineDown);
    EXPECT_EQ(ScrollHitAt(231, g), shLineDown);
    EXPECT_EQ(ScrollHitAt(232, g), shNone);
}

TEST(ScrollGeometry, ADraggedThumbStandsForAPosition)
{
    const TScrollBarGeometry paged{16, 200, 50, 0};
    int offset = -30;
    EXPECT_EQ(ThumbPosition(offset, {0, 99, 25, 0}, paged), 0);
    EXPECT_EQ(offset, 0) << "never before the track";
    offset = 100;
    EXPECT_EQ(ThumbPosition(offset, {0, 99, 25, 0}, paged), 50); // 100 * 99 / 200, rounded
    offset = 190;
    EXPECT_EQ(ThumbPosition(offset, {0, 99, 25, 0}, paged), 75) << "the last page: one past max - page";
    offset = 500;
    ThumbPosition(offset, {0, 99, 25, 0}, paged);
    EXPECT_EQ(offset, 200) << "capped at the track";

    const TScrollBarGeometry unpaged{16, 200, 20, 0};
    offset = 500;
    EXPECT_EQ(ThumbPosition(offset, {10, 50, 0, 10}, unpaged), 50);
    EXPECT_EQ(offset, 180) << "capped at track less thumb";
    offset = 90;
    EXPECT_EQ(ThumbPosition(offset, {10, 50, 0, 10}, unpaged), 30);
}

// Ranges of a few hundred million lines (a huge log in a memo): a track
// length times a position, or the range itself, no longer fits in 32 bits.
TEST(ScrollGeometry, ARangeWiderThan32BitsStillPlacesTheThumb)
{
    const TScrollRange wide{-2'000'000'000, 2'000'000'000, 0, 0};
    const TScrollBarGeometry g = ScrollGeometry(232, 16, wide, 8, 16, {});
    EXPECT_EQ(g.ThumbLength, 16);
    EXPECT_EQ(g.ThumbOffset, 92) << "the middle of the range: half of track less thumb";
    int offset = 92;
    EXPECT_EQ(ThumbPosition(offset, wide, g), 0);
    offset = 184;
    EXPECT_EQ(ThumbPosition(offset, wide, g), 2'000'000'000);

    const TScrollRange paged{0, 2'000'000'000, 1'000'000'000, 1'500'000'000};
    const TScrollBarGeometry h = ScrollGeometry(232, 16, paged, 8, 16, {});
    EXPECT_EQ(h.ThumbLength, 100);
    EXPECT_EQ(h.ThumbOffset, 100) << "at the last page";
    offset = 150; // three quarters of the track: 1.5e9, one past max - page
    EXPECT_EQ(ThumbPosition(offset, paged, h), 1'000'000'001);
}

TEST(ScrollGeometry, AProgressBarFillsItsShareEvenOfAHugeRange)
{
    EXPECT_EQ(ProgressFill(296, 0, 100, 50), 148);
    EXPECT_EQ(ProgressFill(296, 0, 10'000'000, 9'000'000), 266) << "296 * 9e6 does not fit in 32 bits";
    EXPECT_EQ(ProgressFill(296, -2'000'000'000, 2'000'000'000, 0), 148);
    EXPECT_EQ(ProgressFill(296, 0, 100, 150), 296) << "never beyond the bar";
    EXPECT_EQ(ProgressFill(296, 10, 100, 5), 0);
    EXPECT_EQ(ProgressFill(296, 100, 100, 100), 0) << "an empty range fills nothing";
}

TEST(GlyphLayout, ACaptionWithoutGlyphIsCentredWhateverTheSpacing)
{
    const TGlyphTextLayout l = LayoutGlyphAndText({75, 25}, {0, 0}, {30, 12}, TGlyphSide::Left, -1, 4);
    EXPECT_EQ(l.Text.Left, 22); // (75 - 30) / 2, spacing dropped without a glyph
    EXPECT_EQ(l.Text.Top, 7);   // (25 - 12 + 1) / 2
}

TEST(GlyphLayout, GlyphSidesMarginsAndSpacing)
{
    // Glyph 16 x 16 left of a 30 x 12 caption in 100 x 30.
    TGlyphTextLayout l = LayoutGlyphAndText({100, 30}, {16, 16}, {30, 12}, TGlyphSide::Left, -1, 4);
    EXPECT_EQ(l.Glyph, (TSkinRect{25, 7, 41, 23})); // margin (100 - 50) / 2
    EXPECT_EQ(l.Text.Left, 45);
    l = LayoutGlyphAndText({100, 30}, {16, 16}, {30, 12}, TGlyphSide::Right, 5, 4);
    EXPECT_EQ(l.Glyph.Left, 79);
    EXPECT_EQ(l.Text.Left, 45);
    EXPECT_EQ(l.Alignment, 1u);
    l = LayoutGlyphAndText({100, 60}, {16, 16}, {30, 12}, TGlyphSide::Top, -1, -1);
    EXPECT_EQ(l.Glyph.Top, 10); // (60 - 28) / 3
    EXPECT_EQ(l.Text.Top, 36);
    EXPECT_EQ(l.Glyph.Left, 42);
    l = LayoutGlyphAndText({100, 60}, {16, 16}, {30, 12}, TGlyphSide::Bottom, 4, -1);
    EXPECT_EQ(l.Glyph.Top, 40);
    EXPECT_EQ(l.Text.Top, 40 - 14 - 12); // spacing (60 - 4 - 28) / 2
}

TEST(CheckGlyph, NarrowGlyphsSitInA14PixelColumn)
{
    EXPECT_EQ(CheckGlyphRect({0, 0, 100, 17}, 13, 13, false), (TSkinRect{0, 2, 13, 15}));
    EXPECT_EQ(CheckGlyphRect({0, 0, 100, 17}, 10, 10, false), (TSkinRect{2, 3, 12, 13}));
    EXPECT_EQ(CheckGlyphRect({0, 0, 100, 16}, 16, 16, false), (TSkinRect{0, 0, 16, 16})) << "flush left";
    EXPECT_EQ(CheckGlyphRect({0, 0, 100, 16}, 16, 16, true), (TSkinRect{83, 0, 99, 16})) << "1 pixel in from the right";
    EXPECT_EQ(CheckGlyphRect({0, 0, 100, 17}, 13, 13, true), (TSkinRect{87, 2, 100, 15}));
}

} // namespace
} // namespace orbelin
