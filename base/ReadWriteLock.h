#pragma once
// A multi-reader, single-writer lock whose writer may take it again (for
// writing or reading) while it holds it.

#include <condition_variable>
#include <mutex>
#include <thread>

namespace orbelin {

class TReadWriteLock {
public:
    void BeginRead();
    void EndRead();
    void BeginWrite();
    void EndWrite();

private:
    bool HeldByMe() const { return FWriter == std::this_thread::get_id(); }

    std::mutex FMutex;
    std::condition_variable FChanged;
    int FReaders = 0;
    int FWriteDepth = 0; // nested holds of the writer, reads included
    std::thread::id FWriter;
};

} // namespace orbelin
