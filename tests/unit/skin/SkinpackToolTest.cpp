// skinpack run as its own process: extraction stays inside its folder, and
// packing refuses what the skin reader would refuse.

#include "base/Exceptions.h"
#include "base/Streams.h"
#include "tests/support/RunProgram.h"
#include "tools/skinpack/SkinArchiveWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace orbelin {
namespace {

namespace fs = std::filesystem;

class SkinpackTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Lower case throughout: the reader lower-cases entry names, and an
        // absolute name below must still name this folder. The test's own
        // temporary folder may hold capitals, /tmp does not.
        Base = fs::path("/tmp") / ("skinpack_tool_" + std::to_string(::getpid()));
        fs::remove_all(Base);
        fs::create_directories(Base);
    }
    void TearDown() override { fs::remove_all(Base); }

    test::TProgramRun Skinpack(const std::vector<std::string>& args) const
    {
        return test::RunProgram(SKINPACK_PATH, args, Base.string());
    }
    // Every regular file under Base, relative to it.
    std::set<std::string> FilesUnderBase() const
    {
        std::set<std::string> files;
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(Base))
            if (e.is_regular_file())
                files.insert(fs::relative(e.path(), Base).generic_string());
        return files;
    }
    // A LIST file naming files (created with their names as content).
    std::string List(const std::vector<std::string>& names) const
    {
        std::string text;
        for (const std::string& name : names) {
            if (!fs::exists(Base / name))
                WriteFileBytes((Base / name).string(), "bytes of " + name);
            text += name + "\n";
        }
        WriteFileBytes((Base / "LIST").string(), text);
        return (Base / "LIST").string();
    }

    fs::path Base;
};

TEST_F(SkinpackTool, ExtractWritesNothingOutsideItsFolder)
{
    const std::string base = Base.string();
    ASSERT_TRUE(std::none_of(base.begin(), base.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) << base;
    // Folders the escaping names would reach, so that a write there would
    // succeed and be seen.
    fs::create_directories(Base / "a" / "b" / "out");
    fs::create_directories(Base / "a" / "tmp");
    fs::create_directories(Base / "abs");
    std::vector<TSkinArchiveEntry> entries = {
        {"../../tmp/p.bmp", "escape"}, {"..\\evil.bmp", "back"},   {"c:evil.bmp", "drive"},
        {"ok.bmp", "fine"},            {"skin.ini", "[x]"},         {"line\x01" "break.bmp", "control"},
    };
    entries.push_back({(Base / "abs" / "p.bmp").string(), "absolute"});
    entries.push_back({"..", "parent"});
    const std::string archive = (Base / "bad.skin").string();
    WriteFileBytes(archive, PackSkin(entries));

    const test::TProgramRun r = Skinpack({"extract", archive, (Base / "a" / "b" / "out").string()});
    EXPECT_EQ(r.Status, 1) << r.Err;
    EXPECT_EQ(FilesUnderBase(), (std::set<std::string>{"bad.skin", "a/b/out/ok.bmp", "a/b/out/skin.ini"}));
    EXPECT_EQ(ReadFileBytes((Base / "a" / "b" / "out" / "ok.bmp").string()), "fine");
    EXPECT_NE(r.Err.find("\"../../tmp/p.bmp\" not written: the name has a directory part"), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("\"c:evil.bmp\" not written: the name names a drive"), std::string::npos);
    EXPECT_NE(r.Err.find("\"..\" not written: the name names a directory"), std::string::npos);
    EXPECT_NE(r.Err.find("control character"), std::string::npos);
}

TEST_F(SkinpackTool, ExtractOfASoundSkinSucceeds)
{
    const std::string archive = (Base / "good.skin").string();
    WriteFileBytes(archive, PackSkin({{"Main.BMP", "m"}, {"skin.ini", "[s]"}}));
    const test::TProgramRun r = Skinpack({"extract", archive, (Base / "out").string()});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(ReadFileBytes((Base / "out" / "main.bmp").string()), "m");
}

TEST_F(SkinpackTool, PackTakesUpTo1001Entries)
{
    std::vector<std::string> names(1000, "a.bmp");
    names.push_back("skin.ini");
    const std::string out = (Base / "full.skin").string();
    const test::TProgramRun packed = Skinpack({"pack", List(names), out});
    EXPECT_EQ(packed.Status, 0) << packed.Err;
    const test::TProgramRun listed = Skinpack({"list", out});
    EXPECT_EQ(listed.Status, 0) << listed.Err;
    EXPECT_EQ(std::count(listed.Out.begin(), listed.Out.end(), '\n'), 1001);

    names.push_back("b.bmp");
    const std::string over = (Base / "over.skin").string();
    const test::TProgramRun refused = Skinpack({"pack", List(names), over});
    EXPECT_EQ(refused.Status, 1);
    EXPECT_EQ(refused.Err, "skinpack: 1002 entries; a skin holds at most 1001\n");
    EXPECT_FALSE(fs::exists(over));
}

TEST_F(SkinpackTool, PackRefusesNamesTheReaderCannotFind)
{
    for (const std::string& name : {std::string("dir\\a.bmp"), std::string("c:a.bmp")}) {
        const std::string out = (Base / "named.skin").string();
        const test::TProgramRun r = Skinpack({"pack", List({name, "skin.ini"}), out});
        EXPECT_EQ(r.Status, 1) << name;
        EXPECT_NE(r.Err.find("entry name \"" + name + "\""), std::string::npos) << r.Err;
        EXPECT_FALSE(fs::exists(out)) << name;
        fs::remove(Base / name);
    }
}

TEST_F(SkinpackTool, PackOfASkinNeedsItsDescription)
{
    const std::string out = (Base / "plain.skin").string();
    const test::TProgramRun skin = Skinpack({"pack", List({"a.bmp", "b.bmp"}), out});
    EXPECT_EQ(skin.Status, 1);
    EXPECT_EQ(skin.Err, "skinpack: no skin description: no entry name holds \".ini\"\n");
    EXPECT_FALSE(fs::exists(out));

    const test::TProgramRun archive = Skinpack({"pack", "--archive", List({"a.bmp", "b.bmp"}), out});
    EXPECT_EQ(archive.Status, 0) << archive.Err;
    EXPECT_TRUE(fs::exists(out));
}

TEST(SkinEntryCheck, NamesWithLineBreaksOrEmptyAreRefused)
{
    for (const std::string& name : {std::string("a\rb.bmp"), std::string("a\nb.bmp"), std::string()})
        EXPECT_THROW(CheckSkinEntries({{name, "x"}, {"s.ini", ""}}, true), Exception) << name;
    EXPECT_NO_THROW(CheckSkinEntries({{"a.bmp", "x"}, {"Skin.INI", ""}}, true));
    EXPECT_EQ(EntryNameFault("a..b.bmp"), "");
    EXPECT_EQ(EntryNameFault("..."), "");
}

} // namespace
} // namespace orbelin
