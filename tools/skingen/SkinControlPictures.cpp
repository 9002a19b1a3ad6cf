// The controls' pictures: buttons, glyphs, scroll bars, menus and panels.

#include "tools/skingen/SkinPainters.h"

namespace orbelin::skingen {

// Push button: normal, pressed, disabled, hot or focused, spare.
TSkinBitmap PushButton(const TLookColours& k)
{
    return Strip(5, 24, 24, k.Face, [&k](TSkinCanvas& c, int f, int w, int h) {
        struct Look { TRgb top, bottom, border; };
        const Look looks[] = {{k.Paper, k.ButtonBottom, k.Line},
                              {k.PressedTop, k.PressedBottom, k.PressedBorder},
                              {k.DisabledTop, k.DisabledBottom, k.LineSoft},
                              {k.Paper, k.AccentLight, k.Accent},
                              {k.Paper, k.ButtonBottom, k.Line}};
        const Look& l = looks[f - 1];
        const auto outer = RoundRect(0, 0, w, h, 3.5);
        c.Fill(outer, l.border);
        const auto inner = RoundRect(1, 1, w - 1, h - 1, 2.5);
        for (int y = 0; y < h; ++y)
            c.Fill(Intersect(inner, Rect(-1, y, w + 1, y + 1)), Mix(l.top, l.bottom, double(y) / (h - 1)));
        c.CutOutside(outer, 0, 0, w, h);
    });
}

// Check box: unchecked, checked, unchecked disabled, checked disabled.
TSkinBitmap CheckGlyphs(const TLook& look)
{
    const TLookColours& k = look.Colours;
    const int size = look.GlyphSize;
    const double s = size / 13.0; // the tick is drawn for 13 pixels
    return Strip(4, size, size, k.Face, [&k, s](TSkinCanvas& c, int f, int w, int h) {
        const bool checked = f == 2 || f == 4;
        const bool disabled = f >= 3;
        const auto box = RoundRect(0.5, 0.5, w - 0.5, h - 0.5, 2.5);
        const TRgb fill = checked ? (disabled ? k.Thumb : k.Accent) : (disabled ? k.Face : k.Paper);
        c.Fill(box, checked ? fill : (disabled ? k.LineSoft : k.GlyphBorder));
        c.Fill(RoundRect(1.5, 1.5, w - 1.5, h - 1.5, 1.5), fill);
        if (checked)
            c.Fill(Stroke({{3.2 * s, 6.6 * s}, {5.4 * s, 9.0 * s}, {9.8 * s, 3.8 * s}}, 1.7 * s), White);
        c.CutOutside(box, 0, 0, w, h);
    });
}

TSkinBitmap RadioGlyphs(const TLook& look)
{
    const TLookColours& k = look.Colours;
    const int size = look.GlyphSize;
    const double s = size / 13.0;
    const double m = size / 2.0;
    return Strip(4, size, size, k.Face, [&k, s, m, size](TSkinCanvas& c, int f, int, int) {
        const bool checked = f == 2 || f == 4;
        const bool disabled = f >= 3;
        const TRgb ring = checked ? (disabled ? k.Thumb : k.Accent) : (disabled ? k.LineSoft : k.GlyphBorder);
        c.Fill(Circle(m, m, 6.2 * s), ring);
        c.Fill(Circle(m, m, 5.0 * s), disabled ? k.Face : k.Paper);
        if (checked)
            c.Fill(Circle(m, m, 2.9 * s), ring);
        c.CutOutside(Circle(m, m, 6.2 * s), 0, 0, size, size);
    });
}

TShape ChevronShape(TArrow a, double cx, double cy, double s)
{
    switch (a) {
    case TArrow::Left: return Stroke({{cx + s / 2, cy - s}, {cx - s / 2, cy}, {cx + s / 2, cy + s}}, 1.6);
    case TArrow::Right: return Stroke({{cx - s / 2, cy - s}, {cx + s / 2, cy}, {cx - s / 2, cy + s}}, 1.6);
    case TArrow::Up: return Stroke({{cx - s, cy + s / 2}, {cx, cy - s / 2}, {cx + s, cy + s / 2}}, 1.6);
    case TArrow::Down: break;
    }
    return Stroke({{cx - s, cy - s / 2}, {cx, cy + s / 2}, {cx + s, cy - s / 2}}, 1.6);
}

// Scroll bar parts: per arrow normal, pressed, hot, disabled (left, right,
// up, down), then seven plain track squares.
TSkinBitmap ScrollbarStrip(const TLookColours& k)
{
    return Strip(23, 17, 17, k.Track, [&k](TSkinCanvas& c, int f, int w, int h) {
        c.FillRect(0, 0, w, h, k.Track);
        if (f > 16)
            return;
        const TArrow arrow = static_cast<TArrow>((f - 1) / 4);
        const int state = (f - 1) % 4; // 0 normal, 1 pressed, 2 hot, 3 disabled
        if (state == 1)
            c.Fill(RoundRect(1, 1, w - 1, h - 1, 3), k.ArrowPressed);
        if (state == 2)
            c.Fill(RoundRect(1, 1, w - 1, h - 1, 3), k.ArrowHot);
        const TRgb ink = state == 3 ? k.LineSoft : state == 1 ? k.Accent : k.Muted;
        c.Fill(ChevronShape(arrow, w / 2.0, h / 2.0, 3.2), ink);
    });
}

TSkinBitmap ScrollTrack(const TLookColours& k, bool horizontal)
{
    return Strip(4, 17, 17, k.Track, [&k, horizontal](TSkinCanvas& c, int f, int w, int h) {
        c.FillRect(0, 0, w, h, f == 2 ? k.TrackPressed : k.Track);
        if (horizontal)
            c.FillRect(0, 0, w, 1, k.TrackEdge);
        else
            c.FillRect(0, 0, 1, h, k.TrackEdge);
    });
}

// Thumbs: normal, pressed, and hot when the look has a third frame.
TSkinBitmap ScrollThumb(const TLook& look, bool horizontal)
{
    const TLookColours& k = look.Colours;
    return Strip(look.ThumbFrames, 17, 17, k.Track, [&k, horizontal](TSkinCanvas& c, int f, int w, int h) {
        const TRgb colour = f == 2 ? k.Accent : f == 3 ? k.ThumbHot : k.Thumb;
        const auto pill = horizontal ? RoundRect(1, 4, w - 1, h - 4, 4) : RoundRect(4, 1, w - 4, h - 1, 4);
        c.Fill(pill, colour);
        c.CutOutside(pill, 0, 0, w, h);
    });
}

// Combo drop button: enabled, pressed, disabled, focused or hot.
TSkinBitmap ComboButtonStrip(const TLookColours& k)
{
    return Strip(4, 18, 20, k.Paper, [&k](TSkinCanvas& c, int f, int w, int h) {
        const TRgb back = f == 2 ? k.AccentLight : f == 3 ? k.Face : k.Paper;
        c.FillRect(0, 0, w, h, back);
        c.FillRect(0, 4, 1, h - 4, f == 4 ? k.Accent : k.LineSoft);
        c.Fill(ChevronShape(TArrow::Down, w / 2.0 + 0.5, h / 2.0, 3.5), f == 3 ? k.Line : f == 1 ? k.Muted : k.Accent);
    });
}

// Edit frame of combos: enabled, pressed, disabled, focused.
TSkinBitmap SunkEdgeStrip(const TLookColours& k)
{
    return Strip(4, 20, 20, k.Face, [&k](TSkinCanvas& c, int f, int w, int h) {
        const TRgb border = f == 3 ? k.LineSoft : f == 1 ? k.Line : k.Accent;
        const auto outer = RoundRect(0, 0, w, h, 3);
        c.Fill(outer, border);
        c.Fill(RoundRect(1, 1, w - 1, h - 1, 2), f == 3 ? k.Face : k.Paper);
        c.CutOutside(outer, 0, 0, w, h);
    });
}

// Nothing over the combo glyph; frame 5 is the status bar's size grip.
TSkinBitmap ExtraImagesStrip(const TLookColours& k)
{
    return Strip(5, 12, 12, Magenta, [&k](TSkinCanvas& c, int f, int, int) {
        if (f != 5)
            return;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j <= i; ++j)
                c.Fill(Rect(9 - 3 * j, 3 + 3 * i, 11 - 3 * j, 5 + 3 * i), k.Thumb);
    });
}

