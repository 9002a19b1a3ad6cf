#include "net/NetBuffer.h"
#include "net/NetException.h"
#include "net/NetRFCReply.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

std::string Visible(TNetSimpleBuffer& buffer)
{
    return std::string(reinterpret_cast<const char*>(buffer.FrontPointer()), static_cast<size_t>(buffer.Size()));
}

TEST(NetSimpleBuffer, TakeTextRemovesTheFrontAndReportsIt)
{
    TNetSimpleBuffer buffer;
    int64_t removed = 0;
    buffer.RemovalNotice = [&](TNetSimpleBuffer*, int64_t n) { removed += n; };
    buffer.Append("hello world", 11);
    EXPECT_EQ(buffer.TakeText(6), "hello ");
    EXPECT_EQ(Visible(buffer), "world");
    EXPECT_EQ(removed, 6);
    buffer.DropFront(5);
    EXPECT_EQ(buffer.Size(), 0);
    EXPECT_EQ(removed, 11);
}

TEST(NetSimpleBuffer, TakingMoreThanHeldRaises)
{
    TNetSimpleBuffer buffer;
    buffer.Append("abc", 3);
    try {
        buffer.TakeText(4);
        FAIL() << "no exception";
    } catch (const ENetNotEnoughDataInBuffer& e) {
        EXPECT_EQ(e.Message(), "Not enough data in buffer.");
    }
    EXPECT_THROW(buffer.DropFront(4), ENetNotEnoughDataInBuffer);
    EXPECT_EQ(Visible(buffer), "abc");
}

TEST(NetSimpleBuffer, GrowingKeepsContentAndPosition)
{
    TNetSimpleBuffer buffer;
    std::string big(100000, 'x');
    big[99999] = 'y';
    buffer.WriteBuffer(big.data(), static_cast<int64_t>(big.size()));
    EXPECT_EQ(buffer.Position(), 100000);
    buffer.SetSize(10);
    EXPECT_EQ(buffer.Position(), 10);
    buffer.SetPosition(0);
    char out[10];
    EXPECT_EQ(buffer.Read(out, 20), 10);
}

TEST(NetManagedBuffer, ConsumesByOffsetAndCompactsAtThreshold)
{
    TNetManagedBuffer queue;
    std::string data(40000, 'a');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>('a' + i % 26);
    queue.Append(data.data(), static_cast<int64_t>(data.size()));
    queue.DropFront(1000);
    EXPECT_EQ(queue.ConsumedBytes(), 1000);
    EXPECT_EQ(queue.Size(), 39000);
    EXPECT_EQ(queue.FrontPointer()[0], static_cast<uint8_t>(data[1000]));
    queue.DropFront(31767);
    EXPECT_EQ(queue.ConsumedBytes(), 32767); // one byte short of compacting
    queue.DropFront(1);
    EXPECT_EQ(queue.ConsumedBytes(), 0);
    EXPECT_EQ(queue.Size(), 40000 - 32768);
    EXPECT_EQ(Visible(queue), data.substr(32768));
}

TEST(NetManagedBuffer, DroppingEverythingClears)
{
    TNetManagedBuffer queue;
    queue.Append("abcdef", 6);
    queue.DropFront(2);
    queue.DropFront(4);
    EXPECT_EQ(queue.ConsumedBytes(), 0);
    EXPECT_TRUE(queue.Empty());
    EXPECT_THROW(queue.DropFront(1), ENetNotEnoughDataInBuffer);
}

TEST(NetManagedBuffer, PositionsAndAppendsAreRelativeToTheFront)
{
    TNetManagedBuffer queue;
    queue.Append("0123456789", 10);
    queue.DropFront(4);
    queue.SetPosition(0);
    char two[2];
    ASSERT_EQ(queue.Read(two, 2), 2);
    EXPECT_EQ(std::string(two, 2), "45");
    EXPECT_EQ(queue.Seek(0, TSeekOrigin::soEnd), 6);
    queue.Append("ab", 2);
    EXPECT_EQ(queue.TakeText(8), "456789ab");
}

TEST(NetRFCReply, ParsesMultiLineReply)
{
    TNetRFCReply reply;
    reply.ParseReply(TStringList{"250-first line", "250-second", "250 last"});
    EXPECT_EQ(reply.TextCode(), "250");
    EXPECT_EQ(reply.NumericCode(), 250);
    EXPECT_EQ(reply.Text.Lines(), (std::vector<std::string>{"first line", "second", "last"}));
}

TEST(NetRFCReply, CodesFollowEachOther)
{
    TNetRFCReply reply;
    reply.SetTextCode("abc");
    EXPECT_EQ(reply.NumericCode(), 0);
    reply.SetNumericCode(421);
    EXPECT_EQ(reply.TextCode(), "421");
    reply.SetNumericCode(0);
    EXPECT_EQ(reply.TextCode(), "421");
}

} // namespace
} // namespace orbelin
