#include "FormBody.h"
#include "Languages.h"
#include "TestSupport.h"
#include "TranslateRequest.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace orbelin::service {
namespace {

TEST(PercentDecode, DecodesEscapesInEitherCaseAndPlus)
{
    EXPECT_EQ(percentDecode("%48%69"), "Hi");
    EXPECT_EQ(percentDecode("%e4%B8%ad"), "中");
    EXPECT_EQ(percentDecode("a+b%2Bc"), "a b+c");
    EXPECT_EQ(percentDecode(""), "");
    EXPECT_EQ(percentDecode("%00"), std::string(1, '\0'));
    for (int byte = 0; byte < 256; ++byte) {
        for (const char* format : {"%%%02x", "%%%02X"}) {
            char escape[4];
            std::snprintf(escape, sizeof escape, format, byte);
            EXPECT_EQ(percentDecode(escape), std::string(1, static_cast<char>(byte))) << escape;
        }
    }
}

TEST(PercentDecode, RejectsBadEscapes)
{
    EXPECT_FALSE(percentDecode("%"));
    EXPECT_FALSE(percentDecode("%4"));
    EXPECT_FALSE(percentDecode("abc%4"));
    EXPECT_FALSE(percentDecode("%G1"));
    EXPECT_FALSE(percentDecode("%1G"));
    EXPECT_FALSE(percentDecode("%%41"));
}

TEST(ParseFormBody, SplitsFields)
{
    const auto fields = parseFormBody("wl_url=&wl_text=%48%69&flag&&x=a=b");
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->at("wl_url"), "");
    EXPECT_EQ(fields->at("wl_text"), "Hi");
    EXPECT_EQ(fields->at("flag"), "");
    EXPECT_EQ(fields->at("x"), "a=b");
    EXPECT_EQ(fields->size(), 4u);
}

TEST(ParseFormBody, RejectsBadEscapeAndRepeatedName)
{
    EXPECT_FALSE(parseFormBody("wl_text=%ZZ"));
    EXPECT_FALSE(parseFormBody("wl_%4=1"));
    EXPECT_FALSE(parseFormBody("a=1&a=2"));
}

TEST(ReadTranslateRequest, ReadsTheClientsExampleBody)
{
    const auto result = readTranslateRequest(
        "wl_url=&wl_text=%48%69&wl_glossary=gl1&wl_srclang=EN&wl_trglang=ZH_CN&wl_ucp=1");
    const auto* request = std::get_if<TranslateRequest>(&result);
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->text, "Hi");
    EXPECT_EQ(request->source, Language::en);
    EXPECT_EQ(request->target, Language::zhCn);
    EXPECT_EQ(request->glossary, "gl1");
}

TEST(ReadTranslateRequest, AcceptsEveryCodeOfTheClient)
{
    for (const char* code : {"EN", "ZH_CN", "ZH_TW", "NL", "FR", "DE", "EL", "IT", "JA", "KO", "PT",
                             "RU", "ES"}) {
        const auto result = readTranslateRequest(test::clientBody("x", code, "EN", "gl21"));
        const auto* request = std::get_if<TranslateRequest>(&result);
        ASSERT_NE(request, nullptr) << code;
        EXPECT_EQ(codeOf(request->source), code);
        EXPECT_EQ(request->glossary, "gl21");
    }
}

TEST(ReadTranslateRequest, KeepsLineBreaksAndEmptyText)
{
    const auto withBreak = readTranslateRequest(test::clientBody("a\r\nb", "EN", "ES"));
    ASSERT_TRUE(std::holds_alternative<TranslateRequest>(withBreak));
    EXPECT_EQ(std::get<TranslateRequest>(withBreak).text, "a\r\nb");

    const auto empty = readTranslateRequest("wl_url=&wl_text=&wl_glossary=gl1&wl_srclang=EN&wl_trglang=ES&wl_ucp=1");
    ASSERT_TRUE(std::holds_alternative<TranslateRequest>(empty));
    EXPECT_EQ(std::get<TranslateRequest>(empty).text, "");
}

