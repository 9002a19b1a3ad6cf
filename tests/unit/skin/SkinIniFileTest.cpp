#include "skin/data/SkinIniFile.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

const char* Text = "; comment\r\n"
                   "ignored=before any section\r\n"
                   "[Personality]\r\n"
                   "  Top = top.bmp  \r\n"
                   "Quoted=\"a b\"\r\n"
                   "Single='x'\r\n"
                   "Half=\"open\r\n"
                   "Hex=0x1F\r\n"
                   "Dollar=$ff\r\n"
                   "Bad=12px\r\n"
                   "Neg=-3\r\n"
                   "top=second\r\n"
                   "Empty=\r\n"
                   "[colours]\n"
                   "ButtonFace=1 2 3\n"
                   "[PERSONALITY]\r\n"
                   "Left=later.bmp\r\n";

TEST(SkinIniFile, SectionsInFileOrder)
{
    const TSkinIniFile ini(Text);
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Personality", "colours", "PERSONALITY"}));
}

TEST(SkinIniFile, LookupRules)
{
    const TSkinIniFile ini(Text);
    struct Case { const char* section; const char* key; const char* expected; };
    const Case cases[] = {
        {"personality", "TOP", "top.bmp"}, {"Personality", "Quoted", "a b"}, {"Personality", "Single", "x"},
        {"Personality", "Half", "\"open"}, {"COLOURS", "buttonface", "1 2 3"}, {"Personality", "Left", "default"},
        {"Personality", "Empty", ""}, {"Nowhere", "Top", "default"}, {"Personality", "ignored", "default"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "default"), c.expected) << c.section << "/" << c.key;
    EXPECT_TRUE(ini.ValueExists("Personality", "Empty"));
    EXPECT_FALSE(ini.ValueExists("Personality", "Left"));
    EXPECT_TRUE(ini.SectionExists("COLOURS"));
}

TEST(SkinIniFile, Integers)
{
    const TSkinIniFile ini(Text);
    EXPECT_EQ(ini.ReadInteger("Personality", "Hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("Personality", "Dollar", 0), 255);
    EXPECT_EQ(ini.ReadInteger("Personality", "Bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Personality", "Neg", 7), -3);
    EXPECT_EQ(ini.ReadInteger("Personality", "Empty", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Personality", "Missing", -1), -1);
}

TEST(SkinIniFile, ValuesAreCutAt2047Characters)
{
    const TSkinIniFile ini("[S]\r\nLong=" + std::string(3000, 'v') + "\r\n");
    EXPECT_EQ(ini.ReadString("S", "Long", "").size(), 2047u);
}

} // namespace
} // namespace orbelin
