// The translate button against scripted servers on 127.0.0.1.

#include "base/Charset.h"
#include "tests/support/TestServer.h"
#include "tests/win/ProgramForms.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

using namespace test;

std::string Page(const std::string& utf8Result)
{
    std::string page = "<html><body><form><textarea name=\"wl_result\"";
    page += std::string(125 - 11, ' ');
    return page + utf8Result + "</textarea></form></body></html>";
}

std::string Ok(const std::string& body)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

int Count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

class TranslateCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form1->ServiceHost = "127.0.0.1:" + std::to_string(server.Port());
        Form1->Memo1->SetText("Hi");
        Form1->wl_srclang->SetItemIndex(1);
        Form1->wl_trglang->SetItemIndex(2);
    }
    void Press() { SendMessageA(Form1->BitBtn1->WindowHandle(), BM_CLICK, 0, 0); }

    TProgramForms forms;
    TTestServer server;
};

TEST_F(TranslateCommand, PostsTheFormAndShowsTheCutResult)
{
    server.Serve(Script().ReceiveUntil("wl_ucp=1").Send(Ok(Page("\xE4\xBD\xA0\xE5\xA5\xBD\nline"))).Close());
    Press();
    server.Wait();
    EXPECT_EQ(Form1->Memo2->Text(), Utf16ToAnsi(u"你好") + "\r\nline");
    const std::string request = server.Received();
    const std::string body = "wl_url=&wl_text=%48%69&wl_glossary=gl1&wl_srclang=EN&wl_trglang=ZH_CN&wl_ucp=1";
    EXPECT_EQ(request.rfind("POST /wl/translate HTTP/1.0\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("Content-Type: application/x-www-form-urlencoded\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("Content-Length: " + std::to_string(body.size()) + "\r\n"), std::string::npos);
    EXPECT_NE(request.find("User-Agent: Mozilla/3.0 (compatible; Orbelin Net Library)\r\n"), std::string::npos);
    EXPECT_EQ(request.substr(request.size() - body.size()), body);
    EXPECT_EQ(Form1->http->Request().ContentType, "application/x-www-form-urlencoded") << "kept after the command";
    EXPECT_TRUE(IsWindowEnabled(Form1->Button4->WindowHandle()));
}

TEST_F(TranslateCommand, ARedirectLeadsToExactlyOnePostAndOneGet)
{
    const std::string location = "http://127.0.0.1:" + std::to_string(server.Port()) + "/result?id=7";
    server.Serve({Script()
                      .ReceiveUntil("wl_ucp=1")
                      .Send("HTTP/1.1 302 Found\r\nLocation: " + location +
                            "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n")
                      .Close(),
                  Script().ReceiveUntil("\r\n\r\n").Send(Ok(Page("Hola"))).Close()});
    Press();
    server.Wait();
    EXPECT_EQ(Form1->Memo2->Text(), "Hola");
    EXPECT_EQ(server.Accepted(), 2u);
    const std::string all = server.Received(0) + server.Received(1);
    EXPECT_EQ(Count(all, "POST "), 1);
    EXPECT_EQ(Count(all, "GET "), 1);
    EXPECT_EQ(server.Received(1).rfind("GET /result?id=7 HTTP/1.1\r\n", 0), 0u) << server.Received(1);
}

TEST_F(TranslateCommand, AFailingFallbackGetShowsItsErrorAndKeepsTheTarget)
{
    Form1->Memo2->SetText("old");
    const std::string location = "http://127.0.0.1:" + std::to_string(UnusedPort()) + "/gone";
    server.Serve(Script()
                     .ReceiveUntil("wl_ucp=1")
                     .Send("HTTP/1.1 302 Found\r\nLocation: " + location + "\r\nConnection: close\r\n\r\n")
                     .Close());
    const TBoxInfo box = RunAndCloseMessageBox([&] { Press(); }, Form1->WindowHandle());
    server.Wait();
    ASSERT_TRUE(box.Found);
    EXPECT_EQ(box.Caption, ApplicationTitle);
    EXPECT_EQ(box.Text.rfind("Socket Error # 10061", 0), 0u) << box.Text;
    EXPECT_TRUE(box.HasIcon);
    EXPECT_EQ(Form1->Memo2->Text(), "old");
}

TEST_F(TranslateCommand, ARefusedConnectionFallsBackToAGetThatFailsToo)
{
    Form1->ServiceHost = "127.0.0.1:" + std::to_string(UnusedPort());
    Form1->Memo2->SetText("old");
    const TBoxInfo box = RunAndCloseMessageBox([&] { Press(); });
    ASSERT_TRUE(box.Found);
    EXPECT_NE(box.Text.find("Socket Error # 10061"), std::string::npos) << box.Text;
    EXPECT_EQ(Form1->Memo2->Text(), "old");
}

TEST_F(TranslateCommand, AnAnswerBeyondTheClientsLimitsShowsItsErrorAndKeepsTheTarget)
{
    std::string lines;
    for (int i = 0; i < 10000; ++i)
        lines += "X-A: b\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"HTTP/1.1 200 OK\r\n" + lines + "\r\n", "Response head too large."},
        {"HTTP/1.1 200 OK\r\nContent-Length: 16777217\r\n\r\n", "Response body too large."},
        {"HTTP/1.0 200 OK\r\n\r\n" + std::string(17 << 20, 'x'), "Response body too large."},
    };
    for (const auto& [reply, message] : cases) {
        TTestServer limited;
        limited.Serve(Script().ReceiveUntil("wl_ucp=1").Send(reply).Close());
        Form1->ServiceHost = "127.0.0.1:" + std::to_string(limited.Port());
        Form1->Memo2->SetText("old");
        const TBoxInfo box = RunAndCloseMessageBox([&] { Press(); }, Form1->WindowHandle());
        limited.Wait();
        EXPECT_EQ(box.Text, message);
        EXPECT_EQ(Form1->Memo2->Text(), "old");
        EXPECT_EQ(limited.Accepted(), 1u) << "no second request after " << message;
    }
}

