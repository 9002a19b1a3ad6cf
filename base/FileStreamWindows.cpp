// TFileStream over Win32 file handles, ANSI file names.
#include "base/Streams.h"

#include "base/Exceptions.h"
#include "base/Format.h"

#include <windows.h>

#include <algorithm>

namespace orbelin {

struct TFileStream::Handle {
    HANDLE h = INVALID_HANDLE_VALUE;
};

std::string LastSystemErrorText()
{
    const DWORD code = GetLastError();
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string out = n ? std::string(text, n) : Format("System error %lu", static_cast<unsigned long>(code));
    if (text)
        LocalFree(text);
    while (!out.empty() && (out.back() == '\r' || out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

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
    if (FHandle->h == INVALID_HANDLE_VALUE) {
        const char* format = mode == TFileMode::fmCreate ? SFCreateError : SFOpenError;
        const std::string message = Format(format, fileName.c_str(), LastSystemErrorText().c_str());
        if (mode == TFileMode::fmCreate)
            throw EFCreateError(message);
        throw EFOpenError(message);
    }
}

TFileStream::~TFileStream()
{
    if (FHandle && FHandle->h != INVALID_HANDLE_VALUE)
        CloseHandle(FHandle->h);
}

int64_t TFileStream::Read(void* buffer, int64_t count)
{
    int64_t done = 0;
    while (done < count) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<int64_t>(count - done, 1 << 30));
        if (!ReadFile(FHandle->h, static_cast<char*>(buffer) + done, want, &n, nullptr) || n == 0)
            break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count)
{
    int64_t done = 0;
    while (done < count) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<int64_t>(count - done, 1 << 30));
        if (!WriteFile(FHandle->h, static_cast<const char*>(buffer) + done, want, &n, nullptr) || n == 0)
            break;
        done += n;
    }
    return done;
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
