// The service with a scripted upstream translation server on 127.0.0.1.
#include "ResultPage.h"
#include "TestSupport.h"
#include "Translator.h"
#include "UpstreamRoute.h"
#include "UpstreamStub.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <future>
#include <vector>

namespace orbelin::service {
namespace {

using namespace std::chrono_literals;
using test::StubMode;
using test::UpstreamStub;

TranslatorConfig withUpstream(const UpstreamStub& stub, std::chrono::milliseconds timeout = 30s)
{
    TranslatorConfig config;
    config.timeout = timeout;
    config.upstream.url = stub.url();
    config.upstream.apiKey = "test-key";
    return config;
}

// The translation as the client sees it: the cut of the page.
std::string clientSees(int port, std::string_view text, std::string_view source, std::string_view target)
{
    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(60, 0);
    const auto result = client.Post("/wl/translate", test::clientBody(text, source, target),
                                    "application/x-www-form-urlencoded");
    if (!result) {
        ADD_FAILURE() << "no answer: " << httplib::to_string(result.error());
        return {};
    }
    EXPECT_EQ(result->status, 200);
    return test::clientCut(result->body);
}

TEST(Upstream, EnglishToGermanThroughTheService)
{
    UpstreamStub stub;
    const test::RunningService service(withUpstream(stub));
    EXPECT_EQ(clientSees(service.port(), "Good morning", "EN", "DE"), "Grüß Gott [en>de] Good morning");

    const std::vector<test::StubRequest> requests = stub.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].q, "Good morning");
    EXPECT_EQ(requests[0].source, "en");
    EXPECT_EQ(requests[0].target, "de");
    EXPECT_EQ(requests[0].format, "text");
    EXPECT_EQ(requests[0].apiKey, "test-key");
    EXPECT_EQ(requests[0].contentType, "application/json");
    EXPECT_TRUE(test::eventually([&] { return service.logText().find("EN->DE") != std::string::npos; }));
    EXPECT_NE(service.logText().find(" 200 ok"), std::string::npos) << service.logText();
}

TEST(Upstream, EveryLanguageToAndFromEnglish)
{
    UpstreamStub stub;
    Translator translator(withUpstream(stub));
    struct Expected {
        Language language;
        const char* upstreamCode;  // empty: a local engine serves it
    };
    const Expected languages[] = {
        {Language::zhCn, "zh-Hans"}, {Language::zhTw, "zh-Hant"}, {Language::nl, "nl"},
        {Language::fr, ""},          {Language::de, "de"},        {Language::el, "el"},
        {Language::it, ""},          {Language::ja, "ja"},        {Language::ko, "ko"},
        {Language::pt, ""},          {Language::ru, "ru"},        {Language::es, ""},
    };
    for (const Expected& expected : languages) {
        const std::size_t before = stub.requests().size();
        const Translation to = translator.translate(Language::en, expected.language, "Mario");
        const Translation from = translator.translate(expected.language, Language::en, "Mario");
        const std::string code(expected.upstreamCode);
        EXPECT_EQ(to.outcome, Outcome::translated) << code << ": " << to.text;
        EXPECT_EQ(from.outcome, Outcome::translated) << code << ": " << from.text;
        if (code.empty()) {
            EXPECT_EQ(stub.requests().size(), before) << "served locally: " << codeOf(expected.language);
            EXPECT_NE(to.text.find("Mario"), std::string::npos) << to.text;
        } else {
            EXPECT_EQ(to.text, UpstreamStub::translationOf("Mario", "en", code));
            EXPECT_EQ(from.text, UpstreamStub::translationOf("Mario", code, "en"));
        }
    }
    // Only the eight languages without a local engine reached the stub, once each way.
    EXPECT_EQ(stub.requests().size(), 16u);
}

TEST(Upstream, PairsBetweenOtherLanguagesGoDirectly)
{
    UpstreamStub stub;
    Translator translator(withUpstream(stub));
    const Translation result = translator.translate(Language::de, Language::ja, "Guten Tag");
    EXPECT_EQ(result.text, UpstreamStub::translationOf("Guten Tag", "de", "ja"));
    const Translation chinese = translator.translate(Language::zhTw, Language::ru, "歡迎");
    EXPECT_EQ(chinese.text, UpstreamStub::translationOf("歡迎", "zh-Hant", "ru"));
    EXPECT_EQ(stub.requests().size(), 2u);
}

