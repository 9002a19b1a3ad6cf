#include "skin/data/SkinReader.h"

#include "base/ByteReader.h"
#include "base/Format.h"
#include "skin/data/LZH.h"
#include "skin/data/SkinHost.h"

namespace orbelin {

namespace {
constexpr size_t HeaderSize = 16;
} // namespace

std::string AsciiLowerCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

void TSkinReader::Unpack(TStream& packed, TStream& plain)
{
    packed.SetPosition(0);
    const int64_t packedSize = packed.Size();
    const int32_t plainSize = packedSize >= 4 ? TLZH::ReadPlainSize(packed) : 0;
    if (plainSize > lzh::MaxPlainSize(packedSize - 4))
        throw ESkinArchiveError(Format(SSkinPlainSizeBad, plainSize, static_cast<int>(packedSize - 4)));
    TLZH::Unpack(packed, plain);
}

bool TSkinReader::ReadSkin(TStream& packed)
{
    FPlain.Clear();
    Unpack(packed, FPlain);
    const TByteReader in(FPlain.Bytes());
    FHeader = {in.I32(0), in.I32(4), in.I32(8), in.I32(12)};
    if (FHeader.Version != FormatVersion) {
        ShowSkinMessage(SOldSkinFile);
        return false;
    }
    if (FHeader.NameTextLength < 0)
        throw EReadError(SReadError);
    FNames.SetText(AsciiLowerCase(in.Text(HeaderSize, static_cast<uint64_t>(FHeader.NameTextLength))));
    if (FNames.Count() > MaxEntries)
        throw ESkinArchiveError(Format(SSkinTooManyEntries, FNames.Count()));
    FCount = FNames.Count();
    size_t at = HeaderSize + static_cast<size_t>(FHeader.NameTextLength);
    for (int i = 0; i < FCount; ++i, at += 4)
        FSizes[static_cast<size_t>(i)] = in.I32(at);
    FDataStart = at;
    CheckEntries(static_cast<int64_t>(in.Size() - FDataStart));
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

std::string_view TSkinReader::Entry(int index) const
{
    size_t offset = FDataStart;
    for (int i = 0; i < index; ++i)
        offset += static_cast<size_t>(FSizes[static_cast<size_t>(i)]);
    return TByteReader(FPlain.Bytes()).Text(offset, static_cast<uint64_t>(FSizes[static_cast<size_t>(index)]));
}

std::string_view TSkinReader::GetEntry(std::string_view name) const
{
    const std::string wanted = AsciiLowerCase(name);
    for (int i = 0; i < FCount; ++i)
        if (FNames[i] == wanted)
            return Entry(i);
    return {};
}

std::string_view TSkinReader::FindEntry(std::string_view text, std::string& name) const
{
    for (int i = 0; i < FCount; ++i) {
        if (FNames[i].find(text) != std::string::npos) {
            name = FNames[i];
            return Entry(i);
        }
    }
    return {};
}

} // namespace orbelin
