#pragma once
// The pictures the skinned windows should show, made by the test itself from
// the skin's source: the bitmap files and the description the skin generator
// wrote into the build tree. Nothing here goes through the skin store or the
// skin's drawing code, so a fault they share with the frame still shows.

#include "skin/data/SkinBitmap.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace orbelin::test {

// A pixel no comparison looks at (the client area, the window's own icon).
inline constexpr TSkinPixel SkipPixel = 0xFF000000u;

// The skin's source folder: its bitmaps and its description (INI rules, read
// with the system's profile functions).
class TSkinSource {
public:
    // The source of the skin the windows wear now: our own skin's, unless a
    // TSkinSourceSwitch names another.
    static const TSkinSource& Get();

    TSkinBitmap Bitmap(const std::string& file) const;
    TSkinBitmap Image(const std::string& section, const std::string& key) const;
    int Int(const std::string& section, const std::string& key, int fallback) const;
    std::string Text(const std::string& section, const std::string& key) const;
    // An "r g b" colour of the description.
    TSkinPixel Colour(const std::string& section, const std::string& key) const;
    std::vector<std::string> Sections() const;

private:
    friend class TSkinSourceSwitch;
    explicit TSkinSource(std::string folder);
    std::string Description() const { return FFolder + "\\" + FDescription; }
    std::string FFolder;
    std::string FDescription; // the last entry of the folder's LIST
};

// While it lives, Get() answers another skin's source folder (a test that
// loads that skin into the store).
class TSkinSourceSwitch {
public:
    explicit TSkinSourceSwitch(const std::string& folder);
    ~TSkinSourceSwitch();
    TSkinSourceSwitch(const TSkinSourceSwitch&) = delete;
    TSkinSourceSwitch& operator=(const TSkinSourceSwitch&) = delete;

private:
    TSkinSource FSource;
    const TSkinSource* FPrevious;
};

struct TMargins {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Slicing, by the skin format's rules: frame n (from 1) of a strip of equal
// frames; a nine-slice with fixed margins and a stretched centre; a three-
// slice whose middle repeats; pictures put over others with magenta showing
// what is below.
TSkinBitmap Crop(const TSkinBitmap& image, int left, int top, int width, int height);
TSkinBitmap StripFrame(const TSkinBitmap& image, int frames, int n, bool vertical);
TSkinBitmap Stretch(const TSkinBitmap& image, int width, int height);
TSkinBitmap NineSlice(const TSkinBitmap& frame, int width, int height, TMargins m);
TSkinBitmap ThreeSlice(const TSkinBitmap& frame, int width, int height, int left, int right);
void Put(TSkinBitmap& onto, const TSkinBitmap& piece, int x, int y, bool transparent);
// The picture with its magenta pixels replaced by what is behind it.
TSkinBitmap Over(const TSkinBitmap& picture, TSkinPixel behind);
int CountMagenta(const TSkinBitmap& picture);
// Pixels that are neither magenta nor SkipPixel.
int CountOpaque(const TSkinBitmap& picture);
int CountColour(const TSkinBitmap& picture, TSkinPixel colour);
// For looking at a failure: the picture as a 32-bit BMP file.
void SavePicture(const TSkinBitmap& picture, const std::string& path);

// One caption button of the description, placed in a window of a width.
struct TCaptionButton {
    std::string Section;
    int Action = 0, Align = 0, X = 0, Y = 0, Visibility = 0, Visibility1 = 0, Frames = 0;
    TSkinBitmap Image;
    RECT Place(int windowWidth) const;
};
std::vector<TCaptionButton> CaptionButtons();

// What a window is like, for the look of its frame.
struct TFrameLook {
    int Width = 0, Height = 0;
    bool Active = true;
    bool Maximized = false;
    bool MinimizeBox = true, MaximizeBox = true;
    bool Popup = false; // WS_POPUP: the title may run up to the caption buttons
    std::string Title;
    std::map<int, int> ButtonFrames; // action -> frame, for a button hot or pressed
};

struct TFrameSizes {
    int Left = 0, Caption = 0, Right = 0, Bottom = 0;
};
TFrameSizes FrameSizes();

// The whole window as its frame should look: borders, caption band, title
// back, title text in the caption font, caption buttons; the client area and
// the window's icon are SkipPixel, the parts cut away by the region magenta.
TSkinBitmap ExpectedFrame(const TFrameLook& look);
// Where the title text goes in the window (the rectangle its back covers).
RECT ExpectedTitleRect(const TFrameLook& look);

} // namespace orbelin::test