TEST(Upstream, OlderServersCodes)
{
    UpstreamStub stub;
    stub.setLanguages(UpstreamStub::languageListWithout({}, {"en", "zh", "zt", "pt", "de"}));
    Translator translator(withUpstream(stub));
    EXPECT_EQ(translator.translate(Language::en, Language::zhCn, "x").text, UpstreamStub::translationOf("x", "en", "zh"));
    EXPECT_EQ(translator.translate(Language::zhTw, Language::de, "x").text, UpstreamStub::translationOf("x", "zt", "de"));
}

TEST(Upstream, PairsOfferedOnlyThroughEnglishAreChained)
{
    UpstreamStub stub;
    stub.setLanguages(UpstreamStub::languageListWithout({{"ko", "de"}, {"de", "es"}, {"es", "de"}}));
    Translator translator(withUpstream(stub));

    const Translation korean = translator.translate(Language::ko, Language::de, "annyeong");
    EXPECT_EQ(korean.outcome, Outcome::translated);
    EXPECT_EQ(korean.text, UpstreamStub::translationOf(UpstreamStub::translationOf("annyeong", "ko", "en"), "en", "de"));
    ASSERT_EQ(stub.requests().size(), 2u);
    EXPECT_EQ(stub.requests()[0].target, "en");
    EXPECT_EQ(stub.requests()[1].source, "en");

    // One leg upstream, the other by Apertium on this machine.
    const Translation toSpanish = translator.translate(Language::de, Language::es, "Guten Tag");
    EXPECT_EQ(toSpanish.outcome, Outcome::translated);
    EXPECT_NE(toSpanish.text.find("Hola"), std::string::npos) << toSpanish.text;
    const Translation fromSpanish = translator.translate(Language::es, Language::de, "Hola");
    EXPECT_TRUE(fromSpanish.text.starts_with("Grüß Gott [en>de] ")) << fromSpanish.text;
    EXPECT_NE(fromSpanish.text.find("Hello"), std::string::npos) << fromSpanish.text;
}

TEST(Upstream, APairTheListLacksGetsItsOwnSentence)
{
    UpstreamStub stub;
    stub.setLanguages(UpstreamStub::languageListWithout({{"ru", "ja"}, {"ru", "en"}}));
    Translator translator(withUpstream(stub));
    const Translation result = translator.translate(Language::ru, Language::ja, "Privet");
    EXPECT_EQ(result.outcome, Outcome::unsupported);
    EXPECT_EQ(result.text, "抱歉，本地翻译服务和上游翻译服务器都不支持从俄语到日本语的翻译。");
    EXPECT_EQ(translator.translate(Language::ja, Language::ru, "x").outcome, Outcome::translated);
    EXPECT_EQ(stub.requests().size(), 1u);
}

TEST(Upstream, EveryFailureShowsItsOwnSentenceOnTheResultPage)
{
    UpstreamStub stub;
    const test::RunningService service(withUpstream(stub));
    ASSERT_EQ(clientSees(service.port(), "x", "EN", "DE"), UpstreamStub::translationOf("x", "en", "de"));
    struct Case {
        StubMode mode;
        std::string sentence;
        std::string outcome;
    };
    const Case cases[] = {
        {StubMode::keyRefused, "抱歉，上游翻译服务器拒绝了服务的 API 密钥，未能完成从英语到德语的翻译，请联系服务管理员。", "upstream-key-refused"},
        {StubMode::rateLimited, "抱歉，发往上游翻译服务器的请求过于频繁，未能完成从英语到德语的翻译，请稍后再试。", "upstream-rate-limited"},
        {StubMode::serverError, "抱歉，上游翻译服务器出错（HTTP 500：<\\/textarea><b>model</b> crashed 内部错误 😀），未能完成从英语到德语的翻译。", "upstream-failed"},
        {StubMode::badJson, "抱歉，上游翻译服务器的回答无法识别，未能完成从英语到德语的翻译。", "upstream-bad-answer"},
        {StubMode::wrongJson, "抱歉，上游翻译服务器的回答无法识别，未能完成从英语到德语的翻译。", "upstream-bad-answer"},
        {StubMode::closed, "抱歉，上游翻译服务器未作回答就断开了连接，未能完成从英语到德语的翻译，请稍后再试。", "upstream-closed"},
    };
    for (const Case& c : cases) {
        stub.setMode(c.mode);
        EXPECT_EQ(clientSees(service.port(), "x", "EN", "DE"), c.sentence) << c.outcome;
        EXPECT_TRUE(test::eventually([&] { return service.logText().find(" 200 " + c.outcome + "\n") != std::string::npos; }))
            << c.outcome << "\n" << service.logText();
    }
}

