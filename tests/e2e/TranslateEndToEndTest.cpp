// The real client window against the real local translation service.
// run-e2e.sh starts the service and passes its address in ORBELIN_SERVICE_HOST.

#include "base/Charset.h"
#include "tests/win/ProgramForms.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace orbelin {
namespace {

using namespace test;

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* host = std::getenv("ORBELIN_SERVICE_HOST");
        ASSERT_NE(host, nullptr) << "run through run-e2e.sh, which starts the service";
        Form1->ServiceHost = host;
    }
    TProgramForms forms;
    std::string Translate(const std::string& text, int source, int target)
    {
        Form1->Memo1->SetText(text);
        Form1->wl_srclang->SetItemIndex(source);
        Form1->wl_trglang->SetItemIndex(target);
        SendMessageA(Form1->BitBtn1->WindowHandle(), BM_CLICK, 0, 0);
        return Form1->Memo2->Text();
    }
};

TEST_F(EndToEnd, EnglishToSpanish)
{
    const std::string result = AnsiToUtf8(Translate("Hello, how are you?", 1, 13));
    EXPECT_NE(result.find("Hola"), std::string::npos) << result;
    EXPECT_EQ(result.find("Hello"), std::string::npos) << result;
    EXPECT_TRUE(IsWindowEnabled(Form1->Button4->WindowHandle())) << "a result enables saving";
}

TEST_F(EndToEnd, SimplifiedToTraditionalChinese)
{
    // 简体中文 in, 簡體中文 out (both in code page 936).
    const std::string result = Translate(Utf16ToAnsi(u"简体中文"), 2, 3);
    EXPECT_EQ(result, Utf16ToAnsi(u"簡體中文"));
}

TEST_F(EndToEnd, UnsupportedPairShowsTheServiceSentence)
{
    const std::string result = Translate("Hello", 1, 9);
    EXPECT_NE(result.find("日本语"), std::string::npos) << AnsiToUtf8(result);
    EXPECT_NE(result.find("英语"), std::string::npos) << AnsiToUtf8(result);
}

TEST_F(EndToEnd, MultiLineTextKeepsItsLines)
{
    const std::string result = AnsiToUtf8(Translate("Good morning.\r\nThank you very much.", 1, 13));
    EXPECT_NE(result.find("\r\n"), std::string::npos) << result;
    EXPECT_NE(result.find("gracias"), std::string::npos) << result;
}

} // namespace
} // namespace orbelin
