// upstream-stub PORT: the scripted upstream translation server in normal
// mode, until SIGTERM or SIGINT.
#include "UpstreamStub.h"

#include <csignal>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: upstream-stub PORT\n";
        return 2;
    }
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    orbelin::service::test::UpstreamStub stub(std::stoi(argv[1]));
    std::cout << "upstream-stub listening on 127.0.0.1:" << stub.port() << std::endl;
    int signal = 0;
    sigwait(&stopSignals, &signal);
    return 0;
}
