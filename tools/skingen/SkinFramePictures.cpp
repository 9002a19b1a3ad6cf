// The window frame: borders, caption band, title mark and caption buttons.

#include "tools/skingen/SkinPainters.h"

namespace orbelin::skingen {

TSkinBitmap Strip(int frames, int w, int h, TRgb background, const TFramePainter& paint, bool vertical)
{
    TSkinCanvas c(vertical ? w : w * frames, vertical ? h * frames : h, background);
    for (int f = 0; f < frames; ++f) {
        c.SetFrame(vertical ? 0 : f * w, vertical ? f * h : 0, w, h);
        paint(c, f + 1, w, h);
    }
    return c.Bitmap();
}

namespace {

TRgb FrameColour(const TLook& look, int frame) { return frame == 1 ? look.Colours.Caption : look.Colours.CaptionInactive; }

// The caption band: deep colour, a faint highlight line, top corners cut round.
void PaintCaptionBand(const TLook& look, TSkinCanvas& c, int frame, int w, int xInWindow, int windowWidth)
{
    const TRgb base = FrameColour(look, frame);
    c.VerticalGradient(0, 0, w, look.CaptionHeight, Mix(base, White, 0.10), base);
    c.FillRect(0, 0, w, 1, Mix(base, White, 0.28));
    // Cut the corners as one window-wide shape, so both borders agree.
    const auto shape = RoundRect(-xInWindow, 0, windowWidth - xInWindow, look.CaptionHeight * 4, look.CornerRadius);
    c.CutOutside(shape, 0, 0, w, look.CornerRadius + 1);
}

// Copies a band painted on a canvas of its own into the current frame.
void CopyBand(TSkinCanvas& to, TSkinCanvas& band, int w, int h)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TSkinPixel p = band.Bitmap().Pixel(x, y);
            to.Pixel(x, y, {int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)});
        }
}

void PaintCaptionGlyph(TSkinCanvas& c, TGlyph g, double cx, double cy, TRgb ink)
{
    switch (g) {
    case TGlyph::Close:
        c.Fill(Stroke({{cx - 5, cy - 5}, {cx + 5, cy + 5}}, 1.6), ink);
        c.Fill(Stroke({{cx + 5, cy - 5}, {cx - 5, cy + 5}}, 1.6), ink);
        break;
    case TGlyph::Maximize:
        c.Fill(Minus(Rect(cx - 5.5, cy - 5.5, cx + 5.5, cy + 5.5), Rect(cx - 4, cy - 3.5, cx + 4, cy + 4)), ink);
        break;
    case TGlyph::Restore: {
        // The back window shows only where the front one (with a gap) leaves room.
        const auto back = Minus(Rect(cx - 3, cy - 6, cx + 6, cy + 3), Rect(cx - 1.6, cy - 4.6, cx + 4.6, cy + 1.6));
        c.Fill(Minus(back, Rect(cx - 7, cy - 3.5, cx + 3.5, cy + 7)), ink);
        c.Fill(Minus(Rect(cx - 6, cy - 2.5, cx + 2.5, cy + 6), Rect(cx - 4.6, cy - 1.1, cx + 1.1, cy + 4.6)), ink);
        break;
    }
    case TGlyph::Minimize:
        c.Fill(Rect(cx - 5.5, cy + 3, cx + 5.5, cy + 4.6), ink);
        break;
    }
}

} // namespace

TSkinBitmap TopBorder(const TLook& look)
{
    // Frames stacked: 1 active, 2 inactive. Its ends hold the rest of the rounded corners.
    const int w = 60;
    const int h = look.CaptionHeight;
    return Strip(2, w, h, look.Colours.Caption, [&](TSkinCanvas& c, int f, int, int) {
        TSkinCanvas band(w, h, look.Colours.Caption);
        PaintCaptionBand(look, band, f, w, look.BorderWidth, w + 2 * look.BorderWidth);
        CopyBand(c, band, w, h);
    }, true);
}

