#include "skin/data/SkinReader.h"
#include "SkinTestSupport.h"
#include "tools/skinpack/LZHEncoder.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

using test::THostFixture;

std::unique_ptr<TMemoryStream> PackedStream(const std::string& plainArchive)
{
    const std::vector<uint8_t> packed = TLZHEncoder::Pack(plainArchive);
    auto s = std::make_unique<TMemoryStream>();
    s->WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    return s;
}

std::string Entry(const TSkinReader& reader, const std::string& name) { return std::string(reader.GetEntry(name)); }

class SkinReaderTest : public ::testing::Test {
protected:
    THostFixture host;
    TSkinReader reader;
    const std::vector<TSkinArchiveEntry> entries = {
        {"Top.BMP", "first top"}, {"skin.ini", "[Personality]\r\n"}, {"top.bmp", "second top"}, {"Empty.bmp", ""}, {"last.bmp", "tail"}};
};

TEST_F(SkinReaderTest, IndexesNamesLowerCasedWithSizes)
{
    auto packed = PackedStream(BuildSkinArchive(entries));
    ASSERT_TRUE(reader.ReadSkin(*packed));
    ASSERT_EQ(reader.Count(), 5);
    EXPECT_EQ(reader.Names()[0], "top.bmp");
    EXPECT_EQ(reader.Names()[3], "empty.bmp");
    EXPECT_EQ(reader.EntrySize(1), 15);
    EXPECT_EQ(reader.Header().Version, 20000);
    EXPECT_EQ(reader.Header().NameTextLength, 49);
}

TEST_F(SkinReaderTest, GetEntryFindsAnyLetterCaseAndTheFirstOfEqualNames)
{
    auto packed = PackedStream(BuildSkinArchive(entries));
    ASSERT_TRUE(reader.ReadSkin(*packed));
    EXPECT_EQ(Entry(reader, "TOP.bmp"), "first top");
    EXPECT_EQ(Entry(reader, "Last.Bmp"), "tail");
    EXPECT_EQ(Entry(reader, "empty.bmp"), "");
    EXPECT_EQ(Entry(reader, "missing.bmp"), "");
}

TEST_F(SkinReaderTest, EntriesOfAnEarlierSkinAreGoneAfterTheNextRead)
{
    auto first = PackedStream(BuildSkinArchive(entries));
    ASSERT_TRUE(reader.ReadSkin(*first));
    auto second = PackedStream(BuildSkinArchive({{"other.bmp", "other"}}));
    ASSERT_TRUE(reader.ReadSkin(*second));
    EXPECT_EQ(Entry(reader, "last.bmp"), "");
    EXPECT_EQ(Entry(reader, "other.bmp"), "other");
}

TEST_F(SkinReaderTest, FindEntryMatchesASubstringOfTheLowerCasedName)
{
    auto packed = PackedStream(BuildSkinArchive(entries));
    ASSERT_TRUE(reader.ReadSkin(*packed));
    std::string name = "unchanged";
    EXPECT_EQ(reader.FindEntry(".ini", name), "[Personality]\r\n");
    EXPECT_EQ(name, "skin.ini");

    name = "unchanged";
    EXPECT_EQ(reader.FindEntry(".INI", name), ""); // the text itself is not lower-cased
    EXPECT_EQ(name, "unchanged");
}

TEST_F(SkinReaderTest, OtherVersionsShowTheOldSkinMessage)
{
    for (const int32_t version : {19999, 20001}) {
        host.Messages.clear();
        auto packed = PackedStream(BuildSkinArchive(entries, version));
        EXPECT_FALSE(reader.ReadSkin(*packed)) << version;
        ASSERT_EQ(host.Messages.size(), 1u);
        EXPECT_EQ(host.Messages[0], "This is Older Skin File\rPlease update to new version !");
    }
}

TEST_F(SkinReaderTest, RefusesMoreThan1001Names)
{
    std::vector<TSkinArchiveEntry> many(1002, {"a.bmp", ""});
    auto packed = PackedStream(BuildSkinArchive(many));
    try {
        reader.ReadSkin(*packed);
        FAIL() << "no exception";
    } catch (const ESkinArchiveError& e) {
        EXPECT_NE(e.Message().find("1002 entries"), std::string::npos) << e.Message();
    }
    std::vector<TSkinArchiveEntry> limit(1001, {"a.bmp", "x"});
    auto ok = PackedStream(BuildSkinArchive(limit));
    EXPECT_TRUE(reader.ReadSkin(*ok));
}

std::string WithSize(std::string archive, int entry, int32_t size, size_t namesLength)
{
    const size_t at = 16 + namesLength + 4 * static_cast<size_t>(entry);
    for (int i = 0; i < 4; ++i)
        archive[at + static_cast<size_t>(i)] = static_cast<char>(static_cast<uint32_t>(size) >> (8 * i));
    return archive;
}

TEST_F(SkinReaderTest, RefusesEntriesPastTheDataArea)
{
    const std::vector<TSkinArchiveEntry> two = {{"a.bmp", "aaaa"}, {"b.ini", "bb"}};
    const size_t names = std::string("a.bmp\r\nb.ini\r\n").size();
    struct Case { const char* name; int entry; int32_t size; };
    for (const Case c : {Case{"second too long", 1, 3}, Case{"first too long", 0, 7}, Case{"negative", 0, -1},
                         Case{"huge", 1, 0x7FFFFFFF}}) {
        auto packed = PackedStream(WithSize(BuildSkinArchive(two), c.entry, c.size, names));
        try {
            reader.ReadSkin(*packed);
            ADD_FAILURE() << c.name;
        } catch (const ESkinArchiveError& e) {
            EXPECT_NE(e.Message().find("reaches past the end"), std::string::npos) << c.name;
        }
    }
}

TEST_F(SkinReaderTest, ShortArchivesRaiseReadErrors)
{
    const std::string archive = BuildSkinArchive(entries);
    for (const size_t cut : {size_t{0}, size_t{10}, size_t{16 + 20}, size_t{16 + 49 + 8}}) {
        auto packed = PackedStream(archive.substr(0, cut));
        EXPECT_THROW(reader.ReadSkin(*packed), EReadError) << cut;
    }
}

TEST_F(SkinReaderTest, RefusesAPlainSizeNoStreamCanYield)
{
    TMemoryStream packed;
    const uint8_t bytes[] = {0x00, 0x00, 0x00, 0x40, 0x12, 0x34};
    packed.WriteBuffer(bytes, sizeof bytes);
    EXPECT_THROW(reader.ReadSkin(packed), ESkinArchiveError);
}

TEST_F(SkinReaderTest, EmptyNameLineInTheMiddleIsAnEntry)
{
    const std::vector<TSkinArchiveEntry> withBlank = {{"a.bmp", "a"}, {"", "blank"}, {"c.ini", "c"}};
    auto packed = PackedStream(BuildSkinArchive(withBlank));
    ASSERT_TRUE(reader.ReadSkin(*packed));
    EXPECT_EQ(reader.Count(), 3);
    EXPECT_EQ(Entry(reader, "c.ini"), "c");
}

TEST(AsciiLowerCase, ChangesOnlyAsciiLetters)
{
    EXPECT_EQ(AsciiLowerCase("AbC.BMP\xC6\xA4"), "abc.bmp\xC6\xA4");
}

} // namespace
} // namespace orbelin
