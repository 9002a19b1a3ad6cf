#include "UpstreamClient.h"

#include "HttpResponse.h"
#include "Process.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <memory>
#include <netdb.h>
#include <optional>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace orbelin::service {

namespace {

constexpr std::size_t receiveChunk = 16 * 1024;

enum class Wait { ready, timedOut, stopped, failed };

Wait waitFor(int fd, short events, Deadline deadline, const StopSignal& stop)
{
    for (;;) {
        const int timeout = millisecondsUntil(deadline);
        if (timeout == 0) {
            return Wait::timedOut;
        }
        pollfd fds[2] = {{fd, events, 0}, {stop.fd(), POLLIN, 0}};
        const int n = ::poll(fds, 2, timeout);
        if (n < 0 && errno != EINTR) {
            return Wait::failed;
        }
        if (n > 0 && fds[1].revents != 0) {
            return Wait::stopped;
        }
        if (n > 0) {
            return Wait::ready;  // or an error the next call reports
        }
    }
}

ExchangeStatus statusOf(Wait wait)
{
    switch (wait) {
    case Wait::timedOut: return ExchangeStatus::timedOut;
    case Wait::stopped: return ExchangeStatus::stopped;
    case Wait::ready:
    case Wait::failed: break;
    }
    return ExchangeStatus::closed;
}

struct AddrinfoFree {
    void operator()(addrinfo* list) const { ::freeaddrinfo(list); }
};
using Addresses = std::unique_ptr<addrinfo, AddrinfoFree>;

// A name lookup on a thread of its own, which the exchange leaves behind when
// its deadline comes first: getaddrinfo cannot be interrupted.
struct Lookup {
    std::string host;
    std::string port;
    Addresses result;
    std::atomic<bool> finished = false;
    UniqueFd done{::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)};
};

addrinfo lookupHints(int flags)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags;
    return hints;
}

ExchangeStatus resolve(const UpstreamAddress& address, Deadline deadline, const StopSignal& stop,
                       Addresses& addresses)
{
    const std::string port = std::to_string(address.port);
    const addrinfo numeric = lookupHints(AI_NUMERICHOST | AI_NUMERICSERV);
    addrinfo* list = nullptr;
    if (::getaddrinfo(address.host.c_str(), port.c_str(), &numeric, &list) == 0) {
        addresses.reset(list);
        return ExchangeStatus::done;
    }
    auto lookup = std::make_shared<Lookup>();
    lookup->host = address.host;
    lookup->port = port;
    if (!lookup->done.valid()) {
        return ExchangeStatus::unreachable;
    }
    std::thread([lookup] {
        const addrinfo hints = lookupHints(AI_NUMERICSERV);
        addrinfo* found = nullptr;
        if (::getaddrinfo(lookup->host.c_str(), lookup->port.c_str(), &hints, &found) == 0) {
            lookup->result.reset(found);
        }
        lookup->finished.store(true, std::memory_order_release);
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(lookup->done.get(), &one, sizeof one);
    }).detach();
    const Wait wait = waitFor(lookup->done.get(), POLLIN, deadline, stop);
    if (wait != Wait::ready || !lookup->finished.load(std::memory_order_acquire)) {
        return wait == Wait::ready ? ExchangeStatus::unreachable : statusOf(wait);
    }
    addresses = std::move(lookup->result);
    return addresses ? ExchangeStatus::done : ExchangeStatus::unreachable;
}

