#include "ui/Graphics.h"

#include <map>

namespace orbelin {

namespace {
int gLiveGdiOwners = 0;

std::map<HBITMAP, uint32_t*>& OwnDibs()
{
    static std::map<HBITMAP, uint32_t*> dibs;
    return dibs;
}
} // namespace

int LiveGdiOwners() { return gLiveGdiOwners; }

void CountGdiOwner(int delta) { gLiveGdiOwners += delta; }

TMemoryDC::TMemoryDC(HDC compatible) : FDC(CreateCompatibleDC(compatible))
{
    if (FDC)
        CountGdiOwner(1);
}

TMemoryDC::~TMemoryDC()
{
    if (FDC) {
        DeleteDC(FDC);
        CountGdiOwner(-1);
    }
}

TWindowDC::TWindowDC(HWND window, TArea area)
    : FWindow(window), FDC(area == TArea::Window ? GetWindowDC(window) : GetDC(window))
{
    if (FDC)
        CountGdiOwner(1);
}

TWindowDC::TWindowDC(HWND window, HRGN clip, DWORD flags) : FWindow(window), FDC(GetDCEx(window, clip, flags))
{
    if (FDC)
        CountGdiOwner(1);
}

TWindowDC::~TWindowDC()
{
    if (FDC) {
        ::ReleaseDC(FWindow, FDC);
        CountGdiOwner(-1);
    }
}

COLORREF ColorToRGB(TColor color)
{
    const auto c = static_cast<uint32_t>(color);
    if ((c & 0xFF000000u) == 0xFF000000u)
        return GetSysColor(static_cast<int>(c & 0xFF));
    return c & 0x00FFFFFFu;
}

namespace {

constexpr TEnumName<TColor> ColorNames[] = {
    {"clNone", clNone},           {"clDefault", clDefault},     {"clBlack", clBlack},
    {"clWhite", clWhite},         {"clRed", clRed},             {"clBlue", clBlue},
    {"clMaroon", clMaroon},       {"clNavy", clNavy},           {"clFuchsia", clFuchsia},
    {"clBtnFace", clBtnFace},     {"clWindow", clWindow},       {"clWindowText", clWindowText},
    {"clBtnText", clBtnText},     {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText},
    {"clGrayText", clGrayText},
};

constexpr TEnumName<int> CharsetNames[] = {
    {"ANSI_CHARSET", ANSI_CHARSET},
    {"DEFAULT_CHARSET", DEFAULT_CHARSET},
    {"SYMBOL_CHARSET", SYMBOL_CHARSET},
    {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET},
    {"HANGEUL_CHARSET", HANGEUL_CHARSET},
    {"GB2312_CHARSET", GB2312_CHARSET},
    {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
    {"OEM_CHARSET", OEM_CHARSET},
};

constexpr TEnumName<TFontStyle> FontStyleNames[] = {
    {"fsBold", fsBold},
    {"fsItalic", fsItalic},
    {"fsUnderline", fsUnderline},
    {"fsStrikeOut", fsStrikeOut},
};

} // namespace

TColor ColorFromProperty(const TPropertyValue& value)
{
    if (value.IsInteger())
        return static_cast<TColor>(value.AsInteger());
    return EnumFromName(ColorNames, value.AsIdentifier());
}

TFont& TFont::operator=(const TFont& other)
{
    if (this != &other) {
        Name = other.Name;
        Height = other.Height;
        Color = other.Color;
        Style = other.Style;
        Charset = other.Charset;
        FHandle.Reset();
    }
    return *this;
}

HFONT TFont::Handle() const
{
    if (!FHandle) {
        LOGFONTA lf{};
        lf.lfHeight = Height;
        lf.lfWeight = (Style & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (Style & fsItalic) ? TRUE : FALSE;
        lf.lfUnderline = (Style & fsUnderline) ? TRUE : FALSE;
        lf.lfStrikeOut = (Style & fsStrikeOut) ? TRUE : FALSE;
        lf.lfCharSet = static_cast<BYTE>(Charset);
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynA(lf.lfFaceName, Name.c_str(), LF_FACESIZE);
        FHandle.Reset(CreateFontIndirectA(&lf));
    }
    return FHandle.Get();
}

const TPropertyTable<TFont>& TFont::Properties()
{
    static const TPropertyTable<TFont> table({
        Field("Name", &TFont::Name),
        Field("Height", &TFont::Height),
        Property<TFont>("Charset",
                        [](TFont& f, const TPropertyValue& v) {
                            f.Charset = v.IsInteger() ? static_cast<int>(v.AsInteger())
                                                      : EnumFromName(CharsetNames, v.AsIdentifier());
                        }),
        ColorField("Color", &TFont::Color),
        FlagsField("Style", &TFont::Style, FontStyleNames),
    });
    return table;
}

void TCanvas::FillRect(const RECT& r)
{
    TGdiHandle<HBRUSH> brush(CreateSolidBrush(ColorToRGB(BrushColor)));
    ::FillRect(FDC, &r, brush.Get());
}

void TCanvas::FrameRect(const RECT& r)
{
    TGdiHandle<HBRUSH> brush(CreateSolidBrush(ColorToRGB(PenColor)));
    ::FrameRect(FDC, &r, brush.Get());
}

void TCanvas::Line(int x1, int y1, int x2, int y2)
{
    TGdiHandle<HPEN> pen(CreatePen(PS_SOLID, 1, ColorToRGB(PenColor)));
    TSelectObject select(FDC, pen.Get());
    MoveToEx(FDC, x1, y1, nullptr);
    LineTo(FDC, x2, y2);
}

void TCanvas::DrawText(const std::string& text, RECT r, UINT format)
{
    TSelectObject select(FDC, Font.Handle());
    const int oldMode = SetBkMode(FDC, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(FDC, ColorToRGB(Font.Color));
    ::DrawTextA(FDC, text.data(), static_cast<int>(text.size()), &r, format);
    SetTextColor(FDC, oldColor);
    SetBkMode(FDC, oldMode);
}

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap()
{
    ReleaseDC();
    if (FBits)
        OwnDibs().erase(FBitmap.Get());
}

uint32_t* TBitmap::OwnBits(HBITMAP bitmap)
{
    const auto found = OwnDibs().find(bitmap);
    return found == OwnDibs().end() ? nullptr : found->second;
}

void TBitmap::ReleaseDC()
{
    FSelected.reset();
    FDC.reset();
}

void TBitmap::SetSize(int width, int height)
{
    // A device-independent bitmap: drawing on it stays in the process (a
    // screen-compatible one may live in the display server, a round trip a call).
    SetSizeDib(width, height);
}

void TBitmap::SetSizeDib(int width, int height)
{
    if (FBitmap && FBits && width == FWidth && height == FHeight)
        return;
    ReleaseDC();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first, as skin bitmaps hold their pixels
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    if (FBits)
        OwnDibs().erase(FBitmap.Get());
    FBitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    FBits = FBitmap ? static_cast<uint32_t*>(bits) : nullptr;
    if (FBits)
        OwnDibs()[FBitmap.Get()] = FBits;
    FWidth = FBitmap ? width : 0;
    FHeight = FBitmap ? height : 0;
}

void TBitmap::Assign(HBITMAP bitmap)
{
    ReleaseDC();
    if (FBits)
        OwnDibs().erase(FBitmap.Get());
    FBits = nullptr;
    FBitmap.Reset(bitmap);
    BITMAP info{};
    if (bitmap && GetObjectA(bitmap, sizeof(info), &info)) {
        FWidth = info.bmWidth;
        FHeight = info.bmHeight;
    } else {
        FWidth = FHeight = 0;
    }
}

bool TBitmap::LoadFromResource(HINSTANCE instance, const char* name)
{
    Assign(static_cast<HBITMAP>(LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    return !Empty();
}

HDC TBitmap::DC()
{
    if (!FDC) {
        FDC.emplace();
        FSelected.emplace(FDC->Handle(), FBitmap.Get());
    }
    return FDC->Handle();
}

void TBitmap::StretchDraw(HDC target, const RECT& r)
{
    if (Empty())
        return;
    const int oldMode = SetStretchBltMode(target, HALFTONE);
    StretchBlt(target, r.left, r.top, r.right - r.left, r.bottom - r.top, DC(), 0, 0, FWidth, FHeight, SRCCOPY);
    SetStretchBltMode(target, oldMode);
}

void TBitmap::Draw(HDC target, int x, int y)
{
    if (!Empty())
        BitBlt(target, x, y, FWidth, FHeight, DC(), 0, 0, SRCCOPY);
}

TIcon::~TIcon()
{
    if (FIcon)
        DestroyIcon(FIcon);
}

bool TIcon::LoadFromResource(HINSTANCE instance, const char* name, int size)
{
    if (FIcon)
        DestroyIcon(FIcon);
    FIcon = static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON, size, size, 0));
    return FIcon != nullptr;
}

} // namespace orbelin
