#pragma once
// Reader of a packed skin archive: unpacks it and hands out its entries by
// name. Names are kept lower-cased (ASCII) and compared exactly.

#include "base/Exceptions.h"
#include "base/StringList.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orbelin {

class TStream;
class TMemoryStream;

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

    TSkinReader();
    ~TSkinReader();
    TSkinReader(const TSkinReader&) = delete;
    TSkinReader& operator=(const TSkinReader&) = delete;

    // Decodes packed (plain size word + bit stream) into plain.
    void Unpack(TStream& packed, TStream& plain);
    // Unpacks and indexes an archive. False (after the old-skin message)
    // when the version is not 20000; damaged archives raise.
    bool ReadSkin(TStream& packed);
    // The first entry named name (any letter case) into out, positioned at
    // 0; out stays empty when there is none.
    void GetEntry(std::string_view name, TMemoryStream& out);
    // The first entry whose name contains text; name is left alone when
    // nothing matches.
    void FindEntry(std::string_view text, TMemoryStream& out, std::string& name);

    const TStringList& Names() const { return FNames; }
    int Count() const { return FCount; }
    int32_t EntrySize(int index) const { return FSizes.at(static_cast<size_t>(index)); }
    const TSkinArchiveHeader& Header() const { return FHeader; }

private:
    void CopyEntry(int index, TMemoryStream& out);
    void CheckEntries(int64_t dataSize) const;

    TStringList FNames;
    int FCount = 0;
    std::array<int32_t, MaxEntries> FSizes{};
    std::unique_ptr<TMemoryStream> FData;
    TSkinArchiveHeader FHeader;
};

} // namespace orbelin
