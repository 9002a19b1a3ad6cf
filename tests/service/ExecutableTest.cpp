#include "Process.h"
#include "ResultPage.h"
#include "TestSupport.h"
#include "UpstreamStub.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <csignal>
#include <future>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace orbelin::service {
namespace {

using namespace std::chrono_literals;
using test::ServiceProcess;

int portOf(const std::string& line)
{
    const std::size_t colon = line.rfind(':');
    return colon == std::string::npos ? -1 : std::stoi(line.substr(colon + 1));
}

TEST(Executable, ServesAndStopsCleanlyOnSignals)
{
    for (const int stopSignal : {SIGTERM, SIGINT}) {
        ServiceProcess service({"--listen", "127.0.0.1:0", "--engine-timeout", "5000"});
        const std::string line = service.readLine(10s);
        ASSERT_EQ(line.rfind("orbelin-service listening on 127.0.0.1:", 0), 0u) << line;
        const int port = portOf(line);
        ASSERT_GT(port, 0);

        httplib::Client client("127.0.0.1", port);
        const auto result =
            client.Post("/wl/translate", test::clientBody("简体中文", "ZH_CN", "ZH_TW"),
                        "application/x-www-form-urlencoded");
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 200);
        EXPECT_EQ(test::clientCut(result->body), "簡體中文");

        service.signal(stopSignal);
        const int status = service.wait();
        EXPECT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
}

TEST(Executable, StopsQuicklyWhileAnEngineHangs)
{
    test::TempDir dir;
    const auto hang = dir.path() / "hang.sh";
    test::writeFile(hang, "#!/bin/sh\nexec sleep 600\n", true);
    test::writeFile(dir.path() / "eng-spa.mode", "'" + hang.string() + "'\n");

    ServiceProcess service({"--listen", "127.0.0.1:0", "--engine-timeout", "30000",
                            "--apertium-modes", dir.path().string()});
    const int port = portOf(service.readLine(10s));
    ASSERT_GT(port, 0);
    auto answer = std::async(std::launch::async, [port] {
        httplib::Client client("127.0.0.1", port);
        return client.Post("/wl/translate", test::clientBody("Hello", "EN", "ES"),
                           "application/x-www-form-urlencoded");
    });
    std::this_thread::sleep_for(300ms);

    const auto start = std::chrono::steady_clock::now();
    service.signal(SIGTERM);
    const int status = service.wait(5s);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);

    const auto result = answer.get();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(test::clientCut(result->body),
              "抱歉，翻译引擎出错，未能完成从英语到西班牙语的翻译，请稍后再试。");
}

TEST(Executable, RefusesBadOptions)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--listen", "nowhere"}, {"--listen", "127.0.0.1:70000"},
          {"--engine-timeout", "soon"}, {"--frobnicate"}, {"--listen"}}) {
        ServiceProcess service(args);
        const int status = service.wait();
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 2) << args.front();
    }
}

TEST(Executable, ReportsAnAddressInUse)
{
    ServiceProcess first({"--listen", "127.0.0.1:0"});
    const std::string line = first.readLine(10s);
    const int port = portOf(line);
    ASSERT_GT(port, 0) << line;

    ServiceProcess second({"--listen", "127.0.0.1:" + std::to_string(port)});
    const int status = second.wait();
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);

    first.signal(SIGTERM);
    EXPECT_EQ(first.wait(), 0);
}


TEST(Executable, PassesPairsItLacksToTheUpstream)
{
    const test::UpstreamStub stub;
    ServiceProcess service({"--listen", "127.0.0.1:0", "--upstream", stub.url(), "--upstream-key", "k"});
    const int port = portOf(service.readLine(10s));
    ASSERT_GT(port, 0);
    httplib::Client client("127.0.0.1", port);
    const auto result = client.Post("/wl/translate", test::clientBody("Hello", "EN", "DE"),
                                     "application/x-www-form-urlencoded");
    ASSERT_TRUE(result);
    EXPECT_EQ(test::clientCut(result->body), test::UpstreamStub::translationOf("Hello", "en", "de"));
    service.signal(SIGTERM);
    EXPECT_EQ(service.wait(), 0);

    ServiceProcess badUrl({"--upstream", "127.0.0.1:5000"});
    const int status = badUrl.wait();
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

}  // namespace
}  // namespace orbelin::service
