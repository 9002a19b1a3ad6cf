#include "ConnectionStream.h"
#include "Process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/socket.h>

namespace orbelin::service {
namespace {

using namespace std::chrono_literals;

// A connection whose client end receives each send of the stream as one
// record, so that a test sees in how many pieces the stream sent.
class RecordConnection {
public:
    RecordConnection()
    {
        int fds[2] = {-1, -1};
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) == 0) {
            server_ = UniqueFd(fds[0]);
            client_ = UniqueFd(fds[1]);
        }
    }

    bool valid() const { return server_.valid() && client_.valid(); }
    int server() const { return server_.get(); }

    bool clientHasRecord() const
    {
        pollfd ready{client_.get(), POLLIN, 0};
        return ::poll(&ready, 1, 0) > 0;
    }
    std::string receiveRecord() const
    {
        std::string record(256 * 1024, '\0');
        const ssize_t n = ::recv(client_.get(), record.data(), record.size(), MSG_DONTWAIT);
        record.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        return record;
    }
    bool send(std::string_view bytes) const
    {
        return ::send(client_.get(), bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size());
    }

private:
    UniqueFd server_;
    UniqueFd client_;
};

void write(ConnectionStream& stream, std::string_view bytes)
{
    ASSERT_EQ(stream.write(bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

TEST(ConnectionStream, AResponseWrittenInPiecesLeavesInOne)
{
    const RecordConnection connection;
    ASSERT_TRUE(connection.valid());
    ConnectionStream stream(connection.server(), 1s, 1s, nullptr);
    // As httplib writes a response: the head, then the body.
    write(stream, "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n");
    write(stream, "hello");
    EXPECT_FALSE(connection.clientHasRecord());

    ASSERT_TRUE(stream.flush());
    EXPECT_EQ(connection.receiveRecord(), "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello");
    EXPECT_FALSE(connection.clientHasRecord());
}

TEST(ConnectionStream, WhatWasWrittenLeavesBeforeAWaitForTheClient)
{
    const RecordConnection connection;
    ASSERT_TRUE(connection.valid());
    ConnectionStream stream(connection.server(), 1s, 1s, nullptr);
    ASSERT_TRUE(connection.send("body"));
    // An interim answer the client may wait for before it sends the body.
    write(stream, "HTTP/1.1 100 Continue\r\n\r\n");

    char bytes[16] = {};
    ASSERT_EQ(stream.read(bytes, sizeof bytes), 4);
    EXPECT_EQ(std::string_view(bytes, 4), "body");
    EXPECT_EQ(connection.receiveRecord(), "HTTP/1.1 100 Continue\r\n\r\n");
}

TEST(ConnectionStream, ALargeResponseStartsLeavingBeforeItsEnd)
{
    const RecordConnection connection;
    ASSERT_TRUE(connection.valid());
    ConnectionStream stream(connection.server(), 1s, 1s, nullptr);
    const std::string part(40 * 1024, 'x');
    write(stream, part);
    EXPECT_FALSE(connection.clientHasRecord());
    write(stream, part);
    EXPECT_EQ(connection.receiveRecord().size(), 2 * part.size());

    write(stream, "end");
    ASSERT_TRUE(stream.flush());
    EXPECT_EQ(connection.receiveRecord(), "end");
}

}  // namespace
}  // namespace orbelin::service
