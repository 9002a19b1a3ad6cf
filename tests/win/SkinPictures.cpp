#include "tests/win/SkinPictures.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace orbelin::test {

namespace {

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// A 32-bit top-down DIB section to draw on with GDI, holding a picture.
class TDibPicture {
public:
    explicit TDibPicture(const TSkinBitmap& picture) : FWidth(picture.Width()), FHeight(picture.Height())
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = FWidth;
        info.bmiHeader.biHeight = -FHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        FBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        FBits = static_cast<uint32_t*>(bits);
        FDC = CreateCompatibleDC(nullptr);
        FOld = SelectObject(FDC, FBitmap);
        for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x)
                FBits[y * FWidth + x] = picture.Pixel(x, y) & 0x00FFFFFFu;
    }
    ~TDibPicture()
    {
        SelectObject(FDC, FOld);
        DeleteDC(FDC);
        DeleteObject(FBitmap);
    }
    TDibPicture(const TDibPicture&) = delete;
    TDibPicture& operator=(const TDibPicture&) = delete;

    HDC DC() const { return FDC; }
    void CopyTo(TSkinBitmap& picture) const
    {
        GdiFlush();
        for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x)
                picture.SetPixel(x, y, FBits[y * FWidth + x] & 0x00FFFFFFu);
    }

private:
    int FWidth, FHeight;
    HBITMAP FBitmap = nullptr;
    uint32_t* FBits = nullptr;
    HDC FDC = nullptr;
    HGDIOBJ FOld = nullptr;
};

class TCaptionFont {
public:
    TCaptionFont()
    {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof(metrics);
        if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
            metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
            SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
        }
        FFont = CreateFontIndirectA(&metrics.lfCaptionFont);
    }
    ~TCaptionFont() { DeleteObject(FFont); }
    TCaptionFont(const TCaptionFont&) = delete;
    TCaptionFont& operator=(const TCaptionFont&) = delete;
    HFONT Handle() const { return FFont; }

private:
    HFONT FFont = nullptr;
};

// The caption button conditions of the description's Visibility keys.
bool Shown(int value, const TFrameLook& look)
{
    switch (value) {
    case 0: return true;
    case 1: return look.Maximized;
    case 2: return !look.Maximized;
    case 3: return look.Active;
    case 4: return !look.Active;
    case 6: return look.MaximizeBox;
    case 7: return !look.MaximizeBox;
    case 8: return look.MinimizeBox;
    case 9: return !look.MinimizeBox;
    default: return value >= 200 && value <= 2000;
    }
}

bool Shown(const TCaptionButton& b, const TFrameLook& look)
{
    if (!Shown(b.Visibility, look) || !Shown(b.Visibility1, look))
        return false;
    return !(b.Action == 1 && !look.MaximizeBox) && !(b.Action == 2 && !look.MinimizeBox);
}

struct TTitlePlace {
    RECT Back{};  // the title back's columns, the caption's height
    RECT Text{};  // where the text is drawn
};

TTitlePlace PlaceTitle(const TFrameLook& look, HDC dc)
{
    const TSkinSource& skin = TSkinSource::Get();
    const TFrameSizes m = FrameSizes();
    const RECT r{m.Left, 0, look.Width - m.Right, m.Caption};
    const int backLeft = skin.Int("Personality", "TXTBackleft", 0), backRight = skin.Int("Personality", "TXTBackRight", 0);
    const std::string measured = "   " + look.Title;
    RECT calc{r.left, r.top, r.left, r.top};
    DrawTextA(dc, measured.data(), static_cast<int>(measured.size()), &calc, DT_CALCRECT | DT_NOCLIP);
    const int tw = calc.right - calc.left + backLeft + backRight, th = calc.bottom - calc.top;
    const int rw = r.right - r.left, rh = r.bottom - r.top;
    const int clip = skin.Int("Personality", "TextRightClip", 0);
    int dx = 0;
    switch (skin.Int("Personality", "TextAlignment", 0)) {
    case 0: dx = skin.Int("Personality", "TextShift", 0); break;
    case 1: dx = (rw - tw) / 2; break;
    case 2: dx = rw - clip - tw; break;
    default: break;
    }
    const int dy = (rh - th) / 2 + skin.Int("Personality", "TextShiftVert", 0) / 2;
    TTitlePlace p;
    p.Back = {r.left + dx, r.top + dy, r.left + dx + tw, r.top + dy + th};
    if (look.Popup) {
        // A popup's title may run up to the right-aligned caption buttons.
        int bound = 0;
        for (const TCaptionButton& b : CaptionButtons())
            if (b.Align == 1 && !b.Image.Empty() && Shown(b, look))
                bound = std::max(bound, look.Width - b.X);
        p.Back.right = std::max<LONG>(p.Back.right, bound - 5);
    } else {
        p.Back.right = std::min<LONG>(p.Back.right, r.right - clip);
    }
    p.Text = {p.Back.left + backLeft, p.Back.top, p.Back.right - backRight, p.Back.bottom};
    p.Back.top = r.top;
    p.Back.bottom = r.bottom;
    return p;
}

} // namespace