TEST(ReadTranslateRequest, RejectsMalformedBodies)
{
    const char* bodies[] = {
        "wl_text=%4&wl_srclang=EN&wl_trglang=ES",            // bad escape
        "wl_srclang=EN&wl_trglang=ES",                       // no text
        "wl_text=a&wl_trglang=ES",                           // no source
        "wl_text=a&wl_srclang=EN",                           // no target
        "wl_text=a&wl_srclang=XX&wl_trglang=ES",             // unknown code
        "wl_text=a&wl_srclang=none&wl_trglang=ES",           // the list's placeholder
        "wl_text=a&wl_srclang=en&wl_trglang=ES",             // codes are upper case
        "wl_text=a&wl_srclang=EN&wl_trglang=",               // empty code
        "wl_text=%FF%FE&wl_srclang=EN&wl_trglang=ES",        // not UTF-8
        "wl_text=a&wl_text=b&wl_srclang=EN&wl_trglang=ES",   // text twice
        "",
    };
    for (const char* body : bodies) {
        const auto result = readTranslateRequest(body);
        const auto* bad = std::get_if<BadRequest>(&result);
        ASSERT_NE(bad, nullptr) << body;
        EXPECT_FALSE(bad->reason.empty());
    }
}

TEST(IsValidUtf8, AcceptsWellFormedAndRejectsMalformed)
{
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_TRUE(isValidUtf8("é中😀"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));      // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xE4\xB8"));          // cut short
    EXPECT_FALSE(isValidUtf8("\x80"));              // lone continuation
}

TEST(IsValidUtf8, EdgesOfEachSequenceLength)
{
    // Each range just inside and just outside its limits.
    EXPECT_TRUE(isValidUtf8(std::string(1, '\0')));
    EXPECT_TRUE(isValidUtf8("\x7F"));
    EXPECT_FALSE(isValidUtf8("\xC1\xBF"));         // overlong U+007F
    EXPECT_TRUE(isValidUtf8("\xC2\x80"));          // U+0080
    EXPECT_TRUE(isValidUtf8("\xD0\xAF\xD7\x90\xD8\xB9"));  // Cyrillic, Hebrew, Arabic
    EXPECT_TRUE(isValidUtf8("\xDF\xBF"));          // U+07FF
    EXPECT_FALSE(isValidUtf8("\xE0\x9F\xBF"));      // overlong U+07FF
    EXPECT_TRUE(isValidUtf8("\xE0\xA0\x80"));      // U+0800
    EXPECT_TRUE(isValidUtf8("\xED\x9F\xBF"));      // U+D7FF, below the surrogates
    EXPECT_FALSE(isValidUtf8("\xED\xBF\xBF"));     // U+DFFF, the last surrogate
    EXPECT_TRUE(isValidUtf8("\xEE\x80\x80"));      // U+E000, above them
    EXPECT_TRUE(isValidUtf8("\xEF\xBF\xBF"));      // U+FFFF
    EXPECT_FALSE(isValidUtf8("\xF0\x8F\xBF\xBF"));  // overlong U+FFFF
    EXPECT_TRUE(isValidUtf8("\xF0\x90\x80\x80"));  // U+10000
    EXPECT_TRUE(isValidUtf8("\xF4\x8F\xBF\xBF"));  // U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xF5\x80\x80\x80"));  // no such lead
}

TEST(Languages, ChineseNamesOfTheClientsList)
{
    EXPECT_EQ(chineseName(Language::en), "英语");
    EXPECT_EQ(chineseName(Language::zhCn), "简体中文");
    EXPECT_EQ(chineseName(Language::zhTw), "繁体中文");
    EXPECT_EQ(chineseName(Language::ja), "日本语");
    EXPECT_EQ(chineseName(Language::pt), "葡萄牙语(巴西)");
    EXPECT_EQ(chineseName(Language::es), "西班牙语");
}

}  // namespace
}  // namespace orbelin::service
