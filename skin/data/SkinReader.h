#pragma once
// Reader of a packed skin archive: unpacks it and hands out its entries by
// name. Names are kept lower-cased (ASCII) and compared exactly. The entries
// are views into the unpacked archive the reader keeps, not copies.

#include "base/Exceptions.h"
#include "base/StringList.h"
#include "base/Streams.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orbelin {

class ESkinArchiveError : public Exception {
public:
    using Exception::Exception;
};

inline constexpr const char* SOldSkinFile = "This is Older Skin File\rPlease update to new version !";
inline constexpr const char* SSkinTooManyEntries = "Skin archive has %d entries; at most 1001 are allowed";
inline constexpr const char* SSkinEntryPastEnd = "Skin archive entry %d (%s) reaches past the end of the data";
inline constexpr const char* SSkinPlainSizeBad = "Skin archive plain size %d cannot come from %d packed bytes";

struct TSkinArchiveHeader {
    int32_t Version = 0;
    int32_t NameTextLength = 0;
    int32_t Reserved1 = 0; // not interpreted
    int32_t Reserved2 = 0; // not interpreted
};

// ASCII-only lower-casing: A-Z to a-z, every other byte unchanged.
std::string AsciiLowerCase(std::string_view text);

class TSkinReader {
public:
    static constexpr int32_t FormatVersion = 20000;
    static constexpr int MaxEntries = 1001;

    TSkinReader() = default;
    TSkinReader(const TSkinReader&) = delete;
    TSkinReader& operator=(const TSkinReader&) = delete;

    // Decodes packed (plain size word + bit stream) into plain; a plain size
    // no packed stream of this length can reach is refused first.
    void Unpack(TStream& packed, TStream& plain);
    // Unpacks and indexes an archive. False (after the old-skin message)
    // when the version is not 20000; damaged archives raise.
    bool ReadSkin(TStream& packed);
    // The bytes of the first entry named name (any letter case); empty when
    // there is none. Valid until the reader reads another skin or goes.
    std::string_view GetEntry(std::string_view name) const;
    // The first entry whose name contains text, and that name; nothing, with
    // name left alone, when no name does.
    std::string_view FindEntry(std::string_view text, std::string& name) const;

    const TStringList& Names() const { return FNames; }
    int Count() const { return FCount; }
    int32_t EntrySize(int index) const { return FSizes.at(static_cast<size_t>(index)); }
    const TSkinArchiveHeader& Header() const { return FHeader; }

private:
    std::string_view Entry(int index) const;
    void CheckEntries(int64_t dataSize) const;

    TStringList FNames;
    int FCount = 0;
    std::array<int32_t, MaxEntries> FSizes{};
    TMemoryStream FPlain;   // the whole unpacked archive
    size_t FDataStart = 0;  // where the entries' bytes begin in it
    TSkinArchiveHeader FHeader;
};

} // namespace orbelin
