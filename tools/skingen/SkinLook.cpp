#include "tools/skingen/SkinLook.h"

#include "tools/skingen/SkinCanvas.h"

#include <functional>

namespace orbelin::skingen {

namespace {

// One calm accent on a light face, with a deep caption.
const TRgb Caption = TRgb::Hex(0x1F4470);
const TRgb CaptionInactive = TRgb::Hex(0x7C8CA1);
const TRgb Accent = TRgb::Hex(0x2F80D1);
const TRgb AccentLight = TRgb::Hex(0xDCEBFA);
const TRgb Face = TRgb::Hex(0xF2F4F7);
const TRgb White = TRgb::Hex(0xFFFFFF);
const TRgb Text = TRgb::Hex(0x1E2733);
const TRgb Line = TRgb::Hex(0xB4BFCC);
const TRgb LineSoft = TRgb::Hex(0xD5DCE4);
const TRgb Muted = TRgb::Hex(0x65758A);
const TRgb Track = TRgb::Hex(0xE8ECF1);
const TRgb Thumb = TRgb::Hex(0xB7C2D0);

constexpr int CaptionHeight = 30;
constexpr int BorderWidth = 4;
constexpr int CornerRadius = 7;
constexpr int CaptionButtonWidth = 28;
constexpr int CaptionButtonHeight = 20;

using TFramePainter = std::function<void(TSkinCanvas&, int frame, int w, int h)>;

// A strip of equal frames side by side (or stacked), each painted in its own coordinates.
TSkinBitmap Strip(int frames, int w, int h, TRgb background, const TFramePainter& paint, bool vertical = false)
{
    TSkinCanvas c(vertical ? w : w * frames, vertical ? h * frames : h, background);
    for (int f = 0; f < frames; ++f) {
        c.SetFrame(vertical ? 0 : f * w, vertical ? f * h : 0, w, h);
        paint(c, f + 1, w, h);
    }
    return c.Bitmap();
}

TRgb Frame(int frame) { return frame == 1 ? Caption : CaptionInactive; }

// ---- window frame -----------------------------------------------------------

// The caption band: deep colour, a faint highlight line, top corners cut round.
void PaintCaptionBand(TSkinCanvas& c, int frame, int w, int xInWindow, int windowWidth)
{
    const TRgb base = Frame(frame);
    c.VerticalGradient(0, 0, w, CaptionHeight, Mix(base, White, 0.10), base);
    c.FillRect(0, 0, w, 1, Mix(base, White, 0.28));
    // Cut the corners as one window-wide shape, so both borders agree.
    const auto shape = RoundRect(-xInWindow, 0, windowWidth - xInWindow, CaptionHeight * 4, CornerRadius);
    c.CutOutside(shape, 0, 0, w, CornerRadius + 1);
}

TSkinBitmap TopBorder()
{
    // Frames stacked: 1 active, 2 inactive. Its ends hold the rest of the rounded corners.
    const int w = 60;
    return Strip(2, w, CaptionHeight, Caption, [&](TSkinCanvas& c, int f, int, int) {
        TSkinCanvas band(w, CaptionHeight, Caption);
        PaintCaptionBand(band, f, w, BorderWidth, w + 2 * BorderWidth);
        for (int y = 0; y < CaptionHeight; ++y)
            for (int x = 0; x < w; ++x) {
                const TSkinPixel p = band.Bitmap().Pixel(x, y);
                c.Pixel(x, y, {int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)});
            }
    }, true);
}

TSkinBitmap SideBorder(bool left)
{
    // Frames side by side: 1 active, 2 inactive; caption part on top, frame below.
    const int h = CaptionHeight + 10 + BorderWidth;
    return Strip(2, BorderWidth, h, Caption, [&](TSkinCanvas& c, int f, int w, int hh) {
        TSkinCanvas band(BorderWidth, CaptionHeight, Caption);
        const int windowWidth = 200;
        PaintCaptionBand(band, f, BorderWidth, left ? 0 : windowWidth - BorderWidth, windowWidth);
        for (int y = 0; y < CaptionHeight; ++y)
            for (int x = 0; x < w; ++x) {
                const TSkinPixel p = band.Bitmap().Pixel(x, y);
                c.Pixel(x, y, {int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)});
            }
        const TRgb base = Frame(f);
        c.FillRect(0, CaptionHeight, w, hh, base);
        c.FillRect(left ? 0 : w - 1, CaptionHeight, left ? 1 : w, hh, Mix(base, Text, 0.35));
        c.FillRect(left ? w - 1 : 0, CaptionHeight, left ? w : 1, hh, Mix(base, White, 0.15));
    });
}

