#include "base/ReadWriteLock.h"

namespace orbelin {

void TReadWriteLock::BeginRead()
{
    std::unique_lock lock(FMutex);
    if (HeldByMe()) {
        ++FWriteDepth;
        return;
    }
    FChanged.wait(lock, [this] { return FWriteDepth == 0; });
    ++FReaders;
}

void TReadWriteLock::EndRead()
{
    std::unique_lock lock(FMutex);
    if (HeldByMe()) {
        --FWriteDepth;
        return;
    }
    if (--FReaders == 0)
        FChanged.notify_all();
}

void TReadWriteLock::BeginWrite()
{
    std::unique_lock lock(FMutex);
    if (HeldByMe()) {
        ++FWriteDepth;
        return;
    }
    FChanged.wait(lock, [this] { return FWriteDepth == 0 && FReaders == 0; });
    FWriter = std::this_thread::get_id();
    FWriteDepth = 1;
}

void TReadWriteLock::EndWrite()
{
    std::unique_lock lock(FMutex);
    if (--FWriteDepth == 0) {
        FWriter = std::thread::id();
        FChanged.notify_all();
    }
}

} // namespace orbelin
