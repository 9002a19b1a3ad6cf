#include "net/NetBuffer.h"

#include "net/NetException.h"

#include <algorithm>
#include <cstring>

namespace orbelin {

// ---- simple buffer ----

void TNetSimpleBuffer::Reserve(int64_t capacity)
{
    if (capacity <= FCapacity)
        return;
    const int64_t grown = std::max(capacity, FCapacity + FCapacity / 2);
    auto data = std::make_unique<uint8_t[]>(static_cast<size_t>(grown));
    if (FSize > 0)
        std::memcpy(data.get(), FData.get(), static_cast<size_t>(FSize));
    FData = std::move(data);
    FCapacity = grown;
}

int64_t TNetSimpleBuffer::Read(void* buffer, int64_t count)
{
    const int64_t n = std::min(count, VisibleSize() - FPosition);
    if (n <= 0)
        return 0;
    std::memcpy(buffer, FrontPointer() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TNetSimpleBuffer::Write(const void* buffer, int64_t count)
{
    if (count <= 0)
        return 0;
    const int64_t end = FFront + FPosition + count;
    Reserve(end);
    std::memcpy(FData.get() + FFront + FPosition, buffer, static_cast<size_t>(count));
    FSize = std::max(FSize, end);
    FPosition += count;
    return count;
}

void TNetSimpleBuffer::Append(const void* buffer, int64_t count)
{
    FPosition = VisibleSize();
    Write(buffer, count);
}

uint8_t* TNetSimpleBuffer::PrepareAppend(int64_t count)
{
    Reserve(FSize + count);
    return FData.get() + FSize;
}

void TNetSimpleBuffer::CommitAppend(int64_t count)
{
    FSize += count;
    FPosition = VisibleSize();
}

int64_t TNetSimpleBuffer::Seek(int64_t offset, TSeekOrigin origin)
{
    FPosition = SeekTarget(FPosition, VisibleSize(), offset, origin);
    return FPosition;
}

void TNetSimpleBuffer::SetSize(int64_t size)
{
    size = std::max<int64_t>(size, 0);
    Reserve(FFront + size);
    FSize = FFront + size; // grown bytes keep whatever they held
    FPosition = std::min(FPosition, size);
}

void TNetSimpleBuffer::Clear()
{
    FSize = 0;
    FFront = 0;
    FPosition = 0;
}

void TNetSimpleBuffer::CheckAvailable(int64_t n) const
{
    if (n > VisibleSize())
        throw ENetNotEnoughDataInBuffer(SNetNotEnoughDataInBuffer);
}

void TNetSimpleBuffer::FireRemoval(int64_t n)
{
    if (RemovalNotice)
        RemovalNotice(this, n);
}

std::string TNetSimpleBuffer::TakeText(int64_t n)
{
    CheckAvailable(n);
    std::string text(reinterpret_cast<const char*>(FrontPointer()), static_cast<size_t>(std::max<int64_t>(n, 0)));
    DropFront(n);
    return text;
}

void TNetSimpleBuffer::DropFront(int64_t n)
{
    CheckAvailable(n);
    if (n <= 0)
        return;
    if (n == VisibleSize()) {
        Clear();
    } else {
        MoveFront(n);
        FPosition = std::max<int64_t>(FPosition - n, 0);
    }
    FireRemoval(n);
}

void TNetSimpleBuffer::MoveFront(int64_t n)
{
    std::memmove(FData.get(), FData.get() + n, static_cast<size_t>(FSize - n));
    FSize -= n;
}

// ---- managed buffer ----

void TNetManagedBuffer::MoveFront(int64_t n)
{
    FFront += n;
    if (FFront >= CompactAt)
        Compact();
}

void TNetManagedBuffer::Compact()
{
    if (FFront <= 0)
        return;
    std::memmove(FData.get(), FData.get() + FFront, static_cast<size_t>(FSize - FFront));
    FSize -= FFront;
    FFront = 0;
}

} // namespace orbelin
