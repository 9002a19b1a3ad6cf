#pragma once
// Owning wrappers for GDI objects and a canvas over a device context. Each
// wrapper deletes what it created and restores what it selected.

#include "base/Colors.h"
#include "base/PropertyTable.h"

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

namespace orbelin {

// 0xFF0000nn is system colour nn, anything else 0x00BBGGRR.
COLORREF ColorToRGB(TColor color);
// A colour as a form description writes it: a name (clRed, clBtnFace, ...)
// or a number. Any other name raises EConvertError.
TColor ColorFromProperty(const TPropertyValue& value);

// A colour field in a property table.
template <class C>
TPropertyRow<C> ColorField(const char* name, TColor C::*field)
{
    return Property<C>(name, [field](C& o, const TPropertyValue& v) { o.*field = ColorFromProperty(v); });
}

// Move-only owner of one GDI object handle.
template <class H>
class TGdiHandle {
public:
    TGdiHandle() = default;
    explicit TGdiHandle(H handle) : FHandle(handle) {}
    TGdiHandle(TGdiHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
    TGdiHandle& operator=(TGdiHandle&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.FHandle, nullptr));
        return *this;
    }
    ~TGdiHandle() { Reset(); }
    H Get() const { return FHandle; }
    H Release() { return std::exchange(FHandle, nullptr); }
    void Reset(H handle = nullptr)
    {
        if (FHandle)
            DeleteObject(FHandle);
        FHandle = handle;
    }
    explicit operator bool() const { return FHandle != nullptr; }

private:
    H FHandle = nullptr;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont {
public:
    std::string Name = "宋体";
    int Height = -12; // negative: character height in pixels
    TColor Color = clWindowText;
    unsigned Style = 0;
    int Charset = GB2312_CHARSET;

    HFONT Handle() const; // created on demand, owned
    void Changed() { FHandle.Reset(); }
    bool operator==(const TFont& o) const
    {
        return Name == o.Name && Height == o.Height && Color == o.Color && Style == o.Style && Charset == o.Charset;
    }
    TFont& operator=(const TFont& other);
    TFont() = default;
    TFont(const TFont& other) { *this = other; }
    // Name, Height, Color, Style and Charset; a control publishes them as
    // "Font.Name" and so on, calling Changed before one is set.
    static const TPropertyTable<TFont>& Properties();

private:
    mutable TGdiHandle<HFONT> FHandle;
};

// The DC of a window's client area, or of the screen for a null window,
// released when the owner goes.
class TWindowDC {
public:
    explicit TWindowDC(HWND window) : FWindow(window), FDC(GetDC(window)) {}
    ~TWindowDC()
    {
        if (FDC)
            ReleaseDC(FWindow, FDC);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Handle() const { return FDC; }

private:
    HWND FWindow;
    HDC FDC;
};

// A memory DC compatible with the screen, deleted when the owner goes.
class TMemoryDC {
public:
    TMemoryDC() : FDC(CreateCompatibleDC(nullptr)) {}
    ~TMemoryDC()
    {
        if (FDC)
            DeleteDC(FDC);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Handle() const { return FDC; }

private:
    HDC FDC;
};

// Selects an object into a DC for a scope and selects the old one back.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) : FDC(dc), FOld(SelectObject(dc, object)) {}
    ~TSelectObject() { SelectObject(FDC, FOld); }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC FDC;
    HGDIOBJ FOld;
};

// A canvas over a DC it does not own.
class TCanvas {
public:
    explicit TCanvas(HDC dc) : FDC(dc) {}
    HDC Handle() const { return FDC; }
    TFont Font;
    TColor BrushColor = clWhite;
    TColor PenColor = clBlack;

    void FillRect(const RECT& r);
    void FrameRect(const RECT& r);
    void Line(int x1, int y1, int x2, int y2);
    // Draws text with the canvas font on a transparent background.
    void DrawText(const std::string& text, RECT r, UINT format);

private:
    HDC FDC;
};

// A device-dependent bitmap with its own memory DC.
class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int width, int height);
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    void SetSize(int width, int height);
    // Takes ownership of bitmap.
    void Assign(HBITMAP bitmap);
    bool LoadFromResource(HINSTANCE instance, const char* name);
    bool Empty() const { return !FBitmap; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    HBITMAP Handle() const { return FBitmap.Get(); }
    HDC DC(); // memory DC with the bitmap selected
    TCanvas Canvas() { return TCanvas(DC()); }
    void StretchDraw(HDC target, const RECT& r);
    void Draw(HDC target, int x, int y);

private:
    void ReleaseDC();
    TGdiHandle<HBITMAP> FBitmap;
    // Destroyed in reverse order: the bitmap is selected out of the DC,
    // then the DC is deleted, then the bitmap.
    std::optional<TMemoryDC> FDC;
    std::optional<TSelectObject> FSelected;
    int FWidth = 0;
    int FHeight = 0;
};

class TIcon {
public:
    TIcon() = default;
    ~TIcon();
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;
    bool LoadFromResource(HINSTANCE instance, const char* name, int size);
    HICON Handle() const { return FIcon; }

private:
    HICON FIcon = nullptr;
};

} // namespace orbelin
