#include "ResultPage.h"
#include "SlowClients.h"
#include "TestSupport.h"
#include "TranslateRequest.h"
#include "TranslationService.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <chrono>
#include <future>
#include <memory>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace orbelin::service {
namespace {

using namespace std::chrono_literals;
using test::clientBody;
using test::clientCut;

constexpr const char* formType = "application/x-www-form-urlencoded";

httplib::Result post(int port, const std::string& body, const std::string& path = "/wl/translate")
{
    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(60, 0);
    return client.Post(path, body, formType);
}

// A translation as the client sees it: 200, then the cut.
std::string translate(int port, std::string_view text, std::string_view source,
                      std::string_view target)
{
    const httplib::Result result = post(port, clientBody(text, source, target));
    if (!result) {
        ADD_FAILURE() << "no answer: " << httplib::to_string(result.error());
        return {};
    }
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->get_header_value("Content-Type"), "text/html; charset=utf-8");
    return clientCut(result->body);
}

class ServiceWithRealEngines : public ::testing::Test {
protected:
    static void SetUpTestSuite() { service_ = std::make_unique<test::RunningService>(); }
    static void TearDownTestSuite() { service_.reset(); }
    static int port() { return service_->port(); }
    static std::string log() { return service_->logText(); }

private:
    static std::unique_ptr<test::RunningService> service_;
};

std::unique_ptr<test::RunningService> ServiceWithRealEngines::service_;

TEST_F(ServiceWithRealEngines, EnglishToSpanish)
{
    const std::string text = translate(port(), "Hello, how are you?", "EN", "ES");
    EXPECT_NE(text.find("Hola"), std::string::npos) << text;
}

TEST_F(ServiceWithRealEngines, SimplifiedToTraditionalChinese)
{
    EXPECT_EQ(translate(port(), "简体中文", "ZH_CN", "ZH_TW"), "簡體中文");
}

TEST_F(ServiceWithRealEngines, FrenchToEnglishThroughSpanish)
{
    const std::string text = translate(port(), "Le chat est noir.", "FR", "EN");
    EXPECT_NE(text.find("black"), std::string::npos) << text;
}

TEST_F(ServiceWithRealEngines, UnsupportedPair)
{
    EXPECT_EQ(translate(port(), "Hello", "EN", "JA"),
              "抱歉，本地翻译服务暂不支持从英语到日本语的翻译。");
}

TEST_F(ServiceWithRealEngines, SameLanguageEchoesMultiLineNonAsciiText)
{
    const std::string text = "第一行\r\n<b>second</b> & </textarea> \"wl_result\"\r\n";
    EXPECT_EQ(translate(port(), text, "DE", "DE"),
              "第一行\r\n<b>second</b> & <\\/textarea> \"wl_result\"\r\n");
}

TEST_F(ServiceWithRealEngines, EmptyText)
{
    const httplib::Result result =
        post(port(), "wl_url=&wl_text=&wl_glossary=gl1&wl_srclang=EN&wl_trglang=ES&wl_ucp=1");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(clientCut(result->body), "");
}

TEST_F(ServiceWithRealEngines, MalformedTranslateRequestsGetTheChineseSentence)
{
    // The client shows a result page and nothing else, so the reason comes
    // back as the result, with status 200.
    const std::pair<std::string, std::string> cases[] = {
        {"wl_url=&wl_text=%4&wl_glossary=gl1&wl_srclang=EN&wl_trglang=ES&wl_ucp=1",
         "请求正文的格式不正确（百分号编码有误或字段重复）。"},
        {"wl_url=&wl_glossary=gl1&wl_srclang=EN&wl_trglang=ES&wl_ucp=1", "缺少字段 wl_text。"},
        {clientBody("x", "EN", "XX"), "字段 wl_trglang 的语言代码无法识别。"},
        {clientBody("x", "none", "ES"), "字段 wl_srclang 的语言代码无法识别。"},
        {"garbage%", "请求正文的格式不正确（百分号编码有误或字段重复）。"},
    };
    for (const auto& [body, reason] : cases) {
        const httplib::Result result = post(port(), body);
        ASSERT_TRUE(result) << body;
        EXPECT_EQ(result->status, 200) << body;
        EXPECT_EQ(result->get_header_value("Content-Type"), "text/html; charset=utf-8");
        EXPECT_EQ(clientCut(result->body), "抱歉，服务没有看懂这个翻译请求：" + reason) << body;
    }
    EXPECT_TRUE(test::eventually([] { return log().find(" 200 bad-request") != std::string::npos; }));
}