TEST(Upstream, NothingTheUpstreamTranslatesBreaksThePage)
{
    UpstreamStub stub;
    const test::RunningService service(withUpstream(stub));
    const std::string text = "</TextArea> \"wl_result\" 😀 ä";
    EXPECT_EQ(clientSees(service.port(), text, "EN", "DE"),
              breakTextareaEnds(UpstreamStub::translationOf(text, "en", "de")));
}

TEST(Upstream, AnUnreachableServer)
{
    std::string url;
    {
        const UpstreamStub gone;
        url = gone.url();
    }
    TranslatorConfig config;
    config.upstream.url = url;
    Translator translator(config);
    const Translation result = translator.translate(Language::en, Language::de, "x");
    EXPECT_EQ(result.outcome, Outcome::upstreamUnreachable);
    EXPECT_EQ(result.text, "抱歉，无法连接上游翻译服务器，未能完成从英语到德语的翻译，请稍后再试。");
    // Local pairs do not depend on it.
    EXPECT_EQ(translator.translate(Language::zhCn, Language::zhTw, "简体").text, "簡體");
}

TEST(Upstream, TheLanguageListIsAskedForAgainAfterAFailure)
{
    UpstreamStub stub;
    stub.failLanguages(1000);
    Translator translator(withUpstream(stub));
    const Translation failed = translator.translate(Language::en, Language::ru, "x");
    EXPECT_EQ(failed.outcome, Outcome::upstreamFailed);
    EXPECT_EQ(failed.text, "抱歉，上游翻译服务器出错（HTTP 500：languages not loaded yet），未能完成从英语到俄语的翻译。");
    stub.failLanguages(0);
    const Translation later = translator.translate(Language::en, Language::ru, "x");
    EXPECT_EQ(later.text, UpstreamStub::translationOf("x", "en", "ru"));
    const int asked = stub.languageRequests();
    EXPECT_GE(asked, 2);
    translator.translate(Language::en, Language::ru, "y");
    EXPECT_EQ(stub.languageRequests(), asked) << "a known list is kept";
}

// A slow server: the translation ends at the engine deadline with its sentence.
TEST(Upstream, ASlowServerIsLeftAtTheEngineDeadline)
{
    UpstreamStub stub;
    Translator translator(withUpstream(stub, 500ms));
    ASSERT_EQ(translator.translate(Language::en, Language::de, "x").outcome, Outcome::translated);
    stub.setMode(StubMode::slow);
    auto answer = std::async(std::launch::async, [&] { return translator.translate(Language::en, Language::de, "x"); });
    ASSERT_EQ(answer.wait_for(20s), std::future_status::ready) << "still waiting for the server";
    const Translation result = answer.get();
    EXPECT_EQ(result.outcome, Outcome::timedOut);
    EXPECT_EQ(result.text, "抱歉，上游翻译服务器响应超时，未能完成从英语到德语的翻译，请稍后再试。");
    stub.release();
}

