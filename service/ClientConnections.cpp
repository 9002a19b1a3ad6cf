#include "ClientConnections.h"

#include <algorithm>
#include <sys/socket.h>

namespace orbelin::service {

ClientConnections::ClientConnections(std::size_t perClient) : perClient_(perClient == 0 ? 1 : perClient) {}

bool ClientConnections::admit(int socket, const std::string& client)
{
    const std::lock_guard lock(mutex_);
    const auto now = std::chrono::steady_clock::now();
    std::size_t count = 0;
    Connection* longestWaiting = nullptr;
    for (Connection& c : connections_) {
        if (c.client != client || c.ended) {
            continue;
        }
        ++count;
        if (c.waiting && (longestWaiting == nullptr || c.since < longestWaiting->since)) {
            longestWaiting = &c;
        }
    }
    if (count >= perClient_) {
        if (longestWaiting == nullptr) {
            return false;
        }
        // Its thread sees the end of the stream and removes it.
        ::shutdown(longestWaiting->socket, SHUT_RDWR);
        longestWaiting->ended = true;
    }
    connections_.push_back(Connection{socket, client, true, now, false});
    return true;
}

void ClientConnections::setWaiting(int socket, bool waiting)
{
    const std::lock_guard lock(mutex_);
    for (Connection& c : connections_) {
        if (c.socket == socket) {
            c.waiting = waiting;
            c.since = std::chrono::steady_clock::now();
        }
    }
}

void ClientConnections::remove(int socket)
{
    const std::lock_guard lock(mutex_);
    std::erase_if(connections_, [socket](const Connection& c) { return c.socket == socket; });
}

std::size_t ClientConnections::held(const std::string& client) const
{
    const std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(std::count_if(connections_.begin(), connections_.end(), [&client](const Connection& c) {
        return c.client == client && !c.ended;
    }));
}

}  // namespace orbelin::service
