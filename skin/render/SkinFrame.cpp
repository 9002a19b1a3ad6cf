#include "skin/render/SkinFrame.h"

#include "skin/data/SkinData.h"
#include "skin/render/SkinControlMap.h"
#include "skin/render/SkinCtrls.h"
#include "skin/render/SkinDraw.h"
#include "skin/render/SkinManager.h"
#include "skin/render/SkinMenuBar.h"
#include "skin/render/SkinMenus.h"
#include "skin/render/SkinMessages.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/Menus.h"

#include <windowsx.h>

#include <algorithm>
#include <cstddef>

namespace orbelin {

namespace {

bool Contains(const TSkinRect& r, POINT p) { return r.Contains(p.x, p.y); }

TSkinSize WindowSize(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

std::string ReadWindowText(HWND window)
{
    char text[1001] = {};
    const auto n = SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return std::string(text, static_cast<size_t>(std::clamp<LRESULT>(n, 0, 1000)));
}

// Draws an icon on a magenta background without blending its soft edges
// into the magenta (which would no longer be transparent): each pixel is
// either the icon's colour or magenta, by the icon's own coverage.
void DrawIconOverMagenta(HDC dc, HICON icon, int w, int h)
{
    TBitmap onBlack, onWhite;
    onBlack.SetSizeDib(w, h);
    onWhite.SetSizeDib(w, h);
    if (!onBlack.Bits() || !onWhite.Bits())
        return;
    std::fill(onWhite.Bits(), onWhite.Bits() + w * h, 0x00FFFFFFu);
    DrawIconEx(onBlack.DC(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
    DrawIconEx(onWhite.DC(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
    GdiFlush();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t black = onBlack.Bits()[y * w + x], white = onWhite.Bits()[y * w + x];
            // Coverage from how much the background shows through (green channel).
            const int shows = static_cast<int>((white >> 8) & 0xFF) - static_cast<int>((black >> 8) & 0xFF);
            if (shows < 128) {
                const int cover = 255 - shows;
                auto channel = [&](int shift) {
                    return std::min(255, static_cast<int>((black >> shift) & 0xFF) * 255 / std::max(cover, 1));
                };
                SetPixel(dc, x, y, RGB(channel(16), channel(8), channel(0)));
            }
        }
}

} // namespace

int FrameKindOf(LONG_PTR style, LONG_PTR exStyle)
{
    int kind = fkPlain;
    if ((style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION)
        kind = fkNoFrame;
    if ((exStyle & WS_EX_WINDOWEDGE) || (style & WS_THICKFRAME))
        kind = fkEdged;
    return kind;
}

// ------------------------------------------------------------- TNCObject

void TNCObject::BecomeHot(int state)
{
    if (!Visible)
        return;
    Frame.HotObject = this;
    State = state;
    Paint();
}

void TNCObject::MouseDown()
{
    if (Frame.HotObject && Frame.HotObject != this)
        Frame.HotObject->MouseLeave();
    BecomeHot(nsPressed);
}

void TNCObject::MouseUp()
{
    if (!Visible)
        return;
    State = nsHot;
    Paint();
}

void TNCObject::MouseEnter()
{
    if (Frame.HotObject == this)
        return;
    if (Frame.HotObject)
        Frame.HotObject->MouseLeave();
    BecomeHot(nsHot);
}

void TNCObject::MouseLeave()
{
    if (!Visible)
        return;
    Frame.HotObject = nullptr;
    State = nsNormal;
    Paint();
}

void TSkinTitleButton::Paint() { Frame.PaintTitleButton(*this); }

// ------------------------------------------------------------ TSkinFrame

TSkinFrame::TSkinFrame(TComponent* owner) : TComponent(owner)
{
    FDoubleClickTime = GetDoubleClickTime();
    NONCLIENTMETRICSA metrics{};
    // The size without the padded border width, which older systems refuse.
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        FCaptionFont.Name = metrics.lfCaptionFont.lfFaceName;
        FCaptionFont.Height = metrics.lfCaptionFont.lfHeight;
        FCaptionFont.Style = metrics.lfCaptionFont.lfWeight >= FW_BOLD ? unsigned{fsBold} : 0u;
        FCaptionFont.Charset = DEFAULT_CHARSET;
    }
}

TSkinFrame::~TSkinFrame()
{
    // A form frees its frame while its window still lives: nothing of the
    // frame may stay hooked into it.
    if (FSubclass.Installed() || FFormHooked) {
        FFrameState = fsDestroying;
        ReleaseControlsAndMenus(true);
    }
    FreeControls();
    if (TSkinManage* manager = TSkinManage::Instance())
        manager->ForgetFormSkin(this);
}

void TSkinFrame::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == FSystemMenu)
        FSystemMenu = nullptr;
    if (component == FMenuGlyphs)
        FMenuGlyphs = nullptr;
    if (component == FHoverTimer)
        FHoverTimer = nullptr;
    if (component == FMenuBar) {
        FMenuBar = nullptr;
        FMenuBarHeight = 0;
    }
    if (component == FForm)
        FForm = nullptr;
}

bool TSkinFrame::MainMenuSkinned() const
{
    return FSkin && FSkin->SkinControls.Contains(TSkinControlType::xcMainMenu);
}

void TSkinFrame::AttachToForm(TSkinData* skin, TForm* form)
{
    FForm = form;
    form->FreeNotification(this);
    if (skin->SkinControls.Contains(TSkinControlType::xcMainMenu)) {
        FSavedWindowProc = form->WindowProc;
        form->WindowProc = [this](TMessage& m) { FormHook(m); };
        FFormHooked = true;
    }
    AttachToWindow(skin);
    FSavedColour = form->Color();
    form->SetColor(skin->ColorButtonFace);
    if (skin->SkinControls.Contains(TSkinControlType::xcMainMenu))
        SetPopupOwnerDraw(*this, true);
}

void TSkinFrame::AttachToWindow(TSkinData* skin)
{
    if (FSubclass.Installed() || !IsWindow(FWindow))
        return;
    FSkin = skin;
    FHoverTimer = new TTimer(this); // owned by this frame
    FHoverTimer->SetEnabled(false);
    FHoverTimer->SetInterval(HoverInterval);
    FHoverTimer->OnTimer = [this](TObject*) { HoverCheck(); };

    FStyle = GetWindowLongPtrA(FWindow, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrA(FWindow, GWL_EXSTYLE);
    FRightToLeft = exStyle & WS_EX_LEFTSCROLLBAR;
    FWindowSystemMenu = GetSystemMenu(FWindow, FALSE);
    BuildIconBitmap();
    FClassName = TSkinManage::ClassNameOf(FWindow);
    FOwnerWindow = GetWindow(FWindow, GW_OWNER);

    RECT window{};
    GetWindowRect(FWindow, &window);
    GetClientRect(FWindow, &FInitialClient);
    FInitialNonClient = {window.right - window.left - FInitialClient.right,
                         window.bottom - window.top - FInitialClient.bottom};

    FAvailability = ((FStyle & WS_SYSMENU) || FWindowSystemMenu ? 8 : 0) | (FStyle & WS_MINIMIZEBOX ? 2 : 0) |
                    (FStyle & WS_MAXIMIZEBOX ? 1 : 0);
    BuildSystemMenu();
    ReadWindowState();

    for (HWND child = GetTopWindow(FWindow); child; child = GetWindow(child, GW_HWNDNEXT))
        if (TSkinManage::ClassNameOf(child) == "MDIClient") {
            FMdiRole = mrFrame;
            break;
        }
    if (exStyle & WS_EX_MDICHILD)
        FMdiRole = mrChild;
    FFrameKind = FrameKindOf(FStyle, exStyle);

    if (MainMenuSkinned()) {
        if (GetMenu(FWindow) && !IsMdiChild()) {
            FMenuBar = new TSkinMenuBar(*this, *skin); // owned by this frame
            FMenuBarHeight = GetSystemMetrics(SM_CYMENU);
            FMenuBar->BuildFromWindowMenu();
        }
        TSkinManage* manager = TSkinManage::Instance();
        const bool keepCaption = (IsMdiChild() && manager && manager->MdiMaximized) || FWindowState == wsMinimized;
        if (!keepCaption)
            SetCaptionStyles(false);
        CalcFrameMetrics();
    }
    FSubclass.Install(FWindow, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return WindowProcedure(msg, wParam, lParam);
    });
    SkinChildControls();
    InvalidateRect(FWindow, nullptr, TRUE);
}

void TSkinFrame::SkinChildControls()
{
    if (FForm) {
        SkinComponentControls(*this, *FForm, *FSkin);
        return;
    }
    struct TWalk {
        TSkinFrame* Frame;
        std::vector<HWND> Children;
    } walk{this, {}};
    EnumChildWindows(
        FWindow,
        [](HWND child, LPARAM param) -> BOOL {
            auto* w = reinterpret_cast<TWalk*>(param);
            if (GetWindowLongPtrA(child, GWL_STYLE) & WS_CHILD)
                w->Children.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&walk));
    for (HWND child : walk.Children)
        SkinRawChild(*this, child, *FSkin);
}

void TSkinFrame::SetCaptionStyles(bool restore)
{
    TSkinManage* manager = TSkinManage::Instance();
    if (!restore && IsMdiChild() && manager && manager->MdiMaximized)
        return;
    LONG_PTR style = GetWindowLongPtrA(FWindow, GWL_STYLE);
    const LONG_PTR before = style;
    if (restore) {
        if (FAvailability & 8)
            style |= WS_SYSMENU;
        if (FAvailability & 2)
            style |= WS_MINIMIZEBOX;
        if (FAvailability & 1)
            style |= WS_MAXIMIZEBOX;
        if (FAvailability & 16)
            style |= WS_CAPTION;
    } else if (HasOwner()) {
        style &= ~static_cast<LONG_PTR>(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    } else {
        FAvailability |= 16;
        style &= ~static_cast<LONG_PTR>(WS_CAPTION);
    }
    if (style != before)
        SetWindowLongPtrA(FWindow, GWL_STYLE, style);
    FStyle = style;
}

void TSkinFrame::BuildIconBitmap()
{
    const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    FIconBitmap.SetSize(w, h);
    HDC dc = FIconBitmap.DC();
    {
        TGdiHandle<HBRUSH> magenta(CreateSolidBrush(SkinTransparentColor));
        RECT r{0, 0, w, h};
        FillRect(dc, &r, magenta.Get());
    }
    auto icon = reinterpret_cast<HICON>(SendMessageA(FWindow, WM_GETICON, ICON_SMALL, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(SendMessageA(FWindow, WM_GETICON, ICON_BIG, 0));
    if (icon) {
        HICON small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE));
        if (!small)
            small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, w, h, 0));
        DrawIconOverMagenta(dc, small ? small : icon, w, h);
        if (small)
            DestroyIcon(small);
        return;
    }
    // No icon of its own: the skin's default one, else a main store's.
    const TSkinBitmap* fallback = FSkin && !FSkin->DefaultIcon->Empty() ? FSkin->DefaultIcon.get() : nullptr;
    if (!fallback)
        if (TSkinManage* manager = TSkinManage::Instance())
            for (TSkinData* store : manager->Stores())
                if (store->SkinFormtype() == TSkinFormType::sfMainform && !store->DefaultIcon->Empty())
                    fallback = store->DefaultIcon.get();
    if (fallback)
        if (HDC source = TSkinImageCache::Get(*fallback))
            StretchBlt(dc, 0, 0, w, h, source, 0, 0, fallback->Width(), fallback->Height(), SRCCOPY);
}

void TSkinFrame::BuildSystemMenu()
{
    if (FSystemMenu)
        delete FSystemMenu;
    FSystemMenu = new TPopupMenu(this); // owned by this frame
    FSystemMenu->FreeNotification(this);
    FSystemMenu->Tag = SystemMenuTag;
    FSystemMenu->OwnerDraw = true;
    if (!FMenuGlyphs && FSkin && FSkin->MenuGlyphs) {
        FMenuGlyphs = new TImageList(this, FSkin->MenuGlyphs->Width, FSkin->MenuGlyphs->Height); // owned by this frame
        FMenuGlyphs->FreeNotification(this);
        TBitmap glyphs;
        const TSkinBitmap& source = FSkin->MenuGlyphs->Bitmap;
        glyphs.SetSize(source.Width(), source.Height());
        if (HDC from = TSkinImageCache::Get(source))
            BitBlt(glyphs.DC(), 0, 0, source.Width(), source.Height(), from, 0, 0, SRCCOPY);
        // The image list copies the bitmap; it must not stay selected meanwhile.
        TBitmap detached;
        detached.Assign(static_cast<HBITMAP>(CopyImage(glyphs.Handle(), IMAGE_BITMAP, 0, 0, 0)));
        FMenuGlyphs->SetImages(detached.Handle(), ColorToRGB(FSkin->MenuGlyphs->TransparentColor));
    }
    FSystemMenu->SetImages(FMenuGlyphs);
    auto add = [this](const char* caption, int tag, std::function<void()> action) {
        auto* item = new TMenuItem(FSystemMenu); // owned by the menu
        item->Caption = caption;
        item->Tag = tag;
        item->ImageIndex = tag;
        if (action)
            item->OnClick = [action](TObject*) { action(); };
        FSystemMenu->Items().Add(item);
        return item;
    };
    add(" Restore ", 0, [this] { Restore(); });
    if (FAvailability & 1)
        add(" Maximize ", 1, [this] { ToggleMaximize(); });
    if (FAvailability & 2)
        add(" Minimize ", 2, [this] { ToggleMinimize(); });
    add("-", 100, nullptr);
    add(" Close ", 3, [this] { CloseWindow(); })->ShortCut = TextToShortCut("Shift+F4");
}

void TSkinFrame::ReadWindowState()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(FWindow, &placement))
        return;
    switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: FWindowState = wsMinimized; break;
    case SW_SHOWMAXIMIZED: FWindowState = wsMaximized; break;
    default: FWindowState = wsNormal; break;
    }
}

