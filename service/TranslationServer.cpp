#include "TranslationServer.h"

#include "ConnectionStream.h"
#include "WorkerPool.h"

#include <string>
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
        const HeadVerdict head = stream.readHead(limits_.head);
        if (head != HeadVerdict::complete) {
            if (head != HeadVerdict::incomplete || svr_sock_ != INVALID_SOCKET) {
                refuse(stream, head == HeadVerdict::incomplete ? 408 : statusFor(head));
            }
            break;
        }
        // A chunked body's framing comes on top of the body's own bytes.
        constexpr std::size_t framing = 64 * 1024;
        stream.setReadBudget(stream.bufferedBytes() + limits_.body + framing);
        const bool last = count + 1 == limits_.requestsPerConnection || svr_sock_ == INVALID_SOCKET;
        bool closed = false;
        answered = process_request(stream, last, closed,
                                   [this, sock](httplib::Request&) { connections_.setWaiting(sock, false); });
        const bool sent = stream.flush();
        stream.setReadBudget(SIZE_MAX);
        connections_.setWaiting(sock, true);
        if (!answered || closed || !sent) {
            break;
        }
    }
    return answered;
}

void TranslationServer::refuse(ConnectionStream& stream, int status) const
{
    const std::string page = refusalPage_ ? refusalPage_(status) : std::string();
    const std::string head = "HTTP/1.1 " + std::to_string(status) + " " + std::string(reasonFor(status)) +
                             "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                             std::to_string(page.size()) + "\r\nConnection: close\r\n\r\n";
    stream.write(head.data(), head.size());
    stream.write(page.data(), page.size());
    stream.flush();
}

}  // namespace orbelin::service
