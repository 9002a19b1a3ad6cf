#include "net/NetTCPConnection.h"

#include "base/AnsiText.h"
#include "base/Format.h"
#include "base/PropertyTable.h"
#include "base/ScopeExit.h"
#include "net/NetAntiFreeze.h"
#include "net/NetException.h"
#include "net/NetIOHandlerSocket.h"
#include "net/NetIntercept.h"
#include "net/NetStack.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace orbelin {

namespace {

TNetStack& Stack() { return *GlobalStack(); }

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string TrimControls(const std::string& text)
{
    size_t first = 0, last = text.size();
    while (first < last && IsBlankOrControl(text[first]))
        ++first;
    while (last > first && IsBlankOrControl(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

bool Allowed(int code, std::initializer_list<int16_t> allowed)
{
    return std::find(allowed.begin(), allowed.end(), code) != allowed.end();
}

} // namespace

TNetTCPConnection::TNetTCPConnection(TComponent* owner) : TNetComponent(owner)
{
    FInputQueue.RemovalNotice = [this](TNetSimpleBuffer*, int64_t n) { WorkProgress(TWorkMode::wmRead, n); };
}

TNetTCPConnection::~TNetTCPConnection()
{
    try {
        DropLink();
    } catch (...) {
        // Closing while destroying has nobody to report to.
    }
    FreeOwnedIOHandler();
    if (FIOHandler)
        FIOHandler->RemoveFreeNotification(this);
    if (FIntercept)
        FIntercept->RemoveFreeNotification(this);
}

// ---- handler and intercept ----

void TNetTCPConnection::FreeOwnedIOHandler()
{
    if (!FOwnsIOHandler)
        return;
    TNetIOHandler* handler = FIOHandler;
    FIOHandler = nullptr;
    FSocketHandler = nullptr;
    FOwnsIOHandler = false;
    delete handler; // created by OpenConnection, owned by us
}

void TNetTCPConnection::SetIOHandler(TNetIOHandler* handler)
{
    if (handler == FIOHandler)
        return;
    if (FOwnsIOHandler)
        FreeOwnedIOHandler();
    else if (FIOHandler)
        FIOHandler->RemoveFreeNotification(this);
    FIOHandler = handler;
    FSocketHandler = dynamic_cast<TNetIOHandlerSocket*>(handler);
    if (handler)
        handler->FreeNotification(this);
}

void TNetTCPConnection::AdoptIOHandler(TNetIOHandler* handler)
{
    SetIOHandler(handler);
    FOwnsIOHandler = true;
}

void TNetTCPConnection::SetIntercept(TNetConnectionIntercept* intercept) { Refer(FIntercept, intercept); }

void TNetTCPConnection::Notification(TComponent* component, TOperation operation)
{
    TNetComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == FIOHandler) {
        FIOHandler = nullptr;
        FSocketHandler = nullptr;
        FOwnsIOHandler = false;
    }
    if (component == FIntercept)
        FIntercept = nullptr;
}

// ---- connection state ----

void TNetTCPConnection::FireDisconnected()
{
    if (OnDisconnected)
        OnDisconnected(this);
}

void TNetTCPConnection::ClearForConnect()
{
    FInputQueue.Clear();
    FPeerClosed = false;
}

bool TNetTCPConnection::IsConnected()
{
    CheckDisconnect(false, false);
    return FIOHandler && FIOHandler->LinkConnected();
}

void TNetTCPConnection::CheckDisconnect(bool raise, bool ignoreQueue)
{
    bool disconnected = false;
    if (FIOHandler) {
        if (FPeerClosed) {
            if (FIOHandler->LinkConnected()) {
                DropLink();
                ReportStatus(TNetStatus::hsDisconnected);
                FireDisconnected();
            }
            disconnected = true;
        } else {
            disconnected = !FIOHandler->LinkConnected();
        }
    }
    if (disconnected && raise && (FInputQueue.Empty() || ignoreQueue))
        throw ENetConnClosedGracefully(SNetConnClosedGracefully);
}

void TNetTCPConnection::CloseConnection()
{
    ReportStatus(TNetStatus::hsDisconnecting);
    DropLink();
    FreeOwnedIOHandler();
    FireDisconnected();
    ReportStatus(TNetStatus::hsDisconnected);
}

void TNetTCPConnection::DropLink()
{
    if (!FIOHandler)
        return;
    FPeerClosed = true;
    if (FIntercept && !Loading())
        FIntercept->InterceptDisconnect();
    FIOHandler->CloseLink();
}

// ---- receiving ----

int TNetTCPConnection::ReceiveOnce(bool raiseIfDisconnected)
{
    if (!FIOHandler) {
        if (raiseIfDisconnected)
            throw ENetNotConnected(SNetNotConnected);
        return 0;
    }
    // Without an intercept the bytes go straight to the end of the queue; the
    // intercept needs them as a block of their own first.
    const bool direct = !FIntercept;
    uint8_t* target = direct ? FInputQueue.PrepareAppend(RecvBufferSize)
                             : (FReceiveChunk.SetSize(RecvBufferSize), FReceiveChunk.Memory());
    int count = FIOHandler->ReceiveBytes(target, RecvBufferSize);
    FPeerClosed = count == 0;
    if (count < 0) {
        Stack().CheckSocketResult(count, {WSAESHUTDOWN_, WSAECONNABORTED_});
        // The link is gone; queued bytes are read first.
        const int code = Stack().LastErrorCode;
        DropLink();
        if (FInputQueue.Empty())
            Stack().RaiseSocketFailure(code);
        count = 0;
    }
    if (count > 0) {
        if (!direct) {
            FReceiveChunk.SetSize(count);
            FReceiveChunk.SetPosition(0);
            FIntercept->InterceptReceive(FReceiveChunk);
            count = static_cast<int>(FReceiveChunk.Size());
            target = FInputQueue.PrepareAppend(count);
            std::memcpy(target, FReceiveChunk.Memory(), static_cast<size_t>(count));
        }
        if (ASCIIFilter)
            for (uint8_t *p = target, *end = p + count; p != end; ++p)
                *p &= 0x7F;
        FInputQueue.CommitAppend(count);
    }
    return count;
}

int TNetTCPConnection::FillInputQueue(bool raiseIfDisconnected, int timeout, bool raiseOnTimeout)
{
    if (timeout == kTimeoutDefault)
        timeout = ReadTimeout == 0 ? kTimeoutInfinite : ReadTimeout;
    CheckDisconnect(raiseIfDisconnected, false);
    if (!IsConnected()) {
        if (raiseIfDisconnected)
            throw ENetNotConnected(SNetNotConnected);
        return 0;
    }
    int count = 0;
    do {
        // An unlimited wait without an idle hook is the blocking receive
        // itself; the select would only cost a system call per block.
        const bool wait = timeout != kTimeoutInfinite || TNetAntiFreezeBase::ShouldUseHook();
        if (wait && !FIOHandler->WaitReadable(timeout)) {
            if (raiseOnTimeout)
                throw ENetReadTimeout(SNetReadTimeout);
            return -1;
        }
        count = ReceiveOnce(raiseIfDisconnected);
        CheckDisconnect(raiseIfDisconnected, false);
    } while (count == 0 && IsConnected());
    return count;
}

void TNetTCPConnection::CheckPeerClosed(bool raise) { FillInputQueue(raise, 1, false); }

bool TNetTCPConnection::FindTerminator(const std::string& terminator, int64_t& scanFrom, int64_t& found)
{
    const int64_t size = FInputQueue.VisibleSize();
    const int64_t termLength = static_cast<int64_t>(terminator.size());
    // A terminator split over two receives starts up to length - 1 bytes back.
    int64_t from = std::max<int64_t>(0, scanFrom - (termLength - 1));
    scanFrom = size;
    if (size - from < termLength)
        return false;
    const char* data = reinterpret_cast<const char*>(FInputQueue.FrontPointer());
    const std::string_view view(data, static_cast<size_t>(size));
    const size_t at = view.find(terminator, static_cast<size_t>(from));
    if (at == std::string_view::npos)
        return false;
    found = static_cast<int64_t>(at);
    return true;
}

std::string TNetTCPConnection::TakeLine(const std::string& terminator, int64_t found)
{
    std::string line = FInputQueue.TakeText(found + static_cast<int64_t>(terminator.size()));
    line.resize(static_cast<size_t>(found));
    if (terminator == LF && !line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

std::string TNetTCPConnection::ReadLine(const std::string& terminatorText, int timeout, int maxLength)
{
    const std::string terminator = terminatorText.empty() ? std::string(LF) : terminatorText;
    const int64_t max = maxLength == -1 ? MaxLineLength : maxLength;
    FLastLineSplit = false;
    FLastLineTimedOut = false;
    int64_t scanFrom = 0;
    for (;;) {
        int64_t found = -1;
        const bool hasLine = !FInputQueue.Empty() && FindTerminator(terminator, scanFrom, found);
        const bool tooLong = max != 0 && (hasLine ? found > max : FInputQueue.VisibleSize() > max);
        if (tooLong) {
            if (MaxLineAction == TNetMaxLineAction::maException)
                throw ENetReadLnMaxLineLengthExceeded(SNetMaxLineLengthExceeded);
            FLastLineSplit = true;
            return FInputQueue.TakeText(max);
        }
        if (hasLine)
            return TakeLine(terminator, found);
        CheckDisconnect(true, true);
        if (FillInputQueue(true, timeout, timeout == kTimeoutDefault) <= 0) {
            FLastLineTimedOut = true;
            return std::string();
        }
    }
}

std::string TNetTCPConnection::ReadLineSkipEmpty(int attempts)
{
    std::string line;
    for (int i = 0; i < attempts && line.empty(); ++i)
        line = TrimControls(ReadLine(LF, -1, -1));
    return line;
}

void TNetTCPConnection::ReadExact(void* buffer, int64_t n)
{
    if (n <= 0 || !buffer)
        return;
    while (FInputQueue.VisibleSize() < n) {
        FillInputQueue(true, kTimeoutDefault, true);
        CheckDisconnect(true, true);
    }
    std::memcpy(buffer, FInputQueue.FrontPointer(), static_cast<size_t>(n));
    FInputQueue.DropFront(n);
}

int32_t TNetTCPConnection::ReadInt32(bool convert)
{
    uint32_t value = 0;
    ReadExact(&value, sizeof value);
    return static_cast<int32_t>(convert ? Stack().NetToHost32(value) : value);
}

void TNetTCPConnection::ReadIntoStream(TStream& stream, int64_t n, bool untilClosed)
{
    if (n == -1 && !untilClosed)
        n = ReadInt32(true);
    if (n >= 0) {
        const int64_t position = stream.Position();
        stream.SetSize(position + n);
        if (stream.Position() != position)
            stream.SetPosition(position);
    }
    if (untilClosed)
        MoveIntoStream(stream, INT32_MAX, 0, true);
    else
        MoveIntoStream(stream, n, n, false);
}

void TNetTCPConnection::ReadIntoStreamUpTo(TStream& stream, int64_t n)
{
    MoveIntoStream(stream, n < 0 ? INT64_MAX : n, std::max<int64_t>(n, 0), true);
}

void TNetTCPConnection::MoveIntoStream(TStream& stream, int64_t remaining, int64_t workCount, bool quietAtClose)
{
    WorkBegin(TWorkMode::wmRead, workCount);
    const auto finish = [&] {
        WorkEnd(TWorkMode::wmRead);
        if (stream.Size() > stream.Position())
            stream.SetSize(stream.Position());
    };
    try {
        const int64_t queued = std::min(FInputQueue.VisibleSize(), std::max<int64_t>(remaining, 0));
        if (queued > 0) {
            stream.WriteBuffer(FInputQueue.FrontPointer(), queued);
            FInputQueue.DropFront(queued);
            remaining -= queued;
        }
        const int64_t chunkSize = std::min<int64_t>(remaining, RecvBufferSize);
        std::vector<uint8_t> chunk(static_cast<size_t>(std::max<int64_t>(chunkSize, 0)));
        while (remaining > 0 && IsConnected()) {
            int64_t k = std::min(remaining, chunkSize);
            try {
                ReadExact(chunk.data(), k);
            } catch (const ENetConnClosedGracefully&) {
                if (!quietAtClose)
                    throw;
                k = std::min(FInputQueue.VisibleSize(), k);
                std::memcpy(chunk.data(), FInputQueue.FrontPointer(), static_cast<size_t>(k));
                FInputQueue.Clear();
            }
            stream.WriteBuffer(chunk.data(), k);
            remaining -= k;
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

std::string TNetTCPConnection::TakeQueued()
{
    if (IsConnected())
        FillInputQueue(false, kTimeoutDefault, true);
    return FInputQueue.TakeText(FInputQueue.VisibleSize());
}

std::string TNetTCPConnection::ReadAll()
{
    std::string text;
    WorkBegin(TWorkMode::wmRead, 0);
    try {
        while (IsConnected())
            text += TakeQueued();
    } catch (...) {
        WorkEnd(TWorkMode::wmRead);
        throw;
    }
    WorkEnd(TWorkMode::wmRead);
    return text;
}

// ---- replies ----

void TNetTCPConnection::ReadInternalReply()
{
    TStringList lines;
    lines.Add(ReadLineSkipEmpty(INT32_MAX));
    const std::string& first = lines[0];
    if (first.size() > 3 && first[3] == '-') {
        const std::string endMarker = first.substr(0, 3) + " ";
        for (;;) {
            std::string line = ReadLineSkipEmpty(INT32_MAX);
            const bool last = line.size() < 4 || SameText(line.substr(0, 4), endMarker);
            lines.Add(std::move(line));
            if (last)
                break;
        }
    }
    FLastReply.ParseReply(lines);
}

int TNetTCPConnection::ReadReply(std::initializer_list<int16_t> allowed)
{
    ReadInternalReply();
    return CheckReplyCode(FLastReply.NumericCode(), allowed);
}

int TNetTCPConnection::CheckReplyCode(int code, std::initializer_list<int16_t> allowed)
{
    if (allowed.size() != 0 && !Allowed(code, allowed))
        RaiseReplyError();
    return code;
}

std::string TNetTCPConnection::ReplyMessage() const
{
    std::string text = FLastReply.Text.Text();
    // Joined by CR LF: no line end after the last line.
    if (text.size() >= 2)
        text.resize(text.size() - 2);
    return text;
}

void TNetTCPConnection::RaiseReplyError() { throw ENetProtocolReplyError(FLastReply.NumericCode(), ReplyMessage()); }

int TNetTCPConnection::SendCommand(const std::string& text, std::initializer_list<int16_t> allowed)
{
    WriteLine(text);
    return ReadReply(allowed);
}

// ---- writing ----

void TNetTCPConnection::SendAll(const uint8_t* bytes, int64_t n)
{
    int64_t position = 0;
    while (position < n) {
        const int chunk = static_cast<int>(std::min<int64_t>(n - position, INT32_MAX));
        const int sent = FIOHandler->SendBytes(bytes + position, chunk);
        TNetAntiFreezeBase::RunHook(false, false);
        FPeerClosed = sent == 0;
        CheckDisconnect(true, false);
        if (sent < 0) {
            if (Stack().CheckSocketResult(sent, {WSAESHUTDOWN_, WSAECONNABORTED_, WSAECONNRESET_})) {
                const int code = Stack().LastErrorCode;
                DropLink();
                Stack().RaiseSocketFailure(code);
            }
        }
        WorkProgress(TWorkMode::wmWrite, sent);
        position += sent;
    }
}

void TNetTCPConnection::WriteRaw(const void* buffer, int64_t n, bool now)
{
    if (n <= 0 || !buffer)
        return;
    CheckDisconnect(true, true);
    if (!IsConnected())
        throw ENetNotConnected(SNetNotConnected);
    if (!now && FPendingWrites) {
        FPendingWrites->Append(buffer, n);
        if (FFlushThreshold > 0 && FPendingWrites->VisibleSize() >= FFlushThreshold)
            FlushBufferedWrites(FFlushThreshold);
        return;
    }
    if (!FIntercept) {
        SendAll(static_cast<const uint8_t*>(buffer), n);
        return;
    }
    // The intercept may rewrite the block; send what it leaves.
    TNetSimpleBuffer block;
    block.Write(buffer, n);
    block.SetPosition(0);
    FIntercept->InterceptSend(block);
    SendAll(block.Memory(), block.VisibleSize());
}

void TNetTCPConnection::WriteText(const std::string& text)
{
    if (!text.empty())
        WriteRaw(text.data(), static_cast<int64_t>(text.size()));
}

void TNetTCPConnection::WriteLine(const std::string& text) { WriteText(text + EOL); }

void TNetTCPConnection::WriteInt32(int32_t value, bool convert)
{
    uint32_t raw = static_cast<uint32_t>(value);
    if (convert)
        raw = Stack().HostToNet32(raw);
    WriteRaw(&raw, sizeof raw);
}

void TNetTCPConnection::WriteFromStream(TStream& stream, bool all, bool writeCount, int64_t size)
{
    if (all)
        stream.SetPosition(0);
    int64_t position = stream.Position();
    const int64_t end = size != 0 ? position + size : stream.Size();
    if (writeCount)
        WriteInt32(static_cast<int32_t>(end - position), true);
    WorkBegin(TWorkMode::wmWrite, end - position);
    try {
        std::vector<uint8_t> buffer(static_cast<size_t>(std::max(SendBufferSize, 1)));
        for (;;) {
            const int64_t k = std::min<int64_t>(end - position, static_cast<int64_t>(buffer.size()));
            if (k <= 0)
                break;
            const int64_t got = stream.Read(buffer.data(), k);
            if (got <= 0)
                throw ENetNoDataToRead(SNetNoDataToRead);
            WriteRaw(buffer.data(), got);
            position += got;
        }
    } catch (...) {
        WorkEnd(TWorkMode::wmWrite);
        throw;
    }
    WorkEnd(TWorkMode::wmWrite);
}

int64_t TNetTCPConnection::WriteWholeFile(const std::string& fileName, bool allowFileSender)
{
    std::unique_ptr<TFileStream> file;
    try {
        file = std::make_unique<TFileStream>(fileName, TFileMode::fmOpenRead);
    } catch (const EFOpenError&) {
        throw ENetFileNotFound(Format(SNetFileNotFound, fileName.c_str()));
    }
    if (FileSender && !FIntercept && allowFileSender && FSocketHandler && FSocketHandler->SocketBinding()) {
        file.reset();
        const int64_t sent = FileSender(FSocketHandler->SocketBinding()->SocketId(), fileName);
        // -1: the socket provider cannot send files; take the stream path.
        if (sent >= 0)
            return sent;
        file = std::make_unique<TFileStream>(fileName, TFileMode::fmOpenRead);
    }
    WriteFromStream(*file, true, false, 0);
    return file->Size();
}

void TNetTCPConnection::BeginBufferedWrites(int threshold)
{
    FPendingWrites = std::make_unique<TNetSimpleBuffer>();
    FFlushThreshold = threshold;
}

void TNetTCPConnection::FlushBufferedWrites(int64_t n)
{
    if (!FPendingWrites || FPendingWrites->Empty())
        return;
    if (n != -1 && FPendingWrites->VisibleSize() >= n) {
        WriteRaw(FPendingWrites->Memory(), n, true);
        FPendingWrites->DropFront(n);
        return;
    }
    WriteRaw(FPendingWrites->Memory(), FPendingWrites->VisibleSize(), true);
    FPendingWrites->Clear();
}

void TNetTCPConnection::EndBufferedWrites()
{
    const TScopeExit release([this] { FPendingWrites.reset(); });
    FlushBufferedWrites(-1);
}

void TNetTCPConnection::DiscardBufferedWrites()
{
    if (FPendingWrites)
        FPendingWrites->Clear();
}

// ---- published properties ----

namespace {

constexpr TEnumName<TNetMaxLineAction> MaxLineActionNames[] = {
    {"maException", TNetMaxLineAction::maException},
    {"maSplit", TNetMaxLineAction::maSplit},
};

// A buffer of at least one byte, whatever the description says.
int BufferSizeOf(const TPropertyValue& value) { return std::max(1, static_cast<int>(value.AsInteger())); }

} // namespace

const TPropertyTable<TComponent>& TNetTCPConnection::Properties() const
{
    static const TPropertyTable<TComponent> table(TNetComponent::Properties(), {
        Field("ASCIIFilter", &TNetTCPConnection::ASCIIFilter),
        Field("MaxLineLength", &TNetTCPConnection::MaxLineLength),
        EnumField("MaxLineAction", &TNetTCPConnection::MaxLineAction, MaxLineActionNames),
        Field("ReadTimeout", &TNetTCPConnection::ReadTimeout),
        Property<TNetTCPConnection>("RecvBufferSize",
                                    [](TNetTCPConnection& c, const TPropertyValue& v) { c.RecvBufferSize = BufferSizeOf(v); }),
        Property<TNetTCPConnection>("SendBufferSize",
                                    [](TNetTCPConnection& c, const TPropertyValue& v) { c.SendBufferSize = BufferSizeOf(v); }),
        Event("OnDisconnected", &TNetTCPConnection::OnDisconnected),
    });
    return table;
}

} // namespace orbelin
