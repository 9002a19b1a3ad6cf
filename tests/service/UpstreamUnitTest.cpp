// The parts of the upstream engine that need no server: the language list,
// the JSON messages, the URL, the answer's head and body, and the options.
#include "HttpResponse.h"
#include "JsonLimits.h"
#include "Options.h"
#include "UpstreamEngine.h"
#include "UpstreamLanguages.h"
#include "UpstreamMessages.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <future>
#include <thread>

namespace orbelin::service {
namespace {

using namespace std::chrono_literals;

std::string codesOf(const std::optional<UpstreamPair>& pair)
{
    return pair ? pair->source + ">" + pair->target : "none";
}

TEST(UpstreamLanguages, CurrentSpellings)
{
    const auto list = UpstreamLanguages::parse(
        R"([{"code":"en","name":"English","targets":["de","zh-Hans","zh-Hant","pt-BR","ja"]},
            {"code":"zh-Hans","name":"Chinese","targets":["en"]},
            {"code":"de","name":"German","targets":["en"]}])");
    ASSERT_TRUE(list);
    EXPECT_EQ(codesOf(list->pair(Language::en, Language::de)), "en>de");
    EXPECT_EQ(codesOf(list->pair(Language::en, Language::zhCn)), "en>zh-Hans");
    EXPECT_EQ(codesOf(list->pair(Language::en, Language::zhTw)), "en>zh-Hant");
    EXPECT_EQ(codesOf(list->pair(Language::en, Language::pt)), "en>pt-BR");
    EXPECT_EQ(codesOf(list->pair(Language::zhCn, Language::en)), "zh-Hans>en");
    EXPECT_EQ(codesOf(list->pair(Language::de, Language::zhCn)), "none");
    EXPECT_EQ(codesOf(list->pair(Language::ja, Language::en)), "none") << "ja is only a target";
    EXPECT_FALSE(list->translates(Language::en, Language::ru));
}

TEST(UpstreamLanguages, OlderSpellingsAndCase)
{
    const auto list = UpstreamLanguages::parse(
        R"([{"code":"en","targets":["zh","zt","pt","PT-br"]},
            {"code":"ZT","targets":["EN"]},
            {"code":"zh","targets":["en"]}])");
    ASSERT_TRUE(list);
    EXPECT_EQ(codesOf(list->pair(Language::en, Language::zhCn)), "en>zh");
        EXPECT_EQ(codesOf(list->pair(Language::en, Language::pt)), "en>PT-br") << "Brazilian first, as spelt";
    EXPECT_EQ(codesOf(list->pair(Language::zhTw, Language::en)), "ZT>en");
    EXPECT_EQ(codesOf(list->pair(Language::en, Language::zhTw)), "en>ZT");
}

TEST(UpstreamLanguages, EntriesWithoutTargetsReachEveryCode)
{
    const auto list = UpstreamLanguages::parse(
        R"([{"code":"en","name":"English"},{"code":"ru","name":"Russian"},{"code":"ko"}])");
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->translates(Language::en, Language::ru));
    EXPECT_TRUE(list->translates(Language::ko, Language::en));
    EXPECT_FALSE(list->translates(Language::en, Language::de));

    // Thousands of codes the client has no use for, none with targets: the
    // list is read in its own size, and the client's codes still pair up.
    std::string many = R"([{"code":"en"},{"code":"zh"},{"code":"zh-Hans"},{"code":"de","targets":["zh","zh-Hans"]})";
    for (int i = 0; i < 8000; ++i) {
        many += R"(,{"code":"x)" + std::to_string(i) + R"(","name":"L"})";
    }
    const auto longList = UpstreamLanguages::parse(many + "]");
    ASSERT_TRUE(longList);
    EXPECT_EQ(codesOf(longList->pair(Language::en, Language::zhCn)), "en>zh-Hans") << "zh-Hans before zh";
    EXPECT_EQ(codesOf(longList->pair(Language::de, Language::zhCn)), "de>zh-Hans");
}

