#include "skin/render/frame/SkinFrameLayout.h"

#include "skin/data/SkinData.h"

#include <algorithm>

namespace orbelin {

namespace {

int Divided(int length, int frames) { return length / std::max(frames, 1); }

// A Visibility value's condition; `first` selects the Visibility column,
// otherwise the Visibility1 column.
bool VisibilityHolds(int value, bool first, int action, const TTitleButtonContext& c)
{
    switch (value) {
    case 0: return first ? (c.FrameKind != fkPlain && (action != 0 || c.HasSystemMenu)) : true;
    case 1: return c.Maximized;
    case 2: return !c.Maximized;
    case 3: return c.Active;
    case 4: return !c.Active;
    case 6: return first ? (c.HasMaximizeBox && c.HasSystemMenu) : c.HasMaximizeBox;
    case 7: return !c.HasMaximizeBox;
    case 8: return first ? (c.HasMinimizeBox && c.HasSystemMenu) : c.HasMinimizeBox;
    case 9: return !c.HasMinimizeBox;
    case 100: return c.MdiChildMaximized && c.MenuBarHeight > 0;
    default: return value >= 200 && value <= 2000;
    }
}

} // namespace

int FrameKindOf(uint32_t style, uint32_t exStyle)
{
    // The system's WS_POPUP, WS_CAPTION, WS_THICKFRAME and WS_EX_WINDOWEDGE.
    constexpr uint32_t popup = 0x80000000u, caption = 0x00C00000u, thickFrame = 0x00040000u, windowEdge = 0x100u;
    int kind = fkPlain;
    if ((style & popup) && (style & caption) != caption)
        kind = fkNoFrame;
    if ((exStyle & windowEdge) || (style & thickFrame))
        kind = fkEdged;
    return kind;
}

TFrameBorders FrameBorderRects(TSkinSize window, const TFrameMetrics& f)
{
    const int w = window.Width, h = window.Height;
    return {{0, 0, f.Left, h}, {w - f.Right, 0, w, h}, {f.Left, h - f.Bottom, w - f.Right, h}, {f.Left, 0, w - f.Right, f.Caption}};
}

int BorderPaintFrame(int frameCount, bool active) { return (active || frameCount <= 1) ? 1 : 2; }

TFrameMetrics FrameMetricsOf(const TSkinData& skin, int frameKind)
{
    if (frameKind == fkNoFrame)
        return {};
    return {Divided(skin.BorderLeft->Image.Width(), skin.BorderLeft->FrameCount),
            Divided(skin.BorderTop->Image.Height(), skin.BorderTop->FrameCount),
            Divided(skin.BorderRight->Image.Width(), skin.BorderRight->FrameCount),
            Divided(skin.BorderBottom->Image.Height(), skin.BorderBottom->FrameCount)};
}

bool TitleButtonVisible(const TDataSkinSysButton& button, const TTitleButtonContext& context)
{
    if (!VisibilityHolds(button.Visibility, true, button.Action, context))
        return false;
    // Visibility1 100 repeats what Visibility 100 decided.
    if (!VisibilityHolds(button.Visibility1, false, button.Action, context))
        return false;
    if (button.Action == 1 && !context.HasMaximizeBox)
        return false;
    if (button.Action == 2 && !context.HasMinimizeBox)
        return false;
    return true;
}

TSkinRect LayoutTitleButton(const TDataSkinSysButton& button, TSkinSize frameSize, const TTitleLayoutContext& c,
                            int& rightBound)
{
    const TSkinRect base{0, 0, frameSize.Width, frameSize.Height};
    switch (button.Align) {
    case 0: return base.Offset(button.XCoord, button.YCoord);
    case 1: {
        const int x = c.WindowWidth - button.XCoord;
        rightBound = std::max(rightBound, x);
        return base.Offset(x, button.YCoord);
    }
    case 2:
    case 8: return base.Offset(c.TitleText.Left - frameSize.Width - button.XCoord, button.YCoord);
    case 3:
    case 9: return base.Offset(c.TitleText.Right + button.XCoord, button.YCoord);
    case 100: {
        const int y = c.Frame.Caption + (c.MenuBarHeight - frameSize.Height) / 2;
        const int x = c.RightToLeft ? c.Frame.Left + button.XCoord + c.MenuBarLeftWidth
                                    : c.WindowWidth - button.XCoord - c.Frame.Right - c.MenuBarLeftWidth;
        return base.Offset(x, y);
    }
    default: return base;
    }
}

bool IsIconButton(int action) { return action == 3 || action == 11; }

TTitleCommand TitleCommandOf(int action)
{
    switch (action) {
    case 0: return TTitleCommand::Close;
    case 1:
    case 22: return TTitleCommand::Maximize;
    case 2:
    case 23: return TTitleCommand::Minimize;
    case 3:
    case 11:
    case 12: return TTitleCommand::SystemMenu;
    case 7:
    case 60: return TTitleCommand::MdiMinimize;
    case 8:
    case 61: return TTitleCommand::MdiRestore;
    case 9:
    case 62: return TTitleCommand::MdiClose;
    default: return TTitleCommand::Posted;
    }
}

int TitleButtonStateFrame(const TDataSkinSysButton& button, int state)
{
    constexpr int hot = 3;
    return button.Visibility == 100 && state == hot ? 4 : state;
}

int TitleButtonPaintFrame(int frameCount, bool active) { return (active || frameCount < 4) ? 1 : 4; }

TSkinRect PlaceTitleText(const TDataSkinTitle& title, const TTitlePlacement& p)
{
    const TSkinRect& R = p.Caption;
    TSkinRect T{R.Left, R.Top, R.Left + p.Measured.Width, R.Top + p.Measured.Height};
    T.Right += title.TextBackLeft + title.TextBackRight;
    const int alignment = p.RightToLeft ? 2 : title.TextAlignment;
    int dx = 0;
    switch (alignment) {
    case 0: dx = title.TextShift(); break;
    case 1: dx = (R.Width() - T.Width()) / 2; break;
    case 2: dx = R.Width() - title.TextRightClip() - T.Width(); break;
    default: break;
    }
    const int dy = (R.Height() - T.Height()) / 2 + title.TextShiftVert() / 2;
    T = T.Offset(dx, dy);
    if (p.Popup)
        T.Right = std::max(T.Right, p.RightButtonBound - 5);
    else
        T.Right = std::min(T.Right, R.Right - title.TextRightClip());
    return T;
}

int AdjustFrameHitTest(int hit, int frameY, int captionSize)
{
    constexpr int htNowhere = 0, htCaption = 2, htMenu = 5;
    if (hit != htNowhere || frameY <= 3)
        return hit;
    return frameY > captionSize ? htMenu : htCaption;
}

std::vector<TSkinRect> LayoutMenuBarItems(const std::vector<int>& captionWidths, TSkinSize band, int imageLeftWidth,
                                          int imageRightWidth, bool rightToLeft)
{
    // How far from its end the row starts.
    int start = 6;
    const int imageEnd = rightToLeft ? imageRightWidth : imageLeftWidth;
    if (imageEnd >= 0) {
        start = imageEnd + (rightToLeft ? 8 : 4);
        if (start > band.Width)
            start = 12;
    }
    std::vector<TSkinRect> places;
    int x = rightToLeft ? band.Width - start : start;
    for (int caption : captionWidths) {
        const int width = caption >= 0 ? caption + 10 : 0;
        if (rightToLeft) {
            places.push_back({x - width, 0, x, band.Height - 1});
            x -= width;
        } else {
            places.push_back({x, 0, x + width, band.Height - 1});
            x += width;
        }
    }
    return places;
}

TSkinRect ClientRectFor(int x, int y, int cx, int cy, const TFrameMetrics& f, int menuBarHeight)
{
    return {x + f.Left, y + f.Caption + menuBarHeight, x + cx - f.Right, y + cy - f.Bottom};
}

TSkinSize FittedSize(TSkinSize client, const TFrameMetrics& f, int menuBarHeight)
{
    return {client.Width + f.Left + f.Right, client.Height + f.Caption + f.Bottom + menuBarHeight};
}

int CaptionFitWidth(int captionLength, int blankWidth, const TFrameMetrics& f, const TDataSkinTitle& title)
{
    return (captionLength + 7) * blankWidth + f.Left + f.Right + title.TextShift() + title.TextRightClip() +
           title.TextBackLeft + title.TextBackRight;
}

TSkinSize UnskinnedSize(TSkinSize window, const TFrameMetrics& f, int menuBarHeight, TSkinSize initialNonClient)
{
    return {window.Width - f.Left - f.Right + initialNonClient.Width,
            window.Height - f.Caption - menuBarHeight - f.Bottom + initialNonClient.Height};
}

} // namespace orbelin
