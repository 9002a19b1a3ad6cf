#include "tools/skingen/SkinLook.h"

#include "tools/skingen/SkinPainters.h"

namespace orbelin::skingen {

const TLook& CalmLook()
{
    // One calm accent on a light face, with a deep caption.
    static const TLook look = [] {
        TLook l;
        l.SkinName = "Orbelin Calm";
        l.Summary = "light face, deep caption, one accent";
        l.CaptionHeight = 30;
        l.BorderWidth = 4;
        l.CornerRadius = 7;
        l.CornerEnds = 8;
        l.CaptionButtonWidth = 28;
        l.CaptionButtonHeight = 20;
        l.CaptionButtonRadius = 4;
        l.CaptionButtonFrames = 6;
        l.CaptionButtonsRight = 4;
        l.CaptionButtonGap = 0;
        l.IconLeft = 8;
        l.TextShift = 28;
        l.TextShiftVert = 0;
        l.FontHeight = 14;
        l.GlyphSize = 13;
        l.ThumbFrames = 3;
        TLookColours& k = l.Colours;
        k.Caption = TRgb::Hex(0x1F4470);
        k.CaptionInactive = TRgb::Hex(0x7C8CA1);
        k.CaptionInkInactive = TRgb::Hex(0xDDE3EA);
        k.TitleTick = TRgb::Hex(0x6FB1F0);
        k.TitleTickInactive = TRgb::Hex(0xB9C4D2);
        k.Accent = TRgb::Hex(0x2F80D1);
        k.AccentLight = TRgb::Hex(0xDCEBFA);
        k.Face = TRgb::Hex(0xF2F4F7);
        k.Paper = TRgb::Hex(0xFFFFFF);
        k.Text = TRgb::Hex(0x1E2733);
        k.Line = TRgb::Hex(0xB4BFCC);
        k.LineSoft = TRgb::Hex(0xD5DCE4);
        k.Muted = TRgb::Hex(0x65758A);
        k.Track = TRgb::Hex(0xE8ECF1);
        k.Thumb = TRgb::Hex(0xB7C2D0);
        k.ThumbHot = TRgb::Hex(0x9AA8BA);
        k.TrackPressed = TRgb::Hex(0xDFE5EC);
        k.TrackEdge = TRgb::Hex(0xDDE2E8);
        k.ArrowPressed = TRgb::Hex(0xCCD8E6);
        k.ArrowHot = TRgb::Hex(0xDCE3EC);
        k.ButtonBottom = TRgb::Hex(0xEDF1F5);
        k.PressedTop = TRgb::Hex(0xD9E3EE);
        k.PressedBottom = TRgb::Hex(0xE4EBF3);
        k.PressedBorder = TRgb::Hex(0x8FA2B8);
        k.DisabledTop = TRgb::Hex(0xF6F7F9);
        k.DisabledBottom = TRgb::Hex(0xF1F3F6);
        k.GlyphBorder = TRgb::Hex(0x8D9AAB);
        k.PanelPressed = TRgb::Hex(0xE3EAF2);
        k.MenuBarInactive = TRgb::Hex(0xF6F7F9);
        k.TrackThumb = TRgb::Hex(0x7F8FA4);
        k.TrackThumbHot = TRgb::Hex(0x5C9BDB);
        k.ButtonShadow = TRgb::Hex(0x96A3B4);
        k.ButtonHotText = TRgb::Hex(0x175CA6);
        k.TitleText = TRgb::Hex(0xFFFFFF);
        k.TitleTextInactive = TRgb::Hex(0xE8ECF1);
        return l;
    }();
    return look;
}

const TLook& BroadLook()
{
    // Wide frame, tall dark green caption with round buttons, warm face.
    static const TLook look = [] {
        TLook l;
        l.SkinName = "Orbelin Broad";
        l.Summary = "warm face, broad dark green frame, round caption buttons";
        l.CaptionHeight = 40;
        l.BorderWidth = 8;
        l.CornerRadius = 11;
        l.CornerEnds = 14;
        l.CaptionButtonWidth = 24;
        l.CaptionButtonHeight = 24;
        l.CaptionButtonRadius = 12;
        l.CaptionButtonFrames = 3;
        l.CaptionButtonsRight = 10;
        l.CaptionButtonGap = 6;
        l.IconLeft = 14;
        l.TextShift = 44;
        l.TextShiftVert = 6;
        l.FontHeight = 17;
        l.GlyphSize = 16;
        l.ThumbFrames = 2;
        TLookColours& k = l.Colours;
        k.Caption = TRgb::Hex(0x2F7035);
        k.CaptionInactive = TRgb::Hex(0x9A9684);
        k.CaptionInkInactive = TRgb::Hex(0xEEEBE0);
        k.TitleTick = TRgb::Hex(0xF2B33D);
        k.TitleTickInactive = TRgb::Hex(0xD8D3C2);
        k.Accent = TRgb::Hex(0xC0661F);
        k.AccentLight = TRgb::Hex(0xF8E4CC);
        k.Face = TRgb::Hex(0xEDE6D6);
        k.Paper = TRgb::Hex(0xFFFBF2);
        k.Text = TRgb::Hex(0x2E2A22);
        k.Line = TRgb::Hex(0xB8AC92);
        k.LineSoft = TRgb::Hex(0xD9CFB9);
        k.Muted = TRgb::Hex(0x766B55);
        k.Track = TRgb::Hex(0xE4DCC9);
        k.Thumb = TRgb::Hex(0xB5A788);
        k.ThumbHot = TRgb::Hex(0x9C8E70);
        k.TrackPressed = TRgb::Hex(0xD8CEB8);
        k.TrackEdge = TRgb::Hex(0xD5CBB4);
        k.ArrowPressed = TRgb::Hex(0xE8CFAF);
        k.ArrowHot = TRgb::Hex(0xECE2CC);
        k.ButtonBottom = TRgb::Hex(0xEFE7D5);
        k.PressedTop = TRgb::Hex(0xE3D5BA);
        k.PressedBottom = TRgb::Hex(0xEBE0C9);
        k.PressedBorder = TRgb::Hex(0x9A8864);
        k.DisabledTop = TRgb::Hex(0xF3EEE3);
        k.DisabledBottom = TRgb::Hex(0xEEE8DB);
        k.GlyphBorder = TRgb::Hex(0x8F8268);
        k.PanelPressed = TRgb::Hex(0xE6DBC4);
        k.MenuBarInactive = TRgb::Hex(0xF3EEE3);
        k.TrackThumb = TRgb::Hex(0x5F7A66);
        k.TrackThumbHot = TRgb::Hex(0xD98A45);
        k.ButtonShadow = TRgb::Hex(0xA39677);
        k.ButtonHotText = TRgb::Hex(0x9A4A10);
        k.TitleText = TRgb::Hex(0xFFF3D6);
        k.TitleTextInactive = TRgb::Hex(0xF4F1E8);
        return l;
    }();
    return look;
}

const TLook* LookNamed(std::string_view name)
{
    if (name == "calm")
        return &CalmLook();
    if (name == "broad")
        return &BroadLook();
    return nullptr;
}

std::vector<TSkinFile> BuildSkin(const TLook& look)
{
    const TLookColours& k = look.Colours;
    std::vector<TSkinFile> files = {
        {"top.bmp", TopBorder(look), {}},
        {"left.bmp", SideBorder(look, true), {}},
        {"right.bmp", SideBorder(look, false), {}},
        {"bottom.bmp", BottomBorder(look), {}},
        {"titleback.bmp", TitleTextBack(look), {}},
        {"close.bmp", CaptionButton(look, TGlyph::Close), {}},
        {"maximize.bmp", CaptionButton(look, TGlyph::Maximize), {}},
        {"restore.bmp", CaptionButton(look, TGlyph::Restore), {}},
        {"minimize.bmp", CaptionButton(look, TGlyph::Minimize), {}},
        {"button.bmp", PushButton(k), {}},
        {"check.bmp", CheckGlyphs(look), {}},
        {"radio.bmp", RadioGlyphs(look), {}},
        {"scrollbar.bmp", ScrollbarStrip(k), {}},
        {"hscroll.bmp", ScrollTrack(k, true), {}},
        {"vscroll.bmp", ScrollTrack(k, false), {}},
        {"hthumb.bmp", ScrollThumb(look, true), {}},
        {"vthumb.bmp", ScrollThumb(look, false), {}},
        {"combobutton.bmp", ComboButtonStrip(k), {}},
        {"sunkedge.bmp", SunkEdgeStrip(k), {}},
        {"extra.bmp", ExtraImagesStrip(k), {}},
        {"menuitem.bmp", MenuItemStrip(k), {}},
        {"menuback.bmp", MenuBackgroundImage(k), {}},
        {"menubar.bmp", MenuBarImage(k), {}},
        {"groupedge.bmp", GroupBoxEdgeImage(k), {}},
        {"grouplabel.bmp", GroupBoxLabel(k), {}},
        {"toolbar.bmp", PanelStates(k, 5, 16, 16, 3), {}},
        {"tabs.bmp", PanelStates(k, 5, 20, 20, 3), {}},
        {"tabborder.bmp", PanelStates(k, 1, 20, 20, 2), {}},
        {"statusbar.bmp", PanelStates(k, 3, 16, 16, 0), {}},
        {"header.bmp", PanelStates(k, 5, 16, 18, 0), {}},
        {"progress.bmp", ProgressBack(k), {}},
        {"progresschunk.bmp", ProgressChunk(k), {}},
        {"trackhorz.bmp", TrackThumb(k, TArrow::Up), {}},
        {"trackvert.bmp", TrackThumb(k, TArrow::Left), {}},
        {"updown.bmp", PanelStates(k, 8, 14, 12, 2), {}},
        {"updownhglyph.bmp", UpDownGlyphs(k, true), {}},
        {"updownvglyph.bmp", UpDownGlyphs(k, false), {}},
        {"mdicontrols.bmp", MdiControls(look), {}},
    };
    files.push_back({"orbelin.ini", {}, Description(look)});
    return files;
}

} // namespace orbelin::skingen