TEST(UpstreamLanguages, WhatIsNotAListIsRefused)
{
    for (const char* text : {"", "{}", R"({"error":"x"})", "[{\"code\":", "<html>", "null", "\"en\""}) {
        EXPECT_FALSE(UpstreamLanguages::parse(text)) << text;
    }
    const std::string entry = R"({"code":"en"},)";
    std::string tooMany = "[";
    for (std::size_t i = 0; i <= UpstreamLanguages::maxEntries; ++i) {
        tooMany += entry;
    }
    tooMany.back() = ']';
    const std::string tooLarge = R"([{"code":"en","name":")" + std::string(UpstreamLanguages::maxListBytes, 'n') + "\"}]";
    const std::string deep = "[" + std::string(maxJsonDepth, '[') + std::string(maxJsonDepth + 1, ']');
    for (const std::string& text : {tooMany, tooLarge, deep}) {
        EXPECT_FALSE(UpstreamLanguages::parse(text)) << text.substr(0, 40);
    }
    EXPECT_TRUE(UpstreamLanguages::parse("[" + std::string(maxJsonDepth - 1, '[') + std::string(maxJsonDepth, ']')));
    // Stray entries are skipped, the rest is used.
    const auto list = UpstreamLanguages::parse(
        R"([1, {"name":"x"}, {"code":7}, {"code":"en","targets":["de",5,null]}])");
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->translates(Language::en, Language::de));
}

TEST(UpstreamMessages, RequestBody)
{
    const auto body = nlohmann::json::parse(translateRequestJson("Grüße \"x\"\n", "en", "de", "k€y"));
    EXPECT_EQ(body.value("q", ""), "Grüße \"x\"\n");
    EXPECT_EQ(body.value("source", ""), "en");
    EXPECT_EQ(body.value("target", ""), "de");
    EXPECT_EQ(body.value("format", ""), "text");
    EXPECT_EQ(body.value("api_key", ""), "k€y");
    EXPECT_FALSE(nlohmann::json::parse(translateRequestJson("x", "en", "de", "")).contains("api_key"));
}

TEST(UpstreamMessages, Answers)
{
    struct Case {
        int status;
        std::string body;
        AnswerKind kind;
        std::string text;
    };
    const Case cases[] = {
        {200, R"({"translatedText":"Grüß Gott"})", AnswerKind::translated, "Grüß Gott"},
        {200, R"({"translatedText":"a\u0000b😀c\ud83d\ude00","alternatives":[]})", AnswerKind::translated, "ab😀c😀"},
        {200, R"({"translatedText":"x","a":)" + std::string(maxJsonDepth, '[') + std::string(maxJsonDepth, ']') + "}",
         AnswerKind::badAnswer, ""},
        {500, R"({"error":"x","a":)" + std::string(maxJsonDepth, '{') + "}", AnswerKind::failed, ""},
        {200, R"({"translatedText":42})", AnswerKind::badAnswer, ""},
        {200, R"({"translated":"x"})", AnswerKind::badAnswer, ""},
        {200, R"(["x"])", AnswerKind::badAnswer, ""},
        {200, "<html>", AnswerKind::badAnswer, ""},
        {200, "{\"translatedText\":\"\xFF\"}", AnswerKind::badAnswer, ""},
        {403, R"({"error":"Invalid API key"})", AnswerKind::keyRefused, "Invalid API key"},
        {429, "Too Many Requests", AnswerKind::rateLimited, ""},
        {500, R"({"error":"line\none"})", AnswerKind::failed, "line one"},
        {400, R"({"error":{"nested":1}})", AnswerKind::failed, ""},
        {502, "<html>bad gateway</html>", AnswerKind::failed, ""},
    };
    for (const Case& c : cases) {
        const TranslateAnswer answer = readTranslateAnswer(c.status, c.body);
        EXPECT_EQ(answer.kind, c.kind) << c.status << " " << c.body;
        EXPECT_EQ(answer.text, c.text) << c.status << " " << c.body;
    }
}