TSkinBitmap SideBorder(const TLook& look, bool left)
{
    // Frames side by side: 1 active, 2 inactive; caption part on top, frame below.
    const int bw = look.BorderWidth;
    const int caption = look.CaptionHeight;
    const int h = caption + 10 + bw;
    return Strip(2, bw, h, look.Colours.Caption, [&](TSkinCanvas& c, int f, int w, int hh) {
        TSkinCanvas band(bw, caption, look.Colours.Caption);
        const int windowWidth = 200;
        PaintCaptionBand(look, band, f, bw, left ? 0 : windowWidth - bw, windowWidth);
        CopyBand(c, band, w, caption);
        const TRgb base = FrameColour(look, f);
        c.FillRect(0, caption, w, hh, base);
        c.FillRect(left ? 0 : w - 1, caption, left ? 1 : w, hh, Mix(base, look.Colours.Text, 0.35));
        c.FillRect(left ? w - 1 : 0, caption, left ? w : 1, hh, Mix(base, White, 0.15));
    });
}

TSkinBitmap BottomBorder(const TLook& look)
{
    return Strip(2, 20, look.BorderWidth, look.Colours.Caption, [&look](TSkinCanvas& c, int f, int w, int h) {
        const TRgb base = FrameColour(look, f);
        c.FillRect(0, 0, w, h, base);
        c.FillRect(0, 0, w, 1, Mix(base, White, 0.15));
        c.FillRect(0, h - 1, w, h, Mix(base, look.Colours.Text, 0.35));
    }, true);
}

TSkinBitmap TitleTextBack(const TLook& look)
{
    // A short accent tick before the title; the rest is transparent.
    const TLookColours& k = look.Colours;
    return Strip(2, 16, look.CaptionHeight, Magenta, [&k](TSkinCanvas& c, int f, int, int h) {
        c.Fill(RoundRect(2, h / 2.0 - 7, 5, h / 2.0 + 7, 1.5), f == 1 ? k.TitleTick : k.TitleTickInactive);
    }, true);
}

// Frames: normal, pressed, hot, then (six-frame looks) inactive and two spare copies of normal.
TSkinBitmap CaptionButton(const TLook& look, TGlyph glyph)
{
    const TLookColours& k = look.Colours;
    return Strip(look.CaptionButtonFrames, look.CaptionButtonWidth, look.CaptionButtonHeight, k.Caption,
                 [&look, &k, glyph](TSkinCanvas& c, int f, int w, int h) {
        const bool inactive = f == 4;
        const TRgb under = inactive ? k.CaptionInactive : k.Caption;
        c.FillRect(0, 0, w, h, under);
        const auto body = RoundRect(0, 0, w, h, look.CaptionButtonRadius);
        if (f == 2)
            c.Fill(body, Mix(under, TRgb::Hex(0x000000), 0.25));
        else if (f == 3)
            c.Fill(body, Mix(under, White, 0.20));
        const TRgb ink = inactive ? k.CaptionInkInactive : White;
        PaintCaptionGlyph(c, glyph, w / 2.0, h / 2.0, ink);
        c.CutOutside(body, 0, 0, w, h);
    });
}

// Caption buttons of a maximized MDI child in the menu bar: minimize,
// restore and close, four frames each.
TSkinBitmap MdiControls(const TLook& look)
{
    const TLookColours& k = look.Colours;
    const TGlyph glyphs[] = {TGlyph::Minimize, TGlyph::Restore, TGlyph::Close};
    TSkinCanvas c(3 * 4 * 16, 14, k.Face);
    for (int g = 0; g < 3; ++g)
        for (int f = 0; f < 4; ++f) {
            c.SetFrame((g * 4 + f) * 16, 0, 16, 14);
            if (f == 1 || f == 3)
                c.Fill(RoundRect(0, 0, 16, 14, 2), f == 1 ? k.PressedTop : k.AccentLight);
            const double s = 0.7;
            const double cx = 8, cy = 7;
            switch (glyphs[g]) {
            case TGlyph::Minimize: c.Fill(Rect(cx - 4, cy + 2, cx + 4, cy + 3.4), k.Text); break;
            case TGlyph::Restore: c.Fill(Minus(Rect(cx - 4, cy - 4, cx + 4, cy + 4), Rect(cx - 3, cy - 2.6, cx + 3, cy + 3)), k.Text); break;
            default:
                c.Fill(Stroke({{cx - 5 * s, cy - 5 * s}, {cx + 5 * s, cy + 5 * s}}, 1.4), k.Text);
                c.Fill(Stroke({{cx + 5 * s, cy - 5 * s}, {cx - 5 * s, cy + 5 * s}}, 1.4), k.Text);
            }
        }
    return c.Bitmap();
}

} // namespace orbelin::skingen