TEST_F(ServiceWithRealEngines, OtherPathsAndMethods)
{
    httplib::Client client("127.0.0.1", port());
    const auto get = client.Get("/wl/translate");
    ASSERT_TRUE(get);
    EXPECT_EQ(get->status, 404);
    EXPECT_NE(get->body.find("404 Not Found"), std::string::npos);

    const auto root = client.Get("/");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->status, 404);

    const auto other = post(port(), clientBody("x", "EN", "ES"), "/wl/other");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->status, 404);

    const auto put = client.Put("/wl/translate", clientBody("x", "EN", "ES"), formType);
    ASSERT_TRUE(put);
    EXPECT_EQ(put->status, 404);
}

TEST_F(ServiceWithRealEngines, BodyOverOneMebibyte)
{
    const std::string prefix = "wl_srclang=EN&wl_trglang=EN&wl_text=";
    std::string body = prefix + std::string(maxBodyBytes - prefix.size(), 'a');
    const auto fits = post(port(), body);
    ASSERT_TRUE(fits);
    EXPECT_EQ(fits->status, 200);
    // Compared as a flag: a failure must not print a mebibyte.
    EXPECT_TRUE(clientCut(fits->body) == std::string(maxBodyBytes - prefix.size(), 'a'));

    body.push_back('a');
    const auto tooLarge = post(port(), body);
    ASSERT_TRUE(tooLarge);
    EXPECT_EQ(tooLarge->status, 200);
    const std::string sentence = clientCut(tooLarge->body);
    EXPECT_EQ(sentence, textTooLongSentence());
    EXPECT_NE(sentence.find("原文太长"), std::string::npos) << sentence;
    EXPECT_NE(sentence.find("1048576"), std::string::npos) << sentence;
    EXPECT_TRUE(test::eventually([] { return log().find(" 200 too-large") != std::string::npos; }));

    // Elsewhere an oversized body keeps its status.
    const auto elsewhere = post(port(), body, "/wl/other");
    ASSERT_TRUE(elsewhere);
    EXPECT_EQ(elsewhere->status, 413);

    // Still serving.
    EXPECT_EQ(translate(port(), "简体", "ZH_CN", "ZH_TW"), "簡體");
}

// More slow clients than the service has threads, from several addresses so
// that none reaches the bound per client, each sending a byte of its request
// and then nothing for longer than the service waits for the next: the
// service ends them after its read wait, and a translation queued behind them
// gets a thread soon after. The request deadline is raised far beyond the
// bound, so that it is not what frees the threads.
TEST(ServiceConnections, SlowClientsDoNotHoldUpATranslation)
{
    ConnectionLimits limits;
    limits.readWait = 500ms;
    limits.requestArrival = 60s;
    const test::RunningService service({}, limits);
    const int count = static_cast<int>(limits.threads) + 32;
    const int perAddress = static_cast<int>(limits.perClient) / 2;
    std::vector<std::unique_ptr<test::SlowClients>> slow;
    for (int opened = 0; opened < count; opened += perAddress) {
        const std::string from = "127.0.0." + std::to_string(2 + slow.size());
        const int n = std::min(perAddress, count - opened);
        slow.push_back(std::make_unique<test::SlowClients>(service.port(), n, 3s, from));
        ASSERT_EQ(slow.back()->connected(), n) << from;
    }
    ASSERT_GE(slow.size(), 3u);
    const auto sum = [&slow](auto of) {
        int total = 0;
        for (const auto& clients : slow) {
            total += of(*clients);
        }
        return total;
    };
    ASSERT_TRUE(test::eventually([&] { return sum([](auto& c) { return c.sent(); }) >= count; }));

    httplib::Client client("127.0.0.1", service.port());
    client.set_read_timeout(4, 0);
    const auto start = std::chrono::steady_clock::now();
    const auto result = client.Post("/wl/translate", clientBody("慢", "ZH_CN", "ZH_CN"), formType);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(result) << httplib::to_string(result.error());
    EXPECT_EQ(result ? clientCut(result->body) : "", "慢");
    EXPECT_LT(took, 2s);

    // Every slow client saw its connection ended, long before the deadline.
    EXPECT_TRUE(test::eventually([&] { return sum([](auto& c) { return c.ended(); }) == count; },
                                 std::chrono::milliseconds(5000)))
        << sum([](auto& c) { return c.ended(); }) << " of " << count << " ended";
}

