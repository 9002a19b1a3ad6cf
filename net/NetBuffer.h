#pragma once
// Byte buffers of a TCP connection. TNetSimpleBuffer is a growable byte
// stream whose front can be taken off; TNetManagedBuffer, the receive queue,
// consumes its front by moving an offset and compacts only now and then, so
// reading line by line does not move the rest of the queue every time.
//
// They keep their own storage instead of a TMemoryStream because a receive
// chunk is resized before every receive and must not be cleared.

#include "base/Streams.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace orbelin {

class TNetSimpleBuffer : public TStream {
public:
    using TRemovalNotice = std::function<void(TNetSimpleBuffer* sender, int64_t count)>;

    TRemovalNotice RemovalNotice;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t size) override;
    int64_t Size() override { return VisibleSize(); }

    int64_t VisibleSize() const noexcept { return FSize - FFront; }
    bool Empty() const noexcept { return FSize == FFront; }
    // The first unconsumed byte.
    uint8_t* FrontPointer() noexcept { return FData.get() + FFront; }
    const uint8_t* FrontPointer() const noexcept { return FData.get() + FFront; }
    uint8_t* Memory() noexcept { return FrontPointer(); }

    virtual void Clear();
    // Appends at the end whatever the position.
    void Append(const void* buffer, int64_t count);
    // Room for count more bytes at the end, for a receive to fill in place;
    // CommitAppend then adds the bytes actually filled.
    uint8_t* PrepareAppend(int64_t count);
    void CommitAppend(int64_t count);
    // The first n bytes as a string, taken off the front.
    std::string TakeText(int64_t n);
    void DropFront(int64_t n);

protected:
    // Moves the front past n bytes, fewer than the buffer holds: this buffer
    // moves the rest down, the managed one only its offset.
    virtual void MoveFront(int64_t n);
    void CheckAvailable(int64_t n) const;
    void Reserve(int64_t capacity);
    void FireRemoval(int64_t n);

    std::unique_ptr<uint8_t[]> FData;
    int64_t FCapacity = 0;
    int64_t FSize = 0;      // stored bytes, consumed front included
    int64_t FFront = 0;     // consumed bytes at the front (managed buffer only)
    int64_t FPosition = 0;  // relative to the front
};

class TNetManagedBuffer : public TNetSimpleBuffer {
public:
    static constexpr int64_t kDefaultCompactAt = 32768;

    int64_t CompactAt = kDefaultCompactAt;
    int64_t ConsumedBytes() const noexcept { return FFront; }

    void Compact();

protected:
    void MoveFront(int64_t n) override;
};

} // namespace orbelin
