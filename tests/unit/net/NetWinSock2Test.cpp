// The run-time loader of the Windows socket library (Windows build only).
#include "net/NetComponent.h"
#include "net/NetException.h"
#include "net/NetStack.h"
#include "net/NetWinSock2.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orbelin {
namespace {

int EntryIndex(const char* name)
{
    for (int i = 0; i < kWinsockEntryCount; ++i)
        if (std::strcmp(WinsockEntryName(i), name) == 0)
            return i;
    return -1;
}

TEST(NetWinSock2, TableHoldsTheEntriesInOrder)
{
    EXPECT_STREQ(WinsockEntryName(0), "WSACleanup");
    EXPECT_STREQ(WinsockEntryName(23), "socket");
    EXPECT_STREQ(WinsockEntryName(32), "WSAGetLastError");
    EXPECT_STREQ(WinsockEntryName(108), "TransmitFile");
    EXPECT_STREQ(WinsockEntryName(kWinsockEntryCount - 1), "WSARecvEx");
}

TEST(NetWinSock2, EntriesBindOnFirstCall)
{
    TNetComponent user(nullptr); // loads and starts the library
    ASSERT_TRUE(WinsockLoaded());
    const int index = EntryIndex("ntohl");
    ws2::ntohl()(1);
    EXPECT_FALSE(WinsockEntryUnbound(index));
}

TEST(NetWinSock2, CallBeforeLoadingAndMissingEntryRaise)
{
    TNetComponent user(nullptr);
    // An entry the library does not export fails in order, naming itself.
    try {
        BindWinsockEntry(EntryIndex("WSARecvEx"));
        FAIL() << "no exception";
    } catch (const ENetWS2StubError& e) {
        EXPECT_EQ(e.Title(), "Error on call Winsock2 library function WSARecvEx");
    }
    UnloadWinsock();
    EXPECT_FALSE(WinsockLoaded());
    EXPECT_TRUE(WinsockEntryUnbound(EntryIndex("ntohl")));
    try {
        ws2::htons()(1);
        FAIL() << "no exception";
    } catch (const ENetWS2StubError& e) {
        EXPECT_EQ(e.Title(), "Error on call Winsock2 library function htons");
        EXPECT_EQ(e.Win32Error(), 10093u);
        EXPECT_EQ(e.Message().rfind(e.Title() + ": ", 0), 0u);
    }
    // Load it again for the tests that follow.
    WSADATA data{};
    EXPECT_EQ(LoadWinsock(0x0202, &data), 0);
    EXPECT_EQ(ws2::htons()(0x0102), 0x0201);
}

} // namespace
} // namespace orbelin