// The bound per client as clients see it: an address holding as many
// connections as it may, all waiting for the rest of a request, has its
// longest-waiting one ended when it opens one more, and another address is
// still served.
TEST(ServiceConnections, OneClientHoldsABoundedNumber)
{
    ConnectionLimits limits;
    limits.requestArrival = 60s;  // the dribbling clients outlast the test
    const test::RunningService service({}, limits);
    const int bound = static_cast<int>(limits.perClient);
    test::SlowClients held(service.port(), bound, 1s, "127.0.0.2");
    ASSERT_EQ(held.connected(), bound);
    ASSERT_TRUE(test::eventually([&held, bound] { return held.sent() >= bound; }));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(held.ended(), 0);

    test::SlowClients oneMore(service.port(), 1, 1s, "127.0.0.2");
    ASSERT_EQ(oneMore.connected(), 1);
    EXPECT_TRUE(test::eventually([&held] { return held.ended() >= 1; }, std::chrono::milliseconds(2000)));

    EXPECT_EQ(translate(service.port(), "满", "ZH_TW", "ZH_TW"), "满");
    test::SlowClients elsewhere(service.port(), 1, 1s, "127.0.0.3");
    ASSERT_EQ(elsewhere.connected(), 1);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(held.ended(), 1);
    EXPECT_EQ(oneMore.ended(), 0);
    EXPECT_EQ(elsewhere.ended(), 0);
}

// One connection from a loopback address of the test's choosing, spoken to
// byte by byte.
class Connection {
public:
    Connection(int port, const std::string& from) : fd_(test::connectFrom(port, from)) {}
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

    bool connected() const { return fd_ >= 0; }
    bool send(std::string_view bytes) const
    {
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(bytes.size());
    }

    struct Received {
        std::string bytes;
        bool ended = false;  // the end of the stream or a reset
    };
    // What arrives until text is among it, the service ends the connection
    // or the time is up.
    Received receive(std::chrono::milliseconds limit, std::string_view text = {}) const
    {
        Received received;
        const auto end = std::chrono::steady_clock::now() + limit;
        while (text.empty() || received.bytes.find(text) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            pollfd readable{fd_, POLLIN, 0};
            if (left <= 0ms || ::poll(&readable, 1, static_cast<int>(left.count())) <= 0) {
                break;
            }
            char bytes[4096];
            const ssize_t n = ::recv(fd_, bytes, sizeof bytes, 0);
            if (n <= 0) {
                received.ended = true;
                break;
            }
            received.bytes.append(bytes, static_cast<std::size_t>(n));
        }
        return received;
    }

private:
    const int fd_;
};

std::string requestHead(std::size_t bodyBytes, std::string_view extra = {})
{
    return "POST /wl/translate HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: " + std::string(formType) +
           "\r\nContent-Length: " + std::to_string(bodyBytes) + "\r\n" + std::string(extra) + "\r\n";
}

