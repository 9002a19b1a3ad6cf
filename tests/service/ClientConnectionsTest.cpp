#include "ClientConnections.h"

#include <gtest/gtest.h>

#include <array>
#include <sys/socket.h>
#include <unistd.h>

namespace orbelin::service {
namespace {

// Both ends of a local stream; the service side is the first.
struct SocketPair {
    SocketPair() { EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends.data()), 0); }
    ~SocketPair()
    {
        ::close(ends[0]);
        ::close(ends[1]);
    }
    int service() const { return ends[0]; }
    // Whether the service side was shut down: the client reads the end.
    bool ended() const
    {
        char byte = 0;
        return ::recv(ends[1], &byte, 1, MSG_DONTWAIT) == 0;
    }
    std::array<int, 2> ends{-1, -1};
};

TEST(ClientConnections, TheLongestWaitingMakesRoomAndBusyOnesStay)
{
    ClientConnections connections(2);
    SocketPair first, second, third, fourth, other;
    EXPECT_TRUE(connections.admit(first.service(), "10.0.0.1"));
    EXPECT_TRUE(connections.admit(second.service(), "10.0.0.1"));
    connections.setWaiting(second.service(), false); // busy with a request
    EXPECT_EQ(connections.held("10.0.0.1"), 2u);

    // A third: the first, waiting, is ended for it.
    EXPECT_TRUE(connections.admit(third.service(), "10.0.0.1"));
    EXPECT_TRUE(first.ended());
    EXPECT_FALSE(second.ended());
    EXPECT_EQ(connections.held("10.0.0.1"), 2u);

    // Both held ones busy: a fourth is refused, another client is not.
    connections.setWaiting(third.service(), false);
    EXPECT_FALSE(connections.admit(fourth.service(), "10.0.0.1"));
    EXPECT_FALSE(second.ended());
    EXPECT_FALSE(third.ended());
    EXPECT_TRUE(connections.admit(other.service(), "10.0.0.2"));

    // An answered request waits again and can make room in its turn.
    connections.remove(first.service());
    connections.setWaiting(second.service(), true);
    EXPECT_TRUE(connections.admit(fourth.service(), "10.0.0.1"));
    EXPECT_TRUE(second.ended());
    EXPECT_FALSE(third.ended());
}

}  // namespace
}  // namespace orbelin::service
