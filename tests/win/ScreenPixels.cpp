#include "tests/win/ScreenPixels.h"

#include "ui/Graphics.h"

namespace orbelin::test {

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

TPixelComparison CompareWithScreen(const TSkinBitmap& expected, POINT origin, HWND regionOf)
{
    TPixelComparison result;
    const TSkinBitmap shown =
        ReadScreen({origin.x, origin.y, origin.x + expected.Width(), origin.y + expected.Height()});
    TGdiHandle<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    RECT window{};
    const bool hasRegion = regionOf && GetWindowRgn(regionOf, region.Get()) != ERROR;
    if (regionOf)
        GetWindowRect(regionOf, &window);
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x) {
            const TSkinPixel want = expected.Pixel(x, y) & 0x00FFFFFFu;
            const bool inside = !hasRegion || PtInRegion(region.Get(), origin.x + x - window.left, origin.y + y - window.top);
            if (want == MagentaPixel) {
                ++result.Transparent;
                if (hasRegion && inside)
                    ++result.TransparentButShown;
                continue;
            }
            ++result.Compared;
            if (shown.Pixel(x, y) != want || !inside)
                ++result.Different;
        }
    return result;
}

} // namespace orbelin::test
