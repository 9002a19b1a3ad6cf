#include "skin/data/SkinIniFile.h"

#include "base/AnsiText.h"
#include "base/StringList.h"

namespace orbelin {

namespace {

std::string Unquote(std::string value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

TSkinIniFile::TSkinIniFile(std::string_view text)
{
    for (const std::string& raw : SplitLines(text)) {
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            FSections.push_back({Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)), {}});
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos || FSections.empty())
            continue; // keys before the first section belong to none
        FSections.back().Entries.push_back({Trim(line.substr(0, eq)), Unquote(Trim(line.substr(eq + 1)))});
    }
}

std::vector<std::string> TSkinIniFile::ReadSections() const
{
    std::vector<std::string> names;
    for (const TSection& s : FSections)
        names.push_back(s.Name);
    return names;
}

const TSkinIniFile::TSection* TSkinIniFile::FindSection(std::string_view section) const
{
    for (const TSection& s : FSections)
        if (SameText(s.Name, section))
            return &s;
    return nullptr;
}

const TSkinIniFile::TEntry* TSkinIniFile::FindEntry(std::string_view section, std::string_view key) const
{
    const TSection* s = FindSection(section);
    if (!s)
        return nullptr;
    for (const TEntry& e : s->Entries)
        if (SameText(e.Key, key))
            return &e;
    return nullptr;
}

bool TSkinIniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

bool TSkinIniFile::ValueExists(std::string_view section, std::string_view key) const
{
    return FindEntry(section, key) != nullptr;
}

std::string TSkinIniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const
{
    const TEntry* e = FindEntry(section, key);
    const std::string_view value = e ? std::string_view(e->Value) : fallback;
    return std::string(value.substr(0, MaxValueLength));
}

int TSkinIniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const
{
    const TEntry* e = FindEntry(section, key);
    if (!e)
        return fallback;
    return StrToIntDef(e->Value.substr(0, MaxValueLength), fallback);
}

} // namespace orbelin
