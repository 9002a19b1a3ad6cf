// The translate command's own work for a 10 KB source text, under Wine:
// encoding the request, and cutting and converting the result. The exchange
// itself runs against a loopback server in this process that answers at once,
// so its time is the client's part of a round trip plus a thread switch.
//
//   client_work_bench [ROUNDS]

#include "app/Translation.h"
#include "base/AnsiText.h"
#include "base/Charset.h"
#include "base/Streams.h"
#include "http/NetHTTP.h"
#include "tests/support/TestServer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace orbelin;
using Clock = std::chrono::steady_clock;

namespace {

// About 10 KB of code page 936 text: Chinese with ASCII words and line breaks.
std::string SourceText()
{
    const std::string line = Utf16ToAnsi(u"今天天气很好，我们去公园散步。The weather is fine today.\r\n");
    std::string text;
    while (text.size() < 10 * 1024)
        text += line;
    return text;
}

std::string ResultPage(const std::string& utf8)
{
    std::string page = "<html><form><textarea name=\"wl_result\"" + std::string(114, ' ');
    page += utf8 + "</textarea></form></html>";
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(page.size()) +
           "\r\nConnection: close\r\n\r\n" + page;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const std::string source = SourceText();
    const std::string response = ResultPage(AnsiToUtf8(source));

    std::vector<double> encode, decode, exchange;
    std::string sink;
    for (int i = 0; i < rounds; ++i) {
        auto t0 = Clock::now();
        const std::string body = translation::FormBody(translation::GetHex(AnsiToUtf8(source)), "gl1", "ZH_CN", "EN");
        auto t1 = Clock::now();
        const std::string page = response.substr(response.find("\r\n\r\n") + 4);
        auto t2 = Clock::now();
        sink = AdjustLineBreaks(Utf16ToAnsi(translation::DecodeUtf8(translation::ExtractResult(page))));
        auto t3 = Clock::now();
        encode.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        decode.push_back(std::chrono::duration<double, std::milli>(t3 - t2).count());
        if (sink != source) {
            std::fprintf(stderr, "round trip changed the text\n");
            return 1;
        }
    }

    test::TTestServer server;
    server.Serve(test::Script().ReceiveUntil("wl_ucp=1").Send(response).Close(), rounds);
    TNetHTTP http(nullptr);
    http.Request().ContentType = "application/x-www-form-urlencoded";
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/wl/translate";
    for (int i = 0; i < rounds; ++i) {
        TStringStream request(translation::FormBody(translation::GetHex(AnsiToUtf8(source)), "gl1", "ZH_CN", "EN"));
        TStringStream reply;
        auto t0 = Clock::now();
        http.Post(url, request, &reply);
        exchange.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    server.Wait();

    std::printf("source text: %zu bytes, rounds: %d\n", source.size(), rounds);
    std::printf("encode (UTF-8, percent escapes, form body): median %.3f ms\n", Median(encode));
    std::printf("extract and convert (cut, UTF-8 decode, code page 936): median %.3f ms\n", Median(decode));
    std::printf("client work total: median %.3f ms\n", Median(encode) + Median(decode));
    std::printf("POST exchange on loopback against an instant server: median %.3f ms\n", Median(exchange));
    return 0;
}