SSL_CTX* tlsContext()
{
    // For the life of the process; certificates are checked against the
    // system's authorities (SSL_CERT_FILE and SSL_CERT_DIR may name others).
    static SSL_CTX* const context = [] {
        SSL_CTX* created = SSL_CTX_new(TLS_client_method());
        if (created != nullptr) {
            SSL_CTX_set_min_proto_version(created, TLS1_2_VERSION);
            SSL_CTX_set_default_verify_paths(created);
            SSL_CTX_set_verify(created, SSL_VERIFY_PEER, nullptr);
            SSL_CTX_set_mode(created, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
#ifdef SSL_OP_IGNORE_UNEXPECTED_EOF
            SSL_CTX_set_options(created, SSL_OP_IGNORE_UNEXPECTED_EOF);
#endif
        }
        return created;
    }();
    return context;
}

struct SslFree {
    void operator()(SSL* ssl) const { SSL_free(ssl); }
};

// One connection, its waits bounded by the deadline and the stop signal.
class Connection {
public:
    Connection(Deadline deadline, const StopSignal& stop) : deadline_(deadline), stop_(stop) {}

    ExchangeStatus open(const UpstreamAddress& address)
    {
        Addresses addresses;
        if (const ExchangeStatus found = resolve(address, deadline_, stop_, addresses);
            found != ExchangeStatus::done) {
            return found;
        }
        ExchangeStatus status = ExchangeStatus::unreachable;
        for (const addrinfo* a = addresses.get(); a != nullptr; a = a->ai_next) {
            status = connect(*a);
            if (status != ExchangeStatus::unreachable) {
                break;  // connected, or out of time
            }
        }
        if (status == ExchangeStatus::done && address.tls) {
            status = handshake(address.host);
        }
        return status;
    }

    ExchangeStatus send(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t n = tls_ ? sslWrite(bytes) : plain(::send(fd_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL), POLLOUT);
            if (n > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(n));
            } else if (!pending_.has_value()) {
                return ExchangeStatus::closed;
            } else if (const Wait wait = waitFor(fd_.get(), *pending_, deadline_, stop_); wait != Wait::ready) {
                return statusOf(wait);
            }
        }
        return ExchangeStatus::done;
    }

    // Appends up to receiveChunk bytes; done with some, closed at the end.
    ExchangeStatus receive(std::string& into)
    {
        char buffer[receiveChunk];
        for (;;) {
            const ssize_t n = tls_ ? sslRead(buffer) : plain(::recv(fd_.get(), buffer, sizeof buffer, 0), POLLIN);
            if (n > 0) {
                into.append(buffer, static_cast<std::size_t>(n));
                return ExchangeStatus::done;
            }
            if (n == 0 || !pending_.has_value()) {
                return ExchangeStatus::closed;
            }
            if (const Wait wait = waitFor(fd_.get(), *pending_, deadline_, stop_); wait != Wait::ready) {
                return statusOf(wait);
            }
        }
    }

private:
    ExchangeStatus connect(const addrinfo& address)
    {
        fd_ = UniqueFd(::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                                address.ai_protocol));
        if (!fd_.valid()) {
            return ExchangeStatus::unreachable;
        }
        const int yes = 1;
        ::setsockopt(fd_.get(), IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        if (::connect(fd_.get(), address.ai_addr, address.ai_addrlen) != 0 && errno != EINPROGRESS) {
            return ExchangeStatus::unreachable;
        }
        if (const Wait wait = waitFor(fd_.get(), POLLOUT, deadline_, stop_); wait != Wait::ready) {
            return wait == Wait::failed ? ExchangeStatus::unreachable : statusOf(wait);
        }
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd_.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
            return ExchangeStatus::unreachable;
        }
        return ExchangeStatus::done;
    }

    ExchangeStatus handshake(const std::string& host)
    {
        SSL_CTX* const context = tlsContext();
        tls_.reset(context != nullptr ? SSL_new(context) : nullptr);
        if (!tls_ || SSL_set_fd(tls_.get(), fd_.get()) != 1) {
            return ExchangeStatus::unreachable;
        }
        in6_addr ip{};
        const bool isIp = ::inet_pton(AF_INET, host.c_str(), &ip) == 1 || ::inet_pton(AF_INET6, host.c_str(), &ip) == 1;
        if (isIp) {
            X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(tls_.get()), host.c_str());
        } else {
            SSL_set_tlsext_host_name(tls_.get(), host.c_str());
            SSL_set1_host(tls_.get(), host.c_str());
        }
        for (;;) {
            ERR_clear_error();
            const int result = SSL_connect(tls_.get());
            if (result == 1) {
                return ExchangeStatus::done;
            }
            if (!noteWant(result)) {
                return ExchangeStatus::unreachable;  // no session, or a certificate we cannot trust
            }
            if (const Wait wait = waitFor(fd_.get(), *pending_, deadline_, stop_); wait != Wait::ready) {
                return wait == Wait::failed ? ExchangeStatus::unreachable : statusOf(wait);
            }
        }
    }

    // A plain call's result; when it would block, pending_ says for what.
    ssize_t plain(ssize_t result, short direction)
    {
        if (result < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            pending_ = direction;
        } else {
            pending_.reset();
        }
        return result;
    }

    // Sets pending_ to the wait an unfinished TLS call needs; false for an error.
    bool noteWant(int result)
    {
        switch (SSL_get_error(tls_.get(), result)) {
        case SSL_ERROR_WANT_READ: pending_ = POLLIN; return true;
        case SSL_ERROR_WANT_WRITE: pending_ = POLLOUT; return true;
        default: pending_.reset(); return false;
        }
    }

    ssize_t sslWrite(std::string_view bytes)
    {
        ERR_clear_error();
        const int n = SSL_write(tls_.get(), bytes.data(), static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 20)));
        if (n > 0) {
            return n;
        }
        noteWant(n);
        return -1;
    }

    ssize_t sslRead(char (&buffer)[receiveChunk])
    {
        ERR_clear_error();
        const int n = SSL_read(tls_.get(), buffer, static_cast<int>(sizeof buffer));
        if (n > 0) {
            return n;
        }
        const bool again = noteWant(n);
        return again ? -1 : 0;  // the end of the stream, however it came
    }

    const Deadline deadline_;
    const StopSignal& stop_;
    UniqueFd fd_;
    std::unique_ptr<SSL, SslFree> tls_;  // freed before the socket closes
    // What an unfinished call waits for (a TLS call may need the other
    // direction than its own); empty after a failure.
    std::optional<short> pending_;
};

