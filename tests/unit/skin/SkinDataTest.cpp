#include "base/FormDescription.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinReader.h"
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace orbelin {
namespace {

using test::BmpBytes;
using test::LoadEntries;
using test::THostFixture;

const std::vector<TSkinArchiveEntry>& SmallSkin()
{
    static const std::vector<TSkinArchiveEntry> entries = {
        {"top.bmp", BmpBytes(30, 60)},
        {"skin.ini", "[TitlebarSkin]\r\nSkinName=Test\r\n[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\n"
                     "[Colours]\r\nButtonFace=240 244 248\r\n"}};
    return entries;
}

TEST(SkinData, ConstructionDefaults)
{
    TSkinData store(nullptr);
    EXPECT_FALSE(store.Active());
    EXPECT_EQ(store.DisableTag, 99);
    EXPECT_EQ(store.Version, "1.0.0.0");
    EXPECT_TRUE(store.MenuUpdate);
    EXPECT_TRUE(store.NCPaintEnabled);
    EXPECT_FALSE(store.SkinLoaded());
    EXPECT_EQ(store.SkinFormtype(), TSkinFormType::sfMainform);
    EXPECT_EQ(store.SkinControls.Bits(), 0x3FFFFu); // all 19 members but xcFastReport
    EXPECT_FALSE(store.SkinControls.Contains(TSkinControlType::xcFastReport));
    ASSERT_EQ(store.Skin3rd().Count(), 95);
    EXPECT_EQ(store.Skin3rd()[0], "TTBDock=Panel");
    EXPECT_EQ(store.Skin3rd()[13], "TDBCheckboxEh=Checkbox");
    EXPECT_EQ(store.Skin3rd()[14], "TDBCheckboxEh=Checkbox");
    EXPECT_EQ(store.Skin3rd()[94], "TOVCDBNUMERICFIELD=Edit");
    ASSERT_TRUE(store.Buttons && store.Title && store.BorderLeft && store.BorderRight && store.BorderTop && store.BorderBottom);
    EXPECT_EQ(store.BorderTop->Name, "Top");
    EXPECT_EQ(store.Title->Name, "Title");
    EXPECT_FALSE(store.MenuItem);
    EXPECT_TRUE(store.DefaultIcon && store.DefaultIcon->Empty());
    ASSERT_TRUE(store.MenuGlyphs);
    EXPECT_EQ(store.MenuGlyphs->Count(), 4);
    EXPECT_EQ(store.MenuGlyphs->TransparentColor, clWhite);
    EXPECT_EQ(store.SkinStore(), "(none)");
}

TEST(SkinData, SkinStoreReadsGoodOnlyInDesignModeWithData)
{
    THostFixture host;
    TSkinData store(nullptr);
    LoadEntries(store, SmallSkin());
    EXPECT_EQ(store.SkinStore(), "(none)");
    store.SetDesigning(true);
    EXPECT_EQ(store.SkinStore(), "(Good)");
    store.SetProperty("SkinStore", TPropertyValue(std::string("(Good)")));
    EXPECT_EQ(store.SkinStore(), "(Good)");
}

TEST(SkinData, SkinStreamLoadsTheSkinAndWritesItBack)
{
    THostFixture host;
    TSkinData store(nullptr);
    const std::string packed = PackSkin(SmallSkin());
    store.SetProperty("SkinStream", test::SkinStreamValue(packed));
    EXPECT_TRUE(store.SkinLoaded());
    EXPECT_EQ(store.SkinName, "Test");
    EXPECT_EQ(store.BorderTop->FrameCount, 2);
    EXPECT_EQ(store.BorderTop->Image.Width(), 30);
    EXPECT_EQ(store.ColorButtonFace, RGBColor(240, 244, 248));
    EXPECT_EQ(store.FaceBrush.Color(), RGBColor(240, 244, 248));

    TMemoryStream written;
    store.WriteSkinStream(written);
    const std::vector<uint8_t> expected = SkinStreamPropertyBytes(packed);
    EXPECT_EQ(std::vector<uint8_t>(written.Bytes().begin(), written.Bytes().end()), expected);
}

TEST(SkinData, SkinStreamOfLengthZeroChangesNothing)
{
    THostFixture host;
    TSkinData store(nullptr);
    LoadEntries(store, SmallSkin());
    const int64_t size = store.PackedSize();
    store.SetProperty("SkinStream", TBinaryValue{{0, 0, 0, 0}});
    store.SetProperty("SkinStream", TBinaryValue{{0xFF, 0xFF, 0xFF, 0xFF}});
    EXPECT_EQ(store.PackedSize(), size);
    EXPECT_TRUE(store.SkinLoaded());
}

TEST(SkinData, SkinStreamShorterThanItsLengthRaises)
{
    TSkinData store(nullptr);
    EXPECT_THROW(store.SetProperty("SkinStream", TBinaryValue{{10, 0, 0, 0, 1, 2}}), EReadError);
    EXPECT_THROW(store.SetProperty("SkinStream", TBinaryValue{{1, 0}}), EReadError);
    EXPECT_EQ(store.PackedSize(), 0);
}

TEST(SkinData, DesignModeKeepsThePackedBytesButLoadsNothing)
{
    TSkinData store(nullptr);
    store.SetDesigning(true);
    LoadEntries(store, SmallSkin());
    EXPECT_GT(store.PackedSize(), 0);
    EXPECT_FALSE(store.SkinLoaded());
}

TEST(SkinData, OldArchiveLeavesTheSkinNotLoaded)
{
    THostFixture host;
    TSkinData store(nullptr);
    store.SetProperty("SkinStream", test::SkinStreamValue(test::PackPlain(BuildSkinArchive(SmallSkin(), 19999))));
    EXPECT_FALSE(store.SkinLoaded());
    EXPECT_EQ(host.Messages.size(), 1u);
}

TEST(SkinData, ArchiveWithoutDescriptionLeavesTheSkinNotLoaded)
{
    THostFixture host;
    TSkinData store(nullptr);
    LoadEntries(store, {{"top.bmp", BmpBytes(4, 4)}});
    EXPECT_FALSE(store.SkinLoaded());
}

TEST(SkinData, LoadedRegistersAndCommandsTheManager)
{
    THostFixture host;
    TSkinData store(nullptr);
    store.BeginLoading();
    LoadEntries(store, SmallSkin());
    store.SetProperty("Active", TIdentifier{"True"});
    EXPECT_TRUE(host.Log.empty()); // nothing is commanded while reading
    store.Loaded();
    EXPECT_EQ(host.Log, (std::vector<std::string>{"register", "hook", "command 1 250"}));
    EXPECT_TRUE(store.Active());
}

TEST(SkinData, LoadedTurnsActiveOffWhenTheArchiveWasRefused)
{
    THostFixture host;
    TSkinData store(nullptr);
    store.BeginLoading();
    store.SetProperty("SkinStream", test::SkinStreamValue(test::PackPlain(BuildSkinArchive(SmallSkin(), 20001))));
    store.SetProperty("Active", TIdentifier{"True"});
    store.Loaded();
    EXPECT_FALSE(store.Active());
    EXPECT_EQ(host.Log, (std::vector<std::string>{"register", "hook"}));
}

TEST(SkinData, ActiveTrueWithoutSkinCommandsNothing)
{
    THostFixture host;
    TSkinData store(nullptr);
    store.Loaded();
    host.Log.clear();
    store.SetActive(true);
    EXPECT_TRUE(host.Log.empty());
    store.SetActive(false);
    EXPECT_EQ(host.Log, (std::vector<std::string>{"command 2 250", "pending"}));
}

TEST(SkinData, ActiveCommandsPerFormType)
{
    struct Case { TSkinFormType type; std::vector<std::string> log; };
    const Case cases[] = {
        {TSkinFormType::sfMainform, {"command 1 250", "pending"}},
        {TSkinFormType::sfOnlyThisForm, {"pending", "command 1 250"}},
        {TSkinFormType::sfDialog, {}},
    };
    for (const Case& c : cases) {
        THostFixture host;
        TSkinData store(nullptr);
        LoadEntries(store, SmallSkin());
        store.SetSkinFormtype(c.type);
        store.Loaded();
        host.Log.clear();
        store.SetActive(true);
        EXPECT_EQ(host.Log, c.log) << SkinFormTypeName(c.type);
        EXPECT_TRUE(store.Active());
        host.Log.clear();
        store.SetActive(true); // unchanged: nothing
        EXPECT_TRUE(host.Log.empty());
    }
}

TEST(SkinData, LoadedOfADialogStoreStartsTheManager)
{
    THostFixture host;
    TSkinData store(nullptr);
    store.SetSkinFormtype(TSkinFormType::sfDialog);
    store.Loaded();
    EXPECT_EQ(host.Log, (std::vector<std::string>{"register", "active", "started", "skin owner"}));
}

TEST(SkinData, ActiveBeforeLoadedBringsTheManagerUp)
{
    THostFixture host;
    TSkinData store(nullptr);
    LoadEntries(store, SmallSkin());
    store.SetActive(true);
    EXPECT_EQ(host.Log, (std::vector<std::string>{"register", "command 1 250", "pending"}));
}

TEST(SkinData, WithoutAManagerTheStoreStillWorks)
{
    TSkinData store(nullptr);
    LoadEntries(store, SmallSkin());
    store.Loaded();
    store.SetActive(true);
    EXPECT_TRUE(store.Active());
}

TEST(SkinData, DestructionUnregisters)
{
    THostFixture host;
    {
        TSkinData store(nullptr);
        store.Loaded();
    }
    EXPECT_EQ(host.Log.back(), "unregister");
}

TEST(SkinData, SkinFileLoadsAndRefreshes)
{
    THostFixture host;
    const std::string file = (std::filesystem::temp_directory_path() / "orbelin-skin-test.skin").string();
    WriteFileBytes(file, PackSkin(SmallSkin()));
    TSkinData store(nullptr);
    store.Loaded();
    host.Log.clear();
    store.SetSkinFile(file);
    EXPECT_TRUE(store.SkinLoaded());
    EXPECT_EQ(host.Log, (std::vector<std::string>{"pending", "drop title buttons", "command 3 250"}));
    std::filesystem::remove(file);

    store.SetSkinFile(file + ".missing");
    EXPECT_FALSE(store.SkinLoaded());
    EXPECT_EQ(store.SkinFile(), file + ".missing");
}

TEST(SkinData, FireSkinChangedCallsTheEvent)
{
    TSkinData store(nullptr);
    store.FireSkinChanged(); // unassigned: nothing
    TObject* sender = nullptr;
    ASSERT_TRUE(store.SetEvent("OnSkinChanged", [&](TObject* s) { sender = s; }));
    store.FireSkinChanged();
    EXPECT_EQ(sender, &store);
}

TEST(SkinData, EntryBitmapNamesUseTheFilePartAndAnExactExtension)
{
    THostFixture host;
    struct Case { const char* value; bool loads; };
    const Case cases[] = {{"top.bmp", true}, {"C:\\skins\\top.bmp", true}, {"c:top.bmp", true}, {"TOP.bmp", true},
                          {"top.BMP", false}, {"top", false}, {"dir\\", false}, {"x/top.bmp", false}, {"", false}};
    for (const Case& c : cases) {
        TSkinData store(nullptr);
        LoadEntries(store, {{"top.bmp", BmpBytes(5, 3)},
                            {"a.ini", std::string("[Personality]\r\nLeft=") + c.value + "\r\n"}});
        ASSERT_TRUE(store.SkinLoaded());
        EXPECT_EQ(!store.BorderLeft->Image.Empty(), c.loads) << c.value;
    }
}

TEST(SkinData, FormDescriptionPropertiesReachTheStore)
{
    THostFixture host;
    const std::string packed = PackSkin(SmallSkin());
    const std::string text = "object SkinData1: TSkinData\r\n"
                             "  Active = True\r\n"
                             "  DisableTag = 98\r\n"
                             "  SkinControls = [xcMainMenu, xcButton, xcFastReport]\r\n"
                             "  Skin3rd.Strings = (\r\n    'TFoo=Panel'\r\n    'TBar=Edit')\r\n"
                             "  SkinStore = '(Good)'\r\n"
                             "  SkinFormtype = sfOnlyThisForm\r\n"
                             "  Version = '1.0.0.0'\r\n"
                             "  MenuUpdate = False\r\n" +
                             SkinStreamPropertyText(packed) + "end\r\n";
    const TFormNode node = ParseFormDescription(text);
    TSkinData store(nullptr);
    store.BeginLoading();
    AssignProperties(store, node, "Form1", nullptr);
    store.Loaded();
    EXPECT_TRUE(store.Active());
    EXPECT_EQ(store.DisableTag, 98);
    EXPECT_TRUE(store.SkinControls.Contains(TSkinControlType::xcFastReport));
    EXPECT_FALSE(store.SkinControls.Contains(TSkinControlType::xcEdit));
    EXPECT_EQ(store.Skin3rd().Count(), 2);
    EXPECT_EQ(store.SkinFormtype(), TSkinFormType::sfOnlyThisForm);
    EXPECT_FALSE(store.MenuUpdate);
    EXPECT_TRUE(store.SkinLoaded());
    TMemoryStream written;
    store.WriteSkinStream(written);
    EXPECT_EQ(std::vector<uint8_t>(written.Bytes().begin(), written.Bytes().end()), SkinStreamPropertyBytes(packed));
}

TEST(SkinData, UnknownPropertyValuesAreRefused)
{
    TSkinData store(nullptr);
    EXPECT_THROW(store.SetProperty("SkinControls", TSetValue{{"xcNothing"}}), EConvertError);
    EXPECT_THROW(store.SetProperty("SkinFormtype", TIdentifier{"sfWhatever"}), EConvertError);
    EXPECT_FALSE(store.SetProperty("Colour", TPropertyValue(int64_t{1})));
}

TEST(SkinStreamText, HexLinesEndWithTheClosingBrace)
{
    std::string fiveA;
    for (int i = 0; i < 28; ++i)
        fiveA += "5A";
    const std::vector<std::string> lines = SplitLines(SkinStreamPropertyText(std::string(40, '\x5A'), 2));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "  SkinStream = {");
    EXPECT_EQ(lines[1], "    28000000" + fiveA);
    EXPECT_EQ(lines[2], "    " + fiveA.substr(0, 24) + "}");
}

TEST(SkinStreamText, EmptySkinIsTheLengthWordAlone)
{
    const std::vector<std::string> lines = SplitLines(SkinStreamPropertyText("", 0));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "  00000000}");
}

} // namespace
} // namespace orbelin
