#include "ApertiumText.h"
#include "PipeIo.h"
#include "TextPieces.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace orbelin::service {
namespace {

using namespace std::chrono_literals;

// What Apertium's own program makes of the input.
std::string apertium(const char* program, std::string_view input)
{
    const IoResult result = runFilter({program}, input, Clock::now() + 10s);
    EXPECT_EQ(result.status, IoStatus::done) << program;
    return result.output;
}

// Texts made of the pieces the formats treat apart: words, UTF-8, blanks of
// every kind, paragraph breaks, escaped characters, sentence ends.
std::vector<std::string> randomTexts(const std::vector<std::string_view>& pieces, int count)
{
    std::mt19937 random(20261208);
    std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 24);
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) {
        std::string text;
        for (int n = length(random); n > 0; --n) {
            text.append(pieces[piece(random)]);
        }
        texts.push_back(text);
    }
    return texts;
}

const std::vector<std::string_view> textPieces = {
    "a", "word", "é", "中文", " ", " ", "  ", "\t", "\n", "\r", "\r\n", "\n\n", "~", ".", ",",
    "[", "]", "\\", "^", "$", "/", "@", "<", ">", "{", "}", "*", "#", "\f", "[]", ".[]"};

const std::vector<std::string> namedTexts = {
    "",
    "Hello, how are you?",
    "Line one [with brackets] \\ and ^caret$ \r\nline two\n\nend",
    "  leading and trailing  ",
    " a ",
    "\n\nstarts with a paragraph",
    "a\n\n",
    "a\n \nb",          // a blank line with a space is no paragraph break
    "a\n\t\n\nb",
    "a\r\n\r\nb",
    "a\n\r\nb",
    "a\r\n\nb",
    "a~b ~ c~",
    "@start and [@file] and x.[]y",
    "5 * 3 #tag <b>bold</b> {x}",
};

TEST(ApertiumText, DeformatsAsApertiumDestxt)
{
    for (const std::string& text : namedTexts) {
        EXPECT_EQ(deformatText(text), apertium("apertium-destxt", text)) << text;
    }
    for (const std::string& text : randomTexts(textPieces, 150)) {
        EXPECT_EQ(deformatText(text), apertium("apertium-destxt", text)) << text;
    }
}

TEST(ApertiumText, ReformatsAsApertiumRetxt)
{
    // Also the shapes the pipeline's stages leave: sentence ends moved,
    // superblanks next to each other or escaped '@' at their start.
    std::vector<std::string> streams = {
        "Hola, cómo estás?.[]", "Hola.[][\n\n]Adi\\[o\\]s.[][ ]", "[\\@x] \\@ \\~ \\. [][]",
        "a\\", "a.[", ".[].[]", "\\[\\@"};
    for (const std::string& text : namedTexts) {
        streams.push_back(deformatText(text));
    }
    std::vector<std::string_view> pieces = textPieces;
    pieces.insert(pieces.end(), {"\\[", "\\]", "\\\\", "\\@", "[\\@", ".[][\n]", "[ \t]"});
    for (const std::string& stream : randomTexts(pieces, 150)) {
        // "[@" names a file for apertium-retxt to read; the pipeline never
        // produces it from deformatted text.
        if (stream.find("[@") == std::string::npos) {
            streams.push_back(stream);
        }
    }
    for (const std::string& stream : streams) {
        EXPECT_EQ(reformatText(stream), apertium("apertium-retxt", stream)) << stream;
    }
}

TEST(ApertiumText, RoundTripGivesTheTextBack)
{
    std::vector<std::string> texts = randomTexts(textPieces, 500);
    texts.insert(texts.end(), namedTexts.begin(), namedTexts.end());
    // Longer than the blocks apertium-destxt puts into files of their own.
    texts.push_back("a" + std::string(10000, ' ') + "b\n" + std::string(9000, '\n') + "c");
    for (const std::string& text : texts) {
        EXPECT_EQ(reformatText(deformatText(text)), text) << text;
    }
}

TEST(TextPieces, CutsWhereTheTextAllowsAndLosesNothing)
{
    struct Case {
        std::string text;
        std::size_t limit;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {"short", 16, {"short"}},
        {"", 16, {""}},
        {"One two.\n\nThree four five six.", 16, {"One two.\n\n", "Three four five ", "six."}},
        {"First line\nsecond line here", 16, {"First line\n", "second line here"}},
        {"Hi there. Bye now. Again.", 16, {"Hi there. ", "Bye now. Again."}},
        {"aaaa bbbbbbbbbbbbbbbbbbbb", 8, {"aaaa ", "bbbbbbbb", "bbbbbbbb", "bbbb"}},
        {"中文中文。中文中文", 16, {"中文中文。", "中文中文"}},
        {"中文中文中文中文", 16, {"中文中文中", "文中文"}},  // between characters, never inside one
    };
    for (const Case& c : cases) {
        const std::vector<std::string_view> got = splitIntoPieces(c.text, c.limit);
        EXPECT_EQ(std::vector<std::string>(got.begin(), got.end()), c.pieces) << c.text;
    }
    for (const std::string& text : randomTexts({"word", " ", "\n", "\n\n", "中文", "ü", ". ", "。", "\t"}, 300)) {
        for (const std::size_t limit : {4u, 7u, 64u}) {
            std::string joined;
            for (const std::string_view piece : splitIntoPieces(text, limit)) {
                EXPECT_LE(piece.size(), limit);
                EXPECT_FALSE(piece.empty() && !text.empty());
                joined.append(piece);
            }
            EXPECT_EQ(joined, text);
        }
    }
}

}  // namespace
}  // namespace orbelin::service