// ------------------------------------------------------------ the source

namespace {
const TSkinSource* gCurrentSource = nullptr;
} // namespace

const TSkinSource& TSkinSource::Get()
{
    static const TSkinSource ours(ORBELIN_SKIN_SRC);
    return gCurrentSource ? *gCurrentSource : ours;
}

TSkinSource::TSkinSource(std::string folder) : FFolder(std::move(folder))
{
    std::ifstream list(FFolder + "\\LIST");
    for (std::string line; std::getline(list, line);)
        if (!line.empty())
            FDescription = line;
    if (FDescription.empty())
        throw std::runtime_error("no LIST in " + FFolder);
}

TSkinSourceSwitch::TSkinSourceSwitch(const std::string& folder) : FSource(folder), FPrevious(gCurrentSource)
{
    gCurrentSource = &FSource;
}

TSkinSourceSwitch::~TSkinSourceSwitch() { gCurrentSource = FPrevious; }

TSkinBitmap TSkinSource::Bitmap(const std::string& file) const
{
    const std::string path = FFolder + "\\" + file;
    auto handle = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!handle)
        throw std::runtime_error("cannot read " + path);
    BITMAP info{};
    GetObjectA(handle, sizeof(info), &info);
    BITMAPINFO want{};
    want.bmiHeader.biSize = sizeof(want.bmiHeader);
    want.bmiHeader.biWidth = info.bmWidth;
    want.bmiHeader.biHeight = -info.bmHeight;
    want.bmiHeader.biPlanes = 1;
    want.bmiHeader.biBitCount = 32;
    want.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> bits(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, handle, 0, static_cast<UINT>(info.bmHeight), bits.data(), &want, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(handle);
    TSkinBitmap picture;
    picture.SetSize(info.bmWidth, info.bmHeight);
    for (int y = 0; y < info.bmHeight; ++y)
        for (int x = 0; x < info.bmWidth; ++x)
            picture.SetPixel(x, y, bits[static_cast<size_t>(y) * static_cast<size_t>(info.bmWidth) + static_cast<size_t>(x)] & 0x00FFFFFFu);
    return picture;
}

TSkinBitmap TSkinSource::Image(const std::string& section, const std::string& key) const
{
    const std::string file = Text(section, key);
    return file.empty() ? TSkinBitmap() : Bitmap(file);
}

int TSkinSource::Int(const std::string& section, const std::string& key, int fallback) const
{
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), fallback, Description().c_str()));
}

std::string TSkinSource::Text(const std::string& section, const std::string& key) const
{
    char buffer[2048] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof(buffer), Description().c_str());
    return buffer;
}

TSkinPixel TSkinSource::Colour(const std::string& section, const std::string& key) const
{
    int rgb[3] = {0, 0, 0};
    if (std::sscanf(Text(section, key).c_str(), "%d %d %d", &rgb[0], &rgb[1], &rgb[2]) != 3)
        throw std::runtime_error("no colour " + section + "/" + key);
    return RGBPixel(rgb[0], rgb[1], rgb[2]);
}

