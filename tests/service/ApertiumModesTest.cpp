#include "ApertiumModes.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace orbelin::service {
namespace {

using Commands = std::vector<Command>;

TEST(ParseModePipeline, SplitsCommandsAndQuotedWords)
{
    const Commands commands = parseModePipeline(
        "lt-proc '/usr/share/a b/x.bin' | apertium-tagger -g $2 \"/p/q.prob\" | lt-proc $1 "
        "'/g.bin'\n",
        "-n", "");
    const Commands expected = {
        {"lt-proc", "/usr/share/a b/x.bin"},
        {"apertium-tagger", "-g", "/p/q.prob"},
        {"lt-proc", "-n", "/g.bin"},
    };
    EXPECT_EQ(commands, expected);
}

TEST(ParseModePipeline, QuotedEmptyExpansionStaysAWord)
{
    EXPECT_EQ(parseModePipeline("prog \"$2\" x", "-g", ""), (Commands{{"prog", "", "x"}}));
    EXPECT_EQ(parseModePipeline("prog $2 x", "-g", ""), (Commands{{"prog", "x"}}));
    EXPECT_EQ(parseModePipeline("prog ''", "-g", ""), (Commands{{"prog", ""}}));
}

TEST(ParseModePipeline, EscapesAndJoinedQuotes)
{
    EXPECT_EQ(parseModePipeline("a\\ b 'c'\"d\"e \"x\\\"y\"", "", ""),
              (Commands{{"a b", "cde", "x\"y"}}));
    EXPECT_EQ(parseModePipeline("a \\\n b", "", ""), (Commands{{"a", "b"}}));
    EXPECT_EQ(parseModePipeline("a x#y # comment | b", "", ""), (Commands{{"a", "x#y"}}));
}

TEST(ParseModePipeline, RefusesWhatNeedsAShell)
{
    for (const char* text : {"a | | b", "| a", "a |", "a 'open", "a \"open", "a > out", "a; b",
                             "a && b", "a $HOME", "a `x`", "a $(x)", ""}) {
        EXPECT_THROW(parseModePipeline(text, "-g", ""), ModeSyntaxError) << text;
    }
}

TEST(WithNullFlush, AddsTheFlagAfterEachProgramOnce)
{
    const Commands commands = withNullFlush({{"lt-proc", "x.bin"}, {"apertium-tagger", "-g", "p"},
                                             {"apertium-pretransfer"}, {"lt-proc", "-z", "y"}});
    const Commands expected = {{"lt-proc", "-z", "x.bin"},
                               {"apertium-tagger", "-z", "-g", "p"},
                               {"apertium-pretransfer", "-z"},
                               {"lt-proc", "-z", "y"}};
    EXPECT_EQ(commands, expected);
}

TEST(LoadModePipeline, RealEnglishSpanishMode)
{
    const std::filesystem::path mode = "/usr/share/apertium/modes/eng-spa.mode";
    ASSERT_TRUE(std::filesystem::exists(mode)) << "apertium-eng-spa is not installed (scripts/setup installs it)";
    const Commands commands = loadModePipeline(mode, "-n");
    ASSERT_GE(commands.size(), 5u);
    EXPECT_EQ(commands.front().at(0), "lt-proc");
    EXPECT_EQ(commands.front().at(1), "-z");
    EXPECT_EQ(commands.at(1), (Command{"apertium-tagger", "-z", "-g",
                                       "/usr/share/apertium/apertium-eng-spa/eng-spa.prob"}));
    EXPECT_EQ(commands.at(commands.size() - 2).at(2), "-n");  // $1 of the generator
}

TEST(ModeCatalog, NamesInBothCodeStylesVariantsAndPivots)
{
    test::TempDir dir;
    for (const char* name : {"eng-spa", "spa-eng", "spa-eng_US", "fr-es", "es-fr", "es-pt",
                             "es-pt_BR", "pt-es", "spa-ita", "ita-spa", "eco-es-fr", "eng-deu",
                             "xx-yy"}) {
        test::writeFile(dir.path() / (std::string(name) + ".mode"), "cat\n");
    }
    test::writeFile(dir.path() / "README", "not a mode");
    const ModeCatalog catalog = ModeCatalog::scan(dir.path());

    EXPECT_EQ(catalog.direct(Language::en, Language::es), dir.path() / "eng-spa.mode");
    EXPECT_EQ(catalog.direct(Language::es, Language::en), dir.path() / "spa-eng.mode");
    EXPECT_EQ(catalog.direct(Language::es, Language::pt), dir.path() / "es-pt_BR.mode");
    EXPECT_EQ(catalog.direct(Language::es, Language::fr), dir.path() / "es-fr.mode");
    EXPECT_FALSE(catalog.direct(Language::en, Language::fr));
    EXPECT_FALSE(catalog.direct(Language::en, Language::de));

    EXPECT_EQ(catalog.route(Language::fr, Language::en),
              (std::vector<std::filesystem::path>{dir.path() / "fr-es.mode",
                                                  dir.path() / "spa-eng.mode"}));
    EXPECT_EQ(catalog.route(Language::it, Language::pt),
              (std::vector<std::filesystem::path>{dir.path() / "ita-spa.mode",
                                                  dir.path() / "es-pt_BR.mode"}));
    EXPECT_TRUE(catalog.route(Language::en, Language::de).empty());
    EXPECT_TRUE(catalog.route(Language::en, Language::ja).empty());
    EXPECT_TRUE(catalog.route(Language::en, Language::en).empty());
}

TEST(ModeCatalog, MissingDirectoryIsEmpty)
{
    const ModeCatalog catalog = ModeCatalog::scan("/nonexistent/orbelin/modes");
    EXPECT_TRUE(catalog.route(Language::en, Language::es).empty());
}

TEST(ModeCatalog, InstalledModesCoverEveryEuropeanPair)
{
    const ModeCatalog catalog = ModeCatalog::scan("/usr/share/apertium/modes");
    const Language languages[] = {Language::en, Language::fr, Language::es, Language::pt,
                                  Language::it};
    for (const Language source : languages) {
        for (const Language target : languages) {
            if (source == target) {
                continue;
            }
            const auto route = catalog.route(source, target);
            EXPECT_FALSE(route.empty()) << codeOf(source) << "->" << codeOf(target);
            const bool direct = route.size() == 1;
            const bool viaSpanish = source == Language::es || target == Language::es;
            EXPECT_TRUE(direct || !viaSpanish) << codeOf(source) << "->" << codeOf(target);
        }
    }
}

}  // namespace
}  // namespace orbelin::service
