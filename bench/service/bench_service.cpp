// English -> Spanish through orbelin-service over loopback, against the
// Apertium engine alone (the same mode, kept warm in this process):
//   - one sentence on a new connection per request and on one kept-alive
//     connection, and the engine's own time for it;
//   - 400 different sentences from 16 concurrent kept-alive clients, against
//     the engine translating all of them in one batch;
//   - a 10 KB text, against the engine's time for it.
//
// bench_service [--port PORT] [--rounds N] [--slow-clients N]
// Without --port it starts its own orbelin-service on a free port. With
// --slow-clients, that many connections send a request head one byte every
// three seconds while round trips run; each must then end within a second.
#include "ApertiumModes.h"
#include "ApertiumPipeline.h"
#include "ApertiumText.h"
#include "Process.h"
#include "SlowClients.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace orbelin::service;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int clientCount = 16;
constexpr int sentenceCount = 400;
constexpr std::size_t longTextBytes = 10 * 1024;
constexpr auto engineDeadline = std::chrono::seconds(120);

std::string hexEncode(std::string_view bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        encoded += '%';
        encoded += digits[byte >> 4];
        encoded += digits[byte & 0x0F];
    }
    return encoded;
}

std::string requestBody(std::string_view text)
{
    return "wl_url=&wl_text=" + hexEncode(text) + "&wl_glossary=gl1&wl_srclang=EN&wl_trglang=ES&wl_ucp=1";
}

// Sentences of about 50 to 65 bytes, all different.
std::vector<std::string> englishSentences(int count)
{
    static constexpr const char* subjects[] = {
        "The old teacher", "My younger sister", "The small dog", "Our new neighbour",
        "The tired doctor", "His best friend", "The young farmer", "Your grandmother",
        "The quiet student", "Their little boy"};
    static constexpr const char* verbs[] = {"reads", "buys", "finds", "wants",
                                            "sees", "writes", "carries", "likes"};
    static constexpr const char* objects[] = {"a long letter", "the red book", "some fresh bread",
                                              "a beautiful house", "the green car"};
    static constexpr const char* tails[] = {"every morning.", "in the garden.", "after school.",
                                            "near the river.", "on Sunday.", "before dinner."};
    std::vector<std::string> sentences;
    for (int i = 0; i < count; ++i) {
        sentences.push_back(std::string(subjects[i % 10]) + " " + verbs[(i / 10) % 8] + " " +
                            objects[(i / 80) % 5] + " " + tails[(i * 7) % 6]);
    }
    return sentences;
}

// Sentences run on in paragraphs of eight until the text holds bytes.
std::string longText(const std::vector<std::string>& sentences, std::size_t bytes)
{
    std::string text;
    for (std::size_t i = 0; text.size() < bytes; ++i) {
        text += sentences[i % sentences.size()];
        text += i % 8 == 7 ? "\n" : " ";
    }
    return text;
}

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Reads the "listening on HOST:PORT" line of a freshly started service.
int readPort(int fd)
{
    std::string line;
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < end) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 100) <= 0) {
            continue;
        }
        char c = 0;
        if (::read(fd, &c, 1) != 1) {
            break;
        }
        if (c == '\n') {
            const std::size_t colon = line.rfind(':');
            return colon == std::string::npos ? -1 : std::stoi(line.substr(colon + 1));
        }
        line += c;
    }
    return -1;
}

// The engine alone: the service's English -> Spanish mode, warm, in this process.
class Engine {
public:
    explicit Engine(const std::filesystem::path& modeFile) : pipeline_(modeFile) {}

    // Plain text to plain text, as the service's engine does it.
    std::optional<std::string> translate(std::string_view text)
    {
        const IoResult translated = exchange(deformatText(text));
        if (translated.status != IoStatus::done) {
            return std::nullopt;
        }
        return reformatText(translated.output);
    }

    // Only the warm programs' part: one exchange of text already deformatted.
    std::optional<double> exchangeMilliseconds(std::string_view deformatted)
    {
        const auto start = Clock::now();
        const IoResult result = exchange(std::string(deformatted));
        return result.status == IoStatus::done ? std::optional(millisecondsSince(start)) : std::nullopt;
    }

private:
    // The text as one piece.
    IoResult exchange(const std::string& deformatted)
    {
        PiecesResult result = pipeline_.translate(std::span(&deformatted, 1), Clock::now() + engineDeadline);
        return {result.status, result.answers.empty() ? std::string() : std::move(result.answers.front())};
    }

    ApertiumPipeline pipeline_;
};

class ServiceClient {
public:
    // keepAlive: one connection for every request; otherwise one each.
    ServiceClient(int port, bool keepAlive) : port_(port), keepAlive_(keepAlive)
    {
        if (keepAlive_) {
            kept_.emplace("127.0.0.1", port_);
            configure(*kept_);
        }
    }

