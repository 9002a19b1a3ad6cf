#pragma once
// The element records a skin description fills: each one an image with its
// fixed margins, tiling, transparency and frame count, plus the fields its
// kind of element adds.

#include "base/Colors.h"
#include "skin/data/SkinBitmap.h"

#include <cstdint>
#include <string>

namespace orbelin {

struct TSkinMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

class TDataSkinObject {
public:
    explicit TDataSkinObject(std::string name = {}) : Name(std::move(name)) {}
    virtual ~TDataSkinObject() = default;
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;

    // LeftWidth, TopHeight, RightWidth, BottomHeight kept together.
    TSkinMargins Margins;
    int& LeftWidth() { return Margins.Left; }
    int& TopHeight() { return Margins.Top; }
    int& RightWidth() { return Margins.Right; }
    int& BottomHeight() { return Margins.Bottom; }
    int LeftWidth() const { return Margins.Left; }
    int TopHeight() const { return Margins.Top; }
    int RightWidth() const { return Margins.Right; }
    int BottomHeight() const { return Margins.Bottom; }

    TSkinBitmap Image;
    int Trans = 0;
    int Tile = 0; // 0 stretch the middle, 1 tile it
    std::string Name;
    int FrameCount = 0;
    int Style = 0;
    int NormalColour = -1;
    int MouseOverColour = -1;
    int PressedColour = -1;
    TColor NormalColour2 = clBtnText;
    TColor MouseOverColour2 = clBtnText;
    TColor PressedColour2 = clBtnText;
};

class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TSkinBitmap Image2;
};

// The caption area: Image is the text background, the margins hold
// TextShift, TextShiftVert and TextRightClip.
class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int& TextShift() { return Margins.Left; }
    int& TextShiftVert() { return Margins.Top; }
    int& TextRightClip() { return Margins.Right; }
    int TextShift() const { return Margins.Left; }
    int TextShiftVert() const { return Margins.Top; }
    int TextRightClip() const { return Margins.Right; }

    int TextAlignment = 0;
    int TextBackground = 0;
    int FontHeight = 14;
    int TextBackLeft = 0;
    int TextBackRight = 0;
    TColor ActiveTextColor = clNone;
    TColor InactiveTextColor = clNone;
};

class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TSkinBitmap CheckImage;
    TSkinBitmap RadioImage;
    int RadioFrameCount = 0;
    int CheckFrameCount = 0;
    bool HasNormalColour2 = false;
    bool HasMouseOverColour2 = false;
    bool HasPressedColour2 = false;
};

class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int Action = 0;
    int Align = 0;
    int XCoord = 0;
    int YCoord = 0;
    int CombineOp = -1;
    int Visibility = 0;
    int Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int BackgroundLeftShift = 0;
    int BackgroundRightShift = 0;
    int BackgroundAlignment = 0;
};

} // namespace orbelin
