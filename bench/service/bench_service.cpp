// Round trip of a one-sentence English -> Spanish translation through
// orbelin-service over loopback, with warm engines; prints the median.
//
// bench_service [--port PORT] [--rounds N] [--slow-clients N]
// Without --port it starts its own orbelin-service on a free port. With
// --slow-clients, that many connections send a request head one byte every
// three seconds while the round trips run; each must then end within a second.
#include "Process.h"
#include "SlowClients.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace orbelin::service;
using Clock = std::chrono::steady_clock;

namespace {

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

    const std::string sentence = "Hello, how are you today?";
    const std::string body = "wl_url=&wl_text=" + hexEncode(sentence) +
                             "&wl_glossary=gl1&wl_srclang=EN&wl_trglang=ES&wl_ucp=1";

    // One connection per request, as the client makes it.
    int failed = 0;
    double slowestFailure = 0;
    const auto roundTrip = [&]() -> std::optional<double> {
        httplib::Client client("127.0.0.1", port);
        client.set_read_timeout(60, 0);
        const auto start = Clock::now();
        const auto result = client.Post("/wl/translate", body, "application/x-www-form-urlencoded");
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (!result || result->status != 200) {
            ++failed;
            slowestFailure = std::max(slowestFailure, ms);
            return std::nullopt;
        }
        return ms;
    };

    for (int i = 0; i < 5; ++i) {  // warms the pipeline
        if (!roundTrip()) {
            std::fprintf(stderr, "bench_service: request failed\n");
            return 1;
        }
    }
    failed = 0;
    std::optional<orbelin::service::test::SlowClients> slow;
    if (slowClients > 0) {
        slow.emplace(port, slowClients, std::chrono::seconds(3));
        while (slow->sent() < slow->connected()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        if (const auto ms = roundTrip()) {
            times.push_back(*ms);
        }
    }
    const int slowConnected = slow ? slow->connected() : 0;
    slow.reset();
    if (service) {
        ::kill(service->pid(), SIGTERM);
        service->wait();
    }
    if (failed > 0) {
        std::fprintf(stderr, "bench_service: %d of %d requests failed (the slowest after %.0f ms)\n", failed,
                     rounds, slowestFailure);
    }
    if (times.empty()) {
        std::fprintf(stderr, "bench_service: every request failed\n");
        return 1;
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    if (slowClients > 0) {
        std::printf("EN->ES one sentence beside %d slow clients, %zu round trips: median %.2f ms, "
                    "max %.2f ms (target: each <= 1000 ms)\n",
                    slowConnected, times.size(), median, times.back());
        return failed == 0 && times.back() <= 1000.0 ? 0 : 1;
    }
    std::printf("EN->ES one sentence, %zu round trips over loopback: median %.2f ms, "
                "min %.2f ms, p90 %.2f ms, max %.2f ms (target <= 50 ms)\n",
                times.size(), median, times.front(), times[times.size() * 9 / 10], times.back());
    return median <= 50.0 ? 0 : 1;
}
