// The service executable against peers that mean it harm: clients whose
// requests never end, upstream servers whose answers are huge, deep, endless
// or trickle in, and bad arguments. Each case states what the peer must see,
// and a bound on the time it takes and on the service's memory, with room to
// spare: these are limits, not timings.
#include "ResultPage.h"
#include "SlowClients.h"
#include "TestSupport.h"
#include "UpstreamStub.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <future>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>

namespace orbelin::service {
namespace {

using namespace std::chrono_literals;
using test::ServiceProcess;

// Far above what the service holds, far below what it held without limits
// (hundreds of megabytes to gigabytes), even with the sanitizers' own share.
constexpr double memoryBound = 160;

// Sends everything, or as much as a closed connection takes.
bool sendAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A listener on 127.0.0.1 whose every connection gets a peer of the test's
// own, on a thread, until the peer returns or the listener goes.
class RawServer {
public:
    using Peer = std::function<void(int fd, const std::atomic<bool>& stopping)>;

    explicit RawServer(Peer peer) : peer_(std::move(peer))
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(fd_, 64);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            for (int client; (client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
                peers_.emplace_back([this, client] {
                    peer_(client, stopping_);
                    ::close(client);
                });
            }
        });
    }
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;
    ~RawServer()
    {
        stopping_ = true;
        ::shutdown(fd_, SHUT_RDWR);
        thread_.join();
        for (std::thread& peer : peers_) {
            peer.join();
        }
        ::close(fd_);
    }

    int port() const { return port_; }
    std::string url(std::string_view scheme = "http") const
    {
        return std::string(scheme) + "://127.0.0.1:" + std::to_string(port_);
    }

private:
    Peer peer_;
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_ = false;
    std::vector<std::thread> peers_;
    std::thread thread_;
};

// Reads a request head and body (by its length), then answers with
// answer(path); an empty answer is one the peer sends itself.
RawServer::Peer answering(std::function<void(int fd, const std::string& path)> answer)
{
    return [answer = std::move(answer)](int fd, const std::atomic<bool>&) {
        std::string request;
        char bytes[4096];
        std::size_t end = std::string::npos;
        while ((end = request.find("\r\n\r\n")) == std::string::npos) {
            const ssize_t n = ::recv(fd, bytes, sizeof bytes, 0);
            if (n <= 0) {
                return;
            }
            request.append(bytes, static_cast<std::size_t>(n));
        }
        const std::size_t length = request.find("Content-Length: ");
        const std::size_t body = length == std::string::npos ? 0 : std::stoul(request.substr(length + 16));
        while (request.size() < end + 4 + body) {
            const ssize_t n = ::recv(fd, bytes, sizeof bytes, 0);
            if (n <= 0) {
                return;
            }
            request.append(bytes, static_cast<std::size_t>(n));
        }
        const std::size_t path = request.find(' ') + 1;
        answer(fd, request.substr(path, request.find(' ', path) - path));
    };
}

void answerJson(int fd, std::string_view body, std::string_view extraHead = {})
{
    sendAll(fd, "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n" + std::string(extraHead) +
                    "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n");
    sendAll(fd, body);
}

// The list of the client's codes, each with every other as target.
std::string plainList()
{
    return test::UpstreamStub::fullLanguageList();
}