TSkinBitmap BottomBorder()
{
    return Strip(2, 20, BorderWidth, Caption, [](TSkinCanvas& c, int f, int w, int h) {
        const TRgb base = Frame(f);
        c.FillRect(0, 0, w, h, base);
        c.FillRect(0, 0, w, 1, Mix(base, White, 0.15));
        c.FillRect(0, h - 1, w, h, Mix(base, Text, 0.35));
    }, true);
}

TSkinBitmap TitleTextBack()
{
    // A short accent tick before the title; the rest is transparent.
    return Strip(2, 16, CaptionHeight, {255, 0, 255}, [](TSkinCanvas& c, int f, int, int h) {
        c.Fill(RoundRect(2, h / 2.0 - 7, 5, h / 2.0 + 7, 1.5), f == 1 ? TRgb::Hex(0x6FB1F0) : TRgb::Hex(0xB9C4D2));
    }, true);
}

enum class TGlyph { Close, Maximize, Restore, Minimize };

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

// Six frames: normal, pressed, hot, inactive, and two spare copies of normal.
TSkinBitmap CaptionButton(TGlyph glyph)
{
    return Strip(6, CaptionButtonWidth, CaptionButtonHeight, Caption, [glyph](TSkinCanvas& c, int f, int w, int h) {
        const bool inactive = f == 4;
        const TRgb under = inactive ? CaptionInactive : Caption;
        c.FillRect(0, 0, w, h, under);
        const auto body = RoundRect(0, 0, w, h, 4);
        if (f == 2)
            c.Fill(body, Mix(under, TRgb::Hex(0x000000), 0.25));
        else if (f == 3)
            c.Fill(body, Mix(under, White, 0.20));
        const TRgb ink = inactive ? TRgb::Hex(0xDDE3EA) : White;
        PaintCaptionGlyph(c, glyph, w / 2.0, h / 2.0, ink);
        c.CutOutside(body, 0, 0, w, h);
    });
}

// ---- controls ---------------------------------------------------------------

