// The client window against the local service, which hands the pairs its own
// engines lack to a scripted upstream server. run-e2e-upstream.sh starts both
// and passes the service's address in ORBELIN_SERVICE_HOST. The window is
// worked as a new user works it: real clicks and keys through the X server.

#include "base/Charset.h"
#include "tests/win/ProgramForms.h"
#include "tests/win/RealInput.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace orbelin {
namespace {

using namespace test;

HWND H(TWinControl* control) { return control->WindowHandle(); }

// What the scripted upstream answers (see tests/service/UpstreamStub), in
// UTF-16 so that the test states the characters, not their bytes.
std::u16string StubTranslation(const std::u16string& greeting, const std::string& source,
                               const std::string& target, const std::string& text)
{
    const std::string codes = " [" + source + ">" + target + "] " + text;
    return greeting + std::u16string(codes.begin(), codes.end());
}

class UpstreamEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* host = std::getenv("ORBELIN_SERVICE_HOST");
        ASSERT_NE(host, nullptr) << "run through run-e2e-upstream.sh, which starts the service and the upstream";
        Form1->ServiceHost = host;
    }

    TProgramForms forms;

    // Opens the list with a click, walks to the item with the arrow keys and
    // takes it with Return.
    static bool Choose(TComboBox* list, int index)
    {
        TRealInput::Click(H(list));
        if (!WaitFor([list] { return SendMessageA(H(list), CB_GETDROPPEDSTATE, 0, 0) != 0; }))
            return false;
        std::string keys = "Home";
        for (int i = 0; i < index; ++i)
            keys += " Down";
        TRealInput::Key(keys + " Return");
        return WaitFor([list, index] {
            return list->ItemIndex() == index && SendMessageA(H(list), CB_GETDROPPEDSTATE, 0, 0) == 0;
        });
    }

    // Clears the source box with its button, types the text, picks both
    // languages and presses "翻  译"; the target box's text once it changes.
    std::string TranslateByHand(const std::string& text, int source, int target)
    {
        std::string result;
        const std::string before = Form1->Memo2->Text();
        const bool finished = RunScript([&] {
            TRealInput::Click(H(Form1->Button3));
            ASSERT_TRUE(WaitFor([] { return Form1->Memo1->Text().empty(); }));
            TRealInput::Click(H(Form1->Memo1));
            TRealInput::Type(text);
            ASSERT_TRUE(WaitFor([&] { return Form1->Memo1->Text() == text; })) << Form1->Memo1->Text();
            ASSERT_TRUE(Choose(Form1->wl_srclang, source)) << "source " << source;
            ASSERT_TRUE(Choose(Form1->wl_trglang, target)) << "target " << target;
            TRealInput::Click(H(Form1->BitBtn1));
            ASSERT_TRUE(WaitFor([&] { return Form1->Memo2->Text() != before; }, 30000)) << "no translation";
            result = Form1->Memo2->Text();
        }, 60000);
        EXPECT_TRUE(finished) << "the script did not finish";
        return result;
    }
};

constexpr int English = 1;

// English to 德语: the service passes it to the upstream, whose answer
// "Grüß Gott" reaches the target box as far as code page 936 allows: it has
// ü (A8 B9, among its pinyin letters) but no ß, which becomes '?', so the
// user reads "Grü? Gott".
TEST_F(UpstreamEndToEnd, EnglishToGermanThroughTheUpstream)
{
    const std::string shown = TranslateByHand("Good morning", English, 6);
    EXPECT_EQ(shown, "Gr\xA8\xB9? Gott [en>de] Good morning") << AnsiToUtf8(shown);
    EXPECT_EQ(shown, Utf16ToAnsi(StubTranslation(u"Grüß Gott", "en", "de", "Good morning")));
    EXPECT_TRUE(IsWindowEnabled(H(Form1->Button4))) << "a translation enables saving";
}

// Every language of the lists to and from English. The four European ones
// stay with Apertium on the machine; the others go to the upstream.
TEST_F(UpstreamEndToEnd, EveryLanguageToAndFromEnglish)
{
    struct Case {
        int item;
        const char* code;           // the upstream's; empty when served locally
        const char16_t* greeting;   // the stub's word in that language
    };
    const Case cases[] = {
        {2, "zh-Hans", u"你好"},    {3, "zh-Hant", u"歡迎光臨"}, {4, "nl", u"Goedendag"},
        {5, "", nullptr},           {6, "de", u"Grüß Gott"},     {7, "el", u"Γειά σου"},
        {8, "", nullptr},           {9, "ja", u"こんにちは"},    {10, "ko", u"안녕하세요"},
        {11, "", nullptr},          {12, "ru", u"Здравствуйте"}, {13, "", nullptr},
    };
    const std::string apology = Utf16ToAnsi(u"抱歉");
    for (const Case& c : cases) {
        const std::string to = TranslateByHand("Mario is here", English, c.item);
        const std::string from = TranslateByHand("Mario", c.item, English);
        if (*c.code == 0) {
            EXPECT_NE(to.find("Mario"), std::string::npos) << c.item << ": " << AnsiToUtf8(to);
            EXPECT_EQ(to.find(apology), std::string::npos) << c.item << ": " << AnsiToUtf8(to);
            EXPECT_NE(from.find("Mario"), std::string::npos) << c.item << ": " << AnsiToUtf8(from);
            EXPECT_EQ(from.find(apology), std::string::npos) << c.item << ": " << AnsiToUtf8(from);
            continue;
        }
        EXPECT_EQ(to, Utf16ToAnsi(StubTranslation(c.greeting, "en", c.code, "Mario is here"))) << AnsiToUtf8(to);
        EXPECT_EQ(from, "Hello [" + std::string(c.code) + ">en] Mario") << AnsiToUtf8(from);
    }
}

// What the user sees of the other greetings in code page 936 (the literals
// here are in that code page too): plain Greek letters, Cyrillic and kana
// are in it; the accented ά and Hangul are not.
TEST_F(UpstreamEndToEnd, WhatCodePage936Keeps)
{
    EXPECT_EQ(TranslateByHand("x", English, 7), "Γει? σου [en>el] x");
    EXPECT_EQ(TranslateByHand("x", English, 12), "Здравствуйте [en>ru] x");
    EXPECT_EQ(TranslateByHand("x", English, 9), "こんにちは [en>ja] x");
    EXPECT_EQ(TranslateByHand("x", English, 10), "????? [en>ko] x");
}

} // namespace
} // namespace orbelin
