#include "tools/skinpack/SkinArchiveWriter.h"

#include "base/AnsiText.h"
#include "base/Exceptions.h"
#include "base/StringList.h"
#include "base/Streams.h"
#include "skin/data/SkinReader.h"
#include "tools/skinpack/LZHEncoder.h"

#include <filesystem>

namespace orbelin {

namespace {

void PutInt32(std::string& out, int32_t value)
{
    const uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>(v >> (8 * i));
}

} // namespace

std::string BuildSkinArchive(const std::vector<TSkinArchiveEntry>& entries, int32_t version)
{
    std::string names;
    for (const TSkinArchiveEntry& e : entries)
        names += e.Name + "\r\n";
    std::string out;
    PutInt32(out, version);
    PutInt32(out, static_cast<int32_t>(names.size()));
    PutInt32(out, 0);
    PutInt32(out, 0);
    out += names;
    for (const TSkinArchiveEntry& e : entries)
        PutInt32(out, static_cast<int32_t>(e.Bytes.size()));
    for (const TSkinArchiveEntry& e : entries)
        out += e.Bytes;
    return out;
}

std::string EntryNameFault(std::string_view name)
{
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20)
            return "holds a line break or another control character";
        if (c == '/' || c == '\\')
            return "has a directory part";
        if (c == ':')
            return "names a drive";
    }
    if (name == "." || name == "..")
        return "names a directory";
    return {};
}

void CheckSkinEntries(const std::vector<TSkinArchiveEntry>& entries, bool skin)
{
    if (entries.size() > static_cast<size_t>(TSkinReader::MaxEntries))
        throw Exception(std::to_string(entries.size()) + " entries; a skin holds at most " +
                        std::to_string(TSkinReader::MaxEntries));
    bool description = false;
    for (const TSkinArchiveEntry& e : entries) {
        const std::string fault = e.Name.empty() ? "is empty" : EntryNameFault(e.Name);
        if (!fault.empty())
            throw Exception("entry name \"" + e.Name + "\" " + fault);
        description = description || AsciiLowerCase(e.Name).find(".ini") != std::string::npos;
    }
    if (skin && !description)
        throw Exception("no skin description: no entry name holds \".ini\"");
}

std::string PackSkin(const std::vector<TSkinArchiveEntry>& entries)
{
    const std::vector<uint8_t> packed = TLZHEncoder::Pack(BuildSkinArchive(entries));
    return std::string(packed.begin(), packed.end());
}

std::vector<TSkinArchiveEntry> ReadEntryList(const std::string& listFile)
{
    const std::filesystem::path folder = std::filesystem::path(listFile).parent_path();
    std::vector<TSkinArchiveEntry> entries;
    for (const std::string& raw : SplitLines(ReadFileBytes(listFile))) {
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#')
            continue;
        const std::filesystem::path path = folder / line;
        entries.push_back({path.filename().string(), ReadFileBytes(path.string())});
    }
    return entries;
}

} // namespace orbelin
