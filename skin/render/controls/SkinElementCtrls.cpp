#include "skin/render/controls/SkinElementCtrls.h"

#include "skin/data/SkinData.h"
#include "skin/render/controls/SkinScrollGeometry.h"
#include "skin/render/draw/SkinDraw.h"

#include <commctrl.h>

#include <algorithm>

namespace orbelin {

void TSkinElementControl::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT: PaintWindow(nullptr); break;
    case WM_MOUSEMOVE: EnterByPointer(); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (message.Msg == CM_MOUSEENTER)
            FMouseState |= msHot;
        else if (message.Msg == CM_MOUSELEAVE)
            FMouseState &= ~msHot;
        PaintWindow(nullptr);
        break;
    default: TSkinControl::AfterMessage(message); break;
    }
}

void TSkinElementControl::Draw(HDC dc, const RECT& rect)
{
    int frames = 1, frame = 1;
    const TDataSkinObject* element = Element(frames, frame);
    if (!element || element->Image.Empty())
        return;
    // Only the edge: the control's own content stays visible inside.
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2);
    DrawElement(dc, rect, frames, frame, *element);
    RestoreDC(dc, saved);
}

const TDataSkinObject* TSkinUpDown::Element(int& frames, int& frame) const
{
    const bool horizontal = GetWindowLongPtrA(FWindow, GWL_STYLE) & UDS_HORZ;
    frames = 8;
    frame = (FMouseState & msHot) ? 2 : 1;
    return horizontal ? static_cast<const TDataSkinObject*>(FSkin->UpDownHorz.get()) : FSkin->UpDownVert.get();
}

void TSkinUpDown::Draw(HDC dc, const RECT& rect)
{
    int frames = 8, frame = 1;
    const auto* element = dynamic_cast<const TDataSkinBorder*>(Element(frames, frame));
    if (!element || element->Image.Empty())
        return;
    const bool horizontal = GetWindowLongPtrA(FWindow, GWL_STYLE) & UDS_HORZ;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    // Two halves: up (or left) and down (or right), each a button with its glyph.
    const RECT halves[2] = {horizontal ? RECT{0, 0, w / 2, h} : RECT{0, 0, w, h / 2},
                            horizontal ? RECT{w / 2, 0, w, h} : RECT{0, h / 2, w, h}};
    for (int i = 0; i < 2; ++i) {
        DrawElement(dc, halves[i], frames, frame, *element);
        if (!element->Image2.Empty())
            DrawGlyphFrame(dc, halves[i], frames, 1 + i * 4 + (frame - 1), element->Image2);
    }
}

const TDataSkinObject* TSkinProgress::Element(int& frames, int& frame) const
{
    frames = 2;
    frame = 1;
    return FSkin->Progress.get();
}

void TSkinProgress::Draw(HDC dc, const RECT& rect)
{
    const TDataSkinBorder* element = FSkin->Progress.get();
    if (!element || element->Image.Empty())
        return;
    DrawElement(dc, rect, 2, 1, *element);
    const int low = static_cast<int>(SendMessageA(FWindow, PBM_GETRANGE, TRUE, 0));
    const int high = static_cast<int>(SendMessageA(FWindow, PBM_GETRANGE, FALSE, 0));
    const int pos = static_cast<int>(SendMessageA(FWindow, PBM_GETPOS, 0, 0));
    if (high <= low || element->Image2.Empty())
        return;
    const int inner = rect.right - rect.left - 4;
    const int filled = ProgressFill(inner, low, high, pos);
    if (filled > 0)
        DrawStripFrame(dc, {rect.left + 2, rect.top + 2, rect.left + 2 + filled, rect.bottom - 2}, element->Image2,
                       false, 1, 1);
}

const TDataSkinObject* TSkinTrackBar::Element(int& frames, int& frame) const
{
    frames = 5;
    frame = (FMouseState & msHot) ? 4 : 1;
    const bool vertical = GetWindowLongPtrA(FWindow, GWL_STYLE) & TBS_VERT;
    return vertical ? FSkin->TrackbarThumbVert.get() : FSkin->TrackbarThumbHorz.get();
}

void TSkinTrackBar::Draw(HDC dc, const RECT&)
{
    int frames = 5, frame = 1;
    const TDataSkinObject* element = Element(frames, frame);
    if (!element || element->Image.Empty())
        return;
    RECT thumb{};
    SendMessageA(FWindow, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    FillFace(dc, thumb, *FSkin);
    DrawElement(dc, thumb, frames, frame, *element);
}

const TDataSkinObject* TSkinTab::Element(int& frames, int& frame) const
{
    frames = 5;
    frame = 1;
    return FSkin->Tabs.get();
}

const TDataSkinObject* TSkinStatusBar::Element(int& frames, int& frame) const
{
    frames = 3;
    frame = 1;
    return FSkin->StatusBarEdges.get();
}

void TSkinStatusBar::Draw(HDC dc, const RECT& rect)
{
    TSkinElementControl::Draw(dc, rect);
    const TDataSkinObject* extra = FSkin->ExtraImages.get();
    if (!extra || extra->Image.Empty() || !(GetWindowLongPtrA(FWindow, GWL_STYLE) & SBARS_SIZEGRIP))
        return;
    const int frames = std::max(extra->FrameCount, 1);
    const int w = extra->Image.Width() / frames, h = extra->Image.Height();
    DrawStripFrame(dc, {rect.right - w, rect.bottom - h, rect.right, rect.bottom}, extra->Image, true, frames, 5);
}

const TDataSkinObject* TSkinHeader::Element(int& frames, int& frame) const
{
    frames = 5;
    frame = (FMouseState & msHot) ? 4 : 1;
    return FSkin->Headerbar.get();
}

} // namespace orbelin
