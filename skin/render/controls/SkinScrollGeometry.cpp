#include "skin/render/controls/SkinScrollGeometry.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace orbelin {

namespace {

// a * b / c rounded half away from zero, as the system's MulDiv, but in
// 64 bits: a length times a range of positions does not fit in 32. -1 for
// c = 0. Each factor is at most 2^32 here, so the product fits.
int64_t MulDiv(int64_t a, int64_t b, int64_t c)
{
    if (c == 0)
        return -1;
    const bool negative = ((a < 0) != (b < 0)) != (c < 0);
    const auto magnitude = [](int64_t v) { return static_cast<uint64_t>(v < 0 ? -v : v); };
    const uint64_t q = (magnitude(a) * magnitude(b) + magnitude(c) / 2) / magnitude(c);
    return negative ? -static_cast<int64_t>(q) : static_cast<int64_t>(q);
}

// The difference of two positions, which may not fit in int.
int64_t Span(int from, int to) { return static_cast<int64_t>(to) - from; }

} // namespace

int ArrowLengthFor(int length, int arrow) { return length < 2 * arrow ? length / 2 : arrow; }

TScrollBarGeometry ScrollGeometry(int length, int arrow, const TScrollRange& range, int minimumThumb,
                                  int noPageThumb, const TScrollBarGeometry& previous)
{
    TScrollBarGeometry g = previous;
    g.ArrowLength = ArrowLengthFor(length, arrow);
    g.TrackLength = length - 2 * arrow;
    const int64_t r = Span(range.Min, range.Max);
    if (r <= 0)
        return g;
    const int t = g.TrackLength;
    const int64_t page = range.Page;
    // A page beyond the range gives the whole track, as the cap below would.
    if (page != 0)
        g.ThumbLength = std::max(static_cast<int>(MulDiv(std::min(page, r), t, r)), minimumThumb);
    else
        g.ThumbLength = noPageThumb;
    g.ThumbLength = std::max(std::min(g.ThumbLength, t), 0);
    if (page == r) {
        g.ThumbOffset = 0;
        g.ThumbLength -= 1;
    } else {
        const int64_t offset = MulDiv(Span(range.Min, range.Pos), t - g.ThumbLength, r - page);
        const int64_t capped = std::min<int64_t>(offset, t - g.ThumbLength);
        g.ThumbOffset = static_cast<int>(std::max<int64_t>(capped, std::numeric_limits<int>::min()));
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
    const int64_t r = Span(range.Min, range.Max);
    int64_t position = 0;
    if (range.Page != 0) {
        offset = std::min(offset, g.TrackLength);
        position = range.Min + MulDiv(offset, r, g.TrackLength);
        const int64_t last = static_cast<int64_t>(range.Max) - range.Page;
        if (position >= last)
            position = last + 1;
    } else {
        const int room = g.TrackLength - g.ThumbLength;
        offset = std::min(offset, room);
        position = std::min<int64_t>(range.Min + MulDiv(offset, r, room), range.Max);
    }
    return static_cast<int>(std::clamp<int64_t>(position, range.Min, range.Max));
}

int ProgressFill(int length, int low, int high, int pos)
{
    if (high <= low || length <= 0)
        return 0;
    const int64_t done = std::clamp<int64_t>(Span(low, pos), 0, Span(low, high));
    return static_cast<int>(static_cast<int64_t>(length) * done / Span(low, high));
}

} // namespace orbelin