// Sends prefix, then unit again and again until the service ends the
// connection (or 10 s pass); what the service answered.
std::string flood(int port, const std::string& prefix, const std::string& unit)
{
    const int fd = test::connectFrom(port, "127.0.0.1");
    std::string repeated;
    while (repeated.size() < 64 * 1024) {
        repeated += unit;
    }
    sendAll(fd, prefix);
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < end && sendAll(fd, repeated)) {
    }
    std::string answer;
    char bytes[4096];
    for (ssize_t n; (n = ::recv(fd, bytes, sizeof bytes, MSG_DONTWAIT)) > 0;) {
        answer.append(bytes, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return answer.substr(0, answer.find("\r\n"));
}

std::string translateThrough(int port)
{
    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(30, 0);
    const auto result = client.Post("/wl/translate", test::clientBody("Hello", "EN", "DE"),
                                    "application/x-www-form-urlencoded");
    return result ? test::clientCut(result->body) : "no answer: " + httplib::to_string(result.error());
}

constexpr std::string_view badAnswer = "抱歉，上游翻译服务器的回答无法识别，未能完成从英语到德语的翻译。";

struct HostileCase {
    const char* name;
    // What the peer does against a service; returns what it saw. upstream:
    // an upstream server to give the service, or none.
    std::function<std::unique_ptr<RawServer>()> upstream;
    std::function<std::string(int servicePort)> peer;
    std::string_view expected;
    std::chrono::milliseconds within;
};

std::vector<HostileCase> hostileCases()
{
    const auto noUpstream = [] { return std::unique_ptr<RawServer>(); };
    const auto upstreamWith = [](std::function<void(int, const std::string&)> answer) {
        return [answer] { return std::make_unique<RawServer>(answering(answer)); };
    };
    return {
        {"a request line without end", noUpstream,
         [](int port) { return flood(port, "GET /", "a"); }, "HTTP/1.1 414 URI Too Long", 2000ms},
        {"a header line without end", noUpstream,
         [](int port) { return flood(port, "POST /wl/translate HTTP/1.1\r\nX-A: ", "b"); },
         "HTTP/1.1 431 Request Header Fields Too Large", 2000ms},
        {"header lines without end", noUpstream,
         [](int port) { return flood(port, "POST /wl/translate HTTP/1.1\r\n", "X-A: b\r\n"); },
         "HTTP/1.1 431 Request Header Fields Too Large", 2000ms},
        {"a chunk-size line without end", noUpstream,
         [](int port) {
             return flood(port, "POST /wl/translate HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", "1");
         },
         "HTTP/1.1 200 OK", 5000ms},  // the page says the body is incomplete
        {"6000 codes without targets", upstreamWith([](int fd, const std::string& path) {
             if (path == "/languages") {
                 std::string list = R"([{"code":"en"},{"code":"de"})";
                 for (int i = 0; i < 6000; ++i) {
                     list += R"(,{"code":"x)" + std::to_string(i) + R"("})";
                 }
                 answerJson(fd, list + "]");
             } else {
                 answerJson(fd, R"({"translatedText":"Hallo"})");
             }
         }),
         translateThrough, "Hallo", 5000ms},
        {"8 MiB of brackets for a translation", upstreamWith([](int fd, const std::string& path) {
             answerJson(fd, path == "/languages" ? plainList() : std::string(8 << 20, '['));
         }),
         translateThrough, badAnswer, 3000ms},
        {"64 MiB of translation for a word", upstreamWith([](int fd, const std::string& path) {
             answerJson(fd, path == "/languages" ? plainList()
                                                : R"({"translatedText":")" + std::string(64 << 20, 'a') + "\"}");
         }),
         translateThrough, badAnswer, 3000ms},
        {"a list nested a thousand deep", upstreamWith([](int fd, const std::string&) {
             answerJson(fd, std::string(1000, '[') + std::string(1000, ']'));
         }),
         translateThrough, badAnswer, 3000ms},
        {"answer header lines without end", upstreamWith([](int fd, const std::string&) {
             sendAll(fd, "HTTP/1.1 200 OK\r\n");
             for (int i = 0; i < 1'000'000 && sendAll(fd, "X-A: b\r\n"); ++i) {
             }
         }),
         translateThrough, badAnswer, 3000ms},
        {"a chunk without end", upstreamWith([](int fd, const std::string& path) {
             if (path == "/languages") {
                 return answerJson(fd, plainList());
             }
             sendAll(fd, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFF\r\n");
             for (int i = 0; i < 100'000 && sendAll(fd, std::string(1024, 'x')); ++i) {
             }
         }),
         translateThrough, badAnswer, 3000ms},
    };
}

TEST(HostilePeers, EachIsRefusedWithinItsBounds)
{
    for (const HostileCase& c : hostileCases()) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<RawServer> upstream = c.upstream();
        std::vector<std::string> args{"--listen", "127.0.0.1:0"};
        if (upstream) {
            args.insert(args.end(), {"--upstream", upstream->url()});
        }
        ServiceProcess service(args);
        const int port = service.listeningPort();
        ASSERT_GT(port, 0);
        const auto start = std::chrono::steady_clock::now();
        const std::string seen = c.peer(port);
        EXPECT_TRUE(seen == c.expected) << seen.substr(0, 200);  // a failure must not print megabytes
        EXPECT_LT(std::chrono::steady_clock::now() - start, c.within);
        EXPECT_LT(service.peakMegabytes(), memoryBound);
        service.signal(SIGTERM);
        EXPECT_EQ(service.wait(), 0) << "the service did not end well";
    }
}

