#include "ResultPage.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace orbelin::service {
namespace {

using test::clientCut;

// The page must hold the text at exactly marker + 125 and end it at the first
// "</textarea>"; checked on the bytes, then through the client's own cut.
void expectLayout(std::string_view text)
{
    const std::string page = resultPage(text);
    const std::size_t marker = page.find(resultMarker);
    ASSERT_NE(marker, std::string::npos);
    const std::size_t end = page.find(resultEnd);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LT(marker, end);
    EXPECT_EQ(page.substr(marker + resultOffset, end - marker - resultOffset),
              breakTextareaEnds(text));
    EXPECT_EQ(clientCut(page), breakTextareaEnds(text));
}

TEST(ResultPage, ShortText)
{
    expectLayout("Hola");
    EXPECT_EQ(clientCut(resultPage("Hola")), "Hola");
}

TEST(ResultPage, EmptyText)
{
    expectLayout("");
    EXPECT_EQ(clientCut(resultPage("")), "");
}

TEST(ResultPage, SingleCharacter)
{
    EXPECT_EQ(clientCut(resultPage("x")), "x");
}

TEST(ResultPage, LongText)
{
    std::string text;
    for (int i = 0; i < 20000; ++i) {
        text += "Sentence " + std::to_string(i) + ". ";
    }
    expectLayout(text);
    EXPECT_EQ(clientCut(resultPage(text)), text);
}

TEST(ResultPage, MultiLineText)
{
    const std::string text = "first line\r\nsecond line\nthird\rfourth\n\n";
    expectLayout(text);
    EXPECT_EQ(clientCut(resultPage(text)), text);
}

TEST(ResultPage, NonAsciiTextIsCountedInBytes)
{
    const std::string text = "簡體中文 ¿Cómo estás? 😀 «ça»";
    expectLayout(text);
    EXPECT_EQ(clientCut(resultPage(text)), text);
}

TEST(ResultPage, NothingIsHtmlEscaped)
{
    const std::string text = "a < b && c > d \"quoted\" 'single' &amp; <b>bold</b> \"wl_result\"";
    EXPECT_EQ(clientCut(resultPage(text)), text);
}

TEST(ResultPage, TextareaEndInTheTextIsBrokenUp)
{
    const std::string text = "before</textarea>after </TEXTAREA> </textareas";
    const std::string page = resultPage(text);
    EXPECT_EQ(clientCut(page), "before<\\/textarea>after <\\/TEXTAREA> <\\/textareas");
    expectLayout(text);
}

TEST(ResultPage, OnlyTheClosingTagIsAltered)
{
    EXPECT_EQ(breakTextareaEnds("<textarea> </textare </ textarea>"),
              "<textarea> </textare </ textarea>");
    EXPECT_EQ(breakTextareaEnds("</textarea"), "<\\/textarea");
}

TEST(ResultPage, EverythingBeforeTheTextIsAscii)
{
    const std::string page = resultPage("中文");
    const std::size_t start = page.find(resultMarker) + resultOffset;
    for (std::size_t i = 0; i < start; ++i) {
        EXPECT_LT(static_cast<unsigned char>(page[i]), 0x80u) << i;
    }
    EXPECT_EQ(page.substr(start, 6), "中文");
}

TEST(ResultPage, IsUtf8Html)
{
    const std::string page = resultPage("x");
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("<textarea name=\"wl_result\""), std::string::npos);
}

TEST(ClientCut, BehavesAsTheClientOnBrokenPages)
{
    EXPECT_EQ(clientCut("no marker and no end"), "");
    EXPECT_EQ(clientCut("</textarea>\"wl_result\"" + std::string(200, 'x') + "</textarea>"), "");
    // Without the marker the cut starts at byte 125 of the page.
    const std::string noMarker = std::string(124, '-') + "TEXT</textarea>";
    EXPECT_EQ(clientCut(noMarker), "TEXT");
    const std::string shortPage = "\"wl_result\"</textarea>";
    EXPECT_EQ(clientCut(shortPage), "");
}

TEST(ErrorPage, CarriesStatusAndMessage)
{
    const std::string page = errorPage(404, "Not Found", "没有这个地址。");
    EXPECT_NE(page.find("404 Not Found"), std::string::npos);
    EXPECT_NE(page.find("没有这个地址。"), std::string::npos);
    EXPECT_EQ(page.find(resultMarker), std::string::npos);
}

}  // namespace
}  // namespace orbelin::service
