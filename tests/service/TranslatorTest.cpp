#include "Translator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

namespace orbelin::service {
namespace {

// One translator for the suite, so that Apertium starts each mode once.
class RealEngines : public ::testing::Test {
protected:
    static void SetUpTestSuite() { translator_ = std::make_unique<Translator>(TranslatorConfig{}); }
    static void TearDownTestSuite() { translator_.reset(); }
    static Translator& translator() { return *translator_; }

private:
    static std::unique_ptr<Translator> translator_;
};

std::unique_ptr<Translator> RealEngines::translator_;

TEST_F(RealEngines, EnglishToSpanish)
{
    const Translation result =
        translator().translate(Language::en, Language::es, "Hello, how are you?");
    EXPECT_EQ(result.outcome, Outcome::translated);
    EXPECT_NE(result.text.find("Hola"), std::string::npos) << result.text;
}

TEST_F(RealEngines, UnknownWordsAreNotMarked)
{
    const Translation result =
        translator().translate(Language::en, Language::es, "The xyzzyq cat sleeps. 5 * 3 #tag");
    EXPECT_EQ(result.outcome, Outcome::translated);
    EXPECT_NE(result.text.find(" xyzzyq "), std::string::npos) << result.text;
    EXPECT_NE(result.text.find("5 * 3"), std::string::npos) << result.text;
}

TEST_F(RealEngines, KeepsLinesAndNonAsciiText)
{
    const Translation result =
        translator().translate(Language::en, Language::es, "Good morning.\r\nThe house is big.\n");
    EXPECT_EQ(result.outcome, Outcome::translated);
    EXPECT_NE(result.text.find("\r\n"), std::string::npos) << result.text;
    EXPECT_NE(result.text.find("casa"), std::string::npos) << result.text;
}

TEST_F(RealEngines, FrenchToEnglishThroughSpanish)
{
    const Translation result =
        translator().translate(Language::fr, Language::en, "Le chat est noir.");
    EXPECT_EQ(result.outcome, Outcome::translated);
    EXPECT_NE(result.text.find("cat"), std::string::npos) << result.text;
    EXPECT_NE(result.text.find("black"), std::string::npos) << result.text;
}

TEST_F(RealEngines, EveryEuropeanPairTranslates)
{
    const Language languages[] = {Language::en, Language::fr, Language::es, Language::pt,
                                  Language::it};
    for (const Language source : languages) {
        for (const Language target : languages) {
            const Translation result = translator().translate(source, target, "Mario");
            EXPECT_EQ(result.outcome, Outcome::translated) << codeOf(source) << codeOf(target);
            EXPECT_NE(result.text.find("Mario"), std::string::npos)
                << codeOf(source) << "->" << codeOf(target) << ": " << result.text;
        }
    }
}

TEST_F(RealEngines, SimplifiedAndTraditionalChinese)
{
    const Translation traditional =
        translator().translate(Language::zhCn, Language::zhTw, "简体中文");
    EXPECT_EQ(traditional.outcome, Outcome::translated);
    EXPECT_EQ(traditional.text, "簡體中文");

    const Translation simplified =
        translator().translate(Language::zhTw, Language::zhCn, "簡體中文");
    EXPECT_EQ(simplified.outcome, Outcome::translated);
    EXPECT_EQ(simplified.text, "简体中文");

    const Translation withNul =
        translator().translate(Language::zhCn, Language::zhTw, std::string("简体\0中文", 13));
    EXPECT_EQ(withNul.text, std::string("簡體\0中文", 13));
}

TEST_F(RealEngines, SameLanguageReturnsTheText)
{
    for (const Language language : {Language::en, Language::ja, Language::zhCn}) {
        const Translation result = translator().translate(language, language, "不变 unchanged\r\n");
        EXPECT_EQ(result.outcome, Outcome::translated);
        EXPECT_EQ(result.text, "不变 unchanged\r\n");
    }
}

TEST_F(RealEngines, UnsupportedPairGetsAChineseSentence)
{
    const Translation result = translator().translate(Language::en, Language::ja, "Hello");
    EXPECT_EQ(result.outcome, Outcome::unsupported);
    EXPECT_EQ(result.text, "抱歉，本地翻译服务暂不支持从英语到日本语的翻译。");

    const Translation dutch = translator().translate(Language::zhCn, Language::nl, "你好");
    EXPECT_EQ(dutch.text, "抱歉，本地翻译服务暂不支持从简体中文到荷兰语的翻译。");
    EXPECT_FALSE(translator().supports(Language::ru, Language::de));
    EXPECT_TRUE(translator().supports(Language::it, Language::pt));
}

TEST(ChineseConversion, KeepsTheEngineDeadline)
{
    TranslatorConfig config;
    config.timeout = std::chrono::milliseconds(1);
    Translator translator(config);
    std::string text;
    for (int i = 0; i < 20000; ++i) {
        text += "简体中文的一行\n";
    }
    const Translation result = translator.translate(Language::zhCn, Language::zhTw, text);
    EXPECT_EQ(result.outcome, Outcome::timedOut);
    // Compared as a flag: a failure must not print the whole text.
    EXPECT_TRUE(result.text == timedOutSentence(Language::zhCn, Language::zhTw));
}

TEST(Sentences, NameBothLanguages)
{
    EXPECT_EQ(engineFailedSentence(Language::en, Language::es),
              "抱歉，翻译引擎出错，未能完成从英语到西班牙语的翻译，请稍后再试。");
    EXPECT_EQ(timedOutSentence(Language::pt, Language::it),
              "抱歉，翻译引擎响应超时，未能完成从葡萄牙语(巴西)到意大利语的翻译，请稍后再试。");
}

}  // namespace
}  // namespace orbelin::service
