#pragma once
// Skinned controls whose look lies partly in the non-client area or is
// drawn by the system: the scroll bars of scrolling controls, drop-down
// lists, edit frames, size boxes, stand-alone scroll bars.

#include "skin/render/controls/SkinCtrls.h"
#include "skin/render/controls/SkinScrollGeometry.h"

namespace orbelin {

class TSkinScrollBar : public TSkinControl {
public:
    std::string_view ClassName() const override { return "TSkinScrollBar"; }
    using TSkinControl::TSkinControl;

    enum TPart : int { spNone = 0, spLeft = 1, spRight = 2, spUp = 3, spDown = 4, spHorzThumb = 5, spVertThumb = 6 };

    virtual void AttachScrolling(TWinControl* control, TSkinData* skin, bool ownThumbTracking, ISkinControlHost* host,
                                 TCanvas* canvas);
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    bool InModalLoop() const override { return FTracking; }

    int PressedPart() const { return FPressedPart; }
    const TScrollBarGeometry& Geometry(bool vertical) const { return vertical ? FVert : FHorz; }
    RECT BarRect(bool vertical) const { return vertical ? FVertRect : FHorzRect; }

protected:
    RECT FHeaderRect{};

private:
    void DrawBar(HDC dc, bool vertical, const RECT& bar);
    void ReadScrollInfo(bool vertical, int length);
    void TrackThumb(bool vertical, POINT start);

    int FPressedPart = spNone;
    LONG_PTR FStyle = 0;
    LONG_PTR FExStyle = 0;
    RECT FCorner{};
    bool FTracking = false;
    bool FOwnThumbTracking = false;
    bool FInVertScroll = false;
    bool FInHorzScroll = false;
    SCROLLINFO FHorzInfo{};
    SCROLLINFO FVertInfo{};
    RECT FHorzRect{};
    RECT FVertRect{};
    TScrollBarGeometry FHorz;
    TScrollBarGeometry FVert;
};

// A list view: its scroll bars, and a header skin on the header control
// above its columns. The header lies inside the client area, so the bars
// run the window's whole height.
class TSkinListView : public TSkinScrollBar {
public:
    std::string_view ClassName() const override { return "TSkinListView"; }
    using TSkinScrollBar::TSkinScrollBar;
    void AttachScrolling(TWinControl* control, TSkinData* skin, bool ownThumbTracking, ISkinControlHost* host,
                         TCanvas* canvas) override;
    TSkinControl* Header() const { return FHeader; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TSkinControl* FHeader = nullptr; // kept by the window's list, as this one
};

class TSkinComBox : public TSkinControl {
public:
    std::string_view ClassName() const override { return "TSkinComBox"; }
    using TSkinControl::TSkinControl;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

    // 2 pressed, 4 focused or hot, 1 enabled, 3 disabled.
    static int FrameFor(bool enabled, bool pressed, bool hot, bool focused);

private:
    LONG_PTR FStyle = 0;
    LONG_PTR FExStyle = 0;
};

class TSkinEdit : public TSkinControl {
public:
    std::string_view ClassName() const override { return "TSkinEdit"; }
    using TSkinControl::TSkinControl;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    bool FBuddyLooked = false;
};

// A raw size box: a frame in the button shadow colour.
class TSkinSizer : public TSkinControl {
public:
    std::string_view ClassName() const override { return "TSkinSizer"; }
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
};

// A stand-alone scroll bar control.
class TSkinScControl : public TSkinControl {
public:
    std::string_view ClassName() const override { return "TSkinScControl"; }
    using TSkinControl::TSkinControl;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
};

} // namespace orbelin
