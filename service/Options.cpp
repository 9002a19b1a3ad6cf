#include "Options.h"

#include "UpstreamAddress.h"

#include <algorithm>
#include <charconv>

namespace orbelin::service {

namespace {

constexpr std::size_t maxArgumentBytes = 4096;
constexpr std::size_t maxKeyBytes = 1024;

// What may go into a JSON string and a log line unchanged.
bool isPrintableAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

template <typename Number>
std::optional<Number> parseNumber(std::string_view text, Number low, Number high)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

bool parseListen(std::string_view text, Options& options)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0) {
        return false;
    }
    std::string_view host = text.substr(0, colon);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    const auto port = parseNumber<int>(text.substr(colon + 1), 0, 65535);
    if (!isHostOrAddress(host) || !port) {
        return false;
    }
    options.host = std::string(host);
    options.port = *port;
    return true;
}

}  // namespace

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error)
{
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg != "--listen" && arg != "--engine-timeout" && arg != "--apertium-modes" &&
            arg != "--upstream" && arg != "--upstream-key" && arg != "--upstream-timeout") {
            error = "unknown option: " + arg;
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = arg + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (value.size() > maxArgumentBytes) {
            error = arg + ": longer than " + std::to_string(maxArgumentBytes) + " bytes";
            return std::nullopt;
        }
        if (arg == "--listen") {
            if (!parseListen(value, options)) {
                error = "--listen wants ADDR:PORT (port 0-65535), got: " + value;
                return std::nullopt;
            }
        } else if (arg == "--engine-timeout") {
            const auto ms = parseNumber<long long>(value, 1, 3'600'000);
            if (!ms) {
                error = "--engine-timeout wants milliseconds (1..3600000), got: " + value;
                return std::nullopt;
            }
            options.translator.timeout = std::chrono::milliseconds(*ms);
        } else if (arg == "--upstream") {
            std::string why;
            if (!parseUpstreamUrl(value, &why)) {
                error = "--upstream " + value.substr(0, 200) + ": " + why;
                return std::nullopt;
            }
            options.translator.upstream.url = value;
        } else if (arg == "--upstream-key") {
            if (value.empty() || value.size() > maxKeyBytes || !isPrintableAscii(value)) {
                error = "--upstream-key wants 1 to " + std::to_string(maxKeyBytes) +
                        " printable ASCII characters";
                return std::nullopt;
            }
            options.translator.upstream.apiKey = value;
        } else if (arg == "--upstream-timeout") {
            const auto ms = parseNumber<long long>(value, 1, 3'600'000);
            if (!ms) {
                error = "--upstream-timeout wants milliseconds (1..3600000), got: " + value;
                return std::nullopt;
            }
            options.translator.upstream.timeout = std::chrono::milliseconds(*ms);
        } else {
            options.translator.local.apertiumModes = value;
        }
    }
    if (!options.translator.upstream.apiKey.empty() && options.translator.upstream.url.empty()) {
        error = "--upstream-key needs --upstream";
        return std::nullopt;
    }
    return options;
}

std::string usage()
{
    return "usage: orbelin-service [--listen ADDR:PORT] [--engine-timeout MS] "
           "[--apertium-modes DIR]\n"
           "                      [--upstream URL [--upstream-key KEY] [--upstream-timeout MS]]\n"
           "  --listen ADDR:PORT     address to serve on (default 127.0.0.1:80; port 0 = any)\n"
           "  --engine-timeout MS    longest time one translation may take (default 30000)\n"
           "  --apertium-modes DIR   Apertium mode files (default /usr/share/apertium/modes)\n"
           "  --upstream URL         a self-hosted translation server (POST /translate,\n"
           "                         GET /languages) for the pairs the local engines lack\n"
           "  --upstream-key KEY     its API key\n"
           "  --upstream-timeout MS  longest wait for one of its answers (default: the\n"
           "                         engine timeout, which it never exceeds)\n";
}

}  // namespace orbelin::service