std::vector<std::string> TSkinSource::Sections() const
{
    std::vector<char> buffer(65536);
    const DWORD n = GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), Description().c_str());
    std::vector<std::string> names;
    for (DWORD i = 0; i < n && buffer[i];) {
        names.emplace_back(&buffer[i]);
        i += static_cast<DWORD>(names.back().size()) + 1;
    }
    return names;
}

// ------------------------------------------------------------- slicing

TSkinBitmap Crop(const TSkinBitmap& image, int left, int top, int width, int height)
{
    TSkinBitmap piece;
    piece.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            piece.SetPixel(x, y, image.Pixel(left + x, top + y));
    return piece;
}

TSkinBitmap StripFrame(const TSkinBitmap& image, int frames, int n, bool vertical)
{
    if (vertical) {
        const int h = image.Height() / frames;
        return Crop(image, 0, h * (n - 1), image.Width(), h);
    }
    const int w = image.Width() / frames;
    return Crop(image, w * (n - 1), 0, w, image.Height());
}

TSkinBitmap Stretch(const TSkinBitmap& image, int width, int height)
{
    TSkinBitmap out;
    out.SetSize(width, height);
    if (image.Empty())
        return out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.SetPixel(x, y, image.Pixel(x * image.Width() / width, y * image.Height() / height));
    return out;
}

TSkinBitmap NineSlice(const TSkinBitmap& frame, int width, int height, TMargins m)
{
    if (width < m.Left + m.Right)
        m.Left = m.Right = 0;
    if (height < m.Top + m.Bottom)
        m.Top = m.Bottom = 0;
    const int fw = frame.Width(), fh = frame.Height();
    const int cols[3] = {m.Left, fw - m.Left - m.Right, m.Right}, outCols[3] = {m.Left, width - m.Left - m.Right, m.Right};
    const int rows[3] = {m.Top, fh - m.Top - m.Bottom, m.Bottom}, outRows[3] = {m.Top, height - m.Top - m.Bottom, m.Bottom};
    TSkinBitmap out;
    out.SetSize(width, height);
    for (int j = 0, sy = 0, dy = 0; j < 3; sy += rows[j], dy += outRows[j], ++j)
        for (int i = 0, sx = 0, dx = 0; i < 3; sx += cols[i], dx += outCols[i], ++i)
            if (cols[i] > 0 && rows[j] > 0 && outCols[i] > 0 && outRows[j] > 0)
                Put(out, Stretch(Crop(frame, sx, sy, cols[i], rows[j]), outCols[i], outRows[j]), dx, dy, false);
    return out;
}

TSkinBitmap ThreeSlice(const TSkinBitmap& frame, int width, int height, int left, int right)
{
    TSkinBitmap out;
    out.SetSize(width, height);
    const int middle = frame.Width() - left - right;
    if (middle > 0) {
        const TSkinBitmap piece = Stretch(Crop(frame, left, 0, middle, frame.Height()), middle, height);
        for (int x = left; x < width - right; x += middle)
            Put(out, piece, x, 0, false);
    }
    if (left > 0)
        Put(out, Stretch(Crop(frame, 0, 0, left, frame.Height()), left, height), 0, 0, false);
    if (right > 0)
        Put(out, Stretch(Crop(frame, frame.Width() - right, 0, right, frame.Height()), right, height), width - right, 0, false);
    return out;
}

void Put(TSkinBitmap& onto, const TSkinBitmap& piece, int x, int y, bool transparent)
{
    for (int py = 0; py < piece.Height(); ++py)
        for (int px = 0; px < piece.Width(); ++px) {
            const int tx = x + px, ty = y + py;
            if (tx < 0 || ty < 0 || tx >= onto.Width() || ty >= onto.Height())
                continue;
            const TSkinPixel raw = piece.Pixel(px, py);
            const TSkinPixel p = raw == SkipPixel ? raw : raw & 0x00FFFFFFu;
            if (!transparent || p != MagentaPixel)
                onto.SetPixel(tx, ty, p);
        }
}

TSkinBitmap Over(const TSkinBitmap& picture, TSkinPixel behind)
{
    TSkinBitmap out;
    out.SetSize(picture.Width(), picture.Height(), behind);
    Put(out, picture, 0, 0, true);
    return out;
}