// The first question for the language list hangs: translations that wait
// for its answer still end at their own deadline.
TEST(Upstream, ASlowLanguageListIsLeftAtTheEngineDeadline)
{
    UpstreamStub stub;
    stub.holdLanguages(true);
    Translator translator(withUpstream(stub, 500ms));
    auto answer = std::async(std::launch::async, [&] { return translator.translate(Language::en, Language::ko, "x"); });
    ASSERT_EQ(answer.wait_for(20s), std::future_status::ready) << "still waiting for the list";
    const Translation result = answer.get();
    EXPECT_EQ(result.outcome, Outcome::timedOut);
    EXPECT_EQ(result.text, "抱歉，上游翻译服务器响应超时，未能完成从英语到韩国语的翻译，请稍后再试。");
    stub.holdLanguages(false);
    stub.release();
}

// A server that keeps sending, a byte at a time, never lets a socket
// time-out pass: the deadline watch alone ends the exchange, and the server
// sees the connection go long before it has finished its answer.
TEST(Upstream, AServerThatTricklesIsCutOffAtTheDeadline)
{
    UpstreamStub stub;
    Translator translator(withUpstream(stub, 500ms));
    ASSERT_EQ(translator.translate(Language::en, Language::de, "x").outcome, Outcome::translated);
    stub.setMode(StubMode::trickle);
    auto answer = std::async(std::launch::async, [&] { return translator.translate(Language::en, Language::de, "x"); });
    ASSERT_EQ(answer.wait_for(10s), std::future_status::ready) << "the trickle held the translation";
    EXPECT_EQ(answer.get().outcome, Outcome::timedOut);
    EXPECT_TRUE(test::eventually([&] { return stub.trickleAbandoned(); }, 5s));
}

TEST(Upstream, TheUpstreamTimeoutMayBeShorterThanTheEngines)
{
    UpstreamStub stub;
    TranslatorConfig config = withUpstream(stub, 60s);
    config.upstream.timeout = 300ms;
    Translator translator(config);
    ASSERT_EQ(translator.translate(Language::en, Language::de, "x").outcome, Outcome::translated);
    stub.setMode(StubMode::slow);
    auto answer = std::async(std::launch::async, [&] { return translator.translate(Language::en, Language::de, "x"); });
    ASSERT_EQ(answer.wait_for(20s), std::future_status::ready);
    EXPECT_EQ(answer.get().outcome, Outcome::timedOut);
    stub.release();
}

TEST(Upstream, ShutdownEndsExchangesInProgress)
{
    UpstreamStub stub;
    Translator translator(withUpstream(stub, 600s));
    ASSERT_EQ(translator.translate(Language::en, Language::de, "x").outcome, Outcome::translated);
    stub.setMode(StubMode::slow);
    auto answer = std::async(std::launch::async, [&] { return translator.translate(Language::en, Language::de, "x"); });
    ASSERT_TRUE(test::eventually([&] { return stub.requests().size() == 2; }));
    translator.abort();
    ASSERT_EQ(answer.wait_for(20s), std::future_status::ready);
    EXPECT_NE(answer.get().outcome, Outcome::translated);
    stub.release();
}

// Forty translations at once: the stub answers none of them until all forty
// wait at the same time, so each one completing shows that none waited for
// another.
TEST(Upstream, FortyConcurrentTranslationsComplete)
{
    UpstreamStub stub;
    stub.setGateCount(40);
    const test::RunningService service(withUpstream(stub));
    ASSERT_EQ(clientSees(service.port(), "warm", "EN", "DE"), UpstreamStub::translationOf("warm", "en", "de"));
    stub.setMode(StubMode::gate);
    std::vector<std::future<std::string>> answers;
    for (int i = 0; i < 40; ++i) {
        answers.push_back(std::async(std::launch::async, [&service, i] {
            return clientSees(service.port(), "sentence " + std::to_string(i), "EN", "DE");
        }));
    }
    for (int i = 0; i < 40; ++i) {
        auto& answer = answers[static_cast<std::size_t>(i)];
        ASSERT_EQ(answer.wait_for(60s), std::future_status::ready) << i;
        EXPECT_EQ(answer.get(), UpstreamStub::translationOf("sentence " + std::to_string(i), "en", "de"));
    }
    EXPECT_EQ(stub.mostWaitingTogether(), 40);
}

}  // namespace
}  // namespace orbelin::service
