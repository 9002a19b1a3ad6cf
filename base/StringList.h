#pragma once
// Ordered list of lines. The whole text puts CR LF after every line; assigning
// a text splits at CR LF, LF or CR, and a final line break adds no empty line.

#include <string>
#include <string_view>
#include <vector>

namespace orbelin {

class TStream;

class TStrings {
public:
    TStrings() = default;
    TStrings(std::initializer_list<std::string> lines) : FLines(lines) {}
    virtual ~TStrings() = default;

    int Count() const { return static_cast<int>(FLines.size()); }
    bool Empty() const { return FLines.empty(); }
    const std::string& operator[](int index) const;
    std::string& operator[](int index);
    const std::vector<std::string>& Lines() const { return FLines; }

    int Add(std::string line);
    void Insert(int index, std::string line);
    void Delete(int index);
    void Clear() { FLines.clear(); }
    void Assign(const TStrings& other) { FLines = other.FLines; }
    void AddStrings(const TStrings& other);

    // Lines and names compare without regard to letter case.
    int IndexOf(std::string_view line) const;
    int IndexOfName(std::string_view name) const;
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    std::string Values(std::string_view name) const;
    void SetValue(std::string_view name, std::string_view value);

    std::string Text() const;
    void SetText(std::string_view text);

    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

    bool operator==(const TStrings& other) const { return FLines == other.FLines; }

private:
    std::vector<std::string> FLines;
};

using TStringList = TStrings;

// Splits text into lines by the rules above.
std::vector<std::string> SplitLines(std::string_view text);

} // namespace orbelin