TEST_F(TranslateCommand, MalformedUtf8EmptiesTheTarget)
{
    Form1->Memo2->SetText("old");
    server.Serve(Script().ReceiveUntil("wl_ucp=1").Send(Ok(Page("bad \xC3 byte"))).Close());
    Press();
    server.Wait();
    EXPECT_EQ(Form1->Memo2->Text(), "");
    EXPECT_FALSE(IsWindowEnabled(Form1->Button4->WindowHandle()));
}

TEST_F(TranslateCommand, AnEmptySourceStillPostsTheForm)
{
    Form1->Memo1->SetText("");
    server.Serve(Script().ReceiveUntil("wl_ucp=1").Send(Ok(Page("x"))).Close());
    Press();
    server.Wait();
    const std::string request = server.Received();
    EXPECT_NE(request.find("\r\n\r\nwl_url=&wl_text=&wl_glossary=gl1&"), std::string::npos) << request;
}

TEST_F(TranslateCommand, ChecksStopTheCommandBeforeAnyRequest)
{
    struct Case {
        int source, target;
        const char* message;
    } cases[] = {
        {0, 0, "请选择原文语言！"},
        {1, 0, "请选择译文语言！"},
        {1, 1, "原文语言和译文语言不能相同！"},
    };
    for (const auto& c : cases) {
        Form1->wl_srclang->SetItemIndex(c.source);
        Form1->wl_trglang->SetItemIndex(c.target);
        Form1->Memo2->SetText("kept");
        const TBoxInfo box = RunAndCloseMessageBox([&] { Press(); });
        ASSERT_TRUE(box.Found) << c.message;
        EXPECT_EQ(box.Text, c.message);
        EXPECT_EQ(box.Caption, ApplicationTitle);
        EXPECT_FALSE(box.HasIcon);
        EXPECT_EQ(box.Buttons, std::vector<std::string>{"OK"});
        EXPECT_EQ(Form1->Memo2->Text(), "kept");
    }
    EXPECT_EQ(server.Accepted(), 0u);
}

} // namespace
} // namespace orbelin
