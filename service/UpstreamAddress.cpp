#include "UpstreamAddress.h"

#include <arpa/inet.h>
#include <charconv>
#include <netinet/in.h>

namespace orbelin::service {

namespace {

bool isHostName(std::string_view host)
{
    if (host.empty() || host.size() > 253) {
        return false;
    }
    std::size_t label = 0;
    for (const char c : host) {
        if (c == '.') {
            if (label == 0) {
                return false;
            }
            label = 0;
            continue;
        }
        const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if ((!letterOrDigit && c != '-') || ++label > 63) {
            return false;
        }
    }
    return true;
}

bool isIpv6(std::string_view host)
{
    in6_addr address{};
    return host.size() < INET6_ADDRSTRLEN && ::inet_pton(AF_INET6, std::string(host).c_str(), &address) == 1;
}

std::optional<UpstreamAddress> refuse(std::string* why, std::string reason)
{
    if (why != nullptr) {
        *why = std::move(reason);
    }
    return std::nullopt;
}

}  // namespace

bool isHostOrAddress(std::string_view host)
{
    return isHostName(host) || isIpv6(host);
}

std::string UpstreamAddress::authority() const
{
    std::string text;
    if (host.find(':') == std::string::npos) {
        text = host;
    } else {
        text.append("[").append(host).append("]");
    }
    if (port != (tls ? 443 : 80)) {
        text.append(":").append(std::to_string(port));
    }
    return text;
}

std::optional<UpstreamAddress> parseUpstreamUrl(std::string_view url, std::string* why)
{
    if (url.size() > maxUpstreamUrlBytes) {
        return refuse(why, "longer than " + std::to_string(maxUpstreamUrlBytes) + " bytes");
    }
    UpstreamAddress address;
    std::string_view rest;
    if (url.starts_with("http://")) {
        rest = url.substr(7);
    } else if (url.starts_with("https://")) {
        rest = url.substr(8);
        address.tls = true;
        address.port = 443;
    } else {
        return refuse(why, "not an http:// or https:// URL");
    }
    for (const char c : rest) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || c == '?' || c == '#' || c == '@') {
            return refuse(why, "only a host, a port and a path may follow the scheme");
        }
    }
    const std::size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    std::string_view path = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash);
    while (path.ends_with('/')) {
        path.remove_suffix(1);
    }
    address.basePath = std::string(path);

    std::string_view host = authority;
    std::string_view port;
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) {
            return refuse(why, "an IPv6 address without its closing bracket");
        }
        host = authority.substr(1, close - 1);
        const std::string_view after = authority.substr(close + 1);
        if (!after.empty() && !after.starts_with(':')) {
            return refuse(why, "a bad host");
        }
        port = after.empty() ? after : after.substr(1);
        if (!isIpv6(host)) {
            return refuse(why, "a bad IPv6 address");
        }
        if (after == ":") {
            return refuse(why, "a colon without a port");
        }
    } else {
        const std::size_t colon = authority.find(':');
        if (colon != std::string_view::npos) {
            host = authority.substr(0, colon);
            port = authority.substr(colon + 1);
            if (port.empty()) {
                return refuse(why, "a colon without a port");
            }
        }
        if (!isHostName(host)) {
            return refuse(why, "no host, or a host that is not a name or an IPv4 address");
        }
    }
    address.host = std::string(host);
    if (!port.empty()) {
        int number = 0;
        const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
        if (error != std::errc() || end != port.data() + port.size() || number < 1 || number > 65535) {
            return refuse(why, "port " + std::string(port.substr(0, 20)) + " is not 1-65535");
        }
        address.port = number;
    }
    return address;
}

}  // namespace orbelin::service
