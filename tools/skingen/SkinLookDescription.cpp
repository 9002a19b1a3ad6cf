// The description (orbelin.ini) that names a look's pictures and metrics.

#include "tools/skingen/SkinPainters.h"

namespace orbelin::skingen {

namespace {

std::string RgbText(TRgb c) { return std::to_string(c.r) + " " + std::to_string(c.g) + " " + std::to_string(c.b); }

std::string Num(int v) { return std::to_string(v); }

} // namespace

std::string Description(const TLook& look)
{
    const TLookColours& k = look.Colours;
    const int caption = look.CaptionHeight;
    const int closeX = look.BorderWidth + look.CaptionButtonWidth + look.CaptionButtonsRight;
    const int maxX = closeX + look.CaptionButtonWidth + look.CaptionButtonGap;
    const int minX = maxX + look.CaptionButtonWidth + look.CaptionButtonGap;
    const int buttonY = (caption - look.CaptionButtonHeight) / 2;
    const std::string n = "\r\n";
    std::string d;
    d += "; Orbelin skin: " + look.Summary + "." + n;
    d += "[TitlebarSkin]" + n + "SkinName=" + look.SkinName + n + n;
    d += "[Personality]" + n;
    d += "Top=top.bmp" + n + "TopFrame=2" + n + "TopTopHeight=" + Num(look.CornerEnds) + n + "TopBotHeight=" + Num(look.CornerEnds) + n +
         "TopStretch=1" + n + "TopTrans=1" + n;
    d += "Left=left.bmp" + n + "LeftFrame=2" + n + "LeftTopHeight=" + Num(caption) + n + "LeftBotHeight=" + Num(look.BorderWidth) + n +
         "LeftStretch=1" + n + "LeftTrans=1" + n;
    d += "Right=right.bmp" + n + "RightFrame=2" + n + "RightTopHeight=" + Num(caption) + n + "RightBotHeight=" + Num(look.BorderWidth) + n +
         "RightStretch=1" + n + "RightTrans=1" + n;
    d += "Bottom=bottom.bmp" + n + "BottomFrame=2" + n + "BottomTopHeight=0" + n + "BottomBotHeight=0" + n + "BottomStretch=1" + n +
         "BottomTrans=0" + n;
    d += "TextBack=titleback.bmp" + n + "TXTBackleft=10" + n + "TXTBackRight=2" + n + "TextShift=" + Num(look.TextShift) + n +
         "TextShiftVert=" + Num(look.TextShiftVert) + n + "TextRightClip=" + Num(minX + 8) + n + "TextAlignment=0" + n;
    d += "ActiveTextR=" + Num(k.TitleText.r) + n + "ActiveTextG=" + Num(k.TitleText.g) + n + "ActiveTextB=" + Num(k.TitleText.b) + n;
    d += "InActiveTextR=" + Num(k.TitleTextInactive.r) + n + "InActiveTextG=" + Num(k.TitleTextInactive.g) + n +
         "InActiveTextB=" + Num(k.TitleTextInactive.b) + n;
    d += "menuBar=menubar.bmp" + n + "TileMenu=0" + n + "TileLeftMenu=2" + n + "TileRightMenu=2" + n + n;

    d += "[Colours]" + n;
    d += "WindowText=" + RgbText(k.Text) + n + "ButtonFace=" + RgbText(k.Face) + n + "Scrollbar=" + RgbText(k.Track) + n;
    d += "HilightText=" + RgbText(White) + n + "Hilight=" + RgbText(k.Accent) + n + "Menubar=" + RgbText(k.Face) + n;
    d += "Menu=" + RgbText(k.Paper) + n + "MenuText=" + RgbText(k.Text) + n + "ButtonText=" + RgbText(k.Text) + n;
    d += "ButtonHilight=" + RgbText(White) + n + "Buttonlight=" + RgbText(k.Track) + n + "ButtonShadow=" + RgbText(k.ButtonShadow) + n;
    d += "ButtonDkShadow=" + RgbText(k.Muted) + n + "MenuBarText=" + RgbText(k.Text) + n;
    d += "TitleTextActive=" + RgbText(k.TitleText) + n + "TitleTextNoActive=" + RgbText(k.TitleTextInactive) + n + n;

    // Caption buttons, right to left: close, maximize or restore, minimize; the icon on the left.
    // Without a frame key the reader guesses the count from the strip's shape; a look that
    // leaves out the inactive frames says so.
    const std::string frames = look.CaptionButtonFrames == 6 ? "" : "frame=" + Num(look.CaptionButtonFrames) + n;
    auto button = [&](const char* section, int action, int align, int x, int y, int vis, int vis1, const char* image) {
        d += std::string("[") + section + "]" + n + "Action=" + Num(action) + n + "Align=" + Num(align) + n + "Xcoord=" + Num(x) + n +
             "Ycoord=" + Num(y) + n + "Visibility=" + Num(vis) + n + "Visibility1=" + Num(vis1) + n;
        if (image)
            d += std::string("ButtonImage=") + image + n + frames;
        d += n;
    };
    button("Button0", 0, 1, closeX, buttonY, 0, 0, "close.bmp");
    button("Button1", 1, 1, maxX, buttonY, 6, 2, "maximize.bmp");
    button("Button2", 1, 1, maxX, buttonY, 6, 1, "restore.bmp");
    button("Button3", 2, 1, minX, buttonY, 8, 0, "minimize.bmp");
    button("Button4", 3, 0, look.IconLeft, (caption - 16) / 2, 0, 0, nullptr);

    d += "[Buttons]" + n + "Bitmap=button.bmp" + n + "LeftWidth=4" + n + "RightWidth=4" + n + "TopHeight=4" + n + "BottomHeight=4" + n +
         "Trans=1" + n + "Tile=0" + n + "CheckButton=check.bmp" + n + "RadioButton=radio.bmp" + n + "NormalColour2=" + RgbText(k.Text) + n +
         "MouseOverColour2=" + RgbText(k.ButtonHotText) + n + "PressedColour2=" + RgbText(k.Text) + n + n;

    auto plain = [&](const char* section, const char* image, int l, int t, int r, int b, int trans, int tile, const std::string& extra = "") {
        d += std::string("[") + section + "]" + n + "Image=" + image + n + "LeftWidth=" + Num(l) + n + "TopHeight=" + Num(t) + n +
             "RightWidth=" + Num(r) + n + "BottomHeight=" + Num(b) + n + "Trans=" + Num(trans) + n + "Tile=" + Num(tile) + n + extra + n;
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
    const std::string thumbFrames = "FrameCount=" + Num(look.ThumbFrames) + n;
    plain("HorzScrollThumb", "hthumb.bmp", 6, 0, 6, 0, 1, 0, thumbFrames);
    plain("VertScrollThumb", "vthumb.bmp", 0, 6, 0, 6, 1, 0, thumbFrames);
    for (const char* s : {"Trackbar.ThumbHorz", "Trackbar.ThumbUp", "Trackbar.ThumbDown"})
        plain(s, "trackhorz.bmp", 0, 3, 0, 3, 1, 0);
    for (const char* s : {"Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight"})
        plain(s, "trackvert.bmp", 3, 0, 3, 0, 1, 0);
    plain("UpDown.Horz", "updown.bmp", 2, 2, 2, 2, 1, 0, "GlyphImage=updownhglyph.bmp" + n);
    plain("UpDown.Vert", "updown.bmp", 2, 2, 2, 2, 1, 0, "GlyphImage=updownvglyph.bmp" + n);
    d += "[MDICONTROLS]" + n + "Image=mdicontrols.bmp" + n + n;
    d += "[Fonts]" + n + "FontHeight=" + Num(look.FontHeight) + n;
    return d;
}

} // namespace orbelin::skingen
