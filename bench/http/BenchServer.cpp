// A loopback HTTP server for the client benchmarks: 127.0.0.1 only, one thread
// per connection, bodies generated on the fly.
//   /len/N      N bytes with Content-Length
//   /chunked/N  N bytes in 64 KiB chunks
//   /close/N    N bytes, then the server closes (no length)
//   anything else: a 16-byte body with Content-Length, kept alive

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

constexpr size_t kChunk = 65536;

bool SendAll(int s, const char* data, size_t n)
{
    while (n > 0) {
        const ssize_t k = send(s, data, n, MSG_NOSIGNAL);
        if (k <= 0)
            return false;
        data += k;
        n -= static_cast<size_t>(k);
    }
    return true;
}

bool SendText(int s, const std::string& text) { return SendAll(s, text.data(), text.size()); }

bool SendBody(int s, unsigned long long n, bool chunked)
{
    static const std::string block(kChunk, 'x');
    while (n > 0) {
        const size_t k = n < kChunk ? static_cast<size_t>(n) : kChunk;
        if (chunked) {
            char size[32];
            std::snprintf(size, sizeof size, "%zx\r\n", k);
            if (!SendText(s, size))
                return false;
        }
        if (!SendAll(s, block.data(), k) || (chunked && !SendText(s, "\r\n")))
            return false;
        n -= k;
    }
    return !chunked || SendText(s, "0\r\n\r\n");
}

// Answers one request; false when the connection ends.
bool Answer(int s, const std::string& target)
{
    const auto sizeAfter = [&](const char* prefix) { return std::strtoull(target.c_str() + std::strlen(prefix), nullptr, 10); };
    if (target.rfind("/len/", 0) == 0) {
        const unsigned long long n = sizeAfter("/len/");
        return SendText(s, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(n) + "\r\n\r\n") && SendBody(s, n, false);
    }
    if (target.rfind("/chunked/", 0) == 0)
        return SendText(s, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n") && SendBody(s, sizeAfter("/chunked/"), true);
    if (target.rfind("/close/", 0) == 0) {
        SendText(s, "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n") && SendBody(s, sizeAfter("/close/"), false);
        return false;
    }
    return SendText(s, "HTTP/1.1 200 OK\r\nContent-Length: 16\r\nContent-Type: text/plain\r\n\r\n0123456789abcdef");
}

void Serve(int s)
{
    const int one = 1;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    std::string pending;
    char buffer[16384];
    for (;;) {
        size_t end;
        while ((end = pending.find("\r\n\r\n")) == std::string::npos) {
            const ssize_t k = recv(s, buffer, sizeof buffer, 0);
            if (k <= 0) {
                close(s);
                return;
            }
            pending.append(buffer, static_cast<size_t>(k));
        }
        const size_t blank = pending.find(' ');
        const std::string target = pending.substr(blank + 1, pending.find(' ', blank + 1) - blank - 1);
        pending.erase(0, end + 4);
        if (!Answer(s, target))
            break;
    }
    shutdown(s, SHUT_WR);
    close(s);
}

} // namespace

int main()
{
    std::signal(SIGPIPE, SIG_IGN);
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 64) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::perror("bench server");
        return 1;
    }
    std::printf("%d\n", ntohs(address.sin_port));
    std::fflush(stdout);
    for (;;) {
        const int s = accept(listener, nullptr, nullptr);
        if (s >= 0)
            std::thread(Serve, s).detach();
    }
}
