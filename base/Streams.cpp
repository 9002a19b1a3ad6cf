#include "base/Streams.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/SystemError.h"

#include <algorithm>
#include <cstring>

namespace orbelin {

int64_t TStream::Size()
{
    const int64_t here = Position();
    const int64_t end = Seek(0, TSeekOrigin::soEnd);
    Seek(here, TSeekOrigin::soBeginning);
    return end;
}

void TStream::ReadBuffer(void* buffer, int64_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* buffer, int64_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError(SWriteError);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    constexpr int64_t kChunk = 64 * 1024;
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min(count, kChunk)));
    int64_t left = count;
    while (left > 0) {
        const int64_t n = std::min(left, kChunk);
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count)
{
    const auto size = static_cast<int64_t>(FSize);
    if (count <= 0 || FPosition >= size)
        return 0;
    const int64_t n = std::min(count, size - FPosition);
    std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count)
{
    // Decoders write one byte per call: that case needs no call and no growth.
    if (count == 1 && static_cast<size_t>(FPosition) < FSize) {
        FData[static_cast<size_t>(FPosition++)] = *static_cast<const uint8_t*>(buffer);
        return 1;
    }
    return WriteGrowing(buffer, count);
}

int64_t TMemoryStream::WriteGrowing(const void* buffer, int64_t count)
{
    if (count <= 0)
        return 0;
    const size_t end = static_cast<size_t>(FPosition) + static_cast<size_t>(count);
    if (end > FSize) {
        if (end > FData.size())
            FData.resize(std::max(end, FData.size() * 2));
        FSize = end;
    }
    std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
    FPosition = static_cast<int64_t>(end);
    return count;
}

int64_t SeekTarget(int64_t position, int64_t size, int64_t offset, TSeekOrigin origin)
{
    switch (origin) {
    case TSeekOrigin::soBeginning: position = offset; break;
    case TSeekOrigin::soCurrent: position += offset; break;
    case TSeekOrigin::soEnd: position = size + offset; break;
    }
    return std::max<int64_t>(position, 0);
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
    FPosition = SeekTarget(FPosition, Size(), offset, origin);
    return FPosition;
}

void TMemoryStream::SetSize(int64_t size)
{
    FSize = static_cast<size_t>(std::max<int64_t>(size, 0));
    FData.resize(FSize);
    FPosition = std::min(FPosition, Size());
}

void TMemoryStream::Clear()
{
    FData.clear();
    FSize = 0;
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& source)
{
    source.SetPosition(0);
    const int64_t n = source.Size();
    FData.resize(static_cast<size_t>(n));
    FSize = static_cast<size_t>(n);
    FPosition = 0;
    source.ReadBuffer(FData.data(), n);
}

void TMemoryStream::SaveToStream(TStream& target) const
{
    target.WriteBuffer(FData.data(), static_cast<int64_t>(FSize));
}

void TMemoryStream::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, TFileMode::fmOpenRead);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& fileName) const
{
    TFileStream file(fileName, TFileMode::fmCreate);
    SaveToStream(file);
}

TStringStream::TStringStream(const std::string& initial)
{
    WriteString(initial);
    SetPosition(0);
}

std::string TStringStream::DataString() const
{
    return std::string(reinterpret_cast<const char*>(Memory()), Bytes().size());
}

std::string TStringStream::ReadString(int64_t count)
{
    const int64_t n = std::max<int64_t>(0, std::min(count, Size() - Position()));
    std::string out(static_cast<size_t>(n), '\0');
    Read(out.data(), n);
    return out;
}

std::string ReadFileBytes(const std::string& fileName)
{
    TFileStream file(fileName, TFileMode::fmOpenRead);
    std::string bytes(static_cast<size_t>(file.Size()), '\0');
    file.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return bytes;
}

void WriteFileBytes(const std::string& fileName, const std::string& bytes)
{
    TFileStream file(fileName, TFileMode::fmCreate);
    file.WriteString(bytes);
}

int64_t TFileStream::Repeat(int64_t count, const std::function<int64_t(int64_t done)>& step)
{
    int64_t done = 0;
    while (done < count) {
        const int64_t n = step(done);
        if (n == 0)
            break;
        if (n > 0)
            done += n;
    }
    return done;
}

void TFileStream::RaiseOpenError(const std::string& fileName, TFileMode mode)
{
    const char* format = mode == TFileMode::fmCreate ? SFCreateError : SFOpenError;
    const std::string message = Format(format, fileName.c_str(), LastSystemErrorText().c_str());
    if (mode == TFileMode::fmCreate)
        throw EFCreateError(message);
    throw EFOpenError(message);
}

} // namespace orbelin