std::string requestText(const UpstreamAddress& address, const UpstreamRequest& request)
{
    std::string text = request.method + " " + request.path + " HTTP/1.1\r\nHost: " + address.authority() +
                       "\r\nUser-Agent: orbelin-service\r\nAccept: application/json\r\nConnection: close\r\n";
    if (request.method == "POST") {
        text += "Content-Type: application/json\r\nContent-Length: " + std::to_string(request.body.size()) + "\r\n";
    }
    return text + "\r\n" + request.body;
}

// Reads the answer's head (skipping interim 1xx ones), leaving in received
// what came after it.
ExchangeStatus readHead(Connection& connection, std::string& received, ResponseHead& head)
{
    for (;;) {
        const std::size_t end = endOfHead(received);
        if (end == 0) {
            if (received.size() > maxResponseHeadBytes) {
                return ExchangeStatus::badAnswer;
            }
            if (const ExchangeStatus got = connection.receive(received); got != ExchangeStatus::done) {
                return got;
            }
            continue;
        }
        std::optional<ResponseHead> parsed = parseResponseHead(std::string_view(received).substr(0, end));
        if (!parsed || end > maxResponseHeadBytes) {
            return ExchangeStatus::badAnswer;
        }
        received.erase(0, end);
        if (parsed->status >= 200) {
            head = *parsed;
            return ExchangeStatus::done;
        }
    }
}

ExchangeStatus readBody(Connection& connection, const ResponseHead& head, std::size_t limit,
                        std::string received, std::string& body)
{
    if (head.status == 204 || head.status == 304) {
        return ExchangeStatus::done;
    }
    if (head.chunked) {
        ChunkedBody chunks(limit);
        for (;;) {
            switch (chunks.feed(received, body)) {
            case ChunkedBody::State::done: return ExchangeStatus::done;
            case ChunkedBody::State::bad:
            case ChunkedBody::State::tooLarge: return ExchangeStatus::badAnswer;
            case ChunkedBody::State::more: break;
            }
            received.clear();
            if (const ExchangeStatus got = connection.receive(received); got != ExchangeStatus::done) {
                return got;
            }
        }
    }
    if (head.contentLength && *head.contentLength > limit) {
        return ExchangeStatus::badAnswer;
    }
    body = std::move(received);
    for (;;) {
        if (head.contentLength && body.size() >= *head.contentLength) {
            body.resize(static_cast<std::size_t>(*head.contentLength));
            return ExchangeStatus::done;
        }
        if (body.size() > limit) {
            return ExchangeStatus::badAnswer;
        }
        const ExchangeStatus got = connection.receive(body);
        if (got == ExchangeStatus::closed && !head.contentLength) {
            return ExchangeStatus::done;  // the body ends with the connection
        }
        if (got != ExchangeStatus::done) {
            return got;
        }
    }
}

}  // namespace

UpstreamAnswer exchangeWithUpstream(const UpstreamAddress& address, const UpstreamRequest& request,
                                    Deadline deadline, const StopSignal& stop)
{
    UpstreamAnswer answer;
    Connection connection(deadline, stop);
    answer.status = connection.open(address);
    if (answer.status == ExchangeStatus::done) {
        answer.status = connection.send(requestText(address, request));
    }
    std::string received;
    ResponseHead head;
    if (answer.status == ExchangeStatus::done) {
        answer.status = readHead(connection, received, head);
    }
    if (answer.status == ExchangeStatus::done) {
        answer.httpStatus = head.status;
        answer.status = readBody(connection, head, request.answerLimit, std::move(received), answer.body);
    }
    if (answer.status != ExchangeStatus::done) {
        answer.body.clear();
    }
    return answer;
}

}  // namespace orbelin::service
