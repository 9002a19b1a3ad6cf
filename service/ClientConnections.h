// The connections the service holds, by client address. One client holds at
// most a fixed number; when it opens one more, the connection of that client
// that has waited longest for a request is ended to make room, and only when
// every one of them is busy with a request is the new one refused.
#pragma once

#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

namespace orbelin::service {

class ClientConnections {
public:
    explicit ClientConnections(std::size_t perClient);

    // Registers socket as a connection of client, waiting for a request.
    // False when the client already holds its number of busy connections:
    // the caller closes the socket without registering it.
    bool admit(int socket, const std::string& client);
    // A request has arrived (busy) or has been answered (waiting again).
    void setWaiting(int socket, bool waiting);
    // To be called before the socket is closed, so that it is never shut
    // down after its number went to another file.
    void remove(int socket);

    std::size_t held(const std::string& client) const;

private:
    struct Connection {
        int socket;
        std::string client;
        bool waiting;
        std::chrono::steady_clock::time_point since;
        bool ended;  // shut down to make room, not yet removed
    };

    const std::size_t perClient_;
    mutable std::mutex mutex_;
    std::vector<Connection> connections_;
};

}  // namespace orbelin::service
