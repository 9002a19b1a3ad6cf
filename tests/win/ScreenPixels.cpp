#include "tests/win/ScreenPixels.h"

#include "tests/win/SkinPictures.h"
#include "ui/Graphics.h"

#include <algorithm>

namespace orbelin::test {

namespace {

// The frame's colour beside a magenta pixel: the nearest opaque pixel of the
// same row towards the window's middle.
TSkinPixel Beside(const TSkinBitmap& expected, int x, int y)
{
    const int step = x < expected.Width() / 2 ? 1 : -1;
    for (int i = x; i >= 0 && i < expected.Width(); i += step) {
        const TSkinPixel p = expected.Pixel(i, y);
        if (p != SkipPixel && (p & 0x00FFFFFFu) != MagentaPixel)
            return p & 0x00FFFFFFu;
    }
    return MagentaPixel;
}

} // namespace

TSkinBitmap ReadScreen(const RECT& rect)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    TSkinBitmap pixels;
    if (w <= 0 || h <= 0)
        return pixels;
    TBitmap copy;
    copy.SetSizeDib(w, h);
    TWindowDC screen(nullptr);
    BitBlt(copy.DC(), 0, 0, w, h, screen.Handle(), rect.left, rect.top, SRCCOPY);
    GdiFlush();
    pixels.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.SetPixel(x, y, copy.Bits()[y * w + x] & 0x00FFFFFFu);
    return pixels;
}

TPixelComparison CompareWithScreen(const TSkinBitmap& expected, POINT origin)
{
    TPixelComparison result;
    const TSkinBitmap shown =
        ReadScreen({origin.x, origin.y, origin.x + expected.Width(), origin.y + expected.Height()});
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x) {
            const TSkinPixel want = expected.Pixel(x, y) & 0x00FFFFFFu;
            if (want == MagentaPixel) {
                ++result.Transparent;
                continue;
            }
            ++result.Compared;
            if (shown.Pixel(x, y) != want)
                ++result.Different;
        }
    return result;
}

TFrameComparison CompareFrameWithScreen(const TSkinBitmap& expected, HWND window)
{
    return CompareFrameWithScreen(expected, window, {0, 0, expected.Width(), expected.Height()});
}

TFrameComparison CompareFrameWithScreen(const TSkinBitmap& expected, HWND window, const RECT& part)
{
    TFrameComparison result;
    RECT w{};
    GetWindowRect(window, &w);
    // Only what the screen holds of the part (a maximized window reaches past it).
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT area{std::max(part.left, screen.left - w.left), std::max(part.top, screen.top - w.top),
              std::min({part.right, screen.right - w.left, static_cast<LONG>(expected.Width())}),
              std::min({part.bottom, screen.bottom - w.top, static_cast<LONG>(expected.Height())})};
    if (area.right <= area.left || area.bottom <= area.top)
        return result;
    const TSkinBitmap shown = ReadScreen({w.left + area.left, w.top + area.top, w.left + area.right, w.top + area.bottom});
    TGdiHandle<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    result.HasRegion = GetWindowRgn(window, region.Get()) != ERROR;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const TSkinPixel want = expected.Pixel(x, y);
            if (want == SkipPixel)
                continue;
            const bool inside = result.HasRegion && PtInRegion(region.Get(), x, y);
            const TSkinPixel on = shown.Pixel(x - area.left, y - area.top);
            if ((want & 0x00FFFFFFu) == MagentaPixel) {
                ++result.Transparent;
                result.InsideRegion += inside;
                result.ShowsMagenta += on == MagentaPixel;
                result.ShowsBorder += on == Beside(expected, x, y);
                continue;
            }
            ++result.Compared;
            result.Different += on != (want & 0x00FFFFFFu);
            result.OutsideRegion += result.HasRegion && !inside;
        }
    return result;
}

} // namespace orbelin::test
