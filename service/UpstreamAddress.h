// Where the upstream translation server is: its URL, checked once at start.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orbelin::service {

struct UpstreamAddress {
    bool tls = false;      // https
    std::string host;      // a name, an IPv4 address, or an IPv6 address without brackets
    int port = 80;         // 1..65535
    std::string basePath;  // "" or "/path" (no slash at the end)

    // The Host header's value: the host, bracketed when IPv6, and the port
    // when it is not the scheme's own.
    std::string authority() const;
};

inline constexpr std::size_t maxUpstreamUrlBytes = 2048;

// A DNS name (letters, digits, '-' and '.', labels of 1..63), an IPv4
// address, or an IPv6 address (without brackets).
bool isHostOrAddress(std::string_view host);

// http://host[:port][/path] or https://...; the host a DNS name (letters,
// digits, '-' and '.'), an IPv4 address or a bracketed IPv6 address, the
// port 1..65535. Empty for anything else (a query, a fragment, a user,
// blanks, more than maxUpstreamUrlBytes), with the reason in why.
std::optional<UpstreamAddress> parseUpstreamUrl(std::string_view url, std::string* why = nullptr);

}  // namespace orbelin::service