// Menu items: normal, separator line (bottom rows), disabled, selected, spare.
TSkinBitmap MenuItemStrip(const TLookColours& k)
{
    return Strip(5, 24, 22, Magenta, [&k](TSkinCanvas& c, int f, int w, int h) {
        if (f == 2)
            c.FillRect(4, h - 4, w - 4, h - 3, k.LineSoft);
        if (f == 4) {
            c.FillRect(0, 0, w, h, k.Paper);
            const auto sel = RoundRect(2, 1, w - 2, h - 1, 3);
            c.Fill(sel, k.Accent);
            c.CutOutside(sel, 0, 0, w, h);
        }
    });
}

TSkinBitmap MenuBackgroundImage(const TLookColours& k)
{
    TSkinCanvas c(24, 24, k.Paper);
    c.FillRect(0, 0, 24, 24, k.Line);
    c.FillRect(1, 1, 23, 23, k.Paper);
    return c.Bitmap();
}

TSkinBitmap MenuBarImage(const TLookColours& k)
{
    return Strip(2, 20, 20, k.Face, [&k](TSkinCanvas& c, int f, int w, int h) {
        c.FillRect(0, 0, w, h, f == 1 ? k.Face : k.MenuBarInactive);
        c.FillRect(0, h - 1, w, h, k.LineSoft);
    }, true);
}

