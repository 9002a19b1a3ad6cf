#include "skin/render/SkinScrollGeometry.h"

#include <algorithm>
#include <cmath>

namespace orbelin {

namespace {

// a * b / c rounded half away from zero, as the system's MulDiv; -1 for c = 0.
int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    return static_cast<int>(std::llround(static_cast<double>(a) * b / c));
}

} // namespace

int ArrowLengthFor(int length, int arrow) { return length < 2 * arrow ? length / 2 : arrow; }

TScrollBarGeometry ScrollGeometry(int length, int arrow, const TScrollRange& range, int minimumThumb,
                                  int noPageThumb, const TScrollBarGeometry& previous)
{
    TScrollBarGeometry g = previous;
    g.ArrowLength = ArrowLengthFor(length, arrow);
    g.TrackLength = length - 2 * arrow;
    const int r = range.Max - range.Min;
    if (r <= 0)
        return g;
    const int t = g.TrackLength;
    if (range.Page != 0)
        g.ThumbLength = std::max(MulDiv(static_cast<int>(range.Page), t, r), minimumThumb);
    else
        g.ThumbLength = noPageThumb;
    g.ThumbLength = std::max(std::min(g.ThumbLength, t), 0);
    if (static_cast<int>(range.Page) == r) {
        g.ThumbOffset = 0;
        g.ThumbLength -= 1;
    } else {
        g.ThumbOffset = std::min(MulDiv(range.Pos - range.Min, t - g.ThumbLength, r - static_cast<int>(range.Page)),
                                 t - g.ThumbLength);
    }
    return g;
}

TScrollHit ScrollHitAt(int along, const TScrollBarGeometry& g)
{
    const int a = g.ArrowLength, o = g.ThumbOffset, s = g.ThumbLength, t = g.TrackLength;
    if (along < a)
        return shLineUp;
    if (along < a + o)
        return shPageUp;
    if (along < a + o + s)
        return shThumb;
    if (along < a + t)
        return shPageDown;
    if (along < 2 * a + t)
        return shLineDown;
    return shNone;
}

int ThumbPosition(int& offset, const TScrollRange& range, const TScrollBarGeometry& g)
{
    offset = std::max(offset, 0);
    int position = 0;
    if (range.Page != 0) {
        offset = std::min(offset, g.TrackLength);
        position = range.Min + MulDiv(offset, range.Max - range.Min, g.TrackLength);
        const int last = range.Max - static_cast<int>(range.Page);
        if (position >= last)
            position = last + 1;
    } else {
        const int room = g.TrackLength - g.ThumbLength;
        offset = std::min(offset, room);
        position = std::min(range.Min + MulDiv(offset, range.Max - range.Min, room), range.Max);
    }
    return std::max(position, range.Min);
}

} // namespace orbelin
