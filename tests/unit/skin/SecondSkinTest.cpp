// The second look the skin generator draws, packed and loaded the way the
// program loads a skin file: every frame metric, button size, position and
// colour the frame engine could take from our own skin must differ.

#include "SkinTestSupport.h"
#include "tools/skingen/SkinLook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

#include <unistd.h>

namespace orbelin {
namespace {

std::vector<TSkinArchiveEntry> Entries(const skingen::TLook& look)
{
    std::vector<TSkinArchiveEntry> entries;
    for (const skingen::TSkinFile& file : skingen::BuildSkin(look))
        entries.push_back({file.Name, file.Bitmap.Empty() ? file.Text : test::BmpBytes(file.Bitmap)});
    return entries;
}

// Bitmap names the description gives as values (key=name.bmp).
std::set<std::string> NamedImages(const std::string& description)
{
    std::set<std::string> names;
    std::istringstream lines(description);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t eq = line.find('=');
        if (eq != std::string::npos && line.ends_with(".bmp"))
            names.insert(line.substr(eq + 1));
    }
    return names;
}

// A look packed into a skin file and loaded through SkinFile.
class TLoadedLook {
public:
    explicit TLoadedLook(const skingen::TLook& look) : Entries(orbelin::Entries(look))
    {
        static int loaded = 0;
        const auto file = std::filesystem::temp_directory_path() /
                          ("orbelin-look-" + std::to_string(::getpid()) + "-" + std::to_string(++loaded) + ".skin");
        WriteFileBytes(file.string(), PackSkin(Entries));
        Store.Loaded();
        Store.SetSkinFile(file.string());
        std::filesystem::remove(file);
    }
    std::vector<TSkinArchiveEntry> Entries;
    TSkinData Store{nullptr};
};

class SecondSkin : public ::testing::Test {
protected:
    test::THostFixture Host;
    TLoadedLook Calm{skingen::CalmLook()};
    TLoadedLook Broad{skingen::BroadLook()};
    const TSkinData& A = Calm.Store;
    const TSkinData& B = Broad.Store;
};

int FrameWidth(const TDataSkinObject& r) { return r.Image.Width() / std::max(r.FrameCount, 1); }
int FrameHeight(const TDataSkinObject& r) { return r.Image.Height() / std::max(r.FrameCount, 1); }

int ColourDistance(TColor a, TColor b)
{
    const auto channel = [](TColor c, int shift) { return static_cast<int>(c >> shift & 0xFF); };
    return std::abs(channel(a, 0) - channel(b, 0)) + std::abs(channel(a, 8) - channel(b, 8)) + std::abs(channel(a, 16) - channel(b, 16));
}

TEST_F(SecondSkin, BothLoadUnderTheirOwnNames)
{
    ASSERT_TRUE(A.SkinLoaded());
    ASSERT_TRUE(B.SkinLoaded());
    EXPECT_TRUE(Host.Messages.empty());
    EXPECT_EQ(A.SkinName, "Orbelin Calm");
    EXPECT_EQ(B.SkinName, "Orbelin Broad");
}

TEST_F(SecondSkin, FrameBordersAreWiderAndTheCaptionTaller)
{
    // Our skin: 4-pixel borders, 30-pixel caption. The broad one: 8 and 40.
    EXPECT_EQ(FrameWidth(*A.BorderLeft), 4);
    EXPECT_EQ(FrameWidth(*B.BorderLeft), 8);
    EXPECT_EQ(FrameWidth(*B.BorderRight), 8);
    EXPECT_EQ(FrameHeight(*B.BorderBottom), 8);
    EXPECT_EQ(FrameHeight(*A.BorderTop), 30);
    EXPECT_EQ(FrameHeight(*B.BorderTop), 40);
    for (const TSkinData* s : {&A, &B}) {
        // The sides' fixed top part is the caption, and their bottom part the bottom border.
        EXPECT_EQ(s->BorderLeft->Margins.Top, FrameHeight(*s->BorderTop)) << s->SkinName;
        EXPECT_EQ(s->BorderRight->Margins.Top, FrameHeight(*s->BorderTop)) << s->SkinName;
        EXPECT_EQ(s->BorderLeft->Margins.Bottom, FrameHeight(*s->BorderBottom)) << s->SkinName;
        EXPECT_EQ(FrameWidth(*s->BorderLeft), FrameWidth(*s->BorderRight)) << s->SkinName;
    }
    EXPECT_NE(A.BorderTop->Margins.Left, B.BorderTop->Margins.Left); // the corner ends
    EXPECT_NE(A.BorderTop->Margins.Right, B.BorderTop->Margins.Right);
}

TEST_F(SecondSkin, CaptionTextSitsElsewhere)
{
    EXPECT_NE(A.Title->TextShift(), B.Title->TextShift());
    EXPECT_NE(A.Title->TextShiftVert(), B.Title->TextShiftVert());
    EXPECT_NE(A.Title->TextRightClip(), B.Title->TextRightClip());
    EXPECT_NE(A.Title->FontHeight, B.Title->FontHeight);
    EXPECT_EQ(FrameHeight(*B.Title), 40); // the title mark spans the caption
}

TEST_F(SecondSkin, CaptionButtonsHaveOtherSizesFramesAndPlaces)
{
    ASSERT_EQ(A.SysButtons.size(), B.SysButtons.size());
    for (size_t i = 0; i < 4; ++i) { // close, maximize, restore, minimize
        const TDataSkinSysButton& a = *A.SysButtons[i];
        const TDataSkinSysButton& b = *B.SysButtons[i];
        ASSERT_EQ(a.Action, b.Action) << i;
        EXPECT_EQ(a.FrameCount, 6) << i;
        EXPECT_EQ(b.FrameCount, 3) << i;
        EXPECT_EQ(FrameWidth(a), 28) << i;
        EXPECT_EQ(a.Image.Height(), 20) << i;
        EXPECT_EQ(FrameWidth(b), 24) << i;
        EXPECT_EQ(b.Image.Height(), 24) << i;
        EXPECT_NE(a.XCoord, b.XCoord) << i;
        EXPECT_NE(a.YCoord, b.YCoord) << i;
        // Inside the caption, and clear of the right border.
        EXPECT_GE(b.YCoord, 0) << i;
        EXPECT_LE(b.YCoord + b.Image.Height(), FrameHeight(*B.BorderTop)) << i;
        EXPECT_GE(b.XCoord, FrameWidth(*B.BorderRight) + FrameWidth(b)) << i;
    }
    const TDataSkinSysButton& iconA = *A.SysButtons[4];
    const TDataSkinSysButton& iconB = *B.SysButtons[4];
    EXPECT_EQ(iconB.Action, 3);
    EXPECT_NE(iconA.XCoord, iconB.XCoord);
    EXPECT_NE(iconA.YCoord, iconB.YCoord);
}

TEST_F(SecondSkin, ControlFrameCountsAndGlyphSizesDiffer)
{
    EXPECT_EQ(A.HorzScrollThumb->FrameCount, 3);
    EXPECT_EQ(B.HorzScrollThumb->FrameCount, 2);
    EXPECT_EQ(B.VertScrollThumb->FrameCount, 2);
    EXPECT_EQ(FrameWidth(*B.HorzScrollThumb), 17);
    EXPECT_EQ(A.Buttons->CheckImage.Height(), 13);
    EXPECT_EQ(B.Buttons->CheckImage.Height(), 16);
    EXPECT_EQ(B.Buttons->CheckFrameCount, 4);
    EXPECT_EQ(B.Buttons->RadioImage.Width() / B.Buttons->RadioFrameCount, 16);
}

TEST_F(SecondSkin, ColoursDifferClearly)
{
    const std::pair<TColor, TColor> colours[] = {
        {A.ColorButtonFace, B.ColorButtonFace}, {A.ColorHilight, B.ColorHilight},     {A.ColorWindowText, B.ColorWindowText},
        {A.ColorMenu, B.ColorMenu},             {A.ColorScrollbar, B.ColorScrollbar}, {A.ColorTitleTextActive, B.ColorTitleTextActive}};
    for (const auto& [a, b] : colours)
        EXPECT_NE(a, b);
    EXPECT_GT(ColourDistance(A.ColorButtonFace, B.ColorButtonFace), 20);
    EXPECT_GT(ColourDistance(A.ColorHilight, B.ColorHilight), 150);
    // The active caption, where a screen test looks: blue in ours, green in the broad one.
    const auto caption = [](const TSkinData& s) {
        const TSkinBitmap& top = s.BorderTop->Image;
        return static_cast<TColor>(top.Pixel(top.Width() / 2, FrameHeight(*s.BorderTop) / 2) & 0xFFFFFF);
    };
    const TColor blue = caption(A), green = caption(B);
    EXPECT_GT(ColourDistance(blue, green), 100);
    EXPECT_GT(green >> 8 & 0xFF, green >> 16 & 0xFF); // the bitmap pixel is 0xRRGGBB
    EXPECT_GT(green >> 8 & 0xFF, green & 0xFF);
    EXPECT_NE(A.Title->ActiveTextColor, B.Title->ActiveTextColor);
}

TEST_F(SecondSkin, EveryNamedImageIsPresentAndNotEmpty)
{
    for (const TLoadedLook* look : {&Calm, &Broad}) {
        const std::string& description = look->Entries.back().Bytes;
        const std::set<std::string> names = NamedImages(description);
        EXPECT_GE(names.size(), 35u);
        for (const std::string& name : names) {
            const auto entry = std::find_if(look->Entries.begin(), look->Entries.end(), [&](const auto& e) { return e.Name == name; });
            ASSERT_TRUE(entry != look->Entries.end()) << look->Store.SkinName << " has no entry " << name;
            TMemoryStream bytes;
            bytes.WriteString(entry->Bytes);
            bytes.SetPosition(0);
            TSkinBitmap bitmap;
            bitmap.LoadFromStream(bytes);
            EXPECT_GT(bitmap.Width(), 0) << name;
            EXPECT_GT(bitmap.Height(), 0) << name;
        }
        const TSkinData& s = look->Store;
        const std::vector<const TDataSkinObject*> records = {
            s.BorderLeft.get(),  s.BorderRight.get(),    s.BorderTop.get(),       s.BorderBottom.get(),    s.Title.get(),
            s.Buttons.get(),     s.Progress.get(),       s.MenuBar.get(),         s.GroupBoxEdge.get(),    s.GroupBox.get(),
            s.Toolbars.get(),    s.Tabs.get(),           s.StatusBarEdges.get(),  s.ComboButton.get(),     s.SunkEdge.get(),
            s.ExtraImages.get(), s.Headerbar.get(),      s.MenuItem.get(),        s.MenuBackground.get(),  s.Scrollbar.get(),
            s.HorzScroll.get(),  s.VertScroll.get(),     s.HorzScrollThumb.get(), s.VertScrollThumb.get(), s.TrackbarThumbHorz.get(),
            s.TrackbarThumbVert.get(), s.UpDownHorz.get(), s.UpDownVert.get()};
        for (const TDataSkinObject* r : records) {
            ASSERT_NE(r, nullptr) << s.SkinName;
            EXPECT_FALSE(r->Image.Empty()) << s.SkinName << ": " << r->Name;
            EXPECT_EQ(r->Image.Width() % std::max(r->FrameCount, 1), 0) << s.SkinName << ": " << r->Name;
        }
        EXPECT_FALSE(s.Buttons->CheckImage.Empty());
        EXPECT_FALSE(s.Buttons->RadioImage.Empty());
        EXPECT_FALSE(s.UpDownVert->Image2.Empty());
        for (size_t i = 0; i < 4; ++i)
            EXPECT_FALSE(s.SysButtons[i]->Image.Empty()) << s.SkinName << " " << i;
    }
}

// The file the build packed with skinpack holds the same look.
TEST(SecondSkinFile, TheBuildsPackedFileIsTheBroadLook)
{
    test::THostFixture host;
    TSkinData store(nullptr);
    store.Loaded();
    store.SetSkinFile(ORBELIN_SECOND_SKIN_FILE);
    ASSERT_TRUE(store.SkinLoaded());
    EXPECT_EQ(store.SkinName, "Orbelin Broad");
    const TLoadedLook broad(skingen::BroadLook());
    EXPECT_TRUE(store.BorderTop->Image == broad.Store.BorderTop->Image);
    EXPECT_TRUE(store.SysButtons[0]->Image == broad.Store.SysButtons[0]->Image);
    EXPECT_EQ(store.SysButtons[0]->XCoord, broad.Store.SysButtons[0]->XCoord);
}

} // namespace
} // namespace orbelin
