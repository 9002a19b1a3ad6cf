#pragma once
// Owning wrappers for GDI objects and a canvas over a device context. Each
// wrapper deletes what it created and restores what it selected.

#include "base/Colors.h"
#include "base/PropertyTable.h"

#include <windows.h>

#include <cstdint>
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

// GDI objects and device contexts alive in the owners below. Every object
// the program creates goes through one, so a count that grows across
// repaints is a leak (the system's own counters are not available under
// every platform the program runs on).
int LiveGdiOwners();
void CountGdiOwner(int delta);

// Move-only owner of one GDI object handle.
template <class H>
class TGdiHandle {
public:
    TGdiHandle() = default;
    explicit TGdiHandle(H handle) : FHandle(handle)
    {
        if (handle)
            CountGdiOwner(1);
    }
    TGdiHandle(TGdiHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
    TGdiHandle& operator=(TGdiHandle&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.FHandle, nullptr));
        return *this;
    }
    ~TGdiHandle() { Reset(); }
    H Get() const { return FHandle; }
    // Hands the handle over to a new owner (the system, for a window region).
    H Release()
    {
        if (FHandle)
            CountGdiOwner(-1);
        return std::exchange(FHandle, nullptr);
    }
    void Reset(H handle = nullptr)
    {
        if (FHandle) {
            DeleteObject(FHandle);
            CountGdiOwner(-1);
        }
        FHandle = handle;
        if (FHandle)
            CountGdiOwner(1);
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

// A memory device context, deleted with its owner.
class TMemoryDC {
public:
    explicit TMemoryDC(HDC compatible = nullptr);
    ~TMemoryDC();
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Handle() const { return FDC; }

private:
    HDC FDC;
};

// A window's device context (client area, whole window, or GetDCEx; the
// screen's for a null window), released with its owner.
class TWindowDC {
public:
    enum class TArea { Client, Window };
    explicit TWindowDC(HWND window, TArea area = TArea::Client);
    TWindowDC(HWND window, HRGN clip, DWORD flags);
    ~TWindowDC();
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Handle() const { return FDC; }

private:
    HWND FWindow;
    HDC FDC;
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
    ~TBitmap();
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

    // A 32-bit top-down bitmap whose pixels the caller may write.
    void SetSizeDib(int width, int height);
    uint32_t* Bits() const { return FBits; }
    // The pixels of a bitmap made by SetSizeDib, found by its handle (the
    // system does not tell a top-down bitmap from a bottom-up one); null
    // for any other bitmap.
    static uint32_t* OwnBits(HBITMAP bitmap);

private:
    void ReleaseDC();
    TGdiHandle<HBITMAP> FBitmap;
    // Destroyed in reverse order: the bitmap is selected out of the DC,
    // then the DC is deleted, then the bitmap.
    std::optional<TMemoryDC> FDC;
    std::optional<TSelectObject> FSelected;
    uint32_t* FBits = nullptr;
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