// Push button: normal, pressed, disabled, hot or focused, spare.
TSkinBitmap PushButton()
{
    return Strip(5, 24, 24, Face, [](TSkinCanvas& c, int f, int w, int h) {
        struct Look { TRgb top, bottom, border; };
        const Look looks[] = {{White, TRgb::Hex(0xEDF1F5), Line},
                              {TRgb::Hex(0xD9E3EE), TRgb::Hex(0xE4EBF3), TRgb::Hex(0x8FA2B8)},
                              {TRgb::Hex(0xF6F7F9), TRgb::Hex(0xF1F3F6), LineSoft},
                              {White, AccentLight, Accent},
                              {White, TRgb::Hex(0xEDF1F5), Line}};
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
TSkinBitmap CheckGlyphs()
{
    return Strip(4, 13, 13, Face, [](TSkinCanvas& c, int f, int w, int h) {
        const bool checked = f == 2 || f == 4;
        const bool disabled = f >= 3;
        const auto box = RoundRect(0.5, 0.5, w - 0.5, h - 0.5, 2.5);
        const TRgb fill = checked ? (disabled ? Thumb : Accent) : (disabled ? Face : White);
        c.Fill(box, checked ? fill : (disabled ? LineSoft : TRgb::Hex(0x8D9AAB)));
        c.Fill(RoundRect(1.5, 1.5, w - 1.5, h - 1.5, 1.5), fill);
        if (checked)
            c.Fill(Stroke({{3.2, 6.6}, {5.4, 9.0}, {9.8, 3.8}}, 1.7), White);
        c.CutOutside(box, 0, 0, w, h);
    });
}

TSkinBitmap RadioGlyphs()
{
    return Strip(4, 13, 13, Face, [](TSkinCanvas& c, int f, int, int) {
        const bool checked = f == 2 || f == 4;
        const bool disabled = f >= 3;
        const TRgb ring = checked ? (disabled ? Thumb : Accent) : (disabled ? LineSoft : TRgb::Hex(0x8D9AAB));
        c.Fill(Circle(6.5, 6.5, 6.2), ring);
        c.Fill(Circle(6.5, 6.5, 5.0), disabled ? Face : White);
        if (checked)
            c.Fill(Circle(6.5, 6.5, 2.9), ring);
        c.CutOutside(Circle(6.5, 6.5, 6.2), 0, 0, 13, 13);
    });
}

enum class TArrow { Left, Right, Up, Down };

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

void Chevron(TSkinCanvas& c, TArrow a, double cx, double cy, double s, TRgb ink) { c.Fill(ChevronShape(a, cx, cy, s), ink); }

// Scroll bar parts: per arrow normal, pressed, hot, disabled (left, right,
// up, down), then seven plain track squares.
TSkinBitmap ScrollbarStrip()
{
    return Strip(23, 17, 17, Track, [](TSkinCanvas& c, int f, int w, int h) {
        c.FillRect(0, 0, w, h, Track);
        if (f > 16)
            return;
        const TArrow arrow = static_cast<TArrow>((f - 1) / 4);
        const int state = (f - 1) % 4; // 0 normal, 1 pressed, 2 hot, 3 disabled
        if (state == 1)
            c.Fill(RoundRect(1, 1, w - 1, h - 1, 3), TRgb::Hex(0xCCD8E6));
        if (state == 2)
            c.Fill(RoundRect(1, 1, w - 1, h - 1, 3), TRgb::Hex(0xDCE3EC));
        const TRgb ink = state == 3 ? LineSoft : state == 1 ? Accent : Muted;
        Chevron(c, arrow, w / 2.0, h / 2.0, 3.2, ink);
    });
}

TSkinBitmap ScrollTrack(bool horizontal)
{
    return Strip(4, 17, 17, Track, [horizontal](TSkinCanvas& c, int f, int w, int h) {
        c.FillRect(0, 0, w, h, f == 2 ? TRgb::Hex(0xDFE5EC) : Track);
        if (horizontal)
            c.FillRect(0, 0, w, 1, TRgb::Hex(0xDDE2E8));
        else
            c.FillRect(0, 0, 1, h, TRgb::Hex(0xDDE2E8));
    });
}

// Thumbs: normal, pressed, hot.
TSkinBitmap ScrollThumb(bool horizontal)
{
    return Strip(3, 17, 17, Track, [horizontal](TSkinCanvas& c, int f, int w, int h) {
        const TRgb colour = f == 2 ? Accent : f == 3 ? TRgb::Hex(0x9AA8BA) : Thumb;
        const auto pill = horizontal ? RoundRect(1, 4, w - 1, h - 4, 4) : RoundRect(4, 1, w - 4, h - 1, 4);
        c.Fill(pill, colour);
        c.CutOutside(pill, 0, 0, w, h);
    });
}

// Combo drop button: enabled, pressed, disabled, focused or hot.
TSkinBitmap ComboButtonStrip()
{
    return Strip(4, 18, 20, White, [](TSkinCanvas& c, int f, int w, int h) {
        const TRgb back = f == 2 ? AccentLight : f == 3 ? Face : White;
        c.FillRect(0, 0, w, h, back);
        c.FillRect(0, 4, 1, h - 4, f == 4 ? Accent : LineSoft);
        Chevron(c, TArrow::Down, w / 2.0 + 0.5, h / 2.0, 3.5, f == 3 ? Line : f == 1 ? Muted : Accent);
    });
}

// Edit frame of combos: enabled, pressed, disabled, focused.
TSkinBitmap SunkEdgeStrip()
{
    return Strip(4, 20, 20, Face, [](TSkinCanvas& c, int f, int w, int h) {
        const TRgb border = f == 3 ? LineSoft : f == 1 ? Line : Accent;
        const auto outer = RoundRect(0, 0, w, h, 3);
        c.Fill(outer, border);
        c.Fill(RoundRect(1, 1, w - 1, h - 1, 2), f == 3 ? Face : White);
        c.CutOutside(outer, 0, 0, w, h);
    });
}

// Nothing over the combo glyph; frame 5 is the status bar's size grip.
TSkinBitmap ExtraImagesStrip()
{
    return Strip(5, 12, 12, {255, 0, 255}, [](TSkinCanvas& c, int f, int, int) {
        if (f != 5)
            return;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j <= i; ++j)
                c.Fill(Rect(9 - 3 * j, 3 + 3 * i, 11 - 3 * j, 5 + 3 * i), Thumb);
    });
}

// Menu items: normal, separator line (bottom rows), disabled, selected, spare.
TSkinBitmap MenuItemStrip()
{
    return Strip(5, 24, 22, {255, 0, 255}, [](TSkinCanvas& c, int f, int w, int h) {
        if (f == 2)
            c.FillRect(4, h - 4, w - 4, h - 3, LineSoft);
        if (f == 4) {
            c.FillRect(0, 0, w, h, White);
            const auto sel = RoundRect(2, 1, w - 2, h - 1, 3);
            c.Fill(sel, Accent);
            c.CutOutside(sel, 0, 0, w, h);
        }
    });
}

TSkinBitmap MenuBackgroundImage()
{
    TSkinCanvas c(24, 24, White);
    c.FillRect(0, 0, 24, 24, Line);
    c.FillRect(1, 1, 23, 23, White);
    return c.Bitmap();
}

TSkinBitmap MenuBarImage()
{
    return Strip(2, 20, 20, Face, [](TSkinCanvas& c, int f, int w, int h) {
        c.FillRect(0, 0, w, h, f == 1 ? Face : TRgb::Hex(0xF6F7F9));
        c.FillRect(0, h - 1, w, h, LineSoft);
    }, true);
}

// Generic states for the elements our windows do not show: normal, pressed,
// disabled, hot, spare.
TSkinBitmap PanelStates(int frames, int w, int h, double radius)
{
    return Strip(frames, w, h, Face, [radius](TSkinCanvas& c, int f, int fw, int fh) {
        const TRgb border = f == 4 ? Accent : f == 3 ? LineSoft : Line;
        const TRgb fill = f == 2 ? TRgb::Hex(0xE3EAF2) : f == 4 ? AccentLight : White;
        const auto outer = RoundRect(0, 0, fw, fh, radius);
        c.Fill(outer, border);
        c.Fill(RoundRect(1, 1, fw - 1, fh - 1, radius > 1 ? radius - 1 : 0), fill);
        c.CutOutside(outer, 0, 0, fw, fh);
    });
}

TSkinBitmap ProgressBack()
{
    return Strip(2, 20, 14, Face, [](TSkinCanvas& c, int, int w, int h) {
        const auto outer = RoundRect(0, 0, w, h, 3);
        c.Fill(outer, Line);
        c.Fill(RoundRect(1, 1, w - 1, h - 1, 2), Track);
        c.CutOutside(outer, 0, 0, w, h);
    });
}

TSkinBitmap ProgressChunk()
{
    TSkinCanvas c(8, 10, Accent);
    c.VerticalGradient(0, 0, 8, 10, Mix(Accent, White, 0.25), Accent);
    return c.Bitmap();
}

TSkinBitmap TrackThumb(TArrow pointing)
{
    return Strip(5, 12, 20, Face, [pointing](TSkinCanvas& c, int f, int w, int h) {
        const TRgb fill = f == 2 ? Accent : f == 3 ? LineSoft : f == 4 ? TRgb::Hex(0x5C9BDB) : TRgb::Hex(0x7F8FA4);
        const bool vertical = pointing == TArrow::Left || pointing == TArrow::Right;
        const auto body = vertical ? RoundRect(0, 4, w, h - 4, 3) : RoundRect(1, 0, w - 1, h, 3);
        c.Fill(body, fill);
        c.CutOutside(body, 0, 0, w, h);
    });
}

TSkinBitmap UpDownStrip()
{
    return PanelStates(8, 14, 12, 2);
}

TSkinBitmap UpDownGlyphs(bool horizontal)
{
    // Drawn on the face the buttons have, then cut out: the glyph's soft
    // edges blend with that colour, not with the transparent magenta.
    return Strip(8, 14, 12, Face, [horizontal](TSkinCanvas& c, int f, int w, int h) {
        const bool first = f <= 4;
        const TArrow a = horizontal ? (first ? TArrow::Left : TArrow::Right) : (first ? TArrow::Up : TArrow::Down);
        const TShape chevron = ChevronShape(a, w / 2.0, h / 2.0, 2.5);
        c.Fill(chevron, (f - 1) % 4 == 2 ? LineSoft : Muted);
        c.CutOutside(chevron, 0, 0, w, h);
    });
}

// Caption buttons of a maximized MDI child in the menu bar: minimize,
// restore and close, four frames each.
TSkinBitmap MdiControls()
{
    const TGlyph glyphs[] = {TGlyph::Minimize, TGlyph::Restore, TGlyph::Close};
    TSkinCanvas c(3 * 4 * 16, 14, Face);
    for (int g = 0; g < 3; ++g)
        for (int f = 0; f < 4; ++f) {
            c.SetFrame((g * 4 + f) * 16, 0, 16, 14);
            if (f == 1 || f == 3)
                c.Fill(RoundRect(0, 0, 16, 14, 2), f == 1 ? TRgb::Hex(0xD9E3EE) : AccentLight);
            const double s = 0.7;
            const double cx = 8, cy = 7;
            switch (glyphs[g]) {
            case TGlyph::Minimize: c.Fill(Rect(cx - 4, cy + 2, cx + 4, cy + 3.4), Text); break;
            case TGlyph::Restore: c.Fill(Minus(Rect(cx - 4, cy - 4, cx + 4, cy + 4), Rect(cx - 3, cy - 2.6, cx + 3, cy + 3)), Text); break;
            default:
                c.Fill(Stroke({{cx - 5 * s, cy - 5 * s}, {cx + 5 * s, cy + 5 * s}}, 1.4), Text);
                c.Fill(Stroke({{cx + 5 * s, cy - 5 * s}, {cx - 5 * s, cy + 5 * s}}, 1.4), Text);
            }
        }
    return c.Bitmap();
}

TSkinBitmap GroupBoxEdgeImage()
{
    return Strip(2, 16, 16, Face, [](TSkinCanvas& c, int f, int w, int h) {
        const auto outer = RoundRect(0.5, 0.5, w - 0.5, h - 0.5, 4);
        c.Fill(Minus(outer, RoundRect(1.5, 1.5, w - 1.5, h - 1.5, 3)), f == 1 ? Line : LineSoft);
        c.CutOutside(outer, 0, 0, w, h);
    });
}

TSkinBitmap GroupBoxLabel()
{
    TSkinCanvas c(16, 18, Face);
    return c.Bitmap();
}

std::string Description();

} // namespace

std::vector<TSkinFile> BuildSkin()
{
    std::vector<TSkinFile> files = {
        {"top.bmp", TopBorder(), {}},
        {"left.bmp", SideBorder(true), {}},
        {"right.bmp", SideBorder(false), {}},
        {"bottom.bmp", BottomBorder(), {}},
        {"titleback.bmp", TitleTextBack(), {}},
        {"close.bmp", CaptionButton(TGlyph::Close), {}},
        {"maximize.bmp", CaptionButton(TGlyph::Maximize), {}},
        {"restore.bmp", CaptionButton(TGlyph::Restore), {}},
        {"minimize.bmp", CaptionButton(TGlyph::Minimize), {}},
        {"button.bmp", PushButton(), {}},
        {"check.bmp", CheckGlyphs(), {}},
        {"radio.bmp", RadioGlyphs(), {}},
        {"scrollbar.bmp", ScrollbarStrip(), {}},
        {"hscroll.bmp", ScrollTrack(true), {}},
        {"vscroll.bmp", ScrollTrack(false), {}},
        {"hthumb.bmp", ScrollThumb(true), {}},
        {"vthumb.bmp", ScrollThumb(false), {}},
        {"combobutton.bmp", ComboButtonStrip(), {}},
        {"sunkedge.bmp", SunkEdgeStrip(), {}},
        {"extra.bmp", ExtraImagesStrip(), {}},
        {"menuitem.bmp", MenuItemStrip(), {}},
        {"menuback.bmp", MenuBackgroundImage(), {}},
        {"menubar.bmp", MenuBarImage(), {}},
        {"groupedge.bmp", GroupBoxEdgeImage(), {}},
        {"grouplabel.bmp", GroupBoxLabel(), {}},
        {"toolbar.bmp", PanelStates(5, 16, 16, 3), {}},
        {"tabs.bmp", PanelStates(5, 20, 20, 3), {}},
        {"tabborder.bmp", PanelStates(1, 20, 20, 2), {}},
        {"statusbar.bmp", PanelStates(3, 16, 16, 0), {}},
        {"header.bmp", PanelStates(5, 16, 18, 0), {}},
        {"progress.bmp", ProgressBack(), {}},
        {"progresschunk.bmp", ProgressChunk(), {}},
        {"trackhorz.bmp", TrackThumb(TArrow::Up), {}},
        {"trackvert.bmp", TrackThumb(TArrow::Left), {}},
        {"updown.bmp", UpDownStrip(), {}},
        {"updownhglyph.bmp", UpDownGlyphs(true), {}},
        {"updownvglyph.bmp", UpDownGlyphs(false), {}},
        {"mdicontrols.bmp", MdiControls(), {}},
    };
    files.push_back({"orbelin.ini", {}, Description()});
    return files;
}

namespace {

std::string Description()
{
    const int closeX = BorderWidth + CaptionButtonWidth + 4;
    const int maxX = closeX + CaptionButtonWidth;
    const int minX = maxX + CaptionButtonWidth;
    const int buttonY = (CaptionHeight - CaptionButtonHeight) / 2;
    const std::string n = "\r\n";
    std::string d;
    d += "; Orbelin skin: light face, deep caption, one accent." + n;
    d += "[TitlebarSkin]" + n + "SkinName=Orbelin Calm" + n + n;
    d += "[Personality]" + n;
    d += "Top=top.bmp" + n + "TopFrame=2" + n + "TopTopHeight=8" + n + "TopBotHeight=8" + n + "TopStretch=1" + n + "TopTrans=1" + n;
    d += "Left=left.bmp" + n + "LeftFrame=2" + n + "LeftTopHeight=" + std::to_string(CaptionHeight) + n + "LeftBotHeight=4" + n +
         "LeftStretch=1" + n + "LeftTrans=1" + n;
    d += "Right=right.bmp" + n + "RightFrame=2" + n + "RightTopHeight=" + std::to_string(CaptionHeight) + n + "RightBotHeight=4" + n +
         "RightStretch=1" + n + "RightTrans=1" + n;
    d += "Bottom=bottom.bmp" + n + "BottomFrame=2" + n + "BottomTopHeight=0" + n + "BottomBotHeight=0" + n + "BottomStretch=1" + n +
         "BottomTrans=0" + n;
    d += "TextBack=titleback.bmp" + n + "TXTBackleft=10" + n + "TXTBackRight=2" + n + "TextShift=28" + n + "TextShiftVert=0" + n +
         "TextRightClip=" + std::to_string(minX + 8) + n + "TextAlignment=0" + n;
    d += "ActiveTextR=255" + n + "ActiveTextG=255" + n + "ActiveTextB=255" + n;
    d += "InActiveTextR=232" + n + "InActiveTextG=236" + n + "InActiveTextB=241" + n;
    d += "menuBar=menubar.bmp" + n + "TileMenu=0" + n + "TileLeftMenu=2" + n + "TileRightMenu=2" + n + n;

    d += "[Colours]" + n;
    d += "WindowText=30 39 51" + n + "ButtonFace=242 244 247" + n + "Scrollbar=232 236 241" + n;
    d += "HilightText=255 255 255" + n + "Hilight=47 128 209" + n + "Menubar=242 244 247" + n;
    d += "Menu=255 255 255" + n + "MenuText=30 39 51" + n + "ButtonText=30 39 51" + n;
    d += "ButtonHilight=255 255 255" + n + "Buttonlight=232 236 241" + n + "ButtonShadow=150 163 180" + n;
    d += "ButtonDkShadow=101 117 138" + n + "MenuBarText=30 39 51" + n;
    d += "TitleTextActive=255 255 255" + n + "TitleTextNoActive=232 236 241" + n + n;

    // Caption buttons, right to left: close, maximize or restore, minimize; the icon on the left.
    auto button = [&](const char* section, int action, int align, int x, int y, int vis, int vis1, const char* image) {
        d += std::string("[") + section + "]" + n + "Action=" + std::to_string(action) + n + "Align=" + std::to_string(align) + n +
             "Xcoord=" + std::to_string(x) + n + "Ycoord=" + std::to_string(y) + n + "Visibility=" + std::to_string(vis) + n +
             "Visibility1=" + std::to_string(vis1) + n;
        if (image)
            d += std::string("ButtonImage=") + image + n;
        d += n;
    };
    button("Button0", 0, 1, closeX, buttonY, 0, 0, "close.bmp");
    button("Button1", 1, 1, maxX, buttonY, 6, 2, "maximize.bmp");
    button("Button2", 1, 1, maxX, buttonY, 6, 1, "restore.bmp");
    button("Button3", 2, 1, minX, buttonY, 8, 0, "minimize.bmp");
    button("Button4", 3, 0, 8, (CaptionHeight - 16) / 2, 0, 0, nullptr);

    d += "[Buttons]" + n + "Bitmap=button.bmp" + n + "LeftWidth=4" + n + "RightWidth=4" + n + "TopHeight=4" + n + "BottomHeight=4" + n +
         "Trans=1" + n + "Tile=0" + n + "CheckButton=check.bmp" + n + "RadioButton=radio.bmp" + n + "NormalColour2=30 39 51" + n +
         "MouseOverColour2=23 92 166" + n + "PressedColour2=30 39 51" + n + n;

    auto plain = [&](const char* section, const char* image, int l, int t, int r, int b, int trans, int tile, const std::string& extra = "") {
        d += std::string("[") + section + "]" + n + "Image=" + image + n + "LeftWidth=" + std::to_string(l) + n +
             "TopHeight=" + std::to_string(t) + n + "RightWidth=" + std::to_string(r) + n + "BottomHeight=" + std::to_string(b) + n +
             "Trans=" + std::to_string(trans) + n + "Tile=" + std::to_string(tile) + n + extra + n;
    };
    d += "[Progress]" + n + "Bitmap=progress.bmp" + n + "Chunk=progresschunk.bmp" + n + "LeftWidth=3" + n + "RightWidth=3" + n +
         "TopHeight=3" + n + "BottomHeight=3" + n + "Trans=1" + n + n;
    plain("GroupBoxEdge", "groupedge.bmp", 5, 5, 5, 5, 1, 0);
    plain("GroupBox", "grouplabel.bmp", 0, 0, 0, 0, 0, 0, "BackgroundAlignment=0" + n + "BackgroundLeftShift=6" + n + "BackgroundRightShift=6" + n);
    plain("Toolbars", "toolbar.bmp", 3, 3, 3, 3, 1, 0);
    plain("Tabs", "tabs.bmp", 4, 4, 4, 4, 1, 0, "Border=tabborder.bmp" + n);
    plain("StatusBarEdges", "statusbar.bmp", 1, 1, 1, 1, 0, 0);
    plain("ComboButton", "combobutton.bmp", 0, 0, 0, 0, 1, 0, "Style=0" + n);
    plain("SunkEdge", "sunkedge.bmp", 3, 3, 3, 3, 1, 0);
    plain("ExtraImages", "extra.bmp", 0, 0, 0, 0, 1, 0);
    plain("Headerbar", "header.bmp", 2, 2, 2, 2, 0, 0);
    plain("MenuItem", "menuitem.bmp", 4, 4, 4, 4, 1, 0);
    plain("MenuBackground", "menuback.bmp", 3, 3, 3, 3, 0, 0);
    plain("Scrollbar", "scrollbar.bmp", 0, 0, 0, 0, 1, 0);
    plain("HorzScroll", "hscroll.bmp", 2, 0, 2, 0, 0, 0);
    plain("VertScroll", "vscroll.bmp", 0, 2, 0, 2, 0, 0);
    plain("HorzScrollThumb", "hthumb.bmp", 6, 0, 6, 0, 1, 0, "FrameCount=3" + n);
    plain("VertScrollThumb", "vthumb.bmp", 0, 6, 0, 6, 1, 0, "FrameCount=3" + n);
    for (const char* s : {"Trackbar.ThumbHorz", "Trackbar.ThumbUp", "Trackbar.ThumbDown"})
        plain(s, "trackhorz.bmp", 0, 3, 0, 3, 1, 0);
    for (const char* s : {"Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight"})
        plain(s, "trackvert.bmp", 3, 0, 3, 0, 1, 0);
    plain("UpDown.Horz", "updown.bmp", 2, 2, 2, 2, 1, 0, "GlyphImage=updownhglyph.bmp" + n);
    plain("UpDown.Vert", "updown.bmp", 2, 2, 2, 2, 1, 0, "GlyphImage=updownvglyph.bmp" + n);
    d += "[MDICONTROLS]" + n + "Image=mdicontrols.bmp" + n + n;
    d += "[Fonts]" + n + "FontHeight=14" + n;
    return d;
}

} // namespace

} // namespace orbelin::skingen
