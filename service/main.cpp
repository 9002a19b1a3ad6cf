// orbelin-service: the local translation service the Orbelin client posts to.
#include "Guarded.h"
#include "Options.h"
#include "Process.h"
#include "TranslationService.h"
#include "Translator.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <exception>
#include <iostream>
#include <malloc.h>
#include <memory>
#include <thread>
#include <unistd.h>

using namespace orbelin::service;

namespace {

// Serves until SIGTERM or SIGINT; the exit status.
int serve(const Options& options, const sigset_t& stopSignals)
{
    Translator translator(options.translator);
    TranslationService service(translator, stderr);
    const int port = service.bind(options.host, options.port);
    if (port < 0) {
        std::cerr << "orbelin-service: cannot listen on " << options.host << ":" << options.port << "\n";
        return 1;
    }
    std::cout << "orbelin-service listening on " << options.host << ":" << port << std::endl;

    std::atomic<bool> stopping = false;
    std::atomic<bool> failed = false;
    std::atomic<bool> finished = false;
    std::thread server([&] {
        bool ran = false;
        runGuarded("the server loop", [&] { ran = service.run(); });
        if (!ran && !stopping) {
            failed = true;
        }
        finished = true;
        if (!stopping) {
            ::kill(::getpid(), SIGTERM);  // wakes the sigwait below
        }
    });

    int signal = 0;
    sigwait(&stopSignals, &signal);
    stopping = true;
    // A stop that comes before the server loop has started is not seen by it.
    while (!finished && !service.running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // The listening socket goes first, then every wait of a request in
    // progress ends, so that the server's wait for its workers is short.
    service.stop();
    translator.abort();
    server.join();
    return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string error;
    const std::optional<Options> options =
        parseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "orbelin-service: " << error << " (see orbelin-service --help)\n";
        return 2;
    }
    if (options->help) {
        std::cout << usage();
        return 0;
    }

#ifdef M_ARENA_MAX
    // glibc gives each thread that allocates at once an arena of its own;
    // with a worker per connection, the leftovers of every arena made the
    // resident size creep up under a steady load.
    mallopt(M_ARENA_MAX, 2);
#endif
    // Blocked before any thread exists, so only sigwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    ignoreBrokenPipes();

    int status = 1;
    if (!runGuarded("cannot start", [&] { status = serve(*options, stopSignals); })) {
        return 1;
    }
    return status;
}
