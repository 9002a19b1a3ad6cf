// TFileStream over Win32 file handles, ANSI file names.
#include "base/Streams.h"

#include "base/Exceptions.h"

#include <windows.h>

#include <algorithm>

namespace orbelin {

struct TFileStream::Handle {
    HANDLE h = INVALID_HANDLE_VALUE;
};

TFileStream::TFileStream(const std::string& fileName, TFileMode mode)
    : FFileName(fileName), FHandle(std::make_unique<Handle>())
{
    DWORD access = GENERIC_READ;
    DWORD disposition = OPEN_EXISTING;
    DWORD share = FILE_SHARE_READ;
    switch (mode) {
    case TFileMode::fmCreate: access = GENERIC_READ | GENERIC_WRITE; disposition = CREATE_ALWAYS; share = 0; break;
    case TFileMode::fmOpenRead: access = GENERIC_READ; share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    case TFileMode::fmOpenWrite: access = GENERIC_WRITE; break;
    case TFileMode::fmOpenReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    }
    FHandle->h = CreateFileA(fileName.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (FHandle->h == INVALID_HANDLE_VALUE)
        RaiseOpenError(fileName, mode);
}

TFileStream::~TFileStream()
{
    if (FHandle && FHandle->h != INVALID_HANDLE_VALUE)
        CloseHandle(FHandle->h);
}

namespace {

// At most 1 GiB per call: the system's counts are 32-bit.
DWORD ChunkOf(int64_t rest) { return static_cast<DWORD>(std::min<int64_t>(rest, 1 << 30)); }

} // namespace

int64_t TFileStream::Read(void* buffer, int64_t count)
{
    return Repeat(count, [&](int64_t done) -> int64_t {
        DWORD n = 0;
        return ReadFile(FHandle->h, static_cast<char*>(buffer) + done, ChunkOf(count - done), &n, nullptr) ? n : 0;
    });
}

int64_t TFileStream::Write(const void* buffer, int64_t count)
{
    return Repeat(count, [&](int64_t done) -> int64_t {
        DWORD n = 0;
        return WriteFile(FHandle->h, static_cast<const char*>(buffer) + done, ChunkOf(count - done), &n, nullptr) ? n : 0;
    });
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin)
{
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER result{};
    const DWORD method = origin == TSeekOrigin::soBeginning ? FILE_BEGIN : origin == TSeekOrigin::soCurrent ? FILE_CURRENT : FILE_END;
    if (!SetFilePointerEx(FHandle->h, distance, &result, method))
        return -1;
    return result.QuadPart;
}

void TFileStream::SetSize(int64_t size)
{
    Seek(size, TSeekOrigin::soBeginning);
    if (!SetEndOfFile(FHandle->h))
        throw EWriteError(SWriteError);
}

} // namespace orbelin
