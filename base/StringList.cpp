#include "base/StringList.h"

#include "base/AnsiText.h"
#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Streams.h"

namespace orbelin {

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

const std::string& TStrings::operator[](int index) const
{
    if (index < 0 || index >= Count())
        throw EStringListError(Format(SListIndexError, index));
    return FLines[static_cast<size_t>(index)];
}

std::string& TStrings::operator[](int index)
{
    if (index < 0 || index >= Count())
        throw EStringListError(Format(SListIndexError, index));
    return FLines[static_cast<size_t>(index)];
}

int TStrings::Add(std::string line)
{
    FLines.push_back(std::move(line));
    return Count() - 1;
}

void TStrings::Insert(int index, std::string line)
{
    if (index < 0 || index > Count())
        throw EStringListError(Format(SListIndexError, index));
    FLines.insert(FLines.begin() + index, std::move(line));
}

void TStrings::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw EStringListError(Format(SListIndexError, index));
    FLines.erase(FLines.begin() + index);
}

void TStrings::AddStrings(const TStrings& other)
{
    FLines.insert(FLines.end(), other.FLines.begin(), other.FLines.end());
}

int TStrings::IndexOf(std::string_view line) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameText(FLines[static_cast<size_t>(i)], line))
            return i;
    return -1;
}

std::string TStrings::Names(int index) const
{
    const std::string& line = (*this)[index];
    const size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TStrings::ValueFromIndex(int index) const
{
    const std::string& line = (*this)[index];
    const size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

int TStrings::IndexOfName(std::string_view name) const
{
    for (int i = 0; i < Count(); ++i) {
        const std::string& line = FLines[static_cast<size_t>(i)];
        const size_t eq = line.find('=');
        if (eq != std::string::npos && SameText(std::string_view(line).substr(0, eq), name))
            return i;
    }
    return -1;
}

std::string TStrings::Values(std::string_view name) const
{
    const int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValue(std::string_view name, std::string_view value)
{
    const int i = IndexOfName(name);
    std::string line = std::string(name) + "=" + std::string(value);
    if (value.empty()) {
        if (i >= 0)
            Delete(i);
    } else if (i >= 0) {
        FLines[static_cast<size_t>(i)] = std::move(line);
    } else {
        Add(std::move(line));
    }
}

std::string TStrings::Text() const
{
    size_t total = 0;
    for (const auto& line : FLines)
        total += line.size() + 2;
    std::string out;
    out.reserve(total);
    for (const auto& line : FLines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

void TStrings::SetText(std::string_view text) { FLines = SplitLines(text); }

void TStrings::LoadFromStream(TStream& stream)
{
    const int64_t n = stream.Size() - stream.Position();
    std::string bytes(static_cast<size_t>(n > 0 ? n : 0), '\0');
    stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    SetText(bytes);
}

void TStrings::SaveToStream(TStream& stream) const { stream.WriteString(Text()); }

void TStrings::LoadFromFile(const std::string& fileName) { SetText(ReadFileBytes(fileName)); }

void TStrings::SaveToFile(const std::string& fileName) const { WriteFileBytes(fileName, Text()); }

} // namespace orbelin
