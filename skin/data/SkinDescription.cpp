#include "skin/data/SkinDescription.h"

#include "base/AnsiText.h"

namespace orbelin {

TSkinDescriptionLoader::TSkinDescriptionLoader(std::string_view description, TSkinEntryFetch entries,
                                               TSkinRecords& records)
    : FIni(description), FEntries(std::move(entries)), S(records)
{
}

int TSkinDescriptionLoader::Int(std::string_view section, std::string_view key, int fallback) const
{
    return FIni.ReadInteger(section, key, fallback);
}

std::string TSkinDescriptionLoader::Str(std::string_view section, std::string_view key) const
{
    return FIni.ReadString(section, key, "");
}

TColor TSkinDescriptionLoader::Colour(std::string_view section, std::string_view key, TColor fallback) const
{
    return ReadColor(Str(section, key), fallback);
}

void TSkinDescriptionLoader::Bitmap(TSkinBitmap& bitmap, std::string_view section, std::string_view key) const
{
    LoadBitmap(bitmap, Str(section, key));
}

// The value's file-name part (after the last backslash or colon) names the
// entry; only a ".bmp" extension, in exactly that letter case, names a bitmap.
void TSkinDescriptionLoader::LoadBitmap(TSkinBitmap& bitmap, std::string_view value) const
{
    const size_t cut = value.find_last_of("\\:");
    const std::string_view fileName = cut == std::string_view::npos ? value : value.substr(cut + 1);
    const size_t dot = fileName.rfind('.');
    const std::string_view extension = dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
    const std::string_view bytes =
        fileName.empty() || extension != ".bmp" || !FEntries ? std::string_view() : FEntries(fileName);
    if (bytes.empty())
        bitmap.Clear();
    else
        bitmap.LoadFromBytes(bytes);
}

TColor TSkinDescriptionLoader::ReadColor(std::string_view text, TColor fallback)
{
    if (text.empty())
        return fallback;
    const std::string trimmed = Trim(text);
    int values[3] = {0, 0, 0};
    int stored = 0;
    int current = 0; // low 8 bits of the number being collected
    bool collecting = false;
    for (const char c : trimmed) {
        if (c >= '0' && c <= '9') {
            current = (current * 10 + (c - '0')) & 0xFF;
            collecting = true;
        } else if (collecting) {
            if (stored < 3)
                values[stored++] = current;
            current = 0;
            collecting = false;
        }
    }
    if (collecting && stored == 2)
        values[stored++] = current;
    return RGBColor(values[0], values[1], values[2]);
}

void TSkinDescriptionLoader::Run()
{
    S.SkinName = Str("TitlebarSkin", "SkinName");
    Borders();
    Colours();
    SysButtons();
    Buttons();
    Title();
    Elements();
    FrameCounts();
    S.FaceBrush.Recreate(S.ColorButtonFace);
}

void TSkinDescriptionLoader::ReadRGBKeys(std::string_view section, const std::string& prefix, TColor& target) const
{
    const int r = Int(section, prefix + "R", -1);
    const int g = Int(section, prefix + "G", -1);
    const int b = Int(section, prefix + "B", -1);
    if (r >= 0 && g >= 0 && b >= 0)
        target = RGBColor(r, g, b);
}

void TSkinDescriptionLoader::Borders()
{
    const std::pair<TDataSkinBorder*, const char*> borders[] = {
        {S.BorderLeft.get(), "Left"}, {S.BorderRight.get(), "Right"}, {S.BorderTop.get(), "Top"}, {S.BorderBottom.get(), "Bottom"}};
    for (const auto& [border, name] : borders) {
        const std::string n = name;
        const int first = Int("Personality", n + "TopHeight", 0);
        const int second = Int("Personality", n + "BotHeight", 0);
        const bool side = n == "Left" || n == "Right";
        border->Margins = side ? TSkinMargins{0, first, 0, second} : TSkinMargins{first, 0, second, 0};
        border->FrameCount = Int("Personality", n + "Frame", 1);
        border->Tile = Int("Personality", n + "Stretch", 1);
        border->Trans = Int("Personality", n + "Trans", 1);
        Bitmap(border->Image, "Personality", n);
    }
}

void TSkinDescriptionLoader::Colours()
{
    const char* c = "Colours";
    S.ColorWindowText = Colour(c, "WindowText", clWindowText);
    S.ColorButtonFace = Colour(c, "ButtonFace", clBtnFace);
    S.ColorScrollbar = Colour(c, "Scrollbar", clScrollBar);
    S.ColorHilightText = Colour(c, "HilightText", clHighlightText);
    S.ColorHilight = Colour(c, "Hilight", clHighlight);
    S.ColorMenuBar = Colour(c, "Menubar", S.ColorButtonFace);
    S.ColorMenu = Colour(c, "Menu", clMenu);
    S.ColorMenuText = Colour(c, "MenuText", clMenuText);
    S.ColorButtonText = Colour(c, "ButtonText", clBtnText);
    S.ColorButtonHilight = Colour(c, "ButtonHilight", clBtnHighlight);
    S.ColorButtonLight = Colour(c, "Buttonlight", clBtnHighlight);
    S.ColorButtonShadow = Colour(c, "ButtonShadow", clBtnShadow);
    S.ColorButtonDkShadow = Colour(c, "ButtonDkShadow", cl3DDkShadow);
    S.ColorMenuBarText = Colour(c, "MenuBarText", clMenuText);
    S.ColorTitleTextActive = Colour(c, "TitleTextActive", clCaptionText);
    S.ColorTitleTextNoActive = Colour(c, "TitleTextNoActive", clInactiveCaptionText);

    S.ExtraColors.clear();
    for (const std::string& section : FIni.ReadSections()) {
        const std::string upper = UpperCase(section);
        if (upper.starts_with("COLOUR") && upper != "COLOURS")
            S.ExtraColors.push_back(Colour(section, "color", clWindowText));
    }
}

void TSkinDescriptionLoader::SysButtons()
{
    std::vector<std::string> kept;
    for (const std::string& section : FIni.ReadSections()) {
        const std::string upper = UpperCase(section);
        if (upper == "BUTTONS" || upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX" || upper == "BUTTON" || !upper.starts_with("BUTTON"))
            continue;
        if (Int(section, "Action", 0) == -1 && Int(section, "Visibility", -1) != 0)
            continue;
        kept.push_back(section);
    }
    S.SysButtons.clear();
    for (const std::string& section : kept) {
        auto b = std::make_unique<TDataSkinSysButton>(UpperCase(section));
        b->Action = Int(section, "Action", 0);
        b->Align = Int(section, "Align", 0);
        b->XCoord = Int(section, "Xcoord", 0);
        b->YCoord = Int(section, "Ycoord", 0);
        b->Visibility = Int(section, "Visibility", 0);
        b->Visibility1 = Int(section, "Visibility1", b->Action == -1 ? -1 : 0);
        b->CombineOp = Int(section, "CombineOp", -1);
        b->FrameCount = Int(section, "frame", 0);
        Bitmap(b->Image, section, "ButtonImage");
        if (b->FrameCount == 0) {
            b->FrameCount = 6;
            if (!b->Image.Empty())
                b->FrameCount = static_cast<double>(b->Image.Width()) / b->Image.Height() <= 3.8 ? 3 : 6;
            if (b->Action < 0)
                b->FrameCount = 6;
            if (b->Action == 3 || b->Action == 11)
                b->Image.Clear(); // the frame draws the window's own icon there
        }
        S.SysButtons.push_back(std::move(b));
    }
    MdiButtons(S.SysButtons.size());
}

void TSkinDescriptionLoader::MdiButtons(size_t first)
{
    for (int i = 0; i < 3; ++i) {
        auto b = std::make_unique<TDataSkinSysButton>();
        b->Action = 7 + i;
        b->Align = b->Visibility = b->Visibility1 = 100;
        b->FrameCount = 4;
        S.SysButtons.push_back(std::move(b));
    }
    TSkinBitmap strip;
    Bitmap(strip, "MDICONTROLS", "Image");
    if (strip.Empty())
        return;
    // Three 4-frame strips side by side: minimize, restore, close.
    const int a = strip.Width() / 12;
    for (int i = 0; i < 3; ++i) {
        TDataSkinSysButton& b = *S.SysButtons[first + static_cast<size_t>(i)];
        b.Image = strip.CopyRect(4 * a * i, 0, 4 * a * (i + 1), strip.Height());
        b.XCoord = (a + 4) * (3 - i);
    }
}

void TSkinDescriptionLoader::Buttons()
{
    TDataSkinButton& b = *S.Buttons;
    const char* s = "Buttons";
    ReadMargins(b, s);
    ReadColours(b, s);
    Bitmap(b.Image, s, "Bitmap");
    Bitmap(b.CheckImage, s, "CheckButton");
    Bitmap(b.RadioImage, s, "RadioButton");
    b.RadioFrameCount = Int(s, "RadioButtonFrame", 0);
    b.CheckFrameCount = Int(s, "CheckButtonFrame", 0);
    b.HasNormalColour2 = !Str(s, "NormalColour2").empty();
    b.HasMouseOverColour2 = !Str(s, "MouseOverColour2").empty();
    b.HasPressedColour2 = !Str(s, "PressedColour2").empty();
}

void TSkinDescriptionLoader::Title()
{
    TDataSkinTitle& t = *S.Title;
    const char* s = "Personality";
    Bitmap(t.Image, s, "TextBack");
    t.TextShift() = Int(s, "TextShift", 0);
    t.TextShiftVert() = Int(s, "TextShiftVert", 0);
    t.TextRightClip() = Int(s, "TextRightClip", 0);
    t.BottomHeight() = 0;
    t.TextAlignment = Int(s, "TextAlignment", 0);
    t.TextBackground = Int(s, "Textbackground", 0);
    t.TextBackLeft = Int(s, "TXTBackleft", 0);
    t.TextBackRight = Int(s, "TXTBackRight", 0);
    t.FontHeight = Int("Fonts", "FontHeight", 14);
    t.ActiveTextColor = clNone;
    ReadRGBKeys(s, "ActiveText", t.ActiveTextColor);
    t.InactiveTextColor = clNone;
    ReadRGBKeys(s, "InActiveText", t.InactiveTextColor);
}

void TSkinDescriptionLoader::ReadMargins(TDataSkinObject& r, std::string_view s) const
{
    r.LeftWidth() = Int(s, "LeftWidth", 0);
    r.RightWidth() = Int(s, "RightWidth", 0);
    r.TopHeight() = Int(s, "TopHeight", 0);
    r.BottomHeight() = Int(s, "BottomHeight", 0);
    r.Trans = Int(s, "Trans", 0);
    r.Tile = Int(s, "Tile", 0);
}

void TSkinDescriptionLoader::ReadColours(TDataSkinObject& r, std::string_view s) const
{
    r.NormalColour = Int(s, "NormalColour", -1);
    r.MouseOverColour = Int(s, "MouseOverColour", -1);
    r.PressedColour = Int(s, "PressedColour", -1);
    r.NormalColour2 = Colour(s, "NormalColour2", S.ColorButtonText);
    r.MouseOverColour2 = Colour(s, "MouseOverColour2", S.ColorButtonText);
    r.PressedColour2 = Colour(s, "PressedColour2", S.ColorButtonText);
}

void TSkinDescriptionLoader::ReadMarginsAndColours(TDataSkinObject& r, std::string_view s) const
{
    ReadMargins(r, s);
    ReadColours(r, s);
    if (r.Tile > 1)
        r.Tile = 0;
}

template <class T>
std::unique_ptr<T> TSkinDescriptionLoader::Plain(std::string_view section)
{
    const std::string image = Str(section, "Image");
    if (image.empty())
        return nullptr;
    auto r = std::make_unique<T>(std::string(section));
    LoadBitmap(r->Image, image);
    r->Style = Int(section, "Style", 0);
    ReadMarginsAndColours(*r, section);
    return r;
}

TSkinDescriptionLoader::BorderPtr TSkinDescriptionLoader::Border(std::string_view section, std::string_view secondKey)
{
    const std::string image = Str(section, "Image");
    if (image.empty())
        return nullptr;
    auto r = std::make_unique<TDataSkinBorder>(std::string(section));
    LoadBitmap(r->Image, image);
    if (FIni.ValueExists(section, secondKey))
        Bitmap(r->Image2, section, secondKey);
    ReadMarginsAndColours(*r, section);
    return r;
}

TSkinDescriptionLoader::BorderPtr TSkinDescriptionLoader::ProgressElement(std::string_view section)
{
    const std::string image = Str(section, "Bitmap");
    if (image.empty())
        return nullptr;
    auto r = std::make_unique<TDataSkinBorder>(std::string(section));
    LoadBitmap(r->Image, image);
    Bitmap(r->Image2, section, "Chunk");
    r->Style = Int(section, "Style", 0);
    ReadMargins(*r, section);
    return r;
}

std::unique_ptr<TDataSkinBoxLabel> TSkinDescriptionLoader::BoxLabel(std::string_view section)
{
    auto r = Plain<TDataSkinBoxLabel>(section);
    if (r) {
        r->BackgroundAlignment = Int(section, "BackgroundAlignment", 0);
        r->BackgroundLeftShift = Int(section, "BackgroundLeftShift", 0);
        r->BackgroundRightShift = Int(section, "BackgroundRightShift", 0);
    }
    return r;
}

TSkinDescriptionLoader::ObjectPtr TSkinDescriptionLoader::MenuBarElement()
{
    const char* s = "Personality";
    const std::string image = Str(s, "menuBar");
    if (image.empty())
        return nullptr;
    auto r = std::make_unique<TDataSkinObject>(s);
    LoadBitmap(r->Image, image);
    r->TopHeight() = r->BottomHeight() = 0;
    r->Tile = Int(s, "TileMenu", 0);
    r->LeftWidth() = Int(s, "TileLeftMenu", 1);
    r->RightWidth() = Int(s, "TileRightMenu", 1);
    return r;
}

void TSkinDescriptionLoader::Elements()
{
    // Each assignment frees the record it replaces.
    S.Progress = ProgressElement("Progress");
    S.MenuBar = MenuBarElement();
    S.GroupBoxEdge = Plain<TDataSkinObject>("GroupBoxEdge");
    S.GroupBox = BoxLabel("GroupBox");
    S.Toolbars = Plain<TDataSkinObject>("Toolbars");
    S.Tabs = Border("Tabs", "Border");
    S.StatusBarEdges = Plain<TDataSkinObject>("StatusBarEdges");
    S.ComboButton = Border("ComboButton", "****");
    if (S.ComboButton && !S.ComboButton->Image.Empty()) {
        // The strip for combos laid out right to left.
        S.ComboButton->Image2 = S.ComboButton->Image;
        S.ComboButton->Image2.ConvertTo24Bits();
        S.ComboButton->Image2.MirrorHorizontal();
    }
    S.SunkEdge = Plain<TDataSkinObject>("SunkEdge");
    S.ExtraImages = Plain<TDataSkinObject>("ExtraImages");
    S.Headerbar = Plain<TDataSkinObject>("Headerbar");
    S.MenuItem = Plain<TDataSkinObject>("MenuItem");
    S.MenuBackground = Plain<TDataSkinObject>("MenuBackground");
    S.Scrollbar = Plain<TDataSkinObject>("Scrollbar");
    S.HorzScroll = Plain<TDataSkinObject>("HorzScroll");
    S.VertScroll = Plain<TDataSkinObject>("VertScroll");
    S.HorzScrollThumb = Plain<TDataSkinObject>("HorzScrollThumb");
    S.VertScrollThumb = Plain<TDataSkinObject>("VertScrollThumb");
    S.TrackbarThumbHorz = Plain<TDataSkinObject>("Trackbar.ThumbHorz");
    S.TrackbarThumbVert = Plain<TDataSkinObject>("Trackbar.ThumbVert");
    S.TrackbarThumbLeft = Plain<TDataSkinObject>("Trackbar.ThumbLeft");
    S.TrackbarThumbRight = Plain<TDataSkinObject>("Trackbar.ThumbRight");
    S.TrackbarThumbUp = Plain<TDataSkinObject>("Trackbar.ThumbUp");
    S.TrackbarThumbDown = Plain<TDataSkinObject>("Trackbar.ThumbDown");
    S.UpDownHorz = Border("UpDown.Horz", "GlyphImage");
    S.UpDownVert = Border("UpDown.Vert", "GlyphImage");
}

namespace {

template <class P>
void SetFrames(const P& record, int count)
{
    if (record)
        record->FrameCount = count;
}

// Glyph strips: 13-pixel frames for small glyphs, 16 otherwise, at least 4.
int GlyphFrames(const TSkinBitmap& image)
{
    const int d = image.Height() < 16 ? 13 : 16;
    const int frames = image.Width() / d;
    return frames < 4 ? 4 : frames;
}

} // namespace

void TSkinDescriptionLoader::FrameCounts()
{
    SetFrames(S.Progress, 2);
    SetFrames(S.MenuBar, 2);
    SetFrames(S.GroupBoxEdge, 2);
    SetFrames(S.GroupBox, 1);
    SetFrames(S.Toolbars, 5);
    SetFrames(S.Tabs, 5);
    SetFrames(S.StatusBarEdges, 3);
    SetFrames(S.ComboButton, 4);
    SetFrames(S.SunkEdge, 4);
    SetFrames(S.ExtraImages, 5);
    SetFrames(S.Headerbar, 5);
    SetFrames(S.MenuItem, 5);
    SetFrames(S.MenuBackground, 1);
    SetFrames(S.Scrollbar, 23);
    SetFrames(S.HorzScroll, 4);
    SetFrames(S.VertScroll, 4);
    SetFrames(S.HorzScrollThumb, Int("HorzScrollThumb", "FrameCount", 3));
    SetFrames(S.VertScrollThumb, Int("VertScrollThumb", "FrameCount", 3));
    for (const auto* t : {&S.TrackbarThumbHorz, &S.TrackbarThumbVert, &S.TrackbarThumbLeft, &S.TrackbarThumbRight,
                          &S.TrackbarThumbUp, &S.TrackbarThumbDown})
        SetFrames(*t, 5);
    SetFrames(S.UpDownHorz, 8);
    SetFrames(S.UpDownVert, 8);
    S.Title->FrameCount = 2;
    S.Buttons->FrameCount = 5;
    if (S.Buttons->RadioFrameCount == 0)
        S.Buttons->RadioFrameCount = GlyphFrames(S.Buttons->RadioImage);
    if (S.Buttons->CheckFrameCount == 0)
        S.Buttons->CheckFrameCount = GlyphFrames(S.Buttons->CheckImage);
}

} // namespace orbelin