// A client that sends a byte now and then, each well within the read wait,
// is ended at its request's arrival deadline, with a 408 page.
TEST(ServiceConnections, ARequestThatDribblesEndsAtItsArrivalDeadline)
{
    ConnectionLimits limits;
    limits.readWait = 1s;
    limits.requestArrival = 1500ms;
    const test::RunningService service({}, limits);
    const Connection client(service.port(), "127.0.0.2");
    const auto start = std::chrono::steady_clock::now();
    Connection::Received received;
    for (const char byte : requestHead(10)) {  // a hundred bytes: twenty seconds
        if (!client.send({&byte, 1}) || (received = client.receive(200ms)).ended) {
            break;
        }
    }
    EXPECT_TRUE(received.ended);
    EXPECT_EQ(received.bytes.substr(0, 28), "HTTP/1.1 408 Request Timeout");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}

// When every connection an address may hold is busy with a request, one more
// from that address is refused unanswered, while another address is served
// and the busy ones are answered in their turn.
TEST(ServiceConnections, OneClientBusyOnAllItHoldsIsRefusedAnotherIsServed)
{
    ConnectionLimits limits;
    limits.requestArrival = 60s;
    const test::RunningService service({}, limits);
    const std::string body = clientBody("满", "ZH_TW", "ZH_TW");
    // Heads whose bodies wait for the service's "100 Continue": that comes
    // once the service holds the request, so the connection is busy.
    std::vector<std::unique_ptr<Connection>> busy;
    for (std::size_t i = 0; i < limits.perClient; ++i) {
        busy.push_back(std::make_unique<Connection>(service.port(), "127.0.0.2"));
        ASSERT_TRUE(busy.back()->connected());
        ASSERT_TRUE(busy.back()->send(requestHead(body.size(), "Expect: 100-continue\r\n")));
    }
    for (const auto& connection : busy) {
        const Connection::Received interim = connection->receive(3000ms, "\r\n\r\n");
        ASSERT_EQ(interim.bytes, "HTTP/1.1 100 Continue\r\n\r\n");
    }

    const Connection oneMore(service.port(), "127.0.0.2");
    ASSERT_TRUE(oneMore.connected());
    oneMore.send(requestHead(body.size()) + body);  // may find it closed already
    const Connection::Received refused = oneMore.receive(2000ms);
    EXPECT_TRUE(refused.ended);
    EXPECT_EQ(refused.bytes, "");

    const Connection other(service.port(), "127.0.0.3");
    ASSERT_TRUE(other.send(requestHead(body.size(), "Connection: close\r\n") + body));
    const Connection::Received served = other.receive(5000ms);
    EXPECT_TRUE(served.ended);
    EXPECT_EQ(served.bytes.rfind("HTTP/1.1 200", 0), 0u) << served.bytes.substr(0, 100);
    EXPECT_EQ(clientCut(served.bytes), "满");

    int answered = 0;
    for (const auto& connection : busy) {
        ASSERT_TRUE(connection->send(body));
        answered += clientCut(connection->receive(5000ms, "</textarea>").bytes) == "满" ? 1 : 0;
    }
    EXPECT_EQ(answered, static_cast<int>(limits.perClient));
}

// The sockets of this process bound to port on 127.0.0.1 and connected:
// the connections a service here has accepted (its listening socket has no
// peer, and clients' sockets are bound to other ports).
std::vector<int> acceptedSockets(int port)
{
    std::vector<int> sockets;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        const std::string name = entry.path().filename().string();
        int fd = -1;
        std::from_chars(name.data(), name.data() + name.size(), fd);
        sockaddr_in local{};
        sockaddr_in peer{};
        socklen_t localLength = sizeof local;
        socklen_t peerLength = sizeof peer;
        if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLength) == 0 &&
            local.sin_family == AF_INET && ntohs(local.sin_port) == port &&
            ::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0) {
            sockets.push_back(fd);
        }
    }
    return sockets;
}

