#pragma once
// Our own skins: every bitmap the description names, drawn in code, and the
// description text itself. One set of painters draws every look; a look is
// only numbers and colours.

#include "skin/data/SkinBitmap.h"
#include "tools/skingen/SkinCanvas.h"

#include <string>
#include <string_view>
#include <vector>

namespace orbelin::skingen {

struct TLookColours {
    TRgb Caption, CaptionInactive;       // caption band and frame
    TRgb CaptionInkInactive;             // caption button glyphs of an inactive window
    TRgb TitleTick, TitleTickInactive;   // the mark before the title
    TRgb Accent, AccentLight;
    TRgb Face, Paper, Text;              // Paper: menus, edits, button tops
    TRgb Line, LineSoft, Muted;
    TRgb Track, Thumb, ThumbHot;
    TRgb TrackPressed, TrackEdge;        // scroll shaft
    TRgb ArrowPressed, ArrowHot;         // scroll arrow backs
    TRgb ButtonBottom;                   // push button gradient end
    TRgb PressedTop, PressedBottom, PressedBorder;
    TRgb DisabledTop, DisabledBottom;
    TRgb GlyphBorder;                    // unchecked check and radio boxes
    TRgb PanelPressed;
    TRgb MenuBarInactive;
    TRgb TrackThumb, TrackThumbHot;      // track bar thumbs
    TRgb ButtonShadow;                   // only named in the description
    TRgb ButtonHotText;                  // push button text under the mouse
    TRgb TitleText, TitleTextInactive;
};

struct TLook {
    std::string SkinName;
    std::string Summary;          // first comment line of the description
    int CaptionHeight = 0;
    int BorderWidth = 0;          // left, right and bottom borders
    int CornerRadius = 0;
    int CornerEnds = 0;           // fixed ends of the top border that hold the corners
    int CaptionButtonWidth = 0;
    int CaptionButtonHeight = 0;
    int CaptionButtonRadius = 0;
    int CaptionButtonFrames = 0;  // 6: normal, pressed, hot, inactive, spares; 3: no inactive frame
    int CaptionButtonsRight = 0;  // gap between the close button and the right border
    int CaptionButtonGap = 0;     // between neighbouring caption buttons
    int IconLeft = 0;
    int TextShift = 0;
    int TextShiftVert = 0;
    int FontHeight = 0;           // caption text
    int GlyphSize = 0;            // check and radio glyphs, square
    int ThumbFrames = 0;          // scroll thumbs: normal, pressed, hot
    TLookColours Colours;
};

// Our default skin, and a second one whose every frame metric differs.
const TLook& CalmLook();
const TLook& BroadLook();
// The look of that name ("calm", "broad"), or nullptr.
const TLook* LookNamed(std::string_view name);

struct TSkinFile {
    std::string Name;   // file name in the archive
    TSkinBitmap Bitmap; // empty for the description
    std::string Text;   // the description
};

// The entries in archive order; the description comes last.
std::vector<TSkinFile> BuildSkin(const TLook& look);

} // namespace orbelin::skingen
