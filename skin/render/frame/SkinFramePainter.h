#pragma once
// Painting of a skinned frame: the borders drawn from the skin's images at
// the window's size (kept between paints), the caption with the title
// text and the title buttons, the menu bar band, and the window region cut
// out of the borders' magenta pixels. The frame decides when; this part
// knows how, reading the frame's shared state.

#include "skin/render/frame/SkinFrameState.h"
#include "skin/render/frame/SkinNCObject.h"
#include "ui/Graphics.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orbelin {

class TSkinFramePainter;
class TSkinMenuBar;

// One caption button, drawn from its record of the skin.
class TSkinTitleButton : public TNCObject {
public:
    TSkinTitleButton(TNCObject*& hot, TSkinFramePainter& painter, TDataSkinSysButton& button)
        : TNCObject(hot), Button(button), FPainter(painter)
    {
    }
    void Paint() override;
    TDataSkinSysButton& Button; // the store's record; the frame drops its buttons before a reload

private:
    TSkinFramePainter& FPainter;
};

class TSkinFramePainter {
public:
    explicit TSkinFramePainter(TSkinFrameState& state);
    TSkinFramePainter(const TSkinFramePainter&) = delete;
    TSkinFramePainter& operator=(const TSkinFramePainter&) = delete;

    // The window's small icon on magenta, or the skin's default one.
    void BuildIconBitmap();
    // One button per title button record of the skin.
    void MakeTitleButtons();
    void FreeTitleButtons();
    const std::vector<std::unique_ptr<TSkinTitleButton>>& TitleButtons() const { return FTitleButtons; }

    // Borders, caption and the menu bar band, on dc or the window's own DC.
    void Paint(HDC dc, TSkinMenuBar* menuBar);
    // Paints one title button on the window DC with the frame of its state.
    void PaintTitleButton(TSkinTitleButton& button);
    // Drops the caption picture (the skin goes).
    void ReleaseCaption() { FCaptionBitmap.SetSize(0, 0); }

    // The region of the window's current (or a coming) outer size.
    void UpdateRegion(bool redraw = true);
    void UpdateRegion(TSkinSize outer, bool redraw);
    // The window gets its rectangle back.
    void DropRegion();
    bool HasRegion() const { return FRegionSet; }

    TSkinRect TitleTextRect() const { return FTitleTextRect; }
    const TFont& CaptionFont() const { return FCaptionFont; }

private:
    // A border drawn at a size: kept between paints, drawn again when the
    // size, the active state or the skin's image changes.
    struct TBorderPicture {
        TBitmap Bitmap;
        TSkinSize Size{-1, -1};
        int Frame = 0;
        uint64_t Image = 0;
    };
    TBitmap& BorderPicture(TBorderPicture& picture, const TDataSkinBorder& border, TSkinSize size, bool vertical);
    void PaintCaption(HDC dc);
    void PaintTitleText(HDC dc);
    void LayoutTitleButtons();
    void PaintMdiChildButtons(HDC dc);
    void PaintTitleButtons(HDC dc);
    TTitleButtonContext ButtonContext() const;

    TSkinFrameState& FState;
    TFont FCaptionFont;
    std::string FTitlePrefix = "  ";
    TBitmap FIconBitmap;
    TBitmap FCaptionBitmap;
    TBorderPicture FLeftPicture, FRightPicture, FBottomPicture, FTopPicture;
    std::vector<std::unique_ptr<TSkinTitleButton>> FTitleButtons;
    TSkinRect FTitleTextRect;
    int FRightButtonBound = 0;
    int FWindowWidth = 0;
    int FWindowHeight = 0;
    bool FRegionSet = false; // the window holds a region of the frame (the system owns it)
    TSkinSize FRegionSize;
};

} // namespace orbelin