    // The round trip in milliseconds, or nothing when it failed.
    std::optional<double> translate(std::string_view text)
    {
        const std::string body = requestBody(text);
        const auto start = Clock::now();
        const auto post = [&body](httplib::Client& client) {
            return client.Post("/wl/translate", body, "application/x-www-form-urlencoded");
        };
        const httplib::Result result = [&] {
            if (keepAlive_) {
                return post(*kept_);
            }
            httplib::Client once("127.0.0.1", port_);
            configure(once);
            return post(once);
        }();
        const double ms = millisecondsSince(start);
        if (!result || result->status != 200 || result->body.find("</textarea>") == std::string::npos) {
            return std::nullopt;
        }
        return ms;
    }

private:
    void configure(httplib::Client& client) const
    {
        client.set_read_timeout(60, 0);
        client.set_keep_alive(keepAlive_);
        client.set_tcp_nodelay(false);  // as most clients leave it
    }

    const int port_;
    const bool keepAlive_;
    std::optional<httplib::Client> kept_;
};

// Sentences per second when that many threads share the sentences, each
// with its own translate(sentence) -> bool; nothing when one failed.
template <typename MakeTranslate>
std::optional<double> concurrentRate(const std::vector<std::string>& sentences, int threads,
                                     const MakeTranslate& makeTranslate)
{
    std::atomic<std::size_t> next = 0;
    std::atomic<bool> failed = false;
    std::vector<std::thread> running;
    const auto start = Clock::now();
    for (int t = 0; t < threads; ++t) {
        running.emplace_back([&] {
            auto translate = makeTranslate();
            for (std::size_t i = next++; i < sentences.size() && !failed; i = next++) {
                if (!translate(sentences[i])) {
                    failed = true;
                }
            }
        });
    }
    for (std::thread& thread : running) {
        thread.join();
    }
    const double seconds = millisecondsSince(start) / 1000.0;
    return failed ? std::nullopt : std::optional(static_cast<double>(sentences.size()) / seconds);
}

// Clients on kept-alive connections.
std::optional<double> serviceThroughput(int port, const std::vector<std::string>& sentences, int clients)
{
    return concurrentRate(sentences, clients, [port] {
        return [client = std::make_shared<ServiceClient>(port, true)](const std::string& sentence) {
            return client->translate(sentence).has_value();
        };
    });
}

int slowClientsRun(int port, int slowClients, int rounds, std::string_view sentence)
{
    orbelin::service::test::SlowClients slow(port, slowClients, std::chrono::seconds(3));
    while (slow.sent() < slow.connected()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ServiceClient client(port, false);
    std::vector<double> times;
    int failed = 0;
    for (int i = 0; i < rounds; ++i) {
        if (const auto ms = client.translate(sentence)) {
            times.push_back(*ms);
        } else {
            ++failed;
        }
    }
    if (times.empty()) {
        std::fprintf(stderr, "bench_service: every request failed\n");
        return 1;
    }
    const double slowest = *std::max_element(times.begin(), times.end());
    std::printf("EN->ES one sentence beside %d slow clients, %zu round trips: median %.2f ms, "
                "max %.2f ms, %d failed (target: each <= 1000 ms)\n",
                slow.connected(), times.size(), median(times), slowest, failed);
    return failed == 0 && slowest <= 1000.0 ? 0 : 1;
}

// The machine's load averages over 1, 5 and 15 minutes.
std::string loadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

const char* verdict(bool met)
{
    return met ? "met" : "MISSED";
}

}  // namespace

