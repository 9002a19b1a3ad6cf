// The translate command's codes, checks, request body and result cut.

#include "app/Translation.h"
#include "base/Charset.h"

#include <gtest/gtest.h>

namespace orbelin::translation {
namespace {

TEST(LanguageCodes, FollowTheListOrder)
{
    const char* expected[] = {"none", "EN", "ZH_CN", "ZH_TW", "NL", "FR", "DE",
                              "EL",   "IT", "JA",    "KO",    "PT", "RU", "ES"};
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(LanguageCode(i), expected[i]) << i;
    EXPECT_EQ(LanguageCode(-1), "") << "no selection";
    EXPECT_EQ(LanguageCode(14), "");
}

TEST(GlossaryCodes, AreOneBasedWithoutLeadingZeros)
{
    EXPECT_EQ(GlossaryCode(0), "gl1");
    EXPECT_EQ(GlossaryCode(9), "gl10");
    EXPECT_EQ(GlossaryCode(20), "gl21");
    EXPECT_EQ(GlossaryCode(21), "");
    EXPECT_EQ(GlossaryCode(-1), "");
}

TEST(Checks, StopAtTheFirstFailureInOrder)
{
    EXPECT_EQ(CheckCodes("none", "none"), "请选择原文语言！");
    EXPECT_EQ(CheckCodes("EN", "none"), "请选择译文语言！");
    EXPECT_EQ(CheckCodes("EN", "EN"), "原文语言和译文语言不能相同！");
    EXPECT_EQ(CheckCodes("EN", "ZH_CN"), "");
    EXPECT_EQ(CheckCodes("", ""), "原文语言和译文语言不能相同！") << "two lists without a selection";
}

TEST(GetHex, EncodesEveryByteWithUpperCaseDigits)
{
    EXPECT_EQ(GetHex("Hi"), "%48%69");
    EXPECT_EQ(GetHex("\r\n"), "%0D%0A");
    EXPECT_EQ(GetHex(AnsiToUtf8("\xD6\xD0")), "%E4%B8%AD") << "中 from code page 936";
    EXPECT_EQ(GetHex(std::string("\x00\xff", 2)), "%00%FF");
    EXPECT_EQ(GetHex(""), "");
    EXPECT_EQ(GetHex("a-b.c").size(), 15u);
}

TEST(FormBody, KeepsTheFieldOrderOfTheExample)
{
    EXPECT_EQ(FormBody(GetHex("Hi"), GlossaryCode(0), LanguageCode(1), LanguageCode(2)),
              "wl_url=&wl_text=%48%69&wl_glossary=gl1&wl_srclang=EN&wl_trglang=ZH_CN&wl_ucp=1");
    EXPECT_EQ(FormBody("", "gl21", "EN", "ES").rfind("wl_url=&wl_text=&wl_glossary=gl21&", 0), 0u);
}

std::string PageWith(const std::string& result, const std::string& before = "<html><form>")
{
    std::string page = before + "<textarea name=\"wl_result\"";
    page += std::string(125 - 11, ' ');
    return page + result + "</textarea></form></html>";
}

TEST(ExtractResult, CutsByTheFixedArithmetic)
{
    struct Case {
        const char* name;
        std::string page;
        std::string expected;
    } cases[] = {
        {"normal page", PageWith("Hola"), "Hola"},
        {"multi-line", PageWith("a\nb"), "a\nb"},
        {"empty result", PageWith(""), ""},
        {"textarea end before the marker", "<textarea></textarea>" + PageWith("Hola"), ""},
        {"no end marker", "\"wl_result\"" + std::string(200, 'x'), ""},
        {"no result marker: cut starts at 125", std::string(124, 'a') + "XYZ</textarea>", "XYZ"},
        {"start beyond the page", "\"wl_result\"abc</textarea>", ""},
        {"short page", "", ""},
        {"entities are kept", PageWith("a &amp; b"), "a &amp; b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtractResult(c.page), c.expected) << c.name;
}

TEST(DecodeUtf8, DecodesOneToFourByteSequences)
{
    EXPECT_EQ(DecodeUtf8("abc"), u"abc");
    EXPECT_EQ(DecodeUtf8("\xC3\xA9"), u"\u00E9");
    EXPECT_EQ(DecodeUtf8("\xE4\xB8\xAD"), u"\u4E2D");
    EXPECT_EQ(DecodeUtf8("x\xF0\x9F\x98\x80y"), u"x\U0001F600y") << "a four-byte sequence is one character";
    EXPECT_EQ(DecodeUtf8(""), u"");
}

TEST(DecodeUtf8, EachSequenceLengthOverItsWholeRange)
{
    // Bytes from the Unicode tables; the lead byte's payload bits differ
    // between the cases, so a wrong mask for any length shows.
    struct Case {
        const char* name;
        std::string bytes;
        std::u16string expected;
    } cases[] = {
        {"one byte, lowest", std::string(1, '\0'), std::u16string(1, u'\0')},
        {"one byte, highest", "\x7F", u"\u007F"},
        {"two bytes, lowest", "\xC2\x80", u"\u0080"},
        {"two bytes, Latin", "\xC3\xA9", u"\u00E9"},
        {"two bytes, Cyrillic", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", u"\u041F\u0440\u0438\u0432\u0435\u0442"},
        {"two bytes, Cyrillic capital ya", "\xD0\xAF", u"\u042F"},
        {"two bytes, Hebrew", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", u"\u05E9\u05DC\u05D5\u05DD"},
        {"two bytes, Arabic", "\xD8\xB3\xD9\x84\xD8\xA7\xD9\x85", u"\u0633\u0644\u0627\u0645"},
        {"two bytes, highest", "\xDF\xBF", u"\u07FF"},
        {"three bytes, lowest", "\xE0\xA0\x80", u"\u0800"},
        {"three bytes, Devanagari", "\xE0\xA4\x85", u"\u0905"},
        {"three bytes, CJK", "\xE4\xB8\xAD\xE6\x96\x87", u"\u4E2D\u6587"},
        {"three bytes, replacement character", "\xEF\xBF\xBD", u"\uFFFD"},
        {"three bytes, highest", "\xEF\xBF\xBF", u"\uFFFF"},
        {"four bytes, lowest", "\xF0\x90\x80\x80", u"\U00010000"},
        {"four bytes, emoji", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"four bytes, highest", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeUtf8(c.bytes), c.expected) << c.name;
}

TEST(DecodeUtf8, AnyMalformedSequenceEmptiesTheWholeText)
{
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"lead without continuation at the end", "ok\xC3"},
        {"three-byte lead cut short", "ok\xE4\xB8"},
        {"four-byte lead cut short", "\xF0\x9F\x98"},
        {"continuation not 10xxxxxx", "\xC3\x41rest"},
        {"second continuation wrong", "\xE4\xB8\x41"},
        {"lone continuation byte without follower", "abc\x80"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeUtf8(c.bytes), u"") << c.name;
}

TEST(Charset, RoundTripsCodePage936AndReplacesWhatItLacks)
{
    EXPECT_EQ(Utf16ToAnsi(u"中文"), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(AnsiToUtf16("\xD6\xD0"), u"\u4E2D");
    EXPECT_EQ(Utf16ToAnsi(u"a\U0001F600b"), "a?b") << "a character the code page lacks is one default character";
    EXPECT_EQ(AnsiToUtf8("\xD6\xD0"), "\xE4\xB8\xAD");
}

} // namespace
} // namespace orbelin::translation