// A response split into a second small segment would wait for the client's
// delayed acknowledgement of the first, 40 ms on every kept-alive request.
TEST(ServiceConnections, AcceptedConnectionsSendWithoutDelay)
{
    const test::RunningService service;
    httplib::Client client("127.0.0.1", service.port());
    client.set_keep_alive(true);
    const auto result = client.Post("/wl/translate", clientBody("快", "ZH_CN", "ZH_CN"), formType);
    ASSERT_TRUE(result) << httplib::to_string(result.error());
    ASSERT_EQ(clientCut(result->body), "快");

    // The connection is kept, so the service still holds its end.
    const std::vector<int> accepted = acceptedSockets(service.port());
    ASSERT_FALSE(accepted.empty());
    for (const int socket : accepted) {
        int noDelay = 0;
        socklen_t length = sizeof noDelay;
        ASSERT_EQ(::getsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &noDelay, &length), 0);
        EXPECT_NE(noDelay, 0) << "socket " << socket;
    }
}

TEST_F(ServiceWithRealEngines, TwentyParallelRequests)
{
    std::vector<std::future<std::string>> answers;
    for (int i = 0; i < 20; ++i) {
        answers.push_back(std::async(std::launch::async, [i] {
            switch (i % 4) {
            case 0: return translate(port(), "I have " + std::to_string(i) + " cats.", "EN", "ES");
            case 1: return translate(port(), "简体中文" + std::to_string(i), "ZH_CN", "ZH_TW");
            case 2: return translate(port(), "Le chat " + std::to_string(i) + ".", "FR", "ES");
            default: return translate(port(), "same " + std::to_string(i), "EN", "EN");
            }
        }));
    }
    for (int i = 0; i < 20; ++i) {
        const std::string text = answers[static_cast<std::size_t>(i)].get();
        EXPECT_NE(text.find(std::to_string(i)), std::string::npos) << i << ": " << text;
        switch (i % 4) {
        case 0: EXPECT_NE(text.find("gatos"), std::string::npos) << text; break;
        case 1: EXPECT_EQ(text, "簡體中文" + std::to_string(i)); break;
        case 2: EXPECT_NE(text.find("gato"), std::string::npos) << text; break;
        default: EXPECT_EQ(text, "same " + std::to_string(i)); break;
        }
    }
}

TEST_F(ServiceWithRealEngines, OneLogLinePerRequest)
{
    translate(port(), "The dog.", "EN", "ES");
    EXPECT_TRUE(test::eventually([] {
        return log().find(" POST /wl/translate EN->ES ") != std::string::npos;
    }));
    const std::string text = log();
    const std::size_t line = text.find(" POST /wl/translate EN->ES ");
    const std::string rest = text.substr(line, text.find('\n', line) - line);
    EXPECT_NE(rest.find("ms 200 ok"), std::string::npos) << rest;
    EXPECT_EQ(text[4], '-');  // starts with the date
}

// Engines that hang, fail or echo, to test what the service does about them.
class ServiceWithFakeEngines : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto hang = dir_.path() / "hang.sh";
        test::writeFile(hang, "#!/bin/sh\nexec " + hungCommand() + "\n", true);
        const auto fail = dir_.path() / "fail.sh";
        test::writeFile(fail, "#!/bin/sh\nexit 3\n", true);
        const auto echo = dir_.path() / "echo.sh";
        test::writeFile(echo, "#!/bin/sh\nexec cat\n", true);
        test::writeFile(dir_.path() / "eng-spa.mode", "'" + hang.string() + "' $1 $2\n");
        test::writeFile(dir_.path() / "es-fr.mode", "'" + fail.string() + "'\n");
        test::writeFile(dir_.path() / "fr-es.mode", "'" + echo.string() + "' | '" +
                                                        echo.string() + "' $1\n");
        TranslatorConfig config;
        config.local.apertiumModes = dir_.path();
        config.timeout = timeout;
        service_ = std::make_unique<test::RunningService>(config);
    }
    void TearDown() override { service_.reset(); }

    // Unique to this test process, so that tests running in parallel do
    // not count each other's hung engines.
    static std::string hungCommand() { return "sleep " + std::to_string(1'000'000 + ::getpid()); }

    static constexpr std::chrono::milliseconds timeout{2000};
    test::TempDir dir_;
    std::unique_ptr<test::RunningService> service_;
};