// Generic states for the elements our windows do not show: normal, pressed,
// disabled, hot, spare.
TSkinBitmap PanelStates(const TLookColours& k, int frames, int w, int h, double radius)
{
    return Strip(frames, w, h, k.Face, [&k, radius](TSkinCanvas& c, int f, int fw, int fh) {
        const TRgb border = f == 4 ? k.Accent : f == 3 ? k.LineSoft : k.Line;
        const TRgb fill = f == 2 ? k.PanelPressed : f == 4 ? k.AccentLight : k.Paper;
        const auto outer = RoundRect(0, 0, fw, fh, radius);
        c.Fill(outer, border);
        c.Fill(RoundRect(1, 1, fw - 1, fh - 1, radius > 1 ? radius - 1 : 0), fill);
        c.CutOutside(outer, 0, 0, fw, fh);
    });
}

TSkinBitmap ProgressBack(const TLookColours& k)
{
    return Strip(2, 20, 14, k.Face, [&k](TSkinCanvas& c, int, int w, int h) {
        const auto outer = RoundRect(0, 0, w, h, 3);
        c.Fill(outer, k.Line);
        c.Fill(RoundRect(1, 1, w - 1, h - 1, 2), k.Track);
        c.CutOutside(outer, 0, 0, w, h);
    });
}

TSkinBitmap ProgressChunk(const TLookColours& k)
{
    TSkinCanvas c(8, 10, k.Accent);
    c.VerticalGradient(0, 0, 8, 10, Mix(k.Accent, White, 0.25), k.Accent);
    return c.Bitmap();
}

TSkinBitmap TrackThumb(const TLookColours& k, TArrow pointing)
{
    return Strip(5, 12, 20, k.Face, [&k, pointing](TSkinCanvas& c, int f, int w, int h) {
        const TRgb fill = f == 2 ? k.Accent : f == 3 ? k.LineSoft : f == 4 ? k.TrackThumbHot : k.TrackThumb;
        const bool vertical = pointing == TArrow::Left || pointing == TArrow::Right;
        const auto body = vertical ? RoundRect(0, 4, w, h - 4, 3) : RoundRect(1, 0, w - 1, h, 3);
        c.Fill(body, fill);
        c.CutOutside(body, 0, 0, w, h);
    });
}

TSkinBitmap UpDownGlyphs(const TLookColours& k, bool horizontal)
{
    // Drawn on the face the buttons have, then cut out: the glyph's soft
    // edges blend with that colour, not with the transparent magenta.
    return Strip(8, 14, 12, k.Face, [&k, horizontal](TSkinCanvas& c, int f, int w, int h) {
        const bool first = f <= 4;
        const TArrow a = horizontal ? (first ? TArrow::Left : TArrow::Right) : (first ? TArrow::Up : TArrow::Down);
        const TShape chevron = ChevronShape(a, w / 2.0, h / 2.0, 2.5);
        c.Fill(chevron, (f - 1) % 4 == 2 ? k.LineSoft : k.Muted);
        c.CutOutside(chevron, 0, 0, w, h);
    });
}

TSkinBitmap GroupBoxEdgeImage(const TLookColours& k)
{
    return Strip(2, 16, 16, k.Face, [&k](TSkinCanvas& c, int f, int w, int h) {
        const auto outer = RoundRect(0.5, 0.5, w - 0.5, h - 0.5, 4);
        c.Fill(Minus(outer, RoundRect(1.5, 1.5, w - 1.5, h - 1.5, 3)), f == 1 ? k.Line : k.LineSoft);
        c.CutOutside(outer, 0, 0, w, h);
    });
}

TSkinBitmap GroupBoxLabel(const TLookColours& k)
{
    TSkinCanvas c(16, 18, k.Face);
    return c.Bitmap();
}

} // namespace orbelin::skingen
