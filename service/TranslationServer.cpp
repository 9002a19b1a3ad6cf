#include "TranslationServer.h"

#include "ConnectionStream.h"
#include "WorkerPool.h"

#include <sys/socket.h>
#include <unistd.h>

namespace orbelin::service {

TranslationServer::TranslationServer(const ConnectionLimits& limits)
    : limits_(limits), connections_(limits.perClient)
{
    new_task_queue = [threads = limits.threads] { return new WorkerPool(threads); };
    // Also what httplib puts on each accepted socket.
    set_read_timeout(std::chrono::duration_cast<std::chrono::seconds>(limits.readWait));
    set_write_timeout(std::chrono::duration_cast<std::chrono::seconds>(limits.writeWait));
    set_keep_alive_timeout(std::chrono::duration_cast<std::chrono::seconds>(limits.keepAliveWait).count());
    set_keep_alive_max_count(limits.requestsPerConnection);
}

void TranslationServer::widenBacklog() const
{
    // listen() again on a listening socket only changes its backlog.
    ::listen(svr_sock_, SOMAXCONN);
}

bool TranslationServer::process_and_close_socket(socket_t sock)
{
    std::string client;
    int port = 0;
    bool served = false;
    // Responses leave in one piece (see ConnectionStream); without Nagle's
    // delay its last segment also goes out at once, instead of waiting for
    // the client's acknowledgement of the earlier ones.
    sendWithoutDelay(sock);
    if (socketAddress(sock, true, client, port) && connections_.admit(sock, client)) {
        served = serve(sock);
        connections_.remove(sock);
    }
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return served;
}

bool TranslationServer::serve(socket_t sock)
{
    ConnectionStream stream(sock, limits_.readWait, limits_.writeWait,
                            [this] { return svr_sock_ == INVALID_SOCKET; });
    bool answered = false;
    for (std::size_t count = 0; count < limits_.requestsPerConnection; ++count) {
        const auto wait = count == 0 ? limits_.readWait : limits_.keepAliveWait;
        if (!stream.waitForBytes(wait)) {
            break;
        }
        stream.setReadDeadline(ConnectionStream::Clock::now() + limits_.requestArrival);
        const bool last = count + 1 == limits_.requestsPerConnection || svr_sock_ == INVALID_SOCKET;
        bool closed = false;
        answered = process_request(stream, last, closed,
                                   [this, sock](httplib::Request&) { connections_.setWaiting(sock, false); });
        const bool sent = stream.flush();
        connections_.setWaiting(sock, true);
        if (!answered || closed || !sent) {
            break;
        }
    }
    return answered;
}

}  // namespace orbelin::service