TEST(HttpResponse, Heads)
{
    struct Case {
        std::string head;
        int status;  // 0: refused
        long long length;  // -1: none
        bool chunked;
    };
    const Case cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n", 200, 12, false},
        {"HTTP/1.0 403 Forbidden\nX: y\n\n", 403, -1, false},
        {"HTTP/1.1 200\r\nTransfer-Encoding: gzip, Chunked\r\nContent-Length: 5\r\n\r\n", 200, -1, true},
        {"HTTP/1.1 100 Continue\r\n\r\n", 100, -1, false},
        {"HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 1\r\n\r\n", 200, 1, false},
        {"HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n", 0, -1, false},
        {"HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n", 0, -1, false},
        {"HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999\r\n\r\n", 0, -1, false},
        {"HTTP/1.1 200 OK\r\n folded\r\n\r\n", 0, -1, false},
        {"HTTP/1.1 200 OK\r\nno colon\r\n\r\n", 0, -1, false},
        {"HTTP/2 200\r\n\r\n", 0, -1, false},
        {"HTTP/1.1 20 OK\r\n\r\n", 0, -1, false},
        {"<html>\r\n\r\n", 0, -1, false},
    };
    for (const Case& c : cases) {
        const auto head = parseResponseHead(c.head);
        EXPECT_EQ(head ? head->status : 0, c.status) << c.head;
        EXPECT_EQ(head && head->contentLength ? static_cast<long long>(*head->contentLength) : -1, c.length) << c.head;
        EXPECT_EQ(head && head->chunked, c.chunked) << c.head;
        EXPECT_EQ(endOfHead(c.head), c.head.size()) << c.head;
    }
    std::string lines = "HTTP/1.1 200 OK\r\n";
    for (std::size_t i = 0; i <= maxResponseHeaderLines; ++i) {
        lines += "X-A: b\r\n";
    }
    EXPECT_FALSE(parseResponseHead(lines + "\r\n"));
    EXPECT_EQ(endOfHead("HTTP/1.1 200 OK\r\nX: y\r\n"), 0u);
}

TEST(HttpResponse, ChunkedBodies)
{
    using State = ChunkedBody::State;
    struct Case {
        std::string body;
        State state;
        std::string decoded;
    };
    const Case cases[] = {
        {"5\r\nhello\r\n6;ext=1\r\n world\r\n0\r\nTrailer: x\r\n\r\nrest", State::done, "hello world"},
        {"3\nabc\n0\n\n", State::done, "abc"},
        {"5\r\nhel", State::more, "hel"},
        {"5\r\nhelloX\r\n", State::bad, "hello"},
        {"zz\r\n", State::bad, ""},
        {"\r\n", State::bad, ""},
        {std::string(2000, '0'), State::bad, ""},
        {"11\r\n", State::tooLarge, ""},  // seventeen bytes, beyond the limit of 16
        {"8\r\n12345678\r\n9\r\n", State::tooLarge, "12345678"},
        {"FFFFFFFFFFFFFFFFF\r\n", State::bad, ""},
        {"0\r\n" + std::string(9000, 't'), State::bad, ""},
    };
    for (const Case& c : cases) {
        for (const std::size_t step : {c.body.size(), std::size_t{1}}) {
            ChunkedBody chunks(16);
            std::string decoded;
            State state = State::more;
            for (std::size_t at = 0; at < c.body.size() && state == State::more; at += step) {
                state = chunks.feed(std::string_view(c.body).substr(at, step), decoded);
            }
            EXPECT_EQ(state, c.state) << c.body.substr(0, 40) << " in steps of " << step;
            EXPECT_EQ(decoded, c.decoded) << c.body.substr(0, 40);
        }
    }
}

