#pragma once
// INI text read from memory with the platform's profile rules: sections and
// keys match without regard to letter case, the first of equal sections and
// keys wins, values are trimmed, one pair of enclosing quotes is removed and
// at most 2047 characters are returned.

#include <string>
#include <string_view>
#include <vector>

namespace orbelin {

class TSkinIniFile {
public:
    static constexpr size_t MaxValueLength = 2047;

    explicit TSkinIniFile(std::string_view text);

    // Section names in file order.
    std::vector<std::string> ReadSections() const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Decimal, or hexadecimal after "0x" or "$"; any other text gives fallback.
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;

private:
    struct TEntry {
        std::string Key;
        std::string Value;
    };
    struct TSection {
        std::string Name;
        std::vector<TEntry> Entries;
    };
    const TSection* FindSection(std::string_view section) const;
    const TEntry* FindEntry(std::string_view section, std::string_view key) const;

    std::vector<TSection> FSections;
};

} // namespace orbelin
