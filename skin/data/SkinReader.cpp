#include "skin/data/SkinReader.h"

#include "base/Format.h"
#include "base/Streams.h"
#include "skin/data/LZH.h"
#include "skin/data/SkinHost.h"

namespace orbelin {

namespace {

int32_t ReadInt32(TStream& stream)
{
    uint8_t b[4];
    stream.ReadBuffer(b, 4);
    return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                                static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24);
}

// A coded match takes at least 10 bits and yields at most 60 bytes, so no
// honest stream expands more than 48 times; anything beyond is refused before
// decoding rather than unpacked into a huge run of zero-bit output.
constexpr int64_t MaxExpansion = 48;

} // namespace

std::string AsciiLowerCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

TSkinReader::TSkinReader() : FData(std::make_unique<TMemoryStream>()) {}

TSkinReader::~TSkinReader() = default;

void TSkinReader::Unpack(TStream& packed, TStream& plain)
{
    packed.SetPosition(0);
    const int64_t packedSize = packed.Size();
    const int32_t plainSize = packedSize >= 4 ? ReadInt32(packed) : 0;
    if (plainSize > (packedSize - 4) * MaxExpansion + lzh::LookAhead)
        throw ESkinArchiveError(Format(SSkinPlainSizeBad, plainSize, static_cast<int>(packedSize - 4)));
    TLZH::Unpack(packed, plain);
}

bool TSkinReader::ReadSkin(TStream& packed)
{
    TMemoryStream scratch;
    Unpack(packed, scratch);
    scratch.SetPosition(0);
    FHeader.Version = ReadInt32(scratch);
    FHeader.NameTextLength = ReadInt32(scratch);
    FHeader.Reserved1 = ReadInt32(scratch);
    FHeader.Reserved2 = ReadInt32(scratch);
    if (FHeader.Version != FormatVersion) {
        ShowSkinMessage(SOldSkinFile);
        return false;
    }
    if (FHeader.NameTextLength < 0 || FHeader.NameTextLength > scratch.Size() - scratch.Position())
        throw EReadError(SReadError);
    std::string names(static_cast<size_t>(FHeader.NameTextLength), '\0');
    scratch.ReadBuffer(names.data(), FHeader.NameTextLength);
    FNames.SetText(AsciiLowerCase(names));
    if (FNames.Count() > MaxEntries)
        throw ESkinArchiveError(Format(SSkinTooManyEntries, FNames.Count()));
    FCount = FNames.Count();
    for (int i = 0; i < FCount; ++i)
        FSizes[static_cast<size_t>(i)] = ReadInt32(scratch);

    const int64_t dataStart = scratch.Position();
    FData->Clear();
    FData->WriteBuffer(scratch.Memory() + dataStart, scratch.Size() - dataStart);
    FData->SetPosition(0);
    CheckEntries(FData->Size());
    return true;
}

void TSkinReader::CheckEntries(int64_t dataSize) const
{
    int64_t offset = 0;
    for (int i = 0; i < FCount; ++i) {
        const int32_t size = FSizes[static_cast<size_t>(i)];
        offset += size;
        if (size < 0 || offset > dataSize)
            throw ESkinArchiveError(Format(SSkinEntryPastEnd, i, FNames[i].c_str()));
    }
}

void TSkinReader::CopyEntry(int index, TMemoryStream& out)
{
    int64_t offset = 0;
    for (int i = 0; i < index; ++i)
        offset += FSizes[static_cast<size_t>(i)];
    out.WriteBuffer(FData->Memory() + offset, FSizes[static_cast<size_t>(index)]);
    out.SetPosition(0);
}

void TSkinReader::GetEntry(std::string_view name, TMemoryStream& out)
{
    out.Clear();
    const std::string wanted = AsciiLowerCase(name);
    for (int i = 0; i < FCount; ++i) {
        if (FNames[i] == wanted) {
            CopyEntry(i, out);
            return;
        }
    }
}

void TSkinReader::FindEntry(std::string_view text, TMemoryStream& out, std::string& name)
{
    out.Clear();
    for (int i = 0; i < FCount; ++i) {
        if (FNames[i].find(text) != std::string::npos) {
            CopyEntry(i, out);
            name = FNames[i];
            return;
        }
    }
}

} // namespace orbelin