TEST(UpstreamMessages, LongErrorsAreCutAtACharacter)
{
    std::string message;
    for (int i = 0; i < 100; ++i) {
        message += "错";
    }
    const std::string text = errorMessageOf(nlohmann::json{{"error", message}}.dump());
    EXPECT_LE(text.size(), 200u + std::string("…").size());
    EXPECT_TRUE(text.ends_with("错…")) << text;
}

TEST(UpstreamMessages, TextForTheClientKeepsEveryCharacterButNul)
{
    EXPECT_EQ(textForClient("äöü ß 中文 \r\n"), "äöü ß 中文 \r\n");
    EXPECT_EQ(textForClient("x😀y🇩🇪"), "x😀y🇩🇪");
    EXPECT_EQ(textForClient(std::string("a\0b", 3)), "ab");
}

TEST(UpstreamUrl, Forms)
{
    struct Case {
        const char* url;
        const char* authority;  // empty: refused
        int port;
        const char* basePath;
    };
    const Case cases[] = {
        {"http://127.0.0.1:5000", "127.0.0.1:5000", 5000, ""},
        {"https://mt.example.com/libre/", "mt.example.com", 443, "/libre"},
        {"http://[::1]:8080/x", "[::1]:8080", 8080, "/x"},
        {"http://h:65535", "h:65535", 65535, ""},
        {"http://127.0.0.1:99999999999", "", 0, ""}, {"http://h:0", "", 0, ""},
        {"http://h:-1", "", 0, ""}, {"http://h:80x", "", 0, ""}, {"http://[::1", "", 0, ""},
        {"http://[zz]:80", "", 0, ""}, {"http://a..b", "", 0, ""}, {"http://a_b", "", 0, ""},
        {"", "", 0, ""}, {"127.0.0.1:5000", "", 0, ""}, {"ftp://x", "", 0, ""}, {"http://", "", 0, ""},
        {"http:///x", "", 0, ""}, {"http://x:", "", 0, ""}, {"http://u@x", "", 0, ""},
        {"http://x/?a=1", "", 0, ""}, {"http://x/#f", "", 0, ""}, {"HTTP//x", "", 0, ""},
    };
    for (const Case& c : cases) {
        std::string why;
        const auto address = parseUpstreamUrl(c.url, &why);
        EXPECT_EQ(address ? address->authority() : "", c.authority) << c.url;
        EXPECT_EQ(address ? address->port : 0, c.port) << c.url;
        EXPECT_EQ(address ? address->basePath : "", c.basePath) << c.url;
        EXPECT_EQ(why.empty(), address.has_value()) << c.url << ": " << why;
    }
    EXPECT_FALSE(parseUpstreamUrl("http://h/" + std::string(maxUpstreamUrlBytes, 'p')));
}

TEST(UpstreamOptions, Flags)
{
    std::string error;
    const auto options = parseOptions({"--upstream", "http://127.0.0.1:5000", "--upstream-key",
                                       "secret", "--upstream-timeout", "2500"},
                                      error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->translator.upstream.url, "http://127.0.0.1:5000");
    EXPECT_EQ(options->translator.upstream.apiKey, "secret");
    EXPECT_EQ(options->translator.upstream.timeout, 2500ms);

    const auto none = parseOptions({}, error);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->translator.upstream.url.empty());
    EXPECT_FALSE(none->translator.upstream.timeout);

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--upstream", "localhost:5000"}, {"--upstream"}, {"--upstream-timeout", "0"},
             {"--upstream-timeout", "5s"}, {"--upstream-key"}, {"--upstream-key", "k"},
             {"--upstream", "http://h", "--upstream-key", "a\x01b"},
             {"--upstream", "http://h", "--upstream-key", std::string(1025, 'k')},
             {"--listen", "bad host:80"}, {"--apertium-modes", std::string(5000, 'd')}}) {
        error.clear();
        EXPECT_FALSE(parseOptions(args, error)) << args.front();
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace orbelin::service
