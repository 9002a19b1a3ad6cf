#pragma once
// A TCP connection with a receive queue: line reading, exact-count and stream
// reading, immediate or buffered writing, and detection of a peer that closed.
// Time-outs are in milliseconds: -1 = the default (ReadTimeout), -2 = no limit.

#include "net/NetBuffer.h"
#include "net/NetComponent.h"
#include "net/NetRFCReply.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

namespace orbelin {

class TNetIOHandler;
class TNetIOHandlerSocket;
class TNetConnectionIntercept;
class TStream;

enum class TNetMaxLineAction { maException, maSplit };

inline constexpr char LF[] = "\n";
inline constexpr char CR[] = "\r";
inline constexpr char EOL[] = "\r\n";

class TNetTCPConnection : public TNetComponent {
public:
    static constexpr int kDefaultMaxLineLength = 16384;
    static constexpr int kDefaultBufferSize = 32768;

    explicit TNetTCPConnection(TComponent* owner);
    ~TNetTCPConnection() override;

    // Published properties.
    bool ASCIIFilter = false;
    int MaxLineLength = kDefaultMaxLineLength;
    TNetMaxLineAction MaxLineAction = TNetMaxLineAction::maException;
    int ReadTimeout = 0;
    int RecvBufferSize = kDefaultBufferSize;
    int SendBufferSize = kDefaultBufferSize;
    TNotifyEvent OnDisconnected;

    TNetIOHandler* IOHandler() const { return FIOHandler; }
    // Frees an owned previous handler; an assigned one is only referred to.
    void SetIOHandler(TNetIOHandler* handler);
    TNetIOHandlerSocket* SocketHandler() const { return FSocketHandler; }
    bool OwnsIOHandler() const { return FOwnsIOHandler; }
    TNetConnectionIntercept* Intercept() const { return FIntercept; }
    void SetIntercept(TNetConnectionIntercept* intercept);

    // Received bytes not yet taken.
    int64_t QueuedBytes() const { return FInputQueue.VisibleSize(); }
    bool PeerClosed() const { return FPeerClosed; }
    bool LastLineSplit() const { return FLastLineSplit; }
    bool LastLineTimedOut() const { return FLastLineTimedOut; }
    TNetRFCReply& GreetingReply() { return FGreetingReply; }
    TNetRFCReply& LastReply() { return FLastReply; }

    // Virtual operations, in their fixed order.
    virtual void FireDisconnected();
    virtual void ClearForConnect();
    virtual std::string ReadAll();
    virtual void CheckDisconnect(bool raise = true, bool ignoreQueue = false);
    virtual void CheckPeerClosed(bool raise);
    virtual int CheckReplyCode(int code, std::initializer_list<int16_t> allowed);
    virtual bool IsConnected();
    virtual void CloseConnection();
    virtual void DropLink();
    virtual int ReadReply(std::initializer_list<int16_t> allowed);
    virtual void RaiseReplyError();
    template <class E>
    [[noreturn]] void RaiseReplyErrorAs() { throw E(ReplyMessage()); }
    virtual int FillInputQueue(bool raiseIfDisconnected = true, int timeout = -1, bool raiseOnTimeout = true);
    virtual std::string ReadLine(const std::string& terminator = LF, int timeout = -1, int maxLength = -1);
    virtual int SendCommand(const std::string& text, std::initializer_list<int16_t> allowed);
    virtual void WriteText(const std::string& text);
    virtual void WriteLine(const std::string& text);
    virtual void WriteFromStream(TStream& stream, bool all = true, bool writeCount = false, int64_t size = 0);
    virtual int64_t WriteWholeFile(const std::string& fileName, bool allowFileSender = true);

    // Reading.
    std::string ReadLineSkipEmpty(int attempts);
    void ReadExact(void* buffer, int64_t n);
    int32_t ReadInt32(bool convert = true);
    // n = -1 and not untilClosed: a 4-byte network-order count comes first.
    void ReadIntoStream(TStream& stream, int64_t n = -1, bool untilClosed = false);
    // Up to n bytes (n < 0: no limit) into the stream; the peer closing ends
    // the read quietly with every byte that arrived written. Nothing is
    // reserved up front from n, and the stream's size is cut to its position.
    void ReadIntoStreamUpTo(TStream& stream, int64_t n);
    std::string TakeQueued();
    void ReadInternalReply();

    // Writing.
    void WriteRaw(const void* buffer, int64_t n, bool now = false);
    void WriteInt32(int32_t value, bool convert = true);
    void BeginBufferedWrites(int threshold = -1);
    void FlushBufferedWrites(int64_t n = -1);
    void EndBufferedWrites();
    void DiscardBufferedWrites();
    bool WritesBuffered() const { return FPendingWrites != nullptr; }

    const TPropertyTable<TComponent>& Properties() const override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    // Takes over a handler created by the connection itself.
    void AdoptIOHandler(TNetIOHandler* handler);
    void FreeOwnedIOHandler();

private:
    std::string ReplyMessage() const;
    int ReceiveOnce(bool raiseIfDisconnected);
    bool FindTerminator(const std::string& terminator, int64_t& scanFrom, int64_t& found);
    std::string TakeLine(const std::string& terminator, int64_t found);
    void MoveIntoStream(TStream& stream, int64_t remaining, int64_t workCount, bool quietAtClose);
    void SendAll(const uint8_t* bytes, int64_t n);

    TNetIOHandler* FIOHandler = nullptr;
    TNetIOHandlerSocket* FSocketHandler = nullptr;
    bool FOwnsIOHandler = false;
    TNetConnectionIntercept* FIntercept = nullptr;
    TNetManagedBuffer FInputQueue;
    TNetSimpleBuffer FReceiveChunk;
    std::unique_ptr<TNetSimpleBuffer> FPendingWrites;
    int FFlushThreshold = -1;
    bool FPeerClosed = false;
    bool FLastLineSplit = false;
    bool FLastLineTimedOut = false;
    TNetRFCReply FGreetingReply;
    TNetRFCReply FLastReply;
};

} // namespace orbelin
