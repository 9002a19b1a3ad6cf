// One exchange with the upstream translation server over HTTP/1.1, plain or
// TLS, on a connection of its own. Every wait (name lookup, connect,
// handshake, sending, receiving) is polled against the request's deadline
// and the stop signal, so nothing the server does, or fails to do, holds the
// exchange past them; what it sends is read within limits.
#pragma once

#include "Deadline.h"
#include "UpstreamAddress.h"

#include <cstddef>
#include <string>

namespace orbelin::service {

enum class ExchangeStatus {
    done,         // an answer, whatever its status
    unreachable,  // no name, no connection, or no TLS session with a verified certificate
    closed,       // the connection ended before the whole answer
    timedOut,
    stopped,      // the stop signal was raised
    badAnswer,    // not HTTP, or larger than its limits
};

struct UpstreamRequest {
    std::string method;  // "GET" or "POST"
    std::string path;    // from the server's root
    std::string body;    // JSON, for a POST
    std::size_t answerLimit = 64 * 1024;  // bytes of the answer's body
};

struct UpstreamAnswer {
    ExchangeStatus status = ExchangeStatus::unreachable;
    int httpStatus = 0;
    std::string body;
};

UpstreamAnswer exchangeWithUpstream(const UpstreamAddress& address, const UpstreamRequest& request,
                                    Deadline deadline, const StopSignal& stop);

}  // namespace orbelin::service