int CountMagenta(const TSkinBitmap& picture)
{
    return static_cast<int>(std::count_if(picture.Pixels().begin(), picture.Pixels().end(),
                                          [](TSkinPixel p) { return (p & 0x00FFFFFFu) == MagentaPixel; }));
}

int CountOpaque(const TSkinBitmap& picture)
{
    return static_cast<int>(std::count_if(picture.Pixels().begin(), picture.Pixels().end(), [](TSkinPixel p) {
        return p != SkipPixel && (p & 0x00FFFFFFu) != MagentaPixel;
    }));
}

int CountColour(const TSkinBitmap& picture, TSkinPixel colour)
{
    return static_cast<int>(std::count(picture.Pixels().begin(), picture.Pixels().end(), colour));
}

void SavePicture(const TSkinBitmap& picture, const std::string& path)
{
    const int w = picture.Width(), h = picture.Height();
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = w;
    info.biHeight = -h;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(w * h * 4);
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof(file), 1, out);
        std::fwrite(&info, sizeof(info), 1, out);
        std::fwrite(picture.Pixels().data(), 4, picture.Pixels().size(), out);
        std::fclose(out);
    }
}

// -------------------------------------------------------------- the frame

RECT TCaptionButton::Place(int windowWidth) const
{
    const int w = Frames > 0 ? Image.Width() / Frames : 0, h = Image.Height();
    const int x = Align == 1 ? windowWidth - X : X;
    return {x, Y, x + w, Y + h};
}

std::vector<TCaptionButton> CaptionButtons()
{
    const TSkinSource& skin = TSkinSource::Get();
    std::vector<TCaptionButton> buttons;
    for (const std::string& section : skin.Sections()) {
        const std::string name = Upper(section);
        if (name.rfind("BUTTON", 0) != 0 || name == "BUTTONS" || name == "BUTTON")
            continue;
        TCaptionButton b;
        b.Section = section;
        b.Action = skin.Int(section, "Action", 0);
        b.Align = skin.Int(section, "Align", 0);
        b.X = skin.Int(section, "Xcoord", 0);
        b.Y = skin.Int(section, "Ycoord", 0);
        b.Visibility = skin.Int(section, "Visibility", 0);
        b.Visibility1 = skin.Int(section, "Visibility1", b.Action == -1 ? -1 : 0);
        b.Image = skin.Image(section, "ButtonImage");
        b.Frames = skin.Int(section, "frame", 0);
        if (b.Frames == 0)
            b.Frames = !b.Image.Empty() && double(b.Image.Width()) / b.Image.Height() <= 3.8 ? 3 : 6;
        buttons.push_back(std::move(b));
    }
    return buttons;
}

TFrameSizes FrameSizes()
{
    const TSkinSource& skin = TSkinSource::Get();
    auto frames = [&](const char* key) { return std::max(skin.Int("Personality", std::string(key) + "Frame", 1), 1); };
    return {skin.Image("Personality", "Left").Width() / frames("Left"), skin.Image("Personality", "Top").Height() / frames("Top"),
            skin.Image("Personality", "Right").Width() / frames("Right"),
            skin.Image("Personality", "Bottom").Height() / frames("Bottom")};
}

RECT ExpectedTitleRect(const TFrameLook& look)
{
    const TCaptionFont font;
    TSkinBitmap scratch;
    scratch.SetSize(1, 1);
    const TDibPicture dib(scratch);
    const HGDIOBJ old = SelectObject(dib.DC(), font.Handle());
    const RECT r = PlaceTitle(look, dib.DC()).Back;
    SelectObject(dib.DC(), old);
    return r;
}

