// nethttp: a command-line HTTP client on the program's own network stack, for
// checking that a translation service answers.

#include "tools/nethttp/NetHTTPCommand.h"

#include <cstdio>
#include <iostream>
#include <stdexcept>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv)
{
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY); // bodies are bytes, not text
#endif
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    orbelin::TNetHTTPCommand command;
    try {
        command = orbelin::ParseCommandLine(args);
    } catch (const std::invalid_argument& e) {
        std::cerr << "nethttp: " << e.what() << "\n" << orbelin::kUsage;
        return orbelin::kExitUsage;
    }
    return orbelin::RunCommand(command, std::cout, std::cerr);
}
