// The command line of orbelin-service.
#pragma once

#include "Translator.h"

#include <optional>
#include <string>
#include <vector>

namespace orbelin::service {

struct Options {
    std::string host = "127.0.0.1";
    int port = 80;
    TranslatorConfig translator;
    bool help = false;
};

struct OptionsError {
    std::string message;
};

// --listen ADDR:PORT ("[::1]:8080" for IPv6; port 0 picks a free one),
// --engine-timeout MS, --apertium-modes DIR, --upstream URL, --upstream-key KEY,
// --upstream-timeout MS, --help.
std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error);

std::string usage();

}  // namespace orbelin::service
