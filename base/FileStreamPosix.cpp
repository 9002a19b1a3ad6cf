// TFileStream over POSIX file descriptors (native build).
#include "base/Streams.h"

#include "base/Exceptions.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orbelin {

struct TFileStream::Handle {
    int fd = -1;
};

TFileStream::TFileStream(const std::string& fileName, TFileMode mode)
    : FFileName(fileName), FHandle(std::make_unique<Handle>())
{
    int flags = O_RDONLY;
    switch (mode) {
    case TFileMode::fmCreate: flags = O_RDWR | O_CREAT | O_TRUNC; break;
    case TFileMode::fmOpenRead: flags = O_RDONLY; break;
    case TFileMode::fmOpenWrite: flags = O_WRONLY; break;
    case TFileMode::fmOpenReadWrite: flags = O_RDWR; break;
    }
    FHandle->fd = ::open(fileName.c_str(), flags | O_CLOEXEC, 0644);
    if (FHandle->fd < 0)
        RaiseOpenError(fileName, mode);
}

TFileStream::~TFileStream()
{
    if (FHandle && FHandle->fd >= 0)
        ::close(FHandle->fd);
}

namespace {

// What one read or write gives TFileStream::Repeat.
int64_t Moved(ssize_t n) { return n < 0 ? (errno == EINTR ? -1 : 0) : n; }

} // namespace

int64_t TFileStream::Read(void* buffer, int64_t count)
{
    return Repeat(count, [&](int64_t done) {
        return Moved(::read(FHandle->fd, static_cast<char*>(buffer) + done, static_cast<size_t>(count - done)));
    });
}

int64_t TFileStream::Write(const void* buffer, int64_t count)
{
    return Repeat(count, [&](int64_t done) {
        return Moved(::write(FHandle->fd, static_cast<const char*>(buffer) + done, static_cast<size_t>(count - done)));
    });
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin)
{
    const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET : origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
    return ::lseek(FHandle->fd, offset, whence);
}

void TFileStream::SetSize(int64_t size)
{
    if (::ftruncate(FHandle->fd, size) != 0)
        throw EWriteError(SWriteError);
}

} // namespace orbelin
