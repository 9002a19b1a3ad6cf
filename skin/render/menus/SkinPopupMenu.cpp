#include "skin/render/menus/SkinPopupMenu.h"

#include "skin/data/SkinData.h"
#include "skin/render/core/SkinHosts.h"
#include "skin/render/core/SkinMessages.h"
#include "skin/render/draw/SkinDraw.h"

namespace orbelin {

namespace {
TSkinPopupMenu* gCurrent = nullptr;
constexpr int kFrame = 3;
} // namespace

TSkinPopupMenu* TSkinPopupMenu::Current() { return gCurrent; }

TBitmap* TSkinPopupMenu::CurrentBackground()
{
    RECT r{};
    return RenderBackground(r) && !FBackground.Empty() ? &FBackground : nullptr;
}

void TSkinPopupMenu::Attach(HWND window, TSkinData* skin, const ISkinEngine& engine)
{
    FWindow = window;
    FSkin = skin;
    FEngine = &engine;
    MenuBarOwned = false;
    FSubclass.Install(window, *this, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return WindowProcedure(msg, wParam, lParam);
    });
}

void TSkinPopupMenu::Detach()
{
    if (!FSubclass.Installed())
        return;
    FSubclass.Remove();
    FBackground.SetSize(0, 0);
    if (gCurrent == this)
        gCurrent = nullptr;
}

bool TSkinPopupMenu::RenderBackground(RECT& window)
{
    if (!FSkin || !FSkin->SkinLoaded() || !FSkin->MenuBackground || FSkin->MenuBackground->Image.Empty())
        return false;
    if (!GetWindowRect(FWindow, &window))
        return false;
    OffsetRect(&window, -window.left, -window.top);
    const TDataSkinObject& element = *FSkin->MenuBackground;
    if (FBackground.Width() != window.right || FBackground.Height() != window.bottom)
        NineSliceBitmap(FBackground, {window.right, window.bottom}, element.Image, element.Margins, false,
                        element.Tile != 0, 1, 1);
    gCurrent = this;
    return true;
}

void TSkinPopupMenu::PaintFrame()
{
    RECT r{};
    if (!RenderBackground(r))
        return;
    TWindowDC dc(FWindow, TWindowDC::TArea::Window);
    HDC from = FBackground.DC();
    BitBlt(dc.Handle(), 0, 0, r.right, kFrame, from, 0, 0, SRCCOPY);
    BitBlt(dc.Handle(), 0, r.bottom - kFrame, r.right, kFrame, from, 0, r.bottom - kFrame, SRCCOPY);
    BitBlt(dc.Handle(), 0, 0, kFrame, r.bottom, from, 0, 0, SRCCOPY);
    BitBlt(dc.Handle(), r.right - kFrame, 0, kFrame, r.bottom, from, r.right - kFrame, 0, SRCCOPY);
}

void TSkinPopupMenu::PaintBackground(HDC dc)
{
    RECT r{};
    if (!RenderBackground(r))
        return;
    BitBlt(dc, 0, 0, r.right, r.bottom, FBackground.DC(), 0, 0, SRCCOPY);
}

LRESULT TSkinPopupMenu::WindowProcedure(UINT msg, WPARAM wParam, LPARAM lParam)
{
    try {
        if (msg == SKM_SKINNED)
            return 1;
        if (!FEngine || !FEngine->SkinningActive())
            return FSubclass.CallPrevious(msg, wParam, lParam);
        switch (msg) {
        case WM_DESTROY: {
            const LRESULT result = FSubclass.CallPrevious(msg, wParam, lParam);
            Detach();
            return result;
        }
        case WM_NCPAINT: {
            RECT r{};
            if (!RenderBackground(r))
                break;
            PaintFrame();
            return 0;
        }
        case WM_PRINTCLIENT: {
            RECT r{};
            if (!RenderBackground(r))
                break;
            HDC dc = reinterpret_cast<HDC>(wParam);
            PaintBackground(dc);
            const int oldMode = SetBkMode(dc, TRANSPARENT);
            const int saved = SaveDC(dc);
            IntersectClipRect(dc, kFrame, kFrame, r.right - kFrame, r.bottom - kFrame);
            const LRESULT result = FSubclass.CallPrevious(msg, wParam, lParam);
            RestoreDC(dc, saved);
            SetBkMode(dc, oldMode);
            return result;
        }
        default: break;
        }
    } catch (...) {
        // A menu that cannot be skinned is drawn the ordinary way.
    }
    return FSubclass.CallPrevious(msg, wParam, lParam);
}

} // namespace orbelin
