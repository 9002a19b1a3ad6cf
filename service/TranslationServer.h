// httplib's server with the connection handling of this service: threads
// started as connections need them, time-outs for reading, writing and
// keeping a connection, a deadline for each request to arrive, limits on
// its head and body, and a bound on the connections one client holds.
#pragma once

#include "ClientConnections.h"
#include "RequestHead.h"
#include "TranslateRequest.h"

#include <httplib.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace orbelin::service {

class ConnectionStream;

struct ConnectionLimits {
    std::chrono::milliseconds readWait{5000};       // for the next bytes of a request
    std::chrono::milliseconds writeWait{5000};      // to write more of a response
    std::chrono::milliseconds keepAliveWait{5000};  // for the next request on a kept connection
    std::chrono::milliseconds requestArrival{10000};  // for a whole request, head and body
    HeadLimits head;
    std::size_t body = maxBodyBytes;
    std::size_t requestsPerConnection = 100;
    std::size_t perClient = 64;
    std::size_t threads = 128;
};

class TranslationServer : public httplib::Server {
public:
    explicit TranslationServer(const ConnectionLimits& limits);

    // httplib listens with a backlog of 5; a burst of connections beyond that
    // waits for the client's SYN retry (a second) or fails.
    void widenBacklog() const;

    const ClientConnections& connections() const { return connections_; }

    // The page that refuses a request whose head broke a limit or did not
    // arrive in time (status 414, 431 or 408); also where it is logged.
    void setRefusalPage(std::function<std::string(int status)> page) { refusalPage_ = std::move(page); }

private:
    bool process_and_close_socket(socket_t sock) override;
    bool serve(socket_t sock);
    void refuse(ConnectionStream& stream, int status) const;

    const ConnectionLimits limits_;
    ClientConnections connections_;
    std::function<std::string(int status)> refusalPage_;
};

}  // namespace orbelin::service
