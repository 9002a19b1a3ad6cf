// orbelin-service: the local translation service the Orbelin client posts to.
#include "Options.h"
#include "Process.h"
#include "TranslationService.h"
#include "Translator.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <thread>
#include <unistd.h>

using namespace orbelin::service;

int main(int argc, char** argv)
{
    std::string error;
    const std::optional<Options> options =
        parseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "orbelin-service: " << error << "\n" << usage();
        return 2;
    }
    if (options->help) {
        std::cout << usage();
        return 0;
    }

    // Blocked before any thread exists, so only sigwait below sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    ignoreBrokenPipes();

    Translator translator(options->translator);
    TranslationService service(translator, stderr);
    const int port = service.bind(options->host, options->port);
    if (port < 0) {
        std::cerr << "orbelin-service: cannot listen on " << options->host << ":" << options->port
                  << "\n";
        return 1;
    }
    std::cout << "orbelin-service listening on " << options->host << ":" << port << std::endl;

    std::atomic<bool> stopping = false;
    std::atomic<bool> failed = false;
    std::atomic<bool> finished = false;
    std::thread server([&] {
        bool ran = false;
        try {
            ran = service.run();
        } catch (const std::exception& e) {
            std::cerr << "orbelin-service: " << e.what() << "\n";
        } catch (...) {
            std::cerr << "orbelin-service: the server loop failed\n";
        }
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
    service.stop();
    // The server waits for requests in progress; a hung engine must not hold it.
    translator.abort();
    server.join();
    return failed ? 1 : 0;
}