int main(int argc, char** argv)
{
    int port = 0;
    int rounds = 200;
    int slowClients = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--port") {
            port = std::stoi(argv[i + 1]);
        } else if (option == "--rounds") {
            rounds = std::max(1, std::stoi(argv[i + 1]));
        } else if (option == "--slow-clients") {
            slowClients = std::max(0, std::stoi(argv[i + 1]));
        }
    }

    std::optional<ChildProcess> service;
    UniqueFd serviceOutput;
    if (port == 0) {
        Pipe out = Pipe::create();
        // Its log lines would drown the result.
        const UniqueFd devNull(::open("/dev/null", O_WRONLY | O_CLOEXEC));
        service.emplace(ChildProcess::spawn(
            {ORBELIN_SERVICE_EXECUTABLE, "--listen", "127.0.0.1:0"}, STDIN_FILENO,
            out.writeEnd.get(), 0, devNull.get()));
        serviceOutput = std::move(out.readEnd);
        port = readPort(serviceOutput.get());
        if (port <= 0) {
            std::fprintf(stderr, "bench_service: the service did not start\n");
            return 1;
        }
    }
    const auto stopService = [&service] {
        if (service) {
            ::kill(service->pid(), SIGTERM);
            service->wait();
            service.reset();
        }
    };
    const auto fail = [&stopService](const char* what) {
        std::fprintf(stderr, "bench_service: %s\n", what);
        stopService();
        return 1;
    };

    const std::string sentence = "The old teacher reads a long letter in the garden every day.";
    const std::vector<std::string> sentences = englishSentences(sentenceCount);
    const std::string text = longText(sentences, longTextBytes);

    // Warms the service's pipeline, and every sentence once.
    if (!serviceThroughput(port, sentences, clientCount)) {
        return fail("a request to the service failed");
    }
    if (slowClients > 0) {
        const int status = slowClientsRun(port, slowClients, rounds, sentence);
        stopService();
        return status;
    }

    const auto modeFile = ModeCatalog::scan("/usr/share/apertium/modes").direct(Language::en, Language::es);
    if (!modeFile) {
        return fail("no English -> Spanish Apertium mode");
    }
    Engine engine(*modeFile);
    std::string batch;
    for (const std::string& s : sentences) {
        batch += s + "\n";
    }
    const std::string deformatted = deformatText(sentence);
    if (!engine.translate(batch)) {
        return fail("the engine failed");
    }
    const auto engineTime = [&engine](const std::string& input) -> std::optional<double> {
        const auto start = Clock::now();
        return engine.translate(input) ? std::optional(millisecondsSince(start)) : std::nullopt;
    };
    // Engine and service take turns, so that both meet the same load of a
    // shared machine.
    std::vector<double> engineTimes;
    std::vector<double> freshTimes;
    std::vector<double> keptTimes;
    ServiceClient freshClient(port, false);
    ServiceClient keptClient(port, true);
    for (int i = 0; i < rounds; ++i) {
        const auto engineMs = engine.exchangeMilliseconds(deformatted);
        const auto freshMs = freshClient.translate(sentence);
        const auto keptMs = keptClient.translate(sentence);
        if (!engineMs || !freshMs || !keptMs) {
            return fail("a request failed");
        }
        engineTimes.push_back(*engineMs);
        freshTimes.push_back(*freshMs);
        keptTimes.push_back(*keptMs);
    }
    std::optional<double> engineBatch;
    std::optional<double> engineStreamed;
    std::optional<double> serviceRate;
    std::optional<double> engineLong;
    std::optional<double> serviceLong;
    for (int run = 0; run < 3; ++run) {
        const auto batchMs = engineTime(batch);
        const auto rate = serviceThroughput(port, sentences, clientCount);
        const auto streamed = concurrentRate(sentences, clientCount, [&engine] {
            return [&engine](const std::string& sentence) { return engine.translate(sentence).has_value(); };
        });
        const auto longMs = engineTime(text);
        const auto serviceLongMs = keptClient.translate(text);
        if (!batchMs || !rate || !streamed || !longMs || !serviceLongMs) {
            return fail("a request failed");
        }
        engineBatch = std::min(engineBatch.value_or(*batchMs), *batchMs);
        serviceRate = std::max(serviceRate.value_or(*rate), *rate);
        engineStreamed = std::max(engineStreamed.value_or(*streamed), *streamed);
        engineLong = std::min(engineLong.value_or(*longMs), *longMs);
        serviceLong = std::min(serviceLong.value_or(*serviceLongMs), *serviceLongMs);
    }
    const auto oneClientRate = serviceThroughput(port, sentences, 1);
    stopService();
    if (!oneClientRate) {
        std::fprintf(stderr, "bench_service: a request to the service failed\n");
        return 1;
    }

    const double engineSentence = median(engineTimes);
    const double fresh = median(freshTimes);
    const double kept = median(keptTimes);
    const double engineRate = sentenceCount / (*engineBatch / 1000.0);
    const bool noStall = kept <= fresh;
    const double ratio = *serviceRate / engineRate;
    const double overhead = kept - engineSentence;
    std::printf("EN->ES through orbelin-service on 127.0.0.1; the engine is the same Apertium mode, warm, "
                "in this process (load average %s).\n", loadAverage().c_str());
    std::printf("One sentence (%zu bytes), median of %d round trips:\n", sentence.size(), rounds);
    std::printf("  new connection per request   %8.2f ms\n", fresh);
    std::printf("  one kept-alive connection    %8.2f ms   kept-alive / new = %.2f (target <= 1: %s)\n",
                kept, kept / fresh, verdict(noStall));
    std::printf("  engine alone                 %8.2f ms   engine share of kept-alive = %.0f %%, "
                "the rest %.2f ms (target < 2 ms: %s)\n",
                engineSentence, 100.0 * engineSentence / kept, overhead, verdict(overhead < 2.0));
    std::printf("%d different sentences, best of 3:\n", sentenceCount);
    std::printf("  engine, one batch            %8.1f sentences/s (%.0f ms)\n", engineRate, *engineBatch);
    std::printf("  service, %d kept-alive clients %6.1f sentences/s   service / engine = %.2f "
                "(target >= 0.5: %s)\n",
                clientCount, *serviceRate, ratio, verdict(ratio >= 0.5));
    std::printf("  service, 1 kept-alive client %8.1f sentences/s\n", *oneClientRate);
    std::printf("  engine, %d threads in turn  %8.1f sentences/s   service / engine = %.2f\n", clientCount,
                *engineStreamed, *serviceRate / *engineStreamed);
    std::printf("A %zu-byte text, best of 3:\n", text.size());
    std::printf("  engine                       %8.1f ms\n", *engineLong);
    std::printf("  service                      %8.1f ms   service / engine = %.2f\n", *serviceLong,
                *serviceLong / *engineLong);
    return noStall && ratio >= 0.5 && overhead < 2.0 ? 0 : 1;
}
