#pragma once
// The geometry of a skinned window frame as plain functions over
// rectangles: border sizes from the skin's images, which title buttons show
// and where, where the title text goes, what the client area is and what a
// point of the frame is. The frame's painting and message handling use
// them; tests call them without a window.

#include "skin/render/draw/SkinGeometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orbelin {

class TSkinData;

// How a window is framed: the full skinned frame (3), none at all (2, a
// popup without the whole caption), or (0) a window with an edge or a
// sizing border, whose title buttons follow the system menu.
enum TFrameKind : int { fkEdged = 0, fkNoFrame = 2, fkPlain = 3 };

// The frame kind of a window by its styles (the window's GWL_STYLE and
// GWL_EXSTYLE bits).
int FrameKindOf(uint32_t style, uint32_t exStyle);

struct TFrameMetrics {
    int Left = 0;
    int Caption = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TFrameMetrics&) const = default;
};

// Border sizes: the caption and bottom from the heights of the top and
// bottom images divided by their (stacked) frames, the sides from the widths
// of the side images divided by their frames side by side. None for a
// window without frame.
TFrameMetrics FrameMetricsOf(const TSkinData& skin, int frameKind);

// Where the four borders lie in a window of this outer size (frame
// coordinates). The sides run the full height: their caption rows are
// part of the caption; the top lies between the sides.
struct TFrameBorders {
    TSkinRect Left, Right, Bottom, Top;
};
TFrameBorders FrameBorderRects(TSkinSize window, const TFrameMetrics& frame);

// The frame of a border image to draw: the second (inactive) one only for
// an inactive window whose image has more than one.
int BorderPaintFrame(int frameCount, bool active);

// What the title buttons of one window depend on.
struct TTitleButtonContext {
    int FrameKind = fkPlain;
    bool Maximized = false;
    bool Active = true;
    bool HasSystemMenu = false;
    bool HasMinimizeBox = false;
    bool HasMaximizeBox = false;
    // An MDI frame whose active child is maximized.
    bool MdiChildMaximized = false;
    int MenuBarHeight = 0;
};

bool TitleButtonVisible(const TDataSkinSysButton& button, const TTitleButtonContext& context);

// What the placement of the title buttons depends on (frame coordinates).
struct TTitleLayoutContext {
    int WindowWidth = 0;
    TSkinRect TitleText; // where the title text went in this paint
    TFrameMetrics Frame;
    int MenuBarHeight = 0;
    bool RightToLeft = false;
    int MenuBarLeftWidth = 0; // the menu bar record's left part, 0 without one
};

// Where a shown button with a frame of `frameSize` goes by its Align, or
// previous when its Align moves nothing. Right-aligned buttons raise
// rightBound to their left edge.
TSkinRect LayoutTitleButton(const TDataSkinSysButton& button, TSkinSize frameSize, const TTitleLayoutContext& context,
                            int& rightBound);

// The title button that shows the window's icon and opens the system menu.
bool IsIconButton(int action);

// What pressing a title button does, by its Action.
enum class TTitleCommand { Close, Maximize, Minimize, SystemMenu, MdiMinimize, MdiRestore, MdiClose, Posted };
TTitleCommand TitleCommandOf(int action);

// The frame of a title button to draw for its state (TNCObject's 1 normal,
// 2 pressed, 3 hot); a button shown only beside a maximized MDI child
// (Visibility 100) has its hot look in the fourth frame.
int TitleButtonStateFrame(const TDataSkinSysButton& button, int state);

// The frame of a title button to draw in a full caption paint: the first
// one when the window is active or the button has fewer than four frames,
// else the fourth (inactive).
int TitleButtonPaintFrame(int frameCount, bool active);

// What the title text is placed by.
struct TTitlePlacement {
    TSkinRect Caption;      // the caption rectangle (left, 0, w - right, caption)
    TSkinSize Measured;     // of prefix, one blank and the caption text
    bool RightToLeft = false;
    bool Popup = false;     // the window has WS_POPUP
    int RightButtonBound = 0;
};

// The title text rectangle (with the text back image's parts) as the frame
// stores it; the text itself is drawn inside it less TextBackLeft and
// TextBackRight.
TSkinRect PlaceTitleText(const TDataSkinTitle& title, const TTitlePlacement& placement);

// A non-client hit test the system left at HTNOWHERE: below the top four
// rows it is the caption, below the caption the menu bar. Other answers
// are kept.
int AdjustFrameHitTest(int hit, int frameY, int captionSize);

// Where the items of a menu bar go inside its band (band coordinates), by
// the widths of their captions (-1 for an item without caption, which takes
// no room): side by side, each 10 wider than its caption, one row short of
// the band's height. They start at 6, or 4 past the left part of the bar's image
// (imageLeftWidth; -1 without an image), or at 12 when that is past the band.
// Right-to-left bars lay their items out from the right end leftwards, past
// the image's right part (imageRightWidth) and 8 pixels more.
std::vector<TSkinRect> LayoutMenuBarItems(const std::vector<int>& captionWidths, TSkinSize band, int imageLeftWidth,
                                          int imageRightWidth = -1, bool rightToLeft = false);

// The client rectangle of a window at (x, y) of size (cx, cy).
TSkinRect ClientRectFor(int x, int y, int cx, int cy, const TFrameMetrics& frame, int menuBarHeight);

// The outer size that keeps a client size under the skinned frame.
TSkinSize FittedSize(TSkinSize client, const TFrameMetrics& frame, int menuBarHeight);

// The width a message box needs to show its caption in full: (caption
// length + 7) blanks plus the frame and the title text's margins.
int CaptionFitWidth(int captionLength, int blankWidth, const TFrameMetrics& frame, const TDataSkinTitle& title);

// The outer size a window gets back when its skinned frame goes.
TSkinSize UnskinnedSize(TSkinSize window, const TFrameMetrics& frame, int menuBarHeight, TSkinSize initialNonClient);

} // namespace orbelin
