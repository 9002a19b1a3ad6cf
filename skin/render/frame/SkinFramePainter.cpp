#include "skin/render/frame/SkinFramePainter.h"

#include "skin/data/SkinData.h"
#include "skin/render/core/SkinHosts.h"
#include "skin/render/core/SkinWindowInfo.h"
#include "skin/render/draw/SkinDraw.h"
#include "skin/render/frame/SkinMdiClient.h"
#include "skin/render/frame/SkinMenuBar.h"

#include <algorithm>
#include <cstddef>

namespace orbelin {

namespace {

// Draws an icon on a magenta background without blending its soft edges
// into the magenta (which would no longer be transparent): each pixel is
// either the icon's colour or magenta, by the icon's own coverage.
void DrawIconOverMagenta(HDC dc, HICON icon, int w, int h)
{
    TBitmap onBlack, onWhite;
    onBlack.SetSizeDib(w, h);
    onWhite.SetSizeDib(w, h);
    if (!onBlack.Bits() || !onWhite.Bits())
        return;
    std::fill(onWhite.Bits(), onWhite.Bits() + w * h, 0x00FFFFFFu);
    DrawIconEx(onBlack.DC(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
    DrawIconEx(onWhite.DC(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
    GdiFlush();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t black = onBlack.Bits()[y * w + x], white = onWhite.Bits()[y * w + x];
            // Coverage from how much the background shows through (green channel).
            const int shows = static_cast<int>((white >> 8) & 0xFF) - static_cast<int>((black >> 8) & 0xFF);
            if (shows < 128) {
                const int cover = 255 - shows;
                auto channel = [&](int shift) {
                    return std::min(255, static_cast<int>((black >> shift) & 0xFF) * 255 / std::max(cover, 1));
                };
                SetPixel(dc, x, y, RGB(channel(16), channel(8), channel(0)));
            }
        }
}

} // namespace

void TSkinTitleButton::Paint() { FPainter.PaintTitleButton(*this); }

TSkinFramePainter::TSkinFramePainter(TSkinFrameState& state) : FState(state)
{
    NONCLIENTMETRICSA metrics{};
    // The size without the padded border width, which older systems refuse.
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        FCaptionFont.Name = metrics.lfCaptionFont.lfFaceName;
        FCaptionFont.Height = metrics.lfCaptionFont.lfHeight;
        FCaptionFont.Style = metrics.lfCaptionFont.lfWeight >= FW_BOLD ? unsigned{fsBold} : 0u;
        FCaptionFont.Charset = DEFAULT_CHARSET;
    }
}

// ------------------------------------------------------- the title buttons

void TSkinFramePainter::BuildIconBitmap()
{
    const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    FIconBitmap.SetSize(w, h);
    HDC dc = FIconBitmap.DC();
    {
        TGdiHandle<HBRUSH> magenta(CreateSolidBrush(SkinTransparentColor));
        RECT r{0, 0, w, h};
        FillRect(dc, &r, magenta.Get());
    }
    auto icon = reinterpret_cast<HICON>(SendMessageA(FState.Window, WM_GETICON, ICON_SMALL, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(SendMessageA(FState.Window, WM_GETICON, ICON_BIG, 0));
    if (icon) {
        HICON small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE));
        if (!small)
            small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, w, h, 0));
        DrawIconOverMagenta(dc, small ? small : icon, w, h);
        if (small)
            DestroyIcon(small);
        return;
    }
    // No icon of its own: the skin's default one, else a main store's.
    const TSkinData* skin = FState.Skin;
    const TSkinBitmap* fallback = skin && !skin->DefaultIcon->Empty() ? skin->DefaultIcon.get() : nullptr;
    if (!fallback)
        fallback = FState.Engine.MainDefaultIcon();
    if (fallback)
        if (HDC source = TSkinImageCache::Get(*fallback))
            StretchBlt(dc, 0, 0, w, h, source, 0, 0, fallback->Width(), fallback->Height(), SRCCOPY);
}

void TSkinFramePainter::MakeTitleButtons()
{
    FreeTitleButtons();
    TSkinData& skin = *FState.Skin;
    for (auto& record : skin.SysButtons) {
        if (IsIconButton(record->Action) && record->Image.Empty()) {
            // The icon button shows the window's icon.
            record->Image = ReadPixels(FIconBitmap, {0, 0, FIconBitmap.Width(), FIconBitmap.Height()});
            if (skin.DefaultIcon->Empty())
                *skin.DefaultIcon = record->Image;
            record->FrameCount = 1;
        }
        FTitleButtons.push_back(std::make_unique<TSkinTitleButton>(FState.HotObject, *this, *record));
    }
}

void TSkinFramePainter::FreeTitleButtons()
{
    FState.HotObject = nullptr;
    FTitleButtons.clear();
}

TTitleButtonContext TSkinFramePainter::ButtonContext() const
{
    TTitleButtonContext c;
    c.FrameKind = FState.FrameKind;
    c.Maximized = FState.WindowState == TSkinFrameState::wsMaximized;
    c.Active = FState.Active;
    c.HasSystemMenu = FState.Availability & TSkinFrameState::avSystemMenu;
    c.HasMinimizeBox = FState.Availability & TSkinFrameState::avMinimize;
    c.HasMaximizeBox = FState.Availability & TSkinFrameState::avMaximize;
    // An MDI frame asks its client: the manager's flag follows what the bar shows.
    c.MdiChildMaximized = FState.MdiRole == TSkinFrameState::mrFrame && TSkinMdiClient::ActiveChildMaximized(FState.MdiClient);
    c.MenuBarHeight = FState.MenuBarHeight;
    return c;
}

void TSkinFramePainter::LayoutTitleButtons()
{
    FRightButtonBound = 0;
    TTitleLayoutContext c;
    c.WindowWidth = FWindowWidth;
    c.TitleText = FTitleTextRect;
    c.Frame = FState.Metrics;
    c.MenuBarHeight = FState.MenuBarHeight;
    c.RightToLeft = FState.RightToLeft;
    c.MenuBarLeftWidth = FState.Skin->MenuBar ? FState.Skin->MenuBar->LeftWidth() : 0;
    const TTitleButtonContext context = ButtonContext();
    for (auto& button : FTitleButtons) {
        button->Visible = TitleButtonVisible(button->Button, context);
        const TSkinBitmap& image = button->Button.Image;
        if (!button->Visible || image.Empty())
            continue;
        const TSkinSize frame{image.Width() / std::max(button->Button.FrameCount, 1), image.Height()};
        button->Rect = LayoutTitleButton(button->Button, frame, c, FRightButtonBound);
    }
}

void TSkinFramePainter::PaintMdiChildButtons(HDC dc)
{
    if (FState.MdiRole != TSkinFrameState::mrFrame)
        return;
    const bool maximized = TSkinMdiClient::ActiveChildMaximized(FState.MdiClient);
    FState.Engine.SetMdiMaximized(FState.MdiClient, maximized);
    if (!maximized)
        return;
    // The maximized child's minimize, restore and close buttons, in the bar.
    for (auto& button : FTitleButtons) {
        const TDataSkinSysButton& record = button->Button;
        if (button->Visible && record.Visibility == 100 && !record.Image.Empty())
            DrawStripFrame(dc, ToRECT(button->Rect), record.Image, true, record.FrameCount, 1);
    }
}

void TSkinFramePainter::PaintTitleButtons(HDC dc)
{
    for (auto& button : FTitleButtons) {
        const TDataSkinSysButton& record = button->Button;
        if (!button->Visible || record.Image.Empty() || record.Visibility == 100)
            continue;
        const RECT r = ToRECT(button->Rect);
        if (IsIconButton(record.Action))
            DrawStripFrame(dc, r, FIconBitmap, true, 1, 1);
        else
            DrawStripFrame(dc, r, record.Image, true, record.FrameCount,
                           TitleButtonPaintFrame(record.FrameCount, FState.Active));
    }
}

void TSkinFramePainter::PaintTitleButton(TSkinTitleButton& button)
{
    const TDataSkinSysButton& record = button.Button;
    if (!button.Visible || record.Image.Empty() || FState.FrameState != TSkinFrameState::fsRunning ||
        FCaptionBitmap.Empty())
        return;
    const RECT r = ToRECT(button.Rect);
    const int w = r.right - r.left, h = r.bottom - r.top;
    // The caption under the button first, so its transparent parts show it;
    // composed off-screen and copied in one blit.
    TBitmap piece;
    piece.SetSize(w, h);
    BitBlt(piece.DC(), 0, 0, w, h, FCaptionBitmap.DC(), r.left, r.top, SRCCOPY);
    const RECT local{0, 0, w, h};
    if (IsIconButton(record.Action))
        DrawStripFrame(piece.DC(), local, FIconBitmap, true, 1, 1);
    else
        DrawStripFrame(piece.DC(), local, record.Image, true, record.FrameCount,
                       TitleButtonStateFrame(record, button.State));
    TWindowDC dc(FState.Window, TWindowDC::TArea::Window);
    const TUnmirroredDC plain(dc.Handle());
    BitBlt(dc.Handle(), r.left, r.top, w, h, piece.DC(), 0, 0, SRCCOPY);
}

// ------------------------------------------------------------- painting

TBitmap& TSkinFramePainter::BorderPicture(TBorderPicture& picture, const TDataSkinBorder& border, TSkinSize size,
                                          bool vertical)
{
    const int frame = BorderPaintFrame(border.FrameCount, FState.Active);
    if (picture.Size != size || picture.Frame != frame || picture.Image != border.Image.Serial()) {
        NineSliceBitmap(picture.Bitmap, size, border.Image, border.Margins, vertical, border.Tile != 1,
                        border.FrameCount, frame);
        picture.Size = size;
        picture.Frame = frame;
        picture.Image = border.Image.Serial();
    }
    return picture.Bitmap;
}

void TSkinFramePainter::Paint(HDC dc, TSkinMenuBar* menuBar)
{
    const TSkinFrameState& s = FState;
    if ((s.FrameState != TSkinFrameState::fsRunning && s.FrameState != TSkinFrameState::fsReskinning) ||
        s.FrameKind == fkNoFrame || s.MdiChildNotNormal() || !s.Skin || !s.Skin->SkinLoaded())
        return;
    std::unique_ptr<TWindowDC> own;
    if (!dc) {
        own = std::make_unique<TWindowDC>(s.Window, TWindowDC::TArea::Window);
        dc = own->Handle();
    }
    const TUnmirroredDC plain(dc);
    try {
        RECT window{};
        if (!GetWindowRect(s.Window, &window))
            return;
        const int w = window.right - window.left, h = window.bottom - window.top;
        FWindowWidth = w;
        FWindowHeight = h;
        const TFrameMetrics& m = s.Metrics;
        // Each border copied opaque; the side borders run the full height
        // (their caption rows go with the caption).
        auto put = [dc](TBitmap& bitmap, const TSkinRect& at) {
            if (!bitmap.Empty())
                BitBlt(dc, at.Left, at.Top, bitmap.Width(), bitmap.Height(), bitmap.DC(), 0, 0, SRCCOPY);
        };
        if (h >= 0 && w - m.Left - m.Right >= 0) {
            const TFrameBorders b = FrameBorderRects({w, h}, m);
            put(BorderPicture(FLeftPicture, *s.Skin->BorderLeft, {b.Left.Width(), b.Left.Height()}, false), b.Left);
            put(BorderPicture(FRightPicture, *s.Skin->BorderRight, {b.Right.Width(), b.Right.Height()}, false), b.Right);
            put(BorderPicture(FBottomPicture, *s.Skin->BorderBottom, {b.Bottom.Width(), b.Bottom.Height()}, true),
                b.Bottom);
        }
        PaintCaption(dc);
        if (menuBar && s.MenuBarHeight > 0) {
            menuBar->PaintBar(dc, {m.Left, m.Caption, w - m.Right, m.Caption + s.MenuBarHeight});
            PaintMdiChildButtons(dc);
        }
    } catch (...) {
        // A frame that cannot be painted stays as it was; nothing is shown from inside a paint.
    }
    FState.HotObject = nullptr;
}

void TSkinFramePainter::PaintCaption(HDC dc)
{
    const TFrameMetrics& m = FState.Metrics;
    const int w = FWindowWidth;
    if (m.Caption <= 0 || w <= 0 || w - m.Left - m.Right < 0)
        return;
    FCaptionBitmap.SetSize(w, m.Caption);
    HDC caption = FCaptionBitmap.DC();
    const TFrameBorders b = FrameBorderRects({w, FWindowHeight}, m);
    // The side borders run the full height: their tops belong to the caption row.
    BitBlt(caption, b.Left.Left, 0, m.Left, m.Caption, FLeftPicture.Bitmap.DC(), 0, 0, SRCCOPY);
    BitBlt(caption, b.Right.Left, 0, m.Right, m.Caption, FRightPicture.Bitmap.DC(), 0, 0, SRCCOPY);
    TBitmap& top = BorderPicture(FTopPicture, *FState.Skin->BorderTop, {b.Top.Width(), b.Top.Height()}, true);
    BitBlt(caption, b.Top.Left, 0, top.Width(), top.Height(), top.DC(), 0, 0, SRCCOPY);
    PaintTitleText(caption);
    LayoutTitleButtons();
    PaintTitleButtons(caption);
    BitBlt(dc, 0, 0, w, m.Caption, caption, 0, 0, SRCCOPY);
    SetBkMode(dc, OPAQUE);
}

void TSkinFramePainter::PaintTitleText(HDC dc)
{
    const TSkinData& skin = *FState.Skin;
    const TDataSkinTitle& title = *skin.Title;
    const TFrameMetrics& m = FState.Metrics;
    const TSkinRect R{m.Left, 0, FWindowWidth - m.Right, m.Caption};
    const std::string text = CaptionText(FState.Window);
    TSelectObject font(dc, FCaptionFont.Handle());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour =
        SetTextColor(dc, ColorToRGB(FState.Active ? skin.ColorTitleTextActive : skin.ColorTitleTextNoActive));
    const std::string measured = FTitlePrefix + " " + text;
    RECT calc{R.Left, R.Top, R.Left, R.Top};
    DrawTextA(dc, measured.data(), static_cast<int>(measured.size()), &calc, DT_CALCRECT | DT_NOCLIP);
    TTitlePlacement placement{R, {calc.right - calc.left, calc.bottom - calc.top}, FState.RightToLeft,
                              (FState.Style & WS_POPUP) != 0, FRightButtonBound};
    FTitleTextRect = PlaceTitleText(title, placement);
    TSkinRect T = FTitleTextRect;
    if (!title.Image.Empty())
        DrawThreeSlice(dc, {T.Left, R.Top, T.Right, R.Bottom}, title.Image, true, true, 2, FState.Active ? 1 : 2,
                       title.TextBackLeft, title.TextBackRight);
    T.Left += title.TextBackLeft;
    T.Right -= title.TextBackRight;
    RECT out = ToRECT(T);
    const std::string shown = FTitlePrefix + text;
    DrawTextA(dc, shown.data(), static_cast<int>(shown.size()), &out,
              DT_SINGLELINE | DT_END_ELLIPSIS | (FState.RightToLeft ? DT_RIGHT : 0));
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

// --------------------------------------------------------------- region

void TSkinFramePainter::UpdateRegion(bool redraw)
{
    RECT window{};
    if (GetWindowRect(FState.Window, &window))
        UpdateRegion({window.right - window.left, window.bottom - window.top}, redraw);
}

void TSkinFramePainter::UpdateRegion(TSkinSize outer, bool redraw)
{
    const int w = outer.Width, h = outer.Height;
    if (w * h == 0 || FState.MdiChildNotNormal())
        return;
    if (outer == FRegionSize && !FState.IsMdiChild() && FState.FrameState != TSkinFrameState::fsReskinning)
        return;
    const TSkinData& s = *FState.Skin;
    if (2 * s.BorderLeft->Trans + s.BorderRight->Trans + s.BorderTop->Trans == 0) {
        SetWindowRgn(FState.Window, nullptr, redraw);
        FRegionSet = false;
        FRegionSize = outer;
        return;
    }
    FRegionSize = outer;
    const TFrameMetrics& m = FState.Metrics;
    TGdiHandle<HRGN> region(CreateRectRgn(m.Left, m.Caption, w - m.Right, h - m.Bottom));
    auto addPart = [&](TGdiHandle<HRGN> part) {
        if (part)
            CombineRgn(region.Get(), region.Get(), part.Get(), RGN_OR);
    };
    auto rect = [](const TSkinRect& r) { return TGdiHandle<HRGN>(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom)); };
    // A border image drawn at the size it takes in the window, its opaque pixels the region.
    auto borderPart = [&](const TDataSkinBorder& border, const TSkinRect& at, bool vertical) {
        const TSkinSize size{at.Width(), at.Height()};
        TBitmap bitmap;
        NineSliceBitmap(bitmap, size, border.Image, border.Margins, vertical, border.Tile != 1, border.FrameCount, 1);
        return BitmapToRegion(ReadPixels(bitmap, {0, 0, size.Width, size.Height}), at.Left, at.Top, TTransparency{});
    };
    if (FState.FrameKind != fkNoFrame) {
        const TFrameBorders b = FrameBorderRects(outer, m);
        addPart(s.BorderLeft->Trans == 1 && h > 1 ? borderPart(*s.BorderLeft, b.Left, false) : rect(b.Left));
        addPart(s.BorderRight->Trans == 1 && h > 1 ? borderPart(*s.BorderRight, b.Right, false) : rect(b.Right));
        if (s.BorderBottom->Trans == 1 && m.Bottom >= 2)
            addPart(borderPart(*s.BorderBottom, b.Bottom, true));
        else
            addPart(rect(b.Bottom));
        const int band = b.Top.Width();
        if (s.BorderTop->Trans == 1 && m.Caption > 1 && band > 0) {
            // From the skin's caption picture at the band's size now, not
            // from the last paint's bitmap: that one may be of another width
            // (before a restore) or of another skin.
            TBitmap top;
            NineSliceBitmap(top, {band, m.Caption}, s.BorderTop->Image, s.BorderTop->Margins, true,
                            s.BorderTop->Tile != 1, s.BorderTop->FrameCount, 1);
            addPart(BitmapToRegion(ReadPixels(top, {0, 0, band, m.Caption}), m.Left, 0, TTransparency{}));
        } else {
            addPart(rect(b.Top));
        }
    }
    // The system owns the region from here on.
    SetWindowRgn(FState.Window, region.Release(), redraw);
    FRegionSet = true;
}

void TSkinFramePainter::DropRegion()
{
    SetWindowRgn(FState.Window, nullptr, TRUE);
    FRegionSet = false;
    FRegionSize = {};
}

} // namespace orbelin
