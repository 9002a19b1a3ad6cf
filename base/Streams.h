#pragma once
// Byte streams with a position, as request/response bodies, skins and files use them.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace orbelin {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// Where a seek from position in a stream of size lands; never before 0.
int64_t SeekTarget(int64_t position, int64_t size, int64_t offset, TSeekOrigin origin);

class TStream {
public:
    virtual ~TStream() = default;
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    // Read/Write move up to count bytes and return how many moved.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual void SetSize(int64_t size) = 0;

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
    virtual int64_t Size();

    // Exact transfers: raise EReadError / EWriteError on a short count.
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    void WriteString(const std::string& text) { WriteBuffer(text.data(), static_cast<int64_t>(text.size())); }
    // Copies count bytes from source (0: the whole source from its start).
    int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t size) override;
    int64_t Size() override { return static_cast<int64_t>(FSize); }

    void Clear();
    uint8_t* Memory() { return FData.data(); }
    const uint8_t* Memory() const { return FData.data(); }
    std::span<const uint8_t> Bytes() const { return {FData.data(), FSize}; }
    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& target) const;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

private:
    // Every write but a one-byte write inside the present size.
    [[gnu::noinline]] int64_t WriteGrowing(const void* buffer, int64_t count);
    // FData grows ahead of the stream's size so one-byte writes stay cheap.
    std::vector<uint8_t> FData;
    size_t FSize = 0;
    int64_t FPosition = 0;
};

class TStringStream : public TMemoryStream {
public:
    TStringStream() = default;
    explicit TStringStream(const std::string& initial);
    std::string DataString() const;
    // Reads up to count bytes from the position.
    std::string ReadString(int64_t count);
};

enum class TFileMode { fmCreate, fmOpenRead, fmOpenWrite, fmOpenReadWrite };

// A file on disk. Opening raises EFCreateError / EFOpenError with the
// platform's description of the failure.
class TFileStream : public TStream {
public:
    TFileStream(const std::string& fileName, TFileMode mode);
    ~TFileStream() override;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t size) override;
    const std::string& FileName() const { return FFileName; }

private:
    // Calls step(done) until count bytes have moved. step moves what the
    // system takes at once and returns how many bytes that was: 0 at the end
    // or on a failure, -1 for an interrupted call to make again.
    static int64_t Repeat(int64_t count, const std::function<int64_t(int64_t done)>& step);
    // EFCreateError or EFOpenError with the system's text for its last error.
    [[noreturn]] static void RaiseOpenError(const std::string& fileName, TFileMode mode);

    struct Handle;
    std::string FFileName;
    std::unique_ptr<Handle> FHandle;
};

// Whole-file helpers built on TFileStream.
std::string ReadFileBytes(const std::string& fileName);
void WriteFileBytes(const std::string& fileName, const std::string& bytes);

} // namespace orbelin