void TSkinFrame::CalcFrameMetrics()
{
    if (!FSkin || !FSkin->SkinLoaded())
        return;
    FMetrics = FrameMetricsOf(*FSkin, FFrameKind);
    if (FFrameKind == fkNoFrame)
        FMenuBarHeight = 0;
    FreeTitleButtons();
    for (auto& record : FSkin->SysButtons) {
        if ((record->Action == 3 || record->Action == 11) && record->Image.Empty()) {
            // The icon button shows the window's icon.
            record->Image = ReadPixels(FIconBitmap, {0, 0, FIconBitmap.Width(), FIconBitmap.Height()});
            if (FSkin->DefaultIcon->Empty())
                *FSkin->DefaultIcon = record->Image;
            record->FrameCount = 1;
        }
        FTitleButtons.push_back(std::make_unique<TSkinTitleButton>(*this, *record));
    }
}

void TSkinFrame::FreeTitleButtons()
{
    HotObject = nullptr;
    FTitleButtons.clear();
}

void TSkinFrame::FitFrame(bool refreshClient)
{
    if (FWindowState == wsMaximized) {
        SetWindowPos(FWindow, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return;
    }
    if (refreshClient)
        GetClientRect(FWindow, &FInitialClient);
    TSkinSize size = FittedSize({FInitialClient.right, FInitialClient.bottom}, FMetrics, FMenuBarHeight);
    if ((FClassName == "TMessageForm" || FClassName == "#32770") && !refreshClient) {
        // A message box is made wide enough for its whole caption.
        TWindowDC dc(FWindow, TWindowDC::TArea::Window);
        TSelectObject font(dc.Handle(), FCaptionFont.Handle());
        SIZE blank{};
        GetTextExtentPoint32A(dc.Handle(), " ", 1, &blank);
        const std::string caption = ReadWindowText(FWindow);
        const int needed = CaptionFitWidth(static_cast<int>(caption.size()), blank.cx, FMetrics, *FSkin->Title);
        if (size.Width < needed) {
            const int shift = (needed - size.Width) / 2;
            for (HWND child = GetWindow(FWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                RECT r{};
                GetWindowRect(child, &r);
                MapWindowPoints(nullptr, FWindow, reinterpret_cast<POINT*>(&r), 2);
                SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            size.Width = needed;
        }
    }
    // At start a centred form is centred again for its new outer size, in
    // the same move: every move of a shown window repaints all of it.
    const auto origin = FForm && !refreshClient ? FForm->PlacedOrigin(size.Width, size.Height) : std::nullopt;
    if (origin)
        SetWindowPos(FWindow, nullptr, origin->x, origin->y, size.Width, size.Height,
                     SWP_FRAMECHANGED | SWP_NOZORDER | SWP_DEFERERASE);
    else
        SetWindowPos(FWindow, nullptr, 0, 0, size.Width, size.Height,
                     SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_DEFERERASE);
}

void TSkinFrame::Start()
{
    if (FFrameState == fsAttached) {
        TSkinManage* manager = TSkinManage::Instance();
        if (IsMdiChild() && manager && manager->MdiMaximized) {
            SetCaptionStyles(true);
            SetWindowPos(FWindow, nullptr, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        } else if (FWindowState != wsMinimized && FFrameKind != fkNoFrame) {
            FFrameState = fsFitting;
            // The region of the fitted size goes first and unpainted: the
            // fitting move then paints the frame once, already clipped.
            if (FClassName != "TMessageForm" && FClassName != "#32770")
                UpdateRegion(FittedSize({FInitialClient.right, FInitialClient.bottom}, FMetrics, FMenuBarHeight), false);
            FitFrame(false);
            FFrameState = fsRunning;
            UpdateRegion(false);
        }
    }
    FFrameState = fsRunning;
    SetHoverTimer(true);
}

void TSkinFrame::UpdateRegion(bool redraw)
{
    RECT window{};
    if (GetWindowRect(FWindow, &window))
        UpdateRegion({window.right - window.left, window.bottom - window.top}, redraw);
}

void TSkinFrame::UpdateRegion(TSkinSize outer, bool redraw)
{
    const int w = outer.Width, h = outer.Height;
    if (w * h == 0 || (IsMdiChild() && FWindowState != wsNormal))
        return;
    if (w == FRegionSize.Width && h == FRegionSize.Height && !IsMdiChild() && FFrameState != fsReskinning)
        return;
    const TSkinData& s = *FSkin;
    if (2 * s.BorderLeft->Trans + s.BorderRight->Trans + s.BorderTop->Trans == 0) {
        SetWindowRgn(FWindow, nullptr, redraw);
        FRegionSet = false;
        FRegionSize = {w, h};
        return;
    }
    FRegionSize = {w, h};
    const TFrameMetrics& m = FMetrics;
    TGdiHandle<HRGN> region(CreateRectRgn(m.Left, m.Caption, w - m.Right, h - m.Bottom));
    auto addPart = [&](TGdiHandle<HRGN> part) {
        if (part)
            CombineRgn(region.Get(), region.Get(), part.Get(), RGN_OR);
    };
    auto rect = [](int l, int t, int r, int b) { return TGdiHandle<HRGN>(CreateRectRgn(l, t, r, b)); };
    // A border image drawn at the size it takes in the window, its opaque pixels the region.
    auto borderPart = [&](const TDataSkinBorder& border, TSkinSize size, bool vertical, int x, int y) {
        TBitmap bitmap;
        NineSliceBitmap(bitmap, size, border.Image, border.Margins, vertical, border.Tile != 1,
                        border.FrameCount, 1);
        return BitmapToRegion(ReadPixels(bitmap, {0, 0, size.Width, size.Height}), x, y, TTransparency{});
    };
    if (FFrameKind != fkNoFrame) {
        addPart(s.BorderLeft->Trans == 1 && h > 1 ? borderPart(*s.BorderLeft, {m.Left, h}, false, 0, 0)
                                                  : rect(0, 0, m.Left, h));
        addPart(s.BorderRight->Trans == 1 && h > 1 ? borderPart(*s.BorderRight, {m.Right, h}, false, w - m.Right, 0)
                                                   : rect(w - m.Right, 0, w, h));
        if (s.BorderBottom->Trans == 1 && m.Bottom >= 2)
            addPart(borderPart(*s.BorderBottom, {w - m.Left - m.Right, m.Bottom}, true, m.Left, h - m.Bottom));
        else
            addPart(rect(m.Left, h - m.Bottom, w - m.Right, h));
        const int band = w - m.Left - m.Right;
        if (s.BorderTop->Trans == 1 && m.Caption > 1 && band > 0) {
            TSkinBitmap pixels;
            if (!FCaptionBitmap.Empty() && FCaptionBitmap.Width() >= m.Left + band)
                pixels = ReadPixels(FCaptionBitmap, {m.Left, 0, m.Left + band, m.Caption});
            if (pixels.Empty()) {
                TBitmap top;
                NineSliceBitmap(top, {band, m.Caption}, s.BorderTop->Image, s.BorderTop->Margins, true,
                                s.BorderTop->Tile != 1, s.BorderTop->FrameCount, 1);
                pixels = ReadPixels(top, {0, 0, band, m.Caption});
            }
            addPart(BitmapToRegion(pixels, m.Left, 0, TTransparency{}));
        } else {
            addPart(rect(m.Left, 0, w - m.Right, m.Caption));
        }
    }
    // The system owns the region from here on.
    SetWindowRgn(FWindow, region.Release(), redraw);
    FRegionSet = true;
}

// ------------------------------------------------------------- painting

TBitmap& TSkinFrame::BorderPicture(TBorderPicture& picture, const TDataSkinBorder& border, TSkinSize size,
                                   bool vertical)
{
    const int frame = (FActive || border.FrameCount <= 1) ? 1 : 2;
    if (picture.Size != size || picture.Frame != frame || picture.Image != border.Image.Serial()) {
        NineSliceBitmap(picture.Bitmap, size, border.Image, border.Margins, vertical, border.Tile != 1,
                        border.FrameCount, frame);
        picture.Size = size;
        picture.Frame = frame;
        picture.Image = border.Image.Serial();
    }
    return picture.Bitmap;
}

void TSkinFrame::PaintFrame(HDC dc)
{
    if ((FFrameState != fsRunning && FFrameState != fsReskinning) || FFrameKind == fkNoFrame ||
        (IsMdiChild() && FWindowState != wsNormal) || !FSkin || !FSkin->SkinLoaded())
        return;
    std::unique_ptr<TWindowDC> own;
    if (!dc) {
        own = std::make_unique<TWindowDC>(FWindow, TWindowDC::TArea::Window);
        dc = own->Handle();
    }
    try {
        if (!GetWindowRect(FWindow, &FWindowRect))
            return;
        const int w = FWindowRect.right - FWindowRect.left, h = FWindowRect.bottom - FWindowRect.top;
        FWindowWidth = w;
        FWindowHeight = h;
        const TFrameMetrics& m = FMetrics;
        // Each border copied opaque; the side borders run the full height
        // (their caption rows go with the caption).
        auto put = [dc](TBitmap& bitmap, int x, int y) {
            if (!bitmap.Empty())
                BitBlt(dc, x, y, bitmap.Width(), bitmap.Height(), bitmap.DC(), 0, 0, SRCCOPY);
        };
        if (h >= 0 && w - m.Left - m.Right >= 0) {
            put(BorderPicture(FLeftPicture, *FSkin->BorderLeft, {m.Left, h}, false), 0, 0);
            put(BorderPicture(FRightPicture, *FSkin->BorderRight, {m.Right, h}, false), w - m.Right, 0);
            put(BorderPicture(FBottomPicture, *FSkin->BorderBottom, {w - m.Left - m.Right, m.Bottom}, true), m.Left,
                h - m.Bottom);
        }
        PaintCaption(dc);
        if (FMenuBar && FMenuBarHeight > 0)
            FMenuBar->PaintBar(dc, {m.Left, m.Caption, w - m.Right, m.Caption + FMenuBarHeight});
    } catch (...) {
        // A frame that cannot be painted stays as it was; nothing is shown from inside a paint.
    }
    HotObject = nullptr;
}

void TSkinFrame::PaintCaption(HDC dc)
{
    const TFrameMetrics& m = FMetrics;
    const int w = FWindowWidth;
    if (m.Caption <= 0 || w <= 0 || w - m.Left - m.Right < 0)
        return;
    FCaptionBitmap.SetSize(w, m.Caption);
    HDC caption = FCaptionBitmap.DC();
    // The side borders run the full height: their tops belong to the caption row.
    BitBlt(caption, 0, 0, m.Left, m.Caption, FLeftPicture.Bitmap.DC(), 0, 0, SRCCOPY);
    BitBlt(caption, w - m.Right, 0, m.Right, m.Caption, FRightPicture.Bitmap.DC(), 0, 0, SRCCOPY);
    TBitmap& top = BorderPicture(FTopPicture, *FSkin->BorderTop, {w - m.Left - m.Right, m.Caption}, true);
    BitBlt(caption, m.Left, 0, top.Width(), top.Height(), top.DC(), 0, 0, SRCCOPY);
    PaintTitleText(caption);
    LayoutTitleButtons();
    PaintTitleButtons(caption);
    BitBlt(dc, 0, 0, w, m.Caption, caption, 0, 0, SRCCOPY);
    SetBkMode(dc, OPAQUE);
}

void TSkinFrame::PaintTitleText(HDC dc)
{
    const TDataSkinTitle& title = *FSkin->Title;
    const TSkinRect R{FMetrics.Left, 0, FWindowWidth - FMetrics.Right, FMetrics.Caption};
    const std::string text = ReadWindowText(FWindow);
    TSelectObject font(dc, FCaptionFont.Handle());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour =
        SetTextColor(dc, ColorToRGB(FActive ? FSkin->ColorTitleTextActive : FSkin->ColorTitleTextNoActive));
    const std::string measured = FTitlePrefix + " " + text;
    RECT calc{R.Left, R.Top, R.Left, R.Top};
    DrawTextA(dc, measured.data(), static_cast<int>(measured.size()), &calc, DT_CALCRECT | DT_NOCLIP);
    TTitlePlacement placement{R, {calc.right - calc.left, calc.bottom - calc.top}, FRightToLeft,
                              (FStyle & WS_POPUP) != 0, FRightButtonBound};
    FTitleTextRect = PlaceTitleText(title, placement);
    TSkinRect T = FTitleTextRect;
    if (!title.Image.Empty())
        DrawThreeSlice(dc, {T.Left, R.Top, T.Right, R.Bottom}, title.Image, true, true, 2, FActive ? 1 : 2,
                       title.TextBackLeft, title.TextBackRight);
    T.Left += title.TextBackLeft;
    T.Right -= title.TextBackRight;
    RECT out = ToRECT(T);
    const std::string shown = FTitlePrefix + text;
    DrawTextA(dc, shown.data(), static_cast<int>(shown.size()), &out,
              DT_SINGLELINE | DT_END_ELLIPSIS | (FRightToLeft ? DT_RIGHT : 0));
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

TTitleButtonContext TSkinFrame::ButtonContext() const
{
    TTitleButtonContext c;
    c.FrameKind = FFrameKind;
    c.Maximized = FWindowState == wsMaximized;
    c.Active = FActive;
    c.HasSystemMenu = FAvailability & 8;
    c.HasMinimizeBox = FAvailability & 2;
    c.HasMaximizeBox = FAvailability & 1;
    TSkinManage* manager = TSkinManage::Instance();
    c.MdiChildMaximized = FMdiRole == mrFrame && manager && manager->MdiMaximized;
    c.MenuBarHeight = FMenuBarHeight;
    return c;
}

void TSkinFrame::LayoutTitleButtons()
{
    FRightButtonBound = 0;
    TTitleLayoutContext c;
    c.WindowWidth = FWindowWidth;
    c.TitleText = FTitleTextRect;
    c.Frame = FMetrics;
    c.MenuBarHeight = FMenuBarHeight;
    c.RightToLeft = FRightToLeft;
    c.MenuBarLeftWidth = FSkin->MenuBar ? FSkin->MenuBar->LeftWidth() : 0;
    const TTitleButtonContext context = ButtonContext();
    for (auto& button : FTitleButtons) {
        button->Visible = TitleButtonVisible(button->Button, context);
        const TSkinBitmap& image = button->Button.Image;
        if (!button->Visible || image.Empty())
            continue;
        const TSkinSize frame{image.Width() / std::max(button->Button.FrameCount, 1), image.Height()};
        button->Rect = LayoutTitleButton(button->Button, frame, c, FRightButtonBound);
    }
}

void TSkinFrame::PaintTitleButtons(HDC dc)
{
    for (auto& button : FTitleButtons) {
        const TDataSkinSysButton& record = button->Button;
        if (!button->Visible || record.Image.Empty() || record.Visibility == 100)
            continue;
        const RECT r = ToRECT(button->Rect);
        if (record.Action == 3 || record.Action == 11)
            DrawStripFrame(dc, r, FIconBitmap, true, 1, 1);
        else
            DrawStripFrame(dc, r, record.Image, true, record.FrameCount,
                           TitleButtonPaintFrame(record.FrameCount, FActive));
    }
}

void TSkinFrame::PaintTitleButton(TSkinTitleButton& button)
{
    const TDataSkinSysButton& record = button.Button;
    if (!button.Visible || record.Image.Empty() || FFrameState != fsRunning || FCaptionBitmap.Empty())
        return;
    const RECT r = ToRECT(button.Rect);
    const int w = r.right - r.left, h = r.bottom - r.top;
    // The caption under the button first, so its transparent parts show it;
    // composed off-screen and copied in one blit.
    TBitmap piece;
    piece.SetSize(w, h);
    BitBlt(piece.DC(), 0, 0, w, h, FCaptionBitmap.DC(), r.left, r.top, SRCCOPY);
    const RECT local{0, 0, w, h};
    if (record.Action == 3 || record.Action == 11) {
        DrawStripFrame(piece.DC(), local, FIconBitmap, true, 1, 1);
    } else {
        int frame = button.State;
        if (record.Visibility == 100 && button.State == TNCObject::nsHot)
            frame = 4;
        DrawStripFrame(piece.DC(), local, record.Image, true, record.FrameCount, frame);
    }
    TWindowDC dc(FWindow, TWindowDC::TArea::Window);
    BitBlt(dc.Handle(), r.left, r.top, w, h, piece.DC(), 0, 0, SRCCOPY);
}

// -------------------------------------------------------------- actions

void TSkinFrame::SetHoverTimer(bool enabled)
{
    if (FHoverTimer)
        FHoverTimer->SetEnabled(enabled);
}

void TSkinFrame::CloseWindow()
{
    SetHoverTimer(false);
    PostMessageA(FWindow, WM_CLOSE, 0, 0);
}

void TSkinFrame::Restore()
{
    FWindowState = wsNormal;
    PostMessageA(FWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TSkinFrame::ToggleMaximize()
{
    if (FWindowState == wsMaximized) {
        Restore();
        return;
    }
    FWindowState = wsMaximized;
    PostMessageA(FWindow, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    HotObject = nullptr;
}

void TSkinFrame::ToggleMinimize()
{
    if (FWindowState == wsMinimized) {
        Restore();
        return;
    }
    FWindowState = wsMinimized;
    PostMessageA(FWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TSkinFrame::RunTitleAction(int action, POINT screen)
{
    auto mdiCommand = [this](WPARAM command) {
        if (FMdiRole != mrFrame)
            return;
        HWND client = nullptr;
        for (HWND child = GetTopWindow(FWindow); child && !client; child = GetWindow(child, GW_HWNDNEXT))
            if (TSkinManage::ClassNameOf(child) == "MDIClient")
                client = child;
        HWND active = client ? reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
        if (active)
            SendMessageA(active, WM_SYSCOMMAND, command, 0);
    };
    switch (action) {
    case 0: CloseWindow(); break;
    case 1:
    case 22: ToggleMaximize(); break;
    case 2:
    case 23: ToggleMinimize(); break;
    case 3:
    case 11:
    case 12: OpenSystemMenu({screen.x + 1, screen.y + 1}); break;
    case 7:
    case 60: mdiCommand(SC_MINIMIZE); break;
    case 8:
    case 61: mdiCommand(SC_RESTORE); break;
    case 9:
    case 62: mdiCommand(SC_CLOSE); break;
    default: PostMessageA(FWindow, SKM_SKINNED, static_cast<WPARAM>(action), 0); break;
    }
}

void TSkinFrame::OpenSystemMenu(POINT screen)
{
    if (FSystemMenu)
        for (int i = 0; i < FSystemMenu->Items().Count(); ++i) {
            TMenuItem* item = FSystemMenu->Items().Items(i);
            switch (item->Tag) {
            case 0: item->Enabled = FWindowState != wsNormal; break;
            case 1: item->Enabled = FWindowState != wsMaximized; break;
            case 2: item->Enabled = FWindowState != wsMinimized; break;
            default: break;
            }
        }
    const DWORD now = GetTickCount();
    if (FLastMenuOpen != 0 && now - FLastMenuOpen <= FDoubleClickTime) {
        // The second opening within the double-click time: a double click closes.
        FLastMenuOpen = 0;
        CloseWindow();
        return;
    }
    FLastMenuOpen = now;
    if (FSkin->SkinControls.Contains(TSkinControlType::xcSystemMenu) && !IsMdiChild() && FSystemMenu)
        FSystemMenu->Popup(screen.x, screen.y);
    else if (FWindowSystemMenu)
        TrackPopupMenu(FWindowSystemMenu, TPM_RIGHTBUTTON, screen.x, screen.y, 0, FWindow, nullptr);
}

void TSkinFrame::HoverCheck()
{
    if (InMenuLoop)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (HotObject && !Contains(HotObject->Rect, FramePoint(cursor)))
        HotObject->MouseLeave();
    if (!FForm && HotControl && HotControl->Window()) {
        RECT r{};
        GetWindowRect(HotControl->Window(), &r);
        if (!PtInRect(&r, cursor)) {
            SendMessageA(HotControl->Window(), CM_MOUSELEAVE, 0, 0);
            HotControl = nullptr;
        }
    }
}

POINT TSkinFrame::FramePoint(POINT screen) const
{
    POINT p = screen;
    ScreenToClient(FWindow, &p);
    if (FWindowState != wsMinimized) {
        p.x += FMetrics.Left;
        p.y += FMetrics.Caption + FMenuBarHeight;
    }
    return p;
}

TNCObject* TSkinFrame::ObjectAt(POINT framePoint)
{
    for (auto& button : FTitleButtons)
        if (button->Visible && button->Button.Action >= 0 && Contains(button->Rect, framePoint))
            return button.get();
    return FMenuBar ? FMenuBar->HitItem(framePoint) : nullptr;
}

// ------------------------------------------------------- window procedure

LRESULT TSkinFrame::WindowProcedure(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    try {
        if (StageOne(msg, wParam, lParam, result))
            return result;
        if (!MainMenuSkinned())
            return Pass(msg, wParam, lParam);
        if (StageTwo(msg, wParam, lParam, result))
            return result;
        if (StageThree(msg, wParam, lParam, result))
            return result;
        return Pass(msg, wParam, lParam);
    } catch (...) {
        // The frame's own work failed (the window's handlers catch their
        // own failures further down); no exception may cross the caller.
        return result;
    }
}

bool TSkinFrame::StageOne(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_SIZE:
        result = Pass(msg, wParam, lParam);
        FWindowState = wParam == SIZE_MINIMIZED ? wsMinimized : wParam == SIZE_MAXIMIZED ? wsMaximized : wsNormal;
        if (FWindowState == wsMinimized)
            return true;
        if (FFrameState == fsAttached) {
            GetClientRect(FWindow, &FInitialClient);
            return true;
        }
        if (IsMdiChild() && (FWindowState != wsNormal || (TSkinManage::Instance() && TSkinManage::Instance()->MdiMaximized)))
            return true;
        if (FFrameState == fsRunning || FFrameState == fsReskinning)
            UpdateRegion();
        return true;
    case WM_ERASEBKGND:
        result = Pass(msg, wParam, lParam);
        if (!FForm) {
            RECT r{};
            GetClientRect(FWindow, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, reinterpret_cast<HBRUSH>(FSkin->FaceBrush.Handle()));
        }
        result = 1;
        return true;
    case WM_STYLECHANGED:
        if (wParam == static_cast<WPARAM>(GWL_STYLE))
            FStyle = reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew;
        result = Pass(msg, wParam, lParam);
        return true;
    case WM_NCDESTROY:
        FFrameState = fsDestroying;
        DetachOnDestroy();
        result = Pass(msg, wParam, lParam);
        FFrameState = fsFinished;
        return true;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        result = Pass(msg, wParam, lParam);
        if (!FForm)
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        if (msg == WM_CTLCOLORSTATIC)
            result = static_cast<LRESULT>(FSkin->FaceBrush.Handle());
        return true;
    case SKM_SKINNED:
        result = 1;
        return true;
    default:
        return false;
    }
}

bool TSkinFrame::StageTwo(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if ((GetWindowLongPtrA(FWindow, GWL_STYLE) & WS_CHILD) && !IsMdiChild()) {
        result = Pass(msg, wParam, lParam);
        return true;
    }
    switch (msg) {
    case WM_ACTIVATE:
        FActive = LOBYTE(LOWORD(wParam)) != WA_INACTIVE;
        return false;
    case WM_NCACTIVATE:
        FActive = wParam != 0;
        return false;
    case WM_GETMINMAXINFO: {
        result = Pass(msg, wParam, lParam);
        ReadWindowState();
        if (FWindowState == wsMinimized)
            SetCaptionStyles(true);
        else if (!IsMdiChild())
            SetCaptionStyles(false);
        else if (FWindowState == wsNormal) {
            if (TSkinManage* manager = TSkinManage::Instance())
                manager->MdiMaximized = false;
            SetCaptionStyles(false);
        } else
            SetCaptionStyles(true);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
        return true;
    }
    case WM_WINDOWPOSCHANGED:
        ReadWindowState();
        result = Pass(msg, wParam, lParam);
        return true;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case SC_SIZE:
        case SC_MOVE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
        case SC_CLOSE:
        case SC_RESTORE:
            // A command of the window's own system menu shown by the frame.
            PostMessageA(FWindow, WM_SYSCOMMAND, LOWORD(wParam), 0);
            return true;
        default: return false;
        }
    case WM_SYSCOMMAND:
        result = OnSysCommand(wParam, lParam);
        return true;
    case SKM_START:
        Start();
        return true;
    case CM_MENUCHANGED:
        FSkin->NCPaintEnabled = false;
        result = Pass(msg, wParam, lParam);
        FSkin->NCPaintEnabled = true;
        if (FMenuBar && FSkin->MenuUpdate && GetMenu(FWindow))
            FMenuBar->BuildFromWindowMenu();
        return true;
    default: return false;
    }
}

LRESULT TSkinFrame::OnSysCommand(WPARAM wParam, LPARAM lParam)
{
    if (!InMenuLoop && (wParam & 0xFFF0) == SC_KEYMENU && lParam != ' ' && lParam != '-' && !GetCapture()) {
        // Alt alone does not enter the system's menu mode over a frame it cannot draw.
        if (lParam == 0)
            return 1;
        // Alt and an item's accelerator open that item of the skinned bar.
        if (TMenuBtn* item = FMenuBar ? FMenuBar->FindAccelItem(static_cast<char>(lParam)) : nullptr) {
            FMenuBar->OpenMenuItem(*item);
            return 1;
        }
    }
    switch (wParam & 0xFFF0) {
    case SC_MINIMIZE:
        FWindowState = wsMinimized;
        if (IsMdiChild())
            SetCaptionStyles(true);
        break;
    case SC_MAXIMIZE: FWindowState = wsMaximized; break;
    case SC_RESTORE:
        FWindowState = wsNormal;
        if (IsMdiChild())
            SetCaptionStyles(false);
        break;
    default: break;
    }
    return Pass(WM_SYSCOMMAND, wParam, lParam);
}

bool TSkinFrame::StageThree(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (FFrameState == fsAttached || FWindowState == wsMinimized || (IsMdiChild() && FWindowState != wsNormal))
        return false;
    switch (msg) {
    case WM_NCCALCSIZE:
        result = OnNcCalcSize(wParam, lParam);
        return true;
    case WM_NCHITTEST: {
        result = Pass(msg, wParam, lParam);
        const POINT p = FramePoint({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        result = AdjustFrameHitTest(static_cast<int>(result), p.y, FMetrics.Caption);
        return true;
    }
    case WM_NCPAINT:
        if (!FSkin->NCPaintEnabled) {
            result = 0;
            return true;
        }
        if ((IsMdiChild() && FWindowState != wsNormal) || FFrameKind == fkNoFrame)
            return false;
        PaintFrame(nullptr);
        result = 0;
        return true;
    case WM_NCACTIVATE:
        FActive = wParam != 0;
        SetHoverTimer(FActive);
        if (!FActive && HotControl) {
            SendMessageA(HotControl->Window(), CM_MOUSELEAVE, 0, 0);
            HotControl = nullptr;
        }
        if (!(IsMdiChild() && FWindowState != wsNormal))
            PaintFrame(nullptr);
        result = 1;
        return true;
    case WM_NCMOUSEMOVE: {
        if (!FActive)
            return true;
        TNCObject* object = ObjectAt(FramePoint({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
        if (object) {
            object->MouseEnter();
            return true;
        }
        if (HotObject)
            HotObject->MouseLeave();
        return false;
    }
    case WM_NCLBUTTONDOWN: {
        TNCObject* object = ObjectAt(FramePoint({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
        if (object) {
            if (!FActive)
                SetForegroundWindow(FWindow);
            object->MouseDown();
            if (auto* item = dynamic_cast<TMenuBtn*>(object))
                FMenuBar->OpenMenuItem(*item);
            return true;
        }
        if (FWindowState == wsMaximized && FActive && wParam == HTCAPTION) {
            result = Pass(msg, HTMENU, lParam);
            return true;
        }
        return false;
    }
    case WM_NCLBUTTONUP: {
        const POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        TNCObject* object = ObjectAt(FramePoint(screen));
        if (!object)
            return false;
        if (auto* button = dynamic_cast<TSkinTitleButton*>(object); button && HotObject == button) {
            button->MouseUp();
            RunTitleAction(button->Button.Action, screen);
        }
        return true;
    }
    case WM_NCLBUTTONDBLCLK: {
        // A double click on the icon button closes, as the system's own
        // caption does; the menu its first click opened may have taken
        // the second click's press.
        auto* icon = dynamic_cast<TSkinTitleButton*>(ObjectAt(FramePoint({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})));
        if (icon && (icon->Button.Action == 3 || icon->Button.Action == 11)) {
            HotObject = nullptr;
            CloseWindow();
        } else if (FWindowState != wsNormal)
            Restore();
        else if (FAvailability & 1)
            ToggleMaximize();
        return true;
    }
    case WM_NCRBUTTONDOWN:
        if (wParam == HTCAPTION && !IsMdiChild()) {
            OpenSystemMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return true;
        }
        return false;
    case WM_MEASUREITEM:
    case WM_DRAWITEM: return HandleFrameMenuItem(*this, msg, wParam, lParam, result);
    case WM_MENUSELECT:
        NoteMenuSelect(wParam, lParam);
        return false;
    case SKM_NCREPAINT:
        PaintFrame(nullptr);
        return true;
    default: return false;
    }
}

LRESULT TSkinFrame::OnNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    Pass(WM_NCCALCSIZE, wParam, lParam);
    if (!wParam)
        return 0;
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    const WINDOWPOS& pos = *params->lppos;
    if ((IsMdiChild() && FWindowState != wsNormal) || FFrameKind == fkNoFrame) {
        params->rgrc[1] = params->rgrc[0];
    } else {
        const RECT client = ToRECT(ClientRectFor(pos.x, pos.y, pos.cx, pos.cy, FMetrics, FMenuBarHeight));
        params->rgrc[0] = client;
        params->rgrc[1] = client;
    }
    return WVR_VALIDRECTS;
}

void TSkinFrame::FormHook(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETTEXT:
        FSavedWindowProc(message);
        SetWindowPos(FWindow, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return;
    case SKM_RESKIN:
        Reskin();
        return;
    default: FSavedWindowProc(message); return;
    }
}

// -------------------------------------------------------------- life cycle

void TSkinFrame::Reskin()
{
    if (FForm)
        FForm->SetColor(FSkin->ColorButtonFace);
    for (TSkinControl* control : FControls)
        control->Refresh();
    FFrameState = fsReskinning;
    if (MainMenuSkinned()) {
        SetPopupOwnerDraw(*this, true);
        FitFrame(true);
        FFrameState = fsRunning;
        UpdateRegion();
    }
    FFrameState = fsRunning;
}

void TSkinFrame::ApplyColours()
{
    if (FForm) {
        FForm->SetColor(FSkin->ColorButtonFace);
        FForm->Invalidate();
    }
    for (TSkinControl* control : FControls)
        control->Refresh();
    SendMessageA(FWindow, SKM_NCREPAINT, 0, 0);
}

void TSkinFrame::ReleaseControlsAndMenus(bool destroying)
{
    delete FSystemMenu;
    SetHoverTimer(false);
    if (FFormHooked && FForm) {
        FForm->WindowProc = FSavedWindowProc;
        FFormHooked = false;
    }
    FSubclass.Remove();
    FreeControls();
    if (!destroying && FForm) {
        SetPopupOwnerDraw(*this, false);
        FForm->SetColor(FSavedColour);
    }
}

// The first steps of both ways out; false when the frame itself was never hooked.
bool TSkinFrame::StartDetach()
{
    if (!MainMenuSkinned()) {
        DetachControlsOnly();
        return false;
    }
    delete FSystemMenu;
    SetHoverTimer(false);
    return FSubclass.Installed();
}

void TSkinFrame::Detach()
{
    if (!StartDetach())
        return;
    const bool destroying = FFrameState == fsDestroying;
    const int menuBarHeight = FMenuBarHeight;
    ReleaseControlsAndMenus(destroying);
    if (!destroying)
        SetCaptionStyles(true);
    if (FMenuBar) {
        FMenuBar->RestoreMenu();
        delete FMenuBar;
    }
    FCaptionBitmap.SetSize(0, 0);
    if (!destroying && !((GetWindowLongPtrA(FWindow, GWL_STYLE) & WS_CHILD) && !IsMdiChild())) {
        RECT window{};
        GetWindowRect(FWindow, &window);
        const TSkinSize size = UnskinnedSize(WindowSize(window), FMetrics, menuBarHeight, FInitialNonClient);
        POINT at{window.left, window.top};
        if (IsMdiChild())
            ScreenToClient(GetParent(FWindow), &at);
        SetWindowPos(FWindow, nullptr, at.x, at.y, size.Width, size.Height,
                     SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
        if (FForm)
            FForm->ApplyPosition();
    }
    SetWindowRgn(FWindow, nullptr, TRUE);
    FRegionSet = false;
    FRegionSize = {};
}

void TSkinFrame::DetachOnDestroy()
{
    if (!StartDetach())
        return;
    ReleaseControlsAndMenus(true);
    delete FMenuBar;
    FCaptionBitmap.SetSize(0, 0);
}

void TSkinFrame::DetachControlsOnly()
{
    SetHoverTimer(false);
    FreeControls();
    const bool destroying = FFrameState == fsDestroying;
    if (FForm) {
        SetPopupOwnerDraw(*this, false);
        if (!destroying)
            FForm->SetColor(FSavedColour);
    }
    if (FFormHooked && FForm) {
        FForm->WindowProc = FSavedWindowProc;
        FFormHooked = false;
    }
    FSubclass.Remove();
    if (!destroying && FForm)
        for (int i = 0; i < FForm->ComponentCount(); ++i)
            if (auto* control = dynamic_cast<TControl*>(FForm->Components(i)))
                control->Invalidate();
}

// ----------------------------------------------------------- the controls

bool TSkinFrame::RegisterControl(TSkinControl* control)
{
    if (std::find(FControls.begin(), FControls.end(), control) != FControls.end())
        return true;
    FControls.push_back(control);
    return false;
}

void TSkinFrame::UnregisterControl(TSkinControl* control)
{
    const auto found = std::find(FControls.rbegin(), FControls.rend(), control);
    if (found != FControls.rend())
        FControls.erase(std::next(found).base());
    if (HotControl == control)
        HotControl = nullptr;
}

TSkinControl* TSkinFrame::FindControl(HWND window) const
{
    for (TSkinControl* control : FControls)
        if (control->Window() == window)
            return control;
    return nullptr;
}

void TSkinFrame::FreeControls()
{
    HotControl = nullptr;
    while (!FControls.empty()) {
        TSkinControl* control = FControls.front();
        control->Detach();
        UnregisterControl(control);
        delete control;
    }
}

void TSkinFrame::FreeFinishedControls()
{
    std::vector<TSkinControl*> finished;
    for (TSkinControl* control : FControls)
        if (control->LifeState() == TSkinControl::lsDestroyed)
            finished.push_back(control);
    for (TSkinControl* control : finished) {
        UnregisterControl(control);
        delete control;
    }
}

} // namespace orbelin
