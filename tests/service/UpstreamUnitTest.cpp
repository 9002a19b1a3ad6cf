// The parts of the upstream engine that need no server: the language list,
// the JSON messages, the URL, the deadline watch and the options.
#include "DeadlineWatch.h"
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
}

TEST(UpstreamLanguages, WhatIsNotAListIsRefused)
{
    for (const char* text : {"", "{}", R"({"error":"x"})", "[{\"code\":", "<html>", "null", "\"en\""}) {
        EXPECT_FALSE(UpstreamLanguages::parse(text)) << text;
    }
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
        {200, R"({"translatedText":"a\u0000b😀c","alternatives":[]})", AnswerKind::translated, "ab?c"},
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

TEST(UpstreamMessages, TextForTheClientKeepsThreeByteCharacters)
{
    EXPECT_EQ(textForClient("äöü ß 中文 \r\n"), "äöü ß 中文 \r\n");
    EXPECT_EQ(textForClient("x😀y🇩🇪"), "x?y??");
    EXPECT_EQ(textForClient(std::string("a\0b", 3)), "ab");
}

TEST(UpstreamUrl, Forms)
{
    const auto plain = parseUpstreamUrl("http://127.0.0.1:5000");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->origin, "http://127.0.0.1:5000");
    EXPECT_EQ(plain->basePath, "");
    const auto withPath = parseUpstreamUrl("https://mt.example.com/libre/");
    ASSERT_TRUE(withPath);
    EXPECT_EQ(withPath->origin, "https://mt.example.com");
    EXPECT_EQ(withPath->basePath, "/libre");
    for (const char* bad : {"", "127.0.0.1:5000", "ftp://x", "http://", "http:///x", "http://x:",
                            "http://u@x", "http://x/?a=1", "http://x/#f", "HTTP//x"}) {
        EXPECT_FALSE(parseUpstreamUrl(bad)) << bad;
    }
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
             {"--upstream-timeout", "5s"}, {"--upstream-key"}}) {
        error.clear();
        EXPECT_FALSE(parseOptions(args, error)) << args.front();
        EXPECT_FALSE(error.empty());
    }
}

TEST(DeadlineWatch, StopsWorkAtItsDeadlineAndAgainUntilReleased)
{
    DeadlineWatch watch;
    std::atomic<int> stops = 0;
    std::promise<void> firstStop;
    {
        const DeadlineWatch::Ticket ticket = watch.watch(Clock::now() + 20ms, [&] {
            if (++stops == 1) {
                firstStop.set_value();
            }
        });
        ASSERT_EQ(firstStop.get_future().wait_for(10s), std::future_status::ready);
        EXPECT_TRUE(ticket.fired());
        ASSERT_TRUE([&] {
            for (int i = 0; i < 1000 && stops < 3; ++i) {
                std::this_thread::sleep_for(5ms);
            }
            return stops >= 3;
        }()) << "a stop is repeated while the work goes on";
    }
    const int afterRelease = stops;
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(stops, afterRelease) << "no stop once the ticket is gone";
}

TEST(DeadlineWatch, WorkDoneInTimeIsNotStopped)
{
    DeadlineWatch watch;
    std::atomic<int> stops = 0;
    {
        const DeadlineWatch::Ticket ticket = watch.watch(Clock::now() + 200ms, [&] { ++stops; });
        EXPECT_FALSE(ticket.fired());
    }
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(stops, 0);
}

TEST(DeadlineWatch, StopAllEndsEverything)
{
    DeadlineWatch watch;
    std::promise<void> stopped;
    std::atomic<bool> once = false;
    const DeadlineWatch::Ticket ticket = watch.watch(Clock::now() + 1h, [&] {
        if (!once.exchange(true)) {
            stopped.set_value();
        }
    });
    watch.stopAll();
    EXPECT_EQ(stopped.get_future().wait_for(10s), std::future_status::ready);
    EXPECT_TRUE(ticket.fired());
}

}  // namespace
}  // namespace orbelin::service