// A TLS server behind a relay that passes its bytes on one every 50 ms:
// the handshake alone would take most of a minute.
TEST(HostilePeers, ATricklingHandshakeEndsAtTheUpstreamTimeoutAndStopsNothing)
{
    const test::TempDir dir;
    const std::string cert = (dir.path() / "cert.pem").string();
    const std::string key = (dir.path() / "key.pem").string();
    const UniqueFd quiet(::open("/dev/null", O_RDWR | O_CLOEXEC));
    ChildProcess openssl = ChildProcess::spawn(
        {"openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes", "-days",
         "1", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", cert},
        quiet.get(), quiet.get(), 0, quiet.get());
    ASSERT_EQ(openssl.wait(), 0) << "the test needs the openssl program";

    httplib::SSLServer tls(cert.c_str(), key.c_str());
    tls.Get("/languages", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(plainList(), "application/json");
    });
    tls.Post("/translate", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(R"({"translatedText":"Hallo über TLS"})", "application/json");
    });
    const int tlsPort = tls.bind_to_any_port("127.0.0.1");
    std::thread serving([&tls] { tls.listen_after_bind(); });
    const RawServer trickle([tlsPort](int client, const std::atomic<bool>& stopping) {
        const int server = test::connectFrom(tlsPort, "127.0.0.1");
        std::thread toServer([client, server] {
            char bytes[4096];
            for (ssize_t n; (n = ::recv(client, bytes, sizeof bytes, 0)) > 0 && sendAll(server, {bytes, std::size_t(n)});) {
            }
            ::shutdown(server, SHUT_RDWR);
        });
        for (char byte; !stopping && ::recv(server, &byte, 1, 0) == 1 && sendAll(client, {&byte, 1});) {
            std::this_thread::sleep_for(50ms);
        }
        ::shutdown(client, SHUT_RDWR);
        toServer.join();
        ::close(server);
    });

    // Directly, with the certificate trusted, the exchange goes through.
    ::setenv("SSL_CERT_FILE", cert.c_str(), 1);
    {
        ServiceProcess direct({"--listen", "127.0.0.1:0", "--upstream", "https://127.0.0.1:" + std::to_string(tlsPort)});
        EXPECT_EQ(translateThrough(direct.listeningPort()), "Hallo über TLS");
    }
    ::unsetenv("SSL_CERT_FILE");
    {
        ServiceProcess untrusted({"--listen", "127.0.0.1:0", "--upstream", "https://127.0.0.1:" + std::to_string(tlsPort)});
        EXPECT_EQ(translateThrough(untrusted.listeningPort()),
                  "抱歉，无法连接上游翻译服务器，未能完成从英语到德语的翻译，请稍后再试。");
    }

    {
        ServiceProcess timed({"--listen", "127.0.0.1:0", "--upstream", trickle.url("https"),
                              "--upstream-timeout", "1000"});
        const int port = timed.listeningPort();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(translateThrough(port), "抱歉，上游翻译服务器响应超时，未能完成从英语到德语的翻译，请稍后再试。");
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    }

    // Exchanges that would hang for the whole engine deadline end with the service.
    ServiceProcess service({"--listen", "127.0.0.1:0", "--upstream", trickle.url("https")});
    const int port = service.listeningPort();
    std::vector<std::future<std::string>> hanging;
    for (int i = 0; i < 3; ++i) {
        hanging.push_back(std::async(std::launch::async, [port] { return translateThrough(port); }));
    }
    std::this_thread::sleep_for(300ms);
    const auto stop = std::chrono::steady_clock::now();
    service.signal(SIGTERM);
    EXPECT_EQ(service.wait(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - stop, 1000ms);
    tls.stop();
    serving.join();
}

TEST(HostilePeers, ABadArgumentEndsTheStartWithStatusTwo)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--upstream", "http://127.0.0.1:99999999999"},
          {"--upstream", "http://[::1"}, {"--upstream-key", "k"}, {"--engine-timeout", "-5"}}) {
        ServiceProcess service(args);
        const int status = service.wait();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << args.front() << " " << args.back();
    }
}

}  // namespace
}  // namespace orbelin::service