// Counts running processes whose command line has the given words.
int processesRunning(const std::string& commandLine)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream in(entry.path() / "cmdline", std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::replace(text.begin(), text.end(), '\0', ' ');
        if (text.rfind(commandLine, 0) == 0) {
            ++count;
        }
    }
    return count;
}

TEST_F(ServiceWithFakeEngines, HungEngineAnswersWithinTheTimeoutWhileOthersWork)
{
    const int port = service_->port();
    // The first conversion loads OpenCC's dictionaries, which can take
    // seconds on a busy machine under the sanitizers: not what is timed here.
    translate(port, "简体", "ZH_CN", "ZH_TW");
    const auto start = std::chrono::steady_clock::now();
    auto hung = std::async(std::launch::async, [port] { return translate(port, "Hello", "EN", "ES"); });

    // Other pairs are served while that one hangs. French starts its
    // programs meanwhile: slow on a busy machine, yet done long before the
    // hung engine's timeout.
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(translate(port, "Bonjour", "FR", "ES"), "Bonjour");
    EXPECT_EQ(hung.wait_for(0s), std::future_status::timeout) << "French waited for the hung engine";
    // Once started, both pairs answer at once.
    for (int i = 0; i < 3; ++i) {
        const auto before = std::chrono::steady_clock::now();
        EXPECT_EQ(translate(port, "Bonjour " + std::to_string(i), "FR", "ES"),
                  "Bonjour " + std::to_string(i));
        EXPECT_EQ(translate(port, "简体", "ZH_CN", "ZH_TW"), "簡體");
        EXPECT_LT(std::chrono::steady_clock::now() - before, 800ms);
    }
    EXPECT_EQ(hung.wait_for(0s), std::future_status::timeout);

    EXPECT_EQ(hung.get(),
              "抱歉，翻译引擎响应超时，未能完成从英语到西班牙语的翻译，请稍后再试。");
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, timeout);
    EXPECT_LT(took, timeout + 1500ms);

    // The hung engine was killed, and the next request starts it again.
    EXPECT_TRUE(test::eventually([] { return processesRunning(hungCommand()) == 0; }));
    EXPECT_EQ(translate(port, "Hello", "EN", "ES"),
              "抱歉，翻译引擎响应超时，未能完成从英语到西班牙语的翻译，请稍后再试。");
    EXPECT_TRUE(test::eventually([] { return processesRunning(hungCommand()) == 0; }));
    EXPECT_TRUE(test::eventually([this] {
        const std::string bytes = std::to_string(clientBody("Hello", "EN", "ES").size()) + "B";
        return service_->logText().find("EN->ES " + bytes) != std::string::npos &&
               service_->logText().find(" 200 timed-out") != std::string::npos;
    })) << service_->logText();
}

TEST_F(ServiceWithFakeEngines, RequestsQueuedBehindAHungEngineAlsoEndInTime)
{
    const int port = service_->port();
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::future<std::string>> answers;
    for (int i = 0; i < 3; ++i) {
        answers.push_back(
            std::async(std::launch::async, [port] { return translate(port, "Hi", "EN", "ES"); }));
    }
    for (auto& answer : answers) {
        EXPECT_EQ(answer.get(),
                  "抱歉，翻译引擎响应超时，未能完成从英语到西班牙语的翻译，请稍后再试。");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, timeout + 1500ms);
}

TEST_F(ServiceWithFakeEngines, FailingEngineGetsTheErrorSentence)
{
    const int port = service_->port();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(translate(port, "Hola", "ES", "FR"),
                  "抱歉，翻译引擎出错，未能完成从西班牙语到法语的翻译，请稍后再试。");
    }
    // Only the modes of the directory count: French to English would need spa-eng.
    EXPECT_EQ(translate(port, "Bonjour", "FR", "EN"),
              "抱歉，本地翻译服务暂不支持从法语到英语的翻译。");
}

}  // namespace
}  // namespace orbelin::service
