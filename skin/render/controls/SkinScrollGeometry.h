#pragma once
// The arithmetic of a skinned scroll bar, along the bar: arrows, track and
// thumb from the scroll information, the part a press hits, the position a
// dragged thumb stands for.

namespace orbelin {

struct TScrollRange {
    int Min = 0;
    int Max = 0;
    unsigned Page = 0;
    int Pos = 0;
};

struct TScrollBarGeometry {
    int ArrowLength = 0;
    int TrackLength = 0;
    int ThumbLength = 0;
    int ThumbOffset = 0;
    bool operator==(const TScrollBarGeometry&) const = default;
};

// The arrows of a bar `length` long with system arrows of `arrow`: half the
// bar each when it is shorter than two of them.
int ArrowLengthFor(int length, int arrow);

// The geometry of a bar: the track is the bar less a system arrow at each
// end; the thumb follows the range. A range of 0 or less keeps `previous`'s
// thumb. minimumThumb applies to a paged range, noPageThumb is the thumb of
// a range without page.
TScrollBarGeometry ScrollGeometry(int length, int arrow, const TScrollRange& range, int minimumThumb,
                                  int noPageThumb, const TScrollBarGeometry& previous);

enum TScrollHit : int { shNone = 0, shLineUp, shPageUp, shThumb, shPageDown, shLineDown };
// The part a press `along` the bar (from its start) hits.
TScrollHit ScrollHitAt(int along, const TScrollBarGeometry& g);

// The position a thumb dragged to `offset` (from the track's start) stands
// for; the offset is capped first.
int ThumbPosition(int& offset, const TScrollRange& range, const TScrollBarGeometry& g);

// The filled part of a progress bar `length` long at pos of low..high
// (rounded down; nothing before low, all of it from high on).
int ProgressFill(int length, int low, int high, int pos);

} // namespace orbelin