TSkinBitmap ExpectedFrame(const TFrameLook& look)
{
    const TSkinSource& skin = TSkinSource::Get();
    const TFrameSizes m = FrameSizes();
    const int w = look.Width, h = look.Height;
    TSkinBitmap out;
    out.SetSize(w, h, SkipPixel);
    auto border = [&](const char* name, bool vertical, int width, int height, TMargins margins) {
        const int frames = std::max(skin.Int("Personality", std::string(name) + "Frame", 1), 1);
        const TSkinBitmap image = skin.Image("Personality", name);
        return NineSlice(StripFrame(image, frames, look.Active || frames == 1 ? 1 : 2, vertical), width, height, margins);
    };
    auto sideMargins = [&](const char* name) {
        return TMargins{0, skin.Int("Personality", std::string(name) + "TopHeight", 0), 0,
                        skin.Int("Personality", std::string(name) + "BotHeight", 0)};
    };
    auto bandMargins = [&](const char* name) {
        return TMargins{skin.Int("Personality", std::string(name) + "TopHeight", 0), 0,
                        skin.Int("Personality", std::string(name) + "BotHeight", 0), 0};
    };
    Put(out, border("Left", false, m.Left, h, sideMargins("Left")), 0, 0, false);
    Put(out, border("Right", false, m.Right, h, sideMargins("Right")), w - m.Right, 0, false);
    Put(out, border("Bottom", true, w - m.Left - m.Right, m.Bottom, bandMargins("Bottom")), m.Left, h - m.Bottom, false);
    TSkinBitmap caption = Crop(out, 0, 0, w, m.Caption);
    Put(caption, border("Top", true, w - m.Left - m.Right, m.Caption, bandMargins("Top")), m.Left, 0, false);

    // The title: its back, then the text in the caption font, as the description places them.
    const TCaptionFont font;
    const TTitlePlace place = [&] {
        const TDibPicture scratch(caption);
        const HGDIOBJ old = SelectObject(scratch.DC(), font.Handle());
        const TTitlePlace p = PlaceTitle(look, scratch.DC());
        SelectObject(scratch.DC(), old);
        return p;
    }();
    const TSkinBitmap back = skin.Image("Personality", "TextBack");
    if (!back.Empty())
        Put(caption,
            ThreeSlice(StripFrame(back, 2, look.Active ? 1 : 2, true), place.Back.right - place.Back.left, m.Caption,
                       skin.Int("Personality", "TXTBackleft", 0), skin.Int("Personality", "TXTBackRight", 0)),
            place.Back.left, 0, true);
    {
        const TDibPicture dib(caption);
        const HGDIOBJ old = SelectObject(dib.DC(), font.Handle());
        SetBkMode(dib.DC(), TRANSPARENT);
        const TSkinPixel ink = skin.Colour("Colours", look.Active ? "TitleTextActive" : "TitleTextNoActive");
        SetTextColor(dib.DC(), RGB(ink >> 16 & 0xFF, ink >> 8 & 0xFF, ink & 0xFF));
        const std::string shown = "  " + look.Title;
        RECT text = place.Text;
        DrawTextA(dib.DC(), shown.data(), static_cast<int>(shown.size()), &text, DT_SINGLELINE | DT_END_ELLIPSIS);
        SelectObject(dib.DC(), old);
        dib.CopyTo(caption);
    }

    // The caption buttons over the band; the icon button shows the window's
    // own icon, which is not the skin's, so its place is left out.
    for (const TCaptionButton& b : CaptionButtons()) {
        if (!Shown(b, look))
            continue;
        if (b.Action == 3 || b.Action == 11) {
            if (b.Image.Empty()) {
                const int iw = GetSystemMetrics(SM_CXSMICON), ih = GetSystemMetrics(SM_CYSMICON);
                TSkinBitmap skip;
                skip.SetSize(iw, ih, SkipPixel);
                Put(caption, skip, b.Align == 1 ? w - b.X : b.X, b.Y, false);
            }
            continue;
        }
        if (b.Image.Empty())
            continue;
        const auto state = look.ButtonFrames.find(b.Action);
        const int frame = state != look.ButtonFrames.end() ? state->second : (look.Active || b.Frames < 4 ? 1 : 4);
        const RECT at = b.Place(w);
        Put(caption, StripFrame(b.Image, b.Frames, frame, false), at.left, at.top, true);
    }
    Put(out, caption, 0, 0, false);
    return out;
}

} // namespace orbelin::test
